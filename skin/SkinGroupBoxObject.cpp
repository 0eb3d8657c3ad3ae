#include "skin/SkinGroupBoxObject.h"

#include "skin/SysColor.h"

#include <cstring>

CSkinGroupBoxObject::CSkinGroupBoxObject() : CSkinControlObject(SKIN_KIND_GROUPBOX) {
    std::memset(&m_caption, 0, sizeof m_caption);
    m_crCaptionFill = CSysColor::Get(CSysColor::BTNFACE);
    std::memset(&m_textColor, 0, sizeof m_textColor);
    m_dwValue2 = 0;
}

void CSkinGroupBoxObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_caption);
    archive.Value(m_crCaptionFill);
    archive.Value(m_textColor);
    archive.Value(m_dwValue2);
}
