// Portable geometry of one skinned scroll bar laid out horizontally: arrows, track and thumb, hit testing and the
// thumb position that a drag gives. Vertical bars use it with x and y swapped.
#pragma once

#include "platform/WinCompat.h"

class CScrollBarGeometry {
public:
    // Parts of a bar; 0-3 are also the scroll requests SB_LINEUP, SB_LINEDOWN, SB_PAGEUP and SB_PAGEDOWN.
    enum : int {
        PART_NONE = -1,
        PART_LEFT_ARROW = 0,
        PART_RIGHT_ARROW = 1,
        PART_PAGE_LEFT = 2,
        PART_PAGE_RIGHT = 3,
        PART_THUMB = 5,
        PART_SIZE_BOX = 32
    };
    // The largest range whose thumb is placed; beyond it the thumb sits at the track start with size 0.
    static const long long MAX_RANGE = 0x7FFFFFFE;
    // How far a dragged thumb may leave its bar before it snaps back: along the bar, and across it.
    enum : int { TRACK_MARGIN_ALONG = 48, TRACK_MARGIN_ACROSS = 24 };
    enum : int { MAX_PARTS = 5 };

    // The bar's scroll values (SCROLLINFO's fields).
    struct Values {
        int nMin;
        int nMax;
        UINT nPage;
        int nPos;
    };
    // One bar as the geometry sees it: its rectangle (horizontal; x along the bar), arrow length and minimum thumb.
    struct Bar {
        RECT rc;
        int nArrow;
        int nMinThumb;
        Values values;
    };
    struct Thumb {
        int nSize;   // pixels along the bar
        int nOffset; // from the track start
    };
    struct Part {
        int nPart;
        RECT rc;
    };

    // The platform's MulDiv: a * b / c rounded half away from zero; -1 when c is 0 or the result does not fit.
    static int MulDiv(int a, int b, int c);
    // The scroll values allow scrolling: nMax >= nPage (unsigned), nMin < nMax and nMax != 0.
    static bool CanScroll(const Values &values);
    // The largest position the values allow: nMax - max(nPage, 1) + 1, never below nMin.
    static int MaxPos(const Values &values);
    static int ClampPos(const Values &values, int nPos);

    static int Length(const Bar &bar) { return bar.rc.right - bar.rc.left; }
    static int TrackLength(const Bar &bar) { return Length(bar) - 2 * bar.nArrow; }
    // Thumb size and offset. Size: the arrow length when nPage is 0, else nPage's share of the track, at least the
    // minimum thumb. Offset: the position's share of the free track, kept within it.
    static Thumb GetThumb(const Bar &bar);
    // Whether a thumb is drawn between page areas: it has a size, fits the track, the bar can scroll and not both
    // arrows are disabled. Otherwise the whole track is one page area.
    static bool HasThumbRoom(const Bar &bar, bool bBothArrowsDisabled);
    // The part under a point (PART_NONE outside the bar, or on the track of a bar whose thumb fills it).
    static int HitTest(const Bar &bar, POINT pt);
    // The parts in drawing order: left arrow, page left, page right, thumb, right arrow. A bar shorter than two
    // arrows shows two half-length arrows with an odd pixel between them drawn as page right. A thumb being dragged
    // is laid out where pThumb puts it. Returns the count.
    static int Layout(const Bar &bar, bool bBothArrowsDisabled, Part parts[MAX_PARTS], const Thumb *pThumb = nullptr);

    // The area within which a dragged thumb follows the pointer: the bar at button-down widened along and across.
    static RECT TrackingArea(const RECT &rcBar);
    // The thumb's offset for a drag: the pointer less its offset into the thumb, kept on the track; outside the
    // tracking area, the offset at button-down.
    static int DragOffset(const Bar &bar, int nThumbSize, int nStartOffset, int nGrip, POINT pt);
    // The scroll position a thumb offset stands for (counted from nMin).
    static int PositionAt(const Bar &bar, int nThumbSize, int nOffset);
};
