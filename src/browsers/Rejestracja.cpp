#include "browsers/Rejestracja.h"

#include "app/MainFrm.h"
#include "browsers/RgFrm.h"

namespace katarix::browsers {

void zarejestrujOknaRejestrow()
{
    app::zarejestrujOkno(app::OknoProgramu::RejestrGruntow, [] { return new TRgFrm; });
}

} // namespace katarix::browsers
