#include "trace/TraceFile.h"

#include "text/PrefixedString.h"

#include <new>
#include <string_view>

DWORD WriteTraceFile(const std::vector<std::string> &records, std::string &image) {
    size_t total = 0;
    for (const std::string &record : records) {
        if (record.size() > kMaxPrefixedLength) {
            return RC_BAD_ARGUMENT;
        }
        total += PrefixSize(record.size()) + record.size();
    }
    try {
        std::string built;
        built.reserve(total);
        for (const std::string &record : records) {
            if (AppendPrefixedString(built, record.data(), record.size()) != PS_OK) {
                return RC_NO_MEMORY; // lengths were checked above; only memory can be short here
            }
        }
        image.swap(built);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}

// Each step cuts the text in front of the next "<--" and takes it through the next "-->". Searching every step from
// where the previous record ended keeps the scan linear; the position of the next "<--" is remembered across steps
// so that a text with many "-->" and no further "<--" is not searched to its end again for each of them.
DWORD ParseTraceText(const char *data, size_t size, std::vector<std::string> &records) {
    if (!data || size == 0) {
        return 0;
    }
    const std::string_view text(data, size);
    const std::string_view open("<--"), close("-->");
    try {
        std::vector<std::string> found;
        size_t pos = 0;
        size_t nextOpen = text.find(open);
        while (pos < size) {
            if (nextOpen != std::string_view::npos && nextOpen < pos) {
                nextOpen = text.find(open, pos);
            }
            const size_t start = nextOpen == std::string_view::npos ? pos : nextOpen;
            const size_t closeAt = text.find(close, start);
            if (closeAt == std::string_view::npos) {
                break; // stray bytes or an unclosed "<--" after the last record
            }
            const size_t end = closeAt + close.size();
            found.emplace_back(data + start, end - start);
            pos = end;
        }
        records.swap(found);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}

DWORD ParseTraceText(const std::string &text, std::vector<std::string> &records) {
    return ParseTraceText(text.data(), text.size(), records);
}
