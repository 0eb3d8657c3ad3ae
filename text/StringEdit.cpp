#include "text/StringEdit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Knuth-Morris-Pratt matcher with the optimised failure links: a mismatch never retries a position whose pattern
// byte is the one that just failed, which bounds the work per text byte by O(log m) even when the caller rewinds
// to an earlier state (as the deletion passes below do); the plain links would only be amortised O(1).
class PatternMatcher {
public:
    PatternMatcher(const char *pattern, size_t length) : m_pattern(pattern), m_next(length) {
        // border[j]: length of the longest proper border of pattern[0..j).
        std::vector<std::ptrdiff_t> border(length + 1);
        border[0] = -1;
        std::ptrdiff_t k = -1;
        for (size_t j = 0; j < length; ++j) {
            while (k >= 0 && pattern[k] != pattern[j]) {
                k = border[k];
            }
            ++k;
            border[j + 1] = k;
        }
        m_next[0] = -1;
        for (size_t j = 1; j < length; ++j) {
            const std::ptrdiff_t b = border[j];
            m_next[j] = pattern[b] == pattern[j] ? m_next[b] : b;
        }
    }

    // From `state` bytes matched (0 <= state < m), the number matched after `ch`; m means a complete match.
    size_t Step(size_t state, char ch) const {
        std::ptrdiff_t j = static_cast<std::ptrdiff_t>(state);
        while (j >= 0 && m_pattern[j] != ch) {
            j = m_next[j];
        }
        return static_cast<size_t>(j + 1);
    }

private:
    const char *m_pattern;
    std::vector<std::ptrdiff_t> m_next;
};

// Copies the run of bytes that cannot start a match (state 0 stays 0) in one block: the common case of long text
// between markers costs a memchr and a memmove.
void CopyUnmatchedRun(char *buf, size_t n, char first, size_t &r, size_t &w, std::vector<uint32_t> &states) {
    const void *hit = std::memchr(buf + r, first, n - r);
    const size_t end = hit ? static_cast<size_t>(static_cast<const char *>(hit) - buf) : n;
    const size_t run = end - r;
    if (run == 0) {
        return;
    }
    if (w != r) {
        std::memmove(buf + w, buf + r, run);
    }
    if (!states.empty()) {
        std::fill(states.begin() + static_cast<std::ptrdiff_t>(w) + 1,
                  states.begin() + static_cast<std::ptrdiff_t>(w + run) + 1, 0u);
    }
    w += run;
    r = end;
}

size_t FindLineBreak(const char *buf, size_t from, size_t n) {
    while (from + 1 < n) {
        const void *hit = std::memchr(buf + from, '\r', n - from - 1);
        if (!hit) {
            break;
        }
        const size_t at = static_cast<size_t>(static_cast<const char *>(hit) - buf);
        if (buf[at + 1] == '\n') {
            return at;
        }
        from = at + 1;
    }
    return std::string::npos;
}

} // namespace

// A single left-to-right pass with the result kept as a stack in the front of the same buffer. Deleting the
// leftmost occurrence and searching again from the start gives the same text: all occurrences have one length,
// so the leftmost is the first to complete during the scan; what precedes it holds no occurrence, so the text
// after the deletion is scanned exactly as the stack already stands (its top state restored from `states`).
DWORD RemoveAll(std::string &str, const char *sub) {
    if (str.empty() || !sub || !*sub) {
        return RC_BAD_ARGUMENT;
    }
    const size_t m = std::strlen(sub);
    const size_t first = str.find(sub, 0, m);
    if (first == std::string::npos) {
        return 0;
    }
    if (m == 1) {
        // Removing a single byte cannot join two bytes into a new occurrence.
        str.erase(std::remove(str.begin() + static_cast<std::ptrdiff_t>(first), str.end(), sub[0]), str.end());
        return 0;
    }
    try {
        const PatternMatcher matcher(sub, m);
        const size_t n = str.size();
        std::vector<uint32_t> states(n + 1); // states[k]: bytes of `sub` matched at the end of result[0..k)
        char *buf = &str[0];
        size_t r = 0, w = 0, state = 0;
        while (r < n) {
            if (state == 0) {
                CopyUnmatchedRun(buf, n, sub[0], r, w, states);
                if (r == n) {
                    break;
                }
            }
            const char c = buf[r++];
            state = matcher.Step(state, c);
            buf[w++] = c;
            if (state == m) {
                w -= m;
                state = states[w];
            } else {
                states[w] = static_cast<uint32_t>(state);
            }
        }
        str.resize(w);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY; // nothing has been written before the allocations
    }
    return 0;
}

// The same stack pass as RemoveAll: the first marker to complete is the leftmost, and the text before it holds
// none. What a comment deletes then depends on where the first CR LF at or after the marker lies:
//  - inside the marker itself (a marker holding CR LF): only the marker's bytes through that CR LF go, and the
//    marker's remaining bytes are put back in front of the unread text, to be scanned like any other text;
//  - across the marker's end (a marker ending in CR): the marker and the LF that follows;
//  - further on: the marker, the text up to that CR LF and the CR LF; with none, the rest of the text.
// Each deletion shortens the text by at least two bytes, so the pass ends; the put-back bytes cost O(m) per
// deletion, which only markers holding CR LF ever pay.
DWORD StripComments(std::string &str, const char *marker) {
    if (str.empty() || !marker || !*marker) {
        return RC_BAD_ARGUMENT;
    }
    const size_t m = std::strlen(marker);
    if (str.find(marker, 0, m) == std::string::npos) {
        return 0;
    }
    const char *inner = std::strstr(marker, "\r\n");
    const size_t innerBreak = inner ? static_cast<size_t>(inner - marker) : std::string::npos;
    const bool endsWithCR = marker[m - 1] == '\r';
    try {
        const PatternMatcher matcher(marker, m);
        const size_t n = str.size();
        std::vector<uint32_t> states(m > 1 ? n + 1 : 0); // a one-byte marker never leaves a partial match
        char *buf = &str[0];
        size_t r = 0, w = 0, state = 0;
        while (r < n) {
            if (state == 0) {
                CopyUnmatchedRun(buf, n, marker[0], r, w, states);
                if (r == n) {
                    break;
                }
            }
            const char c = buf[r++];
            state = matcher.Step(state, c);
            buf[w++] = c;
            if (state != m) {
                if (!states.empty()) {
                    states[w] = static_cast<uint32_t>(state);
                }
                continue;
            }
            w -= m;
            state = states.empty() ? 0 : states[w];
            if (innerBreak != std::string::npos) {
                // The freed gap between result and unread text is at least m bytes wide, room for the rest.
                const size_t tail = m - innerBreak - 2;
                r -= tail;
                std::memcpy(buf + r, marker + innerBreak + 2, tail);
            } else if (endsWithCR && r < n && buf[r] == '\n') {
                ++r;
            } else {
                const size_t lineBreak = FindLineBreak(buf, r, n);
                r = lineBreak == std::string::npos ? n : lineBreak + 2;
            }
        }
        str.resize(w);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}

DWORD ExtractBetween(std::string &output, std::string &source, const char *begin, const char *end, bool keepMarkers) {
    if (source.empty() || !begin || !*begin || !end || !*end) {
        return RC_BAD_ARGUMENT;
    }
    try {
        const size_t start = source.find(begin);
        const size_t from = start == std::string::npos ? 0 : start;
        const size_t endLength = std::strlen(end);
        const size_t endAt = source.find(end, from, endLength);
        // Without an end marker its position counts as -1, so the piece keeps endLength - 1 bytes.
        const size_t wanted = endAt == std::string::npos ? endLength - 1 : endAt - from + endLength;
        std::string piece = source.substr(from, wanted);
        if (!keepMarkers) {
            // An empty piece is RemoveAll's argument error and simply stays empty.
            if (RemoveAll(piece, begin) == RC_NO_MEMORY || RemoveAll(piece, end) == RC_NO_MEMORY) {
                return RC_NO_MEMORY;
            }
        }
        source.erase(0, from);
        output.swap(piece);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    return 0;
}
