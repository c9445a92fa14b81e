#include "app/UstawieniaRegionalne.h"

#include "jet/JetFunctions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace katarix::app {

void UstawUstawieniaRegionalne()
{
    QLocale::setDefault(QLocale::system());
    jet::useSystemDecimalSeparator();
}

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

} // namespace katarix::app
