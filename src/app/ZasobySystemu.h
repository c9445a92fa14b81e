#pragma once

#include <QString>

namespace katarix::app {

// What the program takes from the system at start-up besides the locale.

// Qt's own translation for the user's language (qtbase_<language>.qm from Qt's translations
// folder, Debian's qt6-translations-l10n), so that the standard dialogs speak it: "Anuluj",
// "Szukaj w:". Returns whether one was installed.
bool ZaladujTlumaczenieQt();

// Where Debian's fonts-wine puts Tahoma, outside fontconfig's folders.
QString FolderCzcionekTahoma();
// Makes Tahoma (regular and bold, the face the windows are designed for) known to the program
// when the system has it there. Returns whether the regular face was loaded.
bool ZaladujCzcionkiTahoma(const QString &folder = FolderCzcionekTahoma());

} // namespace katarix::app
