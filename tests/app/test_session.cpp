// The database session: choosing, opening and closing the register, and its failures.
#include "app/MainFrm.h"
#include "common/Processes.h"
#include "jet/JetError.h"
#include "jet/RegisterLoader.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "support/TestWindows.h"

#include "MdbContent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::app;
using katarix::test::RecordingInteraction;
using katarix::test::processesMentioning;

namespace {

const QString kConnectionError = QStringLiteral("Błąd łączenia z bazą danych:\n");
const QString kConnectionCaption = QStringLiteral("Błąd logowania do bazy");

void writeRegister(const QString &path, const std::string &password = {})
{
    using namespace katarix::mdbwriter;
    Content content;
    Table comments{"KOMENTARZ",
                   {{"MSLINK", ColumnType::Long}, {"TEKST", ColumnType::Memo}},
                   {{std::int64_t(7), std::string("Działka w użytkowaniu wieczystym")},
                    {std::int64_t(8), std::monostate()}}};
    content.tables.push_back(comments);
    WriteOptions options;
    options.password = password;
    options.creationDate = 45000.5;
    writeJet4(content, path.toStdString(), options);
}

void writeRandomBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray bytes(64 * 1024, '\0');
    QRandomGenerator generator(20261209);
    for (char &byte : bytes)
        byte = char(generator.generate() & 0xff);
    file.write(bytes);
}

// The engine's own message for a file, as the loader reports it.
QString engineMessage(const QString &path, const jet::OpenOptions &options)
{
    jet::Database database;
    try {
        jet::openRegister(database, path, options);
    } catch (const jet::JetError &error) {
        return error.message();
    }
    return QString();
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        frm = std::make_unique<TMainFrm>(nullptr, folder.program);
        frm->OpcjeOtwarcia.loaderPath = QStringLiteral(KATARIX_LOADER);
        frm->OpcjeOtwarcia.cacheDir = folder.root.filePath(QStringLiteral("cache"));
        recording.calls.clear();
    }

    QString inBazy(const QString &name) const { return QDir(folder.bazy).filePath(name); }

    RecordingInteraction recording;
    test::ProgramFolder folder;
    test::TestWindowFactories factories;
    std::unique_ptr<TMainFrm> frm;
};

TEST_F(SessionTest, NoFileKnownAsksInTheBazyFolderAndCancellingSaysNothing)
{
    EXPECT_FALSE(frm->SprawdzPolaczenie());
    frm->RejestrGruntMi->trigger();
    EXPECT_EQ(recording.calls, QStringList({"openFileName", "openFileName"}));
    const FileDialogRequest &request = recording.fileDialogs.at(0).request;
    EXPECT_EQ(request.title, QStringLiteral("Wybierz plik bazy danych (*.mdb)"));
    EXPECT_EQ(request.filter, QStringLiteral("Bazy danych Access [*.mdb]|*.mdb|Wszystkie pliki [*.*]|*.*"));
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.defaultExtension, QStringLiteral("*.mdb"));
    EXPECT_EQ(QDir(request.initialFolder).canonicalPath(), QDir(folder.bazy).canonicalPath());
    EXPECT_TRUE(frm->SciezkaBazy.isEmpty());
    EXPECT_EQ(frm->okno(OknoProgramu::RejestrGruntow), nullptr);
    EXPECT_TRUE(frm->MdiArea->subWindowList().isEmpty());
}

TEST_F(SessionTest, FailuresLeaveTheDatabaseClosedWithTheirMessages)
{
    struct Case {
        const char *name;
        std::function<QString()> prepare; // returns the file
        std::deque<std::optional<QString>> passwords;
        bool engineError; // else: no message at all
    } cases[] = {
        {"missing file", [&] { return inBazy(QStringLiteral("nie ma.mdb")); }, {}, true},
        {"damaged file",
         [&] {
             writeRandomBytes(inBazy(QStringLiteral("uszkodzona.mdb")));
             return inBazy(QStringLiteral("uszkodzona.mdb"));
         },
         {}, true},
        {"wrong password",
         [&] {
             writeRegister(inBazy(QStringLiteral("chroniona.mdb")), "Tajne1");
             return inBazy(QStringLiteral("chroniona.mdb"));
         },
         {QStringLiteral("tajne1"), QStringLiteral("zle")}, true},
        {"password prompt cancelled",
         [&] {
             writeRegister(inBazy(QStringLiteral("chroniona2.mdb")), "Tajne1");
             return inBazy(QStringLiteral("chroniona2.mdb"));
         },
         {std::nullopt, std::nullopt}, false},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.clear();
        recording.passwordRequests.clear();
        const QString path = c.prepare();
        frm->SciezkaBazy = path;
        recording.passwordAnswers = c.passwords;
        // The same failure on every further request until another file is chosen.
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_FALSE(frm->SprawdzPolaczenie());
            EXPECT_FALSE(frm->polaczono());
        }
        EXPECT_EQ(frm->SciezkaBazy, path);
        EXPECT_TRUE(frm->HasloBazy.isEmpty());
        EXPECT_EQ(recording.passwordRequests.size(), qsizetype(c.passwords.size()));
        if (!c.engineError) {
            EXPECT_TRUE(recording.messages.empty());
            continue;
        }
        jet::OpenOptions options = frm->OpcjeOtwarcia;
        options.password = QStringLiteral("zle");
        const QString engine = engineMessage(path, options);
        ASSERT_FALSE(engine.isEmpty());
        if (c.passwords.size()) {
            EXPECT_EQ(engine, QStringLiteral("Nieprawidłowe hasło."));
        }
        ASSERT_EQ(recording.messages.size(), 2u);
        for (const RecordingInteraction::Message &message : recording.messages) {
            EXPECT_EQ(message.text, kConnectionError + engine);
            EXPECT_EQ(message.caption, kConnectionCaption);
            EXPECT_EQ(message.flags, 16);
        }
    }
    EXPECT_EQ(recording.beeps, 0);
}

TEST_F(SessionTest, ProgramMessagesGoToTheStandardExceptionDisplay)
{
    UstawTytulAplikacji(QStringLiteral("Katarix 3.0"));
    frm->SciezkaBazy.clear();
    frm->PolaczZBaza();
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Nie określono pliku bazy danych!"));
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix 3.0"));
    EXPECT_EQ(recording.messages[0].flags, 16);

    // A read-only file whose attribute cannot be changed (immutable, so even root cannot).
    const QString path = inBazy(QStringLiteral("tylko do odczytu.mdb"));
    writeRegister(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) != 0)
        GTEST_SKIP() << "chattr +i is not available here";
    recording.messages.clear();
    frm->SciezkaBazy = path;
    EXPECT_FALSE(frm->SprawdzPolaczenie());
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text,
              QStringLiteral("Plik bazy danych: ") + path +
                  QStringLiteral(" jest tylko do odczytu.\nZmień właściwości tego pliku, aby atrybut \"Tylko do "
                                 "odczytu\" był wyłączony."));
    EXPECT_EQ(recording.messages[0].caption, QStringLiteral("Katarix 3.0"));
    EXPECT_EQ(recording.messages[0].flags, 16);
    EXPECT_FALSE(frm->polaczono());
}

TEST_F(SessionTest, RegistersOpenWithAPasswordAskedAtEveryOpeningOnly)
{
    struct Case {
        const char *name;
        std::string password;
        QFile::Permissions permissions;
    } cases[] = {
        {"plain file", "", QFile::ReadOwner | QFile::WriteOwner},
        {"protected file", "Tajne1", QFile::ReadOwner | QFile::WriteOwner},
        {"read-only file is made writable", "", QFile::ReadOwner | QFile::ReadGroup},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.clear();
        recording.passwordRequests.clear();
        const QString path = inBazy(QString::fromLatin1(c.name) + QStringLiteral(".mdb"));
        writeRegister(path, c.password);
        QFile::setPermissions(path, c.permissions);
        frm->SciezkaBazy = path;
        const QString password = QString::fromStdString(c.password);
        recording.passwordAnswers = {password, password};

        ASSERT_TRUE(frm->SprawdzPolaczenie());
        EXPECT_TRUE(frm->SprawdzPolaczenie()); // already open: nothing asked again
        EXPECT_TRUE(QFile::permissions(path).testFlag(QFile::WriteOwner));
        EXPECT_EQ(frm->TekstKomentarza(7), QStringLiteral("Działka w użytkowaniu wieczystym"));
        EXPECT_EQ(frm->TekstKomentarza(8), QString());
        EXPECT_EQ(frm->TekstKomentarza(9), QString());
        EXPECT_TRUE(frm->HasloBazy.isEmpty());

        // Choosing another file and cancelling keeps the file and its connection; once closed,
        // the next request opens it again.
        frm->WybierzDbTBtn->trigger();
        EXPECT_TRUE(frm->polaczono());
        EXPECT_EQ(frm->SciezkaBazy, path);
        frm->ZamknijBaze();
        ASSERT_TRUE(frm->SprawdzPolaczenie());
        EXPECT_EQ(recording.passwordRequests.size(), c.password.empty() ? 0 : 2);
        for (const QString &asked : recording.passwordRequests)
            EXPECT_EQ(asked, path);
        EXPECT_TRUE(recording.messages.empty());
        frm->ZamknijBaze();
    }
}

TEST_F(SessionTest, LoadingShowsTheHourglassAndOnLargeFilesAProgressDialog)
{
    const QString path = inBazy(QStringLiteral("postęp.mdb"));
    writeRegister(path);
    frm->SciezkaBazy = path;
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "small");
        frm->ZamknijBaze();
        frm->ProgPaskaPostepu = large ? 0 : QFileInfo(path).size() + 1;
        std::vector<int> percents;
        bool hourglass = true, dialogSeen = false;
        frm->OpcjeOtwarcia.cacheDir = folder.root.filePath(large ? QStringLiteral("c1") : QStringLiteral("c2"));
        frm->OpcjeOtwarcia.progress = [&](int percent) {
            percents.push_back(percent);
            hourglass = hourglass && QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            if (auto *dialog = frm->findChild<QProgressDialog *>())
                dialogSeen = dialogSeen || (dialog->isVisible() && dialog->value() == percent);
        };
        ASSERT_TRUE(frm->SprawdzPolaczenie());
        ASSERT_FALSE(percents.empty());
        EXPECT_EQ(percents.back(), 100);
        EXPECT_TRUE(hourglass);
        EXPECT_EQ(dialogSeen, large);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(frm->findChild<QProgressDialog *>(), nullptr);
    }
    frm->OpcjeOtwarcia.progress = nullptr;
}

// A register large enough that its load takes many progress reports.
void writeLargeRegister(const QString &path)
{
    using namespace katarix::mdbwriter;
    Table comments{"KOMENTARZ", {{"MSLINK", ColumnType::Long}, {"TEKST", ColumnType::Memo}}, {}};
    for (int i = 0; i < 40000; ++i)
        comments.rows.push_back({std::int64_t(i), std::string(400, char('a' + i % 26))});
    Content content;
    content.tables.push_back(comments);
    writeJet4(content, path.toStdString(), WriteOptions());
}

TEST_F(SessionTest, AnulujDuringALoadEndsTheHelperAndLeavesTheDatabaseClosedAndNothingCached)
{
    const QString path = inBazy(QStringLiteral("duża.mdb"));
    writeLargeRegister(path);
    frm->SciezkaBazy = path;
    frm->ProgPaskaPostepu = 0;
    const QString cache = folder.root.filePath(QStringLiteral("anulowane"));
    frm->OpcjeOtwarcia.cacheDir = cache;
    frm->show();
    int helpersWhileLoading = 0;
    QString button;
    frm->OpcjeOtwarcia.progress = [&](int) {
        auto *dialog = frm->findChild<QProgressDialog *>(QStringLiteral("PostepWczytywania"));
        if (!dialog || !button.isEmpty())
            return;
        helpersWhileLoading = processesMentioning(cache);
        for (QPushButton *b : dialog->findChildren<QPushButton *>())
            if (b->isVisible()) {
                button = b->text();
                QTest::mouseClick(b, Qt::LeftButton);
            }
    };
    EXPECT_FALSE(frm->SprawdzPolaczenie());
    frm->OpcjeOtwarcia.progress = nullptr;

    EXPECT_EQ(button, QStringLiteral("Anuluj"));
    EXPECT_EQ(helpersWhileLoading, 1);
    EXPECT_EQ(processesMentioning(cache), 0) << "the helper still runs";
    EXPECT_FALSE(frm->polaczono());
    EXPECT_TRUE(recording.messages.empty());
    EXPECT_EQ(QDir(cache).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(frm->findChild<QProgressDialog *>(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The next request loads it in full.
    EXPECT_TRUE(frm->SprawdzPolaczenie());
    EXPECT_EQ(frm->TekstKomentarza(27), QString(400, u'b'));
}

// No frozen window: the main window repaints while a small file loads, without a dialog.
TEST_F(SessionTest, TheWindowRepaintsDuringASmallLoad)
{
    const QString path = inBazy(QStringLiteral("mała.mdb"));
    writeRegister(path);
    frm->SciezkaBazy = path;
    frm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    bool loading = false;
    frm->OpcjeOtwarcia.progress = [&](int) {
        if (loading)
            return;
        loading = true;
        counter.paints = 0;
        frm->update();
    };
    frm->installEventFilter(&counter);
    // Nothing else processes events until the opening returns: paints counted were made during it.
    ASSERT_TRUE(frm->SprawdzPolaczenie());
    const int paintsWhileLoading = counter.paints;
    frm->removeEventFilter(&counter);
    frm->OpcjeOtwarcia.progress = nullptr;
    EXPECT_TRUE(loading);
    EXPECT_GT(paintsWhileLoading, 0);
    EXPECT_EQ(frm->findChild<QProgressDialog *>(), nullptr);
}

TEST_F(SessionTest, ChoosingAnotherFileClosesTheWindowsAndTheNextRequestOpensTheNewFile)
{
    // A remembered file that no longer exists fails; choosing a valid one recovers.
    const QString good = inBazy(QStringLiteral("gmina.mdb"));
    writeRegister(good);
    frm->SciezkaBazy = inBazy(QStringLiteral("usunięta.mdb"));
    frm->show();
    frm->RejestrGruntMi->trigger();
    EXPECT_EQ(frm->okno(OknoProgramu::RejestrGruntow), nullptr);
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].caption, kConnectionCaption);

    recording.fileAnswers = {good};
    frm->WybierzDbMi->trigger();
    EXPECT_EQ(frm->SciezkaBazy, good);
    EXPECT_FALSE(frm->polaczono());
    frm->RejestrGruntMi->trigger();
    frm->KartotekaDzialekMi->trigger();
    EXPECT_TRUE(frm->polaczono());
    EXPECT_NE(frm->okno(OknoProgramu::RejestrGruntow), nullptr);
    EXPECT_NE(frm->okno(OknoProgramu::KartotekaDzialek), nullptr);
    EXPECT_EQ(recording.messages.size(), 1u);

    // "Anuluj" in the file dialog: the windows (with their working lists) and the connection stay.
    const int alive = test::TestWindow::alive;
    QWidget *register_ = frm->okno(OknoProgramu::RejestrGruntow);
    QWidget *parcels = frm->okno(OknoProgramu::KartotekaDzialek);
    const size_t dialogs = recording.fileDialogs.size();
    frm->WybierzDbTBtn->trigger();
    EXPECT_EQ(recording.fileDialogs.size(), dialogs + 1);
    EXPECT_TRUE(frm->polaczono());
    EXPECT_EQ(frm->okno(OknoProgramu::RejestrGruntow), register_);
    EXPECT_EQ(frm->okno(OknoProgramu::KartotekaDzialek), parcels);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(test::TestWindow::alive, alive);
    EXPECT_EQ(frm->MdiArea->subWindowList().size(), 2);
    EXPECT_EQ(frm->SciezkaBazy, good);

    const QString other = inBazy(QStringLiteral("inna.mdb"));
    writeRegister(other);
    recording.fileAnswers = {other};
    frm->WybierzDbTBtn->trigger();
    EXPECT_FALSE(frm->polaczono());
    EXPECT_EQ(frm->okno(OknoProgramu::RejestrGruntow), nullptr);
    EXPECT_EQ(frm->okno(OknoProgramu::KartotekaDzialek), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frm->MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(frm->SciezkaBazy, other);
    EXPECT_EQ(test::TestWindow::alive, 0);
    frm->KarOsTBtn->trigger();
    EXPECT_TRUE(frm->polaczono());
    EXPECT_NE(frm->okno(OknoProgramu::KartotekaOsob), nullptr);
    EXPECT_EQ(recording.messages.size(), 1u);
}

} // namespace
