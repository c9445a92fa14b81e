// Runs on a real X server with a window manager (test_zmiany_menedzer starts Xvfb and openbox):
// goes through the program's start-up, opens the land register window on a unit of three parcels
// created by three changes, shows the change window, and puts the land register window through
// maximise, restore, minimise, cascade and tile. After each step it moves to another parcel and
// compares what the X server shows of the change window with what the window paints itself.
// Prints one JSON object: for each step whether the screen showed the current change.
#include "app/MainFrm.h"
#include "app/main/Start.h"
#include "app/support/RecordingInteraction.h"
#include "common/Czekaj.h"
#include "browsers/RgFrm.h"
#include "browsers/ZmianyFrm.h"
#include "jet/Query.h"
#include "registergen/RegisterBuilder.h"
#include "widgets/HtmlViewer.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <functional>

using namespace katarix;
using test::czekaj;

namespace {

// Unit 101 with three parcels, each created by its own change with its own description.
registergen::RegisterBuilder rejestr()
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("EW_USER", {{"ID", 1}, {"USER_NAME", "anna"}, {"FULL_NAME2", "Anna Lis"}});
    const char *opisy[] = {"Wyodrębnienie lokalu", "Konwersja danych", "Podział działki"};
    for (int i = 0; i < 3; ++i) {
        b.add("KDZIALKA", {{"MSLINK", 1.0 + i}, {"DZIALKA_ID", 11.0 + i}, {"ID_JR", 101.0}, {"OBREB_ID", 10},
                           {"NR_L", 1 + i}, {"AREA", 1000.0}, {"ZMIANA_ID", 1.0 + i}});
        b.add("ZMIANY", {{"ID", 1.0 + i}, {"USER_ID", 1}, {"SPRAWA_ID", 10.0 + i}, {"DATA_D", 19990315 + i},
                         {"CZAS_D", 120000}});
        b.add("SPRAWA", {{"SPRAWA_ID", 10.0 + i}, {"OPIS", opisy[i]}});
    }
    return b;
}

// Whether the X server shows the window as the window paints itself now.
bool ekranZgodny(QWidget *okno)
{
    const QImage naEkranie = okno->screen()->grabWindow(okno->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage wlasny = okno->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return !naEkranie.isNull() && naEkranie.size() == wlasny.size() && naEkranie == wlasny;
}

} // namespace

int main(int argc, char **argv)
{
    app::TApplication application(argc, argv);
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    rejestr().toDatabase(app::MainFrm->baza());
    if (qEnvironmentVariableIsSet("PROBE_NORMALNE"))
        app::MainFrm->show();
    else
        app::MainFrm->showMaximized();
    czekaj(800);

    QJsonObject result;
    app::MainFrm->RejGruntTBtn->trigger();
    browsers::TRgFrm *rg = browsers::RgFrm;
    if (!rg) {
        std::fprintf(stderr, "no land register window\n");
        return 1;
    }
    rg->PokazJr(101);
    auto *okno = qobject_cast<QMdiSubWindow *>(rg->parentWidget());
    rg->ZmianyTBtn->trigger();
    czekaj(800);
    browsers::TTWzmianyFrm *zmiany = rg->ZmianyTW;
    int wiersz = 0;
    // A click on another parcel; the change window follows it.
    const auto nastepnaDzialka = [&] {
        wiersz = (wiersz + 1) % 3;
        QAbstractItemView *grid = rg->DzialkiGrd;
        if (qEnvironmentVariableIsSet("PROBE_KLAWISZE")) {
            QTest::keyClick(grid, wiersz == 0 ? Qt::Key_Home : Qt::Key_Down);
        } else {
            const QRect komorka = grid->visualRect(grid->model()->index(wiersz, 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, komorka.center());
        }
        czekaj(500);
    };
    nastepnaDzialka();
    result[QStringLiteral("start")] = ekranZgodny(zmiany);

    const std::pair<const char *, std::function<void()>> kroki[] = {
        {"maksymalizacja", [&] { okno->showMaximized(); }},
        {"przywrocenie", [&] { okno->showNormal(); }},
        {"minimalizacja", [&] { okno->showMinimized(); }},
        {"przywrocenie po minimalizacji", [&] { okno->showNormal(); }},
        {"kaskada", [&] { app::MainFrm->KaskadaMi->trigger(); }},
        {"rozmieszczenie poziome", [&] { app::MainFrm->OknoPoziomoMi->trigger(); }},
        {"rozmieszczenie pionowe", [&] { app::MainFrm->OknoPionowoMi->trigger(); }},
    };
    for (const auto &[nazwa, krok] : kroki) {
        krok();
        czekaj(500);
        nastepnaDzialka();
        // The page is the current parcel's change, and the screen shows the page.
        const bool biezaca = zmiany->Html->tekst().contains(QStringLiteral("1999-03-1%1").arg(wiersz + 5));
        const bool widoczne = zmiany->isVisible(), ekran = widoczne && ekranZgodny(zmiany);
        if (!widoczne || !biezaca || !ekran)
            std::fprintf(stderr, "%s: visible %d, current page %d, screen as painted %d\n", nazwa, widoczne, biezaca, ekran);
        result[QString::fromUtf8(nazwa)] = widoczne && biezaca && ekran;
    }
    result[QStringLiteral("komunikaty")] = int(recording.messages.size());
    app::ZwolnijFormularze();
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
