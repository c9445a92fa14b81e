#include "app/main/Start.h"

#include "app/MainFrm.h"
#include "app/ZasobySystemu.h"
#include "browsers/Rejestracja.h"
#include "parcels/Rejestracja.h"
#include "persons/Rejestracja.h"
#include "reports/Rejestracja.h"
#include "widgets/SkalaProjektu.h"

#include <QApplication>

namespace katarix::app {

void PrzygotujProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Katarix"));
    UstawUstawieniaRegionalne();
    ZaladujTlumaczenieQt();
    ZaladujCzcionkiTahoma();
    UstawCzcionkeProgramu();
    widgets::ustawSkaleProjektu(QApplication::font());
    browsers::zarejestrujOknaRejestrow();
    parcels::zarejestrujKartotekeDzialek();
    persons::zarejestrujKartotekeOsob();
    reports::zarejestrujWypisyDM();
    reports::zarejestrujSpisWladajacych();
    UtworzFormularze();
    // The register path is known from here on (remembered, or given to the program).
    MainFrm->OdswiezKopieWTle();
}

} // namespace katarix::app
