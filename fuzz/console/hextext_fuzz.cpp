// Feeds arbitrary bytes to the hexadecimal text functions and compares the string helpers with their literal
// repeat-from-start definitions. Layout: byte 0 selects the function and flags, byte 1 the marker length, then
// the marker(s) and the text.
#include "text/HexText.h"
#include "text/StringEdit.h"
#include "tests/text/HexTextReference.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void FuzzConversions(const std::string &text) {
    std::vector<BYTE> bytes(text.size() + 1, 0xEE);
    DWORD count = 0xFFFFFFFFu;
    if (!HexTextToBytes(text.data(), static_cast<DWORD>(text.size()), bytes.data(), &count)) {
        Check(count == 0xFFFFFFFFu);
        return;
    }
    Check(count <= text.size());
    Check(bytes[text.size()] == 0xEE);
    if (count == 0) {
        return;
    }
    std::string hex(2 * count, '\0');
    DWORD length = static_cast<DWORD>(hex.size());
    Check(BytesToHexText(bytes.data(), count, &hex[0], &length) && length == 2 * count);
    std::vector<BYTE> again(hex.size(), 0);
    DWORD againCount = 0;
    Check(HexTextToBytes(hex.data(), length, again.data(), &againCount) && againCount == count);
    Check(std::memcmp(again.data(), bytes.data(), count) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const unsigned selector = data[0];
    const size_t markerLength = data[1] % 8;
    if (size < 2 + 2 * markerLength) {
        return 0;
    }
    const std::string begin(reinterpret_cast<const char *>(data) + 2, markerLength);
    const std::string end(reinterpret_cast<const char *>(data) + 2 + markerLength, markerLength);
    const std::string text(reinterpret_cast<const char *>(data) + 2 + 2 * markerLength, size - 2 - 2 * markerLength);
    // The helpers take zero-terminated markers; compare only markers without inner zeros.
    const bool usable = begin.find('\0') == std::string::npos && end.find('\0') == std::string::npos;
    // The literal definitions are quadratic; keep them to texts that stay quick.
    const bool compare = usable && text.size() <= 4096;

    switch (selector % 4) {
    case 0:
        FuzzConversions(text);
        break;
    case 1: {
        std::string s = text;
        const DWORD rc = RemoveAll(s, begin.c_str());
        if (text.empty() || begin.empty() || !usable) {
            Check(rc == RC_BAD_ARGUMENT || (!usable && rc == 0));
        } else if (compare) {
            Check(rc == 0 && s == reference::RemoveAll(text, begin));
        }
        break;
    }
    case 2: {
        std::string s = text;
        const DWORD rc = StripComments(s, begin.c_str());
        if (compare && !text.empty() && !begin.empty()) {
            Check(rc == 0 && s == reference::StripComments(text, begin));
        }
        break;
    }
    case 3: {
        std::string source = text, out = "previous";
        const bool keep = (selector & 4) != 0;
        const DWORD rc = ExtractBetween(out, source, begin.c_str(), end.c_str(), keep);
        if (compare && !text.empty() && !begin.empty()) {
            std::string refSource = text;
            Check(rc == 0 && out == reference::ExtractBetween(refSource, begin, end, keep) && source == refSource);
        }
        break;
    }
    }
    return 0;
}
