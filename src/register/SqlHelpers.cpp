#include "SqlHelpers.h"

namespace katarix::reg {

QString WarunekIn(const QString &lista, int naGrupe, const QString &pole)
{
    const QString open = pole + QStringLiteral(" in (");
    QString groups;
    int count = 0;
    qsizetype groupStart = 0;
    for (qsizetype i = 0; i < lista.size(); ++i) {
        if (lista.at(i) != QLatin1Char(','))
            continue;
        if (++count == naGrupe) {
            groups += open + lista.mid(groupStart, i - groupStart) + QStringLiteral(") OR ");
            count = 0;
            groupStart = i + 1;
        }
    }
    groups += open + lista.mid(groupStart) + QLatin1Char(')');
    return QStringLiteral(" and (") + groups + QLatin1Char(')');
}

QString CytujApostrofy(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("' + Chr$(39) + '"));
    return result;
}

} // namespace katarix::reg
