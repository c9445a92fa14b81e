// The land register extract (RaportJr.rtf) over a small register built for the purpose.
#include "app/Interaction.h"
#include "app/RaportRunner.h"
#include "reports/Wypisy.h"
#include "support/ReportTestSupport.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;
using katarix::reports::TWypisyDM;

namespace {

// Precincts "Śródmieście" (1) and "Antoniów" (2). Unit 101 (Śródmieście, no. 7): holders
// Kowalski 1/2 (comment 9001) and the commune 1/2; parcels 12/3 (two land books, two contours,
// address and location, remark), 14 (AROWA 1, land-book-less, AW, two contours), 15-A (location
// only) and a retired parcel; buildings 12/3-1 on 12/3 and 14-1 on 14; premises 4 in 14-1.
// Unit 102 (Antoniów, no. 3): Nowak, parcel 1. Unit 103 (Śródmieście, no. 2): parcel 30.
RegisterBuilder extractRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}});
    b.add("ARKUSZ", {{"MSLINK", 501.0}, {"NAZWA", "3"}, {"OBREB_ID", 1}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 7}});
    b.add("RGRUN", {{"ID_JR", 102.0}, {"OBREB_ID", 2}, {"KOL_OBREB", 3}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("RGRUN", {{"ID_JR", 103.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 2}});
    b.add("RGRUN", {{"ID_JR", 104.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 8}, {"ZMIANA_KAS_ID", 5.0}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 2}, {"NR_UDZIALU", "1"}, {"OSOBA_TXT", "Kowalski Jan, s. Adama"},
                      {"ADRES_TXT", "ul. Długa 5, 00-001 Dąbrowa Leśna"}, {"KOMENT", 9001.0}});
    b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 300000005.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 2}, {"NR_UDZIALU", "2"}, {"OSOBA_TXT", "Gmina Dąbrowa Leśna"},
                      {"ADRES_TXT", "pl. Ratuszowy 1"}});
    b.add("LWRGRUN", {{"MSLINK", 3.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100003.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"OSOBA_TXT", "Były Właściciel"}, {"ZMIANA_KAS_ID", 5.0}});
    b.add("LWRGRUN", {{"MSLINK", 4.0}, {"ID_JR", 102.0}, {"OSOBA_ID", 100002.0}, {"WLAD_ID", 2}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"OSOBA_TXT", "Nowak Anna"}, {"DATA_UPLYWU", 20891231}});
    b.add("KOMENTARZ", {{"MSLINK", 9001.0}, {"TEKST", "Współwłaściciel zmarł – sprawa spadkowa w toku."}});
    b.add("SLO_KW", {{"KW_ID", 1.0}, {"KW_TXT", "KW 12345/6"}});
    b.add("SLO_KW", {{"KW_ID", 2.0}, {"KW_TXT", "KW 777/1"}});
    b.add("SLO_KW", {{"KW_ID", 3.0}, {"KW_TXT", "KW 999/9"}, {"WYDZKW_ID", 1}});

    b.add("KDZIALKA", {{"MSLINK", 2001.0}, {"DZIALKA_ID", 3001.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1},
                       {"ARKUSZ_ID", 501.0}, {"NR_L", 12}, {"NR_M", 3}, {"AREA", 12345.0}, {"AROWA", 0},
                       {"ADRES_TXT", "ul. Lipowa 3"}, {"POLOZENIE", "przy lesie"}, {"UWAGI", "Sporna granica od północy"}});
    b.add("KW_DLK", {{"DZIALKA_ID", 3001.0}, {"KW_ID", 1.0}, {"STATUS", "P"}});
    b.add("KW_DLK", {{"DZIALKA_ID", 3001.0}, {"KW_ID", 2.0}});
    b.add("KLASOUZ", {{"MSLINK", 4001.0}, {"OBSZAR_ID", 2001.0}, {"KLASA_ID", 11}, {"UZYTEK_ID", 1}, {"AREA", 10000.0}});
    b.add("KLASOUZ", {{"MSLINK", 4002.0}, {"OBSZAR_ID", 2001.0}, {"UZYTEK_ID", 2}, {"AREA", 2345.0}});
    b.add("KDZIALKA", {{"MSLINK", 2002.0}, {"DZIALKA_ID", 3002.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 14},
                       {"AREA", 1234.0}, {"AROWA", 1}, {"AW", "AWZ 15/2003"}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("KLASOUZ", {{"MSLINK", 4003.0}, {"OBSZAR_ID", 2002.0}, {"KLASA_ID", 12}, {"UZYTEK_ID", 3}, {"AREA", 1000.0}});
    b.add("KLASOUZ", {{"MSLINK", 4004.0}, {"OBSZAR_ID", 2002.0}, {"KLASA_ID", 13}, {"UZYTEK_ID", 4}, {"AREA", 234.0}});
    b.add("KDZIALKA", {{"MSLINK", 2003.0}, {"DZIALKA_ID", 3003.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 15},
                       {"NR_ADD", "A"}, {"AREA", 500.0}, {"AROWA", 0}, {"POLOZENIE", "Pod Lasem"}});
    b.add("KDZIALKA", {{"MSLINK", 2004.0}, {"DZIALKA_ID", 3004.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 16},
                       {"AREA", 9999.0}, {"ZMIANA_KAS_ID", 5.0}});
    b.add("KDZIALKA", {{"MSLINK", 2010.0}, {"DZIALKA_ID", 3010.0}, {"ID_JR", 102.0}, {"OBREB_ID", 2}, {"NR_L", 1},
                       {"AREA", 20000.0}});
    b.add("KDZIALKA", {{"MSLINK", 2011.0}, {"DZIALKA_ID", 3011.0}, {"ID_JR", 103.0}, {"OBREB_ID", 1}, {"NR_L", 30},
                       {"AREA", 700.0}});

    b.add("KBUDYNEK", {{"MSLINK", 5001.0}, {"BUDYNEK_ID", 5501.0}, {"ID_JR", 101.0}, {"IS_BUDYNKOWA", 0},
                       {"NIERUCH_ID", "12/3-1"}, {"FUN_ID", 1}, {"DLK_TXT", "12/3"}, {"NUM_KOND", 2},
                       {"POW_ZAB", 120.5}, {"ADRES_TXT", "ul. Lipowa 3"}, {"UWAGI", "Budynek w budowie"}});
    b.add("DLK_BUD", {{"DZIALKA_ID", 3001.0}, {"BUDYNEK_ID", 5501.0}});
    b.add("KBUDYNEK", {{"MSLINK", 5002.0}, {"BUDYNEK_ID", 5502.0}, {"ID_JR", 101.0}, {"IS_BUDYNKOWA", 0},
                       {"NIERUCH_ID", "14-1"}, {"FUN_ID", 2}, {"DLK_TXT", "14"}, {"NUM_KOND", 4},
                       {"NUM_KOND_POD", 1}, {"POW_ZAB", 310.0}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("DLK_BUD", {{"DZIALKA_ID", 3002.0}, {"BUDYNEK_ID", 5502.0}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("KW_BUD", {{"BUDYNEK_ID", 5502.0}, {"KW_ID", 1.0}, {"STATUS", "P"}});
    b.add("RLOK", {{"ID_JR", 201.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 9}});
    b.add("ADRES", {{"ADRES_ID", 1701.0}, {"ADR_UL", "ul. Lipowa 3/4"}});
    b.add("KLOKAL", {{"MSLINK", 6001.0}, {"LOKAL_ID", 6501.0}, {"ID_JR", 201.0}, {"BUDYNEK_ID", 5502.0},
                     {"NRIMPORTED", "4"}, {"FUN_ID", 1}, {"LICZBA_IZB", 3}, {"POW_ZAB", 54.3}, {"ADRES_ID", 1701.0},
                     {"UWAGI", "Lokal z piwnicą"}});
    b.add("KW_LOK", {{"LOKAL_ID", 6501.0}, {"KW_ID", 3.0}, {"STATUS", "P"}});
    return b;
}

class WypisyTest : public ::testing::Test {
protected:
    WypisyTest() : env(extractRegister()), dm(env.db, env.tempQry, env.rtf1) {}

    QString run(const QString &jrIds, const QString &dlk)
    {
        env.removeDocument();
        dm.WypisJr(jrIds, dlk);
        EXPECT_TRUE(env.recording.messages.empty())
            << (env.recording.messages.empty() ? std::string() : env.recording.messages[0].text.toStdString());
        return env.documentText();
    }

    reporttest::ReportEnvironment env;
    TWypisyDM dm;
};

TEST_F(WypisyTest, OneUnitWithEverythingReadsAsAnExtract)
{
    const QString text = run(QStringLiteral("101"), QString());
    ASSERT_FALSE(text.isEmpty());
    ASSERT_EQ(env.recording.editorLaunches.size(), 1u);
    EXPECT_EQ(env.recording.editorLaunches[0].document, env.documentPath());

    for (const char *expected : {
             "Wypis z rejestru gruntów", "Jednostka rejestrowa nr 7", "obręb Śródmieście",
             // Holders: legal person first, comment, share with its number.
             "Gmina Dąbrowa Leśna\npl. Ratuszowy 1\nWłasność\n1/2 2\n",
             "Kowalski Jan, s. Adama\nul. Długa 5, 00-001 Dąbrowa Leśna\nKomentarz: Współwłaściciel zmarł – sprawa "
             "spadkowa w toku.\nWłasność\n1/2 1\n",
             // Parcels: one row per land book, classes and their areas line by line.
             "Działki ewidencyjne (liczba: 4)",
             "12/3\n3\nul. Lipowa 3\nprzy lesie\nUwagi: Sporna granica od północy\nKW 12345/6\nRIIIa\nB\n1,0000\n0,2345\n1,2345\n",
             "12/3\n3\nul. Lipowa 3\nprzy lesie\nUwagi: Sporna granica od północy\nKW 777/1\n",
             "14\n\n-\nAWZ 15/2003\nŁIII\nW-PsIV\n0,10\n0,02\n0,12\n", "15-A\n\nPod Lasem\n\n\n\n0,0500\n",
             // Sum over the rows shown: 12/3 twice.
             "Powierzchnia działek jednostki razem [ha]:\n2,6424\n",
             "Budynki (liczba: 2)", "12/3-1\nbudynek mieszkalny jednorodzinny\nUwagi: Budynek w budowie\n12/3\n2\n120,50\n",
             "14-1\nbudynek mieszkalny wielorodzinny\n14\n4/1\n310,00\n\nKW 12345/6\n",
             "(liczba: 1)", "4\n14-1\n9\nul. Lipowa 3/4\nlokal mieszkalny\nUwagi: Lokal z piwnicą\n3\n54,30\nKW 999/9\nSąd "
                            "Rejonowy w Dąbrowie, IV Wydział Ksiąg Wieczystych\n",
             // Summary by use and class over all current parcels.
             "R\nRIIIa\n1,0000\n", "B\n\n0,2345\n", "Ł\nŁIII\n0,1000\n", "W\nPsIV\n0,0234\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n---\n" << text.toStdString();
    }
    EXPECT_TRUE(text.contains(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));
    EXPECT_FALSE(text.contains(QStringLiteral("Były Właściciel")));
    EXPECT_FALSE(text.contains(QStringLiteral("0,9999")));
    // Two land-book rows of one parcel: more rows than current parcels.
    EXPECT_TRUE(text.contains(QStringLiteral("Wypis obejmuje tylko wybrane działki")));
    EXPECT_FALSE(text.contains(QStringLiteral("tylko budynki")));
    EXPECT_FALSE(text.contains(QStringLiteral("Brak")));
}

TEST_F(WypisyTest, ParcelSelectionAndTheReportRangeSetting)
{
    struct Case {
        const char *what;
        const char *selection;
        int range;
        QStringList shown;
        QStringList hidden;
        bool partialParcels;
        bool partialBuildings;
    };
    const Case cases[] = {
        {"selected parcel 14", "2002", 0, {"\n14\n", "14-1\nbudynek", "Lokal z piwnicą", "R\nRIIIa\n1,0000"},
         {"\n12/3\n", "12/3-1", "15-A"}, true, true},
        // Two land-book rows of 12/3 and 15-A make as many rows as the unit has parcels: the
        // parcel note goes by the row count.
        {"selected 12/3 and 15-A", "2001,2003", 0, {"\n12/3\n", "15-A", "12/3-1"},
         {"\n14\n", "14-1\nbudynek"}, false, true},
        {"range 'all' ignores the selection", "2002", 1, {"\n12/3\n", "\n14\n", "15-A", "12/3-1", "14-1\n"}, {}, false,
         false},
        {"no selection", "", 0, {"\n12/3\n", "\n14\n", "15-A", "12/3-1", "14-1\n"}, {}, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        env.setReportRange(c.range);
        const QString text = run(QStringLiteral("101"), QString::fromLatin1(c.selection));
        for (const QString &s : c.shown)
            EXPECT_TRUE(text.contains(s)) << s.toStdString();
        for (const QString &s : c.hidden)
            EXPECT_FALSE(text.contains(s)) << s.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("Wypis obejmuje tylko wybrane działki")), c.partialParcels);
        EXPECT_EQ(text.contains(QStringLiteral("Wypis obejmuje tylko budynki")), c.partialBuildings);
    }
}

TEST_F(WypisyTest, SeveralUnitsInPrecinctAndNumberOrderWithAPageBreakBetween)
{
    const QString text = run(QStringLiteral("101,104,102,103"), QString());
    const qsizetype a = text.indexOf(QStringLiteral("Jednostka rejestrowa nr 3   •   obręb Antoniów"));
    const qsizetype b = text.indexOf(QStringLiteral("Jednostka rejestrowa nr 2   •   obręb Śródmieście"));
    const qsizetype c = text.indexOf(QStringLiteral("Jednostka rejestrowa nr 7   •   obręb Śródmieście"));
    ASSERT_GE(a, 0);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_FALSE(text.contains(QStringLiteral("nr 8"))) << "the retired unit";
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Jednostka rejestrowa nr")), 3);
    // Each unit's own total: the sum starts again at every unit.
    EXPECT_TRUE(text.mid(a, b - a).contains(QStringLiteral("razem [ha]:\n2,0000\n")));
    EXPECT_TRUE(text.mid(b, c - b).contains(QStringLiteral("razem [ha]:\n0,0700\n")));
    EXPECT_TRUE(text.mid(c).contains(QStringLiteral("razem [ha]:\n2,6424\n")));
    EXPECT_TRUE(text.mid(a, b - a).contains(QStringLiteral("Użytkowanie wieczyste do dn. 20891231")));
    // Units without buildings or premises say so.
    EXPECT_TRUE(text.mid(a, b - a).contains(QStringLiteral("Brak budynków.")));
    EXPECT_TRUE(text.mid(a, b - a).contains(QStringLiteral("Brak lokali.")));
    EXPECT_EQ(reporttest::occurrences(QString::fromLatin1(env.documentRtf()), QStringLiteral("\\pagebb")), 2);
}

TEST_F(WypisyTest, TheTemplateAsksInTheOrderTheModuleRelies)
{
    dm.WypisJr(QStringLiteral("101,103"), QString());
    QStringList asked;
    env.rtf1.OnValueRequest = [&](const QString &name) {
        asked << name;
        return dm.ValueRequest(name);
    };
    ASSERT_EQ(app::UruchomRaport(env.rtf1, QStringLiteral("RaportJr.rtf")), 0);
    // Unit by unit: skroluj_jr comes first of all the unit's requests.
    const QStringList unitVariables{QStringLiteral("ile_dzialek"), QStringLiteral("klasouzytek"),
                                    QStringLiteral("pow_dz"), QStringLiteral("koment_os")};
    int units = 0;
    int parcels = 0;
    bool inUnit = false;
    for (int i = 0; i < asked.size(); ++i) {
        if (asked[i] == QLatin1String("skroluj_jr")) {
            ++units;
            inUnit = true;
        }
        if (unitVariables.contains(asked[i])) {
            EXPECT_TRUE(inUnit) << asked[i].toStdString() << " before skroluj_jr";
        }
        if (asked[i] == QLatin1String("klasouzytek")) {
            ++parcels;
            const qsizetype powKlauz = asked.indexOf(QStringLiteral("pow_klauz"), i);
            const qsizetype powDz = asked.indexOf(QStringLiteral("pow_dz"), i);
            const qsizetype next = asked.indexOf(QStringLiteral("klasouzytek"), i + 1);
            EXPECT_GT(powKlauz, i);
            EXPECT_GT(powDz, powKlauz);
            if (next >= 0) {
                EXPECT_LT(powDz, next) << "pow_dz once per parcel row";
            }
        }
    }
    EXPECT_EQ(units, 2);
    EXPECT_EQ(parcels, 5); // 12/3 twice, 14, 15-A; 30
    EXPECT_EQ(asked.count(QStringLiteral("pow_dz")), parcels);
    EXPECT_EQ(asked.count(QStringLiteral("wstaw_podzial")), 2);
}

TEST_F(WypisyTest, VariablesOnTheirOwn)
{
    dm.WypisJr(QStringLiteral("101"), QString());
    dm.JrQry->first();
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("skroluj_jr")).toString(), QString());
    ASSERT_TRUE(dm.DlkQry->locate(QStringLiteral("MSLINK"), 2002.0));
    // pow_dz adds each time it is asked; sumapow always has 4 decimals.
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("pow_dz")).toString(), QStringLiteral("0,12"));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("pow_dz")).toString(), QStringLiteral("0,12"));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("sumapow")).toString(), QStringLiteral("0,2468"));
    ASSERT_TRUE(dm.DlkQry->locate(QStringLiteral("MSLINK"), 2003.0));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("klasouzytek")).toString(), QString()) << "no contours";
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("pow_klauz")).toString(), QString());
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("polozenie")).toString(), QStringLiteral("Pod Lasem"));
    ASSERT_TRUE(dm.DlkQry->locate(QStringLiteral("MSLINK"), 2001.0));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("polozenie")).toString(), QStringLiteral("ul. Lipowa 3\rprzy lesie"));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("klasouzytek")).toString(), QStringLiteral("RIIIa\r\nB"));
    EXPECT_EQ(dm.PowKlauzTxt, QStringLiteral("1,0000\r\n0,2345"));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("wstaw_podzial")).toBool(), false);
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("nieznana")), QVariant(QString()));
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("SUMAPOW")), QVariant(QString())) << "names compared with case";
    EXPECT_EQ(dm.ValueRequest(QStringLiteral("dodaj_uzyt_dlk")), QVariant(false));
    jet::Dataset *dataset = nullptr;
    dm.DataSetRequest(QStringLiteral("JRQRY"), dataset);
    EXPECT_EQ(dataset, nullptr);
    dm.DataSetRequest(QStringLiteral("zestklauzqry"), dataset);
    EXPECT_EQ(dataset, dm.ZestKlauzQry);
}

TEST_F(WypisyTest, AnErrorOpeningTheUnitsGoesToTheCaller)
{
    EXPECT_ANY_THROW(dm.WypisJr(QStringLiteral("1,,2"), QString()));
    EXPECT_TRUE(env.recording.editorLaunches.empty());
}

// The rows of the extract are counted with its own queries before it is written: one unit with
// 100,000 holders and one parcel without contours (one row of the use/class summary) makes
// 1 + 100,000 + 1 + 1 rows, more than the limit; "Nie" writes nothing.
TEST(WypisyLargeTest, ALargeExtractIsAnnouncedWithItsRows)
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 7}});
    for (int h = 0; h < 100000; ++h)
        b.add("LWRGRUN", {{"MSLINK", double(h + 1)}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0 + h}, {"WLAD_ID", 1},
                          {"L_UDZIAL", 1}, {"M_UDZIAL", 100000}});
    b.add("KDZIALKA", {{"MSLINK", 2001.0}, {"DZIALKA_ID", 3001.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 1},
                       {"AREA", 100.0}, {"AROWA", 0}});
    reporttest::ReportEnvironment env(b);
    TWypisyDM dm(env.db, env.tempQry, env.rtf1);
    env.recording.messageAnswers = {app::mb::IdNo};
    dm.WypisJr(QStringLiteral("101"), QString());
    ASSERT_EQ(env.recording.messages.size(), 1u);
    EXPECT_EQ(env.recording.messages[0].text, QStringLiteral("Dokument będzie bardzo duży (100003 wierszy). Czy kontynuować?"));
    EXPECT_TRUE(env.documentRtf().isEmpty());
    EXPECT_TRUE(env.recording.editorLaunches.empty());
}

} // namespace
