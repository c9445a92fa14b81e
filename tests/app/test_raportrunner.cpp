// The report runner: template loading, output names (editor locks, file rights), the editor and
// its failure messages, progress and "Anuluj", the question before a large document.
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "app/Ustawienia.h"
#include "common/Files.h"
#include "jet/JetError.h"
#include "jet/MemTable.h"
#include "rtf/RTFReport.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "common/RequiredTool.h"
#include "widgets/PathEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <new>
#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace katarix;
using namespace katarix::app;
using katarix::test::RecordingInteraction;

namespace {

const QString kNotWritable = QStringLiteral(
    "Nie udało się określić poprawnej ścieżki dostępu dla pliku wynikowego.\n"
    "Sprawdź w ustawieniach czy katalog wynikowy dla raportów jest poprawny.");

class RaportRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        UstawTytulAplikacji(QStringLiteral("Katarix"));
        ASSERT_TRUE(root.isValid());
        QDir(root.path()).mkpath(QStringLiteral("Szablony"));
        QDir(root.path()).mkpath(QStringLiteral("Tmp"));
        ustawienia.edytor = QStringLiteral("/opt/edytor/bin/edytor");
        ustawienia.katalogSzablonow = root.filePath(QStringLiteral("Szablony"));
        ustawienia.katalogWynikowy = root.filePath(QStringLiteral("Tmp"));
        writeTemplate(QStringLiteral("Raport.rtf"),
                      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Raport: [[tytul]]\\par}");
        raport.OnValueRequest = [this](const QString &name) -> QVariant {
            ++requests;
            if (throwFromHandler)
                throw AppError(QStringLiteral("Błąd obsługi zmiennej ") + name);
            return name == QLatin1String("tytul") ? QVariant(QStringLiteral("Wypis nr %1").arg(requests))
                                                  : QVariant();
        };
    }

    void writeTemplate(const QString &name, const QByteArray &content)
    {
        ASSERT_TRUE(test::writeBytes(root.filePath(QStringLiteral("Szablony/") + name), content));
    }

    QString output(const QString &name) const { return root.filePath(QStringLiteral("Tmp/") + name); }

    // A directory in place of an output name: it cannot be opened for writing, even by root.
    void block(const QString &name)
    {
        QFile::remove(output(name)); // written by an earlier run
        ASSERT_TRUE(QDir().mkpath(output(name)));
    }

    QTemporaryDir root;
    Ustawienia ustawienia;
    rtf::TRTFReport raport;
    RecordingInteraction recording;
    int requests = 0;
    bool throwFromHandler = false;
};

TEST_F(RaportRunnerTest, ProducesWynikRtfOpensItInTheEditorAndOverwritesItNextTime)
{
    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    EXPECT_TRUE(test::fileBytes(output(QStringLiteral("Wynik.rtf"))).contains("Wypis nr 1"));
    ASSERT_EQ(recording.editorLaunches.size(), 1u);
    EXPECT_EQ(recording.editorLaunches[0].program, ustawienia.edytor);
    EXPECT_EQ(recording.editorLaunches[0].document, output(QStringLiteral("Wynik.rtf")));
    EXPECT_TRUE(recording.messages.empty());
    EXPECT_EQ(recording.beeps, 0);

    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    const QByteArray second = test::fileBytes(output(QStringLiteral("Wynik.rtf")));
    EXPECT_TRUE(second.contains("Wypis nr 2"));
    EXPECT_FALSE(second.contains("Wypis nr 1"));
    EXPECT_FALSE(QFile::exists(output(QStringLiteral("Wynik1.rtf"))));
}

// A new document holds names and PESEL numbers: its owner alone reads it, whatever the umask
// would let others read.
TEST_F(RaportRunnerTest, ANewDocumentIsReadableByItsOwnerOnly)
{
    QFile::remove(output(QStringLiteral("Wynik.rtf")));
    const mode_t umaskBefore = ::umask(0);
    const int result = UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia);
    ::umask(umaskBefore);
    ASSERT_EQ(result, 0);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(output(QStringLiteral("Wynik.rtf"))).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_GT(status.st_size, 0);
}

TEST_F(RaportRunnerTest, FolderTextsEndingInASeparatorGiveSinglePaths)
{
    ustawienia.katalogWynikowy += QLatin1Char('/');
    ustawienia.katalogSzablonow += QLatin1Char('/');
    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    ASSERT_EQ(recording.editorLaunches.size(), 1u);
    EXPECT_EQ(recording.editorLaunches[0].document, output(QStringLiteral("Wynik.rtf")));
    EXPECT_EQ(polaczSciezke(QStringLiteral("C:\\Katarix\\Tmp\\"), QStringLiteral("Wynik.rtf")),
              QStringLiteral("C:\\Katarix\\Tmp\\Wynik.rtf"));
    EXPECT_EQ(polaczSciezke(QStringLiteral("/srv/tmp"), QStringLiteral("Wynik.rtf")),
              QStringLiteral("/srv/tmp/Wynik.rtf"));
}

TEST_F(RaportRunnerTest, NamesThatCannotBeWrittenAreSkippedInOrder)
{
    struct Case {
        int blocked; // Wynik.rtf, then Wynik1.rtf ... Wynik<blocked-1>.rtf cannot be written
        const char *expected;
    };
    const Case cases[] = {{1, "Wynik1.rtf"}, {2, "Wynik2.rtf"}, {200, "Wynik200.rtf"}};
    int alreadyBlocked = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        for (; alreadyBlocked < c.blocked; ++alreadyBlocked)
            block(alreadyBlocked == 0 ? QStringLiteral("Wynik.rtf") : QStringLiteral("Wynik%1.rtf").arg(alreadyBlocked));
        recording.editorLaunches.clear();
        ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
        ASSERT_EQ(recording.editorLaunches.size(), 1u);
        EXPECT_EQ(recording.editorLaunches[0].document, output(QString::fromLatin1(c.expected)));
        EXPECT_TRUE(test::fileBytes(output(QString::fromLatin1(c.expected))).contains("Wypis nr"));
    }
    EXPECT_TRUE(recording.messages.empty());
}

TEST_F(RaportRunnerTest, WhenAll201NamesFailTheOutputPathErrorIsShownAndNoEditorStarts)
{
    const struct {
        const char *what;
        std::function<void()> prepare;
    } cases[] = {
        {"every name blocked",
         [this] {
             block(QStringLiteral("Wynik.rtf"));
             for (int i = 1; i <= 200; ++i)
                 block(QStringLiteral("Wynik%1.rtf").arg(i));
         }},
        {"missing output folder", [this] { ustawienia.katalogWynikowy = root.filePath(QStringLiteral("brak")); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        recording.messages.clear();
        EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 1);
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, kNotWritable);
        EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
        EXPECT_EQ(recording.messages[0].flags, mb::IconError);
        EXPECT_TRUE(recording.editorLaunches.empty());
        EXPECT_EQ(requests, 0) << "the template is not filled";
    }
    EXPECT_THROW(WolnaNazwaWyniku(root.filePath(QStringLiteral("brak/Wynik.rtf"))), AppError);
}

// The name is only chosen: a new file is created empty, an existing one is not touched until the
// document is written into it.
TEST_F(RaportRunnerTest, WolnaNazwaWynikuSplitsNameAndExtensionAndCreatesANewFileEmpty)
{
    EXPECT_EQ(WolnaNazwaWyniku(output(QStringLiteral("Nowy.rtf"))), output(QStringLiteral("Nowy.rtf")));
    EXPECT_TRUE(QFile::exists(output(QStringLiteral("Nowy.rtf"))));
    EXPECT_EQ(QFileInfo(output(QStringLiteral("Nowy.rtf"))).size(), 0);
    ASSERT_TRUE(test::writeBytes(output(QStringLiteral("Wynik.rtf")), "stara treść"));
    EXPECT_EQ(WolnaNazwaWyniku(output(QStringLiteral("Wynik.rtf"))), output(QStringLiteral("Wynik.rtf")));
    EXPECT_EQ(test::fileBytes(output(QStringLiteral("Wynik.rtf"))), QByteArray("stara treść"));

    block(QStringLiteral("raport.v2.rtf"));
    EXPECT_EQ(WolnaNazwaWyniku(output(QStringLiteral("raport.v2.rtf"))), output(QStringLiteral("raport.v21.rtf")));
    block(QStringLiteral("Wynik"));
    EXPECT_EQ(WolnaNazwaWyniku(output(QStringLiteral("Wynik"))), output(QStringLiteral("Wynik1")));
}

TEST_F(RaportRunnerTest, MissingOrBrokenTemplateFileBeepsAndWarnsWithoutProducingAnything)
{
    writeTemplate(QStringLiteral("Zepsuty.rtf"), "To nie jest RTF.");
    for (const char *name : {"Brak.rtf", "Zepsuty.rtf"}) {
        SCOPED_TRACE(name);
        recording.calls.clear();
        recording.messages.clear();
        EXPECT_EQ(UruchomRaport(raport, QString::fromLatin1(name), ustawienia), 1);
        EXPECT_EQ(recording.calls, QStringList({QStringLiteral("beep"), QStringLiteral("messageBox")}));
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie udało się załadować szablonu ") +
                                                  ustawienia.katalogSzablonow + QLatin1Char('/') +
                                                  QString::fromLatin1(name) +
                                                  QStringLiteral(".\nSprawdź czy ten plik istnieje."));
        EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
        EXPECT_EQ(recording.messages[0].flags, mb::IconWarning);
    }
    EXPECT_FALSE(QFile::exists(output(QStringLiteral("Wynik.rtf"))));
    EXPECT_TRUE(recording.editorLaunches.empty());
}

TEST_F(RaportRunnerTest, AFailingComponentIsReportedWithItsMessageAndNoEditorStarts)
{
    writeTemplate(QStringLiteral("Tabela.rtf"), "{\\rtf1\\ansi [[#nieznany]]x[[/nieznany]]\\par}");
    struct Case {
        const char *template_;
        bool throwFromHandler;
        QString expected;
    };
    const Case cases[] = {
        {"Tabela.rtf", false,
         QStringLiteral("Szablon raportu używa zbioru danych „nieznany”, którego program nie udostępnia w tym raporcie.")},
        {"Raport.rtf", true, QStringLiteral("Błąd obsługi zmiennej tytul")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.template_);
        throwFromHandler = c.throwFromHandler;
        recording.messages.clear();
        EXPECT_EQ(UruchomRaport(raport, QString::fromLatin1(c.template_), ustawienia), 1);
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, c.expected);
        EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
        EXPECT_EQ(recording.messages[0].flags, mb::IconError);
        EXPECT_EQ(recording.beeps, 0);
    }
    EXPECT_TRUE(recording.editorLaunches.empty());
}

TEST_F(RaportRunnerTest, EditorFallsBackToTheAssociatedProgramAndReportsTheLastFailure)
{
    using E = EditorLaunch;
    const QString head = QStringLiteral("Nie można uruchomić edytora RTF:\n");
    struct Case {
        const char *what;
        std::vector<E> answers;
        size_t launches;
        QString message; // empty: none
    };
    const Case cases[] = {
        {"editor starts", {E::Started}, 1, {}},
        {"associated program starts", {E::ProgramNotFound, E::Started}, 2, {}},
        {"wrong paths", {E::ProgramNotFound, E::DocumentNotFound}, 2,
         head + QStringLiteral("Niewłaściwa ścieżka lub nazwa pliku.")},
        {"no associated program", {E::AccessDenied, E::ProgramNotFound}, 2,
         head + QStringLiteral("Niewłaściwa ścieżka lub nazwa pliku.")},
        {"access denied", {E::OtherError, E::AccessDenied}, 2,
         head + QStringLiteral("Dostęp do pliku jest zabroniony.")},
        {"out of resources", {E::LibraryMissing, E::OtherError}, 2,
         head + QStringLiteral("Brak pamięci lub zasobów systemowych.")},
        {"missing library", {E::ProgramNotFound, E::LibraryMissing}, 2,
         head + QStringLiteral("Nie znaleziono wymaganej biblioteki dynamicznej (dll).")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        recording.editorLaunches.clear();
        recording.messages.clear();
        recording.editorAnswers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
        const QString document = output(QStringLiteral("Wynik.rtf"));
        ASSERT_EQ(recording.editorLaunches.size(), c.launches);
        EXPECT_EQ(recording.editorLaunches[0].program, ustawienia.edytor);
        EXPECT_EQ(recording.editorLaunches[0].document, document);
        if (c.launches > 1) {
            EXPECT_EQ(recording.editorLaunches[1].program, QString()) << "the desktop's associated program";
            EXPECT_EQ(recording.editorLaunches[1].document, document);
        }
        if (c.message.isEmpty()) {
            EXPECT_TRUE(recording.messages.empty());
        } else {
            ASSERT_EQ(recording.messages.size(), 1u);
            EXPECT_EQ(recording.messages[0].text, c.message);
            EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
            EXPECT_EQ(recording.messages[0].flags, mb::IconError);
        }
    }
}

TEST_F(RaportRunnerTest, EachRunAsksForItsDatasetsAnew)
{
    writeTemplate(QStringLiteral("Lista.rtf"),
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 [[#lista]][[lista.NAZWA]]\\par [[/lista]]}");
    jet::MemTable first, second;
    for (auto *table : {&first, &second}) {
        table->addField(QStringLiteral("NAZWA"), jet::FieldType::Text);
        table->open();
    }
    first.append({QStringLiteral("Pierwsza")});
    second.append({QStringLiteral("Druga")});
    jet::Dataset *answer = &first;
    raport.OnDataSetRequest = [&answer](const QString &name, jet::Dataset *&dataset) {
        if (name == QLatin1String("lista"))
            dataset = answer;
    };
    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Lista.rtf"), ustawienia), 0);
    answer = &second;
    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Lista.rtf"), ustawienia), 0);
    const QByteArray document = test::fileBytes(output(QStringLiteral("Wynik.rtf")));
    EXPECT_TRUE(document.contains("Druga"));
    EXPECT_FALSE(document.contains("Pierwsza"));
}

TEST_F(RaportRunnerTest, SettingsAreReadFromTheProgramsSettingsAtEachRun)
{
    Ustawienia &program = ustawieniaProgramu();
    program.katalogSzablonow = ustawienia.katalogSzablonow;
    program.katalogWynikowy = ustawienia.katalogWynikowy;
    program.edytor = QStringLiteral("/usr/bin/edytor-1");
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf")), 0);
    QDir(root.path()).mkpath(QStringLiteral("Inny"));
    program.katalogWynikowy = root.filePath(QStringLiteral("Inny"));
    program.edytor = QStringLiteral("/usr/bin/edytor-2");
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf")), 0);
    program = Ustawienia();
    ASSERT_EQ(recording.editorLaunches.size(), 2u);
    EXPECT_EQ(recording.editorLaunches[0].program, QStringLiteral("/usr/bin/edytor-1"));
    EXPECT_EQ(recording.editorLaunches[0].document, output(QStringLiteral("Wynik.rtf")));
    EXPECT_EQ(recording.editorLaunches[1].program, QStringLiteral("/usr/bin/edytor-2"));
    EXPECT_EQ(recording.editorLaunches[1].document, root.filePath(QStringLiteral("Inny/Wynik.rtf")));
}

// A document open in an editor is never written over: the editor's lock file beside it, a stale
// one included, sends the report to the next name, and the open document keeps its bytes.
TEST_F(RaportRunnerTest, ADocumentWhoseEditorLockFileExistsGoesToTheNextName)
{
    struct Case {
        const char *editor;
        QStringList locks;
        const char *expected;
    };
    const Case cases[] = {
        {"LibreOffice", {QStringLiteral(".~lock.Wynik.rtf#")}, "Wynik1.rtf"},
        {"Word", {QStringLiteral("~$nik.rtf")}, "Wynik1.rtf"},
        {"Word, the whole short name", {QStringLiteral("~$Wynik.rtf")}, "Wynik1.rtf"},
        {"both names locked", {QStringLiteral(".~lock.Wynik.rtf#"), QStringLiteral(".~lock.Wynik1.rtf#")}, "Wynik2.rtf"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.editor);
        QDir(output(QString())).removeRecursively();
        QDir().mkpath(output(QString()));
        ASSERT_TRUE(test::writeBytes(output(QStringLiteral("Wynik.rtf")), "otwarty dokument"));
        ASSERT_TRUE(test::writeBytes(output(QStringLiteral("Wynik1.rtf")), "drugi otwarty dokument"));
        for (const QString &lock : c.locks)
            ASSERT_TRUE(test::writeBytes(output(lock), ""));
        recording.editorLaunches.clear();
        ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
        ASSERT_EQ(recording.editorLaunches.size(), 1u);
        EXPECT_EQ(recording.editorLaunches[0].document, output(QString::fromLatin1(c.expected)));
        EXPECT_TRUE(test::fileBytes(output(QString::fromLatin1(c.expected))).contains("Wypis nr"));
        EXPECT_EQ(test::fileBytes(output(QStringLiteral("Wynik.rtf"))), QByteArray("otwarty dokument"));
    }
    EXPECT_TRUE(recording.messages.empty());
}

// LibreOffice itself holding "Wynik.rtf" (it takes no lock on the file, only its lock file).
TEST_F(RaportRunnerTest, ADocumentOpenInLibreOfficeIsNotWrittenOver)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    KATARIX_REQUIRE_TOOL(!soffice.isEmpty(), "LibreOffice (soffice) is missing: run scripts/setup.sh");
    ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    const QByteArray first = test::fileBytes(output(QStringLiteral("Wynik.rtf")));
    // A profile of its own, so that no running LibreOffice takes the document over; a process
    // group of its own, so that its soffice.bin goes with it.
    QTemporaryDir profile;
    QProcess office;
    office.setChildProcessModifier([] { ::setsid(); });
    office.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                           QStringLiteral("--norestore"), output(QStringLiteral("Wynik.rtf"))});
    ASSERT_TRUE(office.waitForStarted());
    struct Stop {
        QProcess &process;
        ~Stop()
        {
            ::kill(-pid_t(process.processId()), SIGKILL);
            process.waitForFinished();
        }
    } stop{office};
    const QString lock = output(QStringLiteral(".~lock.Wynik.rtf#"));
    for (int waited = 0; waited < 240 && !QFile::exists(lock); ++waited)
        QThread::msleep(250);
    ASSERT_TRUE(QFile::exists(lock)) << "LibreOffice did not open the document";

    recording.editorLaunches.clear();
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    ASSERT_EQ(recording.editorLaunches.size(), 1u);
    EXPECT_EQ(recording.editorLaunches[0].document, output(QStringLiteral("Wynik1.rtf")));
    EXPECT_EQ(test::fileBytes(output(QStringLiteral("Wynik.rtf"))), first);
    EXPECT_TRUE(test::fileBytes(output(QStringLiteral("Wynik1.rtf"))).contains("Wypis nr 2"));
}

// An existing file is written only as it is: a read-only one is the next name's turn and keeps
// its bytes; every one keeps its mode.
TEST_F(RaportRunnerTest, AnExistingFileIsWrittenOnlyAsItIs)
{
    struct Case {
        mode_t mode;
        const char *expected;
        mode_t modeAfter; // of Wynik.rtf
    };
    const Case cases[] = {
        {0600, "Wynik.rtf", 0600}, {0644, "Wynik.rtf", 0644}, {0664, "Wynik.rtf", 0664},
        {0755, "Wynik.rtf", 0755}, {0200, "Wynik.rtf", 0200}, {0444, "Wynik1.rtf", 0444},
        {0400, "Wynik1.rtf", 0400}, {0000, "Wynik1.rtf", 0000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::number(c.mode, 8).toStdString());
        QDir(output(QString())).removeRecursively();
        QDir().mkpath(output(QString()));
        const QString wynik = output(QStringLiteral("Wynik.rtf"));
        ASSERT_TRUE(test::writeBytes(wynik, "stary dokument"));
        ASSERT_EQ(::chmod(QFile::encodeName(wynik).constData(), c.mode), 0);
        recording.editorLaunches.clear();
        ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
        ASSERT_EQ(recording.editorLaunches.size(), 1u);
        EXPECT_EQ(recording.editorLaunches[0].document, output(QString::fromLatin1(c.expected)));
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(wynik).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.modeAfter);
        ::chmod(QFile::encodeName(wynik).constData(), 0600);
        const QByteArray content = test::fileBytes(wynik);
        if (QLatin1String(c.expected) == QLatin1String("Wynik.rtf")) {
            EXPECT_TRUE(content.contains("Wypis nr"));
        } else {
            EXPECT_EQ(content, QByteArray("stary dokument"));
            struct stat written {};
            ASSERT_EQ(::stat(QFile::encodeName(output(QStringLiteral("Wynik1.rtf"))).constData(), &written), 0);
            EXPECT_EQ(written.st_mode & 07777, mode_t(0600)) << "a new document";
        }
    }
    EXPECT_TRUE(recording.messages.empty());
}

// A report that runs long shows "Tworzenie raportu..." with the rows done; "Anuluj" removes the
// partial document (a new one, or the older document it was written over), starts no editor and
// shows nothing more; the next report runs at once.
TEST_F(RaportRunnerTest, AnulujStopsTheReportAndLeavesNothing)
{
    writeTemplate(QStringLiteral("Lista.rtf"),
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 [[#lista]][[lista.NAZWA]]\\par [[/lista]]}");
    jet::MemTable lista;
    lista.addField(QStringLiteral("NAZWA"), jet::FieldType::Text);
    lista.open();
    for (int i = 1; i <= 5; ++i)
        lista.append({QStringLiteral("Pozycja %1").arg(i)});
    raport.OnDataSetRequest = [&lista](const QString &name, jet::Dataset *&dataset) {
        if (name == QLatin1String("lista"))
            dataset = &lista;
    };
    const auto liczenie = [](PostepRaportu &postep) -> qint64 {
        postep.krok("Liczenie wierszy dokumentu: %1 z %2", 1, 1);
        return 5;
    };
    for (const bool olderDocument : {false, true}) {
        SCOPED_TRACE(olderDocument ? "over an older document" : "a new document");
        QFile::remove(output(QStringLiteral("Wynik.rtf")));
        if (olderDocument) {
            ASSERT_TRUE(test::writeBytes(output(QStringLiteral("Wynik.rtf")), "stary dokument"));
        }
        recording.progresses.clear();
        recording.cancelWhen = [](const RecordingInteraction::ProgressUpdate &update) {
            return update.detail.startsWith(QStringLiteral("Wiersze dokumentu"));
        };
        EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Lista.rtf"), ustawienia, liczenie), 1);
        EXPECT_FALSE(QFile::exists(output(QStringLiteral("Wynik.rtf"))));
        EXPECT_TRUE(recording.editorLaunches.empty());
        EXPECT_TRUE(recording.messages.empty());
        ASSERT_EQ(recording.progresses.size(), 1u);
        const RecordingInteraction::Progress &progress = recording.progresses[0];
        EXPECT_EQ(progress.caption, QStringLiteral("Katarix"));
        EXPECT_EQ(progress.text, QStringLiteral("Tworzenie raportu..."));
        ASSERT_EQ(progress.updates.size(), 2u);
        EXPECT_EQ(progress.updates[0].detail, QStringLiteral("Liczenie wierszy dokumentu: 1 z 1"));
        EXPECT_EQ(progress.updates[1].detail, QStringLiteral("Wiersze dokumentu: 1 z 5"));
        EXPECT_EQ(progress.updates[1].done, 1);
        EXPECT_EQ(progress.updates[1].total, 5);
        EXPECT_TRUE(progress.closed);
    }
    recording.cancelWhen = nullptr;
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Lista.rtf"), ustawienia, liczenie), 0);
    EXPECT_TRUE(test::fileBytes(output(QStringLiteral("Wynik.rtf"))).contains("Pozycja 5"));
    EXPECT_EQ(recording.editorLaunches.size(), 1u);
}

// More rows than GranicaWierszy are announced before anything is written; "Nie" writes nothing.
TEST_F(RaportRunnerTest, ALargeDocumentIsAnnouncedAndNieWritesNothing)
{
    struct Case {
        qint64 rows;
        std::optional<int> answer; // none: no question
        int result;
    };
    const Case cases[] = {
        {GranicaWierszy, std::nullopt, 0},
        {GranicaWierszy + 1, mb::IdNo, 1},
        {6000000, mb::IdYes, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rows);
        QFile::remove(output(QStringLiteral("Wynik.rtf")));
        recording.messages.clear();
        recording.editorLaunches.clear();
        requests = 0;
        if (c.answer)
            recording.messageAnswers = {*c.answer};
        EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia,
                                [&c](PostepRaportu &) { return c.rows; }),
                  c.result);
        if (c.answer) {
            ASSERT_EQ(recording.messages.size(), 1u);
            EXPECT_EQ(recording.messages[0].text,
                      QStringLiteral("Dokument będzie bardzo duży (%1 wierszy). Czy kontynuować?").arg(c.rows));
            EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
            EXPECT_EQ(recording.messages[0].flags, mb::YesNo | mb::IconQuestion);
        } else {
            EXPECT_TRUE(recording.messages.empty());
        }
        const bool written = c.result == 0;
        EXPECT_EQ(QFile::exists(output(QStringLiteral("Wynik.rtf"))), written);
        EXPECT_EQ(recording.editorLaunches.size(), written ? 1u : 0u);
        EXPECT_EQ(requests > 0, written) << "the template is filled only when the document is written";
    }
}

// Running out of memory while the document is filled: no partial file, and the exception reaches
// the standard display (the one place that turns it into a message).
TEST_F(RaportRunnerTest, OutOfMemoryLeavesNoFileAndReachesTheStandardDisplay)
{
    raport.OnValueRequest = [](const QString &) -> QVariant { throw std::bad_alloc(); };
    for (const bool olderDocument : {false, true}) {
        SCOPED_TRACE(olderDocument ? "over an older document" : "a new document");
        recording.messages.clear();
        if (olderDocument) {
            ASSERT_TRUE(test::writeBytes(output(QStringLiteral("Wynik.rtf")), "stary dokument"));
        }
        EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 1);
        EXPECT_FALSE(QFile::exists(output(QStringLiteral("Wynik.rtf"))));
        ASSERT_EQ(recording.messages.size(), 1u);
        EXPECT_EQ(recording.messages[0].text, komunikatWyjatku(std::bad_alloc()));
        EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix"));
        EXPECT_EQ(recording.messages[0].flags, mb::IconError);
        EXPECT_TRUE(recording.editorLaunches.empty());
    }
}

} // namespace

// A report too large for the machine: a Polish message (not "std::bad_alloc"), no editor, and
// the next report runs.
TEST_F(RaportRunnerTest, RunningOutOfMemoryIsToldInPolishAndTheNextReportRuns)
{
    const auto handler = raport.OnValueRequest;
    raport.OnValueRequest = [](const QString &) -> QVariant { throw std::bad_alloc(); };
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 1);
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text,
              QStringLiteral("Brak pamięci: ta operacja wymaga więcej pamięci, niż jest dostępne w komputerze."));
    EXPECT_EQ(recording.messages[0].flags, mb::IconError);
    EXPECT_TRUE(recording.editorLaunches.empty());

    raport.OnValueRequest = handler;
    EXPECT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
    EXPECT_EQ(recording.editorLaunches.size(), 1u);
}
