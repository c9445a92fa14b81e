#include "browsers/RgFrm.h"

#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/UstawieniaFrm.h"
#include "browsers/ToolWindows.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "register/sql/RgQueries.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "widgets/ColorPanel.h"
#include "app/ListHelpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace katarix::browsers {

TRgFrm *RgFrm = nullptr;

using widgets::DataGrid;
namespace sql = reg::sql::rg;

namespace {

constexpr int StronaDzialek = 0;

// Keeps a dataset's controls disabled for a walk over its rows, also when the walk fails.
struct WylaczoneKontrolki {
    explicit WylaczoneKontrolki(jet::Dataset *dataset) : m_dataset(dataset) { m_dataset->disableControls(); }
    ~WylaczoneKontrolki() { m_dataset->enableControls(); }
    jet::Dataset *m_dataset;
};

QLabel *panel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

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

QColor kolorUstawien(QColor (app::TUstawieniaFrm::*odczyt)() const, int domyslny)
{
    if (app::UstawieniaFrm)
        return (app::UstawieniaFrm->*odczyt)();
    return widgets::colorFromWindows(domyslny);
}

std::optional<QColor> kolorKomentarza(const DataGrid::CellParams &cell)
{
    if (cell.field.toUpper() == QLatin1String("KOM") && cell.text == QLatin1String("!"))
        return QColor(255, 0, 0);
    return std::nullopt;
}

} // namespace

// ---- comment marker ----

KomentMarker::KomentMarker(int tag, const QString &hint, const QString &imageHint, QWidget *parent)
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

template <typename F> void TRgFrm::akcja(F &&f)
{
    try {
        f();
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
    }
}

TRgFrm::TRgFrm(QWidget *parent, jet::Database *database)
    : QMainWindow(parent), FrmStrg(this, QStringLiteral("KATARIX.REJESTR_GRUNTOW"))
{
    RgFrm = this;
    m_baza = database ? database : (app::MainFrm ? &app::MainFrm->baza() : nullptr);
    setObjectName(QStringLiteral("RgFrm"));
    setWindowTitle(QStringLiteral("Rejestr gruntów"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/grunty.svg")));
    setContextMenuPolicy(Qt::NoContextMenu);

    if (app::MainFrm && app::MainFrm->TempQry && !database) {
        TempQry = app::MainFrm->TempQry;
    } else {
        TempQry = new jet::Query(this);
        TempQry->setObjectName(QStringLiteral("TempQry"));
        TempQry->setDatabase(m_baza);
    }

    utworzKomponenty();
    if (app::MainFrm)
        FrmStrg.setIniFileName(app::MainFrm->PlikIni);
    utworzPrzechowywanie();

    ZmianyZrodlo = DzialkiQry;
    KomentZrodlo = DzialkiQry;

    KomentTW = new TTWkomentFrm(this, QStringLiteral("RgFrm"));
    KomentTW->OnClose = [this] {
        KomentTBtn->setChecked(false);
        OdswiezKoment(false);
    };
    BudTW = new TTWbudFrm(this, QStringLiteral("RgFrm"), m_baza);
    BudTW->OnClose = [this] {
        BudTBtn->setChecked(false);
        OdswiezBudynki(false);
    };
    LokTW = new TTWlokFrm(this, QStringLiteral("RgFrm"), m_baza);
    LokTW->OnClose = [this] {
        LokTBtn->setChecked(false);
        OdswiezLokale(false);
    };

    // Without a stored position the tool windows open cascaded over the window's lower right.
    int kolejne = 0;
    for (TToolWindow *tool : std::initializer_list<TToolWindow *>{BudTW, LokTW, KomentTW}) {
        const int n = ++kolejne;
        tool->DomyslnaPozycja = [this, n](const QSize &size) {
            const QRect okno(mapToGlobal(QPoint(0, 0)), this->size());
            return QPoint(std::max(0, okno.right() - size.width() - 10 - 24 * n), okno.top() + 150 + 36 * n);
        };
    }

    try {
        wykonajTempQry(QString::fromUtf8(sql::GminySql));
        app::WypelnijComboBox(GminaCbx, *TempQry, QStringLiteral("nazwa"), true, QString(), QStringLiteral("mslink"));
        if (GminaCbx->count() > 0)
            GminaCbx->setCurrentIndex(0);
        GminaCbxChange();
    } catch (const std::exception &error) {
        KomunikatOkna(4, app::komunikatWyjatku(error), QStringLiteral("Błąd przy tworzeniu okna rejestru gruntów"), false);
    }
}

TRgFrm::~TRgFrm()
{
    if (!m_zamkniety && m_ukladWczytany)
        FrmStrg.saveOrReport();
    if (RgFrm == this)
        RgFrm = nullptr;
}

void TRgFrm::utworzKomponenty()
{
    auto query = [this](const char *name, const char *text) {
        auto *q = new jet::Query(this);
        q->setObjectName(QString::fromLatin1(name));
        q->setDatabase(m_baza);
        q->setSql(QString::fromUtf8(text));
        return q;
    };
    JrQry = query("JrQry", sql::JrQry);
    JrQry->setParameter(QStringLiteral("ObrebID"), 0, jet::FieldType::Integer);
    OsobyQry = query("OsobyQry", sql::OsobyQry);
    OsobyQry->setParameter(QStringLiteral("IdJr"), -1.0, jet::FieldType::Float);
    DzialkiQry = query("DzialkiQry", sql::DzialkiQry);
    DzialkiQry->setParameter(QStringLiteral("IdJr"), -1.0, jet::FieldType::Float);
    BudQry = query("BudQry", sql::BudQry);
    KlauzQry = query("KlauzQry", sql::KlauzQry);
    KlauzQry->setParameter(QStringLiteral("MslDlk"), 0.0, jet::FieldType::Float);

    connect(DzialkiQry, &jet::Dataset::afterOpen, this, &TRgFrm::DzialkiQryAfterOpen);
    connect(DzialkiQry, &jet::Dataset::afterScroll, this, &TRgFrm::DzialkiQryAfterScroll);
    connect(BudQry, &jet::Dataset::afterOpen, this, &TRgFrm::BudQryAfterOpen);
    connect(BudQry, &jet::Dataset::afterScroll, this, &TRgFrm::BudQryAfterScroll);
    connect(OsobyQry, &jet::Dataset::afterOpen, this, &TRgFrm::OsobyQryAfterOpen);
    connect(OsobyQry, &jet::Dataset::afterScroll, this, &TRgFrm::OsobyQryAfterScroll);

    resize(677, 454);
    utworzPasek();

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

    Panel4 = new QWidget(RxSplitter2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setMinimumWidth(150);
    auto *panel4Layout = new QVBoxLayout(Panel4);
    panel4Layout->setContentsMargins(0, 0, 0, 0);
    panel4Layout->setSpacing(1);
    auto *udzialy = new QHBoxLayout;
    udzialy->setSpacing(1);
    UdzWlaPnl = panel(QStringLiteral("UdzWlaPnl"), QStringLiteral("wl + si: "), Panel4);
    UdzUwPnl = panel(QStringLiteral("UdzUwPnl"), QStringLiteral("uw: "), Panel4);
    UdzInniPnl = panel(QStringLiteral("UdzInniPnl"), QStringLiteral("Pozostali: "), Panel4);
    KomentOsPnl = new KomentMarker(2, QStringLiteral("Komentarz do osoby"), QStringLiteral("Uwaga: Komentarz do osoby"), Panel4);
    KomentOsPnl->setObjectName(QStringLiteral("KomentOsPnl"));
    OsobyImg = KomentOsPnl->Img;
    OsobyImg->setObjectName(QStringLiteral("OsobyImg"));
    udzialy->addWidget(UdzWlaPnl, 1);
    udzialy->addWidget(UdzUwPnl, 1);
    udzialy->addWidget(UdzInniPnl, 1);
    udzialy->addWidget(KomentOsPnl);
    panel4Layout->addLayout(udzialy);
    OsobyGrd = new DataGrid(Panel4);
    OsobyGrd->setObjectName(QStringLiteral("OsobyGrd"));
    OsobyGrd->setColumns({
        {QStringLiteral("Kom"), QStringLiteral(" "), 12, Qt::AlignHCenter, true},
        {QStringLiteral("F_WLAD"), QStringLiteral("F.wład."), 40, Qt::AlignHCenter},
        {QStringLiteral("NAZWA"), QStringLiteral("Osoba"), 230, Qt::AlignLeft},
        {QStringLiteral("UDZIAL"), QStringLiteral("Udział"), 75, Qt::AlignHCenter},
        {QStringLiteral("GRUPA"), QStringLiteral("Grupa"), 35, Qt::AlignHCenter},
        {QStringLiteral("ADR"), QStringLiteral("Adres"), 170, Qt::AlignLeft},
        {QStringLiteral("NIP2"), QStringLiteral("NIP"), 65, Qt::AlignLeft},
        {QStringLiteral("PES_REG"), QStringLiteral("Pesel / Regon"), 70, Qt::AlignLeft},
        {QStringLiteral("DATA_UPLYWU"), QStringLiteral("do dnia"), -1, Qt::AlignHCenter},
        {QStringLiteral("uwagi"), QStringLiteral("Uwagi"), 300, Qt::AlignLeft},
    });
    OsobyGrd->setDataset(OsobyQry);
    OsobyGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return OsobyGrdGetCellParams(cell); };
    panel4Layout->addWidget(OsobyGrd, 1);

    Panel3 = new QWidget(RxSplitter2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMinimumWidth(100);
    auto *panel3Layout = new QVBoxLayout(Panel3);
    panel3Layout->setContentsMargins(2, 0, 2, 2);
    panel3Layout->setSpacing(0);
    auto *naglowek = new QHBoxLayout;
    naglowek->setSpacing(1);
    KomentJrPnl = new KomentMarker(1, QStringLiteral("Komentarz do jednostki"), QStringLiteral("Uwaga: Komentarz do jednostki"), Panel3);
    KomentJrPnl->setObjectName(QStringLiteral("KomentJrPnl"));
    JrImg = KomentJrPnl->Img;
    JrImg->setObjectName(QStringLiteral("JrImg"));
    ArchiwumPnl = panel(QStringLiteral("ArchiwumPnl"), QStringLiteral("Stan aktualny"), Panel3);
    ArchiwumPnl->setAlignment(Qt::AlignCenter);
    naglowek->addWidget(KomentJrPnl);
    naglowek->addWidget(ArchiwumPnl, 1);
    panel3Layout->addLayout(naglowek);
    GminaCbx = new QComboBox(Panel3);
    GminaCbx->setObjectName(QStringLiteral("GminaCbx"));
    app::UstawSortowanie(GminaCbx, true);
    ObrebCbx = new QComboBox(Panel3);
    ObrebCbx->setObjectName(QStringLiteral("ObrebCbx"));
    ObrebCbx->setMaxVisibleItems(16);
    app::UstawSortowanie(ObrebCbx, true);
    JrLcbx = new QComboBox(Panel3);
    JrLcbx->setObjectName(QStringLiteral("JrLcbx"));
    JrLcbx->setMaxVisibleItems(12);
    JrKwPnl = panel(QStringLiteral("JrKwPnl"), QString(), Panel3);
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

    RxSplitter2->addWidget(Panel4);
    RxSplitter2->addWidget(Panel3);
    RxSplitter2->setStretchFactor(0, 1);
    RxSplitter2->setStretchFactor(1, 0);
    RxSplitter2->setSizes({557, 120});

    // Lower part: parcels and buildings pages, the area sum and the marker beside the tabs.
    Panel5 = new QWidget(RxSplitter1);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setMinimumHeight(100);
    auto *panel5Layout = new QVBoxLayout(Panel5);
    panel5Layout->setContentsMargins(0, 0, 0, 0);
    PrzedmPCtl = new QTabWidget(Panel5);
    PrzedmPCtl->setObjectName(QStringLiteral("PrzedmPCtl"));
    PrzedmPCtl->setDocumentMode(false);
    DlkTSh = new QWidget;
    DlkTSh->setObjectName(QStringLiteral("DlkTSh"));
    BudTSh = new QWidget;
    BudTSh->setObjectName(QStringLiteral("BudTSh"));
    DzialkiGrd = new DataGrid(DlkTSh);
    DzialkiGrd->setObjectName(QStringLiteral("DzialkiGrd"));
    DzialkiGrd->setMultiSelect(true);
    DzialkiGrd->setColumns({
        {QStringLiteral("Kom"), QStringLiteral(" "), 12, Qt::AlignHCenter, true},
        {QStringLiteral("NUMER"), QStringLiteral("Numer"), 60, Qt::AlignHCenter},
        {QStringLiteral("Arkusz"), QString(), 40, Qt::AlignHCenter},
        {QStringLiteral("AREA"), QStringLiteral("Pow [ha]"), 60, Qt::AlignRight},
        {QStringLiteral("KW"), QString(), 70, Qt::AlignLeft},
        {QStringLiteral("SAD"), QStringLiteral("KW - Sąd"), 100, Qt::AlignLeft},
        {QStringLiteral("AW"), QStringLiteral("Inne dokum."), 70, Qt::AlignLeft},
        {QStringLiteral("Adres"), QString(), 140, Qt::AlignLeft},
        {QStringLiteral("Polozenie"), QStringLiteral("Położenie"), 120, Qt::AlignLeft},
        {QStringLiteral("REJSTAT"), QStringLiteral("Rej. statyst."), -1, Qt::AlignLeft},
        {QStringLiteral("OBWSPIS"), QStringLiteral("Obw. spisowy"), 69, Qt::AlignLeft},
        {QStringLiteral("REJ_ZAB"), QStringLiteral("Nr rej. zab."), 61, Qt::AlignLeft},
        {QStringLiteral("DATA_REJ_ZAB"), QStringLiteral("Data rej.zab."), 68, Qt::AlignLeft},
        {QStringLiteral("WARTOSC"), QStringLiteral("Wartość"), 50, Qt::AlignLeft},
        {QStringLiteral("DATA_WARTOSC"), QStringLiteral("Data wpis.wart."), 80, Qt::AlignLeft},
        {QStringLiteral("UWAGI"), QStringLiteral("Uwagi"), 300, Qt::AlignLeft},
    });
    DzialkiGrd->setDataset(DzialkiQry);
    DzialkiGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return DzialkiGrdGetCellParams(cell); };
    auto *dlkLayout = new QVBoxLayout(DlkTSh);
    dlkLayout->setContentsMargins(0, 0, 0, 0);
    dlkLayout->addWidget(DzialkiGrd);

    BudGrd = new DataGrid(BudTSh);
    BudGrd->setObjectName(QStringLiteral("BudGrd"));
    BudGrd->setColumns({
        {QStringLiteral("Kom"), QStringLiteral(" "), 12, Qt::AlignHCenter, true},
        {QStringLiteral("NIERUCH_ID"), QStringLiteral("Identyfikator"), 68, Qt::AlignHCenter},
        {QStringLiteral("Funkcja"), QString(), 100, Qt::AlignLeft},
        {QStringLiteral("Dzialka"), QStringLiteral("Nr działki"), 60, Qt::AlignLeft},
        {QStringLiteral("Adres"), QString(), 150, Qt::AlignLeft},
        {QStringLiteral("KW"), QString(), 80, Qt::AlignLeft},
        {QStringLiteral("SAD"), QStringLiteral("Wydział KW"), 150, Qt::AlignLeft},
        {QStringLiteral("AW"), QStringLiteral("Inne dokum."), 120, Qt::AlignLeft},
        {QStringLiteral("ROK_BUDOWY"), QStringLiteral("Rok budowy"), 61, Qt::AlignHCenter},
        {QStringLiteral("NUM_KOND"), QStringLiteral("Kond.nadziem."), 73, Qt::AlignHCenter},
        {QStringLiteral("NUM_KOND_POD"), QStringLiteral("Kond.podziem."), -1, Qt::AlignHCenter},
        {QStringLiteral("POW_ZAB"), QStringLiteral("Pow.zab.[m2]"), -1, Qt::AlignHCenter},
        {QStringLiteral("WODA"), QStringLiteral("Woda"), 60, Qt::AlignLeft},
        {QStringLiteral("CWODA"), QStringLiteral("Ciepła woda"), 62, Qt::AlignLeft},
        {QStringLiteral("KANAL"), QStringLiteral("Kanalizacja"), 57, Qt::AlignLeft},
        {QStringLiteral("CO"), QStringLiteral("C.O."), 60, Qt::AlignLeft},
        {QStringLiteral("GAZ"), QStringLiteral("Inst.gaz."), 60, Qt::AlignLeft},
        {QStringLiteral("EL"), QStringLiteral("Inst.elektr."), 60, Qt::AlignLeft},
        {QStringLiteral("WINDA"), QStringLiteral("Winda"), 43, Qt::AlignLeft},
        {QStringLiteral("NOSNA"), QStringLiteral("Konstr.nośna"), 66, Qt::AlignLeft},
        {QStringLiteral("STROPY"), QStringLiteral("Stropy"), 60, Qt::AlignLeft},
        {QStringLiteral("DACH"), QStringLiteral("Dach"), 59, Qt::AlignLeft},
        {QStringLiteral("REJ_ZAB"), QStringLiteral("Rej.zabytków"), 69, Qt::AlignLeft},
        {QStringLiteral("DATA_REJ_ZAB"), QStringLiteral("Data wpis.rej.zab."), 90, Qt::AlignLeft},
        {QStringLiteral("WARTOSC"), QStringLiteral("Wartość"), 55, Qt::AlignLeft},
        {QStringLiteral("DATA_WARTOSC"), QStringLiteral("Data określ. wart."), 90, Qt::AlignLeft},
        {QStringLiteral("UWAGI"), QStringLiteral("Uwagi"), 300, Qt::AlignLeft},
    });
    BudGrd->setDataset(BudQry);
    BudGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return BudGrdGetCellParams(cell); };
    auto *budLayout = new QVBoxLayout(BudTSh);
    budLayout->setContentsMargins(0, 0, 0, 0);
    budLayout->addWidget(BudGrd);

    PrzedmPCtl->addTab(DlkTSh, QStringLiteral("Działki"));
    PrzedmPCtl->addTab(BudTSh, QStringLiteral("Budynki"));
    PrzedmPCtl->setCurrentIndex(StronaDzialek);
    auto *corner = new QWidget(PrzedmPCtl);
    auto *cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 2, 1);
    cornerLayout->setSpacing(1);
    SumPowDzPnl = panel(QStringLiteral("SumPowDzPnl"), QStringLiteral(" Suma pow. działek: "), corner);
    SumPowDzPnl->setMinimumWidth(200);
    KomentDlkBudPnl = new KomentMarker(3, QStringLiteral("Komentarz do przedmiotu"), QStringLiteral("Uwaga: Komentarz do przedmiotu"), corner);
    KomentDlkBudPnl->setObjectName(QStringLiteral("KomentDlkBudPnl"));
    PrzedmiotImg = KomentDlkBudPnl->Img;
    PrzedmiotImg->setObjectName(QStringLiteral("PrzedmiotImg"));
    cornerLayout->addWidget(SumPowDzPnl);
    cornerLayout->addWidget(KomentDlkBudPnl);
    PrzedmPCtl->setCornerWidget(corner, Qt::TopRightCorner);
    panel5Layout->addWidget(PrzedmPCtl);

    RxSplitter1->addWidget(Panel2);
    RxSplitter1->addWidget(Panel5);
    RxSplitter1->setStretchFactor(0, 0);
    RxSplitter1->setStretchFactor(1, 1);
    RxSplitter1->setSizes({182, 270});

    utworzKlasouz();

    // Navigation.
    connect(GminaCbx, &QComboBox::activated, this, [this] { akcja([this] { GminaCbxChange(); }); });
    connect(ObrebCbx, &QComboBox::activated, this, [this] { akcja([this] { ObrebCbxChange(); }); });
    connect(JrLcbx, &QComboBox::activated, this, [this](int index) {
        akcja([this, index] {
            const int field = JrQry->fieldIndex(QStringLiteral("id_jr"));
            if (index >= 0 && index < JrQry->recordCount() && field >= 0)
                UstawKluczJr(jet::Dataset::valueToText(JrQry->valueAt(index, field)));
        });
    });
    JrLcbx->installEventFilter(this);
    for (DataGrid *grid : {OsobyGrd, DzialkiGrd, BudGrd}) {
        connect(grid, &DataGrid::entered, this, [this, grid] { akcja([this, grid] { DBGridsEnter(grid); }); });
        connect(grid, &QAbstractItemView::doubleClicked, this, [this, grid] { akcja([this, grid] { DBGridsDblClick(grid); }); });
    }
    connect(PrzedmPCtl, &QTabWidget::currentChanged, this, [this] { akcja([this] { PrzedmPCtlChange(); }); });
    for (KomentMarker *marker : {KomentJrPnl, KomentOsPnl, KomentDlkBudPnl})
        connect(marker, &KomentMarker::clicked, this, [this](int tag) { akcja([this, tag] { KomentImgClick(tag); }); });
}

void TRgFrm::utworzPasek()
{
    MainTlbr = new QToolBar(QStringLiteral("Narzędzia podstawowe"), this);
    MainTlbr->setObjectName(QStringLiteral("MainTlbr"));
    MainTlbr->setFloatable(false);
    MainTlbr->setMovable(true);
    MainTlbr->setAllowedAreas(Qt::AllToolBarAreas);
    MainTlbr->setToolButtonStyle(Qt::ToolButtonIconOnly);
    MainTlbr->setIconSize(QSize(16, 16));
    auto przycisk = [this](const char *name, const QString &glyph, const QColor &color, const QString &hint, bool toggle) {
        auto *action = new QAction(ikonaZnaku(glyph, color), app::KrotkaPodpowiedz(hint), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(app::KrotkaPodpowiedz(hint));
        action->setStatusTip(app::DlugaPodpowiedz(hint));
        action->setCheckable(toggle);
        MainTlbr->addAction(action);
        return action;
    };
    const QColor raport(40, 80, 160), okno(0, 120, 110);
    JrRaportTBtn = przycisk("JrRaportTBtn", QStringLiteral("R"), raport, QStringLiteral("Raport dla jednostki rejestrowej"), false);
    WypisSkrTBtn = przycisk("WypisSkrTBtn", QStringLiteral("U"), raport, QStringLiteral("Raport uproszczony"), false);
    connect(JrRaportTBtn, &QAction::triggered, this, [this] { akcja([this] { WypisBtnClick(); }); });
    connect(WypisSkrTBtn, &QAction::triggered, this, [this] { akcja([this] { WypisSkrTBtnClick(); }); });
    MainTlbr->addSeparator();
    KlasouzTBtn = przycisk("KlasouzTBtn", QStringLiteral("K"), okno,
                           QStringLiteral("Klasy i użytki|Otwiera okienko z listą klas i użytków dla działki"), true);
    BudTBtn = przycisk("BudTBtn", QStringLiteral("B"), okno,
                       QStringLiteral("Budynki|Otwiera okienko z listą budynków położonych na działce"), true);
    LokTBtn = przycisk("LokTBtn", QStringLiteral("L"), okno,
                       QStringLiteral("Lokale|Otwiera okienko z listą lokali znajdujących się w danym budynku"), true);
    KomentTBtn = przycisk("KomentTBtn", QStringLiteral("!"), QColor(200, 60, 0), QStringLiteral("Komentarze|Otwiera okienko z komentarzem"), true);
    ZmianyTBtn = przycisk("ZmianyTBtn", QStringLiteral("Z"), okno, QStringLiteral("Zmiany|Otwiera okno zmian"), true);
    // The change history window comes with its own work.
    ZmianyTBtn->setEnabled(false);
    connect(KlasouzTBtn, &QAction::triggered, this, [this] { akcja([this] { KlasouzTBtnClick(); }); });
    connect(BudTBtn, &QAction::triggered, this, [this] { akcja([this] { BudTBtnClick(); }); });
    connect(LokTBtn, &QAction::triggered, this, [this] { akcja([this] { LokTBtnClick(); }); });
    connect(KomentTBtn, &QAction::triggered, this, [this] { akcja([this] { KomentTBtnClick(); }); });
    connect(ZmianyTBtn, &QAction::triggered, this, [this] { akcja([this] { ZmianyTBtnClick(); }); });
    addToolBar(Qt::BottomToolBarArea, MainTlbr);
}

void TRgFrm::utworzKlasouz()
{
    KlasouzTW = new QWidget(this, Qt::Tool);
    KlasouzTW->setObjectName(QStringLiteral("KlasouzTW"));
    KlasouzTW->setWindowTitle(QStringLiteral("Klasy i użytki"));
    KlasouzTW->resize(339, 153);
    KlasouzGrd = new DataGrid(KlasouzTW);
    KlasouzGrd->setObjectName(QStringLiteral("KlasouzGrd"));
    KlasouzGrd->verticalHeader()->hide();
    KlasouzGrd->setColumns({
        {QStringLiteral("UZYTEK"), QStringLiteral("Użytek"), 40, Qt::AlignHCenter},
        {QStringLiteral("KLASA"), QStringLiteral("Klasa"), 40, Qt::AlignHCenter},
        {QStringLiteral("POW"), QStringLiteral("Pow [ha]"), 60, Qt::AlignHCenter},
        {QStringLiteral("Opis"), QString(), 200, Qt::AlignLeft},
    });
    KlasouzGrd->setDataset(KlauzQry);
    auto *layout = new QVBoxLayout(KlasouzTW);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(KlasouzGrd);
    KlasouzTW->installEventFilter(this);
}

void TRgFrm::utworzPrzechowywanie()
{
    FrmStrg.addGeometry(KlasouzTW, QStringLiteral("KlasouzTW"));
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
    FrmStrg.addHeader(DzialkiGrd->horizontalHeader(), QStringLiteral("DzialkiGrd"));
    FrmStrg.addHeader(BudGrd->horizontalHeader(), QStringLiteral("BudGrd"));
}

void TRgFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_ukladWczytany) {
        m_ukladWczytany = true;
        FrmStrg.restore();
    }
}

void TRgFrm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TRgFrm::FormClose()
{
    if (!m_zamkniety && m_ukladWczytany)
        FrmStrg.saveOrReport();
    m_zamkniety = true;
    if (RgFrm == this)
        RgFrm = nullptr;
}

bool TRgFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == KlasouzTW && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        akcja([this] { KlasouzTWVisibleChanged(); });
    } else if (watched == JrLcbx && event->type() == QEvent::FocusIn) {
        akcja([this] { JrLcbxEnter(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

int TRgFrm::KomunikatOkna(int rodzaj, const QString &tekst, const QString &tytul, bool sygnal)
{
    int flagi;
    switch (rodzaj) {
    case 2: flagi = app::mb::YesNo | app::mb::IconWarning; break;
    case 3: flagi = app::mb::Ok | app::mb::IconInformation; break;
    case 4: flagi = app::mb::Ok | app::mb::IconError; break;
    case 5: flagi = app::mb::YesNoCancel | app::mb::IconWarning; break;
    case 6: flagi = app::mb::YesNo | app::mb::IconQuestion; break;
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

void TRgFrm::wykonajTempQry(const QString &text)
{
    TempQry->close();
    TempQry->setSql(text);
    TempQry->open();
}

// ---- navigation ----

void TRgFrm::GminaCbxChange()
{
    if (GminaCbx->currentIndex() < 0)
        throw app::AppError(QStringLiteral("Indeks listy poza zakresem (-1)"));
    GminaId = app::IdZComboBox(GminaCbx);
    wykonajTempQry(QString::fromUtf8(sql::ObrebyGminySql) + QString::number(GminaId));
    app::WypelnijComboBox(ObrebCbx, *TempQry, QStringLiteral("nazwa"), true, QString(), QStringLiteral("mslink"));
    ObrebCbxChange();
}

void TRgFrm::ObrebCbxChange()
{
    if (ObrebCbx->currentIndex() < 0)
        throw app::AppError(QStringLiteral("Indeks listy poza zakresem (-1)"));
    ObrebId = app::IdZComboBox(ObrebCbx);
    JrQry->close();
    JrQry->setParameter(QStringLiteral("ObrebID"), ObrebId, jet::FieldType::Integer);
    JrQry->open();
    wypelnijJrLcbx();
    UstawKluczJr(JrQry->isEmpty() ? QString() : JrQry->asString(QStringLiteral("id_jr")));
}

void TRgFrm::wypelnijJrLcbx()
{
    const QSignalBlocker blocker(JrLcbx);
    JrLcbx->clear();
    const int nr = JrQry->fieldIndex(QStringLiteral("NR_JR"));
    const int id = JrQry->fieldIndex(QStringLiteral("id_jr"));
    QStringList items;
    for (int row = 0; row < JrQry->recordCount(); ++row)
        items << jet::Dataset::valueToText(JrQry->valueAt(row, nr));
    JrLcbx->addItems(items);
    Q_UNUSED(id);
    JrLcbx->setCurrentIndex(-1);
}

void TRgFrm::UstawKluczJr(const QString &klucz)
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

void TRgFrm::JrLcbxChange()
{
    try {
        const double idJr = JrQry->isEmpty() ? 0.0 : JrQry->asFloat(QStringLiteral("id_jr"));
        const QVariant klucz = m_jrKlucz.isEmpty() ? QVariant() : QVariant(jet::Dataset::valueToFloat(m_jrKlucz));
        OsobyQry->close();
        OsobyQry->setParameter(QStringLiteral("IdJr"), idJr, jet::FieldType::Float);
        OsobyQry->open();
        DzialkiQry->close();
        DzialkiQry->setParameter(QStringLiteral("IdJr"), klucz, jet::FieldType::Float);
        DzialkiQry->open();
        BudQry->close();
        BudQry->setParameter(QStringLiteral("IdJr"), klucz, jet::FieldType::Float);
        BudQry->open();
        if (KomentZrodlo == JrQry)
            OdswiezKoment(KomentTW->isVisible());
        JrImg->setVisible(!JrQry->isEmpty() && !JrQry->asString(QStringLiteral("uwagi")).isEmpty());
        PokazKwJr();
    } catch (const std::exception &error) {
        app::Komunikat(app::komunikatWyjatku(error), QStringLiteral("Błąd przy czytaniu danych dla jednostki rejestrowej"),
                       app::mb::Ok | app::mb::IconError);
    }
}

void TRgFrm::PokazKwJr()
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

void TRgFrm::PokazJr(double idJr)
{
    if (JrQry->active() && JrQry->locate(QStringLiteral("id_jr"), idJr)) {
        UstawKluczJr(JrQry->asString(QStringLiteral("id_jr")));
        return;
    }
    wykonajTempQry(QString::fromUtf8(sql::ObrebJrSql) + jet::sqlNumber(idJr));
    const QString nieZnaleziono = QStringLiteral("Nie udało się odnaleźć podanej jednostki rejestrowej.");
    const QString tytul = QStringLiteral("Błąd przy szukaniu JR rejestru gruntów");
    if (TempQry->isEmpty()) {
        KomunikatOkna(1, nieZnaleziono, tytul, true);
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
    KomunikatOkna(1, nieZnaleziono, tytul, true);
}

void TRgFrm::ustawPodpisyZmianKomentarza(const QString &zmiany, const QString &koment)
{
    if (ZmianyTW)
        ZmianyTW->setWindowTitle(zmiany);
    KomentTW->setWindowTitle(koment);
}

void TRgFrm::DBGridsEnter(DataGrid *grid)
{
    jet::Query *query = grid == OsobyGrd ? OsobyQry : grid == DzialkiGrd ? DzialkiQry : BudQry;
    ZmianyZrodlo = query;
    KomentZrodlo = query;
    if (grid == OsobyGrd)
        ustawPodpisyZmianKomentarza(QStringLiteral("Zmiany - osoba"), QStringLiteral("Komentarz - osoba"));
    else if (grid == DzialkiGrd)
        ustawPodpisyZmianKomentarza(QStringLiteral("Zmiany - działka"), QStringLiteral("Komentarz - działka"));
    else
        ustawPodpisyZmianKomentarza(QStringLiteral("Zmiany - budynek"), QStringLiteral("Komentarz - budynek"));
    if (query->active()) {
        const bool wiersz = !query->isEmpty();
        if (grid == OsobyGrd)
            OsobyImg->setVisible(wiersz && OsobyQry->asFloat(QStringLiteral("KOMENT")) != 0);
        else if (grid == DzialkiGrd)
            PrzedmiotImg->setVisible(wiersz && !DzialkiQry->asString(QStringLiteral("uwagi")).isEmpty()
                                     && PrzedmPCtl->currentWidget() == DlkTSh);
        else
            PrzedmiotImg->setVisible(wiersz && !BudQry->asString(QStringLiteral("uwagi")).isEmpty()
                                     && PrzedmPCtl->currentWidget() == BudTSh);
    }
    OdswiezZmiany(ZmianyTW && ZmianyTW->isVisible());
    OdswiezKoment(KomentTW->isVisible());
}

void TRgFrm::JrLcbxEnter()
{
    KomentZrodlo = JrQry;
    KomentTW->setWindowTitle(QStringLiteral("Komentarz - jednostka rejestrowa"));
    OdswiezKoment(KomentTW->isVisible());
}

void TRgFrm::DBGridsDblClick(DataGrid *grid)
{
    if (grid->currentField().toUpper() == QLatin1String("KOM") && !KomentTBtn->isChecked())
        KomentTBtn->trigger();
}

// Focus moves to the list; an inactive window takes no focus, so its enter handling runs here.
static void ustawFokus(QWidget *widget, const std::function<void()> &wejscie)
{
    widget->setFocus(Qt::OtherFocusReason);
    if (!widget->hasFocus())
        wejscie();
}

void TRgFrm::KomentImgClick(int tag)
{
    switch (tag) {
    case 1:
        ustawFokus(JrLcbx, [this] { JrLcbxEnter(); });
        break;
    case 2:
        ustawFokus(OsobyGrd, [this] { DBGridsEnter(OsobyGrd); });
        break;
    case 3: {
        DataGrid *grid = PrzedmPCtl->currentWidget() == DlkTSh ? DzialkiGrd : BudGrd;
        ustawFokus(grid, [this, grid] { DBGridsEnter(grid); });
        break;
    }
    default:
        return;
    }
    if (!KomentTBtn->isChecked())
        KomentTBtn->trigger();
}

void TRgFrm::PrzedmPCtlChange()
{
    DataGrid *grid = PrzedmPCtl->currentWidget() == DlkTSh ? DzialkiGrd : BudGrd;
    ustawFokus(grid, [this, grid] { DBGridsEnter(grid); });
}

// ---- details ----

void TRgFrm::DzialkiQryAfterOpen()
{
    long double suma = 0;
    int liczba = 0;
    {
        WylaczoneKontrolki wylaczone(DzialkiQry);
        DzialkiQry->first();
        while (!DzialkiQry->eof()) {
            const QString area = DzialkiQry->asString(QStringLiteral("AREA"));
            bool ok = false;
            const double value = jet::textToNumber(area, &ok);
            if (!ok || area.trimmed().isEmpty())
                throw app::AppError(QStringLiteral("'%1' nie jest poprawną wartością zmiennoprzecinkową").arg(area));
            suma += value;
            ++liczba;
            DzialkiQry->next();
        }
        DzialkiQry->first();
    }
    PrzedmPCtl->setTabText(PrzedmPCtl->indexOf(DlkTSh), QStringLiteral("Działki: ") + QString::number(liczba));
    SumPowDzPnl->setText(QStringLiteral(" Suma pow. działek: ") + jet::formatNumber(double(suma), QStringLiteral("########0.0000"))
                         + QStringLiteral(" ha"));
}

void TRgFrm::BudQryAfterOpen()
{
    int liczba = 0;
    {
        WylaczoneKontrolki wylaczone(BudQry);
        BudQry->first();
        while (!BudQry->eof()) {
            ++liczba;
            BudQry->next();
        }
        BudQry->first();
    }
    PrzedmPCtl->setTabText(PrzedmPCtl->indexOf(BudTSh), QStringLiteral("Budynki: ") + QString::number(liczba));
}

void TRgFrm::OsobyQryAfterOpen()
{
    LiczUdzialy();
}

void TRgFrm::LiczUdzialy()
{
    struct Grupa {
        int liczba = 0;
        long double suma = 0;
    } wlSi, uw, inni;
    {
        WylaczoneKontrolki wylaczone(OsobyQry);
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

void TRgFrm::DzialkiQryAfterScroll()
{
    if (DzialkiQry->controlsDisabled())
        return;
    OdswiezKlasouz(KlasouzTW->isVisible());
    OdswiezBudynki(BudTW->isVisible());
    if (ZmianyZrodlo == DzialkiQry)
        OdswiezZmiany(ZmianyTW && ZmianyTW->isVisible());
    if (KomentZrodlo == DzialkiQry)
        OdswiezKoment(KomentTW->isVisible());
    PrzedmiotImg->setVisible(!DzialkiQry->isEmpty() && !DzialkiQry->asString(QStringLiteral("uwagi")).isEmpty()
                             && PrzedmPCtl->currentWidget() == DlkTSh);
}

void TRgFrm::BudQryAfterScroll()
{
    if (BudQry->controlsDisabled())
        return;
    OdswiezLokale(LokTW->isVisible());
    if (ZmianyZrodlo == BudQry)
        OdswiezZmiany(ZmianyTW && ZmianyTW->isVisible());
    if (KomentZrodlo == BudQry)
        OdswiezKoment(KomentTW->isVisible());
    PrzedmiotImg->setVisible(!BudQry->isEmpty() && !BudQry->asString(QStringLiteral("uwagi")).isEmpty()
                             && PrzedmPCtl->currentWidget() == BudTSh);
}

void TRgFrm::OsobyQryAfterScroll()
{
    if (OsobyQry->controlsDisabled())
        return;
    if (KomentZrodlo == OsobyQry)
        OdswiezKoment(KomentTW->isVisible());
    if (ZmianyZrodlo == OsobyQry)
        OdswiezZmiany(ZmianyTW && ZmianyTW->isVisible());
    OsobyImg->setVisible(!OsobyQry->isEmpty() && OsobyQry->asFloat(QStringLiteral("KOMENT")) != 0);
}

std::optional<QColor> TRgFrm::OsobyGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    if (auto red = kolorKomentarza(cell))
        return red;
    if (cell.selected)
        return QApplication::palette().color(QPalette::Highlight);
    const int wladField = OsobyQry->fieldIndex(QStringLiteral("WLAD_ID"));
    const int rodzajField = OsobyQry->fieldIndex(QStringLiteral("RODZ_WLAD"));
    if (wladField < 0 || rodzajField < 0)
        return std::nullopt;
    try {
        if (jet::Dataset::valueToInteger(OsobyQry->valueAt(cell.row, wladField)) == 2)
            return kolorUstawien(&app::TUstawieniaFrm::kolorUw, app::TUstawieniaFrm::DomyslnyUwColor);
        switch (jet::Dataset::valueToInteger(OsobyQry->valueAt(cell.row, rodzajField))) {
        case 1: return kolorUstawien(&app::TUstawieniaFrm::kolorWla, app::TUstawieniaFrm::DomyslnyWlaColor);
        case 2: return kolorUstawien(&app::TUstawieniaFrm::kolorUk2, app::TUstawieniaFrm::DomyslnyUk2Color);
        case 3: return kolorUstawien(&app::TUstawieniaFrm::kolorUk3, app::TUstawieniaFrm::DomyslnyUk3Color);
        default: return std::nullopt;
        }
    } catch (const std::exception &) {
        return std::nullopt; // a holding form that is no number leaves the default background
    }
}

std::optional<QColor> TRgFrm::DzialkiGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    if (auto red = kolorKomentarza(cell))
        return red;
    if (cell.selected)
        return QApplication::palette().color(QPalette::Highlight);
    return std::nullopt;
}

std::optional<QColor> TRgFrm::BudGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    return kolorKomentarza(cell);
}

void TRgFrm::KlasouzTBtnClick()
{
    if (KlasouzTBtn->isChecked() && !m_klasouzUmieszczone) {
        m_klasouzUmieszczone = true;
        const bool zapisana = !FrmStrg.iniFileName().isEmpty()
                              && app::IniFile(FrmStrg.iniFileName()).ValueExists(FrmStrg.section(), QStringLiteral("KlasouzTW.Left"));
        if (!zapisana) {
            const QRect okno(mapToGlobal(QPoint(0, 0)), size());
            KlasouzTW->move(std::max(0, okno.right() - KlasouzTW->width() - 10), okno.top() + 150);
        }
    }
    KlasouzTW->setVisible(KlasouzTBtn->isChecked());
}

void TRgFrm::KlasouzTWVisibleChanged()
{
    const bool widoczne = KlasouzTW->isVisible();
    KlasouzTBtn->setChecked(widoczne);
    OdswiezKlasouz(widoczne);
}

void TRgFrm::BudTBtnClick()
{
    BudTW->setVisible(BudTBtn->isChecked());
    OdswiezBudynki(BudTW->isVisible());
}

void TRgFrm::LokTBtnClick()
{
    LokTW->setVisible(LokTBtn->isChecked());
    OdswiezLokale(LokTW->isVisible());
}

void TRgFrm::KomentTBtnClick()
{
    KomentTW->setVisible(KomentTBtn->isChecked());
    OdswiezKoment(KomentTW->isVisible());
}

void TRgFrm::ZmianyTBtnClick()
{
    if (!ZmianyTW)
        return;
    ZmianyTW->setVisible(ZmianyTBtn->isChecked());
    OdswiezZmiany(ZmianyTW->isVisible());
}

// The extract of the current unit, limited to the parcels selected in the grid (if any).
void TRgFrm::WypisBtnClick()
{
    QString lista;
    app::ListaZaznaczonychDBGrid(DzialkiGrd, QStringLiteral("mslink"), lista);
    if (reports::WypisyDM)
        reports::WypisyDM->WypisJr(JrKlucz(), lista);
}

// The short extract of the selected parcels, by a module made for this report.
void TRgFrm::WypisSkrTBtnClick()
{
    QString lista;
    app::ListaZaznaczonychDBGrid(DzialkiGrd, QStringLiteral("mslink"), lista);
    if (lista.isEmpty()) {
        app::Komunikat(QStringLiteral("Zaznacz działki, dla których chcesz wykonać wypis."), QString(),
                       app::mb::IconWarning);
        return;
    }
    reports::TWypisSkrRgDM wypis(*m_baza, *app::MainFrm->TempQry, app::MainFrm->Rtf1, qApp);
    wypis.WypisSort(lista);
}

void TRgFrm::OdswiezKlasouz(bool widoczne)
{
    KlauzQry->close();
    if (!widoczne)
        return;
    const double mslink = DzialkiQry->active() && !DzialkiQry->isEmpty() ? DzialkiQry->asFloat(QStringLiteral("MSLINK")) : 0.0;
    KlauzQry->setParameter(QStringLiteral("MslDlk"), mslink, jet::FieldType::Float);
    KlauzQry->open();
}

void TRgFrm::OdswiezBudynki(bool widoczne)
{
    const bool wiersz = DzialkiQry->active() && !DzialkiQry->isEmpty();
    double id = wiersz ? DzialkiQry->asFloat(QStringLiteral("dzialka_id")) : 0.0;
    if (id == 0)
        id = -1;
    BudTW->setWindowTitle(QStringLiteral("Budynki na działce ") + (wiersz ? DzialkiQry->asString(QStringLiteral("numer")) : QString()));
    BudTW->PokazBudynki(widoczne, id);
}

void TRgFrm::OdswiezLokale(bool widoczne)
{
    const bool wiersz = BudQry->active() && !BudQry->isEmpty();
    double id = wiersz ? BudQry->asFloat(QStringLiteral("budynek_id")) : 0.0;
    if (id == 0)
        id = -1;
    LokTW->setWindowTitle(QStringLiteral("Lokale w budynku ") + (wiersz ? BudQry->asString(QStringLiteral("nieruch_id")) : QString()));
    LokTW->PokazLokale(widoczne, id);
}

void TRgFrm::OdswiezKoment(bool widoczne)
{
    if (!KomentZrodlo || !KomentZrodlo->isOpen())
        return;
    KomentTW->PokazKoment(widoczne, KomentZrodlo->isEmpty() ? QString() : KomentZrodlo->asString(QStringLiteral("uwagi")));
}

// The change history window comes with its own work; until then there is nothing to refresh.
void TRgFrm::OdswiezZmiany(bool widoczne)
{
    Q_UNUSED(widoczne);
}

} // namespace katarix::browsers
