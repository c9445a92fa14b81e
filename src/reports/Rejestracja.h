#pragma once

namespace katarix::reports {

// Has the start-up create the extract module WypisyDM on the main window's connection, scratch
// query and report component (call before UtworzFormularze).
void zarejestrujWypisyDM();

// Makes "Raporty" -> "Alfabetyczny spis władających" open TSpisWladFrm.
void zarejestrujSpisWladajacych();

} // namespace katarix::reports
