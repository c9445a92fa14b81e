#include "reports/Rejestracja.h"

#include "app/Formularze.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "app/Sesja.h"
#include "reports/SpisWladFrm.h"
#include "reports/Wypisy.h"

namespace katarix::reports {

void zarejestrujWypisyDM()
{
    app::ustawTworzenieWypisyDM([] {
        WypisyDM = new TWypisyDM(app::MainFrm->baza(), *app::pozyczTempQry(nullptr, app::MainFrm), app::MainFrm->Rtf1,
                                 app::MainFrm);
        QObject::connect(WypisyDM, &QObject::destroyed, [] { WypisyDM = nullptr; });
    });
}

void zarejestrujSpisWladajacych()
{
    app::zarejestrujOkno(app::OknoProgramu::SpisWladajacych, [] { return new TSpisWladFrm; });
}

} // namespace katarix::reports
