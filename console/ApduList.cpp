#include "console/ApduList.h"

#include "framework/ResultCodes.h"

#include <cstring>
#include <new>

DWORD CApduList::Parse(const BYTE* bytes, DWORD count) {
    // A list that already holds commands is replaced, not grown: its nodes would otherwise leak and the count
    // would add up.
    Clear();
    CApduCommand* node = new (std::nothrow) CApduCommand;
    if (!node) {
        return RC_NO_MEMORY;
    }
    ++m_nCount;
    m_pHead = node;
    DWORD left = count;
    const BYTE* next = node->Parse(bytes, &left);
    while (next && left > 0) {
        CApduCommand* further = new (std::nothrow) CApduCommand;
        if (!further) {
            Clear();
            return RC_NO_MEMORY;
        }
        ++m_nCount;
        node->m_pNext = further;
        node = further;
        next = node->Parse(next, &left);
    }
    return 0;
}

DWORD CApduList::GetCommand(BYTE* output, DWORD* pLength, DWORD index) const {
    if (index > m_nCount) {
        return RC_BAD_ARGUMENT;
    }
    // A script of many short lines asks for every index in turn; walking from the head each time would make
    // the run quadratic in the number of commands.
    const CApduCommand* node = m_pHead;
    DWORD i = 0;
    if (m_pLastFound && m_nLastFound <= index) {
        node = m_pLastFound;
        i = m_nLastFound;
    }
    for (; node && i < index; ++i) {
        node = node->m_pNext;
    }
    if (!node) {
        return RC_NO_COMMAND;
    }
    m_pLastFound = node;
    m_nLastFound = index;
    if (output) {
        if (node->m_nLength == 0) {
            return RC_NO_COMMAND;
        }
        if (node->m_nLength > 5) {
            output[4] = node->m_bLc;
            if (node->m_bLc) {
                std::memcpy(output + 5, node->m_pbData.get(), node->m_bLc);
            }
            if (node->m_bLe) {
                output[5 + node->m_bLc] = node->m_bLe;
            }
        } else if (node->m_bLe) {
            output[4] = node->m_bLe;
        }
        std::memcpy(output, node->m_abHeader, 4);
    }
    if (pLength) {
        *pLength = node->m_nLength;
    }
    return 0;
}

void CApduList::Clear() {
    CApduCommand* node = m_pHead;
    while (node) {
        CApduCommand* next = node->m_pNext;
        delete node;
        node = next;
    }
    m_pHead = nullptr;
    m_nCount = 0;
    m_pLastFound = nullptr;
}
