// Throughput of the hexadecimal text functions on a 4 MB script-like text with thousands of comments, beside
// memchr and memcpy over the same bytes in the same process.
#include "text/HexText.h"
#include "text/StringEdit.h"

#include "bench/common/Throughput.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

const size_t kTextBytes = 4u << 20;

// APDU lines with trailing comments, whole-line comments and blank lines, as a long script would have them.
std::string MakeScript(size_t size, size_t &comments) {
    static const char *const apdus[] = {"00 A4 04 00 07 A0 00 00 00 03 10 10", "80 CA 9F 7F 00", "00 B0 00 00 FF",
                                        "00 84 00 00 08", "00 C0 00 00 10"};
    static const char *const notes[] = {"select the application", "read the binary file", "get challenge",
                                        "\xB6\xC1\xBF\xA8", "ask for the response"};
    std::mt19937 rng(42);
    std::string s;
    s.reserve(size + 128);
    comments = 0;
    while (s.size() < size) {
        switch (rng() % 4) {
        case 0:
            s += "; ";
            s += notes[rng() % 5];
            s += "\r\n";
            ++comments;
            break;
        case 1:
            s += apdus[rng() % 5];
            s += " ; ";
            s += notes[rng() % 5];
            s += "\r\n";
            ++comments;
            break;
        case 2:
            s += apdus[rng() % 5];
            s += "\r\n";
            break;
        default:
            s += "\r\n";
            break;
        }
    }
    return s;
}

// Best of several runs; `prepare` is not timed.
double BestSeconds(const std::function<void()> &prepare, const std::function<void()> &run) {
    return BestOfRounds(7, prepare, run);
}

} // namespace

int main() {
    size_t comments = 0;
    const std::string script = MakeScript(kTextBytes, comments);
    std::printf("script text: %zu bytes, %zu comments\n", script.size(), comments);

    std::string work;
    std::vector<char> copy(script.size());
    volatile size_t sink = 0;
    const auto reset = [&] { work = script; };

    const double memcpyTime = BestSeconds([] {},
                                          [&] {
                                              std::memcpy(copy.data(), script.data(), script.size());
                                              sink = sink + static_cast<unsigned char>(copy[copy.size() / 2]);
                                          });
    const double memchrTime =
        BestSeconds([] {}, [&] { sink = sink + (std::memchr(script.data(), 0, script.size()) != nullptr); });
    ReportThroughput("baseline memcpy", script.size(), memcpyTime, memcpyTime);
    ReportThroughput("baseline memchr", script.size(), memchrTime, memcpyTime);

    ReportThroughput("StripComments \";\"", script.size(), BestSeconds(reset, [&] { StripComments(work, ";"); }), memcpyTime);
    std::string marked = script;
    for (size_t at = marked.find("; "); at != std::string::npos; at = marked.find("; ", at + 2)) {
        marked[at] = '/';
        marked.insert(at, 1, '/');
    }
    ReportThroughput("StripComments \"//\"", marked.size(),
           BestSeconds([&] { work = marked; }, [&] { StripComments(work, "//"); }), memcpyTime);
    ReportThroughput("RemoveAll \" \"", script.size(), BestSeconds(reset, [&] { RemoveAll(work, " "); }), memcpyTime);
    ReportThroughput("RemoveAll \"00 \"", script.size(), BestSeconds(reset, [&] { RemoveAll(work, "00 "); }), memcpyTime);
    std::string nested = std::string(script.size() / 2, 'a') + std::string(script.size() / 2, 'b');
    ReportThroughput("RemoveAll \"ab\" on a^n b^n", nested.size(),
           BestSeconds([&] { work = nested; }, [&] { RemoveAll(work, "ab"); }), memcpyTime);

    std::string apdus = script;
    StripComments(apdus, ";");
    RemoveAll(apdus, " ");
    DWORD count = 0;
    std::vector<BYTE> bytes(apdus.size());
    ReportThroughput("HexTextToBytes (stripped script)", apdus.size(),
           BestSeconds([] {},
                       [&] { HexTextToBytes(apdus.data(), static_cast<DWORD>(apdus.size()), bytes.data(), &count); }),
           memcpyTime);
    std::vector<char> text(2 * count);
    DWORD length = 0;
    ReportThroughput("BytesToHexText (output bytes)", 2 * count,
           BestSeconds([&] { length = static_cast<DWORD>(text.size()); },
                       [&] { BytesToHexText(bytes.data(), count, text.data(), &length); }),
           memcpyTime);

    std::string out;
    std::string between = script + "<--" + std::string(64, 'x') + "-->";
    ReportThroughput("ExtractBetween (markers at the end)", between.size(),
           BestSeconds([&] { work = between; }, [&] { ExtractBetween(out, work, "<--", "-->", false); }), memcpyTime);
    return static_cast<int>(sink & 0);
}
