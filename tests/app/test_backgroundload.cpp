// A stale copy of the remembered register is refreshed in the background from start-up, and
// panel 1 of the status bar says where the register stands.
#include "app/MainFrm.h"
#include "common/Processes.h"
#include "jet/RegisterLoader.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"
#include "support/TestWindows.h"

#include "MdbContent.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QTest>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::app;
using katarix::test::RecordingInteraction;
using katarix::test::processesMentioning;

namespace {

// A register whose load takes a while; `letter` fills its comments.
void writeRegister(const QString &path, char letter, const std::string &password = {}, int rows = 40000)
{
    using namespace katarix::mdbwriter;
    Table comments{"KOMENTARZ", {{"MSLINK", ColumnType::Long}, {"TEKST", ColumnType::Memo}}, {}};
    for (int i = 0; i < rows; ++i)
        comments.rows.push_back({std::int64_t(i), std::string(300, letter)});
    Content content;
    content.tables.push_back(comments);
    WriteOptions options;
    options.password = password;
    writeJet4(content, path.toStdString(), options);
}

int threadsOfThisProcess()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

class BackgroundLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ensureApplication();
        cache = folder.root.filePath(QStringLiteral("cache"));
        runs = folder.root.filePath(QStringLiteral("runs"));
        // The loader counts its runs.
        const QString wrapper = folder.root.filePath(QStringLiteral("katarix-loader.sh"));
        QFile script(wrapper);
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\necho run >> '%1'\nexec '%2' \"$@\"\n")
                         .arg(runs, QStringLiteral(KATARIX_LOADER))
                         .toUtf8());
        script.close();
        QFile::setPermissions(wrapper, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        frm = std::make_unique<TMainFrm>(nullptr, folder.program);
        frm->OpcjeOtwarcia.loaderPath = wrapper;
        frm->OpcjeOtwarcia.cacheDir = cache;
        frm->ProgPaskaPostepu = 0;
    }

    QString inBazy(const QString &name) const { return QDir(folder.bazy).filePath(name); }
    QString panel() const { return frm->StatPanele[1]->text(); }
    int loaderRuns() const
    {
        QFile file(runs);
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    QStringList temporaryCopies() const
    {
        return QDir(cache).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::System | QDir::Hidden);
    }
    // A register with a copy in the cache, then changed so that the copy is stale.
    QString staleRegister(const QString &name, const std::string &password = {}, int rows = 40000)
    {
        const QString path = inBazy(name);
        writeRegister(path, 'a', password, rows);
        jet::Database db;
        jet::OpenOptions options = frm->OpcjeOtwarcia;
        options.password = QString::fromStdString(password);
        jet::openRegister(db, path, options);
        QFile::remove(runs);
        writeRegister(path, 'b', password, rows);
        return path;
    }
    // Processes events until the panel reads `text` (or a minute passes); the texts seen.
    QStringList waitForPanel(const QString &text)
    {
        QStringList seen{panel()};
        QElapsedTimer timer;
        timer.start();
        while (panel() != text && timer.elapsed() < 60000) {
            QTest::qWait(10);
            if (seen.last() != panel())
                seen << panel();
        }
        return seen;
    }

    RecordingInteraction recording;
    test::ProgramFolder folder;
    test::TestWindowFactories factories;
    QString cache;
    QString runs;
    std::unique_ptr<TMainFrm> frm;
};

TEST_F(BackgroundLoadTest, AStaleCopyIsLoadedOnceBeforeTheFirstRequest)
{
    frm->SciezkaBazy = staleRegister(QStringLiteral("gmina.mdb"));
    const int threads = threadsOfThisProcess();
    frm->OdswiezKopieWTle();
    EXPECT_EQ(threadsOfThisProcess(), threads) << "the user-interface thread is the only one";
    EXPECT_FALSE(frm->polaczono()) << "nothing is opened at start";

    const QStringList seen = waitForPanel(QStringLiteral("Baza gotowa"));
    ASSERT_EQ(seen.last(), QStringLiteral("Baza gotowa")) << seen.join(u'|').toStdString();
    EXPECT_TRUE(seen.first().startsWith(QStringLiteral("Wczytywanie bazy: "))) << seen.join(u'|').toStdString();
    EXPECT_FALSE(frm->polaczono());
    EXPECT_TRUE(recording.messages.empty());

    ASSERT_TRUE(frm->SprawdzPolaczenie());
    EXPECT_EQ(frm->TekstKomentarza(7), QString(300, u'b'));
    EXPECT_EQ(loaderRuns(), 1);
    EXPECT_EQ(panel(), QStringLiteral("Baza gotowa"));
    EXPECT_TRUE(temporaryCopies().isEmpty());
}

// The first request while the background load runs waits for the rest of it under the progress
// dialog; the load is not started again.
TEST_F(BackgroundLoadTest, TheFirstRequestWaitsOnlyForWhatIsLeft)
{
    frm->SciezkaBazy = staleRegister(QStringLiteral("gmina.mdb"), {}, 200000);
    frm->show();
    frm->OdswiezKopieWTle();
    QElapsedTimer timer;
    timer.start();
    while (!panel().startsWith(QStringLiteral("Wczytywanie bazy: ")) || panel() == QStringLiteral("Wczytywanie bazy: 0%")) {
        ASSERT_LT(timer.elapsed(), 60000) << panel().toStdString();
        QTest::qWait(5);
    }
    ASSERT_NE(panel(), QStringLiteral("Baza gotowa")) << "loaded before the request: nothing to take over";
    std::vector<int> dialogValues;
    frm->OpcjeOtwarcia.progress = [&](int percent) {
        if (auto *dialog = frm->findChild<QProgressDialog *>(QStringLiteral("PostepWczytywania")))
            dialogValues.push_back(dialog->value());
        EXPECT_EQ(panel(), QStringLiteral("Wczytywanie bazy: %1%").arg(percent));
    };
    ASSERT_TRUE(frm->SprawdzPolaczenie());
    frm->OpcjeOtwarcia.progress = nullptr;
    ASSERT_FALSE(dialogValues.empty());
    EXPECT_GT(dialogValues.front(), 0) << "the dialog starts where the background load stands";
    EXPECT_EQ(dialogValues.back(), 100);
    EXPECT_EQ(loaderRuns(), 1);
    EXPECT_EQ(frm->TekstKomentarza(3), QString(300, u'b'));
    EXPECT_EQ(panel(), QStringLiteral("Baza gotowa"));
}

// A register changed again while it loads in the background is loaded again, as it is now, at
// the next request.
TEST_F(BackgroundLoadTest, AFileChangedDuringTheBackgroundLoadIsLoadedAgainWhenAskedFor)
{
    frm->SciezkaBazy = staleRegister(QStringLiteral("gmina.mdb"));
    frm->OdswiezKopieWTle();
    QElapsedTimer timer;
    timer.start();
    while (loaderRuns() == 0 && timer.elapsed() < 60000)
        QTest::qWait(5);
    ASSERT_EQ(loaderRuns(), 1);
    writeRegister(frm->SciezkaBazy, 'c');

    ASSERT_TRUE(frm->SprawdzPolaczenie());
    EXPECT_EQ(frm->TekstKomentarza(5), QString(300, u'c'));
    EXPECT_EQ(loaderRuns(), 2);
    EXPECT_EQ(panel(), QStringLiteral("Baza gotowa"));
    EXPECT_TRUE(temporaryCopies().isEmpty());
    EXPECT_TRUE(recording.messages.empty());
}

// A register with a password is refreshed only when its user has opened it before (a copy
// exists); the password is still asked first, and a wrong one discards nothing.
TEST_F(BackgroundLoadTest, APasswordIsAskedFirstAndAWrongOneDiscardsNothing)
{
    {
        SCOPED_TRACE("never opened here");
        frm->SciezkaBazy = inBazy(QStringLiteral("nowa.mdb"));
        writeRegister(frm->SciezkaBazy, 'a', "Tajne1");
        frm->OdswiezKopieWTle();
        EXPECT_EQ(panel(), QStringLiteral("Baza niewczytana"));
        QTest::qWait(200);
        EXPECT_EQ(loaderRuns(), 0);
    }
    frm->SciezkaBazy = staleRegister(QStringLiteral("chroniona.mdb"), "Tajne1");
    frm->OdswiezKopieWTle();
    ASSERT_EQ(waitForPanel(QStringLiteral("Baza gotowa")).last(), QStringLiteral("Baza gotowa"));

    recording.passwordAnswers = {QStringLiteral("zle"), QStringLiteral("Tajne1")};
    EXPECT_FALSE(frm->SprawdzPolaczenie());
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_EQ(recording.messages[0].text, QStringLiteral("Błąd łączenia z bazą danych:\nNieprawidłowe hasło."));
    EXPECT_EQ(panel(), QStringLiteral("Baza gotowa"));
    ASSERT_TRUE(frm->SprawdzPolaczenie());
    EXPECT_EQ(recording.passwordRequests.size(), 2);
    EXPECT_EQ(frm->TekstKomentarza(1), QString(300, u'b'));
    EXPECT_EQ(loaderRuns(), 1);
}

// Choosing another register, or closing the program, stops the background load: no loader
// runs on and no temporary copy is left.
TEST_F(BackgroundLoadTest, AnotherRegisterOrTheEndOfTheProgramStopsIt)
{
    const QString other = inBazy(QStringLiteral("inna.mdb"));
    writeRegister(other, 'c', {}, 10);
    struct Case {
        const char *name;
        std::function<void()> stop;
        QString panelAfter;
    };
    const Case cases[] = {
        {"another register chosen",
         [&] {
             recording.fileAnswers = {other};
             frm->WybierzDbMi->trigger();
         },
         QStringLiteral("Baza niewczytana")},
        {"program closed", [&] { frm->close(); }, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frm->SciezkaBazy = staleRegister(QStringLiteral("gmina.mdb"));
        frm->show();
        frm->OdswiezKopieWTle();
        QElapsedTimer timer;
        timer.start();
        while (temporaryCopies().isEmpty() && timer.elapsed() < 60000)
            QTest::qWait(5);
        ASSERT_EQ(processesMentioning(cache), 1) << "the background load runs";
        c.stop();
        EXPECT_EQ(processesMentioning(cache), 0);
        EXPECT_EQ(temporaryCopies(), QStringList());
        if (!c.panelAfter.isEmpty()) {
            EXPECT_EQ(panel(), c.panelAfter);
        }
        EXPECT_TRUE(recording.messages.empty());
    }
}

} // namespace
