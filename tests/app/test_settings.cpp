#include "app/IniFile.h"
#include "app/Interaction.h"
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

#include "app/support/RecordingInteraction.h"
#include "common/Files.h"
#include "app/support/TestApplication.h"

#include <deque>
#include <memory>
#include <vector>

using namespace katarix::app;
using katarix::widgets::ColorPanel;

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
    std::unique_ptr<TUstawieniaFrm> create() const
    {
        QDir(dir.path()).mkpath("Program");
        return std::make_unique<TUstawieniaFrm>(ini(), KatalogiProgramu::drzewo(katalogGlowny()));
    }
    void writeIni(const QByteArray &bytes) const
    {
        QDir(dir.path()).mkpath("Program");
        ASSERT_TRUE(katarix::test::writeBytes(ini(), bytes));
    }
    QByteArray readIni() const { return katarix::test::fileBytes(ini(), "<missing>"); }
    static Values shown(const TUstawieniaFrm &frm)
    {
        return {frm.EdytorFE->fileName(), frm.SzablonyDE->text(),    frm.OutputDE->text(),
                frm.WlaPnl->colorValue(), frm.UwPnl->colorValue(),   frm.Uk2Pnl->colorValue(),
                frm.Uk3Pnl->colorValue(), frm.ZakresDlkGB->itemIndex()};
    }
    Values defaults() const
    {
        return {TUstawieniaFrm::domyslnyEdytor(), katalogGlowny() + "Szablony", katalogGlowny() + "Tmp",
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
    // Edits every setting in the dialog, the colour through the colour dialog.
    void editEverything(TUstawieniaFrm &frm)
    {
        frm.EdytorFE->setFileName("/opt/edytor/writer");
        frm.SzablonyDE->setText(QString::fromUtf8("/srv/wzory/Łódź"));
        frm.OutputDE->setText("/tmp/raporty");
        fake.colorAnswers.push_back(QColor(0x11, 0x22, 0x33));
        frm.WlaPnlClick(frm.WlaPnl);
        frm.ZakresDlkGB->setItemIndex(1);
    }
    const Values edited{"/opt/edytor/writer", QString::fromUtf8("/srv/wzory/Łódź"), "/tmp/raporty",
                        0x332211, 12315841, 12704496, 16434658, 1};

    QTemporaryDir dir;
    katarix::test::RecordingInteraction fake;
};

TEST_F(SettingsTest, FirstRunShowsTheDefaultsAndWritesNothingUntilOk)
{
    auto frm = create();
    expectValues(shown(*frm), defaults());
    EXPECT_EQ(frm->WlaPnl->color(), QColor(0xFB, 0xFD, 0xB3));
    EXPECT_TRUE(frm->ZakresDlkGB->button(0)->isChecked());
    frm->show();
    frm->close();
    EXPECT_EQ(readIni(), "<missing>");

    // OK with unchanged values writes all eight keys, in order, as one key each.
    frm->show();
    frm->OkBtn->click();
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(QString::fromUtf8(readIni()),
              "[wydruk]\nprzeglad=" + TUstawieniaFrm::domyslnyEdytor() + "\nszablony=" + katalogGlowny() +
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
    }
}

TEST_F(SettingsTest, OkWritesTheEditsKeepsTheRestOfTheFileAndTheNextStartReadsThem)
{
    writeIni("; Katarix\r\n[Baza]\r\nPath=C:\\ewid.mdb\r\n\r\n[Rgrun]\r\nUwColor=1\r\n\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n");
    auto frm = create();
    frm->show();
    editEverything(*frm);
    frm->OkBtn->click();
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    expectValues(shown(*frm), {edited.edytor, edited.szablony, edited.wynik, edited.wla, 1, 12704496, 16434658, 1});

    const QByteArray file = readIni();
    EXPECT_TRUE(file.startsWith("; Katarix\r\n[Baza]\r\nPath=C:\\ewid.mdb\r\n\r\n[Rgrun]\r\nUwColor=1\r\nWlaColor=3351057\r\n"));
    EXPECT_TRUE(file.contains("\r\n\r\n[KATARIX.KarDzFrm]\r\nPos=1,2\r\n"));
    auto next = create();
    expectValues(shown(*next), shown(*frm));
}

TEST_F(SettingsTest, AnulujRestoresTheStoredValuesAndTitleBarCloseKeepsTheEdits)
{
    writeIni("[Rgrun]\nWlaColor=255\n");
    const QByteArray before = readIni();
    Values stored = defaults();
    stored.wla = 255;

    auto frm = create();
    frm->show();
    editEverything(*frm);
    ASSERT_EQ(fake.colorRequests.size(), 1u);
    EXPECT_EQ(fake.colorRequests[0], QColor(255, 0, 0)) << "the dialog opens on the panel's colour";
    frm->AnulujBtn->click();
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    EXPECT_FALSE(frm->isVisible());
    expectValues(shown(*frm), stored);
    EXPECT_EQ(readIni(), before);

    // Esc works as "Anuluj".
    frm->show();
    editEverything(*frm);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frm.get(), &esc);
    EXPECT_FALSE(frm->isVisible());
    expectValues(shown(*frm), stored);

    // The title-bar close neither writes nor reloads: the edits stay for this run.
    frm->show();
    editEverything(*frm);
    frm->close();
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    expectValues(shown(*frm), edited);
    EXPECT_EQ(frm->kolorWla(), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(frm->zakresDlk(), 1);
    EXPECT_EQ(readIni(), before);
    frm->show(); // showing again does not reload either
    expectValues(shown(*frm), edited);
}

TEST_F(SettingsTest, ColourPanelsRunTheColourDialogAndKeepTheirColourWhenCancelled)
{
    auto frm = create();
    frm->show();
    const std::pair<ColorPanel *, int> panels[] = {
        {frm->WlaPnl, 11795963}, {frm->UwPnl, 12315841}, {frm->Uk2Pnl, 12704496}, {frm->Uk3Pnl, 16434658}};
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
    EXPECT_EQ(readIni(), "<missing>") << "nothing is written until OK";
}

TEST_F(SettingsTest, PickersAskThroughTheDialogSeamWithTheirTexts)
{
    auto frm = create();
    frm->show();
    fake.fileAnswers = {"/usr/bin/abiword", ""};
    frm->EdytorFE->button()->click();
    frm->EdytorFE->button()->click(); // cancelled
    ASSERT_EQ(fake.fileDialogs.size(), 2u);
    EXPECT_EQ(fake.fileDialogs[0].request.title, "Wybierz edytor tekstu RTF");
    EXPECT_EQ(fake.fileDialogs[0].request.filter, "Programy [*.exe]|*.exe|Wszystkie pliki [*.*]|*.*");
    EXPECT_EQ(fake.fileDialogs[0].request.fileName, QFileInfo(TUstawieniaFrm::domyslnyEdytor()).fileName());
    EXPECT_EQ(fake.fileDialogs[1].request.fileName, "abiword");
    EXPECT_EQ(frm->edytor(), "/usr/bin/abiword");

    fake.folderAnswers = {"/srv/szablony", "/srv/wyniki", ""};
    frm->SzablonyDE->button()->click();
    frm->OutputDE->button()->click();
    frm->OutputDE->button()->click(); // cancelled
    ASSERT_EQ(fake.folderRequests.size(), 3u);
    EXPECT_EQ(fake.folderRequests[0], std::make_pair(QString::fromUtf8("Wskaż katalog z szablonami raportów"), katalogGlowny() + "Szablony"));
    EXPECT_EQ(fake.folderRequests[1], std::make_pair(QString::fromUtf8("Wskaż katalog wynikowy"), katalogGlowny() + "Tmp"));
    EXPECT_EQ(frm->katalogSzablonow(), "/srv/szablony");
    EXPECT_EQ(frm->katalogWynikowy(), "/srv/wyniki");
}

TEST_F(SettingsTest, OkOnAnUnwritableFileShowsTheErrorAndKeepsTheDialogOpen)
{
    QApplication::setApplicationDisplayName("Katarix 1.0");
    auto frm = std::make_unique<TUstawieniaFrm>(dir.filePath("no-folder/Katarix.ini"), KatalogiProgramu::drzewo(katalogGlowny()));
    frm->show();
    editEverything(*frm);
    frm->OkBtn->click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("Nie udało się zapisać pliku konfiguracyjnego"));
    EXPECT_EQ(fake.messages[0].caption, "Katarix 1.0");
    EXPECT_EQ(fake.messages[0].flags, mb::IconError);
    EXPECT_TRUE(frm->isVisible());
    expectValues(shown(*frm), edited);
}

TEST_F(SettingsTest, TextsOfTheDialog)
{
    auto frm = create();
    EXPECT_EQ(frm->windowTitle(), "Ustawienia");
    const std::pair<QString, QString> texts[] = {
        {frm->Label2->text(), "Ścieżka do edytora tekstu RTF (np. Microsoft Word):"},
        {frm->Label3->text(), "Ścieżka do katalogu z szablonami raportów:"},
        {frm->Label4->text(), "Zapisuj raporty do katalogu:"},
        {frm->KolorGbx->title(), "Kolory dla władających:"},
        {frm->WlaPnl->caption(), "Formy podmiotowe:"},
        {frm->UwPnl->caption(), "Użytkownicy wieczyści:"},
        {frm->Uk2Pnl->caption(), "Podmioty zależne:"},
        {frm->Uk3Pnl->caption(), "Użytkownicy zależni:"},
        {frm->ZakresDlkGB->title(), "Raport dla jednostki:"},
        {frm->ZakresDlkGB->items().join('|'), "Umieść na wydruku tylko zaznaczone działki|Umieść na wydruku wszystkie działki"},
        {frm->OkBtn->text(), "OK"},
        {frm->AnulujBtn->text(), "Anuluj"},
    };
    for (const auto &[actual, expected] : texts)
        EXPECT_EQ(actual, expected);
    EXPECT_GE(frm->width(), 497);
    EXPECT_GE(frm->height(), 234);
    EXPECT_EQ(frm->minimumSize(), frm->maximumSize()) << "dialog border: fixed size";
}

} // namespace
