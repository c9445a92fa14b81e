// An interrupted load leaves nothing behind: the loader ends with the program that started it and
// removes its temporary copy; a temporary copy that nobody holds is removed by the next opening.
#include "support/MdbTestSupport.h"
#include "common/Processes.h"

#include "jet/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

QStringList temporaryCopies(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::System | QDir::Hidden);
}

QString smallRegister(const MdbScratch &scratch)
{
    mw::Table t;
    t.name = "KDZIALKA";
    t.columns = {column("MSLINK", ColumnType::Long)};
    t.rows = {{mw::Value(std::int64_t(1))}};
    return scratch.write(mw::Content{{t}}, QStringLiteral("mala.mdb"));
}

// katarix-sql on the benchmark register with the cache in the scratch folder, well into its
// first open: its loader runs and writes its temporary copy.
class MdbInterrupted : public ::testing::Test {
protected:
    void SetUp() override
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CACHE_HOME"), scratch.path(QStringLiteral("xdg")));
        sql.setProcessEnvironment(env);
        sql.start(QStringLiteral(KATARIX_SQL),
                  {QStringLiteral(KATARIX_BENCH_REGISTER), QStringLiteral("SELECT count(*) FROM KDZIALKA")});
        ASSERT_TRUE(sql.waitForStarted());
        QElapsedTimer timer;
        timer.start();
        while (processesMentioning(cache) == 0) {
            ASSERT_LT(timer.elapsed(), 120000) << "no loader started";
            ASSERT_EQ(sql.state(), QProcess::Running) << "the load ended first";
            QThread::msleep(2);
        }
        QThread::msleep(200); // well into the load (it takes seconds)
        ASSERT_EQ(sql.state(), QProcess::Running) << "the load ended first";
        ASSERT_EQ(processesMentioning(cache), 1);
        ASSERT_EQ(temporaryCopies(cache).size(), 1);
    }

    MdbScratch scratch;
    const QString cache = scratch.path(QStringLiteral("xdg/Katarix"));
    QProcess sql;
};

} // namespace

TEST_F(MdbInterrupted, KillingTheProgramEndsItsLoaderAndItsCopy)
{
    ::kill(pid_t(sql.processId()), SIGKILL);
    sql.waitForFinished();

    QElapsedTimer timer;
    timer.start();
    while (processesMentioning(cache) > 0 && timer.elapsed() < 1000)
        QThread::msleep(5);
    EXPECT_EQ(processesMentioning(cache), 0) << "a loader still runs after " << timer.elapsed() << " ms";

    // The next opening, of any register, leaves no temporary copy.
    const SqlRun next = runKatarixSql(scratch, {smallRegister(scratch), QStringLiteral("SELECT count(*) FROM KDZIALKA")});
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_EQ(temporaryCopies(cache), QStringList());
}

// A copy left by a loader killed outright (nobody could remove it) is removed by the next opening
// of any register; one that a live process holds is left alone.
TEST_F(MdbInterrupted, LeftoverCopiesAreRemovedUnlessHeld)
{
    // The program is held still, so that it cannot clean up after its loader, which is killed
    // outright; then the program is killed too.
    ::kill(pid_t(sql.processId()), SIGSTOP);
    for (const qint64 pid : pidsMentioning(cache))
        ::kill(pid_t(pid), SIGKILL);
    QElapsedTimer timer;
    timer.start();
    while (processesMentioning(cache) > 0 && timer.elapsed() < 10000)
        QThread::msleep(5);
    ::kill(pid_t(sql.processId()), SIGKILL);
    sql.waitForFinished();
    const QStringList left = temporaryCopies(cache);
    ASSERT_EQ(left.size(), 1) << "the killed loader left its copy";

    // Another process holds a copy of its own (a shared lock, as a running load does).
    const QString held = cache + QStringLiteral("/abc.sqlite.tmp-1-1");
    writeBytes(held, QByteArray("x"));
    QProcess holder;
    holder.start(QStringLiteral("flock"), {QStringLiteral("--shared"), held, QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    {
        // Until the holder has its lock.
        const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY);
        QElapsedTimer timer;
        timer.start();
        while (::flock(fd, LOCK_EX | LOCK_NB) == 0 && timer.elapsed() < 10000) {
            ::flock(fd, LOCK_UN);
            QThread::msleep(5);
        }
        ::close(fd);
    }

    const SqlRun next = runKatarixSql(scratch, {smallRegister(scratch), QStringLiteral("SELECT count(*) FROM KDZIALKA")});
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_EQ(temporaryCopies(cache), QStringList{QStringLiteral("abc.sqlite.tmp-1-1")});
    holder.kill();
    holder.waitForFinished();
}
