#pragma once

// Timing samples in milliseconds and their order statistics.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace katarix::bench {

// Milliseconds that `f` takes.
inline double milliseconds(const std::function<void()> &f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The q-quantile (0..1) of sorted, non-empty samples: the sample at the nearest rank.
inline double kwantyl(const std::vector<double> &sorted, double q)
{
    return sorted[std::min(sorted.size() - 1, size_t(q * double(sorted.size() - 1) + 0.5))];
}

inline double mediana(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return kwantyl(samples, 0.5);
}

// Prints "<what>, <n> <unit>: median, p99, max" of the samples.
inline int wypiszCzasy(std::vector<double> samples, const char *what, const char *unit)
{
    if (samples.empty()) {
        std::fprintf(stderr, "No samples.\n");
        return 1;
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%s, %zu %s: median %.2f ms, p99 %.2f ms, max %.2f ms\n", what, samples.size(), unit, kwantyl(samples, 0.5),
                kwantyl(samples, 0.99), samples.back());
    return 0;
}

} // namespace katarix::bench
