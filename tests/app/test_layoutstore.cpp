// The layout store: the "Pos"/"Size" and the Left/Top/Width/Height/State placements, the parts
// of a window (panels, splitters, toolbars, headers, the toolbars of a main window, data grid
// columns), MDI sub-windows, when it writes and how it reports errors.
#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/LayoutStore.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/support/RecordingInteraction.h"
#include "common/Files.h"
#include "app/support/TestApplication.h"

using namespace katarix::app;
using Placement = LayoutStore::Placement;

namespace {

class LayoutStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { katarix::test::ensureApplication(); }
    QString ini() const { return dir.filePath("Katarix.ini"); }
    void writeIni(const QByteArray &bytes) const { ASSERT_TRUE(katarix::test::writeBytes(ini(), bytes)); }
    QByteArray readIni() const { return katarix::test::fileBytes(ini(), "<missing>"); }
    QTemporaryDir dir;
    katarix::test::RecordingInteraction fake;
};

// ---- "Pos" and "Size" ----

// A window as designed: at 10,20, 150 wide and 100 high, with its store.
class Window : public QWidget {
public:
    Window(const QString &section, Placement placement) : store(this, section, placement) { setGeometry(10, 20, 150, 100); }
    LayoutStore store;
};

TEST_F(LayoutStoreTest, PosAndSizeApplyLimitsAndReportMalformedValues)
{
    const QString bad = "'%1' nie jest poprawną liczbą całkowitą";
    const struct {
        const char *name;
        QByteArray section;
        Placement placement;
        QPoint pos;
        QSize size; // width, height
        QString message;
    } cases[] = {
        {"far position cut to the screen", "Pos=5000,3000\nSize=300,500", Placement::PosSize, {880, 824}, {500, 300}, ""},
        {"negative left stays", "Pos=-50,10", Placement::PosSize, {-50, 10}, {150, 100}, ""},
        {"position only", "Pos=120,80\nSize=300,500", Placement::Pos, {120, 80}, {150, 100}, ""},
        {"size only", "Pos=120,80\nSize=300,500", Placement::Size, {10, 20}, {500, 300}, ""},
        {"empty values leave the design", "Pos=\nSize=", Placement::PosSize, {10, 20}, {150, 100}, ""},
        {"no comma", "Pos=120", Placement::PosSize, {10, 20}, {150, 100}, bad.arg("")},
        {"top not a number keeps the left", "Pos=100,x\nSize=300,500", Placement::PosSize, {100, 20}, {150, 100}, bad.arg("x")},
        {"three numbers keep the left", "Pos=1,2,3", Placement::PosSize, {1, 20}, {150, 100}, bad.arg("2,3")},
        {"width not a number keeps the height", "Pos=30,40\nSize=300,5OO", Placement::PosSize, {30, 40}, {150, 300}, bad.arg("5OO")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni("[Other]\nPos=1,1\n[katarix.kardzfrm]\n" + c.section + "\n");
        fake.messages.clear();
        Window window("KATARIX.KarDzFrm", c.placement);
        window.store.setIniFileName(ini());
        window.store.restore();
        EXPECT_EQ(window.pos(), c.pos);
        EXPECT_EQ(window.size(), c.size);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(fake.messages.empty());
        } else {
            ASSERT_EQ(fake.messages.size(), 1u);
            EXPECT_EQ(fake.messages[0].text, c.message);
            EXPECT_EQ(fake.messages[0].caption, "Błąd podczas zapisywania ustawień kontrolki do pliku ini");
            EXPECT_EQ(fake.messages[0].flags, mb::IconError);
        }
        window.store.setForm(nullptr); // nothing written at destruction
    }
}

TEST_F(LayoutStoreTest, DestructionWritesPositionAndSizeAndKeepsTheRestOfTheFile)
{
    writeIni("; layout\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n\r\n[Baza]\r\nPath=C:\\x.mdb\r\n");
    {
        Window window("KATARIX.KarDzFrm", Placement::PosSize);
        window.store.setIniFileName(ini());
        window.store.restore();
        EXPECT_EQ(window.pos(), QPoint(1, 2));
        window.setGeometry(-50, 70, 500, 300);
    }
    {
        Window search("KATARIX.DodDlkFrm", Placement::Pos);
        search.store.setIniFileName(ini());
        search.store.restore();
        search.setGeometry(33, 44, 640, 480);
    }
    {
        Window never("KATARIX.Never", Placement::PosSize); // never read: nothing written
        never.store.setIniFileName(ini());
        never.move(5, 5);
    }
    EXPECT_EQ(readIni(), "; layout\r\n[KATARIX.KarDzFrm]\r\nPos=-50,70\r\nSize=300,500\r\n\r\n[Baza]\r\nPath=C:\\x.mdb\r\n"
                         "[KATARIX.DodDlkFrm]\r\nPos=33,44\r\n");
    EXPECT_TRUE(fake.messages.empty());

    // The search form reopens at its position with its designed size.
    Window reopened("katarix.doddlkfrm", Placement::Pos);
    reopened.store.setIniFileName(ini());
    reopened.store.restore();
    EXPECT_EQ(reopened.geometry(), QRect(33, 44, 150, 100));
    reopened.store.setForm(nullptr);
}

// A window that wrote its layout when it closed does not write it again when destroyed; one
// that read it again writes again.
TEST_F(LayoutStoreTest, WritesOnceAfterEachReading)
{
    writeIni("[KATARIX.KarOsFrm]\nPos=1,2\n");
    {
        Window window("KATARIX.KarOsFrm", Placement::Pos);
        window.store.setIniFileName(ini());
        window.store.restore();
        window.move(30, 40);
        window.store.save();
        window.move(50, 60); // after closing: not written
    }
    EXPECT_EQ(readIni(), "[KATARIX.KarOsFrm]\nPos=30,40\n");
    {
        Window window("KATARIX.KarOsFrm", Placement::Pos);
        window.store.setIniFileName(ini());
        window.store.restore();
        window.store.save();
        window.move(70, 80);
        window.store.restore();
        window.move(90, 100);
    }
    EXPECT_EQ(readIni(), "[KATARIX.KarOsFrm]\nPos=90,100\n");
}

TEST_F(LayoutStoreTest, ToolWindowsOfDifferentOwnersKeepSeparateSections)
{
    for (const auto &[owner, left] : {std::pair{"RgFrm", 100}, std::pair{"KarDzFrm", 200}}) {
        Window tool(QString("Katarix.TWbudFrm/") + owner, Placement::PosSize);
        tool.store.setIniFileName(ini());
        tool.store.restore();
        EXPECT_FALSE(tool.store.hasStoredPlacement());
        tool.move(left, left);
    }
    for (const auto &[owner, left] : {std::pair{"RgFrm", 100}, std::pair{"KarDzFrm", 200}}) {
        Window tool(QString("KATARIX.TWBUDFRM/") + owner, Placement::PosSize);
        tool.store.setIniFileName(ini());
        EXPECT_TRUE(tool.store.hasStoredPlacement());
        tool.store.restore();
        EXPECT_EQ(tool.pos(), QPoint(left, left)) << owner;
    }
}

// An MDI child reads its layout from its constructor, before it is put into its sub-window; the
// placement belongs to the sub-window, also when the sub-window destroys the child.
TEST_F(LayoutStoreTest, PosSizeMdiChildIsPlacedThroughItsSubWindow)
{
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    for (const bool showChild : {false, true}) {
        SCOPED_TRACE(showChild ? "child shown" : "sub-window shown");
        writeIni("[KATARIX.KarDzFrm]\nPos=30,40\nSize=200,300\n");
        auto *child = new Window("KATARIX.KarDzFrm", Placement::PosSize);
        child->store.setIniFileName(ini());
        child->store.restore();
        QMdiSubWindow *sub = area.addSubWindow(child);
        if (showChild)
            child->show();
        else
            sub->show();
        QApplication::processEvents();
        EXPECT_EQ(sub->pos(), QPoint(30, 40));
        EXPECT_EQ(sub->size(), QSize(300, 200));

        sub->setGeometry(70, 90, 450, 250);
        delete sub;
        EXPECT_EQ(readIni(), "[KATARIX.KarDzFrm]\nPos=70,90\nSize=250,450\n");
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(LayoutStoreTest, PosSizeUnwritableFileIsReportedAtDestruction)
{
    const QString blocked = dir.filePath("missing-folder/Katarix.ini");
    {
        Window window("KATARIX.KarOsFrm", Placement::PosSize);
        window.store.setIniFileName(blocked);
        window.store.restore();
        EXPECT_TRUE(fake.messages.empty()) << "a missing file reads as empty";
    }
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("Nie udało się zapisać pliku konfiguracyjnego"));
    EXPECT_EQ(fake.messages[0].caption, LayoutStore::kCaptionPosSize);
    EXPECT_EQ(fake.messages[0].flags, mb::IconError);
}

// ---- Left, Top, Width, Height, State and the parts ----

// A register-like window: a toolbar, a vertical splitter (Panel2 over Panel3) and a grid.
struct RegisterWindow {
    RegisterWindow()
    {
        window.setObjectName("RgFrm");
        toolBar = window.addToolBar("Pasek");
        toolBar->setObjectName("MainTlbr");
        toolBar->addAction("Jednostka");
        splitter = new QSplitter(Qt::Vertical);
        splitter->setObjectName("Splitter1");
        panel2 = new QLabel("Panel2");
        panel2->setObjectName("Panel2");
        grid = new QTableView;
        grid->setObjectName("DzialkiGrd");
        model.setColumnCount(4);
        grid->setModel(&model);
        splitter->addWidget(panel2);
        splitter->addWidget(grid);
        window.setCentralWidget(splitter);
        window.setGeometry(50, 60, 700, 500);
        window.show();
        QApplication::processEvents();

        placement.setForm(&window);
        placement.setSection("KATARIX.REJESTR_GRUNTOW");
        placement.addHeight(panel2);
        placement.addSplitter(splitter);
        placement.addToolBar(toolBar);
        placement.addHeader(grid->horizontalHeader(), "DzialkiGrd");
    }
    QMainWindow window;
    QToolBar *toolBar;
    QSplitter *splitter;
    QLabel *panel2;
    QTableView *grid;
    QStandardItemModel model;
    LayoutStore placement;
};

TEST_F(LayoutStoreTest, BoundsAndPartsRestoreWhatWasSavedInTheSection)
{
    writeIni("[Baza]\nPath=x.mdb\n[katarix.rejestr_gruntow]\nDzialkiGrd.Obcy=1\n");
    QList<int> sizes;
    {
        RegisterWindow first;
        first.window.move(120, 80);
        first.window.resize(800, 600);
        first.window.addToolBar(Qt::LeftToolBarArea, first.toolBar);
        QApplication::processEvents();
        first.splitter->setSizes({150, 300});
        QHeaderView *header = first.grid->horizontalHeader();
        header->moveSection(3, 0); // visual order 3,0,1,2
        header->resizeSection(0, 77);
        header->hideSection(2);
        sizes = first.splitter->sizes();
        first.placement.setIniFileName(ini());
        first.placement.save();
    }
    const IniFile file(ini());
    EXPECT_EQ(file.ReadString("Baza", "Path", ""), "x.mdb");
    EXPECT_EQ(file.ReadString("KATARIX.REJESTR_GRUNTOW", "DzialkiGrd.Obcy", ""), "1");
    EXPECT_EQ(file.ReadString("KATARIX.REJESTR_GRUNTOW", "MainTlbr.DockedTo", ""), "Left");
    EXPECT_EQ(file.ReadInteger("KATARIX.REJESTR_GRUNTOW", "Panel2.Height", -1), sizes[0]);
    EXPECT_EQ(file.ReadString("KATARIX.REJESTR_GRUNTOW", "Splitter1.Sizes", ""),
              QString("%1,%2").arg(sizes[0]).arg(sizes[1]));
    EXPECT_EQ(file.ReadString("KATARIX.REJESTR_GRUNTOW", "DzialkiGrd.Columns", "").section(',', 0, 1), "3:100,0:77");
    EXPECT_EQ(file.ReadInteger("KATARIX.REJESTR_GRUNTOW", "State", -1), 0);

    RegisterWindow second;
    second.placement.setIniFileName(ini());
    EXPECT_TRUE(second.placement.hasStoredPlacement());
    EXPECT_TRUE(second.placement.hasStoredValue("Panel2.Height"));
    EXPECT_FALSE(second.placement.hasStoredValue("KlasouzTW.Left"));
    second.placement.restore();
    QApplication::processEvents();
    EXPECT_EQ(second.window.pos(), QPoint(120, 80));
    EXPECT_EQ(second.window.size(), QSize(800, 600));
    EXPECT_EQ(second.window.toolBarArea(second.toolBar), Qt::LeftToolBarArea);
    EXPECT_EQ(second.splitter->sizes(), sizes);
    QHeaderView *header = second.grid->horizontalHeader();
    EXPECT_EQ(header->logicalIndex(0), 3);
    EXPECT_EQ(header->logicalIndex(1), 0);
    EXPECT_EQ(header->sectionSize(0), 77);
    EXPECT_TRUE(header->isSectionHidden(2));
    EXPECT_FALSE(header->isSectionHidden(0));
    EXPECT_TRUE(fake.messages.empty());
    second.placement.setForm(nullptr);
}

TEST_F(LayoutStoreTest, BoundsMissingOrMalformedValuesLeaveTheDesign)
{
    writeIni("[KATARIX.REJESTR_GRUNTOW]\nLeft=abc\nTop=10\nWidth=-5\nHeight=300\nState=x\n"
             "Splitter1.Sizes=10,abc\nPanel2.Height=\nMainTlbr.DockedTo=Nowhere\n"
             "DzialkiGrd.Columns=1:50,0:60\n");
    RegisterWindow window;
    const QList<int> sizes = window.splitter->sizes();
    window.placement.setIniFileName(ini());
    window.placement.restore();
    QApplication::processEvents();
    EXPECT_EQ(window.window.geometry(), QRect(50, 60, 700, 500));
    EXPECT_EQ(window.window.windowState(), Qt::WindowNoState);
    EXPECT_EQ(window.splitter->sizes(), sizes);
    EXPECT_EQ(window.window.toolBarArea(window.toolBar), Qt::TopToolBarArea);
    EXPECT_EQ(window.grid->horizontalHeader()->logicalIndex(0), 0) << "four columns, two stored";
    EXPECT_TRUE(fake.messages.empty());
    window.placement.setForm(nullptr);

    // No file name yet: nothing is read or written.
    RegisterWindow inactive;
    inactive.placement.restore();
    inactive.placement.save();
    EXPECT_EQ(inactive.window.geometry(), QRect(50, 60, 700, 500));
    EXPECT_FALSE(inactive.placement.hasStoredPlacement());
}

TEST_F(LayoutStoreTest, ToolbarsOfAMainWindowGoToOneSectionPerToolbar)
{
    const QString prefix = "KATARIX.KART_OS_TOOLBARS.";
    auto build = [](QMainWindow &window) {
        for (const char *name : {"OsobyTlb", "RaportyTlb", "SzukajTlb"}) {
            QToolBar *bar = window.addToolBar(name);
            bar->setObjectName(name);
            bar->addAction(name);
        }
        window.resize(600, 400);
        window.show();
        QApplication::processEvents();
    };
    {
        QMainWindow window;
        build(window);
        auto *osoby = window.findChild<QToolBar *>("OsobyTlb");
        auto *raporty = window.findChild<QToolBar *>("RaportyTlb");
        window.addToolBar(Qt::BottomToolBarArea, window.findChild<QToolBar *>("SzukajTlb"));
        window.addToolBar(Qt::BottomToolBarArea, osoby); // right of SzukajTlb
        window.addToolBar(Qt::RightToolBarArea, raporty);
        raporty->hide();
        QApplication::processEvents();
        LayoutStore store(&window, QString(), Placement::None);
        store.addToolBars(&window, prefix);
        store.setIniFileName(ini());
        store.save();
    }
    const IniFile file(ini());
    QStringList sections = file.ReadSections();
    sections.sort();
    EXPECT_EQ(sections, QStringList({prefix + "OsobyTlb", prefix + "RaportyTlb", prefix + "SzukajTlb"}));
    EXPECT_EQ(file.ReadString(prefix + "osobytlb", "DockedTo", ""), "Bottom");
    EXPECT_EQ(file.ReadString(prefix + "RaportyTlb", "Visible", ""), "0");

    QMainWindow window;
    build(window);
    LayoutStore store(&window, QString(), Placement::None);
    store.addToolBars(&window, prefix);
    store.setIniFileName(ini());
    store.restore();
    store.setForm(nullptr);
    const struct {
        const char *name;
        Qt::ToolBarArea area;
        bool visible;
    } expected[] = {{"OsobyTlb", Qt::BottomToolBarArea, true},
                    {"RaportyTlb", Qt::RightToolBarArea, false},
                    {"SzukajTlb", Qt::BottomToolBarArea, true}};
    for (const auto &e : expected) {
        auto *bar = window.findChild<QToolBar *>(e.name);
        EXPECT_EQ(window.toolBarArea(bar), e.area) << e.name;
        EXPECT_EQ(!bar->isHidden(), e.visible) << e.name;
    }
    QApplication::processEvents();
    EXPECT_LT(window.findChild<QToolBar *>("SzukajTlb")->x(), window.findChild<QToolBar *>("OsobyTlb")->x())
        << "order along the dock kept";
}

// A register window restores its placement from its constructor, before it is put into its
// MDI sub-window; the placement belongs to the sub-window.
TEST_F(LayoutStoreTest, BoundsMdiChildIsPlacedThroughItsSubWindow)
{
    writeIni("[KATARIX.REJESTR_LOKALI]\nLeft=25\nTop=35\nWidth=420\nHeight=260\nState=0\n");
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    auto *form = new QWidget;
    LayoutStore placement(form, "KATARIX.REJESTR_LOKALI");
    placement.setIniFileName(ini());
    placement.restore();
    QMdiSubWindow *sub = area.addSubWindow(form);
    form->show();
    QApplication::processEvents();
    EXPECT_EQ(sub->geometry(), QRect(25, 35, 420, 260));

    sub->setGeometry(60, 70, 500, 300);
    placement.save();
    const IniFile file(ini());
    EXPECT_EQ(file.ReadInteger("KATARIX.REJESTR_LOKALI", "Left", -1), 60);
    EXPECT_EQ(file.ReadInteger("KATARIX.REJESTR_LOKALI", "Height", -1), 300);
    delete sub;
}

// A maximised top-level window is stored with the place it had in the normal state: the frame's
// position, as for a normal one, not the client area's. Whether it was maximised while shown,
// restored maximised, or restored maximised with its native window already made, the values
// written are the ones read, and a normal window restored twice does not move.
TEST_F(LayoutStoreTest, BoundsTopLevelWindowIsStoredWhereItWasLeftAlsoWhenMaximised)
{
    const QByteArray normal = "[Okno]\nLeft=120\nTop=80\nWidth=400\nHeight=300\nState=0\n";
    const struct {
        const char *name;
        QByteArray stored;
        bool nativeFirst;
        bool maximise;
    } cases[] = {
        {"maximised while shown", normal, false, true},
        {"restored maximised", "[Okno]\nLeft=120\nTop=80\nWidth=400\nHeight=300\nState=2\n", false, false},
        {"restored maximised, native window made first", "[Okno]\nLeft=120\nTop=80\nWidth=400\nHeight=300\nState=2\n", true, false},
        {"normal, native window made first", normal, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(c.stored);
        for (int round = 0; round < 2; ++round) {
            QWidget window;
            LayoutStore store(&window, "Okno");
            if (c.nativeFirst)
                window.winId();
            store.setIniFileName(ini());
            store.restore();
            window.show();
            QApplication::processEvents();
            if (c.maximise && round == 0) {
                window.showMaximized();
                QApplication::processEvents();
                EXPECT_TRUE(window.isMaximized());
            }
            if (!window.isMaximized()) {
                EXPECT_EQ(window.pos(), QPoint(120, 80));
            }
        }
        const IniFile file(ini());
        EXPECT_EQ(QRect(file.ReadInteger("Okno", "Left", -1), file.ReadInteger("Okno", "Top", -1),
                        file.ReadInteger("Okno", "Width", -1), file.ReadInteger("Okno", "Height", -1)),
                  QRect(120, 80, 400, 300));
        EXPECT_EQ(file.ReadInteger("Okno", "State", -1), c.maximise || c.stored.contains("State=2") ? 2 : 0);
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(LayoutStoreTest, BoundsUnwritableFileIsReportedWithTheApplicationTitle)
{
    QApplication::setApplicationDisplayName("Katarix 1.0");
    RegisterWindow window;
    window.placement.setIniFileName(dir.filePath("missing/Katarix.ini"));
    window.placement.saveOrReport();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("Nie udało się zapisać pliku konfiguracyjnego"));
    EXPECT_EQ(fake.messages[0].caption, "Katarix 1.0");
    EXPECT_EQ(fake.messages[0].flags, mb::IconError);
}

// ---- data grid columns ----

TEST_F(LayoutStoreTest, GridColumnLayoutComesFromItsOwnSection)
{
    using katarix::widgets::DataGrid;
    struct Case {
        QByteArray value; // for BudGrd.B
        QStringList visualOrder;
        int widthOfB; // -1: hidden
        bool error;
    } cases[] = {
        {"2,-1", {"A", "C", "B", "D"}, -1, false},
        {"0,120", {"B", "A", "C", "D"}, 120, false},
        {"9,33", {"A", "B", "C", "D"}, 33, false},
        {"", {"A", "B", "C", "D"}, 50, false},
        {"2", {"A", "B", "C", "D"}, 50, true},
        {"x,10", {"A", "B", "C", "D"}, 50, true},
    };
    for (const Case &c : cases) {
        writeIni("[Katarix.TWbudFrm.BudGrd]\r\nBudGrd.B=" + c.value + "\r\nBudGrd.D=0,77\r\n");
        DataGrid grid;
        grid.setObjectName(QStringLiteral("BudGrd"));
        grid.setColumns({{"A", {}, 50}, {"B", {}, 50}, {"C", {}, 50}, {"D", {}, 50, Qt::AlignLeft, false, "POMIN"}});
        fake.messages.clear();
        LayoutStore store(&grid, "Katarix.TWbudFrm/RgFrm", Placement::None);
        store.addGridColumns(&grid, QStringLiteral("Katarix.TWbudFrm.BudGrd"));
        store.setIniFileName(ini());
        store.restore();
        QStringList order;
        for (int v = 0; v < 4; ++v)
            order << grid.fieldOfColumn(grid.horizontalHeader()->logicalIndex(v));
        EXPECT_EQ(order, c.visualOrder) << c.value.constData();
        const bool hidden = grid.horizontalHeader()->isSectionHidden(1);
        EXPECT_EQ(hidden ? -1 : grid.horizontalHeader()->sectionSize(1), c.widthOfB) << c.value.constData();
        EXPECT_EQ(grid.horizontalHeader()->sectionSize(3), 50); // POMIN: skipped
        EXPECT_TRUE(grid.horizontalHeader()->updatesEnabled());
        EXPECT_EQ(fake.messages.size(), c.error ? 1u : 0u) << c.value.constData();
        if (c.error) {
            EXPECT_EQ(fake.messages[0].caption, QStringLiteral("Błąd podczas odczytywania ustawień DBGrid'a z pliku ini"));
        }
        store.save();
        EXPECT_EQ(IniFile(ini()).ReadSections(), QStringList({"Katarix.TWbudFrm.BudGrd"})) << "never written";
    }
    // A missing file leaves the design.
    DataGrid grid;
    grid.setObjectName(QStringLiteral("BudGrd"));
    grid.setColumns({{"A", {}, 50}});
    fake.messages.clear();
    LayoutStore store(&grid, QString(), Placement::None);
    store.addGridColumns(&grid, QStringLiteral("x"));
    store.setIniFileName(dir.filePath(QStringLiteral("brak.ini")));
    store.restore();
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 50);
    EXPECT_TRUE(fake.messages.empty());
}

} // namespace
