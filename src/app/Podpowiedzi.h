#pragma once

#include <QString>

namespace katarix::app {

// The short part of a hint "short|long" (tooltip) and the long part (status bar); a hint
// without "|" is both.
QString KrotkaPodpowiedz(const QString &hint);
QString DlugaPodpowiedz(const QString &hint);

} // namespace katarix::app
