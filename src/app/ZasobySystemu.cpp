#include "app/ZasobySystemu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace katarix::app {

bool ZaladujTlumaczenieQt()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

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

} // namespace katarix::app
