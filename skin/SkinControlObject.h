// Control objects that start with the control header; kinds 24 and 26 hold nothing more.
#pragma once

#include "skin/SkinObject.h"

class CSkinControlObject : public CSkinObject {
public:
    explicit CSkinControlObject(DWORD kind);

    SkinControlHeader m_header;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
