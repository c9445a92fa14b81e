#pragma once

#include <functional>

namespace katarix::app {

// The forms that live for the whole run, created at start-up and freed at the end.

// The extract data module comes from the reports layer, above this one: its module installs
// the function that creates WypisyDM (and stores the global) before UtworzFormularze runs.
void ustawTworzenieWypisyDM(std::function<void()> utworz);
// Sets the application title and creates MainFrm, UstawieniaFrm, WypisyDM and AboutFrm in
// this order.
void UtworzFormularze();
// Deletes what UtworzFormularze created (the main window, the settings dialog and the About box)
// and puts the settings back to a value made without the configuration file.
void ZwolnijFormularze();

} // namespace katarix::app
