// Writer -> .mdb -> loader helper -> SQLite: every column type arrives value for value.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/JetError.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstring>

#include <QFileInfo>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

// One table with every column type; rows that tell NULL from 0 and '', extremes of each type,
// Polish text, memos beyond 64 KB and doubles that need all 17 significant digits.
TEST(MdbRoundTrip, EveryColumnTypeArrivesExactly)
{
    MdbScratch scratch;
    mw::Table t;
    t.name = "WARTOSCI";
    t.columns = {column("NR", ColumnType::Long),           column("FLAGA", ColumnType::Boolean),
                 column("BAJT", ColumnType::Byte),         column("KROTKA", ColumnType::Integer),
                 column("DLUGA", ColumnType::Long),        column("KWOTA", ColumnType::Currency),
                 column("POJEDYNCZA", ColumnType::Single), column("PODWOJNA", ColumnType::Double),
                 column("DATA", ColumnType::DateTime),     column("TEKST", ColumnType::Text, 255),
                 column("NOTATKA", ColumnType::Memo)};
    using V = mw::Value;
    const std::string memoPolish = polishText(70000);
    const std::string memoAscii(100000, 'x');
    t.rows = {
        {V(std::int64_t(1)), V(false), V(), V(), V(), V(), V(), V(), V(), V(), V()},
        {V(std::int64_t(2)), V(false), V(std::int64_t(0)), V(std::int64_t(0)), V(std::int64_t(0)), V(0.0), V(0.0),
         V(0.0), V(0.0), V(std::string()), V(std::string())},
        {V(std::int64_t(3)), V(true), V(std::int64_t(255)), V(std::int64_t(-32768)), V(std::int64_t(-2147483647 - 1)),
         V(-92233720368547.0), V(0.1), V(0.1 + 0.2), V(45000.5), V(std::string("Zażółć gęślą jaźń ŻŹĆŃĄŚŁĘÓ")),
         V(memoPolish)},
        {V(std::int64_t(4)), V(true), V(std::int64_t(1)), V(std::int64_t(32767)), V(std::int64_t(2147483647)),
         V(12345.6789), V(-3.4e38), V(1.0 / 3.0), V(-1.25), V(std::string("a,\"b\"\r\nc")), V(memoAscii)},
        {V(std::int64_t(5)), V(false), V(std::int64_t(7)), V(std::int64_t(-1)), V(std::int64_t(-1)), V(-0.0001),
         V(1e-30), V(123456789.12345679), V(2958465.99998843), V(std::string(" ")), V(std::string("ą"))},
        {V(std::int64_t(6)), V(true), V(std::int64_t(8)), V(std::int64_t(2)), V(std::int64_t(3)), V(0.5),
         V(16777217.0), V(DBL_MAX), V(1.0), V(std::string(255, 'z')), V(std::string("krótka"))},
        {V(std::int64_t(7)), V(false), V(std::int64_t(9)), V(std::int64_t(3)), V(std::int64_t(4)), V(1.0),
         V(2.5), V(4.9406564584124654e-324), V(36526.999988425923), V(std::string("Ł")), V()},
        {V(std::int64_t(8)), V(false), V(std::int64_t(10)), V(std::int64_t(4)), V(std::int64_t(5)), V(2.0),
         V(-1.5), V(-2.2250738585072014e-308), V(-693593.0), V(std::string("end")), V(std::string("x"))},
    };
    mw::Content content;
    content.tables.push_back(t);
    const QString file = scratch.write(content, QStringLiteral("typy.mdb"));

    jet::Database db;
    jet::openRegister(db, file, scratch.options());
    const auto rows = selectAll(db, QStringLiteral("SELECT * FROM WARTOSCI ORDER BY NR"));
    ASSERT_EQ(rows.size(), t.rows.size());

    const QStringList expectedDates = {QString(), QStringLiteral("1899-12-30 00:00:00"), QStringLiteral("2023-03-15 12:00:00"),
                                       QStringLiteral("1899-12-29 06:00:00"), QStringLiteral("9999-12-31 23:59:59"),
                                       QStringLiteral("1899-12-31 00:00:00"), QStringLiteral("2000-01-01 23:59:59"),
                                       QStringLiteral("0001-01-01 00:00:00")};
    for (size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const auto &in = t.rows[r];
        const auto &out = rows[r];
        // Boolean: Jet's True is -1.
        EXPECT_EQ(out[1].type, SQLITE_INTEGER);
        EXPECT_EQ(out[1].integer, std::get<bool>(in[1]) ? -1 : 0);
        for (size_t c = 2; c < in.size(); ++c) {
            SCOPED_TRACE("column " + t.columns[c].name);
            if (std::holds_alternative<std::monostate>(in[c])) {
                EXPECT_EQ(out[c].type, SQLITE_NULL);
                continue;
            }
            switch (t.columns[c].type) {
            case ColumnType::Byte:
            case ColumnType::Integer:
            case ColumnType::Long:
                EXPECT_EQ(out[c].type, SQLITE_INTEGER);
                EXPECT_EQ(out[c].integer, std::get<std::int64_t>(in[c]));
                break;
            case ColumnType::Currency:
                EXPECT_EQ(out[c].type, SQLITE_FLOAT);
                EXPECT_EQ(out[c].real, double(std::llround(std::get<double>(in[c]) * 10000.0)) / 10000.0);
                break;
            case ColumnType::Single:
                EXPECT_EQ(out[c].type, SQLITE_FLOAT);
                EXPECT_TRUE(sameBits(out[c].real, double(float(std::get<double>(in[c])))));
                break;
            case ColumnType::Double:
                EXPECT_EQ(out[c].type, SQLITE_FLOAT);
                EXPECT_TRUE(sameBits(out[c].real, std::get<double>(in[c])))
                    << out[c].real << " vs " << std::get<double>(in[c]);
                break;
            case ColumnType::DateTime:
                EXPECT_EQ(out[c].type, SQLITE_TEXT);
                EXPECT_EQ(out[c].text(), expectedDates[qsizetype(r)]);
                break;
            case ColumnType::Text:
            case ColumnType::Memo:
                EXPECT_EQ(out[c].type, SQLITE_TEXT);
                EXPECT_EQ(out[c].text().toStdString(), std::get<std::string>(in[c]));
                break;
            default:
                break;
            }
        }
    }
}

// A table spanning many data pages, with key and join columns: every row arrives, text columns
// compare the Jet way and the key columns are indexed.
TEST(MdbRoundTrip, ManyPagesIndexesAndCollation)
{
    MdbScratch scratch;
    mw::Table t;
    t.name = "KDZIALKA";
    t.columns = {column("MSLINK", ColumnType::Double), column("ID_JR", ColumnType::Long),
                 column("WARTOSC", ColumnType::Double), column("NAZWA", ColumnType::Text, 60)};
    const int count = 30000;
    for (int i = 0; i < count; ++i) {
        t.rows.push_back({mw::Value(double(i) + 1000000.0), mw::Value(std::int64_t(i % 977)),
                          mw::Value(double(i) * 1.1 / 7.0),
                          mw::Value(QStringLiteral("Działka nr %1 łąka").arg(i).toStdString())});
    }
    mw::Table small;
    small.name = "GMINA";
    small.columns = {column("MSLINK", ColumnType::Long), column("NAZWA", ColumnType::Text, 40)};
    small.rows = {{mw::Value(std::int64_t(1)), mw::Value(std::string("Łódź"))},
                  {mw::Value(std::int64_t(2)), mw::Value(std::string("Żary"))}};
    mw::Content content;
    content.tables = {t, small};
    const QString file = scratch.write(content, QStringLiteral("duza.mdb"));
    ASSERT_GT(QFileInfo(file).size(), 100 * 4096);

    jet::Database db;
    jet::openRegister(db, file, scratch.options());
    const auto rows = selectAll(db, QStringLiteral("SELECT MSLINK, ID_JR, WARTOSC, NAZWA FROM KDZIALKA ORDER BY MSLINK"));
    ASSERT_EQ(int(rows.size()), count);
    for (int i = 0; i < count; ++i) {
        const auto &row = rows[size_t(i)];
        ASSERT_TRUE(sameBits(row[0].real, double(i) + 1000000.0)) << i;
        ASSERT_EQ(row[1].integer, i % 977) << i;
        ASSERT_TRUE(sameBits(row[2].real, double(i) * 1.1 / 7.0)) << i;
        ASSERT_EQ(row[3].text(), QStringLiteral("Działka nr %1 łąka").arg(i)) << i;
    }

    const auto indexed = selectAll(
        db, QStringLiteral("SELECT lower(tbl_name), lower(il.name) FROM sqlite_master m, pragma_index_info(m.name) il "
                           "WHERE m.type = 'index' AND m.tbl_name NOT LIKE 'katarix%' ORDER BY 1, 2"));
    QStringList names;
    for (const auto &row : indexed)
        names << row[0].text() + QLatin1Char('.') + row[1].text();
    EXPECT_EQ(names.join(QLatin1Char(' ')).toStdString(), "gmina.mslink kdzialka.id_jr kdzialka.mslink");

    // Text columns carry the engine's collation: case-insensitive, Polish letters included.
    const auto found = selectAll(db, QStringLiteral("SELECT MSLINK FROM GMINA WHERE NAZWA = 'ŁÓDŹ'"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0][0].integer, 1);
}
