// Arbitrary bytes as a .trace file: the scan, the view's row reading of every record it finds, the bounded reading
// of prefixed strings, and (on small inputs) agreement with the literal record loop.
#include "text/PrefixedString.h"
#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"
#include "tests/trace/TraceReference.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // An exact-size copy, so that any read past the file's bytes is caught.
    const std::vector<char> file(data, data + size);
    const char *bytes = file.empty() ? nullptr : file.data();

    std::vector<std::string> records = {"<--before-->"};
    Check(ParseTraceText(bytes, size, records) == 0);
    if (size == 0) {
        Check(records.size() == 1);
    }
    size_t total = 0;
    for (const std::string &record : records) {
        Check(record.size() >= 3 && record.compare(record.size() - 3, 3, "-->") == 0);
        total += record.size();
        TraceRow row;
        Check(ExtractTraceRow(record, row) == 0);
        Check(row.strText.size() <= record.size());
    }
    Check(total <= size || size == 0);
    if (size != 0 && size <= 2048) {
        const std::string text(file.begin(), file.end());
        Check(records == reference::ParseTraceText(text, {"<--before-->"}));
    }

    // Saving what was found and scanning it again gives the same records, when each begins with its "<--" (a rest
    // loaded without one takes the prefix byte in front of it along on the second scan).
    std::string image;
    Check(WriteTraceFile(records, image) == 0);
    bool opened = true;
    for (const std::string &record : records) {
        opened = opened && record.compare(0, 3, "<--") == 0;
    }
    std::vector<std::string> again;
    Check(ParseTraceText(image, again) == 0);
    Check(!opened || (image.empty() ? again.empty() : again == records));

    size_t pos = 0;
    std::string text;
    while (ReadPrefixedString(bytes, size, pos, text, 1u << 20) == PS_OK) {
        Check(pos <= size);
    }
    return 0;
}
