// Where a frame's nine parts and its caption buttons go in a window of a given size: the layout rules that the
// engine paints by and the skin preview draws through.
#pragma once

#include "platform/WinCompat.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinRecords.h"

class CSkinFrameLayout {
public:
    // Part order of SkinFramedRecord::pieces and placement.
    enum : int { TOP_LEFT, TOP, TOP_RIGHT, LEFT, CENTRE, RIGHT, BOTTOM_LEFT, BOTTOM, BOTTOM_RIGHT };

    // The frame rule: the left column and the top row keep the sizes of their template rectangles; the right column
    // and the bottom row keep their widths and heights and move with the window's right and bottom edges; the middle
    // column and row take what is left. Rectangles are relative to the window's top-left corner.
    static void LayoutParts(const SkinFramedRecord &framed, LONG width, LONG height,
                            RECT parts[SkinFramedRecord::PART_COUNT]);
    // The popup-menu rule: borders as thick as the template's left, right, top and bottom parts, around the rest.
    static void LayoutBorders(const SkinFramedRecord &framed, LONG width, LONG height,
                              RECT parts[SkinFramedRecord::PART_COUNT]);
    // The area inside the borders (what the parts other than the centre leave free).
    static RECT Inside(const RECT parts[SkinFramedRecord::PART_COUNT]);

    // Anchors from ANCHOR_RIGHT up to this one keep the button's distance to the frame's right edge.
    enum : DWORD { ANCHOR_RIGHT_LAST = 9 };
    static bool IsRightAnchored(DWORD anchor);
    // A caption button's rectangle in a window of this width: its template rectangle, moved by the width the window
    // has beyond the template window (the bottom-right part's right edge) when it is anchored to the right.
    static RECT CaptionButtonRect(const SkinFramedRecord &framed, const CSkinCaptionButtonObject &button, LONG width);
};
