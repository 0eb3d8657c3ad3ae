#include "skin/SkinToolBarObject.h"

#include <cstring>

CSkinToolBarObject::CSkinToolBarObject() : CSkinControlObject(SKIN_KIND_TOOLBAR) {
    std::memset(m_buttons, 0, sizeof m_buttons);
}

void CSkinToolBarObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_buttons);
}
