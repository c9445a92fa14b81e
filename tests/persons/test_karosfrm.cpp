// The person file: rows from the searches, counts, sorting, removal, the selection menu, hints,
// the actions on the selection and the stored toolbar places.
#include "app/IniFile.h"
#include "app/Komunikaty.h"
#include "app/support/Child.h"
#include "app/support/TestApplication.h"
#include "app/Ustawienia.h"
#include "jet/MemTable.h"
#include "persons/AdresGrp.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/Rejestracja.h"
#include "persons/TWjrOsobyFrm.h"
#include "persons/TWjrOsUstFrm.h"
#include "support/OsobyTestSupport.h"
#include "widgets/LookupCombo.h"
#include "widgets/PathEdit.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

using namespace katarix;
using namespace katarix::test;
using persons::OsobaZestawienia;
using persons::TKarOsFrm;

namespace {

struct Osoba {
    double mslink;
    const char *osoba, *adres, *pesreg;
};

// A search result as the searches hand it over.
void dodaj(TKarOsFrm *frm, std::initializer_list<Osoba> rows)
{
    jet::MemTable table;
    table.addField(QStringLiteral("mslink"), jet::FieldType::Float);
    table.addField(QStringLiteral("osoba"), jet::FieldType::Text);
    table.addField(QStringLiteral("pesreg"), jet::FieldType::Text);
    table.addField(QStringLiteral("adres_id"), jet::FieldType::Float);
    table.addField(QStringLiteral("adres"), jet::FieldType::Text);
    table.open();
    for (const Osoba &row : rows)
        table.append({row.mslink, QString::fromUtf8(row.osoba), QString::fromUtf8(row.pesreg), row.mslink + 1000,
                      QString::fromUtf8(row.adres)});
    frm->DodajOsobyZZapytania(table);
}

QString licznik(const TKarOsFrm *frm) { return child<QLabel>(frm, "StatusPanel0")->text(); }

widgets::ListaRobocza *lista(const TKarOsFrm *frm) { return child<widgets::ListaRobocza>(frm, "Lv"); }

QAction *akcja(const TKarOsFrm *frm, const char *name) { return child<QAction>(frm, name); }

QStringList kolumna(const TKarOsFrm *frm, int column)
{
    QStringList out;
    for (int i = 0; i < frm->iloscWierszy(); ++i)
        out << frm->wiersz(i)->text(column);
    return out;
}

void zaznacz(TKarOsFrm *frm, std::initializer_list<int> rows)
{
    lista(frm)->clearSelection();
    for (int row : rows)
        frm->wiersz(row)->setSelected(true);
}

using KarOsTest = OsobyTest;

TEST_F(KarOsTest, APersonFoundByTwoSearchesOccupiesOneRowRefreshedAndSelected)
{
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 0/0"));
    auto *dlg = frm->DodFizFrm;
    dlg->show();
    test::child<widgets::LookupCombo>(dlg, "NazwiskoLcbx")->setValue(QStringLiteral("12"));
    dlg->DodajBtnClick();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz}));
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 2/2"));

    dlg->CzyscBtnClick();
    test::child<widgets::LookupCombo>(dlg, "ImieLcbx")->setValue(QStringLiteral("7"));
    dlg->DodajBtnClick();
    dlg->hide();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz, osoby::Nowak}));
    EXPECT_EQ(zaznaczone(frm), (std::vector<double>{osoby::Kowalski, osoby::Nowak}));
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 2/3"));

    // A refreshed row takes the new texts; rows of one batch are not merged with each other.
    dodaj(frm, {{osoby::Kowalski, "KOWALSKI JAN", "Nowy adres", "1"}, {900, "A", "", ""}, {900, "A", "", ""}});
    EXPECT_EQ(wiersze(frm), (std::vector<double>{osoby::Kowalski, osoby::Lukasz, osoby::Nowak, 900, 900}));
    EXPECT_EQ(frm->wiersz(0)->text(0), QStringLiteral("KOWALSKI JAN"));
    EXPECT_EQ(frm->wiersz(0)->text(1), QStringLiteral("Nowy adres"));
    EXPECT_EQ(frm->wiersz(0)->Ident.adres_id, osoby::Kowalski + 1000);
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 3/5"));

    // DodajWierszOsoby searches only the first n rows.
    frm->DodajWierszOsoby(QStringLiteral("B"), QString(), 2, QString(), 0, osoby::Nowak);
    EXPECT_EQ(frm->iloscWierszy(), 6);
    frm->DodajWierszOsoby(QStringLiteral("C"), QString(), 3, QString(), 0, osoby::Nowak);
    EXPECT_EQ(frm->iloscWierszy(), 6);
    EXPECT_EQ(frm->wiersz(2)->text(0), QStringLiteral("C"));
}

TEST_F(KarOsTest, AfterASearchTheListIsScrolledToItsEnd)
{
    frm->resize(500, 200);
    frm->show();
    for (int i = 0; i < 40; ++i)
        dodaj(frm, {{double(1000 + i), "OSOBA", "", ""}});
    QApplication::processEvents();
    QScrollBar *bar = lista(frm)->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    dodaj(frm, {{5.0, "OSTATNIA", "", ""}});
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(KarOsTest, ColumnClicksSortTextsAndInvertTheDirection)
{
    dodaj(frm, {{1, "Zenon", "b", "9"}, {2, "Łukasz", "c", "10"}, {3, "Lucjan", "a", "100"}, {4, "lucjan", "d", "2"}});
    zaznacz(frm, {1});
    struct Krok {
        int column;
        QStringList osoby;
    } kroki[] = {
        {2, {QStringLiteral("Łukasz"), QStringLiteral("Lucjan"), QStringLiteral("lucjan"), QStringLiteral("Zenon")}},
        {2, {QStringLiteral("Zenon"), QStringLiteral("lucjan"), QStringLiteral("Lucjan"), QStringLiteral("Łukasz")}},
        {0, {QStringLiteral("lucjan"), QStringLiteral("Lucjan"), QStringLiteral("Łukasz"), QStringLiteral("Zenon")}},
        {1, {QStringLiteral("Lucjan"), QStringLiteral("Zenon"), QStringLiteral("Łukasz"), QStringLiteral("lucjan")}},
    };
    for (const Krok &k : kroki) {
        SCOPED_TRACE(k.column);
        emit lista(frm)->header()->sectionClicked(k.column);
        EXPECT_EQ(kolumna(frm, 0), k.osoby);
        // The header shows the column and direction of the sort.
        EXPECT_TRUE(lista(frm)->header()->isSortIndicatorShown());
        EXPECT_EQ(lista(frm)->header()->sortIndicatorSection(), k.column);
        EXPECT_EQ(lista(frm)->header()->sortIndicatorOrder(), lista(frm)->rosnaco() ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    EXPECT_EQ(lista(frm)->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(lista(frm)->kolumnaSortowania(), 1);
    EXPECT_TRUE(lista(frm)->rosnaco());
    // The selection moves with its row.
    EXPECT_EQ(zaznaczone(frm), (std::vector<double>{2}));
}

TEST_F(KarOsTest, RemovalAndTheSelectionMenu)
{
    frm->show();
    dodaj(frm, {{1, "A", "", ""}, {2, "B", "", ""}, {3, "C", "", ""}, {4, "D", "", ""}});
    zaznacz(frm, {0, 2});
    frm->UsunTBtnClick();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{2, 4}));
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 0/2"));

    struct Przypadek {
        const char *name;
        std::function<void()> wykonaj;
        std::vector<double> zaznaczone;
    } przypadki[] = {
        {"select all", [&] { frm->ZaznaczWszystkoMiClick(1); }, {2, 4}},
        {"clear", [&] { frm->ZaznaczWszystkoMiClick(2); }, {}},
        {"invert", [&] {
             zaznacz(frm, {1});
             frm->ZaznaczWszystkoMiClick(3);
         }, {2}},
        {"menu item Odwróć zaznaczenie", [&] { akcja(frm, "OdwrocZaznaczenieMi")->trigger(); }, {4}},
        {"menu item Zaznacz wszystko", [&] { akcja(frm, "ZaznaczWszystkoMi")->trigger(); }, {2, 4}},
        {"menu item Odznacz wszystko", [&] { akcja(frm, "OdznaczWszystkoMi")->trigger(); }, {}},
    };
    for (const Przypadek &p : przypadki) {
        SCOPED_TRACE(p.name);
        p.wykonaj();
        EXPECT_EQ(zaznaczone(frm), p.zaznaczone);
        EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: %1/2").arg(p.zaznaczone.size()));
    }
    EXPECT_EQ(akcja(frm, "ZaznaczWszystkoMi")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(akcja(frm, "OdznaczWszystkoMi")->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));
    EXPECT_EQ(akcja(frm, "OdwrocZaznaczenieMi")->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));

    // The Delete key removes the selected rows, "Usuń" all of them.
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
    lista(frm)->setFocus();
    zaznacz(frm, {1});
    QTest::keyClick(lista(frm), Qt::Key_Delete);
    EXPECT_EQ(wiersze(frm), (std::vector<double>{2}));
    QTest::keyClick(lista(frm), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 1/1"));
    QTest::keyClick(lista(frm), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 0/1"));
    frm->WyczyscTBtnClick();
    EXPECT_EQ(frm->iloscWierszy(), 0);
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 0/0"));

    // Runs of neighbouring rows and single rows together.
    dodaj(frm, {{1, "A", "", ""}, {2, "B", "", ""}, {3, "C", "", ""}, {4, "D", "", ""}, {5, "E", "", ""}});
    zaznacz(frm, {0, 1, 3});
    frm->UsunTBtnClick();
    EXPECT_EQ(wiersze(frm), (std::vector<double>{3, 5}));
    EXPECT_EQ(licznik(frm), QStringLiteral("Ilość: 0/2"));
}

TEST_F(KarOsTest, HintShowsTheRowUnderThePointerAndEmptiesBelowTheRows)
{
    frm->resize(500, 300);
    frm->show();
    dodaj(frm, {{1, "KOWALSKI JAN MARIA (PIOTR,-) Z BARDZO DŁUGIM OPISEM", "", ""}, {2, "NOWAK", "", ""}});
    QApplication::processEvents();
    const QRect drugi = lista(frm)->visualItemRect(frm->wiersz(1));
    frm->LvMouseMove(lista(frm)->visualItemRect(frm->wiersz(0)).center());
    EXPECT_EQ(lista(frm)->toolTip(), QStringLiteral("KOWALSKI JAN MARIA (PIOTR,-) Z BARDZO DŁUGIM OPISEM"));
    frm->LvMouseMove(drugi.center());
    EXPECT_EQ(lista(frm)->toolTip(), QStringLiteral("NOWAK"));
    // The person sees it as the tooltip over the row.
    QHelpEvent help(QEvent::ToolTip, drugi.center(), lista(frm)->viewport()->mapToGlobal(drugi.center()));
    QApplication::sendEvent(lista(frm)->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("NOWAK"));
    QToolTip::hideText();
    frm->LvMouseMove(drugi.center() + QPoint(0, 3 * drugi.height()));
    EXPECT_EQ(lista(frm)->toolTip(), QString());
    EXPECT_EQ(frm->WierszPodKursorem, nullptr);
}

// A person file that records what it hands to the registration units window and the summary.
class NagrywajacaKartoteka : public TKarOsFrm {
public:
    std::vector<std::pair<QString, double>> jednostki;
    std::vector<QList<OsobaZestawienia>> zestawienia;

private:
    void pokazJednostkiOsoby(const QString &opisOsoby, double osobaId) override
    {
        jednostki.emplace_back(opisOsoby, osobaId);
    }
    void drukujZestawienie(const QList<OsobaZestawienia> &osoby) override { zestawienia.push_back(osoby); }
};

TEST_F(KarOsTest, ActionsOnTheSelectionTakeTheSelectedRowsInListOrder)
{
    delete frm;
    auto *nagr = new NagrywajacaKartoteka;
    frm = nagr;
    dodaj(frm, {{osoby::Kowalski, "KOWALSKI JAN", "Długa 5", "80010112345"},
                {osoby::Zgoda, "ZGODA", "Rynek 7", "123456785"},
                {500000001, "MAŁŻEŃSTWO", "", ""}});
    EXPECT_EQ(frm->ListaIdOsob(), QStringLiteral("101,300000001,500000001"));
    EXPECT_EQ(frm->ListaNazwOsob(), QStringLiteral("KOWALSKI JAN,ZGODA,MAŁŻEŃSTWO"));

    for (auto rows : {std::initializer_list<int>{}, std::initializer_list<int>{0, 2}}) {
        SCOPED_TRACE(rows.size());
        zaznacz(frm, rows);
        recording.messages.clear();
        recording.beeps = 0;
        akcja(frm, "JrTB")->trigger();
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, QStringLiteral("Zaznacz jedną osobę."));
        EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
        EXPECT_EQ(recording.messages[0].flags, app::mb::IconWarning);
        EXPECT_EQ(recording.beeps, 1);
        EXPECT_TRUE(nagr->jednostki.empty());
    }
    zaznacz(frm, {1});
    akcja(frm, "JrTB")->trigger();
    ASSERT_EQ(nagr->jednostki.size(), 1u);
    EXPECT_EQ(nagr->jednostki[0], std::make_pair(QStringLiteral("ZGODA"), osoby::Zgoda));

    // The summary takes the selected rows in list order (after a sort), or none.
    emit lista(frm)->header()->sectionClicked(0);
    zaznacz(frm, {0, 2});
    akcja(frm, "ZestGrOsTBtn")->trigger();
    zaznacz(frm, {});
    akcja(frm, "ZestGrOsTBtn")->trigger();
    ASSERT_EQ(nagr->zestawienia.size(), 2u);
    EXPECT_EQ(nagr->zestawienia[0],
              (QList<OsobaZestawienia>{{QStringLiteral("KOWALSKI JAN"), QStringLiteral("Długa 5"), osoby::Kowalski},
                                       {QStringLiteral("ZGODA"), QStringLiteral("Rynek 7"), osoby::Zgoda}}));
    EXPECT_TRUE(nagr->zestawienia[1].isEmpty());
}

TEST_F(KarOsTest, ToolbarPlacesAreStoredUnderTheirPrefixBetweenOpenings)
{
    frm->resize(600, 400);
    frm->show();
    QApplication::processEvents();
    EXPECT_FALSE(child<QToolBar>(frm, "MainTlb")->isFloatable());
    frm->addToolBar(Qt::LeftToolBarArea, child<QToolBar>(frm, "ToolsTlb"));
    frm->close();
    delete frm;
    frm = nullptr;
    const app::IniFile ini(main->PlikIni);
    EXPECT_EQ(ini.ReadString(QStringLiteral("KATARIX.KART_OS_TOOLBARS.ToolsTlb"), QStringLiteral("DockedTo"), QString()),
              QStringLiteral("Left"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("KATARIX.KART_OS_TOOLBARS.MainTlb"), QStringLiteral("DockedTo"), QString()),
              QStringLiteral("Top"));
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("KATARIX.KarOsFrm")));

    frm = new TKarOsFrm;
    EXPECT_EQ(frm->toolBarArea(child<QToolBar>(frm, "ToolsTlb")), Qt::LeftToolBarArea);
    EXPECT_EQ(frm->toolBarArea(child<QToolBar>(frm, "MainTlb")), Qt::TopToolBarArea);
}

// The program's start-up registers the window: F6 and the toolbar button are enabled and open
// one instance, which clears its reference when closed.
TEST(KarOsStartTest, MainWindowCommandsOpenOnePersonFile)
{
    RecordingInteraction recording;
    const ProgramOsob program;
    ASSERT_TRUE(test::child<QAction>(app::MainFrm, "KartotekaOsobMi")->isEnabled());
    ASSERT_TRUE(test::child<QAction>(app::MainFrm, "KarOsTBtn")->isEnabled());
    EXPECT_EQ(test::child<QAction>(app::MainFrm, "KartotekaOsobMi")->shortcut(), QKeySequence(Qt::Key_F6));

    test::child<QAction>(app::MainFrm, "KartotekaOsobMi")->trigger();
    auto *opened = qobject_cast<TKarOsFrm *>(app::okno(app::OknoProgramu::KartotekaOsob));
    ASSERT_NE(opened, nullptr);
    auto *sub = qobject_cast<QMdiSubWindow *>(opened->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_FALSE(sub->isHidden());
    EXPECT_FALSE(sub->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(sub->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(opened->windowTitle(), QStringLiteral("Kartoteka osób"));
    test::child<QAction>(app::MainFrm, "KarOsTBtn")->trigger();
    EXPECT_EQ(app::okno(app::OknoProgramu::KartotekaOsob), opened);
    EXPECT_EQ(test::child<QMdiArea>(app::MainFrm, "MdiArea")->subWindowList().size(), 1);

    // A search through the window's own dialog reaches its list.
    opened->DodPrawFrm->show();
    pisz(test::child<QLineEdit>(opened->DodPrawFrm, "SkrotEdt"), QStringLiteral("abc"));
    opened->DodPrawFrm->DodajBtnClick();
    opened->DodPrawFrm->hide();
    EXPECT_EQ(opened->ListaIdOsob(), QStringLiteral("300000002"));

    // The land summary of the selected person is filled from the installed template.
    QTemporaryDir wyniki;
    app::ustawieniaProgramu().katalogSzablonow = QStringLiteral(KATARIX_PROGRAM_DIR "/../Szablony");
    app::ustawieniaProgramu().katalogWynikowy = wyniki.path();
    akcja(opened, "ZestGrOsTBtn")->trigger();
    EXPECT_TRUE(recording.messages.empty());
    ASSERT_EQ(recording.editorLaunches.size(), 1u);
    QFile dokument(recording.editorLaunches[0].document);
    ASSERT_TRUE(dokument.open(QIODevice::ReadOnly));
    EXPECT_TRUE(dokument.readAll().contains("HANDLOWE"));

    // The units of the selected person: the settings are offered first (answered OK), then the
    // window's own button reads the units of whoever is selected now.
    QTimer::singleShot(0, [] {
        if (auto *ustawienia = qobject_cast<persons::TTWjrOsUstFrm *>(QApplication::activeModalWidget()))
            test::child<QPushButton>(ustawienia, "OkBtn")->click();
    });
    akcja(opened, "JrTB")->trigger();
    persons::TTWjrOsobyFrm *jednostki = opened->TWjrOsobyFrm;
    EXPECT_TRUE(jednostki->isVisible());
    EXPECT_TRUE(jednostki->TopPnl->text().contains(QStringLiteral("HANDLOWE")));
    opened->DodPrawFrm->show();
    test::child<QLineEdit>(opened->DodPrawFrm, "SkrotEdt")->clear();
    pisz(test::child<QLineEdit>(opened->DodPrawFrm, "RegonMsk"), QStringLiteral("123456785"));
    opened->DodPrawFrm->DodajBtnClick();
    opened->DodPrawFrm->hide();
    ASSERT_EQ(opened->ListaIdOsob(), QStringLiteral("300000001"));
    jednostki->CzytajSB->click();
    EXPECT_TRUE(jednostki->TopPnl->text().contains(QStringLiteral("ZGODA")));
    EXPECT_TRUE(recording.messages.empty());

    opened->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app::okno(app::OknoProgramu::KartotekaOsob), nullptr);
}

} // namespace
