#include "skin/SkinProgressObject.h"

#include <cstring>

CSkinProgressObject::CSkinProgressObject() : CSkinControlObject(SKIN_KIND_PROGRESS) {
    std::memset(&m_bar, 0, sizeof m_bar);
    m_dwValue1 = m_dwValue2 = m_dwReveal = 0;
}

void CSkinProgressObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_bar);
    archive.Value(m_dwValue1);
    archive.Value(m_dwValue2);
    archive.Value(m_dwReveal);
}
