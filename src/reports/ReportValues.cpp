#include "reports/ReportValues.h"

#include <QDateTime>

namespace katarix::reports {

QString biezacaData()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

QString biezacyCzas()
{
    return QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
}

} // namespace katarix::reports
