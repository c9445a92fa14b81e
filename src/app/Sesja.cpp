#include "app/Sesja.h"

#include "app/MainFrm.h"
#include "jet/Query.h"

namespace katarix::app {

jet::Database *bazaProgramu(jet::Database *database)
{
    if (database)
        return database;
    return MainFrm ? &MainFrm->baza() : nullptr;
}

QString plikIni()
{
    return MainFrm ? MainFrm->PlikIni : QString();
}

jet::Query *pozyczTempQry(jet::Database *baza, QObject *wlasciciel)
{
    if (MainFrm && (!baza || baza == &MainFrm->baza()))
        return MainFrm->TempQry;
    const QString name = QStringLiteral("TempQry");
    if (auto *own = wlasciciel->findChild<jet::Query *>(name, Qt::FindDirectChildrenOnly))
        return own;
    auto *own = new jet::Query(wlasciciel);
    own->setObjectName(name);
    own->setDatabase(baza);
    return own;
}

} // namespace katarix::app
