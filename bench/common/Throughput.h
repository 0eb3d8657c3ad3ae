// Timing helpers of the throughput benchmarks: the best of a few rounds, reported against a baseline
// (usually a memcpy of the same bytes) measured in the same process.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>

// The shortest time of `rounds` runs; `prepare` runs before each one, outside the clock.
inline double BestOfRounds(int rounds, const std::function<void()> &prepare, const std::function<void()> &run) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = took.count() < best ? took.count() : best;
    }
    return best;
}

// One line: MB/s, milliseconds and the time as a multiple of the baseline's.
inline void ReportThroughput(const char *name, size_t bytes, double seconds, double baseline) {
    std::printf("%-34s %9.1f MB/s  %8.2f ms  %6.1fx memcpy time\n", name, bytes / seconds / (1024.0 * 1024.0),
                seconds * 1e3, seconds / baseline);
}
