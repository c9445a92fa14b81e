// Runs on a real X server with a window manager (test_narzedzia_menedzer starts Xvfb and openbox
// and runs a copy of this program in a folder of its own, so its Katarix.ini is its own): goes
// through the program's start-up with the main window maximised and opens, owner by owner, the
// land register window with its five tool windows, the parcel file with "Budynki na działce" and
// the person file with the units of a person. Prints one JSON object: per tool window its frame
// and what it covers of the main window's menu and toolbars, of its owner's grids and of the
// other tool windows. With "--przesun" it then moves each tool window to a place of its own
// (listed in the output) before the program closes and stores the layout.
#include "app/Aplikacja.h"
#include "app/Formularze.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "app/main/Start.h"
#include "common/Czekaj.h"
#include "app/support/Child.h"
#include "app/support/RecordingInteraction.h"
#include "browsers/RgFrm.h"
#include "browsers/ToolWindows.h"
#include "browsers/ZmianyFrm.h"
#include "parcels/KarDzFrm.h"
#include "persons/KarOsFrm.h"
#include "persons/TWjrOsobyFrm.h"
#include "registergen/RegisterBuilder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QToolBar>

#include <cstdio>
#include <functional>

using namespace katarix;
using test::czekaj;

namespace {

registergen::RegisterBuilder rejestr()
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 1},
                       {"AREA", 1000.0}});
    b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wl"}, {"OPIS", "własność"}, {"RODZAJ", 1}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"OSOBA_TXT", "Lis Ewa"}, {"DATA_UPLYWU", 0}});
    return b;
}

QRect naEkranie(const QWidget &w)
{
    return QRect(w.mapToGlobal(QPoint(0, 0)), w.size());
}

QJsonArray prostokat(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

// What the tool windows of one owner cover once all of them are open.
QJsonArray zbadaj(QWidget *wlasciciel, const QList<QWidget *> &narzedzia)
{
    QList<QRect> menu{naEkranie(*app::MainFrm->menuBar())};
    for (const QToolBar *pasek : app::MainFrm->findChildren<QToolBar *>())
        if (pasek->isVisible() && pasek->window() == app::MainFrm)
            menu << naEkranie(*pasek);
    QList<QRect> siatki;
    for (const QAbstractItemView *view : wlasciciel->findChildren<QAbstractItemView *>())
        if (view->isVisible() && view->window() == app::MainFrm)
            siatki << naEkranie(*view);
    const QRect ekran = app::MainFrm->screen()->availableGeometry();
    QJsonArray wynik;
    for (QWidget *narzedzie : narzedzia) {
        const QRect ramka = narzedzie->frameGeometry();
        const auto pokrywa = [&](const QList<QRect> &inne) {
            int n = 0;
            for (const QRect &r : inne)
                n += ramka.intersects(r) ? 1 : 0;
            return n;
        };
        QList<QRect> pozostale;
        for (QWidget *inne : narzedzia)
            if (inne != narzedzie)
                pozostale << inne->frameGeometry();
        wynik.append(QJsonObject{{QStringLiteral("okno"), narzedzie->windowTitle()},
                                 {QStringLiteral("widoczne"), narzedzie->isVisible()},
                                 {QStringLiteral("ramka"), prostokat(ramka)},
                                 {QStringLiteral("na ekranie"), ekran.contains(ramka)},
                                 {QStringLiteral("menu"), pokrywa(menu)},
                                 {QStringLiteral("siatki"), pokrywa(siatki)},
                                 {QStringLiteral("narzedzia"), pokrywa(pozostale)}});
    }
    return wynik;
}

} // namespace

int main(int argc, char **argv)
{
    app::TApplication application(argc, argv);
    const bool przesun = application.arguments().contains(QStringLiteral("--przesun"));
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    rejestr().toDatabase(app::MainFrm->baza());
    app::MainFrm->showMaximized();
    czekaj(800);

    QJsonObject result;
    QJsonArray przesuniete;
    int kolejne = 0;
    // Stored places every tool window is moved to: over the owner's grids, where no first
    // placement puts it.
    const auto przesunWszystkie = [&](const QList<QWidget *> &narzedzia) {
        for (QWidget *narzedzie : narzedzia) {
            const QPoint miejsce(40 + 30 * kolejne, 420 + 25 * kolejne);
            ++kolejne;
            narzedzie->move(miejsce);
            czekaj(200);
            przesuniete.append(QJsonObject{{QStringLiteral("okno"), narzedzie->windowTitle()},
                                           {QStringLiteral("ramka"), prostokat(narzedzie->frameGeometry())}});
        }
    };

    test::child<QAction>(app::MainFrm, "RejGruntTBtn")->trigger();
    auto *rg = qobject_cast<browsers::TRgFrm *>(app::okno(app::OknoProgramu::RejestrGruntow));
    if (!rg)
        return 1;
    rg->PokazJr(101);
    czekaj(500);
    for (const char *przycisk : {"KlasouzTBtn", "BudTBtn", "LokTBtn", "KomentTBtn", "ZmianyTBtn"}) {
        test::child<QAction>(rg, QString::fromLatin1(przycisk))->trigger();
        czekaj(400);
    }
    const QList<QWidget *> rejestrowe{rg->KlasouzTW, rg->BudTW, rg->LokTW, rg->KomentTW, rg->ZmianyTW};
    result[QStringLiteral("rejestr")] = zbadaj(rg, rejestrowe);
    if (przesun)
        przesunWszystkie(rejestrowe);
    rg->parentWidget()->close();
    czekaj(300);

    test::child<QAction>(app::MainFrm, "KarDzTBtn")->trigger();
    auto *kd = qobject_cast<parcels::TKarDzFrm *>(app::okno(app::OknoProgramu::KartotekaDzialek));
    if (!kd)
        return 1;
    czekaj(300);
    test::child<QAction>(kd, QStringLiteral("BudTBtn"))->trigger();
    czekaj(400);
    result[QStringLiteral("kartoteka dzialek")] = zbadaj(kd, {kd->BudTW});
    if (przesun)
        przesunWszystkie({kd->BudTW});
    kd->parentWidget()->close();
    czekaj(300);

    test::child<QAction>(app::MainFrm, "KarOsTBtn")->trigger();
    auto *ko = qobject_cast<persons::TKarOsFrm *>(app::okno(app::OknoProgramu::KartotekaOsob));
    if (!ko)
        return 1;
    czekaj(300);
    ko->TWjrOsobyFrm->PokazDlaOsoby(true, QStringLiteral("Lis Ewa"), false, 100001);
    czekaj(400);
    result[QStringLiteral("kartoteka osob")] = zbadaj(ko, {ko->TWjrOsobyFrm});
    if (przesun)
        przesunWszystkie({ko->TWjrOsobyFrm});
    ko->parentWidget()->close();
    czekaj(300);

    result[QStringLiteral("przesuniete")] = przesuniete;
    result[QStringLiteral("komunikaty")] = int(recording.messages.size());
    app::ZwolnijFormularze();
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
