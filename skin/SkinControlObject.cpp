#include "skin/SkinControlObject.h"

CSkinControlObject::CSkinControlObject(DWORD kind) : CSkinObject(kind) {
    SkinInitControlHeader(m_header);
}

void CSkinControlObject::TransferRecord(CSkinArchive &archive) {
    archive.ControlHeader(m_header);
}
