// Numbers as the reports print them.
#include "jet/JetFunctions.h"
#include "reports/ReportValues.h"
#include "support/ReportTestSupport.h"

#include <gtest/gtest.h>

using namespace katarix;

TEST(ReportValuesTest, FixedNotationRoundsFromTenSignificantDigits)
{
    const QChar saved = jet::decimalSeparator();
    struct Case {
        double value;
        int decimals;
        const char *comma;
        const char *point;
    };
    const Case cases[] = {
        {1.2345, 4, "1,2345", "1.2345"},
        {0.1234, 2, "0,12", "0.12"},
        {0.126, 2, "0,13", "0.13"},
        {2, 4, "2,0000", "2.0000"},
        {-0.0001, 2, "0,00", "0.00"},
        {-1.5, 2, "-1,50", "-1.50"},
        {12345678.123456, 4, "12345678,1200", "12345678.1200"}, // ten significant digits
        {0.00005, 4, "0,0001", "0.0001"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        jet::setDecimalSeparator(QLatin1Char(','));
        EXPECT_EQ(reports::liczbaStala(c.value, c.decimals), QString::fromLatin1(c.comma));
        jet::setDecimalSeparator(QLatin1Char('.'));
        EXPECT_EQ(reports::liczbaStala(c.value, c.decimals), QString::fromLatin1(c.point));
    }
    jet::setDecimalSeparator(saved);
}

TEST(ReportValuesTest, IdentifiersInSqlTakeTheirShortestFormWithAFullStop)
{
    const QChar saved = jet::decimalSeparator();
    jet::setDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(reports::liczbaSql(1000001.0), QStringLiteral("1000001"));
    EXPECT_EQ(reports::liczbaSql(300000000.0), QStringLiteral("300000000"));
    EXPECT_EQ(reports::liczbaSql(12.5), QStringLiteral("12.5"));
    jet::setDecimalSeparator(saved);
}
