// Painter of track bars (skin kind 13, "Slider"): frame, channel and thumb images at the rectangles the control
// reports; vertical track bars get their frame and channel turned.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinSlider : public CSkinControl {
public:
    explicit CSkinSlider(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    // Remembers the style, asks for ticks on both sides (TBS_BOTH) and subclasses.
    BOOL Attach(HWND hWnd) override;
    // Puts the remembered style back.
    void Detach() override;
    // Clicks, and moves with the left button held, go to the control and then the new thumb is painted.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

private:
    LRESULT PassOnAndPaint(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);

    DWORD m_dwSavedStyle = 0;
    bool m_bStyleSaved = false;
};
