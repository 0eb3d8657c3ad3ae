// The record of one skinned scroll bar: its flags, its own copy of the scroll information, arrow sizes, type, style
// and minimum thumb, with the sizes resolved against the system's metrics.
#pragma once

#include <windows.h>

#include "skin/controls/ScrollBarGeometry.h"

struct ScrollSkinBar {
    enum : UINT { FLAG_LEFT_DISABLED = 0x1, FLAG_RIGHT_DISABLED = 0x2, FLAG_ARROWS = 0x3, FLAG_WANTED = 0x8 };
    enum : int { TYPE_HORZ = 0, TYPE_VERT = 1 };
    enum : int { STYLE_NORMAL = 0, STYLE_FLAT = 1, STYLE_HOT = 2 };
    // Arrow sizes: n >= 0 is pixels, a negative n is -n times the system's scroll-bar metric.
    enum : int { DEFAULT_ARROW = -1, MIN_ARROW = -8, MAX_ARROW = 256 };

    UINT nFlags;
    BOOL bShown; // the last WM_NCCALCSIZE found room for the bar
    SCROLLINFO info;
    int nArrowLength;
    int nArrowWidth;
    int nType;
    int nStyle;
    int nMinThumb;

    // Arrow length along the bar and the bar's thickness, in pixels.
    int ArrowLength() const;
    int ArrowWidth() const;
    bool IsWanted() const { return (nFlags & FLAG_WANTED) != 0; }
    bool BothArrowsDisabled() const { return (nFlags & FLAG_ARROWS) == FLAG_ARROWS; }
    // Not both arrows disabled, and the values allow scrolling.
    bool IsActive() const;
    CScrollBarGeometry::Values Values() const;
    // The geometry of the bar over rc (window or screen co-ordinates, as the bar lies); vertical bars come back turned
    // into the horizontal form, x and y swapped.
    CScrollBarGeometry::Bar Geometry(const RECT &rc) const;

    // The default minimum thumb: 8 on the Windows 95 family and on NT before version 5, 6 otherwise.
    static int DefaultMinThumb();
    static RECT Swap(const RECT &rc) { return RECT{rc.top, rc.left, rc.bottom, rc.right}; }
    static POINT Swap(POINT pt) { return POINT{pt.y, pt.x}; }
};
