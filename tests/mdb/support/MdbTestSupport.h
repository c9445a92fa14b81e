#pragma once

#include "MdbContent.h"
#include "common/Files.h"
#include "jet/Database.h"
#include "jet/RegisterLoader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace katarix::test {

namespace mw = katarix::mdbwriter;

// A scratch folder with a cache folder inside; every test gets its own.
class MdbScratch {
public:
    MdbScratch();
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString cacheDir() const { return path(QStringLiteral("cache")); }
    // Options that run the loader built with the tests and keep the cache in this folder.
    jet::OpenOptions options(const QString &password = {}) const;
    // Writes content as a Jet 4 file and returns its path.
    QString write(const mw::Content &content, const QString &name, const std::string &password = {}) const;

private:
    QTemporaryDir m_dir;
};

mw::Column column(const std::string &name, mw::ColumnType type, int textSize = 255);

qint64 mtimeNs(const QString &path);

// One run of katarix-sql under LC_ALL=locale, with its cache inside the scratch folder; input is
// its standard input (a pipe, closed after it).
struct SqlRun {
    int exitCode = -1; // -1: crashed or did not finish
    QString out;
    QString err;
};
SqlRun runKatarixSql(const MdbScratch &scratch, const QStringList &args, const QString &locale = QStringLiteral("C"),
                     const QByteArray &input = {});

// A Polish text of `length` characters (UTF-8), for text and memo columns.
std::string polishText(int length);

// One value of the engine database as SQLite holds it: its storage class and its value.
struct SqlCell {
    int type = 5;       // SQLITE_NULL; SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT or SQLITE_BLOB
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes;   // text (UTF-8) or blob
    QString text() const { return QString::fromUtf8(bytes); }
};

// Every row of a native SQLite statement run on the engine database (a failing statement is
// a test failure and gives no rows).
std::vector<std::vector<SqlCell>> selectAll(jet::Database &db, const QString &sql);

} // namespace katarix::test
