#include "trace/TraceRecord.h"

#include "text/HexText.h"
#include "text/StringEdit.h"

#include <climits>
#include <string>
#include <new>

namespace {

// GBK bytes of the markers, spelled out so that every compiler and execution character set gives the same bytes.
const char kNumberMark[] = "\xB5\xDA"; // 第
const char kTextMark[] = "\xCC\xF5"    // 条
                         " ";
const char kCountMark[] = "\xCC\xF5"; // 条
const char kLengthMark[] = " @@";
const char kCloseMark[] = " -->";

bool IsAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// ExtractBetween on a private copy: the row's three pieces are each taken from the whole record.
DWORD PieceOf(const std::string &record, const char *begin, const char *end, std::string &piece) {
    try {
        std::string source = record;
        return ExtractBetween(piece, source, begin, end, false);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
}

} // namespace

DWORD FormatTraceRecord(int number, const std::string &text, std::string &record) {
    try {
        const std::string numberText = std::to_string(number);
        const std::string lengthText = std::to_string(text.size());
        std::string built;
        built.reserve(text.size() + numberText.size() + lengthText.size() + 20);
        built.append("<--").append(kNumberMark).append(numberText).append(kTextMark);
        built.append(text);
        built.append(kLengthMark).append(" ").append(lengthText).append(kCloseMark).append("\n");
        record.swap(built);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}

int ReadDecimalLikeAtoi(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && IsAtoiSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

DWORD ExtractTraceRow(const std::string &record, TraceRow &row) {
    if (record.empty()) {
        return RC_BAD_ARGUMENT;
    }
    std::string text, number, length;
    DWORD rc = PieceOf(record, kTextMark, kLengthMark, text);
    if (rc == 0) {
        rc = PieceOf(record, kNumberMark, kCountMark, number);
    }
    if (rc == 0) {
        rc = PieceOf(record, kLengthMark, kCloseMark, length);
    }
    if (rc != 0) {
        return rc;
    }
    const int count = ReadDecimalLikeAtoi(length);
    if (count >= 0 && static_cast<size_t>(count) < text.size()) {
        text.resize(static_cast<size_t>(count));
    }
    row.nNumber = ReadDecimalLikeAtoi(number);
    row.strText.swap(text);
    return 0;
}
