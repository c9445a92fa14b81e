#include "parcels/Rejestracja.h"

#include "app/RejestrOkien.h"
#include "parcels/KarDzFrm.h"

namespace katarix::parcels {

void zarejestrujKartotekeDzialek()
{
    app::zarejestrujOkno(app::OknoProgramu::KartotekaDzialek, [] { return new TKarDzFrm; });
}

} // namespace katarix::parcels
