#pragma once

// What the register window benchmarks share: their command line and the benchmark register.

#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "registergen/RegisterGenerator.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace katarix::bench {

// The value after `name` on the command line, or the fallback.
inline QString argument(const QStringList &args, const QString &name, const QString &fallback = QString())
{
    const int i = int(args.indexOf(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

// Opens --register FILE.sqlite or bench/register-100k.sqlite (generated there when missing:
// 100,000 parcels, seed 1) under the Polish decimal separator.
inline void otworzRejestr(jet::Database &db, const QStringList &args)
{
    jet::setDecimalSeparator(QLatin1Char(','));
    registergen::openGeneratedRegister(
        db, argument(args, QStringLiteral("--register"), QStringLiteral(KATARIX_BENCH_DIR "/register-100k.sqlite")), {100000, 1});
}

// Prints "<what>, <n> <unit>: median, p99, max" of samples in milliseconds.
inline int wypiszCzasy(std::vector<double> samples, const char *what, const char *unit)
{
    if (samples.empty()) {
        std::fprintf(stderr, "No samples.\n");
        return 1;
    }
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[std::min(samples.size() - 1, size_t(q * double(samples.size() - 1) + 0.5))]; };
    std::printf("%s, %zu %s: median %.2f ms, p99 %.2f ms, max %.2f ms\n", what, samples.size(), unit, at(0.5), at(0.99),
                samples.back());
    return 0;
}

} // namespace katarix::bench
