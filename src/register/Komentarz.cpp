#include "Komentarz.h"

#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "register/sql/MainQueries.h"

namespace katarix::reg {

QString tekstKomentarza(jet::Query &tempQry, double mslink)
{
    tempQry.close();
    tempQry.setSql(QString::fromUtf8(sql::main::TekstKomentarzaSql) + jet::sqlNumber(mslink));
    tempQry.open();
    if (tempQry.isEmpty())
        return QString();
    return tempQry.asString(QStringLiteral("tekst"));
}

} // namespace katarix::reg
