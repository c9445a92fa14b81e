#pragma once

// The benchmark register: bench/register-100k.sqlite beside the programs, generated there
// (RegisterGenerator, seed 1) when missing.

#include "common/Aplikacja.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "registergen/RegisterGenerator.h"

namespace katarix::bench {

inline QString rejestrDomyslny()
{
    return QStringLiteral(KATARIX_BENCH_DIR "/register-100k.sqlite");
}

// Opens --register FILE.sqlite or the default register of `parcels` parcels under the Polish
// decimal separator.
inline void otworzRejestr(jet::Database &db, const QStringList &args, int parcels = 100000)
{
    jet::setDecimalSeparator(QLatin1Char(','));
    registergen::openGeneratedRegister(db, argument(args, QStringLiteral("--register"), rejestrDomyslny()), {parcels, 1});
}

} // namespace katarix::bench
