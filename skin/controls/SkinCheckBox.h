// Painter of check boxes and three-state boxes (skin kind 5, "CheckBox"): background, mark and caption of the block
// that the box's state chooses.
#pragma once

#include "skin/controls/SkinButtonBase.h"

class CSkinCheckBox : public CSkinButtonBase {
public:
    explicit CSkinCheckBox(CSkinWnd *pOwner) : CSkinButtonBase(pOwner) {}

    void Draw(HDC hDC) override { DrawCheckOrRadio(hDC); }

protected:
    DWORD GetKind() const override;
};
