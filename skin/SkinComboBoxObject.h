// Combo-box objects (kind 6): drop-down button images per state and the focus fill.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinComboBoxObject : public CSkinControlObject {
public:
    enum : int { BUTTON_NORMAL, BUTTON_PRESSED, BUTTON_HOT, BUTTON_DISABLED, BUTTON_COUNT };

    CSkinComboBoxObject();

    SkinImageRef m_buttons[BUTTON_COUNT];
    COLORREF m_crFocusFill;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
