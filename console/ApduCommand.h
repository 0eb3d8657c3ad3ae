// One command APDU of a script: header, optional data and Le, parsed from converted script bytes.
#pragma once

#include "platform/WinCompat.h"

#include <memory>

class CApduCommand {
public:
    CApduCommand() = default;
    CApduCommand(const CApduCommand&) = delete;
    CApduCommand& operator=(const CApduCommand&) = delete;

    // Parses the command at `bytes`; `*left` holds the bytes that remain and is reduced by what was consumed
    // (the command and a CR LF right after it). Returns where the next command starts, or null on failure,
    // in which case the node keeps m_nLength 0.
    const BYTE* Parse(const BYTE* bytes, DWORD* left);

    // Finds the ISO case (1-4) of the line at `bytes`: 0 with *pCase set, RC_BAD_ARGUMENT when there are no
    // bytes, RC_BAD_COMMAND_LENGTH when the line's length fits neither Lc + 5 nor Lc + 6.
    static DWORD Classify(const BYTE* bytes, DWORD left, int* pCase);

    CApduCommand* m_pNext = nullptr;
    BYTE m_abHeader[4] = {};
    BYTE m_bLc = 0;
    std::unique_ptr<BYTE[]> m_pbData;
    BYTE m_bLe = 0;
    DWORD m_nLength = 0;
};
