// The working list: columns, the selection choices and their menu, batches that find earlier rows
// by key and select the rows handed over, removal, sorting and painting during bulk changes.
#include "widgets/ListaRobocza.h"

#include "app/support/TestApplication.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace katarix::widgets;

namespace {

class Wiersz : public WierszListy {
public:
    Wiersz(double klucz, const QString &tekst) : m_klucz(klucz) { setText(0, tekst); }
    double klucz() const override { return m_klucz; }

private:
    double m_klucz;
};

class ListaRoboczaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { katarix::test::ensureApplication(); }
    void SetUp() override
    {
        lista.ustawKolumny({{"A", 50}, {"B", 40, Qt::AlignRight}});
        lista.ustawPorownanie([](const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna) {
            return a.text(kolumna).toInt() - b.text(kolumna).toInt();
        });
    }
    // Rows with keys and texts 1..n.
    void wypelnij(int n)
    {
        for (int i = 1; i <= n; ++i)
            lista.addTopLevelItem(new Wiersz(i, QString::number(i)));
    }
    QStringList teksty() const
    {
        QStringList out;
        for (int i = 0; i < lista.iloscWierszy(); ++i)
            out << lista.wiersz(i)->text(0);
        return out;
    }
    void zaznacz(std::initializer_list<int> wiersze)
    {
        lista.clearSelection();
        for (int w : wiersze)
            lista.wiersz(w)->setSelected(true);
    }
    ListaRobocza lista;
};

TEST_F(ListaRoboczaTest, LooksLikeAReportListWithItsColumnsAndMenu)
{
    EXPECT_EQ(lista.objectName(), QStringLiteral("Lv"));
    EXPECT_EQ(lista.columnCount(), 2);
    EXPECT_EQ(lista.headerItem()->text(1), QStringLiteral("B"));
    EXPECT_EQ(lista.header()->sectionSize(0), 50);
    EXPECT_EQ(lista.headerItem()->textAlignment(1), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_TRUE(lista.header()->isSortIndicatorShown());
    EXPECT_EQ(lista.header()->sortIndicatorSection(), -1) << "no sort yet";
    EXPECT_EQ(lista.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(lista.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(lista.palette().color(QPalette::Inactive, QPalette::Highlight),
              lista.palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(lista.menu()->objectName(), QStringLiteral("ListViewPmn"));

    const struct {
        Zaznaczenie zaznaczenie;
        const char *nazwa, *tytul, *klawisz;
        int znacznik;
    } pozycje[] = {
        {Zaznaczenie::Wszystko, "ZaznaczWszystkoMi", "&Zaznacz wszystko", "Ctrl+A", 1},
        {Zaznaczenie::Nic, "OdznaczWszystkoMi", "O&dznacz wszystko", "Ctrl+U", 2},
        {Zaznaczenie::Odwrotnie, "OdwrocZaznaczenieMi", "Od&wróć zaznaczenie", "Ctrl+T", 3},
    };
    ASSERT_EQ(lista.menu()->actions().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto &p = pozycje[i];
        SCOPED_TRACE(p.nazwa);
        QAction *pozycja = lista.pozycjaMenu(p.zaznaczenie);
        EXPECT_EQ(lista.menu()->actions()[i], pozycja);
        EXPECT_EQ(pozycja->objectName(), QString::fromLatin1(p.nazwa));
        EXPECT_EQ(pozycja->text(), QString::fromUtf8(p.tytul));
        EXPECT_EQ(pozycja->shortcut(), QKeySequence(QString::fromLatin1(p.klawisz)));
        EXPECT_EQ(pozycja->data().toInt(), p.znacznik);
        EXPECT_EQ(ListaRobocza::zaznaczenieZeZnacznika(p.znacznik), p.zaznaczenie);
    }
    for (int inny : {0, 4, -1})
        EXPECT_EQ(ListaRobocza::zaznaczenieZeZnacznika(inny), std::nullopt) << inny;
}

TEST_F(ListaRoboczaTest, SelectionChoicesAndRemovalInRanges)
{
    wypelnij(6);
    zaznacz({1});
    lista.zaznacz(Zaznaczenie::Odwrotnie);
    EXPECT_EQ(lista.numeryZaznaczonych(), QList<int>({0, 2, 3, 4, 5}));
    lista.zaznacz(Zaznaczenie::Nic);
    EXPECT_EQ(lista.iloscZaznaczonych(), 0);
    lista.zaznacz(Zaznaczenie::Wszystko);
    EXPECT_EQ(lista.iloscZaznaczonych(), 6);

    lista.clearSelection();
    lista.zaznaczWiersze({5, 0, 1, 3, 1});
    EXPECT_EQ(lista.numeryZaznaczonych(), QList<int>({0, 1, 3, 5}));
    QList<Wiersz *> wybrane = lista.zaznaczone<Wiersz>();
    ASSERT_EQ(wybrane.size(), 4);
    EXPECT_EQ(wybrane[2]->text(0), QStringLiteral("4"));

    lista.usunZaznaczone();
    EXPECT_EQ(teksty(), QStringList({"3", "5"}));
    lista.usunZaznaczone(); // nothing selected
    EXPECT_EQ(teksty(), QStringList({"3", "5"}));

    // An empty list takes every choice.
    lista.clear();
    for (auto zaznaczenie : {Zaznaczenie::Wszystko, Zaznaczenie::Odwrotnie, Zaznaczenie::Nic})
        lista.zaznacz(zaznaczenie);
    EXPECT_EQ(lista.iloscZaznaczonych(), 0);
}

// The menu's keys trigger its items even where a window's shortcut would take them, and
// without the list being in an active window.
TEST_F(ListaRoboczaTest, MenuKeysTriggerTheItemsAndOtherKeysReachTheList)
{
    wypelnij(3);
    QSignalSpy wszystko(lista.pozycjaMenu(Zaznaczenie::Wszystko), &QAction::triggered);
    QSignalSpy nic(lista.pozycjaMenu(Zaznaczenie::Nic), &QAction::triggered);
    QSignalSpy odwrotnie(lista.pozycjaMenu(Zaznaczenie::Odwrotnie), &QAction::triggered);
    QTest::keyClick(&lista, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&lista, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(&lista, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(&lista, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(wszystko.count(), 1);
    EXPECT_EQ(nic.count(), 1);
    EXPECT_EQ(odwrotnie.count(), 1);
    EXPECT_EQ(lista.iloscZaznaczonych(), 0) << "the items select nothing until their owner binds them";

    QKeyEvent nadpisanie(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(&lista, &nadpisanie);
    EXPECT_TRUE(nadpisanie.isAccepted());
    QKeyEvent inny(QEvent::ShortcutOverride, Qt::Key_B, Qt::ControlModifier);
    inny.ignore();
    QApplication::sendEvent(&lista, &inny);
    EXPECT_FALSE(inny.isAccepted());

    lista.setCurrentItem(lista.wiersz(0));
    QTest::keyClick(&lista, Qt::Key_Down);
    EXPECT_EQ(lista.currentItem(), lista.wiersz(1));
}

TEST_F(ListaRoboczaTest, ABatchFindsEarlierRowsByKeyAndSelectsTheRowsHandedOver)
{
    wypelnij(3);
    lista.addTopLevelItem(new Wiersz(2, QStringLiteral("2bis"))); // a second row of key 2
    zaznacz({0});
    QSignalSpy wybor(&lista, &QTreeWidget::itemSelectionChanged);
    const int n = lista.iloscWierszy();
    WierszListy *ostatni = nullptr;
    {
        lista.rozpocznijWsad();
        EXPECT_TRUE(lista.wsad());
        EXPECT_TRUE(lista.wTrakcieZmiany());
        EXPECT_FALSE(lista.updatesEnabled());
        EXPECT_EQ(lista.iloscZaznaczonych(), 0) << "the selection is cleared first";
        const struct {
            double klucz;
            int indeks; // -1: new
        } rows[] = {{2, 1}, {9, -1}, {3, 2}, {9, -1}, {7, -1}};
        for (const auto &r : rows) {
            const int indeks = lista.znajdz(r.klucz, n);
            EXPECT_EQ(indeks, r.indeks) << r.klucz;
            WierszListy *w = indeks >= 0 ? lista.wiersz(indeks) : new Wiersz(r.klucz, QString::number(r.klucz));
            lista.przyjmij(w, indeks);
            EXPECT_EQ(lista.iloscWierszy(), n) << "new rows wait for the end";
        }
        ostatni = lista.zakonczWsad();
    }
    EXPECT_EQ(teksty(), QStringList({"1", "2", "3", "2bis", "9", "9", "7"}));
    EXPECT_EQ(lista.numeryZaznaczonych(), QList<int>({1, 2, 4, 5, 6}));
    EXPECT_EQ(ostatni, lista.wiersz(6));
    EXPECT_FALSE(lista.wsad());
    EXPECT_FALSE(lista.wTrakcieZmiany());
    EXPECT_TRUE(lista.updatesEnabled());
    EXPECT_LE(wybor.count(), 2) << "one clearing and one selection, not a signal per row";
    EXPECT_EQ(lista.zakonczWsad(), nullptr) << "no batch under way";

    // Outside a batch a row is looked up among the first n rows and selected at once.
    lista.clearSelection();
    EXPECT_EQ(lista.znajdz(9, 4), -1);
    EXPECT_EQ(lista.znajdz(9, 5), 4);
    lista.przyjmij(new Wiersz(8, QStringLiteral("8")), -1);
    lista.przyjmij(lista.wiersz(0), 0);
    EXPECT_EQ(lista.iloscWierszy(), 8);
    EXPECT_EQ(lista.numeryZaznaczonych(), QList<int>({0, 7}));

    // A batch ended by the scope, also when its work fails.
    try {
        const ListaRobocza::Wsad wsad(lista);
        lista.przyjmij(new Wiersz(10, QStringLiteral("10")), -1);
        throw std::runtime_error("przerwane");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(lista.iloscWierszy(), 9);
    EXPECT_EQ(lista.numeryZaznaczonych(), QList<int>({8}));
    EXPECT_TRUE(lista.updatesEnabled());
}

TEST_F(ListaRoboczaTest, BulkChangesNestAndResumePainting)
{
    {
        const ListaRobocza::Zmiana zewnetrzna(lista);
        {
            const ListaRobocza::Zmiana wewnetrzna(lista);
            EXPECT_FALSE(lista.updatesEnabled());
        }
        EXPECT_FALSE(lista.updatesEnabled());
        EXPECT_TRUE(lista.wTrakcieZmiany());
    }
    EXPECT_TRUE(lista.updatesEnabled());
    EXPECT_FALSE(lista.wTrakcieZmiany());
}

TEST_F(ListaRoboczaTest, SortingTurnsOnTheSameColumnAndKeepsTheSelectionWithItsRows)
{
    for (const char *t : {"10", "2", "33", "2"})
        lista.addTopLevelItem(new Wiersz(lista.iloscWierszy(), QString::fromLatin1(t)));
    lista.wiersz(1)->setText(1, QStringLiteral("first 2"));
    zaznacz({2});
    EXPECT_EQ(lista.kolumnaSortowania(), -1);
    lista.sortujWedlug(0);
    EXPECT_EQ(teksty(), QStringList({"2", "2", "10", "33"}));
    EXPECT_EQ(lista.wiersz(0)->text(1), QStringLiteral("first 2")) << "equal rows keep their order";
    EXPECT_TRUE(lista.rosnaco());
    lista.sortujWedlug(0);
    EXPECT_EQ(teksty(), QStringList({"33", "10", "2", "2"}));
    EXPECT_EQ(lista.wiersz(2)->text(1), QStringLiteral("first 2"));
    EXPECT_FALSE(lista.rosnaco());
    EXPECT_EQ(lista.header()->sortIndicatorSection(), 0);
    EXPECT_EQ(lista.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(lista.zaznaczone<WierszListy>().front()->text(0), QStringLiteral("33"));

    // A window may start from a column already sorted the other way.
    lista.ustawSortowanie(1, false);
    lista.sortujWedlug(1);
    EXPECT_EQ(lista.kolumnaSortowania(), 1);
    EXPECT_TRUE(lista.rosnaco());
}

} // namespace
