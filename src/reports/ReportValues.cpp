#include "reports/ReportValues.h"

#include "jet/JetFunctions.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace katarix::reports {

QString liczbaStala(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Ten significant digits first, then the requested decimals.
    const double rounded = QString::number(value, 'g', 10).toDouble();
    if (std::fabs(rounded) >= 1e10)
        return QString::number(rounded, 'e', 9).replace(QLatin1Char('.'), jet::decimalSeparator());
    QString text = QString::number(rounded, 'f', decimals);
    const bool zero = std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (zero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1); // no "-0.00"
    return text.replace(QLatin1Char('.'), jet::decimalSeparator());
}

QString liczbaSql(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString biezacaData()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

QString biezacyCzas()
{
    return QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
}

} // namespace katarix::reports
