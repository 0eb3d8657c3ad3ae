#include "skin/SkinStaticObject.h"

#include <cstring>

CSkinStaticObject::CSkinStaticObject() : CSkinControlObject(SKIN_KIND_STATIC) {
    m_dwTransparent = 1;
    std::memset(m_record, 0, sizeof m_record);
    std::memset(m_szText, 0, sizeof m_szText);
}

void CSkinStaticObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_dwTransparent);
    archive.Value(m_record);
    archive.Text(m_szText, TEXT_SIZE);
}
