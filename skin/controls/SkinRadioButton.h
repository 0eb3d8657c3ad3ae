// Painter of radio buttons (skin kind 11, "Radio"): drawn as check boxes are, from the radio object's blocks.
#pragma once

#include "skin/controls/SkinButtonBase.h"

class CSkinRadioButton : public CSkinButtonBase {
public:
    explicit CSkinRadioButton(CSkinWnd *pOwner) : CSkinButtonBase(pOwner) {}

    void Draw(HDC hDC) override { DrawCheckOrRadio(hDC); }

protected:
    DWORD GetKind() const override;
};
