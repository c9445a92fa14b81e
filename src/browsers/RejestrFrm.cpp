#include "browsers/RejestrFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/ListHelpers.h"
#include "app/Podpowiedzi.h"
#include "app/Sesja.h"
#include "app/Ustawienia.h"
#include "browsers/ToolWindows.h"
#include "browsers/ZmianyFrm.h"
#include "jet/ControlsDisabled.h"
#include "jet/JetFunctions.h"
#include "jet/NumberText.h"
#include "jet/Query.h"
#include "register/sql/RgQueries.h"
#include "widgets/ListaRozwijana.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace katarix::browsers {

using widgets::DataGrid;
// The look-ups that do not depend on the register (communes, precincts, land books).
namespace sql = reg::sql::rg;

namespace {

QLabel *etykieta(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setContentsMargins(1, 4, 0, 0);
    return label;
}

void ustawKolorCzcionki(QLabel *label, bool czerwony)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, czerwony ? QColor(Qt::red) : QApplication::palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

// A comment marker with the hints "Komentarz do <czego>" and "Uwaga: Komentarz do <czego>".
KomentMarker *znacznik(ZnacznikKomentarza tag, const char *name, const char *imageName, const QString &czego, QWidget *parent)
{
    const QString hint = QStringLiteral("Komentarz do ") + czego;
    auto *marker = new KomentMarker(tag, hint, QStringLiteral("Uwaga: ") + hint, parent);
    marker->setObjectName(QString::fromLatin1(name));
    marker->Img->setObjectName(QString::fromLatin1(imageName));
    return marker;
}

QList<DataGrid::Column> kolumnyOsob(bool grupa)
{
    QList<DataGrid::Column> columns{
        {QStringLiteral("Kom"), QStringLiteral(" "), 12, Qt::AlignHCenter, true},
        {QStringLiteral("F_WLAD"), QStringLiteral("F.wład."), 40, Qt::AlignHCenter},
        {QStringLiteral("NAZWA"), QStringLiteral("Osoba"), 230, Qt::AlignLeft},
    };
    if (grupa) {
        columns << DataGrid::Column{QStringLiteral("UDZIAL"), QStringLiteral("Udział"), 75, Qt::AlignHCenter}
                << DataGrid::Column{QStringLiteral("GRUPA"), QStringLiteral("Grupa"), 35, Qt::AlignHCenter};
    } else {
        columns << DataGrid::Column{QStringLiteral("UDZIAL"), QStringLiteral("Udział"), 65, Qt::AlignLeft};
    }
    columns << DataGrid::Column{QStringLiteral("ADR"), QStringLiteral("Adres"), 170, Qt::AlignLeft}
            << DataGrid::Column{QStringLiteral("NIP2"), QStringLiteral("NIP"), 65, Qt::AlignLeft}
            << DataGrid::Column{QStringLiteral("PES_REG"), QStringLiteral("Pesel / Regon"), 70, Qt::AlignLeft}
            << DataGrid::Column{QStringLiteral("DATA_UPLYWU"), QStringLiteral("do dnia"), -1, Qt::AlignHCenter}
            << DataGrid::Column{QStringLiteral("uwagi"), QStringLiteral("Uwagi"), 300, Qt::AlignLeft};
    return columns;
}

} // namespace

QLabel *panelTekstowy(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

std::optional<QColor> kolorKomentarza(const DataGrid::CellParams &cell)
{
    if (cell.field.toUpper() == QLatin1String("KOM") && cell.text == QLatin1String("!"))
        return QColor(255, 0, 0);
    return std::nullopt;
}

std::optional<QColor> kolorKomentarzaLubZaznaczenia(const DataGrid::CellParams &cell)
{
    if (auto red = kolorKomentarza(cell))
        return red;
    if (cell.selected)
        return QApplication::palette().color(QPalette::Highlight);
    return std::nullopt;
}

// ---- comment marker ----

KomentMarker::KomentMarker(ZnacznikKomentarza tag, const QString &hint, const QString &imageHint, QWidget *parent)
    : QFrame(parent), m_tag(tag)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(22, 20);
    setToolTip(hint);
    setCursor(Qt::PointingHandCursor);
    Img = new QLabel(this);
    Img->setPixmap(ikonaZnaku(QStringLiteral("!"), QColor(220, 0, 0)).pixmap(14, 14));
    Img->setToolTip(imageHint);
    Img->setGeometry(4, 3, 14, 14);
    Img->installEventFilter(this);
    Img->hide();
}

void KomentMarker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(m_tag);
}

bool KomentMarker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Img && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit clicked(m_tag);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

// ---- window ----

TRejestrFrm::TRejestrFrm(const OpisRejestru &opis, QWidget *parent, jet::Database *database)
    : QMainWindow(parent), FrmStrg(this, opis.sekcja), m_opis(opis)
{
    m_baza = app::bazaProgramu(database);
    setObjectName(opis.nazwa);
    setWindowTitle(opis.tytul);
    setWindowIcon(QIcon(opis.ikona));
    setContextMenuPolicy(Qt::NoContextMenu);

    TempQry = app::pozyczTempQry(m_baza, this);

    utworzZapytania();
    resize(widgets::projektowe(m_opis.rozmiar));
    utworzPasekNarzedzi();
    utworzPanele();
    polaczNawigacje();
    FrmStrg.setIniFileName(app::plikIni());
    utworzPrzechowywanie();
    dodajSiatke(OsobyGrd, OsobyQry, QStringLiteral("Zmiany - osoba"), QStringLiteral("Komentarz - osoba"));
}

TRejestrFrm::~TRejestrFrm()
{
    if (!m_zamkniety && m_ukladWczytany)
        FrmStrg.saveOrReport();
}

jet::Query *TRejestrFrm::utworzZapytanie(const char *name, const char *text)
{
    auto *q = new jet::Query(this);
    q->setObjectName(QString::fromLatin1(name));
    q->setDatabase(m_baza);
    q->setSql(QString::fromUtf8(text));
    return q;
}

void TRejestrFrm::utworzZapytania()
{
    JrQry = utworzZapytanie("JrQry", m_opis.jrSql);
    JrQry->setParameter(QStringLiteral("ObrebID"), 0, jet::FieldType::Integer);
    OsobyQry = utworzZapytanie("OsobyQry", m_opis.osobySql);
    OsobyQry->setParameter(QStringLiteral("IdJr"), -1.0, jet::FieldType::Float);
    connect(OsobyQry, &jet::Dataset::afterOpen, this, &TRejestrFrm::OsobyQryAfterOpen);
    connect(OsobyQry, &jet::Dataset::afterScroll, this, &TRejestrFrm::OsobyQryAfterScroll);
}

// The bottom toolbar; its buttons come with the window's commands (przycisk).
void TRejestrFrm::utworzPasekNarzedzi()
{
    MainTlbr = new QToolBar(QStringLiteral("Narzędzia podstawowe"), this);
    MainTlbr->setObjectName(QStringLiteral("MainTlbr"));
    MainTlbr->setFloatable(false);
    MainTlbr->setMovable(true);
    MainTlbr->setAllowedAreas(Qt::AllToolBarAreas);
    MainTlbr->setToolButtonStyle(Qt::ToolButtonIconOnly);
    MainTlbr->setIconSize(QSize(16, 16));
    addToolBar(Qt::BottomToolBarArea, MainTlbr);
}

// The upper band (holders at the left, navigation at the right) over the lower part that the
// subclass fills with the unit's objects.
void TRejestrFrm::utworzPanele()
{
    auto *central = new QWidget(this);
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    RxSplitter1 = new QSplitter(Qt::Vertical, central);
    RxSplitter1->setObjectName(QStringLiteral("RxSplitter1"));
    RxSplitter1->setHandleWidth(3);
    RxSplitter1->setChildrenCollapsible(false);
    centralLayout->addWidget(RxSplitter1);
    setCentralWidget(central);

    // Upper band: holders at the left, navigation column at the right.
    Panel2 = new QWidget(RxSplitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setMinimumHeight(60);
    auto *panel2Layout = new QHBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    RxSplitter2 = new QSplitter(Qt::Horizontal, Panel2);
    RxSplitter2->setObjectName(QStringLiteral("RxSplitter2"));
    RxSplitter2->setHandleWidth(3);
    RxSplitter2->setChildrenCollapsible(false);
    panel2Layout->addWidget(RxSplitter2);
    utworzPanelOsob();
    utworzPanelNawigacji();
    RxSplitter2->addWidget(Panel4);
    RxSplitter2->addWidget(Panel3);
    RxSplitter2->setStretchFactor(0, 1);
    RxSplitter2->setStretchFactor(1, 0);
    RxSplitter2->setSizes({m_opis.rozmiar.width() - 120, 120});

    // Lower part: the subclass fills it with the unit's objects; the object comment marker is
    // placed by the subclass too.
    Panel5 = new QWidget(RxSplitter1);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setMinimumHeight(100);
    KomentDlkBudPnl = znacznik(ZnacznikKomentarza::Przedmiot, "KomentDlkBudPnl", "PrzedmiotImg", QStringLiteral("przedmiotu"), Panel5);
    PrzedmiotImg = KomentDlkBudPnl->Img;

    RxSplitter1->addWidget(Panel2);
    RxSplitter1->addWidget(Panel5);
    RxSplitter1->setStretchFactor(0, 0);
    RxSplitter1->setStretchFactor(1, 1);
    RxSplitter1->setSizes({182, m_opis.rozmiar.height() - 182});
}

// The holders: their share sums and comment marker above their grid.
void TRejestrFrm::utworzPanelOsob()
{
    Panel4 = new QWidget(RxSplitter2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setMinimumWidth(150);
    auto *panel4Layout = new QVBoxLayout(Panel4);
    panel4Layout->setContentsMargins(0, 0, 0, 0);
    panel4Layout->setSpacing(1);
    auto *udzialy = new QHBoxLayout;
    udzialy->setSpacing(1);
    UdzWlaPnl = panelTekstowy(QStringLiteral("UdzWlaPnl"), QStringLiteral("wl + si: "), Panel4);
    UdzUwPnl = panelTekstowy(QStringLiteral("UdzUwPnl"), QStringLiteral("uw: "), Panel4);
    UdzInniPnl = panelTekstowy(QStringLiteral("UdzInniPnl"), QStringLiteral("Pozostali: "), Panel4);
    KomentOsPnl = znacznik(ZnacznikKomentarza::Osoba, "KomentOsPnl", "OsobyImg", QStringLiteral("osoby"), Panel4);
    OsobyImg = KomentOsPnl->Img;
    udzialy->addWidget(UdzWlaPnl, 1);
    udzialy->addWidget(UdzUwPnl, 1);
    udzialy->addWidget(UdzInniPnl, 1);
    udzialy->addWidget(KomentOsPnl);
    panel4Layout->addLayout(udzialy);
    OsobyGrd = new DataGrid(Panel4);
    OsobyGrd->setObjectName(QStringLiteral("OsobyGrd"));
    OsobyGrd->setColumns(kolumnyOsob(m_opis.grupaOsob));
    OsobyGrd->setDataset(OsobyQry);
    OsobyGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return OsobyGrdGetCellParams(cell); };
    panel4Layout->addWidget(OsobyGrd, 1);
}

// The navigation column: the unit's comment marker and state, commune, precinct, unit, land book.
void TRejestrFrm::utworzPanelNawigacji()
{
    Panel3 = new QWidget(RxSplitter2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMinimumWidth(100);
    auto *panel3Layout = new QVBoxLayout(Panel3);
    panel3Layout->setContentsMargins(2, 0, 2, 2);
    panel3Layout->setSpacing(0);
    auto *naglowek = new QHBoxLayout;
    naglowek->setSpacing(1);
    KomentJrPnl = znacznik(ZnacznikKomentarza::Jednostka, "KomentJrPnl", "JrImg", QStringLiteral("jednostki"), Panel3);
    JrImg = KomentJrPnl->Img;
    ArchiwumPnl = panelTekstowy(QStringLiteral("ArchiwumPnl"), QStringLiteral("Stan aktualny"), Panel3);
    ArchiwumPnl->setAlignment(Qt::AlignCenter);
    naglowek->addWidget(KomentJrPnl);
    naglowek->addWidget(ArchiwumPnl, 1);
    panel3Layout->addLayout(naglowek);
    GminaCbx = new QComboBox(Panel3);
    GminaCbx->setObjectName(QStringLiteral("GminaCbx"));
    app::UstawSortowanie(GminaCbx, true);
    ObrebCbx = new QComboBox(Panel3);
    ObrebCbx->setObjectName(QStringLiteral("ObrebCbx"));
    widgets::ograniczListe(ObrebCbx, 16);
    app::UstawSortowanie(ObrebCbx, true);
    JrLcbx = new QComboBox(Panel3);
    JrLcbx->setObjectName(QStringLiteral("JrLcbx"));
    widgets::ograniczListe(JrLcbx, 12);
    JrKwPnl = panelTekstowy(QStringLiteral("JrKwPnl"), QString(), Panel3);
    JrKwPnl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel3Layout->addWidget(etykieta(QStringLiteral("Jednostka ewid."), Panel3));
    panel3Layout->addWidget(GminaCbx);
    panel3Layout->addWidget(etykieta(QStringLiteral("Obręb:"), Panel3));
    panel3Layout->addWidget(ObrebCbx);
    panel3Layout->addWidget(etykieta(QStringLiteral("Jedn. rejestrowa:"), Panel3));
    panel3Layout->addWidget(JrLcbx);
    panel3Layout->addWidget(etykieta(QStringLiteral("Nr KW:"), Panel3));
    panel3Layout->addWidget(JrKwPnl);
    panel3Layout->addStretch(1);
}

void TRejestrFrm::polaczNawigacje()
{
    connect(GminaCbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { GminaCbxChange(); }); });
    connect(ObrebCbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { ObrebCbxChange(); }); });
    connect(JrLcbx, &QComboBox::activated, this, [this](int index) {
        app::WykonajAkcje([this, index] {
            const int field = JrQry->fieldIndex(QStringLiteral("id_jr"));
            if (index >= 0 && index < JrQry->recordCount() && field >= 0)
                UstawKluczJr(jet::Dataset::valueToText(JrQry->valueAt(index, field)));
        });
    });
    JrLcbx->installEventFilter(this);
    for (KomentMarker *marker : {KomentJrPnl, KomentOsPnl, KomentDlkBudPnl})
        connect(marker, &KomentMarker::clicked, this, [this](ZnacznikKomentarza tag) { app::WykonajAkcje([this, tag] { KomentImgClick(tag); }); });
}

void TRejestrFrm::utworzPrzechowywanie()
{
    FrmStrg.addProperty(
        QStringLiteral("Panel2.Height"), [this] { return QString::number(RxSplitter1->sizes().value(0)); },
        [this](const QString &value) {
            if (const auto height = app::parseInteger(value); height && *height >= Panel2->minimumHeight()) {
                const QList<int> sizes = RxSplitter1->sizes();
                const int total = std::max(sizes.value(0) + sizes.value(1), *height + Panel5->minimumHeight());
                RxSplitter1->setSizes(QList<int>{*height, total - *height});
            }
        });
    FrmStrg.addProperty(
        QStringLiteral("Panel3.Width"), [this] { return QString::number(RxSplitter2->sizes().value(1)); },
        [this](const QString &value) {
            if (const auto width = app::parseInteger(value); width && *width >= Panel3->minimumWidth()) {
                const QList<int> sizes = RxSplitter2->sizes();
                const int total = std::max(sizes.value(0) + sizes.value(1), *width + Panel4->minimumWidth());
                RxSplitter2->setSizes(QList<int>{total - *width, *width});
            }
        });
    FrmStrg.addToolBar(MainTlbr, QStringLiteral("MainTlbr"));
    FrmStrg.addHeader(OsobyGrd->horizontalHeader(), QStringLiteral("OsobyGrd"));
}

QAction *TRejestrFrm::przycisk(const char *name, const QString &glyph, const QColor &color, const QString &hint, bool toggle)
{
    auto *action = new QAction(ikonaZnaku(glyph, color), app::KrotkaPodpowiedz(hint), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(app::KrotkaPodpowiedz(hint));
    action->setStatusTip(app::DlugaPodpowiedz(hint));
    action->setCheckable(toggle);
    MainTlbr->addAction(action);
    return action;
}

void TRejestrFrm::dodajSiatke(DataGrid *grid, jet::Query *query, const QString &podpisZmian, const QString &podpisKomentarza,
                              std::function<bool()> aktywna)
{
    m_siatki.push_back({grid, query, podpisZmian, podpisKomentarza, std::move(aktywna)});
    connect(grid, &DataGrid::entered, this, [this, grid] { app::WykonajAkcje([this, grid] { DBGridsEnter(grid); }); });
    connect(grid, &QAbstractItemView::doubleClicked, this, [this, grid] { app::WykonajAkcje([this, grid] { DBGridsDblClick(grid); }); });
}

const TRejestrFrm::Siatka *TRejestrFrm::siatka(const DataGrid *grid) const
{
    for (const Siatka &s : m_siatki)
        if (s.grid == grid)
            return &s;
    return nullptr;
}

const TRejestrFrm::Siatka *TRejestrFrm::siatka(const jet::Dataset *query) const
{
    for (const Siatka &s : m_siatki)
        if (s.query == query)
            return &s;
    return nullptr;
}

void TRejestrFrm::zakonczTworzenie()
{
    const QColor okno(0, 120, 110);
    KomentTBtn = przycisk("KomentTBtn", QStringLiteral("!"), QColor(200, 60, 0), QStringLiteral("Komentarze|Otwiera okienko z komentarzem"), true);
    ZmianyTBtn = przycisk("ZmianyTBtn", QStringLiteral("Z"), okno, QStringLiteral("Zmiany|Otwiera okno zmian"), true);
    connect(KomentTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { KomentTBtnClick(); }); });
    connect(ZmianyTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { ZmianyTBtnClick(); }); });

    ZmianyTW = new TTWzmianyFrm(this, m_baza);
    ZmianyTW->setWindowTitle(QStringLiteral("Zmiany"));
    ZmianyTW->FrmStrg.setSection(m_opis.prefiksZmian + ZmianyTW->FrmStrg.section());
    ZmianyTW->OnClose = [this] {
        ZmianyTBtn->setChecked(false);
        OdswiezZmiany(false);
    };
    KomentTW = new TTWkomentFrm(this, m_opis.nazwa);
    KomentTW->OnClose = [this] {
        KomentTBtn->setChecked(false);
        OdswiezKoment(false);
    };

    try {
        wykonajTempQry(QString::fromUtf8(sql::GminySql));
        app::WypelnijComboBox(GminaCbx, *TempQry, QStringLiteral("nazwa"), true, QString(), QStringLiteral("mslink"));
        if (GminaCbx->count() > 0)
            GminaCbx->setCurrentIndex(0);
        GminaCbxChange();
    } catch (const std::exception &error) {
        KomunikatOkna(RodzajKomunikatu::Blad, app::komunikatWyjatku(error), m_opis.bladTworzenia, false);
    }
}

void TRejestrFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_ukladWczytany) {
        m_ukladWczytany = true;
        FrmStrg.restore();
    }
}

void TRejestrFrm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TRejestrFrm::FormClose()
{
    if (!m_zamkniety && m_ukladWczytany)
        FrmStrg.saveOrReport();
    m_zamkniety = true;
}

bool TRejestrFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == JrLcbx && event->type() == QEvent::FocusIn)
        app::WykonajAkcje([this] { JrLcbxEnter(); });
    return QMainWindow::eventFilter(watched, event);
}

int TRejestrFrm::KomunikatOkna(RodzajKomunikatu rodzaj, const QString &tekst, const QString &tytul, bool sygnal)
{
    int flagi;
    switch (rodzaj) {
    case RodzajKomunikatu::OstrzezenieTakNie: flagi = app::mb::YesNo | app::mb::IconWarning; break;
    case RodzajKomunikatu::Informacja: flagi = app::mb::Ok | app::mb::IconInformation; break;
    case RodzajKomunikatu::Blad: flagi = app::mb::Ok | app::mb::IconError; break;
    case RodzajKomunikatu::OstrzezenieTakNieAnuluj: flagi = app::mb::YesNoCancel | app::mb::IconWarning; break;
    case RodzajKomunikatu::Pytanie: flagi = app::mb::YesNo | app::mb::IconQuestion; break;
    default: flagi = app::mb::Ok | app::mb::IconWarning; break;
    }
    const QPointer<QWidget> aktywna = QApplication::focusWidget();
    if (sygnal)
        app::interaction().beep();
    const int wynik = app::interaction().messageBox(this, tekst, tytul.isEmpty() ? app::TytulAplikacji() : tytul, flagi);
    // Leave the control and come back, so that its enter handling runs again.
    if (aktywna && isAncestorOf(aktywna) && aktywna->isEnabled() && aktywna->isVisible()
        && aktywna->focusPolicy() != Qt::NoFocus) {
        focusNextChild();
        aktywna->setFocus();
    }
    return wynik;
}

void TRejestrFrm::wykonajTempQry(const QString &text)
{
    TempQry->close();
    TempQry->setSql(text);
    TempQry->open();
}

// ---- navigation ----

void TRejestrFrm::GminaCbxChange()
{
    if (GminaCbx->currentIndex() < 0)
        throw app::AppError(QStringLiteral("Indeks listy poza zakresem (-1)"));
    GminaId = app::IdZComboBox(GminaCbx);
    wykonajTempQry(QString::fromUtf8(sql::ObrebyGminySql) + QString::number(GminaId));
    app::WypelnijComboBox(ObrebCbx, *TempQry, QStringLiteral("nazwa"), true, QString(), QStringLiteral("mslink"));
    ObrebCbxChange();
}

void TRejestrFrm::ObrebCbxChange()
{
    // A commune without precincts has no units: the unit list and the grids stay empty.
    const bool bezObrebow = ObrebCbx->count() == 0;
    if (!bezObrebow && ObrebCbx->currentIndex() < 0)
        throw app::AppError(QStringLiteral("Indeks listy poza zakresem (-1)"));
    ObrebId = bezObrebow ? 0 : app::IdZComboBox(ObrebCbx);
    JrQry->close();
    if (!bezObrebow) {
        JrQry->setParameter(QStringLiteral("ObrebID"), ObrebId, jet::FieldType::Integer);
        JrQry->open();
    }
    wypelnijJrLcbx();
    UstawKluczJr(JrQry->isEmpty() ? QString() : JrQry->asString(QStringLiteral("id_jr")));
}

void TRejestrFrm::wypelnijJrLcbx()
{
    const QSignalBlocker blocker(JrLcbx);
    JrLcbx->clear();
    const int nr = JrQry->fieldIndex(QStringLiteral("NR_JR"));
    QStringList items;
    for (int row = 0; row < JrQry->recordCount(); ++row)
        items << jet::Dataset::valueToText(JrQry->valueAt(row, nr));
    JrLcbx->addItems(items);
    JrLcbx->setCurrentIndex(-1);
}

void TRejestrFrm::UstawKluczJr(const QString &klucz)
{
    const bool zmiana = klucz != m_jrKlucz;
    m_jrKlucz = klucz;
    if (zmiana && !klucz.isEmpty())
        JrQry->locate(QStringLiteral("id_jr"), jet::Dataset::valueToFloat(klucz));
    {
        const QSignalBlocker blocker(JrLcbx);
        const bool znaleziony = !klucz.isEmpty() && !JrQry->isEmpty()
                                && JrQry->asString(QStringLiteral("id_jr")) == klucz;
        JrLcbx->setCurrentIndex(znaleziony ? JrQry->currentRow() : -1);
    }
    if (zmiana)
        JrLcbxChange();
}

void TRejestrFrm::JrLcbxChange()
{
    try {
        const double idJr = JrQry->isEmpty() ? 0.0 : JrQry->asFloat(QStringLiteral("id_jr"));
        const QVariant klucz = m_jrKlucz.isEmpty() ? QVariant() : QVariant(jet::Dataset::valueToFloat(m_jrKlucz));
        OsobyQry->close();
        OsobyQry->setParameter(QStringLiteral("IdJr"), idJr, jet::FieldType::Float);
        OsobyQry->open();
        otworzPrzedmioty(klucz);
        if (KomentZrodlo == JrQry)
            OdswiezKoment(KomentTW->isVisible());
        JrImg->setVisible(!JrQry->isEmpty() && !JrQry->asString(QStringLiteral("uwagi")).isEmpty());
        PokazKwJr();
    } catch (const std::exception &error) {
        app::Komunikat(app::komunikatWyjatku(error), QStringLiteral("Błąd przy czytaniu danych dla jednostki rejestrowej"),
                       app::mb::Ok | app::mb::IconError);
    }
}

void TRejestrFrm::PokazKwJr()
{
    JrKwPnl->clear();
    if (JrQry->isEmpty())
        return;
    const double kwId = JrQry->asFloat(QStringLiteral("kw_id"));
    if (kwId == 0)
        return;
    wykonajTempQry(QString::fromUtf8(sql::KwJrSql) + jet::sqlNumber(kwId));
    JrKwPnl->setText(QLatin1Char(' ') + (TempQry->isEmpty() ? QString() : TempQry->asString(QStringLiteral("kw_txt"))));
}

void TRejestrFrm::PokazJr(double idJr)
{
    if (JrQry->active() && JrQry->locate(QStringLiteral("id_jr"), idJr)) {
        UstawKluczJr(JrQry->asString(QStringLiteral("id_jr")));
        return;
    }
    wykonajTempQry(QString::fromUtf8(m_opis.obrebJrSql) + jet::sqlNumber(idJr));
    const QString nieZnaleziono = QStringLiteral("Nie udało się odnaleźć podanej jednostki rejestrowej.");
    if (TempQry->isEmpty()) {
        KomunikatOkna(RodzajKomunikatu::Ostrzezenie, nieZnaleziono, m_opis.bladSzukania, true);
        return;
    }
    const int gminaId = int(TempQry->asInteger(QStringLiteral("gmina_id")));
    const int obrebId = int(TempQry->asInteger(QStringLiteral("mslink")));
    const int gmina = app::IndeksIdWComboBox(GminaCbx, gminaId);
    if (gmina >= 0 && gmina != GminaCbx->currentIndex()) {
        GminaCbx->setCurrentIndex(gmina);
        GminaCbxChange();
    }
    const int obreb = app::IndeksIdWComboBox(ObrebCbx, obrebId);
    if (obreb >= 0 && obreb != ObrebCbx->currentIndex()) {
        ObrebCbx->setCurrentIndex(obreb);
        ObrebCbxChange();
    }
    if (gmina >= 0 && obreb >= 0) {
        JrQry->locate(QStringLiteral("id_jr"), idJr);
        UstawKluczJr(JrQry->isEmpty() ? QString() : JrQry->asString(QStringLiteral("id_jr")));
        return;
    }
    KomunikatOkna(RodzajKomunikatu::Ostrzezenie, nieZnaleziono, m_opis.bladSzukania, true);
}

void TRejestrFrm::DBGridsEnter(DataGrid *grid)
{
    const Siatka *s = siatka(grid);
    if (!s)
        return;
    ZmianyZrodlo = s->query;
    KomentZrodlo = s->query;
    ZmianyTW->setWindowTitle(s->podpisZmian);
    KomentTW->setWindowTitle(s->podpisKomentarza);
    if (s->query->active()) {
        if (grid == OsobyGrd)
            OsobyImg->setVisible(!OsobyQry->isEmpty() && OsobyQry->asFloat(QStringLiteral("KOMENT")) != 0);
        else
            pokazObrazPrzedmiotu(s->query);
    }
    OdswiezZmiany(ZmianyTW->isVisible());
    OdswiezKoment(KomentTW->isVisible());
}

void TRejestrFrm::pokazObrazPrzedmiotu(jet::Query *query)
{
    const Siatka *s = siatka(query);
    PrzedmiotImg->setVisible(!query->isEmpty() && !query->asString(QStringLiteral("uwagi")).isEmpty()
                             && (!s || !s->aktywna || s->aktywna()));
}

void TRejestrFrm::odswiezPoPrzewinieciu(jet::Query *query)
{
    if (ZmianyZrodlo == query)
        OdswiezZmiany(ZmianyTW->isVisible());
    if (KomentZrodlo == query)
        OdswiezKoment(KomentTW->isVisible());
    pokazObrazPrzedmiotu(query);
}

void TRejestrFrm::JrLcbxEnter()
{
    KomentZrodlo = JrQry;
    KomentTW->setWindowTitle(QStringLiteral("Komentarz - jednostka rejestrowa"));
    OdswiezKoment(KomentTW->isVisible());
}

void TRejestrFrm::DBGridsDblClick(DataGrid *grid)
{
    if (grid->currentField().toUpper() == QLatin1String("KOM") && !KomentTBtn->isChecked())
        KomentTBtn->trigger();
}

void TRejestrFrm::ustawFokus(QWidget *widget, const std::function<void()> &wejscie)
{
    widget->setFocus(Qt::OtherFocusReason);
    if (!widget->hasFocus())
        wejscie();
}

// The holders, the object grid on show, or (the unit's marker and any other tag) the unit list.
void TRejestrFrm::KomentImgClick(ZnacznikKomentarza tag)
{
    DataGrid *grid = nullptr;
    if (tag == ZnacznikKomentarza::Osoba) {
        grid = OsobyGrd;
    } else if (tag == ZnacznikKomentarza::Przedmiot) {
        for (const Siatka &s : m_siatki)
            if (s.grid != OsobyGrd && (!s.aktywna || s.aktywna())) {
                grid = s.grid;
                break;
            }
    }
    if (grid)
        ustawFokus(grid, [this, grid] { DBGridsEnter(grid); });
    else
        ustawFokus(JrLcbx, [this] { JrLcbxEnter(); });
    if (!KomentTBtn->isChecked())
        KomentTBtn->trigger();
}

// ---- holders ----

void TRejestrFrm::OsobyQryAfterOpen()
{
    LiczUdzialy();
}

void TRejestrFrm::LiczUdzialy()
{
    struct Grupa {
        int liczba = 0;
        long double suma = 0;
    } wlSi, uw, inni;
    {
        const jet::ControlsDisabled wylaczone(*OsobyQry);
        OsobyQry->first();
        while (!OsobyQry->eof()) {
            const qint64 wladId = OsobyQry->asInteger(QStringLiteral("wlad_id"));
            Grupa &grupa = (wladId == 1 || wladId == 3) ? wlSi : wladId == 2 ? uw : inni;
            ++grupa.liczba;
            const qint64 mianownik = OsobyQry->asInteger(QStringLiteral("m_udzial"));
            if (mianownik > 0)
                grupa.suma += static_cast<long double>(OsobyQry->asFloat(QStringLiteral("l_udzial"))) / mianownik;
            OsobyQry->next();
        }
        OsobyQry->first();
    }
    const QString separator = QStringLiteral("      udział: ");
    const QString tekstWl = jet::numberToText(wlSi.suma), tekstUw = jet::numberToText(uw.suma), tekstInni = jet::numberToText(inni.suma);
    UdzWlaPnl->setText(QStringLiteral("wl + si: ") + QString::number(wlSi.liczba) + separator + tekstWl);
    UdzUwPnl->setText(QStringLiteral("uw: ") + QString::number(uw.liczba) + separator + tekstUw);
    UdzInniPnl->setText(QStringLiteral("Pozostali: ") + QString::number(inni.liczba) + separator + tekstInni);
    const QString jeden = QStringLiteral("1");
    ustawKolorCzcionki(UdzWlaPnl, wlSi.liczba == 0 || tekstWl != jeden);
    ustawKolorCzcionki(UdzUwPnl, uw.liczba != 0 && tekstUw != jeden);
    ustawKolorCzcionki(UdzInniPnl, inni.liczba != 0 && tekstInni != jeden);
}

void TRejestrFrm::OsobyQryAfterScroll()
{
    if (OsobyQry->controlsDisabled())
        return;
    if (KomentZrodlo == OsobyQry)
        OdswiezKoment(KomentTW->isVisible());
    if (ZmianyZrodlo == OsobyQry)
        OdswiezZmiany(ZmianyTW->isVisible());
    OsobyImg->setVisible(!OsobyQry->isEmpty() && OsobyQry->asFloat(QStringLiteral("KOMENT")) != 0);
}

std::optional<QColor> TRejestrFrm::OsobyGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    if (auto colour = kolorKomentarzaLubZaznaczenia(cell))
        return colour;
    const int wladField = OsobyQry->fieldIndex(QStringLiteral("WLAD_ID"));
    const int rodzajField = OsobyQry->fieldIndex(QStringLiteral("RODZ_WLAD"));
    if (wladField < 0 || rodzajField < 0)
        return std::nullopt;
    try {
        const app::Ustawienia &ustawienia = app::ustawieniaProgramu();
        if (jet::Dataset::valueToInteger(OsobyQry->valueAt(cell.row, wladField)) == 2)
            return ustawienia.kolorUw;
        switch (jet::Dataset::valueToInteger(OsobyQry->valueAt(cell.row, rodzajField))) {
        case 1: return ustawienia.kolorWla;
        case 2: return ustawienia.kolorUk2;
        case 3: return ustawienia.kolorUk3;
        default: return std::nullopt;
        }
    } catch (const std::exception &) {
        return std::nullopt; // a holding form that is no number leaves the default background
    }
}

// ---- comment and change windows ----

void TRejestrFrm::KomentTBtnClick()
{
    KomentTW->setVisible(KomentTBtn->isChecked());
    OdswiezKoment(KomentTW->isVisible());
}

void TRejestrFrm::ZmianyTBtnClick()
{
    ZmianyTW->setVisible(ZmianyTBtn->isChecked());
    OdswiezZmiany(ZmianyTW->isVisible());
}

void TRejestrFrm::OdswiezKoment(bool widoczne)
{
    if (!KomentZrodlo || !KomentZrodlo->isOpen())
        return;
    KomentTW->PokazKoment(widoczne, KomentZrodlo->isEmpty() ? QString() : KomentZrodlo->asString(QStringLiteral("uwagi")));
}

void TRejestrFrm::OdswiezZmiany(bool widoczne)
{
    const bool wiersz = ZmianyZrodlo && ZmianyZrodlo->isOpen() && !ZmianyZrodlo->isEmpty();
    ZmianyTW->PokazZmiane(widoczne, wiersz ? ZmianyZrodlo->asFloat(QStringLiteral("zmiana_id")) : 0.0);
}

} // namespace katarix::browsers
