#include "app/MainFrm.h"

#include "app/AboutFrm.h"
#include "app/AppError.h"
#include "app/IniFile.h"
#include "app/KaskadaOkien.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/PodrecznikFrm.h"
#include "app/Podpowiedzi.h"
#include "app/UstawieniaFrm.h"
#include "app/WersjaProgramu.h"
#include "app/WierszPolecen.h"
#include "jet/Query.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>

static void zaladujIkony()
{
    Q_INIT_RESOURCE(icons);
}

namespace katarix::app {

TMainFrm *MainFrm = nullptr;

namespace {

constexpr OknoProgramu WszystkieOkna[] = {OknoProgramu::KartotekaDzialek, OknoProgramu::KartotekaOsob,
                                          OknoProgramu::RejestrGruntow, OknoProgramu::RejestrLokali,
                                          OknoProgramu::SpisWladajacych};

} // namespace

TMainFrm::TMainFrm(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent)
    , m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder)
{
    zaladujIkony();
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("Przeglądarka danych Katarix"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/katarix.svg")));
    resize(616, 375 + 60);
    TempQry = new jet::Query(this);
    TempQry->setObjectName(QStringLiteral("TempQry"));
    TempQry->setDatabase(&Baza);
    utworzObszarOkien();
    utworzPolecenia();
    utworzMenu();
    utworzPasekNarzedzi();
    utworzPasekStanu();
    OdswiezPolecenia();
    FormCreate();
}

TMainFrm::~TMainFrm()
{
    // The windows go first, while what they use of this window still exists.
    for (OknoProgramu which : WszystkieOkna)
        delete okno(which);
    if (MainFrm == this)
        MainFrm = nullptr;
}

// ---- construction ----

void TMainFrm::utworzObszarOkien()
{
    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setBackground(palette().color(QPalette::Dark));
    setCentralWidget(MdiArea);
}

QAction *TMainFrm::polecenie(const char *name, const QString &caption, void (TMainFrm::*handler)(),
                             const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction *TMainFrm::przyciskPaska(const char *name, const QString &iconName, const QString &hint,
                                 void (TMainFrm::*handler)())
{
    auto *action = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)), KrotkaPodpowiedz(hint), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(KrotkaPodpowiedz(hint));
    action->setStatusTip(DlugaPodpowiedz(hint));
    action->setProperty("hint", hint);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

// The menu items and the toolbar buttons, each with its handler.
void TMainFrm::utworzPolecenia()
{
    WybierzDbMi = polecenie("WybierzDbMi", QStringLiteral("&Wybierz bazę danych"), &TMainFrm::WybierzDbTBtnClick);
    UstawieniaMi = polecenie("UstawieniaMi", QStringLiteral("&Ustawienia"), &TMainFrm::UstawieniaBtnClick);
    ZakonczMi = polecenie("ZakonczMi", QStringLiteral("&Zakończ"), &TMainFrm::ZakonczMiClick);
    KartotekaDzialekMi = polecenie("KartotekaDzialekMi", QStringLiteral("Kartoteka &działek"), &TMainFrm::KarDzTBtnClick,
                                   QKeySequence(Qt::Key_F5));
    KartotekaOsobMi = polecenie("KartotekaOsobMi", QStringLiteral("Kartoteka &osób"), &TMainFrm::KarOsTBtnClick,
                                QKeySequence(Qt::Key_F6));
    RejestrGruntMi = polecenie("RejestrGruntMi", QStringLiteral("Rejestr &gruntów"), &TMainFrm::RejGruntTBtnClick,
                               QKeySequence(Qt::Key_F7));
    Rejestrlokali1 = polecenie("Rejestrlokali1", QStringLiteral("Rejestr &lokali"), &TMainFrm::RejLokTBtnClick,
                               QKeySequence(Qt::Key_F8));
    SpisWladMi = polecenie("SpisWladMi", QStringLiteral("&Alfabetyczny spis władających"), &TMainFrm::SpisWladMiClick);

    PasekNarzedziMi = new QAction(QStringLiteral("&Pasek narzędzi"), this);
    PasekNarzedziMi->setObjectName(QStringLiteral("PasekNarzedziMi"));
    PasekNarzedziMi->setCheckable(true);
    PasekNarzedziMi->setChecked(true);
    connect(PasekNarzedziMi, &QAction::triggered, this, [this] {
        // Qt has already toggled the mark; the handler inverts it itself.
        PasekNarzedziMi->setChecked(!PasekNarzedziMi->isChecked());
        PasekNarzedziMiClick();
    });
    const std::pair<QAction **, std::pair<const char *, RozmieszczenieOkien>> uklady[] = {
        {&KaskadaMi, {"KaskadaMi", RozmieszczenieOkien::Kaskada}},
        {&OknoPoziomoMi, {"OknoPoziomoMi", RozmieszczenieOkien::Poziomo}},
        {&OknoPionowoMi, {"OknoPionowoMi", RozmieszczenieOkien::Pionowo}},
    };
    const QString podpisy[] = {QStringLiteral("&Kaskada"), QStringLiteral("Rozmieść p&oziomo"),
                               QStringLiteral("Rozmieść pio&nowo")};
    for (size_t i = 0; i < std::size(uklady); ++i) {
        auto *action = new QAction(podpisy[i], this);
        action->setObjectName(QString::fromLatin1(uklady[i].second.first));
        action->setData(int(uklady[i].second.second));
        connect(action, &QAction::triggered, this,
                [this, action] { KaskadaMiClick(RozmieszczenieOkien(action->data().toInt())); });
        *uklady[i].first = action;
    }
    PodrecznikMi = polecenie("PodrecznikMi", QStringLiteral("&Podręcznik użytkownika"), &TMainFrm::PodrecznikMiClick,
                             QKeySequence(Qt::Key_F1));
    AboutMi = polecenie("AboutMi", QStringLiteral("&O programie..."), &TMainFrm::AboutMiClick);

    WybierzDbTBtn = przyciskPaska("WybierzDbTBtn", QStringLiteral("baza"),
                                  QStringLiteral("Wybierz bazę danych|Pozwala na wybór innej bazy danych (*.mdb)"),
                                  &TMainFrm::WybierzDbTBtnClick);
    KarOsTBtn = przyciskPaska("KarOsTBtn", QStringLiteral("osoby"),
                              QStringLiteral("Kartoteka osób|Otwiera okno kartoteki osób"), &TMainFrm::KarOsTBtnClick);
    KarDzTBtn = przyciskPaska("KarDzTBtn", QStringLiteral("dzialki"),
                              QStringLiteral("Kartoteka działek|Otwiera okno kartoteki działek"),
                              &TMainFrm::KarDzTBtnClick);
    RejGruntTBtn = przyciskPaska("RejGruntTBtn", QStringLiteral("grunty"),
                                 QStringLiteral("Rejestr gruntów|Otwiera okno rejestru gruntów"),
                                 &TMainFrm::RejGruntTBtnClick);
    RejLokTBtn = przyciskPaska("RejLokTBtn", QStringLiteral("lokale"),
                               QStringLiteral("Rejestr lokali|Otwiera okno rejestru lokali"), &TMainFrm::RejLokTBtnClick);
    UstawieniaBtn = przyciskPaska("UstawieniaBtn", QStringLiteral("ustawienia"),
                                  QStringLiteral("Ustawienia|Otwiera okno ustawień"), &TMainFrm::UstawieniaBtnClick);
}

void TMainFrm::utworzMenu()
{
    const auto menu = [this](const char *name, const QString &title, const QList<QAction *> &items) {
        QMenu *m = menuBar()->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        for (QAction *item : items) {
            if (item)
                m->addAction(item);
            else
                m->addSeparator();
        }
        return m;
    };
    SystemMi = menu("SystemMi", QStringLiteral("&System"), {WybierzDbMi, UstawieniaMi, nullptr, ZakonczMi});
    DaneMi = menu("DaneMi", QStringLiteral("&Dane"), {KartotekaDzialekMi, KartotekaOsobMi, nullptr, RejestrGruntMi, Rejestrlokali1});
    RaportyMi = menu("RaportyMi", QStringLiteral("&Raporty"), {SpisWladMi});
    OknaMi = menu("OknaMi", QStringLiteral("&Okna"), {PasekNarzedziMi, nullptr, KaskadaMi, OknoPoziomoMi, OknoPionowoMi});
    connect(OknaMi, &QMenu::aboutToShow, this, &TMainFrm::wypelnijMenuOkien);
    PomocMi = menu("PomocMi", QStringLiteral("&Pomoc"), {PodrecznikMi, AboutMi});
}

void TMainFrm::utworzPasekNarzedzi()
{
    MainTlb = new QToolBar(QStringLiteral("Pasek narzędzi"), this);
    MainTlb->setObjectName(QStringLiteral("MainTlb"));
    MainTlb->setMovable(true);
    MainTlb->setFloatable(false);
    MainTlb->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    MainTlb->setIconSize(QSize(20, 20));
    MainTlb->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, MainTlb);
    MainTlb->addAction(WybierzDbTBtn);
    MainTlb->addSeparator();
    MainTlb->addAction(KarOsTBtn);
    MainTlb->addAction(KarDzTBtn);
    MainTlb->addSeparator();
    MainTlb->addAction(RejGruntTBtn);
    MainTlb->addAction(RejLokTBtn);
    MainTlb->addSeparator();
    MainTlb->addAction(UstawieniaBtn);
}

// Three panels: the long part of the hint under the mouse, then two for the program's state.
void TMainFrm::utworzPasekStanu()
{
    StatBar = statusBar();
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setSizeGripEnabled(true);
    const std::array<int, 3> widths{500, 120, 200};
    for (size_t i = 0; i < StatPanele.size(); ++i) {
        auto *panel = new QLabel(StatBar);
        panel->setObjectName(QStringLiteral("StatPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(widths[i]);
        if (i == 1)
            panel->setAlignment(Qt::AlignCenter);
        StatBar->addWidget(panel);
        StatPanele[i] = panel;
    }
}

void TMainFrm::OdswiezPolecenia()
{
    const std::array<std::pair<OknoProgramu, std::array<QAction *, 2>>, 5> commands{{
        {OknoProgramu::KartotekaDzialek, {KartotekaDzialekMi, KarDzTBtn}},
        {OknoProgramu::KartotekaOsob, {KartotekaOsobMi, KarOsTBtn}},
        {OknoProgramu::RejestrGruntow, {RejestrGruntMi, RejGruntTBtn}},
        {OknoProgramu::RejestrLokali, {Rejestrlokali1, RejLokTBtn}},
        {OknoProgramu::SpisWladajacych, {SpisWladMi, nullptr}},
    }};
    for (const auto &[window, actions] : commands)
        for (QAction *action : actions)
            if (action)
                action->setEnabled(oknoZarejestrowane(window));
}

// ---- start, show, close ----

void TMainFrm::FormCreate()
{
    try {
        Katalogi = przygotujKatalogi(m_programFolder, KatalogiUzytkownika::biezace());
        KatalogGlowny = Katalogi.katalogGlowny;
        PlikIni = Katalogi.plikIni;
        const QString version = WersjaProgramu();
        setWindowTitle(QStringLiteral("Przeglądarka danych Katarix ") + version);
        UstawTytulAplikacji(QStringLiteral("Katarix ") + version);
        SciezkaBazy = IniFile(PlikIni).ReadString(QStringLiteral("Baza"), QStringLiteral("Path"), QString());
        // A register given on the command line is this run's choice, as if chosen in the dialog.
        if (const QString podana = rejestrZWierszaPolecen(QCoreApplication::arguments()); !podana.isEmpty())
            SciezkaBazy = podana;
        ZamknijBaze();
    } catch (const std::exception &error) {
        Komunikat(komunikatWyjatku(error), QStringLiteral("Błąd podczas tworzenia głównego formularza"),
                  mb::IconError, false);
    }
}

void TMainFrm::FormShow()
{
    const QSize screen = interaction().screenSize();
    if (screen.height() >= 600)
        return;
    Komunikat(QStringLiteral("UWAGA: Jest ustawiona bardzo niska rozdzielczość ekranu (%1x%2).\n"
                             "Niektóre formularze mogą nie być w całości widoczne.\n"
                             "Zaleca się ustawienie rozdzielczości przynajmniej na 800x600.")
                  .arg(screen.width())
                  .arg(screen.height()),
              QString(), mb::IconWarning, false);
}

void TMainFrm::FormClose()
{
    IniFile(PlikIni).WriteString(QStringLiteral("Baza"), QStringLiteral("Path"), SciezkaBazy);
}

bool TMainFrm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        StatPanele[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_pokazany && !event->spontaneous()) {
        m_pokazany = true;
        FormShow();
    }
}

void TMainFrm::closeEvent(QCloseEvent *event)
{
    try {
        FormClose();
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    }
    m_wczytywanieWTle.reset(); // a background load ends with the program, leaving nothing behind
    for (OknoProgramu which : WszystkieOkna)
        if (QWidget *window = okno(which))
            window->close();
    event->accept();
}

// ---- commands ----

void TMainFrm::UstawieniaBtnClick()
{
    if (UstawieniaFrm)
        UstawieniaFrm->exec();
}

void TMainFrm::ZakonczMiClick()
{
    close();
}

void TMainFrm::PodrecznikMiClick()
{
    PokazPodrecznik(this, KatalogGlowny);
}

void TMainFrm::AboutMiClick()
{
    if (AboutFrm)
        AboutFrm->exec();
}

void TMainFrm::KarDzTBtnClick()
{
    otworzOkno(OknoProgramu::KartotekaDzialek);
}

void TMainFrm::KarOsTBtnClick()
{
    otworzOkno(OknoProgramu::KartotekaOsob);
}

void TMainFrm::RejGruntTBtnClick()
{
    otworzOkno(OknoProgramu::RejestrGruntow);
}

void TMainFrm::RejLokTBtnClick()
{
    otworzOkno(OknoProgramu::RejestrLokali);
}

void TMainFrm::SpisWladMiClick()
{
    if (!SprawdzPolaczenie())
        return;
    QWidget *dialog = okno(OknoProgramu::SpisWladajacych);
    if (!dialog)
        dialog = umiescOkno(OknoProgramu::SpisWladajacych);
    if (!dialog)
        return;
    if (auto *modal = qobject_cast<QDialog *>(dialog)) {
        modal->exec();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
}

// ---- child windows ----

QWidget *TMainFrm::umiescOkno(OknoProgramu which)
{
    QWidget *window = utworzOkno(which);
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (which != OknoProgramu::SpisWladajacych) {
        // The frame takes the size the window asked for (its own resize, else its size hint).
        const QSize wanted = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
        QMdiSubWindow *sub = MdiArea->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(window->windowIcon().isNull() ? windowIcon() : window->windowIcon());
        if (wanted.isValid()) {
            const QMargins frame = sub->contentsMargins();
            const int titleHeight = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
            sub->resize(wanted.width() + frame.left() + frame.right(),
                        wanted.height() + frame.top() + frame.bottom() + titleHeight);
        }
    } else {
        window->setParent(this, window->windowFlags() | Qt::Dialog);
    }
    return window;
}

void TMainFrm::otworzOkno(OknoProgramu which)
{
    if (SprawdzPolaczenie())
        pokazOkno(which);
}

QWidget *TMainFrm::pokazOkno(OknoProgramu which)
{
    QWidget *window = okno(which);
    if (!window)
        window = umiescOkno(which);
    if (!window)
        return nullptr;
    auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    window->show();
    if (sub) {
        sub->show();
        sub->showNormal();
        MdiArea->setActiveSubWindow(sub);
    }
    return window;
}

void TMainFrm::pokazRejestr(OknoProgramu which, double idJr)
{
    const KursorKlepsydry kursor;
    QWidget *window = pokazOkno(which);
    if (window && idJr > 0)
        if (auto *registerWindow = dynamic_cast<OknoRejestru *>(window))
            registerWindow->PokazJr(idJr);
}

void TMainFrm::PokazRejestrGruntow(double idJr)
{
    pokazRejestr(OknoProgramu::RejestrGruntow, idJr);
}

void TMainFrm::PokazRejestrLokali(double idJr)
{
    pokazRejestr(OknoProgramu::RejestrLokali, idJr);
}

// ---- the "Okna" menu ----

void TMainFrm::PasekNarzedziMiClick()
{
    PasekNarzedziMi->setChecked(!PasekNarzedziMi->isChecked());
    MainTlb->setVisible(PasekNarzedziMi->isChecked());
}

void TMainFrm::KaskadaMiClick(RozmieszczenieOkien rozmieszczenie)
{
    switch (rozmieszczenie) {
    case RozmieszczenieOkien::Kaskada: KaskadaOkien(*MdiArea); break;
    case RozmieszczenieOkien::Poziomo: rozmiescOkna(Qt::Horizontal); break;
    case RozmieszczenieOkien::Pionowo: rozmiescOkna(Qt::Vertical); break;
    default: break; // a tag of no arrangement does nothing
    }
}

// Horizontal tiling stacks the windows one above another, vertical puts them side by side;
// minimised windows keep their place.
void TMainFrm::rozmiescOkna(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : MdiArea->subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    if (windows.isEmpty())
        return;
    const QRect area = MdiArea->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *sub = windows.at(i);
        if (sub->isMaximized())
            sub->showNormal();
        QRect place;
        if (orientation == Qt::Horizontal) {
            const int top = area.height() * i / count;
            place = QRect(0, top, area.width(), area.height() * (i + 1) / count - top);
        } else {
            const int left = area.width() * i / count;
            place = QRect(left, 0, area.width() * (i + 1) / count - left, area.height());
        }
        sub->setGeometry(place);
    }
}

void TMainFrm::wypelnijMenuOkien()
{
    qDeleteAll(m_oknaOtwarte);
    m_oknaOtwarte.clear();
    const QList<QMdiSubWindow *> windows = MdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_oknaOtwarte << OknaMi->addSeparator();
    int number = 1;
    for (QMdiSubWindow *sub : windows) {
        QAction *action = OknaMi->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        action->setCheckable(true);
        action->setChecked(sub == MdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (!sub)
                return;
            if (sub->isMinimized())
                sub->showNormal();
            MdiArea->setActiveSubWindow(sub);
        });
        m_oknaOtwarte << action;
    }
}

} // namespace katarix::app
