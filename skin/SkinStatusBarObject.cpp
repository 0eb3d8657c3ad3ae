#include "skin/SkinStatusBarObject.h"

#include <cstring>

CSkinStatusBarObject::CSkinStatusBarObject() : CSkinControlObject(SKIN_KIND_STATUSBAR) {
    std::memset(&m_pane, 0, sizeof m_pane);
    std::memset(&m_piece, 0, sizeof m_piece);
}

void CSkinStatusBarObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_pane);
    archive.Value(m_piece);
}
