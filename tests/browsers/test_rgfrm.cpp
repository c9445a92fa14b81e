#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "app/Ustawienia.h"
#include "app/UstawieniaFrm.h"
#include "app/support/Child.h"
#include "app/support/RecordingInteraction.h"
#include "app/support/TestApplication.h"
#include "browsers/Rejestracja.h"
#include "browsers/RgFrm.h"
#include "browsers/ToolWindows.h"
#include "common/SeparatorGuard.h"
#include "jet/Query.h"
#include "registergen/RegisterBuilder.h"
#include "widgets/ColorPanel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QHeaderView>
#include <QSplitter>
#include <gtest/gtest.h>

using namespace katarix;
using browsers::RodzajKomunikatu;
using browsers::TRgFrm;
using browsers::ZnacznikKomentarza;
using registergen::RegisterBuilder;
using widgets::ColorPanel;
using widgets::DataGrid;

namespace {

// A register of two communes: "Bystra" (mslink 2, sorts first) with the precincts "Zawodzie"
// (20) and "Centrum" (21, sorts first), and "Zielona" (1) with "Rynek" (10).
void baseRegister(RegisterBuilder &b)
{
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("GMINA", {{"MSLINK", 2.0}, {"NAZWA", "Bystra"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("OBREB", {{"MSLINK", 20}, {"NAZWA", "Zawodzie"}, {"GMINA_ID", 2.0}});
    b.add("OBREB", {{"MSLINK", 21}, {"NAZWA", "Centrum"}, {"GMINA_ID", 2.0}});
    struct Unit {
        double id;
        int obreb, nr;
        double kw, koment, kas;
    } units[] = {
        {212, 21, 2, 0, 700, 0}, {211, 21, 1, 900, 0, 0}, {213, 21, 3, 0, 0, 5},
        {201, 20, 1, 0, 0, 0},   {202, 20, 2, 0, 0, 0},   {203, 20, 3, 0, 0, 5},
        {101, 10, 1, 0, 0, 0},
    };
    for (const Unit &u : units)
        b.add("RGRUN", {{"ID_JR", u.id}, {"OBREB_ID", u.obreb}, {"KOL_OBREB", u.nr}, {"KW_ID", u.kw},
                        {"KOMENT", u.koment}, {"ZMIANA_KAS_ID", u.kas}});
    b.add("SLO_KW", {{"KW_ID", 900.0}, {"KW_TXT", "KA1K/00012345/6"}});
    b.add("KOMENTARZ", {{"MSLINK", 700.0}, {"TEKST", "Jednostka sporna"}});
    b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wl"}, {"RODZAJ", 1}});
    b.add("SLO_WLAD", {{"MSLINK", 2}, {"SKROT", "uw"}, {"RODZAJ", 1}});
    b.add("SLO_WLAD", {{"MSLINK", 3}, {"SKROT", "si"}, {"RODZAJ", 2}});
    b.add("SLO_WLAD", {{"MSLINK", 4}, {"SKROT", "zr"}, {"RODZAJ", 3}});
    b.add("SLO_WLAD", {{"MSLINK", 5}, {"SKROT", "in"}, {"RODZAJ", 7}});
}

struct Holder {
    int wlad;
    int l, m;
};

void addHolders(RegisterBuilder &b, double idJr, const std::vector<Holder> &holders)
{
    double mslink = 5000 + idJr * 10;
    for (const Holder &h : holders)
        b.add("LWRGRUN", {{"MSLINK", mslink++}, {"ID_JR", idJr}, {"OSOBA_ID", 100.0 + mslink}, {"WLAD_ID", h.wlad},
                          {"L_UDZIAL", h.l}, {"M_UDZIAL", h.m}, {"OSOBA_TXT", "Osoba"}});
}

class RgFrmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        QDir(root.path()).mkpath(QStringLiteral("Program"));
        main = new app::TMainFrm(nullptr, root.filePath(QStringLiteral("Program")));
        app::MainFrm = main;
        baseRegister(builder);
    }
    void TearDown() override
    {
        delete rg;
        delete main;
        app::MainFrm = nullptr;
        app::ustawieniaProgramu() = app::Ustawienia();
    }
    TRgFrm *open()
    {
        if (loaded) { // a fresh session for a new register
            delete rg;
            rg = nullptr;
            delete main;
            main = new app::TMainFrm(nullptr, root.filePath(QStringLiteral("Program")));
            app::MainFrm = main;
        }
        loaded = true;
        builder.toDatabase(main->baza());
        rg = new TRgFrm;
        return rg;
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static QColor fontColour(const QLabel *label) { return label->palette().color(QPalette::WindowText); }

    test::SeparatorGuard comma{QLatin1Char(',')};
    QTemporaryDir root;
    test::RecordingInteraction recording;
    RegisterBuilder builder;
    app::TMainFrm *main = nullptr;
    TRgFrm *rg = nullptr;
    bool loaded = false;
};

TEST_F(RgFrmTest, OpensOnTheFirstUnitOfTheFirstPrecinctAndCascadesOnChoice)
{
    open();
    EXPECT_EQ(items(rg->GminaCbx), QStringList({"Bystra", "Zielona"}));
    EXPECT_EQ(items(rg->ObrebCbx), QStringList({"Centrum", "Zawodzie"}));
    EXPECT_EQ(rg->ObrebId, 21); // sorted list, not query order
    EXPECT_EQ(items(rg->JrLcbx), QStringList({"1", "2"})); // retired unit 213 left out
    EXPECT_EQ(rg->JrLcbx->currentText(), QStringLiteral("1"));
    EXPECT_EQ(rg->JrKlucz(), QStringLiteral("211"));
    EXPECT_EQ(rg->JrKwPnl->text(), QStringLiteral(" KA1K/00012345/6"));
    EXPECT_TRUE(rg->JrImg->isHidden());

    rg->JrLcbx->setCurrentIndex(1);
    emit rg->JrLcbx->activated(1);
    EXPECT_EQ(rg->JrKlucz(), QStringLiteral("212"));
    EXPECT_EQ(rg->JrKwPnl->text(), QString()); // no land book
    EXPECT_FALSE(rg->JrImg->isHidden());

    rg->GminaCbx->setCurrentIndex(1);
    rg->GminaCbxChange();
    EXPECT_EQ(rg->GminaId, 1);
    EXPECT_EQ(items(rg->ObrebCbx), QStringList({"Rynek"}));
    EXPECT_EQ(rg->JrKlucz(), QStringLiteral("101"));
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(RgFrmTest, PokazJrFindsTheUnitWhereverItIs)
{
    struct Case {
        double id;
        int gmina, obreb;
        const char *key;
        bool notFound;
    } cases[] = {
        {212, 2, 21, "212", false}, // listed: same precinct
        {202, 2, 20, "202", false}, // other precinct: that unit, not the first
        {213, 2, 21, "211", false}, // retired in the shown precinct: nothing changes
        {203, 2, 20, "201", false}, // retired elsewhere: that precinct's first unit
        {101, 1, 10, "101", false}, // other commune
        {1000000, 1, 10, "1000000", false}, // a million, found by the SQL text path
        {999, 2, 21, "211", true},  // unknown
    };
    builder.add("RGRUN", {{"ID_JR", 1000000.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 2}});
    open();
    for (const Case &c : cases) {
        recording.messages.clear();
        recording.beeps = 0;
        rg->PokazJr(211); // back to the start
        rg->PokazJr(c.id);
        EXPECT_EQ(rg->GminaId, c.gmina) << c.id;
        EXPECT_EQ(rg->ObrebId, c.obreb) << c.id;
        EXPECT_EQ(rg->JrKlucz(), QString::fromLatin1(c.key)) << c.id;
        ASSERT_EQ(recording.messages.size(), c.notFound ? 1u : 0u) << c.id;
        EXPECT_EQ(recording.beeps, c.notFound ? 1 : 0) << c.id;
        if (c.notFound) {
            EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie udało się odnaleźć podanej jednostki rejestrowej."));
            EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd przy szukaniu JR rejestru gruntów"));
            EXPECT_EQ(recording.messages[0].flags, app::mb::IconWarning);
        }
    }
}

// "Aleksandrów" sorts first and has no precinct: the window opens on it with empty lists and grids
// and no message, and still finds units elsewhere, also when opened through the main window's jump.
TEST_F(RgFrmTest, ACommuneWithoutPrecinctsLeavesTheListsEmptyWithoutAMessage)
{
    builder.add("GMINA", {{"MSLINK", 3.0}, {"NAZWA", "Aleksandrów"}});
    addHolders(builder, 211, {{1, 1, 1}});
    builder.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 211.0}, {"OBREB_ID", 21}, {"NR_L", 1}, {"AREA", 100.0}});
    open();
    EXPECT_TRUE(recording.messages.empty());
    EXPECT_EQ(rg->GminaCbx->currentText(), QStringLiteral("Aleksandrów"));
    EXPECT_EQ(rg->ObrebCbx->count(), 0);
    EXPECT_EQ(rg->JrLcbx->count(), 0);
    EXPECT_EQ(rg->JrKlucz(), QString());
    EXPECT_EQ(rg->OsobyGrd->model()->rowCount(), 0);
    EXPECT_EQ(rg->DzialkiGrd->model()->rowCount(), 0);
    EXPECT_EQ(rg->BudGrd->model()->rowCount(), 0);

    // From a unit with holders and parcels back to the commune without precincts: emptied again.
    rg->PokazJr(211);
    EXPECT_EQ(rg->DzialkiGrd->model()->rowCount(), 1);
    rg->GminaCbx->setCurrentIndex(rg->GminaCbx->findText(QStringLiteral("Aleksandrów")));
    rg->GminaCbxChange();
    EXPECT_EQ(rg->JrLcbx->count(), 0);
    EXPECT_EQ(rg->OsobyGrd->model()->rowCount(), 0);
    EXPECT_EQ(rg->DzialkiGrd->model()->rowCount(), 0);
    EXPECT_TRUE(recording.messages.empty());

    // The jump of the units-of-persons window creates the window through the main window.
    delete rg;
    rg = nullptr;
    browsers::zarejestrujOknaRejestrow();
    main->PokazRejestrGruntow(211);
    auto *opened = qobject_cast<TRgFrm *>(app::okno(app::OknoProgramu::RejestrGruntow));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->JrKlucz(), QStringLiteral("211"));
    EXPECT_TRUE(recording.messages.empty());
    delete opened->parentWidget();
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, nullptr);
}

// The unit list drops down a dozen rows and the precinct list sixteen, not the screen's height.
TEST_F(RgFrmTest, NavigationListsDropDownTheirRowsOnly)
{
    for (int nr = 10; nr < 60; ++nr) {
        builder.add("OBREB", {{"MSLINK", 100 + nr}, {"NAZWA", QStringLiteral("Obręb %1").arg(nr).toStdString()}, {"GMINA_ID", 2.0}});
        builder.add("RGRUN", {{"ID_JR", 1000.0 + nr}, {"OBREB_ID", 21}, {"KOL_OBREB", nr}});
    }
    open();
    rg->resize(900, 600);
    rg->show();
    QApplication::processEvents();
    for (const auto &[list, rows] : {std::pair{rg->JrLcbx, 12}, std::pair{rg->ObrebCbx, 16}}) {
        SCOPED_TRACE(list->objectName().toStdString());
        ASSERT_GT(list->count(), 40);
        list->showPopup();
        const int row = list->view()->sizeHintForRow(0);
        const int shown = list->view()->viewport()->height();
        EXPECT_GE(shown, (rows - 1) * row);
        EXPECT_LE(shown, (rows + 1) * row);
        list->hidePopup();
    }
}

TEST_F(RgFrmTest, EmptyCommuneTableShowsTheCreationError)
{
    builder = RegisterBuilder();
    open();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd przy tworzeniu okna rejestru gruntów"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
    EXPECT_EQ(rg->GminaCbx->count(), 0);
    EXPECT_EQ(rg->JrLcbx->count(), 0);
}

TEST_F(RgFrmTest, ParcelCountAndAreaSumUnderPolishSettings)
{
    // 1.2345 ha; 0.5678 ha kept to 2 decimals (0,57); a parcel with two current land books.
    builder.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 211.0}, {"NR_L", 1}, {"AREA", 12345.0}, {"AROWA", 0}});
    builder.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 211.0}, {"NR_L", 2}, {"AREA", 5678.0}, {"AROWA", 1}});
    builder.add("KDZIALKA", {{"MSLINK", 3.0}, {"DZIALKA_ID", 13.0}, {"ID_JR", 211.0}, {"NR_L", 3}, {"AREA", 10000.0}, {"AROWA", 0}});
    builder.add("KDZIALKA", {{"MSLINK", 4.0}, {"DZIALKA_ID", 14.0}, {"ID_JR", 211.0}, {"NR_L", 4}, {"AREA", 10000.0}, {"ZMIANA_KAS_ID", 3.0}});
    builder.add("SLO_KW", {{"KW_ID", 901.0}, {"KW_TXT", "KW-A"}});
    builder.add("SLO_KW", {{"KW_ID", 902.0}, {"KW_TXT", "KW-B"}});
    builder.add("KW_DLK", {{"DZIALKA_ID", 13.0}, {"KW_ID", 901.0}, {"STATUS", "P"}});
    builder.add("KW_DLK", {{"DZIALKA_ID", 13.0}, {"KW_ID", 902.0}});
    builder.add("KW_DLK", {{"DZIALKA_ID", 13.0}, {"KW_ID", 903.0}, {"STATUS", "Z"}});
    open();
    EXPECT_EQ(rg->PrzedmPCtl->tabText(0), QStringLiteral("Działki: 4"));
    EXPECT_EQ(rg->SumPowDzPnl->text(), QStringLiteral(" Suma pow. działek: 3,8045 ha"));
    EXPECT_EQ(rg->PrzedmPCtl->tabText(1), QStringLiteral("Budynki: 0"));

    rg->PokazJr(212);
    EXPECT_EQ(rg->PrzedmPCtl->tabText(0), QStringLiteral("Działki: 0"));
    EXPECT_EQ(rg->SumPowDzPnl->text(), QStringLiteral(" Suma pow. działek: 0,0000 ha"));
}

// The areas shown and their sum round decimal halves away from zero, whatever their binary value.
TEST_F(RgFrmTest, AreaCellsAndSumRoundDecimalHalvesAwayFromZero)
{
    struct Case {
        double area; // m²
        int arowa;
        const char *cell;
    } cases[] = {{1050, 1, "0,11"}, {26750, 1, "2,68"}, {10050, 1, "1,01"}, {0.5, 0, "0,0001"}, {1234, 0, "0,1234"}};
    QStringList expected;
    int nr = 0;
    for (const Case &c : cases) {
        ++nr;
        builder.add("KDZIALKA", {{"MSLINK", double(nr)}, {"DZIALKA_ID", 10.0 + nr}, {"ID_JR", 211.0}, {"NR_L", nr},
                                 {"AREA", c.area}, {"AROWA", c.arowa}});
        expected << QString::fromUtf8(c.cell);
    }
    open();
    const int column = rg->DzialkiGrd->columnOfField(QStringLiteral("AREA"));
    QStringList cells;
    for (int row = 0; row < rg->DzialkiGrd->model()->rowCount(); ++row)
        cells << rg->DzialkiGrd->model()->index(row, column).data().toString();
    cells.sort();
    expected.sort();
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(rg->SumPowDzPnl->text(), QStringLiteral(" Suma pow. działek: 3,9235 ha"));
}

TEST_F(RgFrmTest, UnreadableAreaReportsTheUnitLoadError)
{
    builder.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 211.0}, {"NR_L", 1}}); // AREA NULL
    open();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Błąd przy czytaniu danych dla jednostki rejestrowej"));
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconError);
    EXPECT_FALSE(rg->BudQry->active()); // the steps after the error are skipped
}

TEST_F(RgFrmTest, WindowMessageBoxKinds)
{
    open();
    using K = RodzajKomunikatu;
    struct Case {
        K kind;
        int flags;
    } cases[] = {{K::Ostrzezenie, app::mb::IconWarning},
                 {K::OstrzezenieTakNie, app::mb::YesNo | app::mb::IconWarning},
                 {K::Informacja, app::mb::IconInformation},
                 {K::Blad, app::mb::IconError},
                 {K::OstrzezenieTakNieAnuluj, app::mb::YesNoCancel | app::mb::IconWarning},
                 {K::Pytanie, app::mb::YesNo | app::mb::IconQuestion},
                 {K{0}, app::mb::IconWarning}}; // a kind of no value: exclamation, OK
    for (const Case &c : cases) {
        recording.messages.clear();
        recording.messageAnswers = {app::mb::IdNo};
        const bool beep = c.kind == K::OstrzezenieTakNie;
        EXPECT_EQ(rg->KomunikatOkna(c.kind, QStringLiteral("t"), QString(), beep), app::mb::IdNo);
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].flags, c.flags) << int(c.kind);
        EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji()) << int(c.kind);
    }
    EXPECT_EQ(recording.beeps, 1);
}

TEST_F(RgFrmTest, ShareSumsAndWarnings)
{
    const QColor red(Qt::red), normal = QApplication::palette().color(QPalette::WindowText);
    struct Case {
        const char *name;
        std::vector<Holder> holders;
        const char *wl, *uw, *inni;
        bool wlRed, uwRed, inniRed;
    } cases[] = {
        {"1/2+1/2", {{1, 1, 2}, {3, 1, 2}}, "wl + si: 2      udział: 1", "uw: 0      udział: 0", "Pozostali: 0      udział: 0", false, false, false},
        {"1/2+1/3", {{1, 1, 2}, {1, 1, 3}}, "wl + si: 2      udział: 0,833333333333333", "uw: 0      udział: 0", "Pozostali: 0      udział: 0", true, false, false},
        {"1/3x3", {{1, 1, 3}, {1, 1, 3}, {3, 1, 3}}, "wl + si: 3      udział: 1", "uw: 0      udział: 0", "Pozostali: 0      udział: 0", false, false, false},
        {"none", {}, "wl + si: 0      udział: 0", "uw: 0      udział: 0", "Pozostali: 0      udział: 0", true, false, false},
        {"usufruct", {{2, 1, 1}}, "wl + si: 0      udział: 0", "uw: 1      udział: 1", "Pozostali: 0      udział: 0", true, false, false},
        {"m 0", {{1, 1, 1}, {3, 5, 0}, {4, 1, 2}}, "wl + si: 2      udział: 1", "uw: 0      udział: 0", "Pozostali: 1      udział: 0,5", false, false, true},
    };
    const double units[] = {211, 212, 201, 202, 101};
    for (size_t i = 0; i < std::size(units); ++i)
        addHolders(builder, units[i], cases[i].holders);
    open();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case &c = cases[i];
        // The sixth case shares unit 101 with the fifth; give it its own register.
        if (i == 5) {
            delete rg;
            rg = nullptr;
            builder = RegisterBuilder();
            baseRegister(builder);
            addHolders(builder, 211, c.holders);
            open();
        } else {
            rg->PokazJr(units[i]);
        }
        EXPECT_EQ(rg->UdzWlaPnl->text(), QString::fromUtf8(c.wl)) << c.name;
        EXPECT_EQ(rg->UdzUwPnl->text(), QString::fromUtf8(c.uw)) << c.name;
        EXPECT_EQ(rg->UdzInniPnl->text(), QString::fromUtf8(c.inni)) << c.name;
        EXPECT_EQ(fontColour(rg->UdzWlaPnl), c.wlRed ? red : normal) << c.name;
        EXPECT_EQ(fontColour(rg->UdzUwPnl), c.uwRed ? red : normal) << c.name;
        EXPECT_EQ(fontColour(rg->UdzInniPnl), c.inniRed ? red : normal) << c.name;
    }
}

TEST_F(RgFrmTest, CellColoursFollowTheRulesInOrderAndTheSettingsAtPaintTime)
{
    app::TUstawieniaFrm settings(app::ustawieniaProgramu(), root.filePath(QStringLiteral("Program/Katarix.ini")),
                                 app::KatalogiProgramu::drzewo(root.path() + '/'));
    const app::Ustawienia &program = app::ustawieniaProgramu();
    const QColor wla = program.kolorWla, uw = program.kolorUw, uk2 = program.kolorUk2, uk3 = program.kolorUk3;
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    open();
    struct Case {
        int grid; // 0 holders, 1 parcels, 2 buildings
        int wlad, rodzaj;
        const char *field, *text;
        bool selected;
        std::optional<QColor> expected;
    } cases[] = {
        {0, 1, 1, "NAZWA", "x", false, wla},      {0, 3, 2, "NAZWA", "x", false, uk2},
        {0, 4, 3, "NAZWA", "x", false, uk3},      {0, 5, 7, "NAZWA", "x", false, std::nullopt},
        {0, 2, 3, "NAZWA", "x", false, uw},       // usufruct wins over the form's group
        {0, 1, 1, "NAZWA", "x", true, highlight}, {0, 1, 1, "Kom", "!", true, QColor(255, 0, 0)},
        {0, 1, 1, "Kom", "", false, wla},         {1, 0, 0, "KOM", "!", true, QColor(255, 0, 0)},
        {1, 0, 0, "NUMER", "1", true, highlight}, {1, 0, 0, "NUMER", "1", false, std::nullopt},
        {2, 0, 0, "Kom", "!", false, QColor(255, 0, 0)}, {2, 0, 0, "NIERUCH_ID", "b", true, std::nullopt},
    };
    for (const Case &c : cases) {
        if (c.grid == 0) {
            delete rg;
            rg = nullptr;
            builder = RegisterBuilder();
            baseRegister(builder);
            builder.add("SLO_WLAD", {{"MSLINK", 9}, {"SKROT", "t"}, {"RODZAJ", c.rodzaj}});
            addHolders(builder, 211, {{c.wlad == 2 ? 2 : 9, 1, 1}});
            open();
        }
        DataGrid::CellParams cell;
        cell.row = 0;
        cell.field = QString::fromLatin1(c.field);
        cell.text = QString::fromLatin1(c.text);
        cell.selected = c.selected;
        const auto got = c.grid == 0 ? rg->OsobyGrdGetCellParams(cell)
                         : c.grid == 1 ? rg->DzialkiGrdGetCellParams(cell)
                                       : rg->BudGrdGetCellParams(cell);
        EXPECT_EQ(got, c.expected) << c.grid << " " << c.wlad << " " << c.field;
    }
    // A colour changed in the settings dialog and confirmed with OK shows at the next paint.
    recording.colorAnswers = {QColor(1, 2, 3)};
    settings.show();
    settings.WlaPnlClick(test::child<ColorPanel>(&settings, "UwPnl"));
    test::child<QPushButton>(&settings, "OkBtn")->click();
    builder = RegisterBuilder();
    baseRegister(builder);
    addHolders(builder, 211, {{2, 1, 1}});
    delete rg;
    rg = nullptr;
    open();
    DataGrid::CellParams cell;
    cell.row = 0;
    cell.field = QStringLiteral("NAZWA");
    EXPECT_EQ(rg->OsobyGrdGetCellParams(cell), QColor(1, 2, 3));
}

TEST_F(RgFrmTest, SelectedParcelRowPaintsHighlightButItsCommentCellRed)
{
    builder.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 211.0}, {"NR_L", 1}, {"AREA", 100.0}, {"UWAGI", "sporna"}});
    builder.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 211.0}, {"NR_L", 2}, {"AREA", 100.0}});
    open();
    rg->resize(900, 600);
    rg->show();
    rg->DzialkiGrd->selectRows({0});
    QApplication::processEvents();
    const QImage image = rg->DzialkiGrd->viewport()->grab().toImage();
    auto colourAt = [&](int row, int column) {
        const QRect rect = rg->DzialkiGrd->visualRect(rg->DzialkiGrd->model()->index(row, column));
        return image.pixelColor(rect.left() + 2, rect.top() + 2);
    };
    EXPECT_EQ(colourAt(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(0, 2), QApplication::palette().color(QPalette::Highlight));
    EXPECT_NE(colourAt(1, 2), QApplication::palette().color(QPalette::Highlight));
    EXPECT_FALSE(rg->PrzedmiotImg->isHidden()); // the first parcel has a comment
}

class ToolWindowTest : public RgFrmTest {
protected:
    void SetUp() override
    {
        RgFrmTest::SetUp();
        // Parcel 13 of unit 211: building 7001 of the land register (linked twice) and 7002 of
        // the building register; building 7001 has three premises, 7003 (of unit 211) none.
        builder.add("KDZIALKA", {{"MSLINK", 3.0}, {"DZIALKA_ID", 13.0}, {"ID_JR", 211.0}, {"NR_L", 3}, {"AREA", 100.0}, {"UWAGI", "Uwaga działki\r\ndruga linia"}});
        builder.add("KBUDYNEK", {{"MSLINK", 1.0}, {"BUDYNEK_ID", 7001.0}, {"IS_BUDYNKOWA", 0}, {"ID_JR", 211.0}, {"NIERUCH_ID", "B2"}});
        builder.add("KBUDYNEK", {{"MSLINK", 2.0}, {"BUDYNEK_ID", 7002.0}, {"IS_BUDYNKOWA", 1}, {"ID_JR", 801.0}, {"NIERUCH_ID", "B1"}});
        builder.add("KBUDYNEK", {{"MSLINK", 3.0}, {"BUDYNEK_ID", 7003.0}, {"IS_BUDYNKOWA", 0}, {"ID_JR", 211.0}, {"NIERUCH_ID", "B3"}});
        builder.add("RBUD", {{"ID_JR", 801.0}, {"OBREB_ID", 21}, {"KOL_OBREB", 7}});
        builder.add("DLK_BUD", {{"DZIALKA_ID", 13.0}, {"BUDYNEK_ID", 7001.0}});
        builder.add("DLK_BUD", {{"DZIALKA_ID", 13.0}, {"BUDYNEK_ID", 7001.0}});
        builder.add("DLK_BUD", {{"DZIALKA_ID", 13.0}, {"BUDYNEK_ID", 7002.0}});
        builder.add("RLOK", {{"ID_JR", 601.0}, {"KOL_OBREB", 4}});
        for (int i = 1; i <= 3; ++i)
            builder.add("KLOKAL", {{"MSLINK", double(i)}, {"LOKAL_ID", 80.0 + i}, {"ID_JR", 601.0}, {"BUDYNEK_ID", 7001.0},
                                   {"NRIMPORTED", std::to_string(i)}});
        builder.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 211.0}, {"OSOBA_ID", 5.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                                {"M_UDZIAL", 1}, {"OSOBA_TXT", "Osoba"}, {"KOMENT", 701.0}});
        builder.add("KOMENTARZ", {{"MSLINK", 701.0}, {"TEKST", "Uwaga osoby"}});
    }
};

TEST_F(ToolWindowTest, BuildingsOfAParcelFromBothRegistersOnceEach)
{
    open();
    rg->BudTBtn->trigger();
    EXPECT_TRUE(rg->BudTW->isVisible());
    EXPECT_EQ(rg->BudTW->windowTitle(), QStringLiteral("Budynki na działce 3"));
    jet::Query *q = rg->BudTW->BudQry;
    ASSERT_TRUE(q->active());
    ASSERT_EQ(q->recordCount(), 2);
    EXPECT_EQ(q->asString("JR"), QStringLiteral("B-7")); // ordered by nieruch_id: B1 first
    EXPECT_EQ(rg->BudTW->StatBar->currentMessage(), QStringLiteral("Ilość: 2"));

    // "Pokaż w rejestrze" ignores the building register's row and follows the land register's.
    struct Shown : QWidget, app::OknoRejestru {
        std::vector<double> ids;
        void PokazJr(double id) override { ids.push_back(id); }
    };
    Shown *shown = nullptr;
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, [&shown] { return shown = new Shown; });
    rg->BudTW->PrzejscieBtnClick();
    EXPECT_EQ(shown, nullptr);
    q->next();
    EXPECT_EQ(q->asString("JR"), QStringLiteral("G-1"));
    rg->BudTW->PrzejscieBtnClick();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->ids, std::vector<double>({211}));
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, nullptr);

    // The close box raises the button and empties the window.
    rg->BudTW->close();
    EXPECT_FALSE(rg->BudTBtn->isChecked());
    EXPECT_FALSE(q->active());
    // No parcel: the id -1 lists nothing.
    rg->PokazJr(212);
    rg->BudTBtn->trigger();
    EXPECT_EQ(rg->BudTW->windowTitle(), QStringLiteral("Budynki na działce "));
    EXPECT_EQ(q->recordCount(), 0);
    EXPECT_EQ(rg->BudTW->StatBar->currentMessage(), QStringLiteral("Ilość: 0"));
}

TEST_F(ToolWindowTest, PremisesCountFollowsTheBuilding)
{
    open();
    rg->PrzedmPCtl->setCurrentIndex(1);
    rg->LokTBtn->trigger();
    ASSERT_EQ(rg->BudQry->recordCount(), 2); // B2, B3 of unit 211 (not the building register's)
    EXPECT_EQ(rg->LokTW->windowTitle(), QStringLiteral("Lokale w budynku B2"));
    EXPECT_EQ(rg->LokTW->StatBar->currentMessage(), QStringLiteral("Ilość: 3"));
    EXPECT_EQ(rg->LokTW->LokQry->asString("JR"), QStringLiteral("4"));
    rg->BudQry->next();
    EXPECT_EQ(rg->LokTW->windowTitle(), QStringLiteral("Lokale w budynku B3"));
    EXPECT_EQ(rg->LokTW->StatBar->currentMessage(), QStringLiteral("Ilość: 0"));
    rg->LokTW->close();
    EXPECT_FALSE(rg->LokTBtn->isChecked());
    EXPECT_FALSE(rg->LokTW->LokQry->active());
}

TEST_F(ToolWindowTest, CommentFollowsTheFocusedListAndClosesAlone)
{
    open();
    rg->KomentTBtn->trigger();
    ASSERT_TRUE(rg->KomentTW->isVisible());
    // Parcels are the source at start.
    EXPECT_EQ(rg->KomentTW->Memo->toPlainText(), QStringLiteral("Uwaga działki\ndruga linia"));

    rg->KomentImgClick(ZnacznikKomentarza::Osoba);
    EXPECT_EQ(rg->KomentTW->windowTitle(), QStringLiteral("Komentarz - osoba"));
    EXPECT_EQ(rg->KomentTW->Memo->toPlainText(), QStringLiteral("Uwaga osoby"));
    EXPECT_FALSE(rg->OsobyImg->isHidden());

    rg->KomentImgClick(ZnacznikKomentarza::Jednostka);
    EXPECT_EQ(rg->KomentTW->windowTitle(), QStringLiteral("Komentarz - jednostka rejestrowa"));
    EXPECT_EQ(rg->KomentTW->Memo->toPlainText(), QString()); // unit 211 has none
    rg->PokazJr(212);
    EXPECT_EQ(rg->KomentTW->Memo->toPlainText(), QStringLiteral("Jednostka sporna"));

    rg->PrzedmPCtl->setCurrentIndex(1);
    EXPECT_EQ(rg->KomentTW->windowTitle(), QStringLiteral("Komentarz - budynek"));

    // Double click on the comment column opens the window only while its button is up.
    rg->KlasouzTBtn->trigger();
    EXPECT_TRUE(rg->KlasouzTW->isVisible());
    EXPECT_TRUE(rg->KlauzQry->active());
    rg->KomentTW->close();
    EXPECT_FALSE(rg->KomentTBtn->isChecked());
    EXPECT_EQ(rg->KomentTW->Memo->toPlainText(), QString());
    EXPECT_TRUE(rg->KlasouzTW->isVisible()); // the others keep their content
    rg->PokazJr(211);
    rg->DzialkiGrd->setCurrentIndex(rg->DzialkiGrd->model()->index(0, 1));
    rg->DBGridsDblClick(rg->DzialkiGrd);
    EXPECT_FALSE(rg->KomentTBtn->isChecked());
    rg->DzialkiGrd->setCurrentIndex(rg->DzialkiGrd->model()->index(0, 0));
    ASSERT_EQ(rg->DzialkiGrd->currentField(), QStringLiteral("Kom"));
    rg->DBGridsDblClick(rg->DzialkiGrd);
    EXPECT_TRUE(rg->KomentTBtn->isChecked());

    rg->KlasouzTW->close();
    EXPECT_FALSE(rg->KlasouzTBtn->isChecked());
    EXPECT_FALSE(rg->KlauzQry->active());
}

} // namespace

namespace {

TEST_F(RgFrmTest, MainWindowOpensOneInstanceAndTheReferenceClearsOnClose)
{
    builder.toDatabase(main->baza());
    loaded = true;
    browsers::zarejestrujOknaRejestrow();
    main->PokazRejestrGruntow(202);
    auto *opened = qobject_cast<TRgFrm *>(app::okno(app::OknoProgramu::RejestrGruntow));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->JrKlucz(), QStringLiteral("202"));
    main->PokazRejestrGruntow(212);
    EXPECT_EQ(app::okno(app::OknoProgramu::RejestrGruntow), opened);
    EXPECT_EQ(opened->JrKlucz(), QStringLiteral("212"));
    opened->parentWidget()->close(); // the MDI sub-window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app::okno(app::OknoProgramu::RejestrGruntow), nullptr);
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, nullptr);
}

TEST_F(RgFrmTest, LayoutIsKeptInItsSectionBetweenOpenings)
{
    open();
    rg->resize(800, 600);
    rg->show();
    QApplication::processEvents();
    rg->RxSplitter1->setSizes({230, 300});
    rg->RxSplitter2->setSizes({600, 150});
    rg->addToolBar(Qt::LeftToolBarArea, rg->MainTlbr);
    rg->DzialkiGrd->horizontalHeader()->resizeSection(1, 99);
    rg->close();
    delete rg;
    rg = nullptr;
    const app::IniFile ini(main->PlikIni);
    const QString section = QStringLiteral("KATARIX.REJESTR_GRUNTOW");
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("Panel2.Height"), QString()), QStringLiteral("230"));
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("Panel3.Width"), QString()), QStringLiteral("150"));
    EXPECT_FALSE(ini.ReadString(section, QStringLiteral("MainTlbr.DockedTo"), QString()).isEmpty());

    rg = new TRgFrm;
    rg->resize(800, 600);
    rg->show();
    QApplication::processEvents();
    EXPECT_EQ(rg->RxSplitter1->sizes().value(0), 230);
    EXPECT_EQ(rg->RxSplitter2->sizes().value(1), 150);
    EXPECT_EQ(rg->toolBarArea(rg->MainTlbr), Qt::LeftToolBarArea);
    EXPECT_EQ(rg->DzialkiGrd->horizontalHeader()->sectionSize(1), 99);
}

} // namespace
