// Tool-bar objects (kind 23, also serving kind 24): button images per state.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinToolBarObject : public CSkinControlObject {
public:
    enum : int { BUTTON_NORMAL, BUTTON_PRESSED, BUTTON_HOT, BUTTON_DISABLED, BUTTON_FIFTH, BUTTON_COUNT };

    CSkinToolBarObject();

    SkinImageRef m_buttons[BUTTON_COUNT];

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
