// The skin's scroll-bar drawing handler: answers the drawing requests of the skinned scroll bars from the current
// skin's "ScrollBar" object (arrows, track, thumb and size box by state; vertical bars drawn turned).
#pragma once

#include <windows.h>

class CSkinScrollBarObject;

// One drawing request, as the skinned scroll bars send it to the handler.
struct ScrollSkinDrawRecord {
    HWND hWnd;
    UINT_PTR idFrom; // the window's control identifier
    int nCode;       // CScrollBarSkinDraw::DRAW_CODE
    DWORD dwStage;   // STAGE_PREPAINT before a bar, STAGE_POSTPAINT after it, STAGE_PART for one part
    HDC hDC;
    RECT rc; // the part (or bar) in the context's co-ordinates, as it lies on the window
    int nPart;
    UINT nState; // STATE_*
    int nBar;    // SB_HORZ, SB_VERT, or BAR_SIZE_BOX for the corner between two bars
};

class CScrollBarSkinDraw {
public:
    enum : int { DRAW_CODE = -4095, BAR_SIZE_BOX = 3 };
    enum : DWORD { STAGE_PREPAINT = 1, STAGE_POSTPAINT = 2, STAGE_PART = 0x10001 };
    enum : UINT { STATE_PRESSED = 1, STATE_DISABLED = 4, STATE_NORMAL = 32, STATE_HOT = 64 };
    // The answer that means "the skin draws every part"; anything else leaves the bar to the standard drawing.
    enum : LRESULT { SKIN_DRAWS = 4 };

    // 0 without a "ScrollBar" object in the current skin. Otherwise SKIN_DRAWS: the stages before and after a bar
    // draw nothing, a part is drawn from the state's block (the normal block where the state's piece is empty).
    static LRESULT Draw(const ScrollSkinDrawRecord &record);
    // The current skin's scroll-bar object, or none.
    static const CSkinScrollBarObject *FindObject();
};
