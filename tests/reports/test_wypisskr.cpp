// The short extract (WypisRgSkrSort.rtf) over registers built for the purpose.
#include "app/Interaction.h"
#include "app/RaportRunner.h"
#include "reports/WypisSkrRg.h"
#include "support/ReportTestSupport.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;
using katarix::reports::TWypisSkrRgDM;

namespace {

void holder(RegisterBuilder &b, const char *table, double mslink, const char *objectColumn, double object,
            double osoba, int wlad, int l, int m, const char *nr, const char *name, double koment = 0,
            registergen::FieldValue dataUplywu = 0)
{
    b.add(table, {{"MSLINK", mslink}, {objectColumn, object}, {"OSOBA_ID", osoba}, {"WLAD_ID", wlad},
                  {"L_UDZIAL", l}, {"M_UDZIAL", m}, {"NR_UDZIALU", nr}, {"OSOBA_TXT", name},
                  {"ADRES_TXT", "ul. Długa 5"}, {"REG_PES_TXT", "PESEL 70010112345"}, {"DATA_UPLYWU", dataUplywu},
                  {"KOMENT", koment}});
}

// Precincts "Śródmieście" (1) and "Antoniów" (2). Unit 101 (Śródmieście, no. 7) with Kowalski
// 1/2 and the commune 1/2 (both without an end date, stored as 0): parcels 12/3 (two land books, 1,2345 ha), 2 (AROWA 1, 0,1234 ha, its
// own holder Zieliński and a copy of Kowalski's row). Unit 102 (Antoniów, no. 3): parcel 1, 2 ha,
// address "ul. Polna 1", remark; its holder Nowak has no end date, stored as NULL. Unit 104 retired: its current parcel 40 is never listed.
RegisterBuilder shortRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("OBREB", {{"MSLINK", 2}, {"NAZWA", "Antoniów"}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 7}});
    b.add("RGRUN", {{"ID_JR", 102.0}, {"OBREB_ID", 2}, {"KOL_OBREB", 3}, {"ZMIANA_KAS_ID", 0.0}});
    b.add("RGRUN", {{"ID_JR", 104.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 8}, {"ZMIANA_KAS_ID", 5.0}});
    holder(b, "LWRGRUN", 1, "ID_JR", 101, 100001, 1, 1, 2, "1", "Kowalski Jan", 9001);
    holder(b, "LWRGRUN", 2, "ID_JR", 101, 300000005, 1, 1, 2, "2", "Gmina Dąbrowa Leśna");
    holder(b, "LWRGRUN", 3, "ID_JR", 102, 100002, 2, 1, 1, "", "Nowak Anna", 0, nullptr);
    holder(b, "LWKDZIALKA", 1, "DZIALKA_ID", 3002, 100001, 1, 1, 2, "1", "Kowalski Jan", 9001);
    holder(b, "LWKDZIALKA", 2, "DZIALKA_ID", 3002, 100009, 5, 1, 1, "", "Zieliński Piotr");
    b.add("KOMENTARZ", {{"MSLINK", 9001.0}, {"TEKST", "Współwłaściciel zmarł."}});
    b.add("SLO_KW", {{"KW_ID", 1.0}, {"KW_TXT", "KW 12345/6"}});
    b.add("SLO_KW", {{"KW_ID", 2.0}, {"KW_TXT", "KW 777/1"}});
    b.add("KDZIALKA", {{"MSLINK", 2001.0}, {"DZIALKA_ID", 3001.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 12},
                       {"NR_M", 3}, {"AREA", 12345.0}, {"AROWA", 0}, {"ADRES_TXT", "ul. Lipowa 3"},
                       {"POLOZENIE", "przy lesie"}});
    b.add("KW_DLK", {{"DZIALKA_ID", 3001.0}, {"KW_ID", 1.0}, {"STATUS", "P"}});
    b.add("KW_DLK", {{"DZIALKA_ID", 3001.0}, {"KW_ID", 2.0}});
    b.add("KDZIALKA", {{"MSLINK", 2002.0}, {"DZIALKA_ID", 3002.0}, {"ID_JR", 101.0}, {"OBREB_ID", 1}, {"NR_L", 2},
                       {"AREA", 1234.0}, {"AROWA", 1}});
    b.add("KDZIALKA", {{"MSLINK", 2010.0}, {"DZIALKA_ID", 3010.0}, {"ID_JR", 102.0}, {"OBREB_ID", 2}, {"NR_L", 1},
                       {"AREA", 20000.0}, {"ADRES_TXT", "ul. Polna 1"}, {"UWAGI", "Działka w trakcie scalenia"}});
    b.add("KDZIALKA", {{"MSLINK", 2020.0}, {"DZIALKA_ID", 3020.0}, {"ID_JR", 104.0}, {"OBREB_ID", 1}, {"NR_L", 40},
                       {"AREA", 100.0}});
    return b;
}

// One unit with n parcels numbered 1..n of 1 m² each (mslink 10001..).
RegisterBuilder manyParcels(int n)
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 1}, {"KOL_OBREB", 1}});
    holder(b, "LWRGRUN", 1, "ID_JR", 101, 100001, 1, 1, 1, "", "Kowalski Jan");
    for (int i = 1; i <= n; ++i)
        b.add("KDZIALKA", {{"MSLINK", 10000.0 + i}, {"DZIALKA_ID", 20000.0 + i}, {"ID_JR", 101.0}, {"OBREB_ID", 1},
                           {"NR_L", i}, {"AREA", 1.0}, {"AROWA", 0}});
    return b;
}

QString mslinks(int n)
{
    QStringList ids;
    for (int i = n; i >= 1; --i)
        ids << QString::number(10000 + i);
    return ids.join(QLatin1Char(','));
}

struct ShortExtract {
    explicit ShortExtract(const RegisterBuilder &b) : env(b), dm(env.db, env.tempQry, env.rtf1) {}
    QString run(const QString &list)
    {
        env.removeDocument();
        dm.WypisSort(list);
        return env.documentText();
    }
    reporttest::ReportEnvironment env;
    TWypisSkrRgDM dm;
};

TEST(WypisSkrTest, ParcelsByPrecinctAndNumberWithTheirHoldersAndTheTotal)
{
    ShortExtract r(shortRegister());
    const QString text = r.run(QStringLiteral("2001,2020,2002,2010"));
    ASSERT_TRUE(r.env.recording.messages.empty());
    ASSERT_EQ(r.env.recording.editorLaunches.size(), 1u);
    for (const char *expected : {
             "Wypis uproszczony z rejestru gruntów",
             "Antoniów\n3\n1\n\n2,0000\n\nul. Polna 1\n\n", "Uwagi do działki: Działka w trakcie scalenia",
             "Nowak Anna\nul. Długa 5\nPESEL 70010112345\n\nUżytkowanie wieczyste\n1/1 \n",
             "Śródmieście\n7\n2\n\n0,12\n\n-\n\n",
             "Zieliński Piotr\nul. Długa 5\nPESEL 70010112345\n\nWładanie samoistne\n1/1 \n",
             "Kowalski Jan\nul. Długa 5\nKomentarz: Współwłaściciel zmarł.\nPESEL 70010112345\n\nWłasność\n1/2 1\n",
             "Śródmieście\n7\n12/3\n\n1,2345\nKW 12345/6\nul. Lipowa 3\nprzy lesie\n",
             "Śródmieście\n7\n12/3\n\n1,2345\nKW 777/1\n",
             // 2 + 0,1234 + 1,2345 twice: every row counts.
             "Liczba działek: 4     Powierzchnia razem [ha]:\n4,5924\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n---\n" << text.toStdString();
    }
    // Precinct name, then number: Antoniów 1, Śródmieście 2, 12/3.
    const qsizetype antoniow = text.indexOf(QStringLiteral("Antoniów\n3\n1\n"));
    const qsizetype two = text.indexOf(QStringLiteral("Śródmieście\n7\n2\n"));
    const qsizetype twelve = text.indexOf(QStringLiteral("Śródmieście\n7\n12/3\n"));
    EXPECT_LT(antoniow, two);
    EXPECT_LT(two, twelve);
    EXPECT_FALSE(text.contains(QStringLiteral("\n40\n"))) << "parcel of a retired unit";
    // Kowalski once per parcel row: the identical row recorded on parcel 2 is not repeated.
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Kowalski Jan")), 3);
    // Legal person before natural persons within a form of holding.
    const QString parcel2 = text.mid(two, twelve - two);
    EXPECT_LT(parcel2.indexOf(QStringLiteral("Gmina")), parcel2.indexOf(QStringLiteral("Kowalski")));
}

TEST(WypisSkrTest, ColumnHeadingOnParcels1And11And21)
{
    ShortExtract r(manyParcels(25));
    QStringList answers;
    QStringList order;
    r.dm.WypisSort(mslinks(25));
    r.env.rtf1.OnValueRequest = [&](const QString &name) {
        const QVariant value = r.dm.ValueRequest(name);
        if (name == QLatin1String("wstaw_naglowek"))
            answers << (value.toBool() ? QStringLiteral("T") : QStringLiteral("-"));
        if (name == QLatin1String("skroluj") || name == QLatin1String("wstaw_naglowek"))
            order << name;
        return value;
    };
    r.dm.OkresNaglowka = 10;
    r.dm.LicznikNaglowka = 10;
    r.env.removeDocument();
    ASSERT_EQ(app::UruchomRaport(r.env.rtf1, QStringLiteral("WypisRgSkrSort.rtf")), 0);
    EXPECT_EQ(answers.join(QString()), QStringLiteral("T---------T---------T----"));
    EXPECT_EQ(order.count(QStringLiteral("skroluj")), 25);
    EXPECT_EQ(order.count(QStringLiteral("wstaw_naglowek")), 25);
    const QString text = r.env.documentText();
    // The title once, the column heading before parcels 1, 11 and 21.
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Wypis uproszczony z rejestru gruntów\nSporządzono")), 1);
    const QString heading = QStringLiteral("Obręb\nJR\nNr działki\nArkusz\nPow. [ha]\nNr księgi wieczystej\nAdres, położenie\n\n");
    EXPECT_EQ(reporttest::occurrences(text, heading), 3);
    for (const char *first : {"Śródmieście\n1\n1\n", "Śródmieście\n1\n11\n", "Śródmieście\n1\n21\n"})
        EXPECT_TRUE(text.contains(heading + QString::fromUtf8(first))) << first;
}

TEST(WypisSkrTest, MoreThanAThousandSelectedParcelsAreAllListed)
{
    ShortExtract r(manyParcels(1203));
    const QString text = r.run(mslinks(1203));
    ASSERT_TRUE(r.env.recording.messages.empty());
    EXPECT_TRUE(text.contains(QStringLiteral("Liczba działek: 1203     Powierzchnia razem [ha]:\n0,1203\n")));
    EXPECT_EQ(reporttest::occurrences(text, QStringLiteral("Kowalski Jan")), 1203);
    EXPECT_TRUE(text.contains(QStringLiteral("\n1203\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n1001\n")));
}

TEST(WypisSkrTest, EmptySelectionDoesNothingAndErrorsGetTheModuleCaption)
{
    ShortExtract r(shortRegister());
    EXPECT_EQ(r.run(QString()), QString());
    EXPECT_TRUE(r.env.recording.calls.isEmpty());

    r.run(QStringLiteral("2001,x"));
    ASSERT_EQ(r.env.recording.messages.size(), 1u);
    EXPECT_EQ(r.env.recording.messages[0].caption, QStringLiteral("Błąd w funkcji 'WypisSort'"));
    EXPECT_EQ(r.env.recording.messages[0].flags, app::mb::IconError);
    EXPECT_FALSE(r.env.recording.messages[0].text.isEmpty());
    EXPECT_TRUE(r.env.recording.editorLaunches.empty());
}

TEST(WypisSkrTest, VariablesOnTheirOwn)
{
    ShortExtract r(shortRegister());
    r.dm.WypisSort(QStringLiteral("2010"));
    r.dm.DlkSortQry->first();
    EXPECT_TRUE(QTime::fromString(r.dm.ValueRequest(QStringLiteral("current_time")).toString(),
                                  QStringLiteral("H:mm:ss")).isValid());
    r.dm.SumaPow = 0;
    r.dm.ValueRequest(QStringLiteral("skroluj"));
    r.dm.ValueRequest(QStringLiteral("skroluj"));
    EXPECT_EQ(r.dm.ValueRequest(QStringLiteral("sumpow")).toString(), QStringLiteral("4,0000"));
    EXPECT_EQ(r.dm.ValueRequest(QStringLiteral("adr_poloz_dlk")).toString(), QStringLiteral("ul. Polna 1"));
    EXPECT_EQ(r.dm.ValueRequest(QStringLiteral("ilodzialek")), QVariant(1));
    EXPECT_EQ(r.dm.ValueRequest(QStringLiteral("Skroluj")), QVariant(QString()));
    jet::Dataset *dataset = nullptr;
    r.dm.DataSetRequest(QStringLiteral("dzialki"), dataset);
    EXPECT_EQ(dataset, nullptr);
    r.dm.DataSetRequest(QStringLiteral("osobyods"), dataset);
    EXPECT_EQ(dataset, r.dm.OsobyQry);
}

// A document of more rows than the limit is announced with the rows the report's own queries
// count: 250 parcels with the 400 holders of their unit each, and parcel 1 with a holder of its
// own; "Nie" writes nothing.
TEST(WypisSkrTest, ALargeDocumentIsAnnouncedWithItsRowsAndNieWritesNothing)
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 1}, {"NAZWA", "Śródmieście"}});
    QStringList ids;
    for (int unit = 0; unit < 2; ++unit) {
        const double idJr = 101 + unit;
        b.add("RGRUN", {{"ID_JR", idJr}, {"OBREB_ID", 1}, {"KOL_OBREB", unit + 1}});
        for (int h = 0; h < 400; ++h)
            holder(b, "LWRGRUN", 1 + unit * 400 + h, "ID_JR", idJr, 100001 + h, 1, 1, 400, "", "Współwłaściciel");
        for (int p = 0; p < (unit == 0 ? 130 : 120); ++p) {
            const double mslink = 10001 + unit * 1000 + p;
            b.add("KDZIALKA", {{"MSLINK", mslink}, {"DZIALKA_ID", mslink + 10000}, {"ID_JR", idJr}, {"OBREB_ID", 1},
                               {"NR_L", p + 1}, {"AREA", 1.0}, {"AROWA", 0}});
            ids << QString::number(mslink);
        }
    }
    holder(b, "LWKDZIALKA", 1, "DZIALKA_ID", 20001, 200001, 5, 1, 1, "", "Zieliński Piotr");
    ShortExtract r(b);
    r.env.recording.messageAnswers = {app::mb::IdNo};
    EXPECT_EQ(r.run(ids.join(QLatin1Char(','))), QString());
    ASSERT_EQ(r.env.recording.messages.size(), 1u);
    EXPECT_EQ(r.env.recording.messages[0].text,
              QStringLiteral("Dokument będzie bardzo duży (100251 wierszy). Czy kontynuować?"));
    EXPECT_EQ(r.env.recording.messages[0].flags, app::mb::YesNo | app::mb::IconQuestion);
    EXPECT_TRUE(r.env.recording.editorLaunches.empty());
    EXPECT_TRUE(QDir(r.env.outputFolder()).entryList(QDir::Files).isEmpty());
}

// "Anuluj" while the document is written: no document, no editor, no message; the next extract
// runs at once.
TEST(WypisSkrTest, AnulujLeavesNoDocumentAndTheNextExtractRuns)
{
    ShortExtract r(manyParcels(25));
    r.env.recording.cancelWhen = [](const test::RecordingInteraction::ProgressUpdate &update) {
        return update.detail.startsWith(QStringLiteral("Wiersze dokumentu"));
    };
    EXPECT_EQ(r.run(mslinks(25)), QString());
    EXPECT_TRUE(r.env.recording.editorLaunches.empty());
    EXPECT_TRUE(r.env.recording.messages.empty());
    ASSERT_EQ(r.env.recording.progresses.size(), 1u);
    EXPECT_EQ(r.env.recording.progresses[0].updates.front().detail,
              QStringLiteral("Liczenie wierszy dokumentu: działka 1 z 25"));
    EXPECT_TRUE(QDir(r.env.outputFolder()).entryList(QDir::Files).isEmpty());

    r.env.recording.cancelWhen = nullptr;
    EXPECT_EQ(reporttest::occurrences(r.run(mslinks(25)), QStringLiteral("Kowalski Jan")), 25);
    EXPECT_EQ(r.env.recording.editorLaunches.size(), 1u);
}

} // namespace
