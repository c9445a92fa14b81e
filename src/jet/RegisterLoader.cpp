#include "RegisterLoader.h"

#include "JetError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace katarix::jet {

namespace {

// Bumped whenever the SQLite representation of a loaded register changes, so that older
// cached copies are rebuilt.
constexpr int kLoaderFormatVersion = 1;

constexpr int kJet3PageSize = 2048;
constexpr int kJet4PageSize = 4096;
constexpr int kPollMs = 50;        // longest wait for the helper between two looks at the caller
constexpr int kLoadAttempts = 2;   // loads of a file that keeps changing before giving up

struct MdbHeader {
    QByteArray page; // the first page as stored
    int jetVersion = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    QString password; // decoded from the header; empty when the file has none
    bool hasPassword = false;
};

void rc4(const unsigned char *key, int keyLength, unsigned char *data, int length)
{
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xff];
    }
}

// The database password of page 0: the region from 0x18 is RC4-encrypted with the key
// 0x6b39dac7; the password lies at 0x42 (20 bytes in Jet 3, 40 bytes of UCS-2 in Jet 4), and
// Jet 4 masks it further with the integer part of the creation date stored at 0x72.
void decodePassword(MdbHeader &header)
{
    QByteArray page = header.page;
    auto *bytes = reinterpret_cast<unsigned char *>(page.data());
    const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
    const bool jet3 = header.jetVersion == 0;
    rc4(key, 4, bytes + 0x18, jet3 ? 126 : 128);
    const int length = jet3 ? 20 : 40;
    unsigned char password[40];
    std::memcpy(password, bytes + 0x42, size_t(length));
    if (!jet3) {
        double created = 0;
        std::memcpy(&created, bytes + 0x72, sizeof created);
        qint32 whole = 0;
        if (std::isfinite(created))
            whole = qint32(std::clamp(created, -2147483648.0, 2147483647.0));
        unsigned char mask[4];
        std::memcpy(mask, &whole, 4);
        for (int i = 0; i < length; ++i)
            password[i] ^= mask[i % 4];
    }
    header.hasPassword = std::any_of(password, password + length, [](unsigned char c) { return c != 0; });
    QString text;
    if (jet3) {
        for (int i = 0; i < length && password[i]; ++i)
            text.append(QChar(char16_t(password[i])));
    } else {
        for (int i = 0; i + 1 < length; i += 2) {
            const char16_t c = char16_t(password[i] | (password[i + 1] << 8));
            if (c == 0)
                break;
            text.append(QChar(c));
        }
    }
    header.password = text;
}

MdbHeader readHeader(const QString &path)
{
    if (path.isEmpty())
        throw JetError(QStringLiteral("Nie określono pliku bazy danych."));
    const QFileInfo info(path);
    if (!info.exists())
        throw JetError(QStringLiteral("Plik bazy danych nie istnieje: %1").arg(path));
    if (info.isDir())
        throw JetError(QStringLiteral("Wskazana ścieżka jest folderem, a nie plikiem bazy danych: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw JetError(QStringLiteral("Brak dostępu do pliku bazy danych (nie można go odczytać): %1").arg(path));
    MdbHeader header;
    header.size = file.size();
    struct stat status {};
    if (::fstat(file.handle(), &status) == 0) {
        header.mtimeNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
        header.ctimeNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
        header.device = quint64(status.st_dev);
        header.inode = quint64(status.st_ino);
    }
    if (header.size == 0)
        throw JetError(QStringLiteral("Plik bazy danych jest pusty: %1").arg(path));
    header.page = file.read(kJet4PageSize);
    const QByteArray &page = header.page;
    const bool jetSignature = page.size() >= 0x20 && page.mid(4, 15) == QByteArrayLiteral("Standard Jet DB");
    const bool aceSignature = page.size() >= 0x20 && page.mid(4, 15) == QByteArrayLiteral("Standard ACE DB");
    if (page.size() < 0x20 || page[0] != 0 || page[1] != 1 || (!jetSignature && !aceSignature))
        throw JetError(QStringLiteral("Plik nie jest bazą danych programu Access (.mdb): %1").arg(path));
    header.jetVersion = static_cast<unsigned char>(page[0x14]);
    if (aceSignature || header.jetVersion > 1)
        throw JetError(
            QStringLiteral("Nieobsługiwana wersja pliku bazy danych (obsługiwane są pliki Access 97 i 2000–2003): %1")
                .arg(path));
    const int pageSize = header.jetVersion == 0 ? kJet3PageSize : kJet4PageSize;
    if (header.size < 3 * pageSize || header.size % pageSize != 0)
        throw JetError(QStringLiteral("Plik bazy danych jest uszkodzony lub niekompletny: %1").arg(path));
    header.page.truncate(pageSize);
    decodePassword(header);
    return header;
}

QString cacheFolder(const OpenOptions &options)
{
    if (!options.cacheDir.isEmpty())
        return options.cacheDir;
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/Katarix");
}

// The cache folder holds copies of the register (names, PESEL numbers, addresses): it is
// created private (0700, missing parents too) and an existing one with wider modes is tightened.
void ensurePrivateFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(path);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
            throw JetError(QStringLiteral("Nie można utworzyć folderu kopii roboczych bazy danych: %1").arg(folder));
    }
    const QByteArray native = QFile::encodeName(clean);
    struct stat status {};
    if (::stat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        throw JetError(QStringLiteral("Nie można utworzyć folderu kopii roboczych bazy danych: %1").arg(folder));
    if (status.st_uid != ::geteuid())
        throw JetError(QStringLiteral("Folder kopii roboczych bazy danych należy do innego użytkownika: %1").arg(folder));
    if ((status.st_mode & 077) != 0 && ::chmod(native.constData(), status.st_mode & 0700) != 0)
        throw JetError(
            QStringLiteral("Nie można ograniczyć dostępu do folderu kopii roboczych bazy danych: %1").arg(folder));
}

// Reserves the name of a new copy, readable and writable by the user alone from its first byte.
void createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw JetError(QStringLiteral("Nie można utworzyć kopii roboczej bazy danych: %1").arg(path));
    ::close(fd);
}

QString cacheKey(const QString &canonicalPath, const MdbHeader &header)
{
    const QByteArray pageHash = QCryptographicHash::hash(header.page, QCryptographicHash::Sha256).toHex();
    // The inode and the change time catch a file replaced by another one with the same size and
    // modification time (a copy that keeps times, a restore from a backup).
    return QStringLiteral("%1|%2|%3|%4|%5|%6:%7|%8")
        .arg(kLoaderFormatVersion)
        .arg(canonicalPath)
        .arg(header.size)
        .arg(header.mtimeNs)
        .arg(header.ctimeNs)
        .arg(header.device)
        .arg(header.inode)
        .arg(QString::fromLatin1(pageHash));
}

// True when the file is a complete copy made for this key.
bool cacheMatches(const QString &cacheFile, const QString &key)
{
    const QFileInfo info(cacheFile);
    if (!info.isFile())
        return false;
    sqlite3 *db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(QFile::encodeName(cacheFile).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT (SELECT value FROM katarix_cache WHERE name = 'key'),"
                               " (SELECT page_count FROM pragma_page_count()) * (SELECT page_size FROM pragma_page_size())",
                               -1, &stmt, nullptr)
                == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW) {
            const auto *stored = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
            ok = stored && QString::fromUtf8(stored) == key && sqlite3_column_int64(stmt, 1) == info.size();
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return ok;
}

void writeCacheKey(const QString &file, const QString &key)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) {
        const QByteArray sql = QStringLiteral("CREATE TABLE katarix_cache (name TEXT PRIMARY KEY, value TEXT);"
                                              "INSERT INTO katarix_cache VALUES ('key', '%1')")
                                   .arg(QString(key).replace(QLatin1Char('\''), QLatin1String("''")))
                                   .toUtf8();
        ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    if (!ok)
        throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych: %1").arg(file));
}

QString loaderProgram(const OpenOptions &options)
{
    if (!options.loaderPath.isEmpty())
        return options.loaderPath;
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    return loaderForProgram(dir);
}

// Runs the loader helper on mdbPath, writing target. Any failure of the helper, including a
// crash or a stall, ends in JetError.
void runLoader(const QString &mdbPath, const QString &target, const OpenOptions &options)
{
    const QString program = loaderProgram(options);
    if (!QFileInfo(program).isExecutable())
        throw JetError(QStringLiteral("Nie znaleziono programu wczytującego bazę danych: %1").arg(program));

    QProcess process;
    process.setProgram(program);
    process.setArguments({mdbPath, target});
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(30000))
        throw JetError(QStringLiteral("Nie można uruchomić programu wczytującego bazę danych: %1").arg(program));

    QString error;
    bool completed = false;
    auto consume = [&] {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PROGRESS "))) {
                bool ok = false;
                const int percent = line.mid(9).toInt(&ok);
                if (ok && options.progress)
                    options.progress(std::clamp(percent, 0, 100));
            } else if (line.startsWith(QLatin1String("ERROR "))) {
                error = line.mid(6);
            } else if (line == QLatin1String("OK")) {
                completed = true;
            }
        }
    };
    auto stop = [&process] {
        process.kill();
        process.waitForFinished(10000);
    };
    // Short waits, so that the caller can repaint and the user can cancel between reports.
    const int stall = options.stallTimeoutMs > 0 ? options.stallTimeoutMs : 120000;
    QElapsedTimer sinceReport;
    sinceReport.start();
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForReadyRead(kPollMs))
            sinceReport.restart();
        consume();
        if (options.cancelled && options.cancelled()) {
            stop();
            throw LoadCancelled();
        }
        if (sinceReport.elapsed() > stall && process.state() != QProcess::NotRunning) {
            stop();
            throw JetError(QStringLiteral("Wczytywanie bazy danych nie zostało ukończone w wyznaczonym czasie "
                                          "(plik może być uszkodzony): %1")
                               .arg(mdbPath));
        }
    }
    process.waitForFinished(10000);
    consume();
    if (process.bytesAvailable() > 0) {
        const QString rest = QString::fromUtf8(process.readAll()).trimmed();
        if (rest.startsWith(QLatin1String("ERROR ")))
            error = rest.mid(6);
        else if (rest == QLatin1String("OK"))
            completed = true;
    }
    if (options.cancelled && options.cancelled())
        throw LoadCancelled();
    if (!error.isEmpty())
        throw JetError(error);
    if (process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0 || !completed)
        throw JetError(QStringLiteral("Plik bazy danych jest uszkodzony: wczytywanie zostało przerwane: %1").arg(mdbPath));
}

} // namespace

QString loaderForProgram(const QString &programDir)
{
    const QString beside = QDir(programDir).filePath(QStringLiteral("katarix-loader"));
    const QString installed =
        QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../libexec/katarix/katarix-loader")));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

bool registerHasPassword(const QString &mdbPath)
{
    try {
        return readHeader(mdbPath).hasPassword;
    } catch (const JetError &) {
        return false;
    }
}

void openRegister(Database &db, const QString &mdbPath, const OpenOptions &options)
{
    db.close();
    const MdbHeader header = readHeader(mdbPath);
    if (header.hasPassword ? options.password != header.password : false)
        throw JetError(QStringLiteral("Nieprawidłowe hasło."));

    const QString canonical = QFileInfo(mdbPath).canonicalFilePath();
    const QString folder = cacheFolder(options);
    ensurePrivateFolder(folder);
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));
    const QString cacheFile = folder + QLatin1Char('/') + name + QStringLiteral(".sqlite");
    QString key = cacheKey(canonical, header);

    if (cacheMatches(cacheFile, key)) {
        ::chmod(QFile::encodeName(cacheFile).constData(), 0600); // a copy from an older version
        try {
            db.open(cacheFile, true);
            if (options.progress)
                options.progress(100);
            return;
        } catch (const JetError &) {
            db.close(); // a damaged copy is rebuilt below
        }
    }

    // Copies left half-written by a process that was killed while loading.
    const QFileInfoList stale = QDir(folder).entryInfoList({name + QStringLiteral(".sqlite.tmp-*")}, QDir::Files);
    for (const QFileInfo &tmp : stale)
        if (tmp.lastModified().secsTo(QDateTime::currentDateTime()) > 24 * 3600)
            QFile::remove(tmp.absoluteFilePath());

    // The file is examined again after the load: a copy of a file that changed meanwhile may
    // mix old and new pages, so it is thrown away and the load runs once more.
    static int counter = 0;
    for (int attempt = 1;; ++attempt) {
        const QString temp = QStringLiteral("%1.tmp-%2-%3").arg(cacheFile).arg(qint64(::getpid())).arg(++counter);
        try {
            createPrivateFile(temp);
            runLoader(QFileInfo(mdbPath).absoluteFilePath(), temp, options);
            const QString keyAfter = cacheKey(canonical, readHeader(mdbPath));
            if (keyAfter != key) {
                QFile::remove(temp);
                if (attempt == kLoadAttempts)
                    throw JetError(QStringLiteral("Plik bazy danych zmieniał się podczas wczytywania; nie został "
                                                  "otwarty. Spróbuj ponownie, gdy nikt go nie zapisuje: %1")
                                       .arg(mdbPath));
                key = keyAfter;
                continue;
            }
            writeCacheKey(temp, key);
            if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(cacheFile).constData()) != 0)
                throw JetError(QStringLiteral("Nie można zapisać kopii roboczej bazy danych: %1").arg(cacheFile));
        } catch (...) {
            QFile::remove(temp);
            QFile::remove(temp + QStringLiteral("-journal"));
            throw;
        }
        break;
    }
    db.open(cacheFile, true);
}

} // namespace katarix::jet
