// Up-down objects (kind 27): up and down arrow pieces for normal, hot, pressed and disabled.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinSpinObject : public CSkinControlObject {
public:
    enum : int { BLOCK_NORMAL, BLOCK_HOT, BLOCK_PRESSED, BLOCK_DISABLED, BLOCK_COUNT };

    CSkinSpinObject();

    SkinSpinBlock m_blocks[BLOCK_COUNT];

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
