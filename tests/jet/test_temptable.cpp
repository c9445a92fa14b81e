// TempTable: rows kept in the database's temporary storage, cut to their fields' sizes, read back
// forward in the order they came or sorted on a field (Jet order, NULL first, ties in order),
// also on a register opened read-only.
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/Query.h"
#include "jet/TempTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace katarix::jet;

namespace {

QStringList read(Database &db, const QString &sql)
{
    Query q;
    q.setDatabase(&db);
    q.setForwardOnly(true);
    q.setSql(sql);
    q.open();
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.asString(QStringLiteral("Osoba")) + u'|' + (q.isNull(QStringLiteral("Adres")) ? QStringLiteral("NULL") : q.asString(QStringLiteral("Adres"))) + u'|' + q.asString(QStringLiteral("Ile"));
    return out;
}

TEST(TempTableTest, RowsComeBackInTheirOrderOrSortedTheJetWay)
{
    // A register file opened read-only, as the program opens its cache.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("rejestr.sqlite"));
    {
        Database writer;
        writer.open(file, false);
        writer.execNative(QStringLiteral("CREATE TABLE gmina (mslink INTEGER)"));
    }
    Database db;
    db.open(file, true);
    TempTable table(db, QStringLiteral("katarix_test_wynik"),
                    {{QStringLiteral("Osoba"), FieldType::Text, 5}, {QStringLiteral("Adres"), FieldType::Text, 0},
                     {QStringLiteral("Ile"), FieldType::Float, 0}});
    table.create();
    table.append({QStringLiteral("Zając Jan"), QStringLiteral("ul. Łąkowa 1"), 1.5});
    table.append({QStringLiteral("Nowak"), QStringLiteral("UL. lipowa 2"), 2});
    table.append({QStringLiteral("Ąbel"), QVariant(), 3});
    table.append({QStringLiteral("Kos"), QStringLiteral("ul. Lipowa 2")});
    table.finish();
    EXPECT_EQ(table.rowCount(), 4);

    EXPECT_EQ(read(db, table.selectSql()),
              (QStringList{QStringLiteral("Zając|ul. Łąkowa 1|1.5"), QStringLiteral("Nowak|UL. lipowa 2|2"),
                           QStringLiteral("Ąbel|NULL|3"), QStringLiteral("Kos|ul. Lipowa 2|")}));
    // Case does not matter, ł after l, NULL first, equal addresses in the order they came.
    EXPECT_EQ(read(db, table.selectSql(QStringLiteral("Adres"))),
              (QStringList{QStringLiteral("Ąbel|NULL|3"), QStringLiteral("Nowak|UL. lipowa 2|2"),
                           QStringLiteral("Kos|ul. Lipowa 2|"), QStringLiteral("Zając|ul. Łąkowa 1|1.5")}));

    table.create();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_TRUE(read(db, table.selectSql()).isEmpty()) << "made anew, empty";
    table.drop();
    EXPECT_THROW(read(db, table.selectSql()), JetError);
    EXPECT_THROW(table.append({QStringLiteral("x")}), JetError);
}

} // namespace
