#include "RegisterTestSupport.h"
#include "register/SqlHelpers.h"
#include "registergen/RegisterBuilder.h"

#include <gtest/gtest.h>

using namespace katarix;
using katarix::reg::CytujApostrofy;
using katarix::reg::WarunekIn;

namespace {

QString numbers(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString::number(i);
    return list.join(QLatin1Char(','));
}

struct WarunekInCase {
    const char *name;
    QString lista;
    int naGrupe;
    QString expected;
};

TEST(WarunekIn, SplitsIntoGroupsJoinedByOr)
{
    const QString f = QStringLiteral("kdzialka.mslink");
    const WarunekInCase cases[] = {
        {"three values, groups of two", "1,2,3", 2, " and (x in (1,2) OR x in (3))"},
        {"two values, groups of two", "1,2", 2, " and (x in (1,2))"},
        {"one value", "7", 1000, " and (x in (7))"},
        {"exactly one full group", "1,2,3,4", 4, " and (x in (1,2,3,4))"},
        {"one past a full group", "1,2,3,4,5", 4, " and (x in (1,2,3,4) OR x in (5))"},
        {"groups of one", "1,2,3", 1, " and (x in (1) OR x in (2) OR x in (3))"},
        {"blanks are kept", "1, 2", 5, " and (x in (1, 2))"},
        {"decimal ids", "1000001,2.5", 1000, " and (x in (1000001,2.5))"},
        {"empty list gives an empty IN list", "", 1000, " and (x in ())"},
    };
    for (const WarunekInCase &c : cases)
        EXPECT_EQ(WarunekIn(c.lista, c.naGrupe, QStringLiteral("x")), c.expected) << c.name;

    // 2500 ids in groups of 1000: three IN lists of 1000, 1000 and 500 values.
    const QString expected = QStringLiteral(" and (") + f + QStringLiteral(" in (") + numbers(1, 1000) +
        QStringLiteral(") OR ") + f + QStringLiteral(" in (") + numbers(1001, 2000) + QStringLiteral(") OR ") + f +
        QStringLiteral(" in (") + numbers(2001, 2500) + QStringLiteral("))");
    EXPECT_EQ(WarunekIn(numbers(1, 2500), 1000, f), expected);
    // Exactly 1000 values stay one group.
    EXPECT_EQ(WarunekIn(numbers(1, 1000), 1000, f),
              QStringLiteral(" and (") + f + QStringLiteral(" in (") + numbers(1, 1000) + QStringLiteral("))"));
}

// The condition selects exactly the listed rows when the engine runs it, group borders included.
TEST(WarunekIn, SelectsTheListedRowsOnTheEngine)
{
    registergen::RegisterBuilder b;
    for (int i = 1; i <= 30; ++i)
        b.add("KDZIALKA", {{"MSLINK", double(i)}, {"NR_L", i}});
    jet::Database db;
    b.toDatabase(db);

    const QString lista = QStringLiteral("2,3,5,7,11,13,17,19,23,29");
    const QString sql = QStringLiteral("SELECT kdzialka.mslink FROM kdzialka WHERE kdzialka.nr_l > 0") +
        WarunekIn(lista, 3, QStringLiteral("kdzialka.mslink")) + QStringLiteral(" ORDER BY kdzialka.mslink");
    const regtest::Result r = regtest::run(db, sql);
    EXPECT_EQ(r.columnValues(QStringLiteral("mslink")).join(QLatin1Char(',')), lista);
}

TEST(CytujApostrofy, ReplacesEveryApostrophe)
{
    const struct {
        QString in, out;
    } cases[] = {
        {"O'Neil", "O' + Chr$(39) + 'Neil"},
        {"bez apostrofu", "bez apostrofu"},
        {"", ""},
        {"'", "' + Chr$(39) + '"},
        {"O'BRIEN%", "O' + Chr$(39) + 'BRIEN%"},
        {"a''b", "a' + Chr$(39) + '' + Chr$(39) + 'b"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CytujApostrofy(c.in), c.out) << c.in.toStdString();
}

// Written between apostrophes, the quoted text evaluates to the original, also in LIKE.
TEST(CytujApostrofy, EngineGivesBackTheText)
{
    registergen::RegisterBuilder b;
    b.add("OSPRAW", {{"OSPRAW_ID", 300000000.0}, {"NAZWA", "O'Neil & Syn"}});
    b.add("OSPRAW", {{"OSPRAW_ID", 300000001.0}, {"NAZWA", "ONeil"}});
    jet::Database db;
    b.toDatabase(db);

    for (const QString &text : {QStringLiteral("O'Neil"), QStringLiteral("''"), QStringLiteral("Zażółć 'gęślą' jaźń")}) {
        const QString sql = QStringLiteral("SELECT '") + CytujApostrofy(text) +
            QStringLiteral("' AS T FROM OSPRAW WHERE OSPRAW_ID = 300000000");
        EXPECT_EQ(regtest::scalar(db, sql), text);
    }
    const QString like = QStringLiteral("SELECT OSPRAW_ID FROM OSPRAW WHERE UCase(NAZWA) like '") +
        CytujApostrofy(QStringLiteral("O'NEIL%")) + QStringLiteral("'");
    const regtest::Result r = regtest::run(db, like);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], QStringLiteral("300000000"));
}

} // namespace
