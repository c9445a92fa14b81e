// The report buttons of the land register window: the unit extract and the short extract.
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "browsers/RgFrm.h"
#include "jet/Query.h"
#include "reports/Wypisy.h"
#include "support/ReportTestSupport.h"
#include "widgets/DataGrid.h"

#include <QAction>
#include <QDir>
#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;

namespace {

// Commune "Zielona", precinct "Rynek" (10), unit 101 no. 1 with Lis Ewa 1/1 and parcels 1 (100 m²)
// and 2 (250 m²).
RegisterBuilder smallRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"OSOBA_TXT", "Lis Ewa"}, {"DATA_UPLYWU", 0}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 1},
                       {"AREA", 100.0}});
    b.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 2},
                       {"AREA", 250.0}});
    return b;
}

class RgFrmRaportyTest : public ::testing::Test {
protected:
    RgFrmRaportyTest() : env(smallRegister())
    {
        QDir(root.path()).mkpath(QStringLiteral("Program"));
        main = std::make_unique<app::TMainFrm>(nullptr, root.filePath(QStringLiteral("Program")));
        app::MainFrm = main.get();
        smallRegister().toDatabase(main->baza());
        dm = std::make_unique<reports::TWypisyDM>(main->baza(), *app::pozyczTempQry(nullptr, main.get()), main->Rtf1);
        reports::WypisyDM = dm.get();
        rg = std::make_unique<browsers::TRgFrm>();
        rg->PokazJr(101);
    }
    ~RgFrmRaportyTest() override
    {
        rg.reset();
        reports::WypisyDM = nullptr;
        dm.reset();
        main.reset();
        app::MainFrm = nullptr;
    }

    reporttest::ReportEnvironment env; // settings, output folder, recording Interaction
    QTemporaryDir root;
    std::unique_ptr<app::TMainFrm> main;
    std::unique_ptr<reports::TWypisyDM> dm;
    std::unique_ptr<browsers::TRgFrm> rg;
};

TEST_F(RgFrmRaportyTest, UnitExtractOfAllOrOfTheSelectedParcels)
{
    ASSERT_TRUE(rg->JrRaportTBtn->isEnabled());
    rg->JrRaportTBtn->trigger();
    QString text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Działki ewidencyjne (liczba: 2)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("razem [ha]:\n0,0350\n")));

    rg->DzialkiGrd->selectRows({1});
    env.removeDocument();
    rg->JrRaportTBtn->trigger();
    text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Działki ewidencyjne (liczba: 1)")));
    EXPECT_TRUE(text.contains(QStringLiteral("razem [ha]:\n0,0250\n")));
    EXPECT_TRUE(env.recording.messages.empty());
    EXPECT_EQ(env.recording.editorLaunches.size(), 2u);
}

TEST_F(RgFrmRaportyTest, ShortExtractNeedsASelection)
{
    ASSERT_TRUE(rg->WypisSkrTBtn->isEnabled());
    rg->WypisSkrTBtn->trigger();
    ASSERT_EQ(env.recording.messages.size(), 1u);
    EXPECT_EQ(env.recording.messages[0].text, QStringLiteral("Zaznacz działki, dla których chcesz wykonać wypis."));
    EXPECT_EQ(env.recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(env.recording.messages[0].flags, app::mb::IconWarning);
    EXPECT_EQ(env.recording.beeps, 0);
    EXPECT_TRUE(env.documentRtf().isEmpty());

    rg->DzialkiGrd->selectRows({0, 1});
    rg->WypisSkrTBtn->trigger();
    const QString text = env.documentText();
    EXPECT_TRUE(text.contains(QStringLiteral("Liczba działek: 2     Powierzchnia razem [ha]:\n0,0350\n"))) << text.toStdString();
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Lis Ewa")), 2);
}

} // namespace
