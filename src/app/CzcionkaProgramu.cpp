#include "app/CzcionkaProgramu.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

namespace katarix::app {

QString FolderCzcionekTahoma()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

bool ZaladujCzcionkiTahoma(const QString &folder)
{
    const QDir dir(folder);
    const bool regular = QFontDatabase::addApplicationFont(dir.filePath(QStringLiteral("tahoma.ttf"))) >= 0;
    QFontDatabase::addApplicationFont(dir.filePath(QStringLiteral("tahomabd.ttf")));
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
