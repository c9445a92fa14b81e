#include "reports/Rpt.h"

#include "app/AppError.h"
#include "app/EksportCsv.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/MainFrm.h"
#include "jet/Query.h"
#include "register/sql/RptQueries.h"
#include "register/SqlHelpers.h"
#include "register/SqlTemplates.h"

namespace katarix::reports {

TRptDM::TRptDM(jet::Database &baza, QObject *parent, const QString &katalog)
    : QObject(parent), StrHld(reg::holderFor(reg::sql::rpt::StrHld)), DlkWladQry(new jet::Query(this)), m_katalog(katalog)
{
    setObjectName(QStringLiteral("RptDM"));
    DlkWladQry->setObjectName(QStringLiteral("DlkWladQry"));
    DlkWladQry->setDatabase(&baza);
}

void TRptDM::WykazDlkWlad(const QString &dlkMslinks)
{
    if (dlkMslinks.isEmpty()) {
        app::Komunikat(QStringLiteral("Nie określono działek, dla których ma zostać sporządzony ten raport."), QString(),
                       app::mb::IconWarning);
        return;
    }
    app::KursorKlepsydry kursor;
    try {
        StrHld.setMacro(QStringLiteral("WARUNEK"), reg::WarunekIn(dlkMslinks, 1000, QStringLiteral("kdzialka.mslink")));
        DlkWladQry->close();
        DlkWladQry->setSql(StrHld.expandedText());
        DlkWladQry->open();
        QString katalog = m_katalog;
        if (katalog.isEmpty() && app::MainFrm)
            katalog = app::MainFrm->Katalogi.wyniki;
        const bool zapisano = app::EksportCsv(*DlkWladQry, katalog);
        kursor.przywroc();
        if (zapisano)
            app::Komunikat(QStringLiteral("Raport pomyślnie zapisano do pliku."), QString(), app::mb::IconInformation);
    } catch (const std::exception &error) {
        kursor.przywroc();
        app::Komunikat(app::komunikatWyjatku(error), QStringLiteral("Błąd w funkcji 'WykazDlkWlad'"), app::mb::IconError);
    }
}

} // namespace katarix::reports
