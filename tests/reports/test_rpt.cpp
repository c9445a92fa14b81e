// The list of parcels with holders: the CSV file written for the selected parcels, its rows and
// order, long selections, values with quotes and commas, and the messages of every ending.
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "common/LibreOfficeText.h"
#include "reports/Rpt.h"
#include "support/ReportTestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace katarix;
using katarix::registergen::RegisterBuilder;

namespace {

const char *kHeader = "\"ID_DLK\",\"ID_KLASOUZ\",\"JR_NR\",\"OBREB\",\"NR_L\",\"NR_M\",\"NR_DLK\",\"ARKUSZ\",\"POW_DLK\","
                      "\"KLASOUZ\",\"POW_KL\",\"F_WLAD\",\"L_UDZ\",\"M_UDZ\",\"NR_UDZ\",\"OSOBA\",\"ADRES\"";

// Precinct "Rynek" (10), unit 101 no. 7 with two current holders (share numbers 2 and 1) and
// one retired; parcel 1 (12/3, 1.2345 ha, sheet "3") with three class/use rows listed out of
// order; parcel 2 (15) without class/use rows; parcel 3 retired.
RegisterBuilder parcelRegister()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("ARKUSZ", {{"MSLINK", 5.0}, {"NAZWA", "3"}, {"OBREB_ID", 10}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 7}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 1.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 2}, {"NR_UDZIALU", "2"}, {"OSOBA_TXT", "Nowak Anna"}, {"ADRES_TXT", "Rynek 1"}});
    b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 2.0}, {"WLAD_ID", 2}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 2}, {"NR_UDZIALU", "1"}, {"OSOBA_TXT", "Kowalski \"Kowal\", Jan"},
                      {"ADRES_TXT", "ul. Długa 5, Łódź"}});
    b.add("LWRGRUN", {{"MSLINK", 3.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 3.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"NR_UDZIALU", "3"}, {"OSOBA_TXT", "Dawny Piotr"}, {"ZMIANA_KAS_ID", 9.0}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"ARKUSZ_ID", 5.0},
                       {"NR_L", 12}, {"NR_M", 3}, {"AREA", 12345.0}});
    b.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 15},
                       {"AREA", 700.0}});
    b.add("KDZIALKA", {{"MSLINK", 3.0}, {"DZIALKA_ID", 13.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 16},
                       {"AREA", 100.0}, {"ZMIANA_KAS_ID", 4.0}});
    b.add("KLASOUZ", {{"MSLINK", 33.0}, {"OBSZAR_ID", 1.0}, {"KLASA_ID", 12}, {"UZYTEK_ID", 3}, {"AREA", 345.0}});
    b.add("KLASOUZ", {{"MSLINK", 31.0}, {"OBSZAR_ID", 1.0}, {"KLASA_ID", 11}, {"UZYTEK_ID", 1}, {"AREA", 10000.0}});
    b.add("KLASOUZ", {{"MSLINK", 32.0}, {"OBSZAR_ID", 1.0}, {"UZYTEK_ID", 2}, {"AREA", 2000.0}});
    return b;
}

QList<QByteArray> csvLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1); // the CR of CR LF
    return lines;
}

QByteArray win1250(const char *utf8)
{
    QByteArray out;
    for (const char32_t c : QString::fromUtf8(utf8).toUcs4()) {
        switch (c) {
        case U'ł': out += '\xb3'; break;
        case U'Ł': out += '\xa3'; break;
        case U'ó': out += '\xf3'; break;
        case U'ź': out += '\x9f'; break;
        case U'ż': out += '\xbf'; break;
        case U'ś': out += '\x9c'; break;
        case U'ć': out += '\xe6'; break;
        case U'ń': out += '\xf1'; break;
        case U'ą': out += '\xb9'; break;
        case U'ę': out += '\xea'; break;
        default: out += char(c); break;
        }
    }
    return out;
}

class RptTest : public ::testing::Test {
protected:
    explicit RptTest(const RegisterBuilder &b = parcelRegister()) : env(b) {}
    QString target() const { return env.outputFolder() + QStringLiteral("/wykaz.csv"); }
    void run(const QString &lista, const QString &answer)
    {
        env.recording.fileAnswers.push_back(answer);
        reports::TRptDM rpt(env.db, nullptr, env.outputFolder());
        rpt.WykazDlkWlad(lista);
        warunek = rpt.StrHld.macro(QStringLiteral("WARUNEK"));
    }

    reporttest::ReportEnvironment env;
    QString warunek;
};

TEST_F(RptTest, ParcelWithThreeClassUseRowsAndTwoHoldersGivesSixLinesInOrder)
{
    run(QStringLiteral("2,1,3"), target());

    const QList<QByteArray> lines = csvLines(target());
    const QList<QByteArray> expected = {
        kHeader,
        win1250("\"1\",\"31\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"RIIIa\",\"1\",\"Użytkowanie wieczyste\",\"1\",\"2\",\"1\",\"Kowalski \"\"Kowal\"\", Jan\",\"ul. Długa 5, Łódź\""),
        win1250("\"1\",\"31\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"RIIIa\",\"1\",\"Własność\",\"1\",\"2\",\"2\",\"Nowak Anna\",\"Rynek 1\""),
        win1250("\"1\",\"32\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"B\",\"0,2\",\"Użytkowanie wieczyste\",\"1\",\"2\",\"1\",\"Kowalski \"\"Kowal\"\", Jan\",\"ul. Długa 5, Łódź\""),
        win1250("\"1\",\"32\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"B\",\"0,2\",\"Własność\",\"1\",\"2\",\"2\",\"Nowak Anna\",\"Rynek 1\""),
        win1250("\"1\",\"33\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"ŁIII\",\"0,0345\",\"Użytkowanie wieczyste\",\"1\",\"2\",\"1\",\"Kowalski \"\"Kowal\"\", Jan\",\"ul. Długa 5, Łódź\""),
        win1250("\"1\",\"33\",\"7\",\"Rynek\",\"12\",\"3\",\"12/3\",\"3\",\"1,2345\",\"ŁIII\",\"0,0345\",\"Własność\",\"1\",\"2\",\"2\",\"Nowak Anna\",\"Rynek 1\""),
        // Without class/use rows: one line per holder, the class/use columns empty.
        win1250("\"2\",\"\",\"7\",\"Rynek\",\"15\",\"\",\"15\",\"\",\"0,07\",\"\",\"\",\"Użytkowanie wieczyste\",\"1\",\"2\",\"1\",\"Kowalski \"\"Kowal\"\", Jan\",\"ul. Długa 5, Łódź\""),
        win1250("\"2\",\"\",\"7\",\"Rynek\",\"15\",\"\",\"15\",\"\",\"0,07\",\"\",\"\",\"Własność\",\"1\",\"2\",\"2\",\"Nowak Anna\",\"Rynek 1\""),
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;

    ASSERT_EQ(env.recording.fileDialogs.size(), 1u);
    EXPECT_EQ(env.recording.fileDialogs[0].request.initialFolder, env.outputFolder());
    ASSERT_EQ(env.recording.messages.size(), 1u);
    EXPECT_EQ(env.recording.messages[0].text, QStringLiteral("Raport pomyślnie zapisano do pliku."));
    EXPECT_EQ(env.recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(env.recording.messages[0].flags, app::mb::IconInformation);
}

TEST_F(RptTest, AnUnwritableTargetIsReportedAsAnErrorNotAsSuccess)
{
    // A file where a folder should be stops even root (tests may run as root).
    const QString plik = env.outputFolder() + QStringLiteral("/plik.txt");
    QFile(plik).open(QIODevice::WriteOnly);
    const QString cases[] = {env.outputFolder() + QStringLiteral("/brak/wykaz.csv"), plik + QStringLiteral("/wykaz.csv"),
                             QStringLiteral("/dev/full")};
    for (const QString &path : cases) {
        SCOPED_TRACE(path.toStdString());
        env.recording.messages.clear();
        run(QStringLiteral("1"), path);
        ASSERT_EQ(env.recording.messages.size(), 1u);
        EXPECT_EQ(env.recording.messages[0].caption, QStringLiteral("Błąd w funkcji 'WykazDlkWlad'"));
        EXPECT_EQ(env.recording.messages[0].flags, app::mb::IconError);
        EXPECT_TRUE(env.recording.messages[0].text.contains(path)) << env.recording.messages[0].text.toStdString();
    }
}

TEST_F(RptTest, EndingsWithoutAFile)
{
    // No selection: the module's own warning.
    run(QString(), target());
    ASSERT_EQ(env.recording.messages.size(), 1u);
    EXPECT_EQ(env.recording.messages[0].text,
              QStringLiteral("Nie określono działek, dla których ma zostać sporządzony ten raport."));
    EXPECT_EQ(env.recording.messages[0].flags, app::mb::IconWarning);
    EXPECT_TRUE(env.recording.fileDialogs.empty());
    env.recording.fileAnswers.clear();

    // Only retired parcels: no rows, no dialog, no message.
    env.recording.messages.clear();
    run(QStringLiteral("3"), target());
    EXPECT_TRUE(env.recording.fileDialogs.empty());
    EXPECT_TRUE(env.recording.messages.empty());
    env.recording.fileAnswers.clear();

    // Cancelled dialog: no file, no message.
    run(QStringLiteral("1"), QString());
    EXPECT_EQ(env.recording.fileDialogs.size(), 1u);
    EXPECT_TRUE(env.recording.messages.empty());
    EXPECT_FALSE(QFile::exists(target()));
}

// 1,500 parcels of one unit with one holder.
RegisterBuilder manyParcels()
{
    RegisterBuilder b;
    reporttest::addDictionaries(b);
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 1.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 1}, {"NR_UDZIALU", "1"}, {"OSOBA_TXT", "Lis Ewa"}});
    for (int i = 1; i <= 1500; ++i)
        b.add("KDZIALKA", {{"MSLINK", double(i)}, {"DZIALKA_ID", 10000.0 + i}, {"ID_JR", 101.0}, {"OBREB_ID", 10},
                           {"NR_L", i}, {"AREA", 100.0}});
    return b;
}

class RptManyTest : public RptTest {
protected:
    RptManyTest() : RptTest(manyParcels()) {}
};

TEST_F(RptManyTest, MoreThanAThousandParcelsAreAllExported)
{
    QStringList ids;
    for (int i = 1500; i >= 1; --i)
        ids << QString::number(i);
    run(ids.join(QLatin1Char(',')), target());
    EXPECT_EQ(reporttest::occurrences(warunek, QStringLiteral("kdzialka.mslink in (")), 2);
    const QList<QByteArray> lines = csvLines(target());
    ASSERT_EQ(lines.size(), 1501);
    EXPECT_TRUE(lines[1].startsWith("\"1\","));
    EXPECT_TRUE(lines[1500].startsWith("\"1500\","));
}

// LibreOffice Calc opens the file as written: Windows-1250, comma separator, quoted fields.
TEST_F(RptTest, LibreOfficeCalcReadsTheColumnsAndPolishLetters)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed";
    run(QStringLiteral("1,2"), target());
    // KATARIX_REPORT_DUMP=folder keeps a copy of the file, to look at it.
    if (const QString dump = qEnvironmentVariable("KATARIX_REPORT_DUMP"); !dump.isEmpty())
        QFile::copy(target(), dump + QStringLiteral("/wykaz.csv"));
    QTemporaryDir dir;
    QProcess process;
    process.setProgram(soffice);
    // Import: comma, quotation mark, Windows-1250 (code 33 of LibreOffice's table); export: the
    // same separator and quoting in UTF-8 (76), every text quoted.
    process.setArguments({"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                          "--headless", "--infilter=Text - txt - csv (StarCalc):44,34,33,1,,1045", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true",
                          "--outdir", dir.path(), target()});
    process.start();
    ASSERT_TRUE(process.waitForFinished(180000));
    QFile out(dir.filePath(QStringLiteral("wykaz.csv")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << process.readAllStandardError().toStdString();
    const QStringList rows = QString::fromUtf8(out.readAll()).split(QStringLiteral("\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 9);
    EXPECT_TRUE(rows[1].contains(QStringLiteral("\"Kowalski \"\"Kowal\"\", Jan\",\"ul. Długa 5, Łódź\"")))
        << rows[1].toStdString();
    EXPECT_TRUE(rows[5].contains(QStringLiteral("\"ŁIII\""))) << rows[5].toStdString();
}

} // namespace
