#include "reports/ReportValues.h"

#include "jet/JetFunctions.h"

#include <QDateTime>
#include <QLocale>
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
    if (text.startsWith(QLatin1Char('-')) && QString::number(-rounded, 'f', decimals) == text.mid(1) &&
        text.mid(1).toDouble() == 0.0)
        text.remove(0, 1); // no "-0.00"
    return text.replace(QLatin1Char('.'), jet::decimalSeparator());
}

QString liczbaSql(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
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
