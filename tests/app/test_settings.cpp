// The settings (app/Ustawienia.h) and their dialog: defaults, reading, writing, and what each way
// of closing the dialog does to the settings the program reads and to the file.
#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Ustawienia.h"
#include "app/UstawieniaFrm.h"
#include "widgets/ColorPanel.h"
#include "widgets/PathEdit.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/support/Child.h"
#include "app/support/RecordingInteraction.h"
#include "common/Files.h"
#include "app/support/TestApplication.h"

#include <memory>

using namespace katarix::app;
using katarix::test::child;
using katarix::widgets::ColorPanel;
using katarix::widgets::DirectoryEdit;
using katarix::widgets::FileNameEdit;
using katarix::widgets::RadioGroup;

namespace {

struct Values {
    QString edytor, szablony, wynik;
    int wla, uw, uk2, uk3, zakres;
};

class SettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { katarix::test::ensureApplication(); }

    QString ini() const { return dir.filePath("Program/Katarix.ini"); }
    QString katalogGlowny() const { return dir.path() + "/"; }
    std::unique_ptr<TUstawieniaFrm> create()
    {
        QDir(dir.path()).mkpath("Program");
        return std::make_unique<TUstawieniaFrm>(ustawienia, ini(), KatalogiProgramu::drzewo(katalogGlowny()));
    }
    void writeIni(const QByteArray &bytes) const
    {
        QDir(dir.path()).mkpath("Program");
        ASSERT_TRUE(katarix::test::writeBytes(ini(), bytes));
    }
    QByteArray readIni() const { return katarix::test::fileBytes(ini(), "<missing>"); }
    // What the dialog's controls show.
    static Values shown(const TUstawieniaFrm &frm)
    {
        return {child<FileNameEdit>(&frm, "EdytorFE")->fileName(),  child<DirectoryEdit>(&frm, "SzablonyDE")->text(),
                child<DirectoryEdit>(&frm, "OutputDE")->text(),     child<ColorPanel>(&frm, "WlaPnl")->colorValue(),
                child<ColorPanel>(&frm, "UwPnl")->colorValue(),     child<ColorPanel>(&frm, "Uk2Pnl")->colorValue(),
                child<ColorPanel>(&frm, "Uk3Pnl")->colorValue(),    child<RadioGroup>(&frm, "ZakresDlkGB")->itemIndex()};
    }
    // What the rest of the program reads.
    static Values held(const Ustawienia &u)
    {
        using katarix::widgets::colorToWindows;
        return {u.edytor, u.katalogSzablonow, u.katalogWynikowy, colorToWindows(u.kolorWla), colorToWindows(u.kolorUw),
                colorToWindows(u.kolorUk2), colorToWindows(u.kolorUk3), u.zakresDlk};
    }
    Values defaults() const
    {
        return {Ustawienia::domyslnyEdytor(), katalogGlowny() + "Szablony", katalogGlowny() + "Tmp",
                11795963, 12315841, 12704496, 16434658, 0};
    }
    static void expectValues(const Values &actual, const Values &expected)
    {
        EXPECT_EQ(actual.edytor, expected.edytor);
        EXPECT_EQ(actual.szablony, expected.szablony);
        EXPECT_EQ(actual.wynik, expected.wynik);
        EXPECT_EQ(actual.wla, expected.wla);
        EXPECT_EQ(actual.uw, expected.uw);
        EXPECT_EQ(actual.uk2, expected.uk2);
        EXPECT_EQ(actual.uk3, expected.uk3);
        EXPECT_EQ(actual.zakres, expected.zakres);
    }
    // Edits every setting in the dialog, the colour through the colour dialog; each edit is in
    // the settings at once, as the controls were read at the moment of use.
    void editEverything(TUstawieniaFrm &frm)
    {
        child<FileNameEdit>(&frm, "EdytorFE")->setFileName("/opt/edytor/writer");
        child<DirectoryEdit>(&frm, "SzablonyDE")->setText(QString::fromUtf8("/srv/wzory/Łódź"));
        child<DirectoryEdit>(&frm, "OutputDE")->setText("/tmp/raporty");
        fake.colorAnswers.push_back(QColor(0x11, 0x22, 0x33));
        frm.WlaPnlClick(child<ColorPanel>(&frm, "WlaPnl"));
        child<RadioGroup>(&frm, "ZakresDlkGB")->button(1)->click();
        const Values now = held(ustawienia);
        EXPECT_EQ(now.edytor, edited.edytor);
        EXPECT_EQ(now.szablony, edited.szablony);
        EXPECT_EQ(now.wynik, edited.wynik);
        EXPECT_EQ(now.wla, edited.wla);
        EXPECT_EQ(now.zakres, edited.zakres);
    }
    const Values edited{"/opt/edytor/writer", QString::fromUtf8("/srv/wzory/Łódź"), "/tmp/raporty",
                        0x332211, 12315841, 12704496, 16434658, 1};

    QTemporaryDir dir;
    Ustawienia ustawienia;
    katarix::test::RecordingInteraction fake;
};

TEST_F(SettingsTest, WithoutTheFileTheSettingsHaveTheDefaultColoursAndNoPaths)
{
    const Ustawienia none;
    expectValues(held(none), {"", "", "", 11795963, 12315841, 12704496, 16434658, 0});
    EXPECT_EQ(none.kolorWla, QColor(0xFB, 0xFD, 0xB3));
    EXPECT_FALSE(none.wszystkieDzialki());
}

TEST_F(SettingsTest, FirstRunShowsTheDefaultsAndWritesNothingUntilOk)
{
    auto frm = create();
    expectValues(shown(*frm), defaults());
    expectValues(held(ustawienia), defaults());
    EXPECT_EQ(child<ColorPanel>(frm.get(), "WlaPnl")->color(), QColor(0xFB, 0xFD, 0xB3));
    EXPECT_TRUE(child<RadioGroup>(frm.get(), "ZakresDlkGB")->button(0)->isChecked());
    frm->show();
    frm->close();
    EXPECT_EQ(readIni(), "<missing>");

    // OK with unchanged values writes all eight keys, in order, as one key each.
    frm->show();
    child<QPushButton>(frm.get(), "OkBtn")->click();
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(QString::fromUtf8(readIni()),
              "[wydruk]\nprzeglad=" + Ustawienia::domyslnyEdytor() + "\nszablony=" + katalogGlowny() +
                  "Szablony\nwynik=" + katalogGlowny() +
                  "Tmp\n[Rgrun]\nWlaColor=11795963\nUwColor=12315841\nUk2Color=12704496\nUk3Color=16434658\n"
                  "[RaportJR]\nZakresDlk=0\n");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(SettingsTest, ReadsStoredValuesWithoutRegardToCaseAndDefaultsMalformedNumbers)
{
    const struct {
        const char *name;
        QByteArray file;
        Values expected;
    } cases[] = {
        {"stored",
         "[Baza]\r\nPath=C:\\Bazy\\ewid.mdb\r\n[WYDRUK]\r\nPRZEGLAD=C:\\Office\\Winword.exe\r\nSzablony=D:\\Szablony\r\n"
         "wynik=D:\\Wyniki\\\r\n[rgrun]\r\nwlacolor=255\r\nUwColor=$00FF00\r\nUK2COLOR=0\r\nUk3Color=16777215\r\n"
         "[raportjr]\r\nzakresdlk=1\r\n",
         {"C:\\Office\\Winword.exe", "D:\\Szablony", "D:\\Wyniki\\", 255, 0xFF00, 0, 16777215, 1}},
        {"malformed numbers",
         "[Rgrun]\nWlaColor=czerwony\nUwColor=12abc\nUk2Color=\n[RaportJR]\nZakresDlk=tak\n",
         {"", "", "", 11795963, 12315841, 12704496, 16434658, 0}},
        {"range index past the last item", "[RaportJR]\nZakresDlk=7\n", {"", "", "", 11795963, 12315841, 12704496, 16434658, 1}},
        {"range index below the items", "[RaportJR]\nZakresDlk=-5\n", {"", "", "", 11795963, 12315841, 12704496, 16434658, -1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(c.file);
        auto frm = create();
        Values expected = c.expected;
        if (expected.edytor.isEmpty()) {
            const Values d = defaults();
            expected.edytor = d.edytor;
            expected.szablony = d.szablony;
            expected.wynik = d.wynik;
        }
        expectValues(shown(*frm), expected);
        expectValues(held(ustawienia), expected);
        expectValues(held(Ustawienia::wczytaj(ini(), KatalogiProgramu::drzewo(katalogGlowny()))), expected);
    }
}

TEST_F(SettingsTest, OkWritesTheSettingsKeepsTheRestOfTheFileAndTheNextStartReadsThem)
{
    writeIni("; Katarix\r\n[Baza]\r\nPath=C:\\ewid.mdb\r\n\r\n[Rgrun]\r\nUwColor=1\r\n\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n");
    auto frm = create();
    frm->show();
    editEverything(*frm);
    child<QPushButton>(frm.get(), "OkBtn")->click();
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    const Values stored{edited.edytor, edited.szablony, edited.wynik, edited.wla, 1, 12704496, 16434658, 1};
    expectValues(shown(*frm), stored);
    expectValues(held(ustawienia), stored);
    EXPECT_TRUE(ustawienia.wszystkieDzialki());

    const QByteArray file = readIni();
    EXPECT_TRUE(file.startsWith("; Katarix\r\n[Baza]\r\nPath=C:\\ewid.mdb\r\n\r\n[Rgrun]\r\nUwColor=1\r\nWlaColor=3351057\r\n"));
    EXPECT_TRUE(file.contains("\r\n\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n"));
    Ustawienia next;
    const auto nextStart = std::make_unique<TUstawieniaFrm>(next, ini(), KatalogiProgramu::drzewo(katalogGlowny()));
    expectValues(held(next), stored);
    expectValues(shown(*nextStart), stored);
}

TEST_F(SettingsTest, AnulujReadsTheSettingsBackFromTheFile)
{
    writeIni("[Rgrun]\nWlaColor=255\n");
    auto frm = create();
    frm->show();
    editEverything(*frm);
    ASSERT_EQ(fake.colorRequests.size(), 1u);
    EXPECT_EQ(fake.colorRequests[0], QColor(255, 0, 0)) << "the dialog opens on the panel's colour";
    // The file as it stands when "Anuluj" is pressed is what comes back.
    writeIni("[Rgrun]\nWlaColor=65280\n");
    const QByteArray before = readIni();
    child<QPushButton>(frm.get(), "AnulujBtn")->click();
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    EXPECT_FALSE(frm->isVisible());
    Values stored = defaults();
    stored.wla = 65280;
    expectValues(held(ustawienia), stored);
    expectValues(shown(*frm), stored);
    EXPECT_EQ(readIni(), before);
}

TEST_F(SettingsTest, EscWorksAsAnuluj)
{
    writeIni("[Rgrun]\nWlaColor=255\n");
    const QByteArray before = readIni();
    auto frm = create();
    frm->show();
    editEverything(*frm);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frm.get(), &esc);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    Values stored = defaults();
    stored.wla = 255;
    expectValues(held(ustawienia), stored);
    expectValues(shown(*frm), stored);
    EXPECT_EQ(readIni(), before);
}

TEST_F(SettingsTest, TitleBarCloseKeepsTheEditsForTheRunWithoutWritingThem)
{
    writeIni("[Rgrun]\nWlaColor=255\n");
    const QByteArray before = readIni();
    auto frm = create();
    frm->show();
    editEverything(*frm);
    frm->close();
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    expectValues(held(ustawienia), edited);
    EXPECT_EQ(ustawienia.kolorWla, QColor(0x11, 0x22, 0x33));
    EXPECT_TRUE(ustawienia.wszystkieDzialki());
    EXPECT_EQ(readIni(), before);
    frm->show(); // showing again reads nothing either
    expectValues(shown(*frm), edited);
    expectValues(held(ustawienia), edited);
}

TEST_F(SettingsTest, ColourPanelsRunTheColourDialogAndKeepTheirColourWhenCancelled)
{
    auto frm = create();
    frm->show();
    const std::pair<ColorPanel *, int> panels[] = {{child<ColorPanel>(frm.get(), "WlaPnl"), 11795963},
                                                   {child<ColorPanel>(frm.get(), "UwPnl"), 12315841},
                                                   {child<ColorPanel>(frm.get(), "Uk2Pnl"), 12704496},
                                                   {child<ColorPanel>(frm.get(), "Uk3Pnl"), 16434658}};
    for (const auto &[panel, initial] : panels) {
        SCOPED_TRACE(panel->objectName().toStdString());
        fake.colorRequests.clear();
        fake.colorAnswers = {std::nullopt, QColor(1, 2, 3)};
        for (int i = 0; i < 2; ++i) {
            const QPointF at(5, 5);
            QMouseEvent press(QEvent::MouseButtonPress, at, panel->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, panel->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(panel, &press);
            QApplication::sendEvent(panel, &release);
            if (i == 0) {
                EXPECT_EQ(panel->colorValue(), initial) << "cancelled";
            }
        }
        ASSERT_EQ(fake.colorRequests.size(), 2u);
        EXPECT_EQ(fake.colorRequests[0], katarix::widgets::colorFromWindows(initial));
        EXPECT_EQ(panel->color(), QColor(1, 2, 3));
    }
    expectValues(held(ustawienia), {defaults().edytor, defaults().szablony, defaults().wynik, 0x030201, 0x030201,
                                    0x030201, 0x030201, 0});
    EXPECT_EQ(readIni(), "<missing>") << "nothing is written until OK";
}

TEST_F(SettingsTest, PickersAskThroughTheDialogSeamWithTheirTexts)
{
    auto frm = create();
    frm->show();
    auto *edytor = child<FileNameEdit>(frm.get(), "EdytorFE");
    fake.fileAnswers = {"/usr/bin/abiword", ""};
    edytor->button()->click();
    edytor->button()->click(); // cancelled
    ASSERT_EQ(fake.fileDialogs.size(), 2u);
    EXPECT_EQ(fake.fileDialogs[0].request.title, "Wybierz edytor tekstu RTF");
    EXPECT_EQ(fake.fileDialogs[0].request.filter, "Programy [*.exe]|*.exe|Wszystkie pliki [*.*]|*.*");
    EXPECT_EQ(fake.fileDialogs[0].request.filterIndex, 2) << "programs here have no .exe";
    EXPECT_EQ(fake.fileDialogs[0].request.fileName, QFileInfo(Ustawienia::domyslnyEdytor()).fileName());
    EXPECT_EQ(fake.fileDialogs[1].request.fileName, "abiword");
    EXPECT_EQ(ustawienia.edytor, "/usr/bin/abiword");

    fake.folderAnswers = {"/srv/szablony", "/srv/wyniki", ""};
    child<DirectoryEdit>(frm.get(), "SzablonyDE")->button()->click();
    child<DirectoryEdit>(frm.get(), "OutputDE")->button()->click();
    child<DirectoryEdit>(frm.get(), "OutputDE")->button()->click(); // cancelled
    ASSERT_EQ(fake.folderRequests.size(), 3u);
    EXPECT_EQ(fake.folderRequests[0], std::make_pair(QString::fromUtf8("Wskaż katalog z szablonami raportów"), katalogGlowny() + "Szablony"));
    EXPECT_EQ(fake.folderRequests[1], std::make_pair(QString::fromUtf8("Wskaż katalog wynikowy"), katalogGlowny() + "Tmp"));
    EXPECT_EQ(ustawienia.katalogSzablonow, "/srv/szablony");
    EXPECT_EQ(ustawienia.katalogWynikowy, "/srv/wyniki");
}

TEST_F(SettingsTest, OkOnAnUnwritableFileShowsTheErrorAndKeepsTheDialogOpen)
{
    QApplication::setApplicationDisplayName("Katarix 1.0");
    auto frm = std::make_unique<TUstawieniaFrm>(ustawienia, dir.filePath("no-folder/Katarix.ini"), KatalogiProgramu::drzewo(katalogGlowny()));
    frm->show();
    editEverything(*frm);
    child<QPushButton>(frm.get(), "OkBtn")->click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("Nie udało się zapisać pliku konfiguracyjnego"));
    EXPECT_EQ(fake.messages[0].caption, "Katarix 1.0");
    EXPECT_EQ(fake.messages[0].flags, mb::IconError);
    EXPECT_TRUE(frm->isVisible());
    expectValues(shown(*frm), edited);
    expectValues(held(ustawienia), edited);
}

TEST_F(SettingsTest, TextsOfTheDialog)
{
    auto frm = create();
    EXPECT_EQ(frm->windowTitle(), "Ustawienia");
    EXPECT_EQ(frm->objectName(), "UstawieniaFrm");
    auto *zakres = child<RadioGroup>(frm.get(), "ZakresDlkGB");
    const std::pair<QString, QString> texts[] = {
        {child<QLabel>(frm.get(), "Label2")->text(), "Ścieżka do edytora tekstu RTF (np. Microsoft Word):"},
        {child<QLabel>(frm.get(), "Label3")->text(), "Ścieżka do katalogu z szablonami raportów:"},
        {child<QLabel>(frm.get(), "Label4")->text(), "Zapisuj raporty do katalogu:"},
        {child<QGroupBox>(frm.get(), "KolorGbx")->title(), "Kolory dla władających:"},
        {child<ColorPanel>(frm.get(), "WlaPnl")->caption(), "Formy podmiotowe:"},
        {child<ColorPanel>(frm.get(), "UwPnl")->caption(), "Użytkownicy wieczyści:"},
        {child<ColorPanel>(frm.get(), "Uk2Pnl")->caption(), "Podmioty zależne:"},
        {child<ColorPanel>(frm.get(), "Uk3Pnl")->caption(), "Użytkownicy zależni:"},
        {zakres->title(), "Raport dla jednostki:"},
        {zakres->items().join('|'), "Umieść na wydruku tylko zaznaczone działki|Umieść na wydruku wszystkie działki"},
        {child<QPushButton>(frm.get(), "OkBtn")->text(), "OK"},
        {child<QPushButton>(frm.get(), "AnulujBtn")->text(), "Anuluj"},
    };
    for (const auto &[actual, expected] : texts)
        EXPECT_EQ(actual, expected);
    // The labels lead to their edits; Tab goes through the dialog as it is laid out.
    EXPECT_EQ(child<QLabel>(frm.get(), "Label2")->buddy(), child<QWidget>(frm.get(), "EdytorFE"));
    EXPECT_EQ(child<QLabel>(frm.get(), "Label4")->buddy(), child<QWidget>(frm.get(), "OutputDE"));
    const char *order[] = {"EdytorFE", "SzablonyDE", "OutputDE", "WlaPnl", "UwPnl", "Uk2Pnl", "Uk3Pnl", "ZakresDlkGB", "OkBtn", "AnulujBtn"};
    for (size_t i = 1; i < std::size(order); ++i) {
        const QWidget *previous = child<QWidget>(frm.get(), order[i - 1]);
        QWidget *next = previous->nextInFocusChain();
        while (next && next != frm.get() && !std::any_of(std::begin(order), std::end(order), [next](const char *name) {
                   return next->objectName() == QLatin1String(name);
               }))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, child<QWidget>(frm.get(), order[i])) << order[i - 1];
    }
    EXPECT_TRUE(child<QPushButton>(frm.get(), "OkBtn")->isDefault());
    EXPECT_GE(frm->width(), 497);
    EXPECT_GE(frm->height(), 234);
    EXPECT_EQ(frm->minimumSize(), frm->maximumSize()) << "dialog border: fixed size";
}

} // namespace
