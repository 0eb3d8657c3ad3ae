// Static-control objects (kind 14): the transparent flag, a record and a text carried along.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinStaticObject : public CSkinControlObject {
public:
    CSkinStaticObject();

    DWORD m_dwTransparent;
    BYTE m_record[16];
    char m_szText[TEXT_SIZE + 1];

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
