#include "app/FormPlacement.h"
#include "app/IniFile.h"
#include "app/Interaction.h"

#include <QApplication>
#include <QFile>
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

#include <gtest/gtest.h>

#include "app/support/RecordingInteraction.h"
#include "app/support/TestApplication.h"

using namespace katarix::app;

namespace {

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
    FormPlacement placement;
};

class FormPlacementTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { katarix::test::ensureApplication(); }
    QString ini() const { return dir.filePath("Katarix.ini"); }
    QTemporaryDir dir;
    katarix::test::RecordingInteraction fake;
};

TEST_F(FormPlacementTest, RestoresWhatWasSavedInItsSection)
{
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Baza]\nPath=x.mdb\n[katarix.rejestr_gruntow]\nDzialkiGrd.Obcy=1\n");
    }
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
}

TEST_F(FormPlacementTest, MissingOrMalformedValuesLeaveTheDesign)
{
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[KATARIX.REJESTR_GRUNTOW]\nLeft=abc\nTop=10\nWidth=-5\nHeight=300\nState=x\n"
                   "Splitter1.Sizes=10,abc\nPanel2.Height=\nMainTlbr.DockedTo=Nowhere\n"
                   "DzialkiGrd.Columns=1:50,0:60\n");
    }
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

    // No file name yet: nothing is read or written.
    RegisterWindow inactive;
    inactive.placement.restore();
    inactive.placement.save();
    EXPECT_EQ(inactive.window.geometry(), QRect(50, 60, 700, 500));
}

TEST_F(FormPlacementTest, ToolbarPositionsGoToOneSectionPerToolbar)
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
        IniFile file(ini());
        saveToolBarPositions(&window, file, prefix);
    }
    const IniFile file(ini());
    QStringList sections = file.ReadSections();
    sections.sort();
    EXPECT_EQ(sections, QStringList({prefix + "OsobyTlb", prefix + "RaportyTlb", prefix + "SzukajTlb"}));
    EXPECT_EQ(file.ReadString(prefix + "osobytlb", "DockedTo", ""), "Bottom");
    EXPECT_EQ(file.ReadString(prefix + "RaportyTlb", "Visible", ""), "0");

    QMainWindow window;
    build(window);
    restoreToolBarPositions(&window, file, prefix);
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
TEST_F(FormPlacementTest, MdiChildIsPlacedThroughItsSubWindow)
{
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[KATARIX.REJESTR_LOKALI]\nLeft=25\nTop=35\nWidth=420\nHeight=260\nState=0\n");
    }
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    auto *form = new QWidget;
    FormPlacement placement(form, "KATARIX.REJESTR_LOKALI");
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

TEST_F(FormPlacementTest, UnwritableFileIsReportedWithTheApplicationTitle)
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

} // namespace
