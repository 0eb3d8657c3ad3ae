// Track-bar objects (kind 13): thumb and channel images.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinSliderObject : public CSkinControlObject {
public:
    enum : int { VALUE_COUNT = 5 };

    CSkinSliderObject();

    SkinImageRef m_thumb;
    DWORD m_values[VALUE_COUNT];
    SkinImageRef m_channel;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
