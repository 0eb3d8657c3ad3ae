// Progress-bar objects (kind 10): the bar image and the reveal flag.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinProgressObject : public CSkinControlObject {
public:
    CSkinProgressObject();

    SkinImageRef m_bar;
    DWORD m_dwValue1;
    DWORD m_dwValue2;
    DWORD m_dwReveal; // set: the bar artwork is uncovered rather than squeezed

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
