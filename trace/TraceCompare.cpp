#include "trace/TraceCompare.h"

#include "trace/TraceRecord.h"

#include <new>

namespace {
// A lead byte of a two-byte GBK character.
bool IsGbkLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
} // namespace

DWORD TraceLinesOfRecords(const std::vector<std::string> &records, std::vector<std::string> &lines) {
    try {
        std::vector<std::string> texts;
        texts.reserve(records.size());
        for (const std::string &record : records) {
            TraceRow row;
            if (DWORD rc = ExtractTraceRow(record, row))
                return rc;
            texts.push_back(std::move(row.strText));
        }
        lines.swap(texts);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}

TraceDifference CompareTraceLines(const std::vector<std::string> &actual, const std::vector<std::string> &expected) {
    TraceDifference diff;
    const size_t common = actual.size() < expected.size() ? actual.size() : expected.size();
    for (size_t i = 0; i < common; ++i) {
        if (actual[i] != expected[i]) {
            diff.nKind = TraceDifference::kChanged;
            diff.nIndex = i;
            diff.strExpected = expected[i];
            diff.strActual = actual[i];
            return diff;
        }
    }
    if (actual.size() < expected.size()) {
        diff.nKind = TraceDifference::kMissing;
        diff.nIndex = common;
        diff.strExpected = expected[common];
    } else if (actual.size() > expected.size()) {
        diff.nKind = TraceDifference::kExtra;
        diff.nIndex = common;
        diff.strActual = actual[common];
    }
    return diff;
}

std::string ClipGbkText(const std::string &text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    size_t end = 0;
    while (end < text.size()) {
        // A lead byte without its trail byte (a cut-off character) counts as one byte.
        const size_t step = IsGbkLead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return text.substr(0, end) + "…";
}
