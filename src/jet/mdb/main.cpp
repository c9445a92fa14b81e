// katarix-loader SOURCE.mdb TARGET.sqlite
//
// Loads a register from a .mdb into a new SQLite file. Runs as a helper process of the browser
// so that a damaged file that crashes libmdb cannot take the browser down. Reports on stdout,
// one line each: "PROGRESS <percent>", then "OK" or "ERROR <Polish message>".
#include "MdbReader.h"

#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/RegisterImporter.h"

#include <QCoreApplication>
#include <QFile>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>

using namespace katarix::jet;

namespace {

void report(const QString &line)
{
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

int load(const QString &source, const QString &target)
{
    QFile::remove(target);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(target).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw JetError(QStringLiteral("Nie można utworzyć kopii roboczej bazy danych %1: %2.").arg(target, detail));
    }
    try {
        registerJetExtensions(db);
        mdb::MdbReader reader(source);
        RegisterImporter importer(db);
        int lastPercent = -1;
        reader.load(importer, [&](qint64 done, qint64 total) {
            const int percent = total > 0 ? int(done * 90 / total) : 90;
            if (percent != lastPercent) {
                lastPercent = percent;
                report(QStringLiteral("PROGRESS %1").arg(qMin(percent, 90)));
            }
        });
        importer.finish();
        report(QStringLiteral("PROGRESS 100"));
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(target);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        QFile::remove(target);
        throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych %1.").arg(target));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    limitResources();
    ::umask(077); // the copy of the register and its journal are the user's alone
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "użycie: katarix-loader PLIK.mdb KOPIA.sqlite\n");
        return 64;
    }
    try {
        load(args[1], args[2]);
        report(QStringLiteral("OK"));
        return 0;
    } catch (const JetError &error) {
        report(QStringLiteral("ERROR ") + error.message().simplified());
    } catch (const std::exception &error) {
        report(QStringLiteral("ERROR Błąd wczytywania bazy danych: %1").arg(QString::fromLocal8Bit(error.what()).simplified()));
    }
    return 2;
}
