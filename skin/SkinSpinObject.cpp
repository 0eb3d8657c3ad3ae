#include "skin/SkinSpinObject.h"

#include <cstring>

CSkinSpinObject::CSkinSpinObject() : CSkinControlObject(SKIN_KIND_SPIN) {
    std::memset(m_blocks, 0, sizeof m_blocks);
}

void CSkinSpinObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_blocks);
}
