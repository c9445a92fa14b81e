#include "MdbTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

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

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

qint64 mtimeNs(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace katarix::test
