// The written document: values as RTF text, the header that Charset, LangID and
// ANSICodePage ask for, the file itself, and what happens when a run fails.

#include "RtfTestSupport.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "rtf/RtfError.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using namespace katarix;
using namespace katarix::rtf;
using namespace katarix::rtf::test;

TEST(RtfOutput, ValuesAreWrittenAsEscapedRtfText)
{
    struct Case {
        const char *name;
        QVariant value;
        QByteArray rtf;  // what the marker becomes
        QString text;    // what a reader gets back
    };
    const QList<Case> cases = {
        {"Polish letters with Windows-1250 fallback", QStringLiteral("Łódź Ąę"),
         "{\\uc1\\lang1045 \\u321\\'a3\\u243\\'f3d\\u378\\'9f \\u260\\'a5\\u281\\'ea}", "Łódź Ąę"},
        {"RTF specials", QStringLiteral("a\\b{c}"), "{\\uc1\\lang1045 a\\\\b\\{c\\}}", "a\\b{c}"},
        {"line breaks of every kind", QStringLiteral("1\r\n2\r3\n4\t5"),
         "{\\uc1\\lang1045 1\\line 2\\line 3\\line 4\\tab 5}", "1\n2\n3\n4\t5"},
        {"no fallback byte", QString::fromUtf8("€漢\xEF\xBF\xBD"), "{\\uc1\\lang1045 \\u8364\\'80\\u28450?\\u-3?}",
         QString::fromUtf8("€漢\xEF\xBF\xBD")},
        {"integer", 42, "{\\uc1\\lang1045 42}", "42"},
        {"truth value", true, "{\\uc1\\lang1045 True}", "True"},
        {"number", 1234.5, "{\\uc1\\lang1045 " + jet::numberToText(1234.5).toLatin1() + "}",
         jet::numberToText(1234.5)},
        {"empty text", QString(), "<>", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Handlers handlers;
        handlers.values["v"] = [&] { return c.value; };
        TRTFReport report;
        handlers.install(report);
        ASSERT_TRUE(report.LoadTemplateData(document("<[[v]]>")));
        const QByteArray out = report.Execute();
        EXPECT_TRUE(out.contains("<" + c.rtf + ">") || (c.rtf == "<>" && out.contains("<>"))) << out.constData();
        EXPECT_EQ(textOf(out), "<" + c.text + ">\n");
    }
}

TEST(RtfOutput, FieldValuesUseTheEnginesText)
{
    auto data = std::make_unique<jet::MemTable>();
    data->addField("POW", jet::FieldType::Float);
    data->addField("ILE", jet::FieldType::Integer);
    data->addField("OPIS", jet::FieldType::Text);
    data->open();
    data->append({0.1234, 7, QVariant()});
    Handlers handlers;
    handlers.datasets["d"] = data.get();
    TRTFReport report;
    handlers.install(report);
    ASSERT_TRUE(report.LoadTemplateData(document("[[d.pow]]|[[d.ILE]]|[[d.OPIS]]|")));
    EXPECT_EQ(textOf(report.Execute()), jet::numberToText(0.1234) + "|7||\n");
}

TEST(RtfOutput, HeaderCarriesCodePageLanguageAndFontCharset)
{
    struct Case {
        const char *name;
        QByteArray header; // the template up to the body
        int charset, langId, codePage;
        QList<QByteArray> present;
        QList<QByteArray> absent;
    };
    const QByteArray libreOffice = "{\\rtf1\\ansi\\deff0\\adeflang1025{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times;}"
                                   "{\\f1\\fswiss Arial;}{\\f2\\ftech\\fcharset2 Symbol;}}";
    const QByteArray word = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\froman\\fcharset0 Times;}}";
    const QList<Case> cases = {
        {"settings of the program, LibreOffice header", libreOffice, 238, 1045, 0,
         {"{\\rtf1\\ansi\\ansicpg1250\\deflang1045 \\deff0", "\\fcharset238 Times;", "{\\f1\\fcharset238 \\fswiss Arial;}",
          "\\fcharset2 Symbol;", "{\\uc1\\lang1045 "},
         {"\\fcharset0"}},
        {"the template's code page stays when none is asked", word, 238, 1045, 0,
         {"\\ansicpg1252", "\\deflang1045 ", "\\fcharset238 Times;"},
         {"\\deflang1033", "\\ansicpg1250"}},
        {"an asked code page replaces the template's", word, 238, 1045, 1250, {"\\ansicpg1250 "}, {"\\ansicpg1252"}},
        {"Cyrillic settings", libreOffice, 204, 1049, 0,
         {"\\ansicpg1251\\deflang1049 ", "\\fcharset204 Times;", "{\\uc1\\lang1049 "},
         {"\\fcharset238", "1045"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Handlers handlers;
        handlers.values["v"] = [] { return QVariant(QStringLiteral("ż")); };
        TRTFReport report;
        report.Charset = c.charset;
        report.LangID = c.langId;
        report.ANSICodePage = c.codePage;
        handlers.install(report);
        ASSERT_TRUE(report.LoadTemplateData(c.header + "\n\\pard\\plain [[v]]\\par }"));
        const QByteArray out = report.Execute();
        for (const QByteArray &text : c.present)
            EXPECT_TRUE(out.contains(text)) << text.constData() << "\n" << out.constData();
        for (const QByteArray &text : c.absent)
            EXPECT_FALSE(out.contains(text)) << text.constData() << "\n" << out.constData();
        EXPECT_TRUE(balanced(out));
    }
}

TEST(RtfOutput, FilesAreReadAndWrittenAndFailuresLoseNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString templatePath = dir.filePath("Szablon.rtf");
    const QString notRtf = dir.filePath("Tekst.rtf");
    const QString output = dir.filePath("Wynik.rtf");
    auto write = [](const QString &path, const QByteArray &data) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    };
    write(templatePath, document("[[#ds]][[ds.A]] [[/ds]][[ile]]"));
    write(notRtf, "[[ds.A]]");
    write(output, "");

    auto data = table({"A"}, {{"x"}, {"y"}});
    Handlers handlers;
    handlers.datasets["ds"] = data.get();
    handlers.values["ile"] = [&] { return QVariant(data->recordCount()); };
    TRTFReport report;
    handlers.install(report);

    EXPECT_FALSE(report.LoadTemplate(dir.filePath("Brak.rtf")));
    EXPECT_FALSE(report.LoadTemplate(notRtf));
    try {
        report.ExecuteAndSave(output); // the failed load left no template behind
        ADD_FAILURE() << "no error";
    } catch (const RtfError &error) {
        EXPECT_EQ(error.message(), "Nie załadowano szablonu raportu.");
    }

    ASSERT_TRUE(report.LoadTemplate(templatePath));
    report.ExecuteAndSave(output);
    QFile written(output);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray document = written.readAll();
    EXPECT_EQ(textOf(document), "x y 2\n");
    written.close();

    // An error of a handler passes unchanged and leaves no partial document: the target is gone.
    write(output, "stary dokument");
    handlers.values["ile"] = []() -> QVariant { throw jet::JetError(QStringLiteral("Błąd zapytania.")); };
    try {
        report.ExecuteAndSave(output);
        ADD_FAILURE() << "no error";
    } catch (const jet::JetError &error) {
        EXPECT_EQ(error.message(), "Błąd zapytania.");
    }
    EXPECT_FALSE(QFile::exists(output));

    // A folder in place of the file.
    handlers.values["ile"] = [] { return QVariant(1); };
    const QString folder = dir.filePath("Folder.rtf");
    ASSERT_TRUE(QDir().mkdir(folder));
    try {
        report.ExecuteAndSave(folder);
        ADD_FAILURE() << "no error";
    } catch (const RtfError &error) {
        EXPECT_TRUE(error.message().startsWith("Nie udało się zapisać dokumentu „" + folder + "”:\n"))
            << error.message().toStdString();
    }
}

TEST(RtfOutput, FreeDatasetsDecidesWhoDeletesThem)
{
    for (const bool free : {false, true}) {
        SCOPED_TRACE(free ? "FreeDatasets" : "kept");
        auto owned = table({"A"}, {{"x"}});
        QPointer<jet::Dataset> watch(owned.get());
        jet::MemTable *raw = owned.release();
        TRTFReport report;
        report.FreeDatasets = free;
        report.OnDataSetRequest = [&](const QString &, jet::Dataset *&dataset) { dataset = raw; };
        ASSERT_TRUE(report.LoadTemplateData(document("[[a.A]][[b.A]]"))); // one dataset, two names
        EXPECT_EQ(textOf(report.Execute()), "xx\n");
        report.ClearTables();
        EXPECT_EQ(watch.isNull(), free);
        if (!free)
            delete raw;
    }
}

TEST(RtfOutput, ProcessMessagesLetsQueuedEventsRunBetweenBandRows)
{
    int argc = 1;
    char name[] = "rtf_test_output";
    char *argv[] = {name};
    QCoreApplication app(argc, argv);
    for (const bool process : {false, true}) {
        SCOPED_TRACE(process ? "ProcessMessages" : "no messages");
        auto data = table({"A"}, {{"x"}, {"y"}});
        bool ran = false;
        QStringList seen;
        Handlers handlers;
        handlers.datasets["ds"] = data.get();
        handlers.values["v"] = [&] {
            seen.append(ran ? "po" : "przed");
            return QVariant();
        };
        TRTFReport report;
        report.ProcessMessages = process;
        handlers.install(report);
        QTimer::singleShot(0, [&] { ran = true; });
        ASSERT_TRUE(report.LoadTemplateData(document("[[#ds]][[v]][[/ds]]")));
        report.Execute();
        EXPECT_EQ(seen, process ? QStringList({"przed", "po"}) : QStringList({"przed", "przed"}));
        QCoreApplication::processEvents();
    }
}

// The document goes to its file as it is filled, in pieces: the file equals Execute()'s document
// also when it is many pieces long. OnProgress hears the band rows printed so far; what it throws
// stops the filling and removes the file, out of memory included.
TEST(RtfOutput, TheDocumentIsWrittenAsItIsFilledAndAStoppedOneIsRemoved)
{
    QList<QVariantList> rows;
    for (int i = 0; i < 3000; ++i)
        rows.append({QStringLiteral("Wiersz %1 – żółć %2").arg(i).arg(QString(40, QLatin1Char('x')))});
    auto data = table({"A"}, rows);
    Handlers handlers;
    handlers.datasets["ds"] = data.get();
    TRTFReport report;
    handlers.install(report);
    ASSERT_TRUE(report.LoadTemplateData(document("[[#ds]][[ds.A]]\\par [[/ds]]Koniec")));
    QTemporaryDir dir;
    const QString output = dir.filePath("Wynik.rtf");

    QList<qint64> progress;
    report.OnProgress = [&](qint64 rowsPrinted) { progress << rowsPrinted; };
    report.ExecuteAndSave(output);
    QFile written(output);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray fromFile = written.readAll();
    written.close();
    EXPECT_GT(fromFile.size(), 3 * 64 * 1024) << "several pieces";
    report.OnProgress = nullptr;
    EXPECT_EQ(fromFile, report.Execute());
    ASSERT_EQ(progress.size(), 3000);
    EXPECT_EQ(progress.first(), 1);
    EXPECT_EQ(progress.last(), 3000);

    struct Case {
        const char *what;
        std::function<void(qint64)> progress;
    };
    const Case cases[] = {
        {"stopped after 2000 rows", [](qint64 n) { if (n == 2000) throw std::runtime_error("stop"); }},
        {"out of memory", [](qint64 n) { if (n == 2500) throw std::bad_alloc(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        report.OnProgress = c.progress;
        EXPECT_ANY_THROW(report.ExecuteAndSave(output));
        EXPECT_FALSE(QFile::exists(output));
    }
}
