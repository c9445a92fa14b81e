#pragma once

namespace katarix::persons {

// Makes the main window's "Kartoteka osób" command open the person file.
void zarejestrujKartotekeOsob();

} // namespace katarix::persons
