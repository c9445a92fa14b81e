#include "app/IniFile.h"
#include "app/IniSave.h"
#include "app/Interaction.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/support/RecordingInteraction.h"
#include "common/Files.h"
#include "app/support/TestApplication.h"

#include <memory>
#include <vector>

using namespace katarix::app;

namespace {

// A window as designed: at 10,20, 150 wide and 100 high.
class Window : public QWidget {
public:
    Window() { setGeometry(10, 20, 150, 100); }
    ~Window() override = default;
    TIniSave IniSave;
};

class IniSaveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { katarix::test::ensureApplication(); }
    QString ini() const { return dir.filePath("Katarix.ini"); }
    void writeIni(const QByteArray &bytes) const { ASSERT_TRUE(katarix::test::writeBytes(ini(), bytes)); }
    QByteArray readIni() const { return katarix::test::fileBytes(ini(), "<missing>"); }
    QTemporaryDir dir;
    katarix::test::RecordingInteraction fake;
};

TEST_F(IniSaveTest, LoadAppliesLimitsAndReportsMalformedValues)
{
    const QString bad = "'%1' nie jest poprawną liczbą całkowitą";
    const struct {
        const char *name;
        QByteArray section;
        bool savePos, saveSize;
        QPoint pos;
        QSize size; // width, height
        QString message;
    } cases[] = {
        {"far position cut to the screen", "Pos=5000,3000\nSize=300,500", true, true, {880, 824}, {500, 300}, ""},
        {"negative left stays", "Pos=-50,10", true, true, {-50, 10}, {150, 100}, ""},
        {"position only", "Pos=120,80\nSize=300,500", true, false, {120, 80}, {150, 100}, ""},
        {"size only", "Pos=120,80\nSize=300,500", false, true, {10, 20}, {500, 300}, ""},
        {"empty values leave the design", "Pos=\nSize=", true, true, {10, 20}, {150, 100}, ""},
        {"no comma", "Pos=120", true, true, {10, 20}, {150, 100}, bad.arg("")},
        {"top not a number keeps the left", "Pos=100,x\nSize=300,500", true, true, {100, 20}, {150, 100}, bad.arg("x")},
        {"three numbers keep the left", "Pos=1,2,3", true, true, {1, 20}, {150, 100}, bad.arg("2,3")},
        {"width not a number keeps the height", "Pos=30,40\nSize=300,5OO", true, true, {30, 40}, {150, 300}, bad.arg("5OO")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni("[Other]\nPos=1,1\n[katarix.kardzfrm]\n" + c.section + "\n");
        fake.messages.clear();
        Window window;
        window.IniSave.Setup(&window, ini(), c.saveSize, c.savePos, "KATARIX.KarDzFrm");
        window.IniSave.Load();
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
        window.IniSave.Setup(nullptr, ini(), false, false, ""); // nothing written at destruction
    }
}

TEST_F(IniSaveTest, DestructionWritesPositionAndSizeAndKeepsTheRestOfTheFile)
{
    writeIni("; layout\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n\r\n[Baza]\r\nPath=C:\\x.mdb\r\n");
    {
        Window window;
        window.IniSave.Init(&window, ini(), true, true, "KATARIX.KarDzFrm");
        EXPECT_EQ(window.pos(), QPoint(1, 2));
        window.setGeometry(-50, 70, 500, 300);
    }
    {
        Window search; // position only
        search.IniSave.Init(&search, ini(), false, true, "KATARIX.DodDlkFrm");
        search.setGeometry(33, 44, 640, 480);
    }
    {
        Window never; // Init never called: nothing written
        never.move(5, 5);
    }
    EXPECT_EQ(readIni(), "; layout\r\n[KATARIX.KarDzFrm]\r\nPos=-50,70\r\nSize=300,500\r\n\r\n[Baza]\r\nPath=C:\\x.mdb\r\n"
                         "[KATARIX.DodDlkFrm]\r\nPos=33,44\r\n");
    EXPECT_TRUE(fake.messages.empty());

    // The search form reopens at its position with its designed size.
    Window reopened;
    reopened.IniSave.Init(&reopened, ini(), false, true, "katarix.doddlkfrm");
    EXPECT_EQ(reopened.geometry(), QRect(33, 44, 150, 100));
    reopened.IniSave.Setup(nullptr, ini(), false, false, "");
}

TEST_F(IniSaveTest, ToolWindowsOfDifferentOwnersKeepSeparateSections)
{
    for (const auto &[owner, left] : {std::pair{"RgFrm", 100}, std::pair{"KarDzFrm", 200}}) {
        Window tool;
        tool.IniSave.Init(&tool, ini(), true, true, QString("Katarix.TWbudFrm/") + owner);
        tool.move(left, left);
    }
    for (const auto &[owner, left] : {std::pair{"RgFrm", 100}, std::pair{"KarDzFrm", 200}}) {
        Window tool;
        tool.IniSave.Init(&tool, ini(), true, true, QString("KATARIX.TWBUDFRM/") + owner);
        EXPECT_EQ(tool.pos(), QPoint(left, left)) << owner;
    }
}

// An MDI child calls Init from its constructor, before it is put into its sub-window; the
// placement belongs to the sub-window, also when the sub-window destroys the child.
TEST_F(IniSaveTest, MdiChildIsPlacedThroughItsSubWindow)
{
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    for (const bool showChild : {false, true}) {
        SCOPED_TRACE(showChild ? "child shown" : "sub-window shown");
        writeIni("[KATARIX.KarDzFrm]\nPos=30,40\nSize=200,300\n");
        auto *child = new Window;
        child->IniSave.Init(child, ini(), true, true, "KATARIX.KarDzFrm");
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

TEST_F(IniSaveTest, UnwritableFileIsReportedAtDestruction)
{
    const QString blocked = dir.filePath("missing-folder/Katarix.ini");
    {
        Window window;
        window.IniSave.Init(&window, blocked, true, true, "KATARIX.KarOsFrm");
        EXPECT_TRUE(fake.messages.empty()) << "a missing file reads as empty";
    }
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("Nie udało się zapisać pliku konfiguracyjnego"));
    EXPECT_EQ(fake.messages[0].caption, TIniSave::errorCaption());
    EXPECT_EQ(fake.messages[0].flags, mb::IconError);
}

} // namespace
