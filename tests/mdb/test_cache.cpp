// The loaded copy is reused while the .mdb is unchanged and rebuilt after any change; the .mdb
// itself is never modified.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/Query.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace katarix;
using namespace katarix::test;
using mw::ColumnType;

namespace {

mw::Content registerWith(const std::string &name, int rows = 2000)
{
    mw::Table t;
    t.name = "GMINA";
    t.columns = {column("MSLINK", ColumnType::Long), column("NAZWA", ColumnType::Text, 60),
                 column("OPIS", ColumnType::Memo)};
    for (int i = 0; i < rows; ++i)
        t.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(name), mw::Value(std::string(300, 'o'))});
    mw::Content content;
    content.tables.push_back(t);
    return content;
}

QString firstName(jet::Database &db)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db.handle(), "SELECT NAZWA FROM GMINA WHERE MSLINK = 0", -1, &stmt, nullptr);
    QString name;
    if (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return name;
}

void setMtime(const QString &path, qint64 ns)
{
    timespec times[2];
    times[0].tv_sec = ns / 1000000000;
    times[0].tv_nsec = ns % 1000000000;
    times[1] = times[0];
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

QString onlyCacheFile(const MdbScratch &scratch)
{
    const QStringList files = QDir(scratch.cacheDir()).entryList({QStringLiteral("*.sqlite")}, QDir::Files);
    return files.size() == 1 ? scratch.cacheDir() + QLatin1Char('/') + files[0] : QString();
}

// The page size a copy's header gives (bytes 16-17, big-endian; 1 stands for 65536).
qsizetype pageSize(const QByteArray &copy)
{
    const int size = (quint8(copy.at(16)) << 8) | quint8(copy.at(17));
    return size == 1 ? 65536 : size;
}

// Loads the file once and returns its cached copy.
QString loadOnce(const MdbScratch &scratch, const QString &file)
{
    jet::Database db;
    jet::openRegister(db, file, scratch.options());
    return onlyCacheFile(scratch);
}

jet::OpenOptions withoutLoader(const MdbScratch &scratch)
{
    jet::OpenOptions options = scratch.options();
    options.loaderPath = scratch.path(QStringLiteral("no-such-loader"));
    return options;
}

} // namespace

TEST(MdbCache, ReusedWhileUnchangedAndSourceUntouched)
{
    MdbScratch scratch;
    const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray hashBefore = QCryptographicHash::hash(fileBytes(file), QCryptographicHash::Sha256);
    const qint64 mtimeBefore = mtimeNs(file);

    std::vector<int> progress;
    jet::OpenOptions options = scratch.options();
    options.progress = [&](int percent) { progress.push_back(percent); };
    {
        jet::Database db;
        jet::openRegister(db, file, options);
        EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));
    }
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(QCryptographicHash::hash(fileBytes(file), QCryptographicHash::Sha256), hashBefore);
    EXPECT_EQ(mtimeNs(file), mtimeBefore);

    // Without a loader at hand the copy can only come from the cache.
    jet::Database again;
    jet::openRegister(again, file, withoutLoader(scratch));
    EXPECT_EQ(firstName(again), QStringLiteral("Łódź"));
    EXPECT_FALSE(onlyCacheFile(scratch).isEmpty());
}

TEST(MdbCache, RebuiltAfterAnyChange)
{
    struct Change {
        const char *name;
        std::function<void(const MdbScratch &, const QString &mdb, const QString &cache)> apply;
        const char *expected; // NAZWA after reopening
    };
    const std::vector<Change> changes = {
        {"new content",
         [](const MdbScratch &s, const QString &mdb, const QString &) {
             s.write(registerWith("Żary"), QFileInfo(mdb).fileName());
         },
         "Żary"},
        {"modification time only",
         [](const MdbScratch &, const QString &mdb, const QString &) { setMtime(mdb, mtimeNs(mdb) + 5000000000); },
         "Łódź"},
        {"header page changed, size and time kept",
         [](const MdbScratch &, const QString &mdb, const QString &) {
             const qint64 t = mtimeNs(mdb);
             QByteArray bytes = fileBytes(mdb);
             bytes[0x400] = char(bytes[0x400] ^ 0x5a);
             writeBytes(mdb, bytes);
             setMtime(mdb, t);
         },
         "Łódź"},
        {"cache overwritten with garbage",
         [](const MdbScratch &, const QString &, const QString &cache) {
             writeBytes(cache, QByteArray(fileBytes(cache).size(), 'x'));
         },
         "Łódź"},
        {"cache truncated",
         [](const MdbScratch &, const QString &, const QString &cache) {
             writeBytes(cache, fileBytes(cache).left(fileBytes(cache).size() / 2));
         },
         "Łódź"},
    };
    for (const Change &change : changes) {
        SCOPED_TRACE(change.name);
        MdbScratch scratch;
        const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
        const QString cache = loadOnce(scratch, file);
        ASSERT_FALSE(cache.isEmpty());
        change.apply(scratch, file, cache);

        // The stale copy is not used: without a loader the opening fails.
        jet::Database db;
        EXPECT_THROW(jet::openRegister(db, file, withoutLoader(scratch)), jet::JetError);
        EXPECT_FALSE(db.isOpen());

        jet::openRegister(db, file, scratch.options());
        EXPECT_EQ(firstName(db), QString::fromUtf8(change.expected));
        db.close();
        jet::Database reused;
        jet::openRegister(reused, file, withoutLoader(scratch));
        EXPECT_EQ(firstName(reused), QString::fromUtf8(change.expected));
    }
}

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

// Every file in the folder with its mode, "name 600".
QStringList modesIn(const QString &folder)
{
    QStringList list;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        list << QStringLiteral("%1 %2").arg(name).arg(modeOf(folder + QLatin1Char('/') + name), 0, 8);
    return list;
}

// A loader that runs the real one after an action on the .mdb (its first argument).
QString wrappedLoader(const MdbScratch &scratch, const QString &action)
{
    const QString path = scratch.path(QStringLiteral("loader.sh"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\n%1\nexec \"%2\" \"$@\"\n").arg(action, QStringLiteral(KATARIX_LOADER)).toUtf8());
    script.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// The cache holds a copy of the register: only its owner may read the folder or any copy, the
// copies being written included.
TEST(MdbCache, FolderAndEveryCopyArePrivateFromTheFirstByte)
{
    struct Case {
        const char *name;
        bool folderExists;
        mode_t folderMode;
    };
    const Case cases[] = {{"new nested folder", false, 0}, {"folder existing with 0755", true, 0755},
                          {"folder existing with 0777", true, 0777}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MdbScratch scratch;
        const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
        jet::OpenOptions options = scratch.options();
        options.cacheDir = scratch.path(QStringLiteral("home/.cache/Katarix"));
        if (c.folderExists) {
            ASSERT_TRUE(QDir().mkpath(options.cacheDir));
            ::chmod(QFile::encodeName(options.cacheDir).constData(), c.folderMode);
            // A copy left by an older version, readable by everyone.
            QFile old(options.cacheDir + QStringLiteral("/stara.sqlite"));
            old.open(QIODevice::WriteOnly);
            old.close();
            ::chmod(QFile::encodeName(old.fileName()).constData(), 0644);
        }
        QStringList seenWhileLoading;
        options.progress = [&](int) { seenWhileLoading << modesIn(options.cacheDir); };
        jet::Database db;
        jet::openRegister(db, file, options);
        EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));

        EXPECT_EQ(modeOf(options.cacheDir), mode_t(0700));
        if (!c.folderExists) {
            EXPECT_EQ(modeOf(scratch.path(QStringLiteral("home/.cache"))), mode_t(0700));
        }
        bool sawTemporary = false;
        for (const QString &entry : seenWhileLoading) {
            if (entry.startsWith(QLatin1String("stara.sqlite")))
                continue;
            sawTemporary = sawTemporary || entry.contains(QLatin1String(".tmp-"));
            EXPECT_TRUE(entry.endsWith(QLatin1String(" 600"))) << entry.toStdString();
        }
        EXPECT_TRUE(sawTemporary) << "the copy being written was never seen";
        for (const QString &entry : modesIn(options.cacheDir)) {
            if (!entry.startsWith(QLatin1String("stara.sqlite"))) {
                EXPECT_TRUE(entry.endsWith(QLatin1String(" 600"))) << entry.toStdString();
            }
        }
    }
}

// A cached copy written by an older version with wider modes is tightened when it is reused.
TEST(MdbCache, ReusedCopyWithWiderModesIsTightened)
{
    MdbScratch scratch;
    const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
    const QString cache = loadOnce(scratch, file);
    ASSERT_FALSE(cache.isEmpty());
    ::chmod(QFile::encodeName(cache).constData(), 0644);
    jet::Database db;
    jet::openRegister(db, file, withoutLoader(scratch));
    EXPECT_EQ(modeOf(cache), mode_t(0600));
}

// The .mdb is examined before and after the load: a change meanwhile throws the copy away and
// loads again; a second change is reported and nothing is cached.
TEST(MdbCache, SourceChangedDuringTheLoadIsLoadedAgainOnce)
{
    {
        SCOPED_TRACE("changed during the first load only");
        MdbScratch scratch;
        const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
        const QString marker = scratch.path(QStringLiteral("zmieniono"));
        jet::OpenOptions options = scratch.options();
        options.loaderPath = wrappedLoader(
            scratch, QStringLiteral("if [ ! -e '%1' ]; then touch '%1'; touch -d '2031-01-01 12:00' \"$1\"; fi").arg(marker));
        jet::Database db;
        jet::openRegister(db, file, options);
        EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));
        db.close();
        EXPECT_TRUE(QFile::exists(marker));
        // The copy made by the second load belongs to the file as it is now.
        jet::openRegister(db, file, withoutLoader(scratch));
        EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));
    }
    {
        SCOPED_TRACE("changed during both loads");
        MdbScratch scratch;
        const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
        jet::OpenOptions options = scratch.options();
        options.loaderPath = wrappedLoader(scratch, QStringLiteral("sleep 0.05; touch \"$1\""));
        jet::Database db;
        try {
            jet::openRegister(db, file, options);
            ADD_FAILURE() << "no error";
        } catch (const jet::JetError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Plik bazy danych zmieniał się podczas wczytywania; nie został "
                                                      "otwarty. Spróbuj ponownie, gdy nikt go nie zapisuje: ")
                                           + file);
        }
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(QDir(scratch.cacheDir()).entryList(QDir::Files), QStringList());
    }
}

namespace {

// Options whose loader counts its runs in the file `runs` (one line a run).
jet::OpenOptions countingRuns(const MdbScratch &scratch, const QString &runs)
{
    jet::OpenOptions options = scratch.options();
    options.loaderPath = wrappedLoader(scratch, QStringLiteral("echo run >> '%1'").arg(runs));
    return options;
}

int runsIn(const QString &runs)
{
    return int(fileBytes(runs).count('\n'));
}

} // namespace

// A copy whose bytes changed on disk is never trusted: a changed byte inside a value would give
// a wrong value without a word, a changed page header would fail in every later window.
TEST(MdbCache, DamagedCopyIsRebuiltOnceWhenReused)
{
    struct Case {
        const char *name;
        std::function<qsizetype(const QByteArray &)> at; // where a byte is flipped
    };
    const Case cases[] = {
        {"middle of the copy", [](const QByteArray &bytes) { return bytes.size() / 2 + 17; }},
        {"inside a text value", [](const QByteArray &bytes) { return bytes.lastIndexOf("Łódź") + 2; }},
        {"last page", [](const QByteArray &bytes) { return bytes.size() - 100; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MdbScratch scratch;
        const QString file = scratch.write(registerWith("Łódź"), QStringLiteral("rejestr.mdb"));
        const QString runs = scratch.path(QStringLiteral("runs"));
        const QString cache = loadOnce(scratch, file);
        ASSERT_FALSE(cache.isEmpty());
        QByteArray bytes = fileBytes(cache);
        const qsizetype at = c.at(bytes);
        ASSERT_GE(at, pageSize(bytes)) << "not in the first page";
        bytes[at] = char(bytes[at] ^ 0x01);
        writeBytes(cache, bytes);

        jet::Database db;
        jet::openRegister(db, file, countingRuns(scratch, runs));
        EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));
        EXPECT_EQ(runsIn(runs), 1);
        db.close();
        jet::openRegister(db, file, countingRuns(scratch, runs));
        EXPECT_EQ(runsIn(runs), 1) << "the rebuilt copy is reused";
    }
}

// Damage that SQLite meets while the register is open (the copy changed after it was checked):
// the copy is rebuilt from the .mdb once and the query answers from the new one.
TEST(MdbCache, CopyFoundDamagedDuringTheSessionIsRebuiltAndTheQueryAnswered)
{
    MdbScratch scratch;
    mw::Content content = registerWith("Łódź");
    mw::Table other;
    other.name = "OBREB";
    other.columns = {column("MSLINK", ColumnType::Long), column("NAZWA", ColumnType::Text, 60)};
    for (int i = 0; i < 3000; ++i)
        other.rows.push_back({mw::Value(std::int64_t(i)), mw::Value(std::string("Obręb ") + std::to_string(i))});
    content.tables.push_back(other);
    const QString file = scratch.write(content, QStringLiteral("rejestr.mdb"));
    const QString runs = scratch.path(QStringLiteral("runs"));

    jet::Database db;
    jet::openRegister(db, file, countingRuns(scratch, runs));
    ASSERT_EQ(runsIn(runs), 1);
    // Every page of OBREB's table, not read yet in this session, gets an impossible page type.
    const QString cache = onlyCacheFile(scratch);
    {
        jet::Database peek;
        peek.open(cache, true);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(peek.handle(), "SELECT pageno FROM dbstat WHERE name = 'OBREB'", -1, &stmt, nullptr);
        QByteArray bytes = fileBytes(cache);
        const qsizetype page = pageSize(bytes);
        int damaged = 0;
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            bytes[qsizetype(sqlite3_column_int(stmt, 0) - 1) * page] = char(0x77);
            ++damaged;
        }
        sqlite3_finalize(stmt);
        ASSERT_GT(damaged, 0) << "dbstat";
        writeBytes(cache, bytes);
    }

    jet::Query query;
    query.setDatabase(&db);
    query.setSql(QStringLiteral("SELECT count(*) AS n, max(NAZWA) AS m FROM OBREB"));
    query.open();
    EXPECT_EQ(query.valueAt(0, 0).toLongLong(), 3000);
    EXPECT_EQ(query.valueAt(0, 1).toString(), QStringLiteral("Obręb 999"));
    EXPECT_EQ(runsIn(runs), 2);
    EXPECT_EQ(firstName(db), QStringLiteral("Łódź"));
}

// Without a way to rebuild it (a copy opened as it is), damage reads as a damaged copy, with the
// file: not as the register's damage, and not in SQLite's English.
TEST(MdbCache, DamageWithoutRepairNamesTheCopy)
{
    MdbScratch scratch;
    const QString file = scratch.write(registerWith("Łódź", 3000), QStringLiteral("rejestr.mdb"));
    const QString cache = loadOnce(scratch, file);
    QByteArray bytes = fileBytes(cache);
    for (qsizetype page = pageSize(bytes); page < bytes.size(); page += pageSize(bytes))
        bytes[page] = char(0x77); // no page after the first one has a valid type
    writeBytes(cache, bytes);

    jet::Database db;
    db.open(cache, true);
    jet::Query query;
    query.setDatabase(&db);
    query.setSql(QStringLiteral("SELECT max(NAZWA) FROM GMINA"));
    try {
        query.open();
        ADD_FAILURE() << "opened";
    } catch (const jet::JetError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Kopia robocza bazy danych jest uszkodzona: ") + cache);
        EXPECT_EQ(error.cause(), jet::JetError::Cause::DamagedCopy);
    }
}
