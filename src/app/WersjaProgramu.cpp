#include "app/WersjaProgramu.h"

namespace katarix::app {

namespace {

std::function<QString()> &zrodloWersji()
{
    static std::function<QString()> source;
    return source;
}

} // namespace

QString WersjaProgramu()
{
    if (zrodloWersji())
        return zrodloWersji()();
#ifdef KATARIX_VERSION
    return QStringLiteral(KATARIX_VERSION);
#else
    return QString();
#endif
}

void ustawZrodloWersji(std::function<QString()> zrodlo)
{
    zrodloWersji() = std::move(zrodlo);
}

} // namespace katarix::app
