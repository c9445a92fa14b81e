#pragma once

#include <QString>

namespace katarix::app {

// Where Debian's fonts-wine puts Tahoma, outside fontconfig's folders.
QString FolderCzcionekTahoma();
// Makes Tahoma (regular and bold, the face the windows are designed for) known to the program
// when the system has it there, with the line height Windows gives it (13 px at 11 px, the
// accents of capitals inside it). Returns whether the regular face was loaded.
bool ZaladujCzcionkiTahoma(const QString &folder = FolderCzcionekTahoma());

// The font of the whole user interface (Tahoma 11 px where present, else a sans-serif face
// with Polish letters).
void UstawCzcionkeProgramu();

} // namespace katarix::app
