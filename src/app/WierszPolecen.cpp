#include "app/WierszPolecen.h"

#include <QFileInfo>

namespace katarix::app {

QString rejestrZWierszaPolecen(const QStringList &arguments)
{
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return QString();
    return QFileInfo(arguments.at(1)).absoluteFilePath();
}

} // namespace katarix::app
