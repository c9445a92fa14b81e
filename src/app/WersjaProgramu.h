#pragma once

#include <QString>

#include <functional>

namespace katarix::app {

// The program's version from the build ("0.1.0"); empty when the build has none.
QString WersjaProgramu();
// Replaces where the version is read from (null: the build); the source may throw.
void ustawZrodloWersji(std::function<QString()> zrodlo);

} // namespace katarix::app
