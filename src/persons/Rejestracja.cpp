#include "persons/Rejestracja.h"

#include "app/RejestrOkien.h"
#include "persons/KarOsFrm.h"

namespace katarix::persons {

void zarejestrujKartotekeOsob()
{
    app::zarejestrujOkno(app::OknoProgramu::KartotekaOsob, [] { return new TKarOsFrm; });
}

} // namespace katarix::persons
