#pragma once

namespace katarix::app {

// Everything the program does between creating the application object and showing the main
// window: its name, the user's regional settings and Qt's translation for them, the font (Tahoma
// where the system has it) and the scale of designed sizes, the windows and modules of the
// layers above the shell, and the long-lived forms (UtworzFormularze). Tests call it to go
// through the same start-up as the program.
void PrzygotujProgram();

} // namespace katarix::app
