// The report runner: template loading, output names, the editor and its failure messages.
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/RaportRunner.h"
#include "app/Ustawienia.h"
#include "common/Files.h"
#include "jet/JetError.h"
#include "jet/MemTable.h"
#include "rtf/RTFReport.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "widgets/PathEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// A document holds names and PESEL numbers: its owner alone reads it, also when an older
// document of the same name was readable by others.
TEST_F(RaportRunnerTest, TheDocumentIsReadableByItsOwnerOnly)
{
    constexpr QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    for (const bool existedBefore : {false, true}) {
        SCOPED_TRACE(existedBefore ? "over a document readable by all" : "new document");
        QFile::remove(output(QStringLiteral("Wynik.rtf")));
        if (existedBefore) {
            QFile old(output(QStringLiteral("Wynik.rtf")));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.close();
            ASSERT_TRUE(old.setPermissions(owner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        }
        ASSERT_EQ(UruchomRaport(raport, QStringLiteral("Raport.rtf"), ustawienia), 0);
        const QFileInfo document(output(QStringLiteral("Wynik.rtf")));
        EXPECT_EQ(document.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), owner);
        EXPECT_GT(document.size(), 0);
    }
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

TEST_F(RaportRunnerTest, WolnaNazwaWynikuSplitsNameAndExtensionAndCreatesTheFileEmpty)
{
    QFile old(output(QStringLiteral("Wynik.rtf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stara treść");
    old.close();
    EXPECT_EQ(WolnaNazwaWyniku(output(QStringLiteral("Wynik.rtf"))), output(QStringLiteral("Wynik.rtf")));
    EXPECT_EQ(QFileInfo(output(QStringLiteral("Wynik.rtf"))).size(), 0);

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

} // namespace
