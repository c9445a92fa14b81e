// Runs on a real X server with a window manager (test_polozenie_menedzer starts Xvfb and openbox):
// goes through the program's start-up with Katarix.ini in its home folder and, several times over,
// opens the parcel file (an MDI child), its buildings tool window, the parcel search dialog and a
// change window (a top-level window that keeps its state), looks where the window manager put them
// and closes them, so that their layout is stored and restored again. The change window is
// maximised in the first round, comes back maximised in the second and is restored to its normal
// place in the third. Prints one JSON object: for each window, per round, its stored values and
// where it was on the screen.
#include "app/IniFile.h"
#include "app/MainFrm.h"
#include "app/main/Start.h"
#include "app/support/RecordingInteraction.h"
#include "common/Czekaj.h"
#include "browsers/ToolWindows.h"
#include "browsers/ZmianyFrm.h"
#include "parcels/DodDlkFrm.h"
#include "parcels/KarDzFrm.h"
#include "registergen/RegisterBuilder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QTimer>

#include <cstdio>

using namespace katarix;
using test::czekaj;

namespace {

// The frame's position and the client's size, as the layout store keeps them, or that the
// window is maximised.
QString miejsce(const QWidget *okno)
{
    if (okno->isMaximized())
        return QStringLiteral("maksymalne");
    return QStringLiteral("%1,%2 %3x%4").arg(okno->x()).arg(okno->y()).arg(okno->width()).arg(okno->height());
}

QString zapisane(const QString &sekcja, const QStringList &klucze)
{
    const app::IniFile ini(app::MainFrm->PlikIni);
    QStringList wartosci;
    for (const QString &klucz : klucze)
        wartosci << klucz + u'=' + ini.ReadString(sekcja, klucz, QString());
    return wartosci.join(u' ');
}

} // namespace

int main(int argc, char **argv)
{
    app::TApplication application(argc, argv);
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    app::MainFrm->PlikIni = QDir::home().filePath(QStringLiteral("Katarix.ini"));
    registergen::RegisterBuilder rejestr;
    rejestr.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    rejestr.toDatabase(app::MainFrm->baza());
    app::MainFrm->showMaximized();
    czekaj(800);

    const QString zmianySekcja = QStringLiteral("Proba.KATARIX.ZmianyFrm");
    struct Okno {
        const char *nazwa;
        QString sekcja;
        QStringList klucze;
        QJsonArray zapisy, ekran;
    } okna[] = {
        {"kartoteka", QStringLiteral("KATARIX.KarDzFrm"), {QStringLiteral("Pos"), QStringLiteral("Size")}, {}, {}},
        {"budynki", QStringLiteral("Katarix.TWbudFrm/KarDzFrm"), {QStringLiteral("Pos"), QStringLiteral("Size")}, {}, {}},
        {"wyszukiwanie", QStringLiteral("KATARIX.DodDlkFrm"), {QStringLiteral("Pos")}, {}, {}},
        {"zmiany", zmianySekcja,
         {QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("State")},
         {},
         {}},
    };
    auto &[kartoteka, budynki, wyszukiwanie, zmiany] = okna;
    const int rundy = 4;
    for (int runda = 0; runda < rundy; ++runda) {
        app::MainFrm->KarDzTBtn->trigger();
        czekaj(500);
        parcels::TKarDzFrm *karta = parcels::KarDzFrm;
        if (!karta) {
            std::fprintf(stderr, "no parcel file window\n");
            return 1;
        }
        auto *podokno = qobject_cast<QMdiSubWindow *>(karta->parentWidget());
        kartoteka.ekran.append(miejsce(podokno));
        karta->BudTW->show();
        czekaj(500);
        budynki.ekran.append(miejsce(karta->BudTW));

        // The search dialog as the file window's "+" opens it: modal, until it is looked at.
        parcels::TDodDlkFrm *dialog = parcels::DodDlkFrm;
        QTimer::singleShot(700, dialog, [&] {
            wyszukiwanie.ekran.append(miejsce(dialog));
            dialog->reject();
        });
        karta->findChild<QAction *>(QStringLiteral("DodajTBtn"))->trigger();

        auto *zmianyOkno = new browsers::TTWzmianyFrm(app::MainFrm);
        zmianyOkno->FrmStrg.setSection(zmianySekcja);
        zmianyOkno->show();
        czekaj(700);
        zmiany.ekran.append(miejsce(zmianyOkno));
        if (runda == 0) {
            zmianyOkno->showMaximized();
            czekaj(700);
        } else if (runda == 2) {
            zmianyOkno->showNormal();
            czekaj(700);
            zmiany.ekran.append(miejsce(zmianyOkno));
        }
        delete zmianyOkno;

        podokno->close();
        czekaj(500);
        for (Okno &okno : okna)
            okno.zapisy.append(zapisane(okno.sekcja, okno.klucze));
    }

    QJsonObject wynik;
    for (const Okno &okno : okna)
        wynik[QString::fromLatin1(okno.nazwa)] = QJsonObject{{QStringLiteral("zapisy"), okno.zapisy}, {QStringLiteral("ekran"), okno.ekran}};
    wynik[QStringLiteral("komunikaty")] = int(recording.messages.size());
    app::ZwolnijFormularze();
    const QByteArray json = QJsonDocument(wynik).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
