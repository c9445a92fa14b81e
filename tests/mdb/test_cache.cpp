// The loaded copy is reused while the .mdb is unchanged and rebuilt after any change; the .mdb
// itself is never modified.
#include "support/MdbTestSupport.h"

#include "jet/Database.h"
#include "jet/JetError.h"

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
        {
            jet::Database db;
            jet::openRegister(db, file, scratch.options());
        }
        const QString cache = onlyCacheFile(scratch);
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
