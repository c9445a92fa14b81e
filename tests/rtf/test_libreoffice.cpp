// The produced document as LibreOffice reads it: converted to plain text by soffice.

#include "RtfTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "common/LibreOfficeText.h"
#include "common/RequiredTool.h"

using namespace katarix;
using namespace katarix::rtf;
using namespace katarix::rtf::test;

TEST(RtfLibreOffice, ProducedDocumentReadsBackWithPolishLettersAndTableRows)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    KATARIX_REQUIRE_TOOL(!soffice.isEmpty(), "soffice (LibreOffice) is not installed; run scripts/setup.sh (it installs libreoffice-writer)");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    auto units = table({"NR_JR", "OBREB", "NR"}, {{"12", "Śródmieście", "12"}, {"13", "Łęgi Żurawie", "13"}});
    auto parcels = table({"NUMER", "POW"}, {{"5/1", "0,1200"}, {"5/2", "1,0000"}});
    Handlers handlers;
    handlers.datasets = {{"listajr", units.get()}, {"dzialki", parcels.get()}};
    handlers.values = {{"opis", [] { return QVariant(QStringLiteral("gęś {ą}\\ź")); }},
                       {"uwagi", [] { return QVariant(QStringLiteral("Łąka\r\nzażółć")); }},
                       {"data", [] { return QVariant(QStringLiteral("09.12.2026")); }}};
    TRTFReport report;
    handlers.install(report);
    ASSERT_TRUE(report.LoadTemplate(QStringLiteral(KATARIX_SOURCE_DIR "/tests/rtf/data/word_split.rtf")));
    const QString output = dir.filePath("Wynik.rtf");
    QFile(output).open(QIODevice::WriteOnly);
    report.ExecuteAndSave(output);

    const QString unit = QStringLiteral("Działka\nPowierzchnia\n5/1\n0,1200\n5/2\n1,0000\n"
                                        "Uwagi: Łąka\nzażółć\nKoniec uwag.\n");
    EXPECT_EQ(katarix::test::convertRtfToText(soffice, output, dir),
              QStringLiteral("Wypis z rejestru gruntów\nJednostka nr 12 – gęś {ą}\\ź\n") + unit +
                  QStringLiteral("Jednostka nr 13 – gęś {ą}\\ź\n") + unit +
                  QStringLiteral("Sporządzono dnia 09.12.2026.\n"));
}
