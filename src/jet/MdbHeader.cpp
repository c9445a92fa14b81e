#include "MdbHeader.h"

#include "JetError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace katarix::jet {

namespace {

constexpr int kJet3PageSize = 2048;
constexpr int kJet4PageSize = 4096;



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

} // namespace

MdbHeader readMdbHeader(const QString &path)
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

} // namespace katarix::jet
