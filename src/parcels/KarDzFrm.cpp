#include "parcels/KarDzFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/MainFrm.h"
#include "app/Podpowiedzi.h"
#include "app/Sesja.h"
#include "browsers/ToolWindows.h"
#include "jet/JetFunctions.h"
#include "parcels/DodDlkFrm.h"
#include "jet/NumberText.h"
#include "reports/Rpt.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>

namespace katarix::parcels {

TKarDzFrm *KarDzFrm = nullptr;
TDodDlkFrm *DodDlkFrm = nullptr;

namespace {

const QString TytulOkna = QStringLiteral("Kartoteka działek");

// The number a text stands for under the regional settings; nullopt when it is none.
std::optional<double> liczba(const QString &text)
{
    bool ok = false;
    const double value = jet::textToNumber(text, &ok);
    if (!ok || text.trimmed().isEmpty())
        return std::nullopt;
    return value;
}

int znak(double roznica)
{
    return roznica < 0 ? -1 : roznica > 0 ? 1 : 0;
}

// The list is not painted while rows change in bulk; painting resumes however the change ends.
class WstrzymaneOdswiezanie {
public:
    explicit WstrzymaneOdswiezanie(QWidget *widget) : m_widget(widget) { m_widget->setUpdatesEnabled(false); }
    ~WstrzymaneOdswiezanie() { m_widget->setUpdatesEnabled(true); }
    WstrzymaneOdswiezanie(const WstrzymaneOdswiezanie &) = delete;
    WstrzymaneOdswiezanie &operator=(const WstrzymaneOdswiezanie &) = delete;

private:
    QWidget *m_widget;
};

int porownajTeksty(const QString &a, const QString &b, bool rosnaco)
{
    const int wynik = rosnaco ? QString::localeAwareCompare(a, b) : QString::localeAwareCompare(b, a);
    return znak(wynik);
}

// Parcel numbers "licznik/mianownik[-dodatek]": numerators decide, then denominators (cut at
// a further "/"); nullopt when a part needed is no number.
std::optional<int> porownajNumery(const QString &a, const QString &b)
{
    const auto czesci = [](const QString &numer) {
        const qsizetype kreska = numer.indexOf(QLatin1Char('/'));
        if (kreska < 0)
            return std::pair{numer, QStringLiteral("0")};
        return std::pair{numer.left(kreska), numer.mid(kreska + 1)};
    };
    const auto [licznikA, mianownikA] = czesci(a);
    const auto [licznikB, mianownikB] = czesci(b);
    const auto la = liczba(licznikA), lb = liczba(licznikB);
    if (!la || !lb)
        return std::nullopt;
    if (*la != *lb)
        return znak(*la - *lb);
    const auto mianownik = [](const QString &text) { return liczba(text.section(QLatin1Char('/'), 0, 0)); };
    const auto ma = mianownik(mianownikA), mb = mianownik(mianownikB);
    if (!ma || !mb)
        return std::nullopt;
    return znak(*ma - *mb);
}

double powierzchnia(const QTreeWidgetItem *item)
{
    const QString text = item->text(4);
    const auto value = liczba(text);
    if (!value)
        throw app::AppError(QStringLiteral("'%1' nie jest poprawną wartością zmiennoprzecinkową").arg(text));
    return *value;
}

// Grid lines between the cells of the list.
class Siatka : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(QColor(208, 208, 208));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

// The row order of the list's own sort: the window's comparison for the sorted column.
class WierszListy : public TDlkItem {
public:
    bool operator<(const QTreeWidgetItem &other) const override
    {
        return PorownajWiersze(*this, other, treeWidget()->sortColumn(), true) < 0;
    }
};

} // namespace

int PorownajWiersze(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna, bool rosnaco)
{
    const QString ta = a.text(kolumna), tb = b.text(kolumna);
    std::optional<int> wynik;
    if (kolumna == 0) {
        wynik = porownajNumery(ta, tb);
    } else {
        const auto na = liczba(ta), nb = liczba(tb);
        if (na && nb)
            wynik = znak(*na - *nb);
    }
    if (!wynik)
        return porownajTeksty(ta, tb, rosnaco);
    return rosnaco ? *wynik : -*wynik;
}

TKarDzFrm::TKarDzFrm(QWidget *parent, jet::Database *database) : QMainWindow(parent)
{
    KarDzFrm = this;
    m_baza = app::bazaProgramu(database);
    setObjectName(QStringLiteral("KarDzFrm"));
    setWindowTitle(TytulOkna);
    setWindowIcon(QIcon(QStringLiteral(":/icons/dzialki.svg")));
    setMinimumSize(widgets::projektowe(QSize(280, 200)));
    resize(widgets::projektowe(QSize(420, 330)));
    utworzKomponenty();

    if (!DodDlkFrm)
        DodDlkFrm = new TDodDlkFrm(this, m_baza);
    if (app::MainFrm)
        m_iniSave.Init(this, app::MainFrm->PlikIni, true, true, QStringLiteral("KATARIX.KarDzFrm"));
    BudTW = new browsers::TTWbudFrm(this, QStringLiteral("KarDzFrm"), m_baza);
    BudTW->OnClose = [this] { app::WykonajAkcje([this] { BudynkiZamkniete(); }); };
    PokazIlosc(QStringLiteral("0/0"));
    PokazSumy(true);
}

TKarDzFrm::~TKarDzFrm()
{
    if (!m_zamkniete)
        FormClose();
}

void TKarDzFrm::utworzKomponenty()
{
    MainTlb = new QToolBar(QStringLiteral("Narzędzia podstawowe"), this);
    RaportTlb = new QToolBar(QStringLiteral("Raporty"), this);
    SzczegTlb = new QToolBar(QStringLiteral("Informacje dodatkowe"), this);
    for (auto [pasek, nazwa] : {std::pair{MainTlb, "MainTlb"}, std::pair{RaportTlb, "RaportTlb"}, std::pair{SzczegTlb, "SzczegTlb"}}) {
        pasek->setObjectName(QString::fromLatin1(nazwa));
        pasek->setFloatable(false);
        pasek->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, pasek);
    }
    DodajTBtn = przycisk(MainTlb, "DodajTBtn", QStringLiteral("+"), QStringLiteral("Dodaj działkę (+)|Dodaje działki do kartoteki"));
    UsunTBtn = przycisk(MainTlb, "UsunTBtn", QStringLiteral("−"), QStringLiteral("Usuń zaznaczone działki (Del)|Usuwa z listy zaznaczone działki"));
    WyczyscTBtn = przycisk(MainTlb, "WyczyscTBtn", QStringLiteral("×"), QStringLiteral("Usuń wszystkie|Usuwa z listy wszystkie działki"));
    MainTlb->addSeparator();
    PrzejscieRGTBtn = przycisk(MainTlb, "PrzejscieRGTBtn", QStringLiteral("G"),
                               QStringLiteral("Przejście do rejestru gruntów|Przenosi do jednostki rejestrowej działki"));
    JrRaportTBtn = przycisk(RaportTlb, "JrRaportTBtn", QStringLiteral("R"), QStringLiteral("Raport dla jednostki rejestrowej"));
    WypisSkrTBtn = przycisk(RaportTlb, "WypisSkrTBtn", QStringLiteral("U"), QStringLiteral("Raport uproszczony"));
    WkzDlkWladBtn = przycisk(RaportTlb, "WkzDlkWladBtn", QStringLiteral("W"), QStringLiteral("Wykaz działek z władającymi"));
    BudTBtn = przycisk(SzczegTlb, "BudTBtn", QStringLiteral("B"),
                       QStringLiteral("Budynki|Otwiera okienko z listą budynków położonych na działce"));
    BudTBtn->setCheckable(true);

    connect(DodajTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { DodajSBClick(); }); });
    connect(UsunTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { UsunSBClick(); }); });
    connect(WyczyscTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { ClearSBClick(); }); });
    connect(PrzejscieRGTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { PrzejscieRGTBtnClick(); }); });
    connect(JrRaportTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { JrRaportTBtnClick(); }); });
    connect(WypisSkrTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { WypisSkrTBtnClick(); }); });
    connect(WkzDlkWladBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { WkzDlkWladBtnClick(); }); });
    connect(BudTBtn, &QAction::triggered, this, [this] { app::WykonajAkcje([this] { BudTBtnClick(); }); });

    Lv = new QTreeWidget(this);
    Lv->setObjectName(QStringLiteral("Lv"));
    Lv->setRootIsDecorated(false);
    Lv->setUniformRowHeights(true);
    Lv->setAllColumnsShowFocus(true);
    Lv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lv->setSortingEnabled(false);
    Lv->setItemDelegate(new Siatka(Lv));
    struct Kolumna {
        const char *tytul;
        int szerokosc;
        Qt::Alignment wyrownanie;
    };
    const Kolumna kolumny[] = {{"Nr działki", 70, Qt::AlignLeft}, {"Ark", 40, Qt::AlignHCenter},
                               {"JR", 55, Qt::AlignHCenter},       {"Obręb", 90, Qt::AlignHCenter},
                               {"Pow.ewid.", 65, Qt::AlignRight},  {"Stan", 35, Qt::AlignHCenter}};
    auto *naglowek = new QTreeWidgetItem;
    Lv->setColumnCount(6);
    for (int i = 0; i < 6; ++i) {
        naglowek->setText(i, QString::fromUtf8(kolumny[i].tytul));
        naglowek->setTextAlignment(i, kolumny[i].wyrownanie | Qt::AlignVCenter);
    }
    Lv->setHeaderItem(naglowek);
    // Room for the sort indicator beside each header text.
    const int strzalka = Lv->style()->pixelMetric(QStyle::PM_HeaderMarkSize) + 2 * Lv->style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int i = 0; i < 6; ++i)
        Lv->header()->resizeSection(i, widgets::szerokoscKolumny(Lv->header()->fontMetrics(), naglowek->text(i),
                                                                 kolumny[i].szerokosc, strzalka));
    Lv->header()->setSectionsClickable(true);
    Lv->header()->setSortIndicatorShown(true);
    Lv->header()->setSortIndicator(-1, Qt::AscendingOrder);
    Lv->header()->setStretchLastSection(false);
    connect(Lv->header(), &QHeaderView::sectionClicked, this, [this](int c) { app::WykonajAkcje([this, c] { LvColumnClick(c); }); });
    connect(Lv, &QTreeWidget::itemSelectionChanged, this, [this] { app::WykonajAkcje([this] { LvSelectItem(); }); });
    Lv->installEventFilter(this);
    Lv->viewport()->installEventFilter(this);
    setCentralWidget(Lv);

    ListViewPmn = new QMenu(this);
    ListViewPmn->setObjectName(QStringLiteral("ListViewPmn"));
    const auto pozycja = [this](const char *name, const QString &caption, const QKeySequence &shortcut, int tag) {
        QAction *action = ListViewPmn->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        // The keys work in the list, not only while the menu is open.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        Lv->addAction(action);
        action->setData(tag);
        connect(action, &QAction::triggered, this, [this, tag] { app::WykonajAkcje([this, tag] { ZaznaczWszystkoMiClick(tag); }); });
        return action;
    };
    ZaznaczWszystkoMi = pozycja("ZaznaczWszystkoMi", QStringLiteral("&Zaznacz wszystko"), QKeySequence(QStringLiteral("Ctrl+A")), 1);
    OdznaczWszystkoMi = pozycja("OdznaczWszystkoMi", QStringLiteral("O&dznacz wszystko"), QKeySequence(QStringLiteral("Ctrl+U")), 2);
    OdwrocZaznaczenieMi = pozycja("OdwrocZaznaczenieMi", QStringLiteral("Od&wróć zaznaczenie"), QKeySequence(QStringLiteral("Ctrl+T")), 3);
    Lv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Lv, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ListViewPmn->popup(Lv->viewport()->mapToGlobal(pos)); });

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    StatusPanel0 = new QLabel(StatusBar);
    StatusPanel1 = new QLabel(StatusBar);
    StatusPanel0->setFixedWidth(widgets::projektowe(120));
    StatusPanel1->setMinimumWidth(widgets::projektowe(250));
    for (QLabel *panel : {StatusPanel0, StatusPanel1}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar->addWidget(panel);
    }
    setStatusBar(StatusBar);
}

QAction *TKarDzFrm::przycisk(QToolBar *pasek, const char *name, const QString &glyph, const QString &hint)
{
    auto *action = new QAction(browsers::ikonaZnaku(glyph, QColor(40, 80, 160)), app::KrotkaPodpowiedz(hint), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(app::KrotkaPodpowiedz(hint));
    action->setStatusTip(app::DlugaPodpowiedz(hint));
    pasek->addAction(action);
    return action;
}

// ---- rows ----

TDlkItem *TKarDzFrm::wiersz(int index) const
{
    return static_cast<TDlkItem *>(Lv->topLevelItem(index));
}

QList<TDlkItem *> TKarDzFrm::zaznaczone() const
{
    QModelIndexList rows = Lv->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<TDlkItem *> out;
    out.reserve(rows.size());
    for (const QModelIndex &index : rows)
        out << wiersz(index.row());
    return out;
}

int TKarDzFrm::liczbaZaznaczonych() const
{
    return int(Lv->selectionModel()->selectedRows().size());
}

void TKarDzFrm::RozpocznijWsad()
{
    Lv->clearSelection();
    Lv->setUpdatesEnabled(false);
    ++m_wsad;
    m_wsadZaznaczone.clear();
    m_wsadIstniejace.clear();
    m_wsadN = -1;
}

void TKarDzFrm::ZakonczWsad()
{
    if (m_wsad == 0)
        return;
    --m_wsad;
    const WstrzymaneOdswiezanie wstrzymane(Lv); // resumes the painting the batch suspended
    // One selection of the rows found, in ranges of neighbouring rows.
    QList<int> rows;
    for (QTreeWidgetItem *item : std::as_const(m_wsadZaznaczone))
        rows << item->data(0, Qt::UserRole).toInt();
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const int ostatniaKolumna = Lv->columnCount() - 1;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        selection.select(Lv->model()->index(rows[i], 0), Lv->model()->index(rows[j], ostatniaKolumna));
        i = j + 1;
    }
    Lv->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!m_wsadZaznaczone.isEmpty())
        Lv->scrollToItem(m_wsadZaznaczone.last());
    m_wsadZaznaczone.clear();
    m_wsadIstniejace.clear();
    Lv->viewport()->update();
    LvSelectItem();
    PokazSumy(true);
}

void TKarDzFrm::DodajDzialke(const QString &numer, const QString &arkusz, double mslink, double dzialka_id,
                             double arkusz_id, double id_jr, const QString &jr, qint32 obreb_id, const QString &obreb,
                             const QString &pow_opis, double zmiana_id, double zmiana_kas_id, int n)
{
    const int istniejace = std::min(n, Lv->topLevelItemCount());
    TDlkItem *item = nullptr;
    if (m_wsad) {
        // Within a batch the earlier rows are indexed once: the first row of each mslink.
        if (m_wsadN != n) {
            m_wsadN = n;
            m_wsadIstniejace.clear();
            for (int i = istniejace - 1; i >= 0; --i)
                m_wsadIstniejace.insert(wiersz(i)->Ident.mslink, wiersz(i));
        }
        item = m_wsadIstniejace.value(mslink, nullptr);
    } else {
        for (int i = 0; i < istniejace && !item; ++i)
            if (wiersz(i)->Ident.mslink == mslink)
                item = wiersz(i);
    }
    const bool nowy = !item;
    if (nowy)
        item = new WierszListy;
    item->Ident = TIdentDlk{mslink, dzialka_id, arkusz_id, id_jr, obreb_id, zmiana_id, zmiana_kas_id};
    item->setText(0, numer);
    item->setText(1, arkusz);
    item->setText(2, jr);
    item->setText(3, obreb);
    item->setText(4, pow_opis);
    item->setText(5, zmiana_kas_id == 0 ? QStringLiteral("Akt") : QStringLiteral("Hist"));
    for (int c = 1; c < 6; ++c)
        item->setTextAlignment(c, (c == 4 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    if (nowy) {
        item->setData(0, Qt::UserRole, Lv->topLevelItemCount());
        Lv->addTopLevelItem(item);
    }
    if (m_wsad) {
        m_wsadZaznaczone << item;
        return;
    }
    item->setSelected(true);
    Lv->scrollToItem(item);
    pokazLiczby();
}

// ---- counts and sums ----

void TKarDzFrm::PokazIlosc(const QString &tekst)
{
    StatusPanel0->setText(QStringLiteral("Ilość: ") + tekst);
}

void TKarDzFrm::pokazLiczby()
{
    PokazIlosc(QString::number(liczbaZaznaczonych()) + QLatin1Char('/') + QString::number(Lv->topLevelItemCount()));
}

void TKarDzFrm::PokazSumy(bool wszystkie)
{
    double zaznaczonych = 0;
    double wszystkich = PowWszystkich;
    if (wszystkie) {
        wszystkich = 0;
        const QItemSelectionModel *selection = Lv->selectionModel();
        for (int i = 0; i < Lv->topLevelItemCount(); ++i) {
            const double pow = powierzchnia(wiersz(i));
            wszystkich += pow;
            if (selection->isRowSelected(i))
                zaznaczonych += pow;
        }
    } else {
        for (const TDlkItem *item : zaznaczone())
            zaznaczonych += powierzchnia(item);
    }
    PowZaznaczonych = zaznaczonych;
    PowWszystkich = wszystkich;
    StatusPanel1->setText(QStringLiteral("Suma pow: ") + jet::fixedText(PowZaznaczonych, 4) + QStringLiteral(" / ")
                          + jet::fixedText(PowWszystkich, 4) + QStringLiteral("  [ha]"));
}

void TKarDzFrm::LvSelectItem()
{
    if (m_wsad || QCoreApplication::closingDown())
        return;
    pokazLiczby();
    if (BudTW->isVisible())
        OdswiezBudynki(liczbaZaznaczonych() == 1);
}

// ---- sorting ----

void TKarDzFrm::LvColumnClick(int kolumna)
{
    if (kolumna == KolumnaSortowania) {
        Rosnaco = !Rosnaco;
    } else {
        KolumnaSortowania = kolumna;
        Rosnaco = true;
    }
    Lv->sortItems(kolumna, Rosnaco ? Qt::AscendingOrder : Qt::DescendingOrder);
    // Rows keep their place in the list as their identity for batches.
    for (int i = 0; i < Lv->topLevelItemCount(); ++i)
        Lv->topLevelItem(i)->setData(0, Qt::UserRole, i);
}

// ---- removing and selecting ----

void TKarDzFrm::usunWiersze(bool wszystkie)
{
    {
        app::KursorKlepsydry kursor;
        const WstrzymaneOdswiezanie wstrzymane(Lv);
        const QSignalBlocker blocker(Lv);
        if (wszystkie) {
            Lv->clear();
        } else {
            const QList<TDlkItem *> rows = zaznaczone();
            for (TDlkItem *item : rows)
                delete item;
        }
        for (int i = 0; i < Lv->topLevelItemCount(); ++i)
            Lv->topLevelItem(i)->setData(0, Qt::UserRole, i);
    }
    LvSelectItem();
}

void TKarDzFrm::UsunSBClick()
{
    usunWiersze(false);
    PokazSumy(true);
}

void TKarDzFrm::ClearSBClick()
{
    usunWiersze(true);
    PokazIlosc(QStringLiteral("0/0"));
    PokazSumy(true);
}

void TKarDzFrm::ZaznaczWszystkoMiClick(int tag)
{
    {
        const WstrzymaneOdswiezanie wstrzymane(Lv);
        const int rows = Lv->topLevelItemCount();
        if (rows > 0) {
            const QItemSelection all(Lv->model()->index(0, 0), Lv->model()->index(rows - 1, Lv->columnCount() - 1));
            switch (tag) {
            case 1: Lv->selectionModel()->select(all, QItemSelectionModel::Select | QItemSelectionModel::Rows); break;
            case 2: Lv->clearSelection(); break;
            case 3: Lv->selectionModel()->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows); break;
            default: break;
            }
        }
    }
    PokazSumy(false);
}

// ---- keys and mouse ----

bool TKarDzFrm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool numeryczna = modifiers & Qt::KeypadModifier;
    if (key == Qt::Key_Plus && numeryczna) {
        DodajSBClick();
        return true;
    }
    if (key == Qt::Key_Delete || (key == Qt::Key_Minus && numeryczna)) {
        UsunSBClick();
        return true;
    }
    return false;
}

void TKarDzFrm::LvKeyUp(int key)
{
    switch (key) {
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down: case Qt::Key_Home: case Qt::Key_End:
        PokazSumy(false);
        break;
    default:
        break;
    }
}

void TKarDzFrm::LvMouseUp()
{
    PokazSumy(false);
}

bool TKarDzFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Lv && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const auto ctrl = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
        for (QAction *item : {ZaznaczWszystkoMi, OdznaczWszystkoMi, OdwrocZaznaczenieMi}) {
            if (ctrl == Qt::ControlModifier && QKeySequence(key->keyCombination()) == item->shortcut()) {
                if (event->type() == QEvent::KeyPress)
                    item->trigger();
                event->accept();
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress) {
            bool handled = false;
            app::WykonajAkcje([&] { handled = FormKeyDown(key->key(), key->modifiers()); });
            if (handled)
                return true;
        }
    } else if (watched == Lv && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        app::WykonajAkcje([this, key] { LvKeyUp(key); });
    } else if (watched == Lv->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the view has handled the release, so that the selection is final.
        const bool result = QMainWindow::eventFilter(watched, event);
        QMetaObject::invokeMethod(this, [this] { app::WykonajAkcje([this] { LvMouseUp(); }); }, Qt::QueuedConnection);
        return result;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- actions ----

void TKarDzFrm::DodajSBClick()
{
    if (DodDlkFrm)
        DodDlkFrm->exec();
}

void TKarDzFrm::PrzejscieRGTBtnClick()
{
    const QList<TDlkItem *> rows = zaznaczone();
    if (rows.isEmpty()) {
        app::Komunikat(QStringLiteral("Wskaż jakąś działkę."), TytulOkna, app::mb::IconWarning);
        return;
    }
    if (rows.size() > 1) {
        app::Komunikat(QStringLiteral("Wybierz tylko jedną działkę."), TytulOkna, app::mb::IconWarning);
        return;
    }
    if (app::MainFrm)
        app::MainFrm->PokazRejestrGruntow(rows.first()->Ident.id_jr);
}

QString TKarDzFrm::ListaMslink() const
{
    QStringList out;
    for (const TDlkItem *item : zaznaczone())
        out << jet::sqlNumber(item->Ident.mslink);
    return out.join(QLatin1Char(','));
}

QString TKarDzFrm::ListaIdJr() const
{
    QStringList out;
    for (const TDlkItem *item : zaznaczone())
        out << jet::sqlNumber(item->Ident.id_jr);
    return out.join(QLatin1Char(','));
}

namespace {
void nieZaznaczono()
{
    app::Komunikat(QStringLiteral("Nie zaznaczono działek."), TytulOkna, app::mb::IconWarning);
}
} // namespace

void TKarDzFrm::JrRaportTBtnClick()
{
    const QString jednostki = ListaIdJr();
    const QString dzialki = ListaMslink();
    if (jednostki.isEmpty() || dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    if (reports::WypisyDM)
        reports::WypisyDM->WypisJr(jednostki, dzialki);
}

void TKarDzFrm::WypisSkrTBtnClick()
{
    const QString dzialki = ListaMslink();
    if (dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    if (!app::MainFrm)
        return;
    reports::TWypisSkrRgDM wypis(*m_baza, *app::pozyczTempQry(m_baza, this), app::MainFrm->Rtf1, qApp);
    wypis.WypisSort(dzialki);
}

void TKarDzFrm::WkzDlkWladBtnClick()
{
    const QString dzialki = ListaMslink();
    if (dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    reports::TRptDM rpt(*m_baza, qApp);
    rpt.WykazDlkWlad(dzialki);
}

// ---- buildings ----

void TKarDzFrm::BudTBtnClick()
{
    BudTW->setVisible(BudTBtn->isChecked());
    OdswiezBudynki(BudTW->isVisible() && liczbaZaznaczonych() == 1);
}

void TKarDzFrm::OdswiezBudynki(bool widoczne)
{
    const QList<TDlkItem *> rows = zaznaczone();
    double id = rows.isEmpty() ? -10 : rows.first()->Ident.dzialka_id;
    if (id == 0)
        id = -1;
    if (!rows.isEmpty())
        BudTW->setWindowTitle(QStringLiteral("Budynki na działce ") + rows.first()->text(0));
    BudTW->PokazBudynki(widoczne, id);
}

void TKarDzFrm::BudynkiZamkniete()
{
    BudTBtn->setChecked(false);
    OdswiezBudynki(false);
}

// ---- closing ----

bool TKarDzFrm::event(QEvent *event)
{
    // In the main window's MDI area: system menu, minimise and close, no maximise box.
    if (event->type() == QEvent::ParentChange)
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    return QMainWindow::event(event);
}

void TKarDzFrm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TKarDzFrm::FormClose()
{
    if (m_zamkniete)
        return;
    m_zamkniete = true;
    if (DodDlkFrm && DodDlkFrm->parent() == this) {
        delete DodDlkFrm;
        DodDlkFrm = nullptr;
    }
    if (KarDzFrm == this)
        KarDzFrm = nullptr;
}

} // namespace katarix::parcels
