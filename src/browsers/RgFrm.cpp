#include "browsers/RgFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/ListHelpers.h"
#include "app/MainFrm.h"
#include "app/MiejsceNarzedzia.h"
#include "browsers/ToolWindows.h"
#include "jet/ControlsDisabled.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "register/sql/RgQueries.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace katarix::browsers {

using widgets::DataGrid;
namespace sql = reg::sql::rg;

namespace {

constexpr int StronaDzialek = 0;

OpisRejestru opisRejestruGruntow()
{
    return {QStringLiteral("RgFrm"),
            QStringLiteral("Rejestr gruntów"),
            QStringLiteral(":/icons/grunty.svg"),
            QStringLiteral("KATARIX.REJESTR_GRUNTOW"),
            QStringLiteral("RejGrun."),
            sql::JrQry,
            sql::OsobyQry,
            sql::ObrebJrSql,
            QStringLiteral("Błąd przy tworzeniu okna rejestru gruntów"),
            QStringLiteral("Błąd przy szukaniu JR rejestru gruntów"),
            QSize(677, 454),
            true};
}

// The columns of the parcels grid.
QList<DataGrid::Column> kolumnyDzialek()
{
    return {
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
    };
}

// The columns of the buildings grid.
QList<DataGrid::Column> kolumnyBudynkow()
{
    return {
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
    };
}

} // namespace

TRgFrm::TRgFrm(QWidget *parent, jet::Database *database) : TRejestrFrm(opisRejestruGruntow(), parent, database)
{
    DzialkiQry = utworzZapytanie("DzialkiQry", sql::DzialkiQry);
    DzialkiQry->setParameter(QStringLiteral("IdJr"), -1.0, jet::FieldType::Float);
    BudQry = utworzZapytanie("BudQry", sql::BudQry);
    KlauzQry = utworzZapytanie("KlauzQry", sql::KlauzQry);
    KlauzQry->setParameter(QStringLiteral("MslDlk"), 0.0, jet::FieldType::Float);
    connect(DzialkiQry, &jet::Dataset::afterOpen, this, &TRgFrm::DzialkiQryAfterOpen);
    connect(DzialkiQry, &jet::Dataset::afterScroll, this, &TRgFrm::DzialkiQryAfterScroll);
    connect(BudQry, &jet::Dataset::afterOpen, this, &TRgFrm::BudQryAfterOpen);
    connect(BudQry, &jet::Dataset::afterScroll, this, &TRgFrm::BudQryAfterScroll);

    utworzPrzyciski();
    utworzStrony();
    utworzKlasouz();
    dodajSiatke(DzialkiGrd, DzialkiQry, QStringLiteral("Zmiany - działka"), QStringLiteral("Komentarz - działka"),
                [this] { return PrzedmPCtl->currentWidget() == DlkTSh; });
    dodajSiatke(BudGrd, BudQry, QStringLiteral("Zmiany - budynek"), QStringLiteral("Komentarz - budynek"),
                [this] { return PrzedmPCtl->currentWidget() == BudTSh; });
    FrmStrg.addGeometry(KlasouzTW, QStringLiteral("KlasouzTW"));
    FrmStrg.addHeader(DzialkiGrd->horizontalHeader(), QStringLiteral("DzialkiGrd"));
    FrmStrg.addHeader(BudGrd->horizontalHeader(), QStringLiteral("BudGrd"));

    ZmianyZrodlo = DzialkiQry;
    KomentZrodlo = DzialkiQry;
    BudTW = new TTWbudFrm(this, objectName(), baza());
    BudTW->OnClose = [this] {
        BudTBtn->setChecked(false);
        OdswiezBudynki(false);
    };
    LokTW = new TTWlokFrm(this, objectName(), baza());
    LokTW->OnClose = [this] {
        LokTBtn->setChecked(false);
        OdswiezLokale(false);
    };
    zakonczTworzenie();
}

TRgFrm::~TRgFrm() = default;

// Parcels and buildings pages, the area sum and the object marker beside the tabs.
void TRgFrm::utworzStrony()
{
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
    DzialkiGrd->setColumns(kolumnyDzialek());
    DzialkiGrd->setDataset(DzialkiQry);
    DzialkiGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return DzialkiGrdGetCellParams(cell); };
    auto *dlkLayout = new QVBoxLayout(DlkTSh);
    dlkLayout->setContentsMargins(0, 0, 0, 0);
    dlkLayout->addWidget(DzialkiGrd);

    BudGrd = new DataGrid(BudTSh);
    BudGrd->setObjectName(QStringLiteral("BudGrd"));
    BudGrd->setColumns(kolumnyBudynkow());
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
    SumPowDzPnl = panelTekstowy(QStringLiteral("SumPowDzPnl"), QStringLiteral(" Suma pow. działek: "), corner);
    SumPowDzPnl->setMinimumWidth(200);
    KomentDlkBudPnl->setParent(corner);
    cornerLayout->addWidget(SumPowDzPnl);
    cornerLayout->addWidget(KomentDlkBudPnl);
    PrzedmPCtl->setCornerWidget(corner, Qt::TopRightCorner);
    panel5Layout->addWidget(PrzedmPCtl);
    connect(PrzedmPCtl, &QTabWidget::currentChanged, this, [this] { app::WykonajAkcje([this] { PrzedmPCtlChange(); }); });
}

// The report buttons and the three tool window toggles of this window, before the comment and
// change toggles that every register window has.
void TRgFrm::utworzPrzyciski()
{
    const QColor raport(40, 80, 160), okno(0, 120, 110);
    JrRaportTBtn = przycisk("JrRaportTBtn", QStringLiteral("R"), raport, QStringLiteral("Raport dla jednostki rejestrowej"), false);
    WypisSkrTBtn = przycisk("WypisSkrTBtn", QStringLiteral("U"), raport, QStringLiteral("Raport uproszczony"), false);
    connect(JrRaportTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { WypisBtnClick(); }); });
    connect(WypisSkrTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { WypisSkrTBtnClick(); }); });
    MainTlbr->addSeparator();
    KlasouzTBtn = przycisk("KlasouzTBtn", QStringLiteral("K"), okno,
                           QStringLiteral("Klasy i użytki|Otwiera okienko z listą klas i użytków dla działki"), true);
    BudTBtn = przycisk("BudTBtn", QStringLiteral("B"), okno,
                       QStringLiteral("Budynki|Otwiera okienko z listą budynków położonych na działce"), true);
    LokTBtn = przycisk("LokTBtn", QStringLiteral("L"), okno,
                       QStringLiteral("Lokale|Otwiera okienko z listą lokali znajdujących się w danym budynku"), true);
    connect(KlasouzTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { KlasouzTBtnClick(); }); });
    connect(BudTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { BudTBtnClick(); }); });
    connect(LokTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { LokTBtnClick(); }); });
}

void TRgFrm::utworzKlasouz()
{
    KlasouzTW = new QWidget(this, Qt::Tool);
    KlasouzTW->setObjectName(QStringLiteral("KlasouzTW"));
    KlasouzTW->setWindowTitle(QStringLiteral("Klasy i użytki"));
    KlasouzTW->resize(widgets::projektowe(QSize(339, 153)));
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

bool TRgFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == KlasouzTW && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        app::WykonajAkcje([this] { KlasouzTWVisibleChanged(); });
    return TRejestrFrm::eventFilter(watched, event);
}

void TRgFrm::otworzPrzedmioty(const QVariant &klucz)
{
    DzialkiQry->close();
    DzialkiQry->setParameter(QStringLiteral("IdJr"), klucz, jet::FieldType::Float);
    DzialkiQry->open();
    BudQry->close();
    BudQry->setParameter(QStringLiteral("IdJr"), klucz, jet::FieldType::Float);
    BudQry->open();
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
        const jet::ControlsDisabled wylaczone(*DzialkiQry);
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
        const jet::ControlsDisabled wylaczone(*BudQry);
        BudQry->first();
        while (!BudQry->eof()) {
            ++liczba;
            BudQry->next();
        }
        BudQry->first();
    }
    PrzedmPCtl->setTabText(PrzedmPCtl->indexOf(BudTSh), QStringLiteral("Budynki: ") + QString::number(liczba));
}

void TRgFrm::DzialkiQryAfterScroll()
{
    if (DzialkiQry->controlsDisabled())
        return;
    OdswiezKlasouz(KlasouzTW->isVisible());
    OdswiezBudynki(BudTW->isVisible());
    odswiezPoPrzewinieciu(DzialkiQry);
}

void TRgFrm::BudQryAfterScroll()
{
    if (BudQry->controlsDisabled())
        return;
    OdswiezLokale(LokTW->isVisible());
    odswiezPoPrzewinieciu(BudQry);
}

std::optional<QColor> TRgFrm::DzialkiGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    return kolorKomentarzaLubZaznaczenia(cell);
}

std::optional<QColor> TRgFrm::BudGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    return kolorKomentarza(cell);
}

void TRgFrm::KlasouzTBtnClick()
{
    if (KlasouzTBtn->isChecked() && !m_klasouzUmieszczone) {
        m_klasouzUmieszczone = true;
        if (!FrmStrg.hasStoredValue(QStringLiteral("KlasouzTW.Left")))
            app::umiescNarzedzie(*KlasouzTW, *this);
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
    reports::TWypisSkrRgDM wypis(*baza(), *TempQry, app::MainFrm->Rtf1, qApp);
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

} // namespace katarix::browsers
