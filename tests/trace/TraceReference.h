// The loader's record loop written out literally (copy the rest, cut, extract), with the whole text scanned and a
// rest without "-->" dropped: the yardstick for the linear parser.
#pragma once

#include "text/HexText.h"
#include "text/StringEdit.h"

#include <string>
#include <vector>

namespace reference {

inline std::vector<std::string> ParseTraceText(const std::string &text, const std::vector<std::string> &previous) {
    if (text.empty()) {
        return previous;
    }
    std::vector<std::string> records;
    std::string work = text;
    for (;;) {
        const size_t open = work.find("<--");
        if (open != std::string::npos) {
            work.erase(0, open);
        }
        if (work.find("-->") == std::string::npos) {
            break;
        }
        std::string piece, source = work;
        ExtractBetween(piece, source, "<--", "-->", true);
        if (piece.size() < 2) {
            break;
        }
        records.push_back(piece);
        work.erase(0, piece.size());
        if (work.empty()) {
            break;
        }
    }
    return records;
}

} // namespace reference
