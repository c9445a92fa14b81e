#pragma once

#include <QString>
#include <QStringList>

namespace katarix::app {

// The register given on the program's command line (arguments as QCoreApplication gives them,
// Qt's own options already taken out): the first argument after the program's name, made
// absolute against the current folder; empty when there is none. Further arguments are ignored.
QString rejestrZWierszaPolecen(const QStringList &arguments);

} // namespace katarix::app
