// Group-box objects (kind 8): the header's frame image is the group frame; a caption image and colours.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinGroupBoxObject : public CSkinControlObject {
public:
    CSkinGroupBoxObject();

    SkinImageRef m_caption;
    COLORREF m_crCaptionFill;
    SkinColorRecord m_textColor;
    DWORD m_dwValue2;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
