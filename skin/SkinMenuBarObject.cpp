#include "skin/SkinMenuBarObject.h"

#include <cstring>

CSkinMenuBarObject::CSkinMenuBarObject() : CSkinObject(SKIN_KIND_MENUBAR) {
    std::memset(&m_piece, 0, sizeof m_piece);
    std::memset(&m_rect, 0, sizeof m_rect);
    m_dwValue1 = m_dwValue2 = 0;
    m_font = SkinDefaultFont();
    std::memset(&m_normalText, 0, sizeof m_normalText);
    std::memset(&m_otherText, 0, sizeof m_otherText);
    std::memset(&m_hoverText, 0, sizeof m_hoverText);
    m_crHoverFill = 0x727272;
    std::memset(&m_hoverImage, 0, sizeof m_hoverImage);
    std::memset(&m_openText, 0, sizeof m_openText);
    m_crOpenFill = 0xE07272;
    std::memset(&m_openImage, 0, sizeof m_openImage);
    std::memset(m_childButtons, 0, sizeof m_childButtons);
    std::memset(&m_background, 0, sizeof m_background);
}

void CSkinMenuBarObject::TransferRecord(CSkinArchive &archive) {
    archive.Value(m_piece);
    archive.Value(m_rect);
    archive.Value(m_dwValue1);
    archive.Value(m_dwValue2);
    archive.Font(m_font);
    archive.Value(m_normalText);
    archive.Value(m_otherText);
    archive.Value(m_hoverText);
    archive.Value(m_crHoverFill);
    archive.Value(m_hoverImage);
    archive.Value(m_openText);
    archive.Value(m_crOpenFill);
    archive.Value(m_openImage);
    if (archive.Minor() >= 2)
        archive.Value(m_childButtons);
    if (archive.Minor() >= 3)
        archive.Value(m_background);
}
