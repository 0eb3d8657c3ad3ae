// Literal repeat-from-start versions of the string helpers, the yardstick for differential tests and fuzzing.
#pragma once

#include <string>

namespace reference {

// Deletes the first occurrence, searching again from the start each time.
inline std::string RemoveAll(std::string s, const std::string &sub) {
    for (size_t at = s.find(sub); at != std::string::npos; at = s.find(sub)) {
        s.erase(at, sub.size());
    }
    return s;
}

// Deletes the first marker through the first CR LF at or after it; with no CR LF, through the end.
inline std::string StripComments(std::string s, const std::string &marker) {
    for (size_t at = s.find(marker); at != std::string::npos; at = s.find(marker)) {
        const size_t lineBreak = s.find("\r\n", at);
        s.erase(at, lineBreak == std::string::npos ? std::string::npos : lineBreak + 2 - at);
    }
    return s;
}

// Returns the piece; `source` is cut in front of the first `begin`.
inline std::string ExtractBetween(std::string &source, const std::string &begin, const std::string &end,
                                  bool keepMarkers) {
    const size_t start = source.find(begin);
    if (start != std::string::npos) {
        source.erase(0, start);
    }
    const size_t at = source.find(end);
    const long long keep = (at == std::string::npos ? -1LL : static_cast<long long>(at)) + (long long)end.size();
    std::string piece = source.substr(0, static_cast<size_t>(keep));
    if (!keepMarkers) {
        piece = RemoveAll(RemoveAll(piece, begin), end);
    }
    return piece;
}

} // namespace reference
