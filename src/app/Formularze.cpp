#include "app/Formularze.h"

#include "app/AboutFrm.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/Ustawienia.h"
#include "app/UstawieniaFrm.h"

namespace katarix::app {

namespace {

std::function<void()> &tworzenieWypisow()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void ustawTworzenieWypisyDM(std::function<void()> utworz)
{
    tworzenieWypisow() = std::move(utworz);
}

void UtworzFormularze()
{
    UstawTytulAplikacji(QStringLiteral("Katarix"));
    MainFrm = new TMainFrm;
    UstawieniaFrm = new TUstawieniaFrm(ustawieniaProgramu(), MainFrm->PlikIni, MainFrm->Katalogi, MainFrm);
    if (tworzenieWypisow())
        tworzenieWypisow()();
    AboutFrm = new TAboutFrm(MainFrm);
}

void ZwolnijFormularze()
{
    delete MainFrm; // owns the settings dialog and the About box
    MainFrm = nullptr;
    UstawieniaFrm = nullptr;
    AboutFrm = nullptr;
    ustawieniaProgramu() = Ustawienia();
}

} // namespace katarix::app
