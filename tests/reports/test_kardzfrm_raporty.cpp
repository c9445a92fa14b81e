// The parcel file's three report buttons on its selected rows: the unit extract of their units,
// the short extract and the CSV list of parcels with holders.
#include "app/Interaction.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "app/support/Child.h"
#include "parcels/KarDzFrm.h"
#include "reports/Wypisy.h"
#include "support/ReportTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;

namespace {

// Precinct "Rynek" (10): unit 101 no. 1 (Lis Ewa) with parcels 1 (100 m²) and 2 (250 m²), unit
// 102 no. 2 (Kot Adam) with parcel 3 (400 m²).
RegisterBuilder twoUnits()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("RGRUN", {{"ID_JR", 102.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 2}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"NR_UDZIALU", "1"}, {"OSOBA_TXT", "Lis Ewa"}, {"DATA_UPLYWU", 0}});
    b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 102.0}, {"OSOBA_ID", 100002.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"NR_UDZIALU", "1"}, {"OSOBA_TXT", "Kot Adam"}, {"DATA_UPLYWU", 0}});
    const struct {
        double mslink, idJr;
        int nr;
        double area;
    } parcels[] = {{1, 101, 1, 100}, {2, 101, 2, 250}, {3, 102, 3, 400}};
    for (const auto &p : parcels)
        b.add("KDZIALKA", {{"MSLINK", p.mslink}, {"DZIALKA_ID", 10 + p.mslink}, {"ID_JR", p.idJr}, {"OBREB_ID", 10},
                           {"NR_L", p.nr}, {"AREA", p.area}});
    return b;
}

class KarDzFrmRaportyTest : public ::testing::Test {
protected:
    KarDzFrmRaportyTest() : env(twoUnits())
    {
        QDir(root.path()).mkpath(QStringLiteral("Program"));
        main = std::make_unique<app::TMainFrm>(nullptr, root.filePath(QStringLiteral("Program")));
        app::MainFrm = main.get();
        twoUnits().toDatabase(main->baza());
        dm = std::make_unique<reports::TWypisyDM>(main->baza(), *app::pozyczTempQry(nullptr, main.get()), main->Rtf1);
        reports::WypisyDM = dm.get();
        file = std::make_unique<parcels::TKarDzFrm>();
        file->RozpocznijWsad();
        for (int i = 1; i <= 3; ++i)
            file->DodajDzialke({QString::number(i), QString(), QString::number(i < 3 ? 1 : 2), QStringLiteral("Rynek"),
                                QStringLiteral("0,0100"), {double(i), 10.0 + i, 0, i < 3 ? 101.0 : 102.0, 10, 1, 0}},
                               0);
        file->ZakonczWsad();
        lista()->clearSelection();
    }
    ~KarDzFrmRaportyTest() override
    {
        file.reset();
        reports::WypisyDM = nullptr;
        dm.reset();
        main.reset();
        app::MainFrm = nullptr;
    }
    QTreeWidget *lista() const { return test::child<QTreeWidget>(file.get(), "Lv"); }
    void select(std::initializer_list<int> rows)
    {
        lista()->clearSelection();
        for (const int row : rows)
            lista()->topLevelItem(row)->setSelected(true);
    }

    reporttest::ReportEnvironment env;
    QTemporaryDir root;
    std::unique_ptr<app::TMainFrm> main;
    std::unique_ptr<reports::TWypisyDM> dm;
    std::unique_ptr<parcels::TKarDzFrm> file;
};

TEST_F(KarDzFrmRaportyTest, UnitExtractCoversTheUnitsOfTheSelectedParcelsOnly)
{
    select({1, 2});
    test::child<QAction>(file.get(), "JrRaportTBtn")->trigger();
    const QString text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Lis Ewa"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Kot Adam")));
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Działki ewidencyjne (liczba: 1)")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("razem [ha]:\n0,0250\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("razem [ha]:\n0,0400\n")));
    EXPECT_TRUE(env.recording.messages.empty());
    EXPECT_EQ(env.recording.editorLaunches.size(), 1u);
}

TEST_F(KarDzFrmRaportyTest, ShortExtractOfTheSelectedParcels)
{
    select({0, 2});
    test::child<QAction>(file.get(), "WypisSkrTBtn")->trigger();
    const QString text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Liczba działek: 2     Powierzchnia razem [ha]:\n0,0500\n"))) << text.toStdString();
    EXPECT_TRUE(env.recording.messages.empty());
}

TEST_F(KarDzFrmRaportyTest, ListWithHoldersIsWrittenAndReported)
{
    select({0, 1, 2});
    const QString csv = env.outputFolder() + QStringLiteral("/dzialki.csv");
    env.recording.fileAnswers.push_back(csv);
    test::child<QAction>(file.get(), "WkzDlkWladBtn")->trigger();
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    EXPECT_EQ(lines.size(), 5); // header, three parcels, the empty rest after the last CR LF
    ASSERT_EQ(env.recording.fileDialogs.size(), 1u);
    EXPECT_EQ(env.recording.fileDialogs[0].request.initialFolder, main->KatalogGlowny + QStringLiteral("Tmp"));
    ASSERT_EQ(env.recording.messages.size(), 1u);
    EXPECT_EQ(env.recording.messages[0].text, QStringLiteral("Raport pomyślnie zapisano do pliku."));

    // A target that cannot be written: the error, never the success message.
    env.recording.fileAnswers.push_back(env.outputFolder() + QStringLiteral("/brak/dzialki.csv"));
    test::child<QAction>(file.get(), "WkzDlkWladBtn")->trigger();
    ASSERT_EQ(env.recording.messages.size(), 2u);
    EXPECT_EQ(env.recording.messages[1].caption, QStringLiteral("Błąd w funkcji 'WykazDlkWlad'"));
    EXPECT_EQ(env.recording.messages[1].flags, app::mb::IconError);
}

} // namespace
