// Draws a skinned scroll bar part by part: through the skin's drawing handler when it takes the bar, otherwise with
// the system's frame controls, edges and checker brush; and the corner square between two bars.
#pragma once

#include <windows.h>

#include "skin/controls/ScrollBarGeometry.h"

struct ScrollSkinBar;

class CScrollBarPainter {
public:
    struct Request {
        HWND hWnd;
        const ScrollSkinBar *pBar;
        RECT rcBar;   // in the context's co-ordinates, as the bar lies on the window
        int nPressed; // the part shown pressed, or PART_NONE
        int nHot;     // the hot part, or PART_NONE
        bool bHovered;
        const CScrollBarGeometry::Thumb *pThumb; // where a dragged thumb is, or null
    };

    // The whole bar, off screen and copied once. True when the skin's handler drew it.
    static bool DrawBar(HDC hDC, const Request &request);
    // The page areas and the thumb only, for a thumb on the move.
    static bool DrawTrack(HDC hDC, const Request &request);
    // The corner square (rc in the context, rcScreen the same on the screen): the skin's size box after a bar drawn
    // by the skin; otherwise the size grip where the corner meets the parent's client corner, else the button face.
    static void DrawSizeBox(HDC hDC, HWND hWnd, const RECT &rc, const RECT &rcScreen, bool bSkinned,
                            bool bLeftScrollBar);

    // The state a part is drawn in (CScrollBarSkinDraw::STATE_*).
    static UINT PartState(const Request &request, int nPart);
    // The standard look of one part.
    static void DrawStandardPart(HDC hDC, const RECT &rc, int nPart, UINT nState, int nStyle, bool bVertical);
};
