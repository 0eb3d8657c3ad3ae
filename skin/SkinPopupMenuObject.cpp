#include "skin/SkinPopupMenuObject.h"

#include <cstring>

CSkinPopupMenuObject::CSkinPopupMenuObject() : CSkinObject(SKIN_KIND_POPUPMENU) {
    SkinInitFramed(m_framed, true);
    std::memset(&m_normalText, 0, sizeof m_normalText);
    std::memset(&m_disabledText, 0, sizeof m_disabledText);
    std::memset(&m_highlightText, 0, sizeof m_highlightText);
    m_crHighlightFill = 0;
    m_crSeparatorFill = 0;
    std::memset(&m_separator, 0, sizeof m_separator);
    std::memset(&m_selection, 0, sizeof m_selection);
    std::memset(&m_submenuArrow, 0, sizeof m_submenuArrow);
    std::memset(&m_check, 0, sizeof m_check);
}

void CSkinPopupMenuObject::TransferRecord(CSkinArchive &archive) {
    archive.Framed(m_framed);
    archive.Value(m_normalText);
    archive.Value(m_disabledText);
    archive.Value(m_highlightText);
    archive.Value(m_crHighlightFill);
    archive.Value(m_crSeparatorFill);
    archive.Value(m_separator);
    archive.Value(m_selection);
    archive.Value(m_submenuArrow);
    if (archive.Minor() >= 3)
        archive.Value(m_check);
}
