#include "reader/CardReader.h"

#include <cstring>

CCardReader::CCardReader() = default;

CCardReader::~CCardReader() = default;

BOOL CCardReader::GetAtr(BYTE *pbAtr, DWORD *pcbAtr) {
    if (!pbAtr)
        return FALSE;
    if (!ReadAtr())
        return FALSE;
    // ReadAtr never leaves more than the buffer holds; the bound keeps a faulty override from overflowing.
    const DWORD cb = m_cbAtr <= ATR_CAPACITY ? m_cbAtr : DWORD(ATR_CAPACITY);
    std::memcpy(pbAtr, m_pbAtr, cb);
    if (pcbAtr)
        *pcbAtr = cb;
    return TRUE;
}
