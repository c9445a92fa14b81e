#pragma once

#include <QString>

namespace katarix::parcels {

// The criteria of a parcel search as the dialog holds them: a key as text for each chosen
// list (empty when nothing is chosen), the edits' texts as typed.
struct KryteriaDzialek {
    QString gmina{}, obreb{}, jr{}, arkusz{};
    QString licznik{}, mianownik{}, nrAdd{};
    QString powOd{}, powDo{}; // hectares
    QString kw{};
    QString aw{}, polozenie{};
    bool bezAdresu = false;
    QString miejscowosc{}, ulica{}, numer{};
    QString klasa{}, uzytek{};
    QString powKlauzOd{}, powKlauzDo{}; // hectares
};

enum class StanHistorii { Aktualne, Archiwalne, Wszystkie };

// The history condition (macro WAR_HIST) of the chosen state.
QString WarunekHistorii(StanHistorii stan);

// The criteria joined by " AND " in their fixed order (macro WAR_ALL); empty when no criterion is
// filled. Throws AppError for an area that is no number and for a parcel number that is not
// digits only (both are written into the SQL unquoted).
QString WarunekSelekcji(const KryteriaDzialek &k);

// An area in hectares as typed (full stop or comma) in square metres as SQL text.
QString PowierzchniaSql(const QString &hektary);

} // namespace katarix::parcels
