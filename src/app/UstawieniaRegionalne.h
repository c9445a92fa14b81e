#pragma once

namespace katarix::app {

// The user's regional settings (the locale of LC_ALL / LC_NUMERIC / LANG) for the whole
// program: Qt's default locale and the decimal separator of every number printed or parsed.
void UstawUstawieniaRegionalne();

// Qt's own translation for the user's language (qtbase_<language>.qm from Qt's translations
// folder, Debian's qt6-translations-l10n), so that the standard dialogs speak it: "Anuluj",
// "Szukaj w:". Returns whether one was installed.
bool ZaladujTlumaczenieQt();

} // namespace katarix::app
