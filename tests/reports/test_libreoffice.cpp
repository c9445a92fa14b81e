// The produced extracts as LibreOffice reads them: converted to plain text by soffice.
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "support/ReportTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "common/LibreOfficeText.h"
#include "common/RequiredTool.h"

using namespace katarix;
using katarix::registergen::RegisterBuilder;

namespace {

// Unit 101 (precinct "Łęgi Żurawie", no. 5) of Żółkiewska Łucja; parcel 7/2 with an address and a
// location, two contours, a land book.
RegisterBuilder polishRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Łęgi Żurawie"}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 5}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"OSOBA_TXT", "Żółkiewska Łucja"}, {"ADRES_TXT", "ul. Źródlana 7"}});
    b.add("SLO_KW", {{"KW_ID", 1.0}, {"KW_TXT", "KW 12345/6"}});
    b.add("KDZIALKA", {{"MSLINK", 2001.0}, {"DZIALKA_ID", 3001.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 7},
                       {"NR_M", 2}, {"AREA", 12345.0}, {"AROWA", 0}, {"ADRES_TXT", "ul. Źródlana 7"},
                       {"POLOZENIE", "za stawem"}});
    b.add("KW_DLK", {{"DZIALKA_ID", 3001.0}, {"KW_ID", 1.0}, {"STATUS", "P"}});
    b.add("KLASOUZ", {{"MSLINK", 4001.0}, {"OBSZAR_ID", 2001.0}, {"KLASA_ID", 12}, {"UZYTEK_ID", 3}, {"AREA", 10000.0}});
    b.add("KLASOUZ", {{"MSLINK", 4002.0}, {"OBSZAR_ID", 2001.0}, {"UZYTEK_ID", 2}, {"AREA", 2345.0}});
    return b;
}

class ReportsLibreOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        KATARIX_REQUIRE_TOOL(!soffice.isEmpty(), "soffice (LibreOffice) is not installed; run scripts/setup.sh (it installs libreoffice-writer)");
        ASSERT_TRUE(dir.isValid());
    }
    QString soffice;
    QTemporaryDir dir;
};

TEST_F(ReportsLibreOffice, UnitExtractReadsBackWithPolishLettersLineBreaksAndTables)
{
    reporttest::ReportEnvironment env(polishRegister());
    reports::TWypisyDM dm(env.db, env.tempQry, env.rtf1);
    dm.WypisJr(QStringLiteral("101"), QString());
    ASSERT_TRUE(env.recording.messages.empty());
    const QString text = katarix::test::convertRtfToText(soffice, env.documentPath(), dir);
    for (const char *expected : {"Wypis z rejestru gruntów", "Jednostka rejestrowa nr 5", "obręb Łęgi Żurawie",
                                 "Żółkiewska Łucja\nul. Źródlana 7\n", "Własność\n", "7/2\n",
                                 "ul. Źródlana 7\nza stawem\n", "ŁIII\nB\n", "1,0000\n0,2345\n",
                                 "Powierzchnia działek jednostki razem [ha]:\n", "1,2345\n", "(podpis i pieczęć)"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n---\n" << text.toStdString();
    }
}

TEST_F(ReportsLibreOffice, ShortExtractReadsBackWithPolishLetters)
{
    reporttest::ReportEnvironment env(polishRegister());
    reports::TWypisSkrRgDM dm(env.db, env.tempQry, env.rtf1);
    dm.WypisSort(QStringLiteral("2001"));
    ASSERT_TRUE(env.recording.messages.empty());
    const QString text = katarix::test::convertRtfToText(soffice, env.documentPath(), dir);
    for (const char *expected : {"Wypis uproszczony z rejestru gruntów", "Łęgi Żurawie\n5\n7/2\n", "1,2345\n",
                                 "KW 12345/6\n", "Żółkiewska Łucja\nul. Źródlana 7\n", "Władający (nazwa, adres)",
                                 "Liczba działek: 1"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n---\n" << text.toStdString();
    }
}

} // namespace
