// katarix-loader SOURCE.mdb TARGET.sqlite
//
// Loads a register from a .mdb into a new SQLite file. Runs as a helper process of the browser
// so that a damaged file that crashes libmdb cannot take the browser down. Reports on stdout,
// one line each: "PROGRESS <percent>", then "OK <checksum>" (XXH3 of the finished file, 16 hex
// digits) or "ERROR <Polish message>".
//
// One thread decodes the .mdb while the main thread writes the copy and indexes each table as
// soon as its rows are in. TARGET is the temporary copy the caller created: the loader holds a
// shared lock on it while it runs (a temporary copy that nobody holds is left over and is
// removed by the next opening), and removes it when the load fails, when it is stopped with
// SIGTERM, SIGINT or SIGHUP, or when its caller ends (the caller has SIGTERM sent then, and the
// parent is looked at with every progress report).
#include "ImportQueue.h"
#include "MdbReader.h"

#include "jet/ErrorText.h"
#include "jet/FileChecksum.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/RegisterImporter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <glib.h>
#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace katarix::jet;

namespace {

constexpr int kExitFailed = 2;
constexpr int kExitStopped = 3; // ended from outside
constexpr size_t kQueueBytes = 4u << 20; // the writer is the slower side: a few batches keep it busy

char g_target[PATH_MAX];
pid_t g_parent = 0;
QByteArray g_outOfMemory; // the report for running out of memory, made while there is memory

extern "C" void endedFromOutside(int)
{
    ::unlink(g_target);
    ::_exit(kExitStopped);
}

// libmdb allocates through GLib, which ends the process when memory runs out: that is said as
// such, not left to look like a crash on a damaged file.
void glibMessage(const gchar *domain, GLogLevelFlags level, const gchar *message, gpointer)
{
    if ((level & G_LOG_LEVEL_ERROR) && message && std::strstr(message, "failed to allocate")) {
        const ssize_t written = ::write(STDOUT_FILENO, g_outOfMemory.constData(), size_t(g_outOfMemory.size()));
        (void)written;
        ::unlink(g_target);
        ::_exit(kExitFailed);
    }
    g_log_default_handler(domain, level, message, nullptr);
}

void catchEndingSignals(const QByteArray &target)
{
    std::strncpy(g_target, target.constData(), sizeof g_target - 1);
    g_parent = ::getppid();
    struct sigaction action {};
    action.sa_handler = endedFromOutside;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void report(const QString &line)
{
    // A parent that has ended (its process now belongs to another) wants nothing any more.
    if (::getppid() != g_parent)
        endedFromOutside(0);
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void limitResources()
{
    rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    // A corrupted length must not make the helper take the whole machine.
    rlimit memory{rlim_t(6) << 30, rlim_t(6) << 30};
    setrlimit(RLIMIT_AS, &memory);
}

// The copy being written, locked for as long as this process lives.
int lockTarget(const QByteArray &target)
{
    const int fd = ::open(target.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct stat status {};
    const bool opened = fd >= 0 && ::flock(fd, LOCK_SH) == 0 && ::fstat(fd, &status) == 0;
    // Written from its first byte.
    if (!opened || (S_ISREG(status.st_mode) && ::ftruncate(fd, 0) != 0))
        throw JetError(QStringLiteral("Nie można utworzyć kopii roboczej bazy danych %1.").arg(QFile::decodeName(target)));
    return fd;
}

// Decodes the register on a second thread while this one writes it.
void importRegister(const QString &source, sqlite3 *db)
{
    mdb::MdbReader reader(source);
    RegisterImporter importer(db);
    mdb::ImportQueue queue(kQueueBytes);
    std::thread decoder([&] {
        try {
            reader.load(queue);
            queue.finish();
        } catch (const mdb::ImportQueue::Stopped &) {
        } catch (...) {
            queue.finish(std::current_exception());
        }
    });
    int lastPercent = -1;
    try {
        queue.importInto(importer, [&](qint64 done, qint64 total) {
            const int percent = total > 0 ? int(std::min<qint64>(done * 90 / total, 90)) : 90;
            if (percent != lastPercent) {
                lastPercent = percent;
                report(QStringLiteral("PROGRESS %1").arg(percent));
            }
        });
    } catch (...) {
        queue.stop();
        decoder.join();
        throw;
    }
    decoder.join();
    importer.finish();
}

QString load(const QString &source, const QString &target)
{
    const QByteArray path = QFile::encodeName(target);
    const int lock = lockTarget(path);
    // The loader alone uses the connection: no locking inside SQLite, no memory statistics.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK) {
        const SqliteFailure failure = sqliteFailure(db);
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można utworzyć kopii roboczej bazy danych %1: %2.").arg(target, failure.text),
                       failure.cause);
    }
    try {
        registerJetExtensions(db);
        importRegister(source, db);
        if (sqlite3_close(db) != SQLITE_OK) {
            const SqliteFailure failure = sqliteFailure(db);
            throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych %1: %2.").arg(target, failure.text),
                           failure.cause);
        }
        db = nullptr;
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    const QString checksum = fileChecksum(lock);
    if (checksum.isEmpty())
        throw JetError(QStringLiteral("Nie można odczytać kopii roboczej bazy danych %1.").arg(target));
    report(QStringLiteral("PROGRESS 100"));
    return checksum;
}

} // namespace

int main(int argc, char **argv)
{
    limitResources();
    ::umask(077); // the copy of the register and its journal are the user's alone
    if (argc != 3) {
        std::fprintf(stderr, "użycie: katarix-loader PLIK.mdb KOPIA.sqlite\n");
        return 64;
    }
    catchEndingSignals(argv[2]);
    g_outOfMemory = "ERROR " + outOfMemoryText().toUtf8() + '\n';
    g_log_set_default_handler(glibMessage, nullptr);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        try {
            report(QStringLiteral("OK ") + load(args[1], args[2]));
            return 0;
        } catch (const JetError &error) {
            // A full disk is told by the folder of the copy, as the caller named it.
            if (error.cause() != JetError::Cause::DiskFull)
                throw;
            throw JetError(diskFullText(QFileInfo(args[2]).absolutePath()), error.cause());
        }
    } catch (const std::exception &error) {
        ::unlink(g_target);
        report(QStringLiteral("ERROR ") + errorText(error).simplified());
    }
    return kExitFailed;
}
