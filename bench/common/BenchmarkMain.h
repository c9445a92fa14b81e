#pragma once

// Google Benchmark's main for benchmarks of windows: they need a QApplication.

#include "common/Aplikacja.h"

#include <benchmark/benchmark.h>

namespace katarix::bench {

inline int uruchomBenchmarki(int argc, char **argv)
{
    Aplikacja application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace katarix::bench
