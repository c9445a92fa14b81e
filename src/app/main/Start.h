#pragma once

namespace katarix::app {

// Everything the program does between creating the application object and showing the main
// window: its name, the user's regional settings, the font, the windows and modules of the
// layers above the shell, and the long-lived forms (UtworzFormularze). Tests call it to go
// through the same start-up as the program.
void PrzygotujProgram();

} // namespace katarix::app
