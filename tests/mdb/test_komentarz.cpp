// TekstKomentarza: one comment by mslink through the shared scratch query.
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "register/Komentarz.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>

using namespace katarix;

TEST(TekstKomentarza, ByMslinkInShortestForm)
{
    jet::Database db;
    db.openInMemory();
    db.execNative(QStringLiteral("CREATE TABLE KOMENTARZ (MSLINK REAL, TEKST TEXT COLLATE JET);"
                                 "INSERT INTO KOMENTARZ VALUES (12, 'Dwanaście'), (12.5, 'Pół'),"
                                 " (1000000, 'Milion'), (7, NULL), (8, '')"));
    const test::SeparatorGuard comma(QLatin1Char(','));
    jet::Query tempQry;
    tempQry.setDatabase(&db);
    tempQry.setSql(QStringLiteral("SELECT 1 AS x"));
    tempQry.open();

    struct Case {
        double mslink;
        const char *text;
    };
    const Case cases[] = {{12, "Dwanaście"}, {12.5, "Pół"}, {1000000, "Milion"}, {7, ""}, {8, ""}, {13, ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mslink);
        EXPECT_EQ(reg::tekstKomentarza(tempQry, c.mslink), QString::fromUtf8(c.text));
        EXPECT_TRUE(tempQry.isOpen());
    }
    EXPECT_EQ(tempQry.sql(), QStringLiteral("SELECT tekst FROM komentarz WHERE mslink = 13"));
    reg::tekstKomentarza(tempQry, 12.5);
    EXPECT_EQ(tempQry.sql(), QStringLiteral("SELECT tekst FROM komentarz WHERE mslink = 12.5"));
}
