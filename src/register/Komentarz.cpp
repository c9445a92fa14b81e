#include "Komentarz.h"

#include "jet/Query.h"

#include <QLocale>

namespace katarix::reg {

QString tekstKomentarza(jet::Query &tempQry, double mslink)
{
    tempQry.close();
    // Shortest decimal form, point separator, no thousands separators: 12, 12.5.
    tempQry.setSql(QStringLiteral("SELECT tekst FROM komentarz WHERE mslink = ")
                   + QString::number(mslink, 'f', QLocale::FloatingPointShortest));
    tempQry.open();
    if (tempQry.isEmpty())
        return QString();
    return tempQry.asString(QStringLiteral("tekst"));
}

} // namespace katarix::reg
