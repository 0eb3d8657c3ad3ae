// The commands of a script in file order, as a singly linked list of parsed APDUs.
#pragma once

#include "console/ApduCommand.h"

class CApduList {
public:
    CApduList() = default;
    ~CApduList() { Clear(); }
    CApduList(const CApduList&) = delete;
    CApduList& operator=(const CApduList&) = delete;

    // Splits converted script bytes into commands, replacing whatever the list held. A line that fails to parse
    // stays as the last node with length 0. Returns 0, or RC_NO_MEMORY (the list is then empty).
    DWORD Parse(const BYTE* bytes, DWORD count);

    // Copies command `index` as it is sent into `output` (zero-filled by the caller, at least 262 bytes; may be
    // null) and its length into *pLength. Returns 0, RC_BAD_ARGUMENT for an index above the count, or
    // RC_NO_COMMAND for a missing node or one that failed to parse. Asking for the indices in order costs
    // constant time per command: the walk resumes from the node found last.
    DWORD GetCommand(BYTE* output, DWORD* pLength, DWORD index) const;

    void Clear();

    CApduCommand* m_pHead = nullptr;
    DWORD m_nCount = 0;

private:
    // The node GetCommand reached last and its index; only Parse and Clear change the list, and both reset it.
    mutable const CApduCommand* m_pLastFound = nullptr;
    mutable DWORD m_nLastFound = 0;
};
