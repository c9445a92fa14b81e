#include "widgets/ListaRobocza.h"

#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace katarix::widgets {

namespace {

// Cells aligned as their column, with grid lines on their right and bottom edges.
class Siatka : public QStyledItemDelegate {
public:
    Siatka(const QList<Qt::Alignment> &wyrownania, QObject *parent)
        : QStyledItemDelegate(parent), m_wyrownania(wyrownania)
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < m_wyrownania.size())
            option->displayAlignment = m_wyrownania[index.column()] | Qt::AlignVCenter;
    }

private:
    const QList<Qt::Alignment> &m_wyrownania;
};

struct PozycjaMenu {
    const char *nazwa;
    const char *tytul;
    Qt::Key klawisz;
    int znacznik;
};
// In the order of Zaznaczenie.
const PozycjaMenu kPozycje[] = {
    {"ZaznaczWszystkoMi", "&Zaznacz wszystko", Qt::Key_A, 1},
    {"OdznaczWszystkoMi", "O&dznacz wszystko", Qt::Key_U, 2},
    {"OdwrocZaznaczenieMi", "Od&wróć zaznaczenie", Qt::Key_T, 3},
};

} // namespace

bool WierszListy::operator<(const QTreeWidgetItem &other) const
{
    const auto *lista = static_cast<const ListaRobocza *>(treeWidget());
    if (!lista->m_porownanie)
        return QTreeWidgetItem::operator<(other);
    return lista->m_porownanie(*this, other, lista->sortColumn()) < 0;
}

ListaRobocza::ListaRobocza(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("Lv"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setItemDelegate(new Siatka(m_wyrownania, this));
    header()->setSectionsClickable(true);
    // The header shows the last sort; none before the first.
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    header()->setStretchLastSection(false);
    // The inactive selection painted as the active one: the selection stays visible without focus.
    QPalette paleta = palette();
    paleta.setColor(QPalette::Inactive, QPalette::Highlight, paleta.color(QPalette::Active, QPalette::Highlight));
    paleta.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    paleta.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(paleta);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("ListViewPmn"));
    for (const PozycjaMenu &p : kPozycje) {
        QAction *action = m_menu->addAction(QString::fromUtf8(p.tytul));
        action->setObjectName(QString::fromLatin1(p.nazwa));
        action->setShortcut(QKeySequence(Qt::CTRL | p.klawisz));
        action->setData(p.znacznik);
        m_pozycje << action;
    }
}

void ListaRobocza::ustawKolumny(const QList<Kolumna> &kolumny)
{
    m_wyrownania.clear();
    auto *naglowek = new QTreeWidgetItem;
    setColumnCount(int(kolumny.size()));
    for (int i = 0; i < kolumny.size(); ++i) {
        naglowek->setText(i, kolumny[i].tytul);
        naglowek->setTextAlignment(i, kolumny[i].wyrownanie | Qt::AlignVCenter);
        m_wyrownania << kolumny[i].wyrownanie;
    }
    setHeaderItem(naglowek);
    // A designed width at the program's scale, with room for the header text and the sort indicator.
    const int strzalka = style()->pixelMetric(QStyle::PM_HeaderMarkSize) + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int i = 0; i < kolumny.size(); ++i)
        header()->resizeSection(i, szerokoscKolumny(header()->fontMetrics(), kolumny[i].tytul, kolumny[i].szerokosc, strzalka));
}

QAction *ListaRobocza::pozycjaMenu(Zaznaczenie zaznaczenie) const
{
    return m_pozycje[int(zaznaczenie)];
}

std::optional<Zaznaczenie> ListaRobocza::zaznaczenieZeZnacznika(int tag)
{
    for (int i = 0; i < int(std::size(kPozycje)); ++i)
        if (kPozycje[i].znacznik == tag)
            return Zaznaczenie(i);
    return std::nullopt;
}

// ---- selection ----

QList<int> ListaRobocza::numeryZaznaczonych() const
{
    QList<int> wiersze;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        wiersze << index.row();
    std::sort(wiersze.begin(), wiersze.end());
    return wiersze;
}

int ListaRobocza::iloscZaznaczonych() const
{
    return int(selectionModel()->selectedRows().size());
}

void ListaRobocza::zaznacz(Zaznaczenie zaznaczenie)
{
    const Zmiana zmiana(*this);
    if (zaznaczenie == Zaznaczenie::Nic) {
        clearSelection();
        return;
    }
    if (topLevelItemCount() == 0)
        return;
    const QItemSelection wszystkie(model()->index(0, 0), model()->index(topLevelItemCount() - 1, columnCount() - 1));
    const auto tryb = zaznaczenie == Zaznaczenie::Wszystko ? QItemSelectionModel::Select : QItemSelectionModel::Toggle;
    selectionModel()->select(wszystkie, tryb | QItemSelectionModel::Rows);
}

void ListaRobocza::zaznaczWiersze(QList<int> wiersze)
{
    // One selection of ranges: selecting rows one by one costs the square of their number.
    std::sort(wiersze.begin(), wiersze.end());
    QItemSelection zakresy;
    for (qsizetype i = 0; i < wiersze.size();) {
        qsizetype j = i;
        while (j + 1 < wiersze.size() && wiersze[j + 1] <= wiersze[j] + 1)
            ++j;
        zakresy.select(model()->index(wiersze[i], 0), model()->index(wiersze[j], columnCount() - 1));
        i = j + 1;
    }
    selectionModel()->select(zakresy, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListaRobocza::usunZaznaczone()
{
    const Zmiana zmiana(*this);
    const QList<int> wiersze = numeryZaznaczonych();
    // From the last range of neighbours to the first, so that the row numbers stay valid.
    for (qsizetype j = wiersze.size() - 1; j >= 0;) {
        qsizetype i = j;
        while (i > 0 && wiersze[i - 1] == wiersze[i] - 1)
            --i;
        model()->removeRows(wiersze[i], int(j - i + 1));
        j = i - 1;
    }
}

// ---- changes in bulk ----

ListaRobocza::Zmiana::Zmiana(ListaRobocza &lista) : m_lista(lista) { m_lista.rozpocznijZmiane(); }

ListaRobocza::Zmiana::~Zmiana() { m_lista.zakonczZmiane(); }

void ListaRobocza::rozpocznijZmiane()
{
    if (m_zmiany++ == 0)
        setUpdatesEnabled(false);
}

void ListaRobocza::zakonczZmiane()
{
    if (m_zmiany == 0 || --m_zmiany > 0)
        return;
    setUpdatesEnabled(true);
    viewport()->update();
}

void ListaRobocza::rozpocznijWsad()
{
    if (m_wsad)
        zakonczWsad();
    rozpocznijZmiane();
    clearSelection();
    m_wsad = true;
    m_wsadPoczatek = topLevelItemCount();
    m_wsadOstatni = nullptr;
    m_wsadN = -1;
}

int ListaRobocza::znajdz(double klucz, int n)
{
    const int istniejace = std::min(n, topLevelItemCount());
    if (!m_wsad) {
        for (int i = 0; i < istniejace; ++i)
            if (wiersz(i)->klucz() == klucz)
                return i;
        return -1;
    }
    if (m_wsadN != n) {
        m_wsadN = n;
        m_wsadIndeks.clear();
        m_wsadIndeks.reserve(istniejace);
        for (int i = istniejace - 1; i >= 0; --i)
            m_wsadIndeks.insert(wiersz(i)->klucz(), i);
    }
    return m_wsadIndeks.value(klucz, -1);
}

void ListaRobocza::przyjmij(WierszListy *wiersz, int indeks)
{
    if (!m_wsad) {
        if (indeks < 0)
            addTopLevelItem(wiersz);
        wiersz->setSelected(true);
        return;
    }
    if (indeks < 0) {
        indeks = m_wsadPoczatek + int(m_wsadNowe.size());
        m_wsadNowe << wiersz;
    }
    m_wsadZaznaczone << indeks;
    m_wsadOstatni = wiersz;
}

WierszListy *ListaRobocza::zakonczWsad()
{
    if (!m_wsad)
        return nullptr;
    m_wsad = false;
    WierszListy *ostatni = m_wsadOstatni;
    addTopLevelItems(m_wsadNowe);
    zaznaczWiersze(m_wsadZaznaczone);
    m_wsadNowe.clear();
    m_wsadZaznaczone.clear();
    m_wsadIndeks.clear();
    m_wsadOstatni = nullptr;
    zakonczZmiane();
    return ostatni;
}

// ---- sorting ----

void ListaRobocza::ustawSortowanie(int kolumna, bool rosnaco)
{
    m_kolumnaSortowania = kolumna;
    m_rosnaco = rosnaco;
}

void ListaRobocza::sortujWedlug(int kolumna)
{
    if (kolumna == m_kolumnaSortowania) {
        m_rosnaco = !m_rosnaco;
    } else {
        m_kolumnaSortowania = kolumna;
        m_rosnaco = true;
    }
    sortItems(kolumna, m_rosnaco ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// ---- keys and the menu ----

QAction *ListaRobocza::pozycjaDlaKlawisza(const QKeyEvent *event) const
{
    const auto modyfikatory =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    if (modyfikatory != Qt::ControlModifier)
        return nullptr;
    for (QAction *action : m_pozycje)
        if (QKeySequence(event->keyCombination()) == action->shortcut())
            return action;
    return nullptr;
}

bool ListaRobocza::event(QEvent *event)
{
    // The menu's keys belong to the list, before any shortcut of the window around it.
    if (event->type() == QEvent::ShortcutOverride && pozycjaDlaKlawisza(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTreeWidget::event(event);
}

void ListaRobocza::keyPressEvent(QKeyEvent *event)
{
    if (QAction *action = pozycjaDlaKlawisza(event)) {
        action->trigger();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void ListaRobocza::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}

} // namespace katarix::widgets
