// Push-button objects (kind 4): six state images and the caption font.
#pragma once

#include "skin/SkinObject.h"

class CSkinButtonObject : public CSkinObject {
public:
    enum : int { STATE_NORMAL, STATE_PRESSED, STATE_DEFAULT, STATE_FOCUSED, STATE_FIFTH, STATE_DISABLED, STATE_COUNT };
    enum : DWORD { STORED_TEXT_SIZE = 50 };

    CSkinButtonObject();

    SkinButtonState m_states[STATE_COUNT];
    char m_szText[STORED_TEXT_SIZE + 1];
    DWORD m_dwValue1;
    SkinFontRecord m_font;
    DWORD m_dwValue2;
    DWORD m_dwValue3;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
