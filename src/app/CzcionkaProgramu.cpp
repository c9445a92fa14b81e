#include "app/CzcionkaProgramu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QtEndian>

namespace katarix::app {

namespace {

// Tahoma as Windows lays it out. fonts-wine's copy carries bitmap strikes whose line metrics
// (ascent 9 at 11 px) and an OS/2 "use typo metrics" flag (ascent 1566/2048) put the accents of
// Ś, Ż, Ó … above the line, so a label one line high cuts them off. Windows takes the line
// from usWinAscent/usWinDescent (11 + 2 px at 11 px), which the designed sizes assume: the face
// is loaded without its strikes (their table tags renamed, so the outlines are drawn) and
// without the flag.
QByteArray tahomaJakWWindows(QByteArray font)
{
    constexpr int kKatalog = 12, kWpis = 16, kFsSelection = 62;
    constexpr quint16 kUseTypoMetrics = 0x80;
    if (font.size() < kKatalog)
        return font;
    const int tabel = qFromBigEndian<quint16>(font.constData() + 4);
    if (font.size() < kKatalog + tabel * kWpis)
        return font;
    for (int i = 0; i < tabel; ++i) {
        char *wpis = font.data() + kKatalog + i * kWpis;
        const QByteArray znacznik(wpis, 4);
        if (znacznik == "EBLC" || znacznik == "EBDT" || znacznik == "EBSC")
            wpis[0] = 'x';
        if (znacznik == "OS/2") {
            const quint32 poczatek = qFromBigEndian<quint32>(wpis + 8);
            if (poczatek + kFsSelection + 2 <= quint32(font.size())) {
                char *pole = font.data() + poczatek + kFsSelection;
                qToBigEndian<quint16>(qFromBigEndian<quint16>(pole) & ~kUseTypoMetrics, pole);
            }
        }
    }
    return font;
}

bool dodajTahome(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return QFontDatabase::addApplicationFontFromData(tahomaJakWWindows(file.readAll())) >= 0;
}

} // namespace

QString FolderCzcionekTahoma()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

bool ZaladujCzcionkiTahoma(const QString &folder)
{
    const QDir dir(folder);
    const bool regular = dodajTahome(dir.filePath(QStringLiteral("tahoma.ttf")));
    dodajTahome(dir.filePath(QStringLiteral("tahomabd.ttf")));
    return regular;
}

void UstawCzcionkeProgramu()
{
    QFont font = QApplication::font();
    const QStringList families = QFontDatabase::families();
    QStringList chosen;
    for (const char *name : {"Tahoma", "DejaVu Sans", "Liberation Sans", "Noto Sans"})
        if (families.contains(QString::fromLatin1(name), Qt::CaseInsensitive))
            chosen << QString::fromLatin1(name);
    if (!chosen.isEmpty())
        font.setFamilies(chosen);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

} // namespace katarix::app
