#include "skin/SkinCheckObject.h"

#include <cstring>

CSkinCheckObject::CSkinCheckObject(DWORD kind) : CSkinControlObject(kind) {
    std::memset(m_blocks, 0, sizeof m_blocks);
    std::memset(m_szText, 0, sizeof m_szText);
    m_dwValue2 = 1000;
}

void CSkinCheckObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_blocks);
    archive.Text(m_szText, STORED_TEXT_SIZE);
    archive.Value(m_dwValue2);
}
