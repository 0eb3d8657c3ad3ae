#include "console/ApduCommand.h"

#include "console/ConsoleResult.h"

#include <cstring>
#include <new>

namespace {

// Offset of the first CR LF at or after offset 4, or `left` when there is none: the line's length.
DWORD LineLength(const BYTE* bytes, DWORD left) {
    for (DWORD i = 4; i + 1 < left; ++i) {
        if (bytes[i] == 0x0D && bytes[i + 1] == 0x0A) {
            return i;
        }
    }
    return left;
}

} // namespace

DWORD CApduCommand::Classify(const BYTE* bytes, DWORD left, int* pCase) {
    if (!bytes || left == 0) {
        return RC_BAD_ARGUMENT;
    }
    if (left <= 4) {
        *pCase = 1;
        return 0;
    }
    const DWORD line = LineLength(bytes, left);
    if (line == 4) {
        *pCase = 1;
    } else if (line == 5) {
        *pCase = bytes[4] != 0 ? 2 : 1;
    } else if (line == DWORD(bytes[4]) + 5) {
        *pCase = 3;
    } else if (line == DWORD(bytes[4]) + 6) {
        *pCase = 4;
    } else {
        return RC_BAD_COMMAND_LENGTH;
    }
    return 0;
}

const BYTE* CApduCommand::Parse(const BYTE* bytes, DWORD* left) {
    if (!bytes || !left || *left < 4) {
        return nullptr;
    }
    int apduCase = 0;
    if (Classify(bytes, *left, &apduCase) != 0) {
        return nullptr;
    }
    std::memcpy(m_abHeader, bytes, 4);

    // Classify has checked that every byte read below lies within the line, and the line within `left`.
    DWORD length = 5;
    switch (apduCase) {
    case 1:
        m_bLe = 0;
        break;
    case 2:
        m_bLe = bytes[4];
        break;
    default: // 3 and 4
        m_bLc = bytes[4];
        m_pbData.reset(new (std::nothrow) BYTE[m_bLc ? m_bLc : 1]);
        if (!m_pbData) {
            m_bLc = 0;
            return nullptr;
        }
        std::memcpy(m_pbData.get(), bytes + 5, m_bLc);
        length = DWORD(m_bLc) + 5;
        if (apduCase == 4) {
            m_bLe = bytes[5 + m_bLc];
            length += 1;
        }
        break;
    }
    m_nLength = length;

    // A four-byte line is sent with a zero fifth byte but only occupies its four bytes.
    const bool fourByteLine = apduCase == 1 && (*left == 4 || LineLength(bytes, *left) == 4);
    const DWORD consumed = fourByteLine ? 4 : m_nLength;
    const BYTE* next = bytes + consumed;
    *left -= consumed;
    if (*left >= 2 && next[0] == 0x0D && next[1] == 0x0A) {
        next += 2;
        *left -= 2;
    }
    return next;
}
