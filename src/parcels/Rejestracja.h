#pragma once

namespace katarix::parcels {

// Makes the main window's "Kartoteka działek" command (F5, menu, toolbar) open the parcel file.
void zarejestrujKartotekeDzialek();

} // namespace katarix::parcels
