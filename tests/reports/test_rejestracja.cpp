// Start-up: the extract module is created with the long-lived forms and freed with them.
#include "app/Formularze.h"
#include "app/MainFrm.h"
#include "jet/Query.h"
#include "reports/Rejestracja.h"
#include "reports/Wypisy.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"

#include <gtest/gtest.h>

using namespace katarix;

TEST(RejestracjaRaportowTest, WypisyDMLivesFromStartUpToShutdownOnTheMainWindow)
{
    test::ensureApplication();
    test::RecordingInteraction recording;
    reports::zarejestrujWypisyDM();
    app::UtworzFormularze();
    ASSERT_NE(reports::WypisyDM, nullptr);
    EXPECT_EQ(reports::WypisyDM->parent(), app::MainFrm);
    EXPECT_EQ(reports::WypisyDM->JrQry->database(), &app::MainFrm->baza());
    // The module answers the main window's component once it runs a report.
    EXPECT_FALSE(app::MainFrm->Rtf1.OnValueRequest);
    app::ZwolnijFormularze();
    EXPECT_EQ(reports::WypisyDM, nullptr);
    app::ustawTworzenieWypisyDM(nullptr);
}
