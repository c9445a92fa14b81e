#pragma once

#include "app/KatalogiProgramu.h"
#include "app/RejestrOkien.h"
#include "jet/Database.h"
#include "jet/RegisterLoader.h"
#include "rtf/RTFReport.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressDialog;
class QStatusBar;
class QToolBar;

namespace katarix::jet {
class Query;
}

namespace katarix::app {

// The arrangements of the "Okna" menu; the values are the items' tags.
enum class RozmieszczenieOkien { Kaskada = 1, Poziomo = 2, Pionowo = 3 };

// The main window: the MDI area with the windows of the registry (app/RejestrOkien.h), the menu,
// the toolbar and the status bar, and the database session the other windows share
// (Session.cpp). It is built in steps: the MDI area, the commands, the menus, the toolbar, the
// status bar. Its controls are its own; tests find them by object name.
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

    rtf::TRTFReport Rtf1; // the report component every report module fills

    // A register window brought up at a unit (idJr > 0), without checking the connection.
    void PokazRejestrGruntow(double idJr);
    void PokazRejestrLokali(double idJr);

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
    void KaskadaMiClick(RozmieszczenieOkien rozmieszczenie);
    void PodrecznikMiClick();
    void AboutMiClick();

    KatalogiProgramu Katalogi; // the program's folders, by its layout (a tree or an installation)
    QString KatalogGlowny; // Katalogi.katalogGlowny: the tree's root or the installed data folder, ending in "/"
    QString PlikIni;       // full path of Katarix.ini
    QString SciezkaBazy;   // the register file; empty when none was chosen
    QString HasloBazy;     // the password of the opening under way; never stored
    // Where openings keep their cache and find the loader; the password is asked per opening.
    jet::OpenOptions OpcjeOtwarcia;
    // Register files at least this large show a progress dialog while loading.
    qint64 ProgPaskaPostepu = 8 * 1024 * 1024;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend jet::Query *pozyczTempQry(jet::Database *baza, QObject *wlasciciel);

    void utworzObszarOkien();
    void utworzPolecenia();
    void utworzMenu();
    void utworzPasekNarzedzi();
    void utworzPasekStanu();
    QAction *polecenie(const char *name, const QString &caption, void (TMainFrm::*handler)(),
                       const QKeySequence &shortcut = QKeySequence());
    QAction *przyciskPaska(const char *name, const QString &iconName, const QString &hint,
                           void (TMainFrm::*handler)());

    void otworzOkno(OknoProgramu okno);
    // The window from the registry placed in the MDI area (or, for the list of holders, made a
    // dialog of this window); nullptr when none can be made.
    QWidget *umiescOkno(OknoProgramu okno);
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
    jet::Query *TempQry = nullptr; // lent through pozyczTempQry (app/Sesja.h)
    QList<QAction *> m_oknaOtwarte;
    bool m_pokazany = false;

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
};

// The main window of the run; null before start-up and after the end.
extern TMainFrm *MainFrm;

} // namespace katarix::app
