#include "skin/controls/ScrollBarGeometry.h"

namespace {

// a * b / c rounded half away from zero, in 64 bits; c must not be 0.
long long MulDiv64(long long a, long long b, long long c) {
    long long product = a * b;
    if (c < 0) {
        product = -product;
        c = -c;
    }
    return product >= 0 ? (product + c / 2) / c : -((-product + c / 2) / c);
}

long long Clamp(long long v, long long low, long long high) {
    if (v > high)
        v = high;
    return v < low ? low : v;
}

long long Range(const CScrollBarGeometry::Values &values) {
    return static_cast<long long>(values.nMax) - values.nMin;
}

long long PageAtLeastOne(const CScrollBarGeometry::Values &values) {
    return values.nPage ? static_cast<long long>(values.nPage) : 1;
}

} // namespace

int CScrollBarGeometry::MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    long long result = MulDiv64(a, b, c);
    return result > 0x7FFFFFFFLL || result < -0x7FFFFFFFLL ? -1 : static_cast<int>(result);
}

bool CScrollBarGeometry::CanScroll(const Values &values) {
    return static_cast<UINT>(values.nMax) >= values.nPage && values.nMin < values.nMax && values.nMax != 0;
}

int CScrollBarGeometry::MaxPos(const Values &values) {
    long long high = static_cast<long long>(values.nMax) - PageAtLeastOne(values) + 1;
    return static_cast<int>(high < values.nMin ? values.nMin : high);
}

int CScrollBarGeometry::ClampPos(const Values &values, int nPos) {
    return static_cast<int>(Clamp(nPos, values.nMin, MaxPos(values)));
}

CScrollBarGeometry::Thumb CScrollBarGeometry::GetThumb(const Bar &bar) {
    const long long track = TrackLength(bar);
    const long long range = Range(bar.values);
    long long size = bar.nArrow;
    if (bar.values.nPage) {
        if (range > MAX_RANGE)
            return Thumb{0, 0};
        size = MulDiv64(bar.values.nPage, track, range + 1);
        if (size < bar.nMinThumb)
            size = bar.nMinThumb;
    }
    const long long free = track - size;
    const long long divisor = range - PageAtLeastOne(bar.values) + 1;
    long long offset = 0;
    if (range <= MAX_RANGE && divisor > 0 && free > 0)
        offset = Clamp(MulDiv64(static_cast<long long>(bar.values.nPos) - bar.values.nMin, free, divisor), 0, free);
    return Thumb{static_cast<int>(Clamp(size, 0, 0x7FFFFFFF)), static_cast<int>(offset)};
}

bool CScrollBarGeometry::HasThumbRoom(const Bar &bar, bool bBothArrowsDisabled) {
    const Thumb thumb = GetThumb(bar);
    return thumb.nSize > 0 && thumb.nSize <= TrackLength(bar) && CanScroll(bar.values) && !bBothArrowsDisabled;
}

int CScrollBarGeometry::HitTest(const Bar &bar, POINT pt) {
    const RECT &rc = bar.rc;
    if (pt.y < rc.top || pt.y >= rc.bottom || pt.x < rc.left || pt.x >= rc.right)
        return PART_NONE;
    const int length = Length(bar);
    const int arrow = 2 * bar.nArrow < length ? bar.nArrow : length / 2;
    if (pt.x < rc.left + arrow)
        return PART_LEFT_ARROW;
    if (pt.x >= rc.right - arrow)
        return PART_RIGHT_ARROW;
    const Thumb thumb = GetThumb(bar);
    if (thumb.nSize >= TrackLength(bar))
        return PART_NONE;
    const int start = rc.left + bar.nArrow + thumb.nOffset;
    if (pt.x < start)
        return PART_PAGE_LEFT;
    return pt.x < start + thumb.nSize ? PART_THUMB : PART_PAGE_RIGHT;
}

int CScrollBarGeometry::Layout(const Bar &bar, bool bBothArrowsDisabled, Part parts[MAX_PARTS], const Thumb *pThumb) {
    const RECT &rc = bar.rc;
    const int length = Length(bar);
    int count = 0;
    auto add = [&](int nPart, LONG left, LONG right) {
        if (right > left)
            parts[count++] = Part{nPart, RECT{left, rc.top, right, rc.bottom}};
    };
    if (length <= 0)
        return 0;
    if (2 * bar.nArrow >= length) {
        const int half = length / 2;
        add(PART_LEFT_ARROW, rc.left, rc.left + half);
        add(PART_PAGE_RIGHT, rc.left + half, rc.right - half);
        add(PART_RIGHT_ARROW, rc.right - half, rc.right);
        return count;
    }
    const LONG trackLeft = rc.left + bar.nArrow, trackRight = rc.right - bar.nArrow;
    add(PART_LEFT_ARROW, rc.left, trackLeft);
    if (HasThumbRoom(bar, bBothArrowsDisabled)) {
        const Thumb thumb = pThumb ? *pThumb : GetThumb(bar);
        const LONG thumbLeft = trackLeft + thumb.nOffset, thumbRight = thumbLeft + thumb.nSize;
        add(PART_PAGE_LEFT, trackLeft, thumbLeft);
        add(PART_PAGE_RIGHT, thumbRight, trackRight);
        add(PART_THUMB, thumbLeft, thumbRight);
    } else {
        add(PART_PAGE_RIGHT, trackLeft, trackRight);
    }
    add(PART_RIGHT_ARROW, trackRight, rc.right);
    return count;
}

RECT CScrollBarGeometry::TrackingArea(const RECT &rcBar) {
    return RECT{rcBar.left - TRACK_MARGIN_ALONG, rcBar.top - TRACK_MARGIN_ACROSS, rcBar.right + TRACK_MARGIN_ALONG,
                rcBar.bottom + TRACK_MARGIN_ACROSS};
}

int CScrollBarGeometry::DragOffset(const Bar &bar, int nThumbSize, int nStartOffset, int nGrip, POINT pt) {
    const RECT area = TrackingArea(bar.rc);
    if (pt.x < area.left || pt.x >= area.right || pt.y < area.top || pt.y >= area.bottom)
        return nStartOffset;
    const long long free = static_cast<long long>(TrackLength(bar)) - nThumbSize;
    const long long offset = static_cast<long long>(pt.x) - nGrip - (static_cast<long long>(bar.rc.left) + bar.nArrow);
    return static_cast<int>(free > 0 ? Clamp(offset, 0, free) : 0);
}

int CScrollBarGeometry::PositionAt(const Bar &bar, int nThumbSize, int nOffset) {
    const long long range = Range(bar.values);
    if (range <= 0)
        return nOffset;
    const long long free = static_cast<long long>(TrackLength(bar)) - nThumbSize;
    if (free <= 0)
        return bar.values.nMin;
    const long long steps = range - PageAtLeastOne(bar.values) + 1;
    const long long pos = bar.values.nMin + MulDiv64(nOffset, steps, free);
    return static_cast<int>(Clamp(pos, bar.values.nMin, MaxPos(bar.values)));
}
