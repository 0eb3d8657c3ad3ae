// Painter of combo boxes (skin kind 6, "ComboBox"): the frame, the current selection's text (on the focus fill while
// the box has the focus) and the drop-down button in its normal, hot, pressed or disabled image.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinComboBox : public CSkinControl {
public:
    enum : int { BUTTON_NORMAL, BUTTON_HOT, BUTTON_PRESSED };
    // The drop-down button's width from the client's right edge, and the hot zone's.
    enum : LONG { BUTTON_WIDTH = 18, HOT_WIDTH = 16 };

    explicit CSkinComboBox(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    // Owner-drawn combo boxes are refused (0); others are subclassed.
    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    int GetButtonState() const { return m_nState; }

private:
    LRESULT PassOnAndRefresh(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButton(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave();
    void SetState(int nState);

    int m_nState = BUTTON_NORMAL;
    bool m_bTracking = false;
};
