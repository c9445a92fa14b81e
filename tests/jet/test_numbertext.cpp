// One rounding rule for every number the program writes: fixed notation, Format$ masks (as
// functions and in SQL) and numbers written into SQL text.

#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"

#include "common/SeparatorGuard.h"

#include <gtest/gtest.h>

using namespace katarix::jet;

namespace {

class NumberTextTest : public ::testing::Test {
protected:
    katarix::test::SeparatorGuard point{QChar(u'.')};
};

// The same decimal halves through fixed notation and through Format$ with the window's and the
// extracts' masks, in SQL and outside it: half away from zero on the decimal digits.
TEST_F(NumberTextTest, HalvesRoundAwayFromZeroOnTheDecimalDigitsEverywhere)
{
    struct Case {
        double value;
        int decimals;
        const char *expected; // Polish separator
    };
    const Case cases[] = {
        {0.105, 2, "0,11"},      // binary 0.10499999999999999611
        {0.00005, 4, "0,0001"},
        {2.675, 2, "2,68"},      // binary 2.67499999999999982236
        {1.005, 2, "1,01"},
        {0.125, 2, "0,13"},
        {-0.105, 2, "-0,11"},
        {-2.675, 2, "-2,68"},
        {-0.00005, 4, "-0,0001"},
        {-0.00004, 4, "0,0000"}, // no minus sign on zero
        {0.1234, 4, "0,1234"},
        {9.995, 2, "10,00"},
        {1e10, 4, "10000000000,0000"},
        {12345678.5, 0, "12345679"},
    };
    Database db;
    db.openInMemory();
    Query query;
    query.setDatabase(&db);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals << " decimals");
        const QString mask = c.decimals == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(c.decimals, u'0');
        setDecimalSeparator(u',');
        EXPECT_EQ(fixedText(c.value, c.decimals), QString::fromUtf8(c.expected));
        EXPECT_EQ(formatNumber(c.value, mask), QString::fromUtf8(c.expected));
        query.close();
        query.setSql(QStringLiteral("SELECT Format$(:X, '%1') AS T").arg(mask));
        query.setParameter(QStringLiteral("X"), c.value, FieldType::Float);
        query.open();
        EXPECT_EQ(query.asString(QStringLiteral("T")), QString::fromUtf8(c.expected));
        setDecimalSeparator(u'.');
        EXPECT_EQ(fixedText(c.value, c.decimals), QString::fromUtf8(c.expected).replace(u',', u'.'));
    }
}

// Fixed notation keeps at most ten significant digits and never switches to an exponent.
TEST_F(NumberTextTest, FixedNotationRoundsFromTenSignificantDigits)
{
    struct Case {
        double value;
        int decimals;
        const char *comma;
    };
    const Case cases[] = {
        {1.2345, 4, "1,2345"},
        {0.1234, 2, "0,12"},
        {0.126, 2, "0,13"},
        {2, 4, "2,0000"},
        {-0.0001, 2, "0,00"},
        {-1.5, 2, "-1,50"},
        {12345678.123456, 4, "12345678,1200"},
        {0.00005, 4, "0,0001"},
        {12345678901.234, 2, "12345678900,00"},
        {1e15, 2, "1000000000000000,00"},
        {-2.5e12, 0, "-2500000000000"},
        {0.123456789012, 12, "0,123456789000"},
    };
    setDecimalSeparator(u',');
    for (const Case &c : cases)
        EXPECT_EQ(fixedText(c.value, c.decimals), QString::fromUtf8(c.comma)) << c.value;
}

// Ids written into SQL text: exact, a full stop whatever the region, never an exponent.
TEST_F(NumberTextTest, NumbersInSqlTextTakeTheirExactShortestForm)
{
    setDecimalSeparator(u',');
    const std::pair<double, const char *> cases[] = {
        {1000000.0, "1000000"},  {1000001.0, "1000001"},
        {300000000.0, "300000000"}, {9007199254740991.0, "9007199254740991"},
        {1e20, "100000000000000000000"}, {12.5, "12.5"},
        {-7.0, "-7"},            {0.0, "0"},
        {-0.0, "0"},             {0.1, "0.1"},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(sqlNumber(value), QString::fromLatin1(expected)) << value;
}

} // namespace
