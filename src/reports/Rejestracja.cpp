#include "reports/Rejestracja.h"

#include "app/MainFrm.h"
#include "reports/Wypisy.h"

namespace katarix::reports {

void zarejestrujWypisyDM()
{
    app::ustawTworzenieWypisyDM([] {
        WypisyDM = new TWypisyDM(app::MainFrm->baza(), *app::MainFrm->TempQry, app::MainFrm->Rtf1, app::MainFrm);
        QObject::connect(WypisyDM, &QObject::destroyed, [] { WypisyDM = nullptr; });
    });
}

} // namespace katarix::reports
