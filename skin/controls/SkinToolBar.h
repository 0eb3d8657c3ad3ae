// Painter of tool bars (skin kind 23, "ToolBar"): the bar's background (turned in a bar docked at the left or right),
// each button's image for its state and the button's icon from the tool bar's image list.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinToolBar : public CSkinControl {
public:
    explicit CSkinToolBar(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    // Whether the tool bar lies in a docking bar at the left or right edge (its background artwork is then turned).
    bool IsDockedSideways() const;

private:
    LRESULT OnNcPaint();
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam);
    void DrawBackground(HDC hDC, const RECT &rc);
    // One button by its index; bHot draws it as the hot one.
    void DrawButton(HDC hDC, int nIndex, bool bHot);
};
