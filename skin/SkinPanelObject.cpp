#include "skin/SkinPanelObject.h"

#include <cstring>

CSkinPanelObject::CSkinPanelObject() : CSkinObject(SKIN_KIND_PANEL) {
    std::memset(&m_piece, 0, sizeof m_piece);
    std::memset(&m_rect1, 0, sizeof m_rect1);
    std::memset(&m_rect2, 0, sizeof m_rect2);
    m_byValue = 255;
    m_crColor = 0xFFFFFF;
    m_dwValue2 = 1;
}

void CSkinPanelObject::TransferRecord(CSkinArchive &archive) {
    archive.Value(m_piece);
    archive.Value(m_rect1);
    archive.Value(m_rect2);
    archive.Value(m_byValue);
    archive.Value(m_crColor);
    archive.Value(m_dwValue2);
}
