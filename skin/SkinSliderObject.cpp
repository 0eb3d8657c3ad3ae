#include "skin/SkinSliderObject.h"

#include <cstring>

CSkinSliderObject::CSkinSliderObject() : CSkinControlObject(SKIN_KIND_SLIDER) {
    std::memset(&m_thumb, 0, sizeof m_thumb);
    std::memset(m_values, 0, sizeof m_values);
    std::memset(&m_channel, 0, sizeof m_channel);
}

void CSkinSliderObject::TransferRecord(CSkinArchive &archive) {
    CSkinControlObject::TransferRecord(archive);
    archive.Value(m_thumb);
    archive.Value(m_values);
    archive.Value(m_channel);
}
