// Throughput of the .trace file scan and write for 100,000 records (about 6 MB), and of the view's row reading,
// beside memchr and memcpy over the same bytes in the same process.
#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"

#include "bench/common/Throughput.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

double BestSeconds(const std::function<void()> &run) {
    return BestOfRounds(5, [] {}, run);
}

} // namespace

int main() {
    // Lines as a card session produces them: APDUs, responses, status texts in GBK.
    const char *const lines[] = {"\xC1\xAC\xBD\xD3\xB3\xC9\xB9\xA6\xA3\xA1",
                                 "00A4040007A0000000031010",
                                 "6F1A840E315041592E5359532E4444463031A5088801015F2D027A689000",
                                 "\xBB\xF1\xC8\xA1"
                                 "ATR\xB3\xC9\xB9\xA6\xA3\xA1",
                                 "3B9F958011FE9F",
                                 "80CA9F7F00 9F7F2A4090728112919110100000000000000000000000000000000000000000009000"};
    std::vector<std::string> records(100000);
    for (size_t i = 0; i < records.size(); ++i) {
        FormatTraceRecord(static_cast<int>(i), lines[i % 6], records[i]);
    }
    std::string image;
    WriteTraceFile(records, image);
    std::printf("%zu records, %zu bytes\n", records.size(), image.size());

    std::vector<char> copy(image.size());
    volatile size_t sink = 0;
    const double memcpyTime = BestSeconds([&] {
        std::memcpy(copy.data(), image.data(), image.size());
        sink = sink + static_cast<unsigned char>(copy[copy.size() / 2]);
    });
    ReportThroughput("baseline memcpy", image.size(), memcpyTime, memcpyTime);
    ReportThroughput("baseline memchr", image.size(),
           BestSeconds([&] { sink = sink + (std::memchr(image.data(), 1, image.size()) != nullptr); }), memcpyTime);

    std::vector<std::string> parsed;
    ReportThroughput("parse 100,000 records", image.size(), BestSeconds([&] { ParseTraceText(image, parsed); }), memcpyTime);
    std::string written;
    ReportThroughput("write 100,000 records", image.size(), BestSeconds([&] { WriteTraceFile(records, written); }), memcpyTime);
    std::string formatted;
    ReportThroughput("format 100,000 records", image.size(), BestSeconds([&] {
               for (size_t i = 0; i < records.size(); ++i) {
                   FormatTraceRecord(static_cast<int>(i), lines[i % 6], formatted);
               }
           }),
           memcpyTime);
    TraceRow row;
    ReportThroughput("read rows of 100,000 records", image.size(), BestSeconds([&] {
               for (const std::string &record : parsed) {
                   ExtractTraceRow(record, row);
               }
           }),
           memcpyTime);
    return parsed.size() == records.size() && written == image ? 0 : 1;
}
