#include "app/MainFrm.h"

#include "app/AboutFrm.h"
#include "app/IniFile.h"
#include "app/KaskadaOkien.h"
#include "app/KursorKlepsydry.h"
#include "app/PodrecznikFrm.h"
#include "app/UstawieniaFrm.h"
#include "app/WierszPolecen.h"
#include "jet/ErrorText.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
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

jet::Database *bazaProgramu(jet::Database *database)
{
    if (database)
        return database;
    return MainFrm ? &MainFrm->baza() : nullptr;
}

QString plikIni()
{
    return MainFrm ? MainFrm->PlikIni : QString();
}
TAboutFrm *AboutFrm = nullptr;

namespace {

QString &tytul()
{
    static QString title = QStringLiteral("Katarix");
    return title;
}

std::array<FabrykaOkna, LiczbaOkienProgramu> &fabryki()
{
    static std::array<FabrykaOkna, LiczbaOkienProgramu> factories;
    return factories;
}

std::function<QString()> &zrodloWersji()
{
    static std::function<QString()> source;
    return source;
}

std::function<void()> &tworzenieWypisow()
{
    static std::function<void()> hook;
    return hook;
}

QWidget *wlascicielOkien()
{
    if (MainFrm)
        return MainFrm;
    return QApplication::activeWindow();
}

} // namespace

QString komunikatWyjatku(const std::exception &error)
{
    return jet::errorText(error);
}

QString TytulAplikacji()
{
    return tytul();
}

void UstawTytulAplikacji(const QString &title)
{
    tytul() = title;
}

QString WersjaProgramu()
{
    if (zrodloWersji())
        return zrodloWersji()();
#ifdef KATARIX_VERSION
    return QStringLiteral(KATARIX_VERSION);
#else
    return QString();
#endif
}

int Komunikat(const QString &tekst, const QString &tytulOkna, int flagi, bool sygnal)
{
    if (sygnal)
        interaction().beep();
    return interaction().messageBox(wlascicielOkien(), tekst, tytulOkna.isEmpty() ? TytulAplikacji() : tytulOkna,
                                    flagi);
}

void PokazWyjatek(const QString &message)
{
    interaction().messageBox(wlascicielOkien(), message, TytulAplikacji(), mb::IconError);
}

void PokazWyjatek(const std::exception &error)
{
    PokazWyjatek(komunikatWyjatku(error));
}

QString KrotkaPodpowiedz(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString DlugaPodpowiedz(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    } catch (...) {
        PokazWyjatek(jet::unknownErrorText());
    }
    return false;
}

void UstawUstawieniaRegionalne()
{
    QLocale::setDefault(QLocale::system());
    jet::useSystemDecimalSeparator();
}

void UstawCzcionkeProgramu()
{
    QFont font = QApplication::font();
    const QStringList families = QFontDatabase::families();
    QStringList chosen;
    for (const char *name : {"Tahoma", "DejaVu Sans", "Liberation Sans", "Noto Sans"})
        if (families.contains(QString::fromLatin1(name), Qt::CaseInsensitive))
            chosen << QString::fromLatin1(name);
    if (!chosen.isEmpty())
        font.setFamilies(chosen);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

void zarejestrujOkno(OknoProgramu okno, FabrykaOkna fabryka)
{
    fabryki()[size_t(okno)] = std::move(fabryka);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *mainWindow = qobject_cast<TMainFrm *>(window))
            mainWindow->OdswiezPolecenia();
}

bool oknoZarejestrowane(OknoProgramu okno)
{
    return bool(fabryki()[size_t(okno)]);
}

void ustawZrodloWersji(std::function<QString()> zrodlo)
{
    zrodloWersji() = std::move(zrodlo);
}

void ustawTworzenieWypisyDM(std::function<void()> utworz)
{
    tworzenieWypisow() = std::move(utworz);
}

void UtworzFormularze()
{
    UstawTytulAplikacji(QStringLiteral("Katarix"));
    MainFrm = new TMainFrm;
    UstawieniaFrm = new TUstawieniaFrm(MainFrm->PlikIni, MainFrm->Katalogi, MainFrm);
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
}

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
    utworzKomponenty();
    FormCreate();
}

TMainFrm::~TMainFrm()
{
    for (QPointer<QWidget> &window : m_okna)
        delete window.data();
    if (MainFrm == this)
        MainFrm = nullptr;
}

QAction *TMainFrm::przyciskPaska(const QString &iconName, const QString &hint, void (TMainFrm::*handler)())
{
    auto *action = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName)), KrotkaPodpowiedz(hint), this);
    action->setToolTip(KrotkaPodpowiedz(hint));
    action->setStatusTip(DlugaPodpowiedz(hint));
    action->setProperty("hint", hint);
    connect(action, &QAction::triggered, this, handler);
    MainTlb->addAction(action);
    return action;
}

void TMainFrm::utworzKomponenty()
{
    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setBackground(palette().color(QPalette::Dark));
    setCentralWidget(MdiArea);

    auto menuItem = [this](QMenu *menu, const char *name, const QString &caption, void (TMainFrm::*handler)(),
                           const QKeySequence &shortcut = QKeySequence()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    SystemMi = menuBar()->addMenu(QStringLiteral("&System"));
    WybierzDbMi = menuItem(SystemMi, "WybierzDbMi", QStringLiteral("&Wybierz bazę danych"), &TMainFrm::WybierzDbTBtnClick);
    UstawieniaMi = menuItem(SystemMi, "UstawieniaMi", QStringLiteral("&Ustawienia"), &TMainFrm::UstawieniaBtnClick);
    SystemMi->addSeparator();
    ZakonczMi = menuItem(SystemMi, "ZakonczMi", QStringLiteral("&Zakończ"), &TMainFrm::ZakonczMiClick);

    DaneMi = menuBar()->addMenu(QStringLiteral("&Dane"));
    KartotekaDzialekMi = menuItem(DaneMi, "KartotekaDzialekMi", QStringLiteral("Kartoteka &działek"),
                                  &TMainFrm::KarDzTBtnClick, QKeySequence(Qt::Key_F5));
    KartotekaOsobMi = menuItem(DaneMi, "KartotekaOsobMi", QStringLiteral("Kartoteka &osób"), &TMainFrm::KarOsTBtnClick,
                               QKeySequence(Qt::Key_F6));
    DaneMi->addSeparator();
    RejestrGruntMi = menuItem(DaneMi, "RejestrGruntMi", QStringLiteral("Rejestr &gruntów"),
                              &TMainFrm::RejGruntTBtnClick, QKeySequence(Qt::Key_F7));
    Rejestrlokali1 = menuItem(DaneMi, "Rejestrlokali1", QStringLiteral("Rejestr &lokali"), &TMainFrm::RejLokTBtnClick,
                              QKeySequence(Qt::Key_F8));

    RaportyMi = menuBar()->addMenu(QStringLiteral("&Raporty"));
    SpisWladMi = menuItem(RaportyMi, "SpisWladMi", QStringLiteral("&Alfabetyczny spis władających"),
                          &TMainFrm::SpisWladMiClick);

    OknaMi = menuBar()->addMenu(QStringLiteral("&Okna"));
    PasekNarzedziMi = OknaMi->addAction(QStringLiteral("&Pasek narzędzi"));
    PasekNarzedziMi->setObjectName(QStringLiteral("PasekNarzedziMi"));
    PasekNarzedziMi->setCheckable(true);
    PasekNarzedziMi->setChecked(true);
    connect(PasekNarzedziMi, &QAction::triggered, this, [this] {
        // Qt has already toggled the mark; the handler inverts it itself.
        PasekNarzedziMi->setChecked(!PasekNarzedziMi->isChecked());
        PasekNarzedziMiClick();
    });
    OknaMi->addSeparator();
    KaskadaMi = OknaMi->addAction(QStringLiteral("&Kaskada"));
    OknoPoziomoMi = OknaMi->addAction(QStringLiteral("Rozmieść p&oziomo"));
    OknoPionowoMi = OknaMi->addAction(QStringLiteral("Rozmieść pio&nowo"));
    const std::array<std::pair<QAction *, int>, 3> tiles{
        {{KaskadaMi, 1}, {OknoPoziomoMi, 2}, {OknoPionowoMi, 3}}};
    for (const auto &[action, tag] : tiles) {
        action->setData(tag);
        connect(action, &QAction::triggered, this, [this, action = action] { KaskadaMiClick(action->data().toInt()); });
    }
    KaskadaMi->setObjectName(QStringLiteral("KaskadaMi"));
    OknoPoziomoMi->setObjectName(QStringLiteral("OknoPoziomoMi"));
    OknoPionowoMi->setObjectName(QStringLiteral("OknoPionowoMi"));
    connect(OknaMi, &QMenu::aboutToShow, this, &TMainFrm::wypelnijMenuOkien);

    PomocMi = menuBar()->addMenu(QStringLiteral("&Pomoc"));
    PodrecznikMi = menuItem(PomocMi, "PodrecznikMi", QStringLiteral("&Podręcznik użytkownika"),
                            &TMainFrm::PodrecznikMiClick, QKeySequence(Qt::Key_F1));
    AboutMi = menuItem(PomocMi, "AboutMi", QStringLiteral("&O programie..."), &TMainFrm::AboutMiClick);

    MainTlb = new QToolBar(QStringLiteral("Pasek narzędzi"), this);
    MainTlb->setObjectName(QStringLiteral("MainTlb"));
    MainTlb->setMovable(true);
    MainTlb->setFloatable(false);
    MainTlb->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    MainTlb->setIconSize(QSize(20, 20));
    MainTlb->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, MainTlb);
    WybierzDbTBtn = przyciskPaska(QStringLiteral("baza"),
                                  QStringLiteral("Wybierz bazę danych|Pozwala na wybór innej bazy danych (*.mdb)"),
                                  &TMainFrm::WybierzDbTBtnClick);
    MainTlb->addSeparator();
    KarOsTBtn = przyciskPaska(QStringLiteral("osoby"), QStringLiteral("Kartoteka osób|Otwiera okno kartoteki osób"),
                              &TMainFrm::KarOsTBtnClick);
    KarDzTBtn = przyciskPaska(QStringLiteral("dzialki"),
                              QStringLiteral("Kartoteka działek|Otwiera okno kartoteki działek"),
                              &TMainFrm::KarDzTBtnClick);
    MainTlb->addSeparator();
    RejGruntTBtn = przyciskPaska(QStringLiteral("grunty"),
                                 QStringLiteral("Rejestr gruntów|Otwiera okno rejestru gruntów"),
                                 &TMainFrm::RejGruntTBtnClick);
    RejLokTBtn = przyciskPaska(QStringLiteral("lokale"), QStringLiteral("Rejestr lokali|Otwiera okno rejestru lokali"),
                               &TMainFrm::RejLokTBtnClick);
    MainTlb->addSeparator();
    UstawieniaBtn = przyciskPaska(QStringLiteral("ustawienia"), QStringLiteral("Ustawienia|Otwiera okno ustawień"),
                                  &TMainFrm::UstawieniaBtnClick);
    WybierzDbTBtn->setObjectName(QStringLiteral("WybierzDbTBtn"));
    KarOsTBtn->setObjectName(QStringLiteral("KarOsTBtn"));
    KarDzTBtn->setObjectName(QStringLiteral("KarDzTBtn"));
    RejGruntTBtn->setObjectName(QStringLiteral("RejGruntTBtn"));
    RejLokTBtn->setObjectName(QStringLiteral("RejLokTBtn"));
    UstawieniaBtn->setObjectName(QStringLiteral("UstawieniaBtn"));

    StatBar = statusBar();
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setSizeGripEnabled(true);
    const std::array<int, 3> widths{500, 120, 200};
    for (size_t i = 0; i < StatPanele.size(); ++i) {
        auto *panel = new QLabel(StatBar);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(widths[i]);
        if (i == 1)
            panel->setAlignment(Qt::AlignCenter);
        StatBar->addWidget(panel);
        StatPanele[i] = panel;
    }
    OdswiezPolecenia();
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
    for (QPointer<QWidget> &window : m_okna)
        if (window)
            window->close();
    event->accept();
}

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
        dialog = utworzOkno(OknoProgramu::SpisWladajacych);
    if (!dialog)
        return;
    if (auto *modal = qobject_cast<QDialog *>(dialog)) {
        modal->exec();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
}

QWidget *TMainFrm::okno(OknoProgramu which) const
{
    return m_okna[size_t(which)].data();
}

QWidget *TMainFrm::utworzOkno(OknoProgramu which)
{
    const FabrykaOkna &factory = fabryki()[size_t(which)];
    if (!factory)
        return nullptr;
    QWidget *window = factory();
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
    m_okna[size_t(which)] = window;
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
        window = utworzOkno(which);
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

void TMainFrm::PasekNarzedziMiClick()
{
    PasekNarzedziMi->setChecked(!PasekNarzedziMi->isChecked());
    MainTlb->setVisible(PasekNarzedziMi->isChecked());
}

void TMainFrm::KaskadaMiClick(int tag)
{
    switch (tag) {
    case 1: KaskadaOkien(*MdiArea); break;
    case 2: rozmiescOkna(Qt::Horizontal); break;
    case 3: rozmiescOkna(Qt::Vertical); break;
    default: break;
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
