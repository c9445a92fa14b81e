#include "browsers/Rejestracja.h"

#include "app/RejestrOkien.h"
#include "browsers/RgFrm.h"
#include "browsers/RlFrm.h"

namespace katarix::browsers {

void zarejestrujOknaRejestrow()
{
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, [] { return new TRgFrm; });
    app::zarejestrujOkno(app::OknoProgramu::RejestrLokali, [] { return new TRlFrm; });
}

} // namespace katarix::browsers
