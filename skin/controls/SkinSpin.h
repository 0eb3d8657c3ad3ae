// Painter of up-down controls (skin kind 27, "Spin"): an up and a down arrow piece in the two halves, normal, hot,
// pressed or disabled as the pointer and the left button make them; horizontal controls are drawn turned.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinSpin : public CSkinControl {
public:
    enum : int { STATE_NONE, STATE_UP_PRESSED, STATE_DOWN_PRESSED, STATE_UP_HOT, STATE_DOWN_HOT };
    enum : int { HIT_NONE, HIT_UP, HIT_DOWN };

    explicit CSkinSpin(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    int GetButtonState() const { return m_nState; }
    // The half of the client rectangle a point lies in: the first (top, or left with UDS_HORZ) is up.
    static int HitTest(const RECT &rcClient, DWORD dwStyle, POINT pt);

private:
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButton(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave();
    int HitAt(LPARAM lParam) const;
    void SetState(int nState);
    // The up and down pieces over the two halves of a horizontal-artwork rectangle.
    void DrawArrows(HDC hDC, const RECT &rcUp, const RECT &rcDown);

    int m_nState = STATE_NONE;
    bool m_bTracking = false;
};
