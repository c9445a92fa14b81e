#include "MdbTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace katarix::test {

MdbScratch::MdbScratch() = default;

jet::OpenOptions MdbScratch::options(const QString &password) const
{
    jet::OpenOptions options;
    options.password = password;
    options.cacheDir = cacheDir();
    options.loaderPath = QStringLiteral(KATARIX_LOADER);
    return options;
}

QString MdbScratch::write(const mw::Content &content, const QString &name, const std::string &password) const
{
    const QString file = path(name);
    mw::WriteOptions options;
    options.password = password;
    mw::writeJet4(content, file.toStdString(), options);
    return file;
}

mw::Column column(const std::string &name, mw::ColumnType type, int textSize)
{
    mw::Column c;
    c.name = name;
    c.type = type;
    c.textSize = textSize;
    return c;
}

SqlRun runKatarixSql(const MdbScratch &scratch, const QStringList &args, const QString &locale, const QByteArray &input)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), scratch.path(QStringLiteral("xdg")));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KATARIX_SQL), args);
    process.write(input);
    process.closeWriteChannel();
    SqlRun r;
    if (!process.waitForFinished(120000))
        return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

qint64 mtimeNs(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

std::string polishText(int length)
{
    const QString pattern = QStringLiteral("Zażółć gęślą jaźń, ŁÓDŹ 123; ");
    QString text;
    while (text.size() < length)
        text += pattern;
    text.truncate(length);
    return text.toStdString();
}

std::vector<std::vector<SqlCell>> selectAll(jet::Database &db, const QString &sql)
{
    static_assert(SQLITE_NULL == 5, "SqlCell starts NULL");
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), utf8.constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.handle());
    std::vector<std::vector<SqlCell>> rows;
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<SqlCell> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            SqlCell cell;
            cell.type = sqlite3_column_type(stmt, c);
            if (cell.type == SQLITE_INTEGER)
                cell.integer = sqlite3_column_int64(stmt, c);
            else if (cell.type == SQLITE_FLOAT)
                cell.real = sqlite3_column_double(stmt, c);
            else if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB)
                cell.bytes = QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                        sqlite3_column_bytes(stmt, c));
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    return rows;
}

} // namespace katarix::test
