// Painter of static controls (skin kind 14, "Static"): icons and bitmaps as the control holds them, texts in the
// object's font and colour, over the frame image or (transparent objects) over whatever the parent paints beneath.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinStatic : public CSkinControl {
public:
    // The longest text drawn.
    enum : int { MAX_TEXT = 199 };

    explicit CSkinStatic(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    // The kind's object (none: 0; owner-drawn statics are refused too); a transparent object makes the window
    // transparent; subclasses, then the parent's area under the control is painted again.
    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    // The DrawText format of a text static's style.
    static UINT TextFormat(DWORD dwStyle);

private:
    bool IsTransparent() const;
};
