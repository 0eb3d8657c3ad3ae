// Painter of group boxes (skin kind 8, "GroupBox"): the group frame below a caption plate that carries the text,
// drawn straight onto the window over the parent's background.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinGroupBox : public CSkinControl {
public:
    // The longest caption drawn.
    enum : int { MAX_TEXT = 99 };

    explicit CSkinGroupBox(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    // The kind's object (none: 0); the window becomes transparent, so that the parent paints beneath it, and the
    // parent's area under it is painted again.
    BOOL Attach(HWND hWnd) override;
    // WM_PAINT straight onto the window; after a new text, enabling or cue change the box is painted again over a
    // fresh background (the button's own procedure would draw its look).
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    // The caption plate for a caption of the given size in a client rectangle, by the box's alignment.
    static RECT CaptionRect(const RECT &rcClient, DWORD dwStyle, SIZE caption);
};
