// Skin loading figures: LZO decompression throughput beside a plain copy of the same bytes, and the full load
// (decompress, parse, decode every image) of each compiled skin. Ratios are against baselines of this run.
#include "skin/Skin.h"
#include "skin/SkinContainer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

typedef std::chrono::steady_clock Clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

std::vector<BYTE> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Repeats work until at least a quarter second has passed; returns seconds per run.
template <class F> double Time(F work)
{
    int runs = 0;
    Clock::time_point start = Clock::now();
    do {
        work();
        ++runs;
    } while (Seconds(Clock::now() - start) < 0.25);
    return Seconds(Clock::now() - start) / runs;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : QX_SKIN_DIR;
    const char* names[] = {"CORONA", "DEVIOR", "FUTURAIII", "KROMO", "XPSTEEL"};
    std::printf("%-10s %10s %10s %12s %12s %8s %10s\n", "skin", "packed", "unpacked", "LZO MB/s", "memcpy MB/s",
                "ratio", "load ms");
    for (const char* name : names) {
        std::vector<BYTE> bytes = ReadFile(dir + "/" + name + ".skin");
        CSkinStream container;
        if (!container.Create(bytes.data(), static_cast<DWORD>(bytes.size()))) {
            std::printf("%-10s missing in %s\n", name, dir.c_str());
            continue;
        }
        CSkinStream file;
        if (!CSkinContainer::Decompress(container, file)) {
            std::printf("%-10s does not decompress\n", name);
            continue;
        }
        const DWORD size = file.GetLength();
        std::vector<BYTE> copy(size);
        volatile BYTE sink = 0;
        double lzo = Time([&] {
            CSkinStream out;
            CSkinContainer::Decompress(container, out);
            sink = sink + out.GetBuffer()[size / 2];
        });
        double copied = Time([&] {
            std::memcpy(copy.data(), file.GetBuffer(), size);
            sink = sink + copy[size / 2];
        });
        double load = Time([&] {
            CSkin skin;
            skin.Read(container);
            sink = sink + static_cast<BYTE>(skin.GetObjects().size());
        });
        double mb = size / 1e6;
        std::printf("%-10s %10u %10u %12.1f %12.1f %8.2f %10.3f\n", name, static_cast<unsigned>(bytes.size()),
                    static_cast<unsigned>(size), mb / lzo, mb / copied, copied / lzo, load * 1000.0);
    }
    return 0;
}
