// Text preparation of a 1 MB script (upper-casing, spaces, comments, conversion) and command-list parsing,
// in MB/s beside memcpy of the same bytes; also over 2 and 4 MB to show that the time grows linearly.
#include "console/ApduList.h"
#include "console/ApduScriptRunner.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string MakeScript(size_t size) {
    static const char* const lines[] = {"; select the payment application\r\n", "00 a4 04 00 07 a0 00 00 00 03 10 10\r\n",
                                        "80CA9F7F00\r\n", "00 84 00 00 08\r\n", "00B0000000\r\n"};
    std::string s;
    for (size_t i = 0; s.size() < size; ++i)
        s += lines[i % 5];
    return s;
}

template <class F> double Best(F&& run) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

} // namespace

int main() {
    for (size_t mb : {1, 2, 4}) {
        const std::string script = MakeScript(mb << 20);
        std::vector<char> copy(script.size());
        const double base = Best([&] { std::memcpy(copy.data(), script.data(), script.size()); });
        size_t commands = 0;
        const double prep = Best([&] {
            std::vector<BYTE> bytes;
            PrepareScriptBytes(script.data(), static_cast<DWORD>(script.size()), bytes);
            CApduList list;
            list.Parse(bytes.data(), static_cast<DWORD>(bytes.size()));
            commands = list.m_nCount;
        });
        const double mbytes = script.size() / 1048576.0;
        std::printf("script %zu MB (%zu commands): prepare+parse %.1f MB/s, memcpy %.1f MB/s, ratio %.1fx\n", mb,
                    commands, mbytes / prep, mbytes / base, prep / base);
    }
    return 0;
}
