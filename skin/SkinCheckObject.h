// Check-box (kind 5) and radio-button (kind 11) objects: seven state blocks of background, mark and colour.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinCheckObject : public CSkinControlObject {
public:
    enum : int {
        BLOCK_NORMAL,
        BLOCK_CHECKED,
        BLOCK_DISABLED,
        BLOCK_DISABLED_UNCHECKED,
        BLOCK_DISABLED_CHECKED,
        BLOCK_COUNT = 7
    };
    enum : DWORD { STORED_TEXT_SIZE = 50 };

    explicit CSkinCheckObject(DWORD kind);

    SkinCheckBlock m_blocks[BLOCK_COUNT];
    char m_szText[STORED_TEXT_SIZE + 1];
    DWORD m_dwValue2;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
