// A caption button of a frame (child kind 3): pieces per state, placement, anchor and action.
#pragma once

#include "skin/SkinObject.h"

class CSkinCaptionButtonObject : public CSkinObject {
public:
    enum : DWORD { ACTION_COMMAND = 0, ACTION_CLOSE = 1, ACTION_MAXIMIZE = 3, ACTION_MINIMIZE = 4, ACTION_SYSMENU = 5 };
    // Anchor codes 4 to 9 keep the button's distance to the frame's right edge.
    enum : DWORD { ANCHOR_LEFT = 0, ANCHOR_RIGHT = 4 };

    CSkinCaptionButtonObject();

    SkinPiece m_normal;
    RECT m_rect; // placement in the frame's template window
    DWORD m_dwAnchor;
    DWORD m_dwCommand;
    SkinPiece m_hover;
    SkinPiece m_pressed;
    SkinPiece m_third;
    DWORD m_dwAction;
    DWORD m_dwToggle;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
