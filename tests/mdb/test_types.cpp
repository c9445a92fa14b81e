// Every Access column type read as Access stores it: Decimal with its column's scale and sign,
// GUIDs in Access's form, and one table of edge values per type read by the loader and by the
// independent mdb-reader, value by value.
#include "support/MdbTestSupport.h"

#include "mdbwriter/support/MdbReaders.h"

#include "jet/Database.h"

#include <QDate>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;
namespace xc = katarix::mdbwriter::test;

namespace {

std::string bits(double v)
{
    return xc::doubleBits(v);
}

std::string describe(const SqlCell &cell)
{
    switch (cell.type) {
    case SQLITE_NULL: return "NULL";
    case SQLITE_INTEGER: return "integer " + std::to_string(cell.integer);
    case SQLITE_FLOAT: return "real " + bits(cell.real);
    case SQLITE_TEXT: return "text " + cell.bytes.toStdString();
    default: return "blob " + xc::hexBytes(cell.bytes.toStdString());
    }
}

SqlCell integer(qint64 v) { return {SQLITE_INTEGER, v, 0, {}}; }
SqlCell real(double v) { return {SQLITE_FLOAT, 0, v, {}}; }
SqlCell text(const std::string &v) { return {SQLITE_TEXT, 0, 0, QByteArray::fromStdString(v)}; }
SqlCell blob(const std::string &v) { return {SQLITE_BLOB, 0, 0, QByteArray::fromStdString(v)}; }
SqlCell null() { return {}; }

bool same(const SqlCell &a, const SqlCell &b)
{
    return a.type == b.type && a.integer == b.integer && bits(a.real) == bits(b.real) && a.bytes == b.bytes;
}

mw::Column decimal(const std::string &name, int precision, int scale)
{
    mw::Column c = column(name, ColumnType::Decimal);
    c.precision = precision;
    c.scale = scale;
    return c;
}

// Writes the table as a Jet 4 file, loads it through the helper process and runs sql on the copy.
std::vector<std::vector<SqlCell>> writeAndLoad(const MdbScratch &scratch, const mw::Table &table, const QString &file,
                                               const QString &sql)
{
    mw::Content content;
    content.tables.push_back(table);
    scratch.write(content, file);
    jet::Database db;
    jet::openRegister(db, scratch.path(file), scratch.options());
    return selectAll(db, sql);
}

} // namespace

// Each case is a Decimal column of its own precision and scale holding one value; the value
// must arrive as the nearest double to the exact decimal, through the loader and katarix-sql.
TEST(MdbTypes, DecimalValuesUseTheColumnScale)
{
    struct Case {
        int precision;
        int scale;
        mw::Value written;
        double expected;
        const char *csv; // as katarix-sql prints it
    };
    using V = mw::Value;
    const std::vector<Case> cases = {
        {18, 0, V(std::string("1")), 1.0, "1"},
        {18, 0, V(std::string("-4")), -4.0, "-4"},
        {18, 0, V(std::string("0")), 0.0, "0"},
        {18, 0, V(std::string("9007199254740993")), 9007199254740993.0, "9.00719925474099E+15"},
        {10, 2, V(std::string("12345678.90")), 12345678.9, "12345678.9"},
        {10, 2, V(std::string("-0.01")), -0.01, "-0.01"},
        {10, 2, V(std::string("-0.00")), 0.0, "0"},
        {19, 4, V(std::string("123456789012345.6789")), 123456789012345.6789, "123456789012346"},
        {19, 4, V(std::int64_t(-5)), -5.0, "-5"},
        {18, 10, V(std::string("12345678.0123456789")), 12345678.0123456789, "12345678.0123457"},
        {18, 10, V(std::string("0.0000000001")), 1e-10, "1E-10"},
        {28, 0, V(std::string("9999999999999999999999999999")), 9999999999999999999999999999.0, "1E+28"},
        {28, 0, V(std::string("-1")), -1.0, "-1"},
        {28, 10, V(std::string("-123456789012345678.0123456789")), -123456789012345678.0123456789,
         "-1.23456789012346E+17"},
        {28, 28, V(std::string("0.1234567890123456789012345678")), 0.1234567890123456789012345678,
         "0.123456789012346"},
    };
    MdbScratch scratch;
    mw::Table t;
    t.name = "LICZBY";
    t.columns.push_back(column("NR", ColumnType::Long));
    std::vector<V> values{V(std::int64_t(1))};
    std::vector<V> nulls{V(std::int64_t(2))};
    QStringList names;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string name = "D" + std::to_string(i);
        t.columns.push_back(decimal(name, cases[i].precision, cases[i].scale));
        values.push_back(cases[i].written);
        nulls.push_back(V());
        names << QString::fromStdString(name);
    }
    t.rows = {values, nulls};
    const QString file = scratch.path(QStringLiteral("liczby.mdb"));
    const auto rows = writeAndLoad(scratch, t, QStringLiteral("liczby.mdb"),
                                   QStringLiteral("SELECT %1 FROM LICZBY ORDER BY NR").arg(names.join(QLatin1Char(','))));
    ASSERT_EQ(rows.size(), 2u);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("Decimal(" + std::to_string(cases[i].precision) + "," + std::to_string(cases[i].scale) + ") " +
                     xc::canonical(ColumnType::Decimal, cases[i].written));
        EXPECT_TRUE(same(rows[0][i], real(cases[i].expected))) << describe(rows[0][i]);
        EXPECT_EQ(rows[1][i].type, SQLITE_NULL);
    }

    const SqlRun r = runKatarixSql(
        scratch, {file, QStringLiteral("SELECT %1 FROM LICZBY WHERE NR = 1").arg(names.join(QLatin1Char(',')))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList csv;
    for (const Case &c : cases)
        csv << QString::fromLatin1(c.csv);
    EXPECT_EQ(r.out.toStdString(), (names.join(QLatin1Char(',')) + QLatin1Char('\n') + csv.join(QLatin1Char(',')) +
                                    QLatin1Char('\n')).toStdString());
}

// GUIDs come out as Access shows them, whatever case they were written in; the independent
// reader decodes the same bytes to the same identifier.
TEST(MdbTypes, GuidsInAccessForm)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{8E39276A-BCA8-4AC4-891E-49911D8438DD}", "{8E39276A-BCA8-4AC4-891E-49911D8438DD}"},
        {"{01234567-89ab-cdef-0123-456789abcdef}", "{01234567-89AB-CDEF-0123-456789ABCDEF}"},
        {"{00000000-0000-0000-0000-000000000000}", "{00000000-0000-0000-0000-000000000000}"},
        {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
    };
    MdbScratch scratch;
    mw::Table t;
    t.name = "IDENTYFIKATORY";
    t.columns = {column("NR", ColumnType::Long), column("ID", ColumnType::Guid)};
    for (size_t i = 0; i < cases.size(); ++i)
        t.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(cases[i].first)});
    t.rows.push_back({mw::Value(std::int64_t(cases.size())), mw::Value()});
    const QString file = scratch.path(QStringLiteral("guid.mdb"));
    const auto rows = writeAndLoad(scratch, t, QStringLiteral("guid.mdb"),
                                   QStringLiteral("SELECT ID FROM IDENTYFIKATORY ORDER BY NR"));
    ASSERT_EQ(rows.size(), cases.size() + 1);
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(same(rows[i][0], text(cases[i].second))) << describe(rows[i][0]);
    EXPECT_EQ(rows.back()[0].type, SQLITE_NULL);

    const SqlRun r = runKatarixSql(scratch, {file, QStringLiteral("SELECT ID FROM IDENTYFIKATORY WHERE NR = 0")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "ID\n{8E39276A-BCA8-4AC4-891E-49911D8438DD}\n");

    if (xc::xcheckDir().empty())
        GTEST_SKIP() << "mdb-reader is not installed (npm ci in tests/mdbwriter/xcheck)";
    const xc::NodeResult node = xc::readWithMdbReader(file.toStdString());
    ASSERT_EQ(node.exitCode, 0) << node.error;
    const xc::ReadTable &read = node.tables.at("IDENTYFIKATORY");
    ASSERT_EQ(read.rows.size(), cases.size() + 1);
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(read.rows[i][1], "g:" + cases[i].second);
}

namespace {

// What an OLE Automation date means to Access, from milliseconds after 1970-01-01 as
// mdb-reader gives them (it maps the stored double linearly; before 1899-12-30 Access counts
// the time of day forward from midnight of the day named by the integer part).
std::string accessDate(qint64 msSince1970)
{
    const qint64 msPerDay = 86400000;
    const qint64 ms = msSince1970 + qint64(25569) * msPerDay;
    qint64 day = ms / msPerDay; // towards zero, like the integer part
    qint64 seconds = ((ms < 0 ? -ms : ms) - (day < 0 ? -day : day) * msPerDay + 500) / 1000;
    if (seconds == 86400) {
        seconds = 0;
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    return date.toString(QStringLiteral("yyyy-MM-dd")).toStdString() +
           QStringLiteral(" %1:%2:%3")
               .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
               .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
               .arg(seconds % 60, 2, 10, QLatin1Char('0'))
               .toStdString();
}

// A decimal text as its nearest double.
std::string decimalBits(std::string digits)
{
    return bits(std::strtod(digits.c_str(), nullptr));
}

// The loader's cell and mdb-reader's canonical cell in one comparable form.
std::string fromLoader(ColumnType type, const SqlCell &cell)
{
    if (cell.type == SQLITE_NULL)
        return "NULL";
    switch (type) {
    case ColumnType::Boolean:
        return cell.integer == -1 ? "true" : cell.integer == 0 ? "false" : "?";
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
        return std::to_string(cell.integer);
    case ColumnType::Ole:
        return xc::hexBytes(cell.bytes.toStdString());
    case ColumnType::DateTime:
        return "t:" + cell.bytes.toStdString();
    case ColumnType::Guid:
        return "g:" + cell.bytes.toStdString();
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Hyperlink:
        return "s:" + cell.bytes.toStdString();
    default: // Currency, Single, Double, Decimal
        return bits(cell.real);
    }
}

std::string fromNode(ColumnType type, const std::string &cell)
{
    if (cell == "NULL" || type == ColumnType::Boolean)
        return cell;
    switch (type) {
    case ColumnType::Currency: {
        // The count of ten-thousandths, as exact decimal text.
        std::string digits = cell;
        const bool negative = digits[0] == '-';
        if (negative)
            digits.erase(0, 1);
        digits.insert(0, std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0'));
        digits.insert(digits.size() - 4, ".");
        return decimalBits((negative ? "-" : "") + digits);
    }
    case ColumnType::Single:
        return bits(double(std::bit_cast<float>(std::uint32_t(std::stoul(cell.substr(2), nullptr, 16)))));
    case ColumnType::Double:
        return cell.substr(0, 2) == "d:" ? "d:" + cell.substr(2) : cell;
    case ColumnType::Decimal:
        return decimalBits(cell.substr(2));
    case ColumnType::DateTime:
        return "t:" + accessDate(std::stoll(cell.substr(2)));
    default:
        return cell;
    }
}

std::string bytes(int length)
{
    std::string s(size_t(length), '\0');
    for (int i = 0; i < length; ++i)
        s[size_t(i)] = char((i * 7 + i / 256) & 0xFF);
    return s;
}

} // namespace

// One column per type; each case is one row holding an edge value in its column (NULL
// elsewhere). The loader must give the stated SQLite value, and mdb-reader the same value.
TEST(MdbTypes, EveryTypeWithItsEdgesAgreesWithTheIndependentReader)
{
    struct Case {
        ColumnType type;
        mw::Value written;
        SqlCell expected;
    };
    using V = mw::Value;
    using S = std::string;
    const std::vector<Case> cases = {
        {ColumnType::Boolean, V(true), integer(-1)},
        {ColumnType::Boolean, V(false), integer(0)},
        {ColumnType::Byte, V(std::int64_t(0)), integer(0)},
        {ColumnType::Byte, V(std::int64_t(128)), integer(128)},
        {ColumnType::Byte, V(std::int64_t(255)), integer(255)},
        {ColumnType::Integer, V(std::int64_t(-32768)), integer(-32768)},
        {ColumnType::Integer, V(std::int64_t(32767)), integer(32767)},
        {ColumnType::Long, V(std::int64_t(INT_MIN)), integer(INT_MIN)},
        {ColumnType::Long, V(std::int64_t(INT_MAX)), integer(INT_MAX)},
        {ColumnType::Currency, V(S("922337203685477.5807")), real(922337203685477.5807)},
        {ColumnType::Currency, V(S("-922337203685477.5808")), real(-922337203685477.5808)},
        {ColumnType::Currency, V(S("-0.0001")), real(-0.0001)},
        {ColumnType::Currency, V(S("1234.5678")), real(1234.5678)},
        {ColumnType::Currency, V(S("0")), real(0.0)},
        {ColumnType::Single, V(0.1), real(double(0.1f))},
        {ColumnType::Single, V(double(FLT_MAX)), real(double(FLT_MAX))},
        {ColumnType::Single, V(-double(FLT_TRUE_MIN)), real(-double(FLT_TRUE_MIN))},
        {ColumnType::Double, V(DBL_MAX), real(DBL_MAX)},
        {ColumnType::Double, V(DBL_TRUE_MIN), real(DBL_TRUE_MIN)},
        {ColumnType::Double, V(0.1 + 0.2), real(0.1 + 0.2)},
        {ColumnType::DateTime, V(0.0), text("1899-12-30 00:00:00")},
        {ColumnType::DateTime, V(-1.25), text("1899-12-29 06:00:00")},
        // 1899-12-29 23:59:59.7 rounds to the next midnight, which is later, not earlier.
        {ColumnType::DateTime, V(-1.0 - 86399.7 / 86400.0), text("1899-12-30 00:00:00")},
        {ColumnType::DateTime, V(-36522.0 - 0.75), text("1800-01-01 18:00:00")},
        {ColumnType::DateTime, V(-657434.0), text("0100-01-01 00:00:00")},
        {ColumnType::DateTime, V(45000.0 + 43200.4 / 86400.0), text("2023-03-15 12:00:00")},
        {ColumnType::DateTime, V(45000.0 + 43200.6 / 86400.0), text("2023-03-15 12:00:01")},
        {ColumnType::DateTime, V(2958465.0 + 86399.0 / 86400.0), text("9999-12-31 23:59:59")},
        {ColumnType::Text, V(S("")), text("")},
        {ColumnType::Text, V(S("Zażółć gęślą jaźń")), text("Zażółć gęślą jaźń")},
        {ColumnType::Text, V(polishText(255)), text(polishText(255))},
        {ColumnType::Memo, V(S("ą")), text("ą")},
        {ColumnType::Memo, V(polishText(5000)), text(polishText(5000))},
        {ColumnType::Hyperlink, V(S("Katarix#http://example.com/a b#")), text("Katarix#http://example.com/a b#")},
        {ColumnType::Ole, V(bytes(16)), blob(bytes(16))},
        {ColumnType::Ole, V(bytes(300)), blob(bytes(300))},
        {ColumnType::Ole, V(bytes(10000)), blob(bytes(10000))},
        {ColumnType::Decimal, V(S("123456789012345678901234.5678")), real(123456789012345678901234.5678)},
        {ColumnType::Decimal, V(S("-0.0001")), real(-0.0001)},
        {ColumnType::Decimal, V(S("0")), real(0.0)},
        {ColumnType::Guid, V(S("{8E39276A-BCA8-4AC4-891E-49911D8438DD}")), text("{8E39276A-BCA8-4AC4-891E-49911D8438DD}")},
    };
    const std::vector<ColumnType> types = {ColumnType::Boolean,  ColumnType::Byte,     ColumnType::Integer,
                                           ColumnType::Long,     ColumnType::Currency, ColumnType::Single,
                                           ColumnType::Double,   ColumnType::DateTime, ColumnType::Text,
                                           ColumnType::Memo,     ColumnType::Hyperlink, ColumnType::Ole,
                                           ColumnType::Decimal,  ColumnType::Guid};
    MdbScratch scratch;
    mw::Table t;
    t.name = "PRZYPADKI";
    t.columns.push_back(column("NR", ColumnType::Long));
    for (ColumnType type : types) {
        mw::Column c = column("C_" + xc::typeName(type), type);
        c.precision = 28;
        c.scale = 4;
        t.columns.push_back(c);
    }
    auto columnOf = [&](ColumnType type) { return size_t(std::find(types.begin(), types.end(), type) - types.begin()); };
    for (size_t i = 0; i <= cases.size(); ++i) {
        std::vector<V> row(types.size() + 1);
        row[0] = V(std::int64_t(i));
        if (i < cases.size())
            row[1 + columnOf(cases[i].type)] = cases[i].written; // the last row is all NULL
        t.rows.push_back(row);
    }
    const QString file = scratch.path(QStringLiteral("przypadki.mdb"));
    const auto rows = writeAndLoad(scratch, t, QStringLiteral("przypadki.mdb"),
                                   QStringLiteral("SELECT * FROM PRZYPADKI ORDER BY NR"));
    ASSERT_EQ(rows.size(), cases.size() + 1);

    const bool haveNode = !xc::xcheckDir().empty();
    xc::NodeResult node;
    if (haveNode) {
        node = xc::readWithMdbReader(file.toStdString());
        ASSERT_EQ(node.exitCode, 0) << node.error;
        ASSERT_EQ(node.tables.at("PRZYPADKI").rows.size(), cases.size() + 1);
    }
    for (size_t i = 0; i <= cases.size(); ++i) {
        for (size_t k = 0; k < types.size(); ++k) {
            const ColumnType type = types[k];
            const bool tested = i < cases.size() && cases[i].type == type;
            SCOPED_TRACE("case " + std::to_string(i) + ", " + xc::typeName(type) +
                         (tested ? " " + xc::canonical(type, cases[i].written).substr(0, 60) : std::string(" NULL")));
            const SqlCell &loaded = rows[i][k + 1];
            SqlCell expected = tested ? cases[i].expected : null();
            if (!tested && type == ColumnType::Boolean)
                expected = integer(0); // Jet keeps a Boolean only in the null mask
            EXPECT_TRUE(same(loaded, expected)) << describe(loaded).substr(0, 200);
            if (haveNode) {
                const std::string other = node.tables.at("PRZYPADKI").rows[i][k + 1];
                EXPECT_EQ(fromNode(type, other), fromLoader(type, loaded)) << other.substr(0, 200);
            }
        }
    }
    if (!haveNode)
        GTEST_SKIP() << "mdb-reader is not installed (npm ci in tests/mdbwriter/xcheck)";
}

// libmdb converts names to the character set the environment names; the loader always asks
// for UTF-8, so Polish table and column names survive whatever a user's session exports.
TEST(MdbTypes, NamesSurviveACharsetLeftInTheEnvironment)
{
    MdbScratch scratch;
    mw::Table t;
    t.name = "DZIAŁKI_ŻÓŁTE";
    t.columns = {column("NR", ColumnType::Long), column("POWIERZCHNIA_Ł", ColumnType::Text, 20)};
    t.rows = {{mw::Value(std::int64_t(1)), mw::Value(std::string("łąka"))}};
    qputenv("MDBICONV", "ISO-8859-2");
    qputenv("MDB_ICONV", "ISO-8859-2");
    const auto rows = writeAndLoad(scratch, t, QStringLiteral("nazwy.mdb"),
                                   QStringLiteral("SELECT \"POWIERZCHNIA_Ł\" FROM \"DZIAŁKI_ŻÓŁTE\""));
    qunsetenv("MDBICONV");
    qunsetenv("MDB_ICONV");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(same(rows[0][0], text("łąka"))) << describe(rows[0][0]);
}
