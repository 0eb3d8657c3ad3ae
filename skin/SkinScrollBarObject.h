// Scroll-bar objects (kind 12): arrows, track and thumb per state, and the size box.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinScrollBarObject : public CSkinControlObject {
public:
    enum : int { BLOCK_NORMAL, BLOCK_PRESSED, BLOCK_HOT, BLOCK_DISABLED, BLOCK_COUNT };
    enum : int { VALUE_COUNT = 5 };

    CSkinScrollBarObject();

    SkinScrollBlock m_blocks[BLOCK_COUNT];
    SkinPiece m_sizeBox;
    DWORD m_values[VALUE_COUNT];

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
