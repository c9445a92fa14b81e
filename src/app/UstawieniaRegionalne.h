#pragma once

namespace katarix::app {

// The user's regional settings (the locale of LC_ALL / LC_NUMERIC / LANG) for the whole
// program: Qt's default locale and the decimal separator of every number printed or parsed.
void UstawUstawieniaRegionalne();

} // namespace katarix::app
