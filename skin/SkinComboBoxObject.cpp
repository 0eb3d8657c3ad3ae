#include "skin/SkinComboBoxObject.h"

#include <cstring>

CSkinComboBoxObject::CSkinComboBoxObject() : CSkinControlObject(SKIN_KIND_COMBOBOX) {
    std::memset(m_buttons, 0, sizeof m_buttons);
    m_crFocusFill = 0xFF0000;
}

void CSkinComboBoxObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_buttons);
    archive.Value(m_crFocusFill);
}
