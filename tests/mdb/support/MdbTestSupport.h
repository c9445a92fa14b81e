#pragma once

#include "MdbContent.h"
#include "jet/RegisterLoader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <string>

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

QByteArray fileBytes(const QString &path);
qint64 mtimeNs(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// One run of katarix-sql under LC_ALL=locale, with its cache inside the scratch folder; input is
// its standard input (a pipe, closed after it).
struct SqlRun {
    int exitCode = -1; // -1: crashed or did not finish
    QString out;
    QString err;
};
SqlRun runKatarixSql(const MdbScratch &scratch, const QStringList &args, const QString &locale = QStringLiteral("C"),
                     const QByteArray &input = {});

// The value of one cell of the engine database, through plain SQLite (typeof and value).
struct Cell {
    QString type; // "null", "integer", "real", "text", "blob"
    QVariant value;
};

} // namespace katarix::test
