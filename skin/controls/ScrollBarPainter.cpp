#include "skin/controls/ScrollBarPainter.h"

#include "platform/Handle.h"
#include "platform/MemoryDC.h"
#include "platform/SelectObject.h"
#include "skin/controls/ScrollBarSkinDraw.h"
#include "skin/controls/ScrollSkinBar.h"
#include "skin/controls/SkinDraw.h"

namespace {
typedef CScrollBarGeometry G;
typedef CScrollBarSkinDraw D;

bool IsArrow(int nPart) {
    return nPart == G::PART_LEFT_ARROW || nPart == G::PART_RIGHT_ARROW;
}

COLORREF Complement(COLORREF cr) {
    return ~cr & 0xFFFFFF;
}

// The glyph of a flat frame-control arrow in white on a solid colour: the arrow is drawn off screen and its glyph
// pixels become a monochrome mask that is laid over the fill.
void DrawWhiteGlyph(HDC hDC, const RECT &rc, UINT nKind, COLORREF crBack) {
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    CDC memory(::CreateCompatibleDC(hDC)), maskDC(::CreateCompatibleDC(hDC));
    CBitmap bitmap(::CreateCompatibleBitmap(hDC, cx, cy)), mask(::CreateBitmap(cx, cy, 1, 1, nullptr));
    FillSolid(hDC, rc, crBack);
    if (!memory.IsValid() || !maskDC.IsValid() || !bitmap.IsValid() || !mask.IsValid())
        return;
    CSelectObject selectBitmap(memory, bitmap), selectMask(maskDC, mask);
    RECT rcGlyph = {0, 0, cx, cy};
    ::DrawFrameControl(memory, &rcGlyph, DFC_SCROLL, nKind | DFCS_FLAT);
    // Colour to monochrome: the pixels of the background colour (the glyph's) become 1.
    ::SetBkColor(memory, ::GetSysColor(COLOR_BTNTEXT));
    ::BitBlt(maskDC, 0, 0, cx, cy, memory, 0, 0, SRCCOPY);
    const COLORREF crOldBack = ::SetBkColor(hDC, RGB(255, 255, 255));
    const COLORREF crOldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    ::BitBlt(hDC, rc.left, rc.top, cx, cy, maskDC, 0, 0, SRCPAINT);
    ::SetBkColor(hDC, crOldBack);
    ::SetTextColor(hDC, crOldText);
}

void DrawStandardArrow(HDC hDC, const RECT &rc, int nPart, UINT nState, int nStyle, bool bVertical) {
    static const UINT kinds[2][2] = {{DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT}, {DFCS_SCROLLUP, DFCS_SCROLLDOWN}};
    RECT rcArrow = rc;
    UINT nKind = kinds[bVertical ? 1 : 0][nPart == G::PART_LEFT_ARROW ? 0 : 1];
    if (nState == D::STATE_DISABLED)
        nKind |= DFCS_INACTIVE;
    if (nStyle == ScrollSkinBar::STYLE_NORMAL) {
        ::DrawFrameControl(hDC, &rcArrow, DFC_SCROLL, nKind | (nState == D::STATE_PRESSED ? DFCS_PUSHED | DFCS_FLAT : 0));
        return;
    }
    if (nState == D::STATE_PRESSED || nState == D::STATE_HOT)
        DrawWhiteGlyph(hDC, rc, nKind, ::GetSysColor(nState == D::STATE_PRESSED ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
    else
        ::DrawFrameControl(hDC, &rcArrow, DFC_SCROLL, nKind | DFCS_FLAT);
}

// The track: an 8 x 8 checker of the highlight and scroll-bar colours, complemented while pressed.
void DrawStandardPage(HDC hDC, const RECT &rc, UINT nState) {
    static const BYTE checker[16] = {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0};
    COLORREF crLight = ::GetSysColor(COLOR_3DHILIGHT);
    if (crLight != RGB(255, 255, 255) && crLight == ::GetSysColor(COLOR_WINDOW))
        crLight = ::GetSysColor(COLOR_BTNFACE);
    COLORREF crBar = ::GetSysColor(COLOR_SCROLLBAR);
    if (nState == D::STATE_PRESSED) {
        crLight = Complement(crLight);
        crBar = Complement(crBar);
    }
    CBitmap pattern(::CreateBitmap(8, 8, 1, 1, checker));
    CBrush brush(pattern.IsValid() ? ::CreatePatternBrush(pattern) : nullptr);
    if (!brush.IsValid()) {
        FillSolid(hDC, rc, crBar);
        return;
    }
    const COLORREF crOldText = ::SetTextColor(hDC, crLight);
    const COLORREF crOldBack = ::SetBkColor(hDC, crBar);
    ::FillRect(hDC, &rc, brush);
    ::SetTextColor(hDC, crOldText);
    ::SetBkColor(hDC, crOldBack);
}

void DrawStandardThumb(HDC hDC, const RECT &rc, UINT nState, int nStyle) {
    const bool bFlat = nStyle != ScrollSkinBar::STYLE_NORMAL;
    if (bFlat && (nState == D::STATE_PRESSED || nState == D::STATE_HOT)) {
        ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_BTNSHADOW));
        return;
    }
    RECT rcInside = rc;
    ::DrawEdge(hDC, &rcInside, EDGE_RAISED, BF_RECT | BF_ADJUST | (bFlat ? BF_FLAT : 0));
    ::FillRect(hDC, &rcInside, ::GetSysColorBrush(COLOR_BTNFACE));
}

bool DrawParts(HDC hDC, const CScrollBarPainter::Request &request, bool bTrackOnly) {
    const ScrollSkinBar &bar = *request.pBar;
    const bool bVertical = bar.nType == ScrollSkinBar::TYPE_VERT;
    const G::Bar geometry = bar.Geometry(request.rcBar);
    if (G::Length(geometry) <= 0 || geometry.rc.bottom <= geometry.rc.top)
        return false;
    G::Part parts[G::MAX_PARTS];
    const int count = G::Layout(geometry, bar.BothArrowsDisabled(), parts, request.pThumb);

    // What is painted: the bar, or the span of its page areas and thumb.
    RECT rcPaint = request.rcBar;
    if (bTrackOnly) {
        RECT span = {0, 0, 0, 0};
        for (int i = 0; i < count; ++i) {
            if (IsArrow(parts[i].nPart))
                continue;
            const RECT &rc = parts[i].rc;
            span = span.right > span.left ? RECT{span.left < rc.left ? span.left : rc.left, rc.top,
                                                 span.right > rc.right ? span.right : rc.right, rc.bottom}
                                           : rc;
        }
        if (span.right <= span.left)
            return false;
        rcPaint = bVertical ? ScrollSkinBar::Swap(span) : span;
    }
    CMemoryDC memory(hDC, rcPaint);
    HDC hTarget = memory.IsValid() ? memory.GetSafeHdc() : hDC;

    ScrollSkinDrawRecord record = {request.hWnd,
                                   static_cast<UINT_PTR>(::GetWindowLongPtrA(request.hWnd, GWLP_ID)),
                                   D::DRAW_CODE,
                                   D::STAGE_PREPAINT,
                                   hTarget,
                                   request.rcBar,
                                   G::PART_NONE,
                                   0,
                                   bar.nType};
    const bool bSkinned = CScrollBarSkinDraw::Draw(record) == D::SKIN_DRAWS;
    for (int i = 0; i < count; ++i) {
        const int nPart = parts[i].nPart;
        if (bTrackOnly && IsArrow(nPart))
            continue;
        const RECT rc = bVertical ? ScrollSkinBar::Swap(parts[i].rc) : parts[i].rc;
        const UINT nState = CScrollBarPainter::PartState(request, nPart);
        if (bSkinned) {
            record.dwStage = D::STAGE_PART;
            record.rc = rc;
            record.nPart = nPart;
            record.nState = nState;
            CScrollBarSkinDraw::Draw(record);
        } else {
            CScrollBarPainter::DrawStandardPart(hTarget, rc, nPart, nState, bar.nStyle, bVertical);
        }
    }
    record.dwStage = D::STAGE_POSTPAINT;
    record.rc = request.rcBar;
    record.nPart = G::PART_NONE;
    record.nState = 0;
    CScrollBarSkinDraw::Draw(record);
    return bSkinned;
}

} // namespace

bool CScrollBarPainter::DrawBar(HDC hDC, const Request &request) {
    return DrawParts(hDC, request, false);
}

bool CScrollBarPainter::DrawTrack(HDC hDC, const Request &request) {
    return DrawParts(hDC, request, true);
}

UINT CScrollBarPainter::PartState(const Request &request, int nPart) {
    const ScrollSkinBar &bar = *request.pBar;
    const bool bHot =
        bar.nStyle == ScrollSkinBar::STYLE_HOT && request.bHovered && request.nHot == nPart && nPart != G::PART_NONE;
    if (IsArrow(nPart)) {
        const UINT nFlag = nPart == G::PART_LEFT_ARROW ? ScrollSkinBar::FLAG_LEFT_DISABLED
                                                        : ScrollSkinBar::FLAG_RIGHT_DISABLED;
        if ((bar.nFlags & nFlag) || !G::CanScroll(bar.Values()))
            return D::STATE_DISABLED;
    }
    if (request.nPressed == nPart)
        return D::STATE_PRESSED;
    if (nPart != G::PART_THUMB && !IsArrow(nPart))
        return bar.IsActive() ? D::STATE_NORMAL : D::STATE_DISABLED;
    return bHot ? D::STATE_HOT : D::STATE_NORMAL;
}

void CScrollBarPainter::DrawStandardPart(HDC hDC, const RECT &rc, int nPart, UINT nState, int nStyle, bool bVertical) {
    if (IsArrow(nPart))
        DrawStandardArrow(hDC, rc, nPart, nState, nStyle, bVertical);
    else if (nPart == G::PART_THUMB)
        DrawStandardThumb(hDC, rc, nState, nStyle);
    else
        DrawStandardPage(hDC, rc, nState);
}

void CScrollBarPainter::DrawSizeBox(HDC hDC, HWND hWnd, const RECT &rc, const RECT &rcScreen, bool bSkinned,
                                    bool bLeftScrollBar) {
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    if (bSkinned) {
        ScrollSkinDrawRecord record = {hWnd,
                                       static_cast<UINT_PTR>(::GetWindowLongPtrA(hWnd, GWLP_ID)),
                                       D::DRAW_CODE,
                                       D::STAGE_PART,
                                       hDC,
                                       rc,
                                       G::PART_SIZE_BOX,
                                       D::STATE_NORMAL,
                                       D::BAR_SIZE_BOX};
        if (CScrollBarSkinDraw::Draw(record) == D::SKIN_DRAWS)
            return;
    }
    // The grip only where the corner is the parent's client corner, so that dragging it sizes the parent.
    HWND hParent = ::GetParent(hWnd);
    RECT rcParent = {0, 0, 0, 0};
    if (hParent && ::GetClientRect(hParent, &rcParent))
        ::MapWindowPoints(hParent, nullptr, reinterpret_cast<POINT *>(&rcParent), 2);
    const bool bCorner = hParent && rcScreen.bottom == rcParent.bottom &&
                         (bLeftScrollBar ? rcScreen.left == rcParent.left : rcScreen.right == rcParent.right);
    RECT rcBox = rc;
    if (bCorner)
        ::DrawFrameControl(hDC, &rcBox, DFC_SCROLL, bLeftScrollBar ? DFCS_SCROLLSIZEGRIPRIGHT : DFCS_SCROLLSIZEGRIP);
    else
        ::FillRect(hDC, &rcBox, ::GetSysColorBrush(COLOR_BTNFACE));
}
