#include "skin/SkinButtonObject.h"

#include <cstring>

CSkinButtonObject::CSkinButtonObject() : CSkinObject(SKIN_KIND_BUTTON) {
    std::memset(m_states, 0, sizeof m_states);
    std::memset(m_szText, 0, sizeof m_szText);
    m_dwValue1 = 0;
    m_font = SkinDefaultFont();
    m_dwValue2 = 0;
    m_dwValue3 = 1000;
}

void CSkinButtonObject::TransferRecord(CSkinArchive &archive) {
    archive.Value(m_states);
    archive.Text(m_szText, STORED_TEXT_SIZE);
    archive.Value(m_dwValue1);
    archive.Font(m_font);
    archive.Value(m_dwValue2);
    archive.Value(m_dwValue3);
}
