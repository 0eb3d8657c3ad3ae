#include "skin/SkinFrameLayout.h"
#include "platform/RectSize.h"

namespace {

} // namespace

void CSkinFrameLayout::LayoutParts(const SkinFramedRecord &framed, LONG width, LONG height,
                                   RECT parts[SkinFramedRecord::PART_COUNT]) {
    const RECT *t = framed.placement;
    for (int i = 0; i < SkinFramedRecord::PART_COUNT; ++i)
        parts[i] = t[i];
    // The right column follows the right edge, each part keeping its template width.
    parts[TOP].right = parts[TOP_RIGHT].left = width - Width(t[TOP_RIGHT]);
    parts[TOP_RIGHT].right = width;
    parts[CENTRE].right = parts[RIGHT].left = width - Width(t[RIGHT]);
    parts[RIGHT].right = width;
    parts[BOTTOM].right = parts[BOTTOM_RIGHT].left = width - Width(t[BOTTOM_RIGHT]);
    parts[BOTTOM_RIGHT].right = width;
    // The bottom row follows the bottom edge with the bottom-left part's template height.
    const LONG bottomTop = height - Height(t[BOTTOM_LEFT]);
    for (int i : {LEFT, CENTRE, RIGHT})
        parts[i].bottom = bottomTop;
    for (int i : {BOTTOM_LEFT, BOTTOM, BOTTOM_RIGHT}) {
        parts[i].top = bottomTop;
        parts[i].bottom = height;
    }
}

void CSkinFrameLayout::LayoutBorders(const SkinFramedRecord &framed, LONG width, LONG height,
                                     RECT parts[SkinFramedRecord::PART_COUNT]) {
    const RECT *t = framed.placement;
    const LONG l = Width(t[LEFT]), r = Width(t[RIGHT]), top = Height(t[TOP_LEFT]), b = Height(t[BOTTOM_LEFT]);
    const LONG xs[4] = {0, l, width - r, width};
    const LONG ys[4] = {0, top, height - b, height};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            parts[row * 3 + col] = RECT{xs[col], ys[row], xs[col + 1], ys[row + 1]};
}

RECT CSkinFrameLayout::Inside(const RECT parts[SkinFramedRecord::PART_COUNT]) {
    return RECT{parts[LEFT].right, parts[TOP].bottom, parts[RIGHT].left, parts[BOTTOM].top};
}

bool CSkinFrameLayout::IsRightAnchored(DWORD anchor) {
    return anchor >= CSkinCaptionButtonObject::ANCHOR_RIGHT && anchor <= ANCHOR_RIGHT_LAST;
}

RECT CSkinFrameLayout::CaptionButtonRect(const SkinFramedRecord &framed, const CSkinCaptionButtonObject &button,
                                         LONG width) {
    RECT rc = button.m_rect;
    if (IsRightAnchored(button.m_dwAnchor)) {
        const LONG dx = width - framed.placement[BOTTOM_RIGHT].right;
        rc.left += dx;
        rc.right += dx;
    }
    return rc;
}
