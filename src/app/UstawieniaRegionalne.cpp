#include "app/UstawieniaRegionalne.h"

#include "jet/JetFunctions.h"

#include <QLocale>

namespace katarix::app {

void UstawUstawieniaRegionalne()
{
    QLocale::setDefault(QLocale::system());
    jet::useSystemDecimalSeparator();
}

} // namespace katarix::app
