#include "persons/KarOsFrm.h"

#include "app/Akcja.h"
#include "app/FormPlacement.h"
#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/Podpowiedzi.h"
#include "app/Sesja.h"
#include "jet/Dataset.h"
#include "jet/NumberText.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/TWjrOsobyFrm.h"
#include "reports/ZestGrOs.h"
#include "widgets/SkalaProjektu.h"

#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>

// Resources of a static library are registered by hand.
static void zaladujIkony() { Q_INIT_RESOURCE(persons); }

namespace katarix::persons {

namespace {

// Report-style cells with grid lines.
class SiatkaDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
};

// Hourglass cursor and suspended repainting of a widget for the lifetime of the object.
class ZmianaWsadowa {
public:
    explicit ZmianaWsadowa(QWidget *widget, bool &wsad) : m_widget(widget), m_wsad(wsad)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_widget->setUpdatesEnabled(false);
        m_wsad = true;
    }
    ~ZmianaWsadowa()
    {
        m_wsad = false;
        m_widget->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    }

private:
    QWidget *m_widget;
    bool &m_wsad;
};

} // namespace

WierszOsoby::WierszOsoby(TKarOsFrm *kartoteka, const TIdentOs &ident) : Ident(ident), m_kartoteka(kartoteka) {}

bool WierszOsoby::operator<(const QTreeWidgetItem &other) const { return m_kartoteka->LvCompare(this, &other) < 0; }

QString TKarOsFrm::sekcjaOkna() { return QStringLiteral("KATARIX.KarOsFrm"); }
QString TKarOsFrm::prefiksPaskow() { return QStringLiteral("KATARIX.KART_OS_TOOLBARS."); }

TKarOsFrm::TKarOsFrm(QWidget *parent, jet::Database *database) : QMainWindow(parent)
{
    zaladujIkony();
    jet::Database *baza = app::bazaProgramu(database);
    if (app::MainFrm)
        m_plikIni = app::MainFrm->PlikIni;
    setObjectName(QStringLiteral("KarOsFrm"));
    m_porzadek.setCaseSensitivity(Qt::CaseSensitive);
    setWindowTitle(QStringLiteral("Kartoteka osób"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/osoby.svg")));
    utworzKomponenty();
    PokazIlosc(QStringLiteral("0/0"));
    KolumnaSortowania = -1;
    DodFizFrm = new TDodFizFrm(this, baza);
    DodPrawFrm = new TDodPrawFrm(this, baza);
    m_baza = baza;
    TWjrOsobyFrm = new TTWjrOsobyFrm(this);
    connect(TWjrOsobyFrm->CzytajSB, &QAbstractButton::clicked, this, [this] { JrTBClick(); });
    if (!m_plikIni.isEmpty()) {
        IniSave.Init(this, m_plikIni, true, true, sekcjaOkna());
        app::restoreToolBarPositions(this, app::IniFile(m_plikIni), prefiksPaskow());
    }
}

TKarOsFrm::~TKarOsFrm() = default;

void TKarOsFrm::utworzKomponenty()
{
    resize(widgets::projektowe(QSize(560, 360)));

    auto toolBar = [this](const char *name, const QString &title) {
        auto *tlb = new QToolBar(title, this);
        tlb->setObjectName(QString::fromLatin1(name));
        tlb->setFloatable(false);
        tlb->setIconSize(QSize(20, 20));
        addToolBar(Qt::TopToolBarArea, tlb);
        return tlb;
    };
    auto button = [](QToolBar *tlb, const char *name, const QString &icon, const QString &hint) {
        auto *action = tlb->addAction(QIcon(icon), app::KrotkaPodpowiedz(hint));
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(app::KrotkaPodpowiedz(hint));
        action->setStatusTip(app::DlugaPodpowiedz(hint));
        return action;
    };
    const QString dodaj = QStringLiteral("Dodaj osobę|Dodaje osobę do kartoteki");
    MainTlb = toolBar("MainTlb", QStringLiteral("Narzędzia podstawowe"));
    DodajFizTBtn = button(MainTlb, "DodajFizTBtn", QStringLiteral(":/persons/osoba_fiz.svg"), dodaj);
    DodajPrawTBtn = button(MainTlb, "DodajPrawTBtn", QStringLiteral(":/persons/osoba_praw.svg"), dodaj);
    UsunTBtn = button(MainTlb, "UsunTBtn", QStringLiteral(":/persons/usun.svg"),
                      QStringLiteral("Usuń zaznaczone (Del)|Usuwa z listy zaznaczone osoby"));
    WyczyscTBtn = button(MainTlb, "WyczyscTBtn", QStringLiteral(":/persons/wyczysc.svg"),
                         QStringLiteral("Usuń|Usuwa z listy wszystkie osoby"));
    DodajFizTBtn->setData(1);
    DodajPrawTBtn->setData(2);
    UsunTBtn->setData(3);
    WyczyscTBtn->setData(4);
    ToolsTlb = toolBar("ToolsTlb", QStringLiteral("Informacje dodatkowe"));
    ZestGrOsTBtn = button(ToolsTlb, "ZestGrOsTBtn", QStringLiteral(":/persons/zestawienie.svg"),
                          QStringLiteral("Zestawienie gruntów|Wykonuje zestawienie gruntów w jednostkach rejestrowych"));
    ToolsTlb->addSeparator();
    JrTB = button(ToolsTlb, "JrTB", QStringLiteral(":/persons/jednostki.svg"),
                  QStringLiteral("Jednostki rejestrowe|Lista JR, w których występuje dana osoba"));

    connect(DodajFizTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { DodajFizTBtnClick(1); }); });
    connect(DodajPrawTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { DodajFizTBtnClick(2); }); });
    connect(UsunTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { UsunTBtnClick(); }); });
    connect(WyczyscTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { WyczyscTBtnClick(); }); });
    connect(ZestGrOsTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { ZestGrOsTBtnClick(); }); });
    connect(JrTB, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { JrTBClick(); }); });

    Lv = new QTreeWidget(this);
    Lv->setObjectName(QStringLiteral("Lv"));
    Lv->setColumnCount(3);
    Lv->setHeaderLabels({QStringLiteral("Osoba"), QStringLiteral("Adres"), QStringLiteral("Pesel/Regon")});
    // Room for the sort indicator beside each header text.
    const int strzalka = Lv->style()->pixelMetric(QStyle::PM_HeaderMarkSize) + 2 * Lv->style()->pixelMetric(QStyle::PM_HeaderMargin);
    const int szerokosci[] = {275, 170, 80};
    for (int i = 0; i < 3; ++i)
        Lv->setColumnWidth(i, widgets::szerokoscKolumny(Lv->header()->fontMetrics(), Lv->headerItem()->text(i), szerokosci[i],
                                                        strzalka));
    Lv->setRootIsDecorated(false);
    Lv->setItemsExpandable(false);
    Lv->setUniformRowHeights(true);
    Lv->setAllColumnsShowFocus(true);
    Lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lv->setSortingEnabled(false);
    Lv->setMouseTracking(true);
    Lv->setItemDelegate(new SiatkaDelegate(Lv));
    Lv->header()->setSectionsClickable(true);
    // The header shows the last sort; none before the first.
    Lv->header()->setSortIndicatorShown(true);
    Lv->header()->setSortIndicator(-1, Qt::AscendingOrder);
    // Inactive selection painted as the active one: the selection stays visible without focus.
    QPalette palette = Lv->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    Lv->setPalette(palette);
    Lv->viewport()->installEventFilter(this);
    setCentralWidget(Lv);
    connect(Lv->header(), &QHeaderView::sectionClicked, this, [this](int column) { LvColumnClick(column); });
    connect(Lv, &QTreeWidget::itemSelectionChanged, this, [this] { LvSelectItem(); });
    connect(Lv->model(), &QAbstractItemModel::rowsInserted, this, [this] { LvSelectItem(); });
    connect(Lv->model(), &QAbstractItemModel::rowsRemoved, this, [this] { LvSelectItem(); });

    ListViewPmn = new QMenu(this);
    ListViewPmn->setObjectName(QStringLiteral("ListViewPmn"));
    auto menuItem = [this](const char *name, const QString &text, const QKeySequence &key, int tag) {
        auto *action = ListViewPmn->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setData(tag);
        Lv->addAction(action);
        connect(action, &QAction::triggered, this, [this, tag] { ZaznaczWszystkoMiClick(tag); });
        return action;
    };
    ZaznaczWszystkoMi = menuItem("ZaznaczWszystkoMi", QStringLiteral("&Zaznacz wszystko"),
                                 QKeySequence(Qt::CTRL | Qt::Key_A), 1);
    OdznaczWszystkoMi = menuItem("OdznaczWszystkoMi", QStringLiteral("O&dznacz wszystko"),
                                 QKeySequence(Qt::CTRL | Qt::Key_U), 2);
    OdwrocZaznaczenieMi = menuItem("OdwrocZaznaczenieMi", QStringLiteral("Od&wróć zaznaczenie"),
                                   QKeySequence(Qt::CTRL | Qt::Key_T), 3);
    Lv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Lv, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ListViewPmn->popup(Lv->viewport()->mapToGlobal(pos)); });

    auto *usun = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    usun->setContext(Qt::WidgetWithChildrenShortcut);
    connect(usun, &QShortcut::activated, this, [this] { app::WykonajAkcje([this] { FormKeyDown(Qt::Key_Delete); }); });

    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(widgets::projektowe(150));
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(widgets::projektowe(200));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1);
}

bool TKarOsFrm::event(QEvent *event)
{
    // System menu and minimise box only, set while the new MDI frame is still hidden.
    if (event->type() == QEvent::ParentChange)
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()); sub && !sub->isVisible())
            sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    return QMainWindow::event(event);
}

void TKarOsFrm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TKarOsFrm::FormClose()
{
    if (m_zamkniety)
        return;
    m_zamkniety = true;
    if (!m_plikIni.isEmpty()) {
        try {
            app::IniFile ini(m_plikIni);
            app::saveToolBarPositions(this, ini, prefiksPaskow());
        } catch (const std::exception &error) {
            app::PokazWyjatek(error);
        }
    }
}

bool TKarOsFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Lv->viewport()) {
        if (event->type() == QEvent::MouseMove)
            LvMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            LvMouseMove(QPoint(-1, -1));
    }
    return QMainWindow::eventFilter(watched, event);
}

WierszOsoby *TKarOsFrm::wiersz(int index) const { return static_cast<WierszOsoby *>(Lv->topLevelItem(index)); }

QList<int> TKarOsFrm::numeryZaznaczonych() const
{
    QList<int> wiersze;
    for (const QModelIndex &index : Lv->selectionModel()->selectedRows())
        wiersze << index.row();
    std::sort(wiersze.begin(), wiersze.end());
    return wiersze;
}

QList<WierszOsoby *> TKarOsFrm::zaznaczone() const
{
    QList<WierszOsoby *> out;
    for (int row : numeryZaznaczonych())
        out << wiersz(row);
    return out;
}

// ---- list contents ----

void TKarOsFrm::DodajOsobyZZapytania(jet::Dataset &qry)
{
    const int n = Lv->topLevelItemCount();
    {
        ZmianaWsadowa wsad(Lv, m_wsad);
        Lv->clearSelection();
        // The first row of each person among the rows there before this batch.
        QHash<double, int> istniejace;
        for (int i = n - 1; i >= 0; --i)
            istniejace.insert(wiersz(i)->Ident.mslink, i);
        QList<int> doZaznaczenia;
        QList<QTreeWidgetItem *> nowe;
        qry.first();
        while (!qry.eof()) {
            const double mslink = qry.asFloat(QStringLiteral("mslink"));
            const int indeks = istniejace.value(mslink, -1);
            WierszOsoby *row = indeks >= 0 ? wiersz(indeks) : new WierszOsoby(this, TIdentOs{mslink, 0});
            wypelnijWiersz(row, qry.asString(QStringLiteral("osoba")), qry.asString(QStringLiteral("adres")),
                           qry.asString(QStringLiteral("pesreg")), qry.asFloat(QStringLiteral("adres_id")), mslink);
            if (indeks >= 0) {
                doZaznaczenia << indeks;
            } else {
                doZaznaczenia << n + int(nowe.size());
                nowe << row;
            }
            qry.next();
        }
        Lv->addTopLevelItems(nowe);
        zaznaczWiersze(doZaznaczenia, QItemSelectionModel::Select);
    }
    LvSelectItem();
    Lv->scrollToBottom();
}

void TKarOsFrm::DodajWierszOsoby(const QString &osoba, const QString &adres, int n, const QString &pesreg,
                                 double adresId, double mslink)
{
    WierszOsoby *row = nullptr;
    for (int i = 0; i < n && i < Lv->topLevelItemCount() && !row; ++i)
        if (wiersz(i)->Ident.mslink == mslink)
            row = wiersz(i);
    if (!row) {
        row = new WierszOsoby(this, TIdentOs{mslink, adresId});
        Lv->addTopLevelItem(row);
    }
    wypelnijWiersz(row, osoba, adres, pesreg, adresId, mslink);
    row->setSelected(true);
}

void TKarOsFrm::wypelnijWiersz(WierszOsoby *row, const QString &osoba, const QString &adres, const QString &pesreg,
                               double adresId, double mslink)
{
    row->Ident = TIdentOs{mslink, adresId};
    row->setText(0, osoba);
    row->setText(1, adres);
    row->setText(2, pesreg);
}

void TKarOsFrm::zaznaczWiersze(QList<int> wiersze, QItemSelectionModel::SelectionFlags tryb)
{
    // One selection of contiguous ranges: selecting rows one by one costs the square of their number.
    std::sort(wiersze.begin(), wiersze.end());
    QItemSelection zakresy;
    QAbstractItemModel *model = Lv->model();
    for (qsizetype i = 0; i < wiersze.size();) {
        qsizetype j = i;
        while (j + 1 < wiersze.size() && wiersze[j + 1] <= wiersze[j] + 1)
            ++j;
        zakresy.select(model->index(wiersze[i], 0), model->index(wiersze[j], model->columnCount() - 1));
        i = j + 1;
    }
    Lv->selectionModel()->select(zakresy, tryb | QItemSelectionModel::Rows);
}

void TKarOsFrm::PokazIlosc(const QString &tekst) { StatusPanel0->setText(QStringLiteral("Ilość: ") + tekst); }

void TKarOsFrm::LvSelectItem()
{
    if (m_wsad)
        return;
    PokazIlosc(QStringLiteral("%1/%2").arg(Lv->selectionModel()->selectedRows().size()).arg(Lv->topLevelItemCount()));
}

QString TKarOsFrm::ListaIdOsob() const
{
    QStringList ids;
    for (const WierszOsoby *row : zaznaczone())
        ids << jet::sqlNumber(row->Ident.mslink);
    return ids.join(QLatin1Char(','));
}

QString TKarOsFrm::ListaNazwOsob() const
{
    QStringList names;
    for (const WierszOsoby *row : zaznaczone())
        names << row->text(0);
    return names.join(QLatin1Char(','));
}

// ---- actions ----

void TKarOsFrm::FormKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        UsunTBtnClick();
}

void TKarOsFrm::DodajFizTBtnClick(int tag)
{
    if (tag == 1)
        DodFizFrm->exec();
    else if (tag == 2)
        DodPrawFrm->exec();
}

void TKarOsFrm::UsunTBtnClick()
{
    {
        ZmianaWsadowa wsad(Lv, m_wsad);
        WierszPodKursorem = nullptr;
        const QList<int> wiersze = numeryZaznaczonych();
        // From the last run of neighbouring rows to the first, so that the row numbers stay valid.
        for (qsizetype j = wiersze.size() - 1; j >= 0;) {
            qsizetype i = j;
            while (i > 0 && wiersze[i - 1] == wiersze[i] - 1)
                --i;
            Lv->model()->removeRows(wiersze[i], int(j - i + 1));
            j = i - 1;
        }
    }
    LvSelectItem();
}

void TKarOsFrm::WyczyscTBtnClick()
{
    {
        ZmianaWsadowa wsad(Lv, m_wsad);
        WierszPodKursorem = nullptr;
        Lv->clear();
    }
    PokazIlosc(QStringLiteral("0/0"));
}

void TKarOsFrm::ZaznaczWszystkoMiClick(int tag)
{
    {
        ZmianaWsadowa wsad(Lv, m_wsad);
        if (tag == 1) {
            Lv->selectAll();
        } else if (tag == 3 && Lv->topLevelItemCount() > 0) {
            const QAbstractItemModel *model = Lv->model();
            const QItemSelection wszystkie(model->index(0, 0),
                                           model->index(model->rowCount() - 1, model->columnCount() - 1));
            Lv->selectionModel()->select(wszystkie, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        } else if (tag == 2) {
            Lv->clearSelection();
        }
    }
    LvSelectItem();
}

void TKarOsFrm::LvColumnClick(int column)
{
    if (column == KolumnaSortowania) {
        Rosnaco = !Rosnaco;
    } else {
        KolumnaSortowania = column;
        Rosnaco = true;
    }
    // The comparison itself honours the direction (LvCompare); the header shows it.
    Lv->sortItems(column, Qt::AscendingOrder);
    Lv->header()->setSortIndicator(column, Rosnaco ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int TKarOsFrm::LvCompare(const QTreeWidgetItem *a, const QTreeWidgetItem *b) const
{
    const int column = std::clamp(KolumnaSortowania, 0, 2);
    const int result = m_porzadek.compare(a->text(column), b->text(column));
    return Rosnaco ? result : -result;
}

void TKarOsFrm::LvMouseMove(const QPoint &pos)
{
    QTreeWidgetItem *row = Lv->itemAt(pos);
    if (row == WierszPodKursorem)
        return;
    WierszPodKursorem = row;
    Lv->setToolTip(row ? row->text(0) : QString());
}

void TKarOsFrm::JrTBClick()
{
    const QList<WierszOsoby *> rows = zaznaczone();
    if (rows.size() != 1) {
        app::Komunikat(QStringLiteral("Zaznacz jedną osobę."), QString(), app::mb::IconWarning, true);
        return;
    }
    pokazJednostkiOsoby(ListaNazwOsob(), ListaIdOsob().toDouble());
}

void TKarOsFrm::ZestGrOsTBtnClick()
{
    QList<OsobaZestawienia> osoby;
    for (const WierszOsoby *row : zaznaczone())
        osoby.append(OsobaZestawienia{row->text(0), row->text(1), row->Ident.mslink});
    drukujZestawienie(osoby);
}

void TKarOsFrm::pokazJednostkiOsoby(const QString &opisOsoby, double osobaId)
{
    TWjrOsobyFrm->PokazDlaOsoby(true, opisOsoby, true, osobaId);
}

void TKarOsFrm::drukujZestawienie(const QList<OsobaZestawienia> &osoby)
{
    // The module lives for one summary and is freed also after an error.
    const auto modul = std::make_unique<reports::TZestGrOsDM>(*m_baza, app::MainFrm->Rtf1);
    modul->WyczyscListe();
    for (const OsobaZestawienia &osoba : osoby)
        modul->DodajOsobe(osoba.osoba, osoba.adres, osoba.mslink);
    modul->DrukujZestawienie();
}

} // namespace katarix::persons
