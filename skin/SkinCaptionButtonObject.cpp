#include "skin/SkinCaptionButtonObject.h"

#include <cstring>

CSkinCaptionButtonObject::CSkinCaptionButtonObject() : CSkinObject(SKIN_KIND_CAPTION_BUTTON) {
    std::memset(&m_normal, 0, sizeof m_normal);
    std::memset(&m_rect, 0, sizeof m_rect);
    m_dwAnchor = m_dwCommand = 0;
    std::memset(&m_hover, 0, sizeof m_hover);
    std::memset(&m_pressed, 0, sizeof m_pressed);
    std::memset(&m_third, 0, sizeof m_third);
    m_dwAction = m_dwToggle = 0;
}

void CSkinCaptionButtonObject::TransferRecord(CSkinArchive &archive) {
    archive.Value(m_normal);
    archive.Value(m_rect);
    archive.Value(m_dwAnchor);
    archive.Value(m_dwCommand);
    archive.Value(m_hover);
    archive.Value(m_pressed);
    archive.Value(m_third);
    archive.Value(m_dwAction);
    archive.Value(m_dwToggle);
}
