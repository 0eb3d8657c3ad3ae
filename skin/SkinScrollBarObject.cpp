#include "skin/SkinScrollBarObject.h"

#include <cstring>

CSkinScrollBarObject::CSkinScrollBarObject() : CSkinControlObject(SKIN_KIND_SCROLLBAR) {
    std::memset(m_blocks, 0, sizeof m_blocks);
    std::memset(&m_sizeBox, 0, sizeof m_sizeBox);
    static const DWORD defaults[VALUE_COUNT] = {0, 100, 10, 1, 10};
    std::memcpy(m_values, defaults, sizeof m_values);
}

void CSkinScrollBarObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_blocks);
    archive.Value(m_sizeBox);
    archive.Value(m_values);
}
