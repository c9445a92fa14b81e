#pragma once

#include "app/Interaction.h"
#include "app/KatalogiProgramu.h"
#include "jet/Database.h"
#include "jet/RegisterLoader.h"
#include "rtf/RTFReport.h"

#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <stdexcept>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressDialog;
class QToolBar;

namespace katarix::jet {
class Query;
}

namespace katarix::app {

class TAboutFrm;

// The program's own failures: a Polish message for the person.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The Polish text of an exception (jet::errorText: the program's own messages, running out of
// memory, else the library's text).
QString komunikatWyjatku(const std::exception &error);

// The application title: the default caption of message boxes ("Katarix", then with the version).
QString TytulAplikacji();
void UstawTytulAplikacji(const QString &title);
// The program's version from the build ("0.1.0"); empty when the build has none.
QString WersjaProgramu();
// Replaces where the version is read from (null: the build); the source may throw.
void ustawZrodloWersji(std::function<QString()> zrodlo);

// The shared modal message box: beeps first when asked, an empty caption is the application
// title; returns the pressed button (mb::Id*).
int Komunikat(const QString &tekst, const QString &tytul = QString(), int flagi = mb::Ok, bool sygnal = false);
// The standard exception display: the message, the application title, the error icon.
void PokazWyjatek(const QString &message);
void PokazWyjatek(const std::exception &error);

// The short part of a hint "short|long" (tooltip) and the long part (status bar); a hint
// without "|" is both.
QString KrotkaPodpowiedz(const QString &hint);
QString DlugaPodpowiedz(const QString &hint);

// The application object: an exception that escapes an event handler goes to the standard
// exception display and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The user's regional settings (the locale of LC_ALL / LC_NUMERIC / LANG) for the whole
// program: Qt's default locale and the decimal separator of every number printed or parsed.
void UstawUstawieniaRegionalne();

// The font of the whole user interface (Tahoma 11 px where present, else a sans-serif face
// with Polish letters).
void UstawCzcionkeProgramu();

// Windows the main window opens on demand, one instance each.
enum class OknoProgramu { KartotekaDzialek, KartotekaOsob, RejestrGruntow, RejestrLokali, SpisWladajacych };
constexpr int LiczbaOkienProgramu = 5;

// Creates the window (no parent); the main window places the four MDI windows in its MDI area
// and shows the list-of-holders dialog modally. The window is deleted when it closes.
using FabrykaOkna = std::function<QWidget *()>;
// Makes the window's menu item and toolbar button work; until then they are disabled.
// A null factory unregisters.
void zarejestrujOkno(OknoProgramu okno, FabrykaOkna fabryka);
bool oknoZarejestrowane(OknoProgramu okno);

// The register windows' entry point for PokazRejestrGruntow/PokazRejestrLokali.
class OknoRejestru {
public:
    virtual ~OknoRejestru() = default;
    virtual void PokazJr(double idJr) = 0;
};

// The extract data module comes from the reports layer, above this one: its module installs
// the function that creates WypisyDM (and stores the global) before UtworzFormularze runs.
void ustawTworzenieWypisyDM(std::function<void()> utworz);
// Sets the application title and creates MainFrm, UstawieniaFrm, WypisyDM and AboutFrm in
// this order.
void UtworzFormularze();
// Deletes what UtworzFormularze created (the main window and the About box).
void ZwolnijFormularze();

class TMainFrm : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: the folder of the program and its Katarix.ini (empty: the running program's).
    explicit TMainFrm(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~TMainFrm() override;

    // Database session.
    bool SprawdzPolaczenie();
    void PolaczZBaza();
    bool ZamknijBaze();
    bool WybierzPlikBazy();
    bool SprawdzAtrybutBazy();
    QString TekstKomentarza(double mslink);
    // Start-up, once SciezkaBazy is known: a copy of the register that is missing or older
    // than the file is loaded in the background (StanBazy.cpp).
    void OdswiezKopieWTle();
    // Panel 1 of the status bar: "Wczytywanie bazy: N%" while the register loads (percent given),
    // else "Baza gotowa" when its copy is current or it is open, "Baza niewczytana" otherwise.
    void PokazStanBazy(int procent = -1);
    jet::Database &baza() { return Baza; }
    bool polaczono() const { return Baza.isOpen(); }

    // Reports: the runner of app/RaportRunner.h with the settings dialog's current values.
    int UruchomRaport(rtf::TRTFReport &raport, const QString &szablon);
    QString WolnaNazwaWyniku(const QString &wzorzec);
    void OtworzWEdytorze(const QString &edytor, const QString &plik);
    rtf::TRTFReport Rtf1; // the report component every report module fills

    void PokazRejestrGruntow(double idJr);
    void PokazRejestrLokali(double idJr);

    // The open instance of a window, nullptr while it does not exist.
    QWidget *okno(OknoProgramu okno) const;
    // Called by zarejestrujOkno: enables the commands of registered windows.
    void OdswiezPolecenia();

    // Event handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void WybierzDbTBtnClick();
    void UstawieniaBtnClick();
    void ZakonczMiClick();
    void KarDzTBtnClick();
    void KarOsTBtnClick();
    void RejGruntTBtnClick();
    void RejLokTBtnClick();
    void SpisWladMiClick();
    void PasekNarzedziMiClick();
    void KaskadaMiClick(int tag);
    void PodrecznikMiClick();
    void AboutMiClick();

    KatalogiProgramu Katalogi; // the program's folders, by its layout (a tree or an installation)
    QString KatalogGlowny; // Katalogi.katalogGlowny: the tree's root or the installed data folder, ending in "/"
    QString PlikIni;       // full path of Katarix.ini
    QString SciezkaBazy;   // the register file; empty when none was chosen
    QString HasloBazy;     // the password of the opening under way; never stored
    jet::Query *TempQry = nullptr; // scratch query on Baza lent to every window
    // Where openings keep their cache and find the loader; the password is asked per opening.
    jet::OpenOptions OpcjeOtwarcia;
    // Register files at least this large show a progress dialog while loading.
    qint64 ProgPaskaPostepu = 8 * 1024 * 1024;

    // Components.
    QMdiArea *MdiArea = nullptr;
    QToolBar *MainTlb = nullptr;
    QStatusBar *StatBar = nullptr;
    std::array<QLabel *, 3> StatPanele{};
    QMenu *SystemMi = nullptr, *DaneMi = nullptr, *RaportyMi = nullptr, *OknaMi = nullptr, *PomocMi = nullptr;
    QAction *WybierzDbMi = nullptr, *UstawieniaMi = nullptr, *ZakonczMi = nullptr;
    QAction *KartotekaDzialekMi = nullptr, *KartotekaOsobMi = nullptr, *RejestrGruntMi = nullptr,
            *Rejestrlokali1 = nullptr;
    QAction *SpisWladMi = nullptr;
    QAction *PasekNarzedziMi = nullptr, *KaskadaMi = nullptr, *OknoPoziomoMi = nullptr, *OknoPionowoMi = nullptr;
    QAction *PodrecznikMi = nullptr, *AboutMi = nullptr;
    QAction *WybierzDbTBtn = nullptr, *KarOsTBtn = nullptr, *KarDzTBtn = nullptr, *RejGruntTBtn = nullptr,
            *RejLokTBtn = nullptr, *UstawieniaBtn = nullptr;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void utworzKomponenty();
    QAction *przyciskPaska(const QString &iconName, const QString &hint, void (TMainFrm::*handler)());
    void otworzOkno(OknoProgramu okno);
    QWidget *utworzOkno(OknoProgramu okno);
    // The open instance brought to the front, or a new one; nullptr when none can be made.
    QWidget *pokazOkno(OknoProgramu okno);
    void pokazRejestr(OknoProgramu okno, double idJr);
    void rozmiescOkna(Qt::Orientation orientation);
    void wypelnijMenuOkien();
    // Session (Session.cpp, StanBazy.cpp).
    jet::OpenOptions opcjeWczytywania();
    void czekajNaWczytanie(const std::function<void()> &czekaj);
    void zatrzymajWczytywanieInnejBazy();

    QString m_programFolder;
    std::unique_ptr<jet::RegisterPreload> m_wczytywanieWTle; // the background load of SciezkaBazy
    QProgressDialog *m_postepWczytywania = nullptr;           // while a load is waited for
    jet::Database Baza;
    std::array<QPointer<QWidget>, LiczbaOkienProgramu> m_okna;
    QList<QAction *> m_oknaOtwarte;
    bool m_pokazany = false;
};

extern TMainFrm *MainFrm;

// The given register, or the main window's connection when none is given (windows take a
// database of their own in tests).
jet::Database *bazaProgramu(jet::Database *database);
// The configuration file of the program (empty without a main window).
QString plikIni();
extern TAboutFrm *AboutFrm;

} // namespace katarix::app
