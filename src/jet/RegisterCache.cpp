#include "RegisterCache.h"

#include "ErrorText.h"
#include "FileChecksum.h"
#include "JetError.h"
#include "RegisterLoader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace katarix::jet {

namespace {

// Bumped whenever the SQLite representation of a loaded register or the cache's files change,
// so that older cached copies are rebuilt.
constexpr int kLoaderFormatVersion = 2;

const QString kTemporaryMark = QStringLiteral(".tmp-");

QString cacheFolder(const OpenOptions &options)
{
    if (!options.cacheDir.isEmpty())
        return options.cacheDir;
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/Katarix");
}

QString keyFileOf(const QString &copy)
{
    return copy + QStringLiteral(".key");
}

[[noreturn]] void failWriting(const QString &what, const QString &folder, int error)
{
    if (error == ENOSPC || error == EDQUOT)
        throw JetError(diskFullText(folder), JetError::Cause::DiskFull);
    throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych: %1").arg(what));
}

// Temporary files that no live process holds (no lock on them) are left over: removed.
void removeLeftovers(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*") + kTemporaryMark + QStringLiteral("*")},
                                                     QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ELOOP)
                ::unlink(path.constData());
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

struct KeyFile {
    QString key;
    qint64 size = -1;
    QString checksum;
};

KeyFile readKeyFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return {};
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    if (json.value(QStringLiteral("format")).toInt() != kLoaderFormatVersion)
        return {};
    return {json.value(QStringLiteral("key")).toString(),
            qint64(json.value(QStringLiteral("size")).toDouble(-1)),
            json.value(QStringLiteral("xxh3")).toString()};
}

} // namespace

TemporaryCopy::TemporaryCopy(const QString &finalName)
    : m_finalName(finalName)
{
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path = QStringLiteral("%1%2%3-%4").arg(finalName, kTemporaryMark).arg(qint64(::getpid())).arg(++counter);
        const QByteArray native = QFile::encodeName(m_path);
        m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            if (errno == EEXIST)
                continue;
            const int error = errno;
            m_path.clear();
            failWriting(finalName, QFileInfo(finalName).absolutePath(), error);
        }
        // Locked before anyone else takes it for a leftover; a sweep that removed it in between
        // leaves this descriptor on a file without a name: then take another name.
        struct stat mine {}, named {};
        if (::flock(m_fd, LOCK_SH) == 0 && ::fstat(m_fd, &mine) == 0 && ::stat(native.constData(), &named) == 0
            && mine.st_ino == named.st_ino && mine.st_dev == named.st_dev)
            return;
        ::close(m_fd);
        m_fd = -1;
    }
    m_path.clear();
    throw JetError(QStringLiteral("Nie można utworzyć kopii roboczej bazy danych: %1").arg(finalName));
}

TemporaryCopy::TemporaryCopy(TemporaryCopy &&other) noexcept
{
    *this = std::move(other);
}

TemporaryCopy &TemporaryCopy::operator=(TemporaryCopy &&other) noexcept
{
    if (this != &other) {
        remove();
        m_path = std::exchange(other.m_path, QString());
        m_finalName = std::exchange(other.m_finalName, QString());
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

TemporaryCopy::~TemporaryCopy()
{
    remove();
}

void TemporaryCopy::moveIntoPlace()
{
    if (std::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_finalName).constData()) != 0)
        throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych: %1").arg(m_finalName));
    m_path.clear();
    ::close(m_fd);
    m_fd = -1;
}

void TemporaryCopy::remove()
{
    if (!m_path.isEmpty()) {
        QFile::remove(m_path);
        m_path.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

RegisterCache::RegisterCache(const QString &mdbPath, const MdbHeader &header, const OpenOptions &options)
    : m_folder(cacheFolder(options))
    , m_canonical(QFileInfo(mdbPath).canonicalFilePath())
{
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(m_canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));
    m_copy = m_folder + QLatin1Char('/') + name + QStringLiteral(".sqlite");
    m_key = keyOf(header);
}

QString RegisterCache::keyOf(const MdbHeader &header) const
{
    const QByteArray pageHash = QCryptographicHash::hash(header.page, QCryptographicHash::Sha256).toHex();
    // The inode and the change time catch a file replaced by another one with the same size and
    // modification time (a copy that keeps times, a restore from a backup).
    return QStringLiteral("%1|%2|%3|%4|%5|%6:%7|%8")
        .arg(kLoaderFormatVersion)
        .arg(m_canonical)
        .arg(header.size)
        .arg(header.mtimeNs)
        .arg(header.ctimeNs)
        .arg(header.device)
        .arg(header.inode)
        .arg(QString::fromLatin1(pageHash));
}

void RegisterCache::prepareFolder() const
{
    const QString clean = QDir::cleanPath(QDir(m_folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(path);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            if (errno == ENOSPC || errno == EDQUOT)
                throw JetError(diskFullText(m_folder), JetError::Cause::DiskFull);
            throw JetError(QStringLiteral("Nie można utworzyć folderu kopii roboczych bazy danych: %1").arg(m_folder));
        }
    }
    const QByteArray native = QFile::encodeName(clean);
    struct stat status {};
    if (::stat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        throw JetError(QStringLiteral("Nie można utworzyć folderu kopii roboczych bazy danych: %1").arg(m_folder));
    if (status.st_uid != ::geteuid())
        throw JetError(QStringLiteral("Folder kopii roboczych bazy danych należy do innego użytkownika: %1").arg(m_folder));
    if ((status.st_mode & 077) != 0 && ::chmod(native.constData(), status.st_mode & 0700) != 0)
        throw JetError(
            QStringLiteral("Nie można ograniczyć dostępu do folderu kopii roboczych bazy danych: %1").arg(m_folder));
    removeLeftovers(clean);
}

bool RegisterCache::copyExists() const
{
    return QFileInfo(m_copy).isFile();
}

bool RegisterCache::keyMatches() const
{
    return readKeyFile(keyFileOf(m_copy)).key == m_key && copyExists();
}

bool RegisterCache::copyIsIntact() const
{
    const KeyFile stored = readKeyFile(keyFileOf(m_copy));
    if (stored.key != m_key || stored.checksum.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(m_copy).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    const bool intact = ::fstat(fd, &status) == 0 && qint64(status.st_size) == stored.size
        && fileChecksum(fd) == stored.checksum;
    ::close(fd);
    return intact;
}

void RegisterCache::removeCopy() const
{
    QFile::remove(keyFileOf(m_copy));
    QFile::remove(m_copy);
}

void RegisterCache::install(TemporaryCopy &copy, const QString &key, const QString &checksum) const
{
    struct stat status {};
    if (::fstat(copy.fd(), &status) != 0)
        throw JetError(QStringLiteral("Nie można odczytać kopii roboczej bazy danych: %1").arg(copy.path()));
    QJsonObject json;
    json.insert(QStringLiteral("format"), kLoaderFormatVersion);
    json.insert(QStringLiteral("key"), key);
    json.insert(QStringLiteral("size"), double(status.st_size));
    json.insert(QStringLiteral("xxh3"), checksum);
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Compact);
    TemporaryCopy keyFile(keyFileOf(m_copy));
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(keyFile.fd(), bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failWriting(keyFileOf(m_copy), m_folder, errno);
        }
        written += n;
    }
    // No moment where an old key file describes the new copy: a failure in between leaves a copy
    // without a key, which is rebuilt.
    QFile::remove(keyFileOf(m_copy));
    copy.moveIntoPlace();
    keyFile.moveIntoPlace();
}

} // namespace katarix::jet
