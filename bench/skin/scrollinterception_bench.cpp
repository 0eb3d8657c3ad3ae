// Installing and removing the interception of the eight scroll-bar functions, as engine start and exit do.
// Prints microseconds; not a test.
#include "skin/ScrollBarInterception.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
typedef std::chrono::steady_clock Clock;

double Micro(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Figures {
    double best, median;
};

Figures Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return Figures{samples.front(), samples[samples.size() / 2]};
}
} // namespace

int main() {
    const int rounds = 200;
    std::vector<double> install, remove, both;
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point start = Clock::now();
        const int installed = CScrollBarInterception::InstallAll();
        const Clock::time_point middle = Clock::now();
        const int removed = CScrollBarInterception::RemoveAll();
        const Clock::time_point end = Clock::now();
        if (installed != CScrollBarInterception::FUNCTION_COUNT || removed != installed) {
            std::printf("interception failed: %d installed, %d removed (error %lu)\n", installed, removed,
                        ::GetLastError());
            return 1;
        }
        install.push_back(Micro(middle - start));
        remove.push_back(Micro(end - middle));
        both.push_back(Micro(end - start));
    }
    const Figures i = Summarise(install), r = Summarise(remove), b = Summarise(both);
    std::printf("scroll-bar interception, %d functions, %d rounds (%d-bit)\n",
                int(CScrollBarInterception::FUNCTION_COUNT), rounds, int(sizeof(void *) * 8));
    std::printf("%-24s best %8.1f us  median %8.1f us\n", "install", i.best, i.median);
    std::printf("%-24s best %8.1f us  median %8.1f us\n", "remove", r.best, r.median);
    std::printf("%-24s best %8.1f us  median %8.1f us\n", "install + remove", b.best, b.median);
    return 0;
}
