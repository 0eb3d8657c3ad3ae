// Painter of the framework's docking bars (skin kind 24, answered by the skin's "ToolBar" object): the frame image
// over the bar, turned in bars docked at the left or right edge.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinControlBar : public CSkinControl {
public:
    explicit CSkinControlBar(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    CSkinObject *GetKindSkinObject() override;
};
