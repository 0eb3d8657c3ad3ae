#include "skin/controls/ScrollSkinWnd.h"

#include <windowsx.h>
#include <commctrl.h>

#include "platform/Handle.h"
#include "platform/WindowDC.h"
#include "skin/ScrollBarInterception.h"
#include "skin/controls/ScrollBarPainter.h"

namespace {
typedef CScrollBarGeometry G;

const LONG_PTR SCROLL_STYLES = WS_HSCROLL | WS_VSCROLL;

// The interaction state. Only one bar at a time can hold the mouse (capture keeps it so), so the process keeps one:
// the bar being clicked and its pressed part, a thumb being dragged, and the bar under the pointer with its hot part.
struct Interaction {
    HWND hWnd;         // the window being clicked
    int nBar;          // the bar being clicked, or -1
    UINT nMessage;     // its scroll message
    int nPressed;      // the part pressed
    int nShown;        // the part shown pressed (the pressed part while the pointer is over it)
    int nLastMove;     // the part under the pointer at the last move
    int nLastPos;      // the last thumb position sent
    UINT_PTR nRepeatTimer;
    // Thumb dragging: the bar at button-down (screen), the thumb's size, its offset then and now, the pointer's
    // offset into it and the position it stood for.
    RECT rcDragBar;
    int nThumbSize;
    int nStartOffset;
    int nOffset;
    int nGrip;
    int nStartPos;
    // Hover.
    HWND hHoverWnd;
    int nHoverBar;
    RECT rcHover;
    int nHot;
    int nPrevHot;
    UINT_PTR nHoverTimer;
};

const Interaction IDLE = {nullptr, -1, 0, G::PART_NONE, G::PART_NONE, G::PART_NONE, 0, 0, {0, 0, 0, 0}, 0, 0, 0, 0,
                          0, nullptr, -1, {0, 0, 0, 0}, G::PART_NONE, G::PART_NONE, 0};
Interaction g_state = IDLE;

void ResetClick() {
    Interaction hover = g_state;
    g_state = IDLE;
    g_state.hHoverWnd = hover.hHoverWnd;
    g_state.nHoverBar = hover.nHoverBar;
    g_state.rcHover = hover.rcHover;
    g_state.nHot = hover.nHot;
    g_state.nPrevHot = hover.nPrevHot;
    g_state.nHoverTimer = hover.nHoverTimer;
}

void ResetHover() {
    g_state.hHoverWnd = nullptr;
    g_state.nHoverBar = -1;
    g_state.rcHover = RECT{0, 0, 0, 0};
    g_state.nHot = G::PART_NONE;
    g_state.nPrevHot = G::PART_NONE;
    g_state.nHoverTimer = 0;
}

bool IsRepeatingPart(int nPart) {
    return nPart >= G::PART_LEFT_ARROW && nPart <= G::PART_PAGE_RIGHT;
}

bool IsNonClientMouse(UINT message) {
    return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK;
}

RECT Offset(RECT rc, LONG dx, LONG dy) {
    ::OffsetRect(&rc, dx, dy);
    return rc;
}

} // namespace

CScrollSkinWnd::CScrollSkinWnd() = default;

CScrollSkinWnd::~CScrollSkinWnd() = default;

CScrollSkinWnd *CScrollSkinWnd::FromHandle(HWND hWnd) {
    return hWnd ? static_cast<CScrollSkinWnd *>(::GetPropA(hWnd, CScrollBarInterception::SKINNED_BARS_PROPERTY))
                : nullptr;
}

CScrollSkinWnd *CScrollSkinWnd::Attach(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd) || FromHandle(hWnd))
        return nullptr;
    CScrollSkinWnd *pWnd = new CScrollSkinWnd;
    const LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    pWnd->m_bLeftScrollBar = (::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    for (int b = 0; b < 2; ++b) {
        ScrollSkinBar &bar = pWnd->m_bars[b];
        bar.info.cbSize = sizeof(SCROLLINFO);
        bar.info.fMask = SIF_ALL;
        if (!CScrollBarInterception::SystemGetScrollInfo(hWnd, b, &bar.info)) {
            bar.info = SCROLLINFO{};
            bar.info.cbSize = sizeof(SCROLLINFO);
        }
        bar.info.fMask = 0;
        if (style & (b == SB_VERT ? WS_VSCROLL : WS_HSCROLL))
            bar.nFlags |= ScrollSkinBar::FLAG_WANTED;
        bar.nType = b;
        bar.nArrowLength = bar.nArrowWidth = ScrollSkinBar::DEFAULT_ARROW;
        bar.nStyle = ScrollSkinBar::STYLE_NORMAL;
    }
    if (!::SetPropA(hWnd, CScrollBarInterception::SKINNED_BARS_PROPERTY, pWnd)) {
        delete pWnd;
        return nullptr;
    }
    if (!pWnd->Subclass(hWnd)) {
        ::RemovePropA(hWnd, CScrollBarInterception::SKINNED_BARS_PROPERTY);
        delete pWnd;
        return nullptr;
    }
    pWnd->SetMinThumb(SB_BOTH, -1);
    pWnd->CreateToolTip();
    pWnd->RecalcFrame();
    return pWnd;
}

void CScrollSkinWnd::Detach() {
    HWND hWnd = GetHwnd();
    ForgetInteraction();
    ::RemovePropA(hWnd, CScrollBarInterception::SKINNED_BARS_PROPERTY);
    Unsubclass();
    // The system's bars take over where these stood.
    for (int b = 0; b < 2; ++b) {
        SCROLLINFO info = m_bars[b].info;
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        CScrollBarInterception::SystemSetScrollInfo(hWnd, b, &info, FALSE);
        CScrollBarInterception::SystemShowScrollBar(hWnd, b, m_bars[b].IsWanted());
    }
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    delete this;
}

void CScrollSkinWnd::OnFinalMessage(HWND) {
    delete this;
}

// --- Operations --------------------------------------------------------------------------------------------------

int CScrollSkinWnd::SelectBars(int nBar, ScrollSkinBar *bars[2], bool bAllowBoth) {
    if (nBar == SB_HORZ || nBar == SB_VERT) {
        bars[0] = &m_bars[nBar];
        return 1;
    }
    if (nBar == SB_BOTH && bAllowBoth) {
        bars[0] = &m_bars[SB_HORZ];
        bars[1] = &m_bars[SB_VERT];
        return 2;
    }
    return 0;
}

BOOL CScrollSkinWnd::Enable(UINT nBar, UINT nArrows) {
    ScrollSkinBar *bars[2];
    const int count = SelectBars(static_cast<int>(nBar), bars, true);
    if (!count)
        return CScrollBarInterception::SystemEnableScrollBar(GetHwnd(), nBar, nArrows);
    BOOL bChanged = TRUE;
    for (int i = 0; i < count; ++i) {
        const UINT nOld = bars[i]->nFlags;
        bars[i]->nFlags = (nOld & ~ScrollSkinBar::FLAG_ARROWS) | (nArrows & ScrollSkinBar::FLAG_ARROWS);
        bChanged = bChanged && bars[i]->nFlags != nOld;
    }
    return bChanged;
}

BOOL CScrollSkinWnd::GetInfo(int nBar, LPSCROLLINFO pInfo) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemGetScrollInfo(GetHwnd(), nBar, pInfo);
    if (!pInfo)
        return FALSE;
    const SCROLLINFO &own = bars[0]->info;
    BOOL bCopied = FALSE;
    if (pInfo->fMask & SIF_PAGE) {
        pInfo->nPage = own.nPage;
        bCopied = TRUE;
    }
    if (pInfo->fMask & SIF_POS) {
        pInfo->nPos = own.nPos;
        bCopied = TRUE;
    }
    if (pInfo->fMask & SIF_TRACKPOS) {
        pInfo->nTrackPos = own.nTrackPos;
        bCopied = TRUE;
    }
    if (pInfo->fMask & SIF_RANGE) {
        pInfo->nMin = own.nMin;
        pInfo->nMax = own.nMax;
        bCopied = TRUE;
    }
    return bCopied;
}

int CScrollSkinWnd::GetPos(int nBar) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemGetScrollPos(GetHwnd(), nBar);
    return bars[0]->info.nPos;
}

BOOL CScrollSkinWnd::GetRange(int nBar, LPINT pMin, LPINT pMax) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemGetScrollRange(GetHwnd(), nBar, pMin, pMax);
    if (!pMin || !pMax)
        return FALSE;
    *pMin = bars[0]->info.nMin;
    *pMax = bars[0]->info.nMax;
    return TRUE;
}

int CScrollSkinWnd::SetInfo(int nBar, LPCSCROLLINFO pInfo, BOOL bRedraw) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemSetScrollInfo(GetHwnd(), nBar, pInfo, bRedraw);
    if (!pInfo)
        return 0;
    ScrollSkinBar &bar = *bars[0];
    SCROLLINFO &own = bar.info;
    const UINT nMask = pInfo->fMask;
    if (nMask & SIF_RANGE) {
        own.nMin = pInfo->nMin;
        own.nMax = pInfo->nMax;
    }
    // The page never exceeds the range plus one, also when only the range changes.
    const UINT nLimit = static_cast<UINT>(own.nMax) - static_cast<UINT>(own.nMin) + 1;
    if (nMask & SIF_PAGE)
        own.nPage = pInfo->nPage < nLimit ? pInfo->nPage : nLimit;
    else if ((nMask & SIF_RANGE) && own.nPage > nLimit)
        own.nPage = nLimit;
    // The position is kept within the range whenever range or page change: controls that shrink their range read
    // the position back to learn how far their content moved.
    if (nMask & SIF_POS)
        own.nPos = G::ClampPos(bar.Values(), pInfo->nPos);
    else if (nMask & (SIF_RANGE | SIF_PAGE))
        own.nPos = G::ClampPos(bar.Values(), own.nPos);

    bool bVisibilityChanged = false;
    if (nMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        const bool bVisible = (nMask & SIF_DISABLENOSCROLL) ||
                              (static_cast<UINT>(own.nMax) >= own.nPage && !(own.nPage == 0 && own.nMax == 0) &&
                               own.nMin < own.nMax);
        if (bVisible != bar.IsWanted()) {
            bVisibilityChanged = true;
            Show(nBar, bVisible);
        }
    }
    if (bRedraw && !m_bThumbTracking && !bVisibilityChanged)
        RepaintNonClient();
    return own.nPos;
}

int CScrollSkinWnd::SetPos(int nBar, int nPos, BOOL bRedraw) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemSetScrollPos(GetHwnd(), nBar, nPos, bRedraw);
    const int nOld = bars[0]->info.nPos;
    bars[0]->info.nPos = G::ClampPos(bars[0]->Values(), nPos);
    if (bRedraw && !m_bThumbTracking)
        RepaintNonClient();
    return nOld;
}

BOOL CScrollSkinWnd::SetRange(int nBar, int nMin, int nMax, BOOL bRedraw) {
    ScrollSkinBar *bars[2];
    if (!SelectBars(nBar, bars, false))
        return CScrollBarInterception::SystemSetScrollRange(GetHwnd(), nBar, nMin, nMax, bRedraw);
    if (m_bThumbTracking)
        return bars[0]->info.nPos;
    bars[0]->info.nMin = nMin;
    bars[0]->info.nMax = nMax;
    if (bRedraw)
        RepaintNonClient();
    return TRUE;
}

BOOL CScrollSkinWnd::Show(int nBar, BOOL bShow) {
    ScrollSkinBar *bars[2];
    const int count = SelectBars(nBar, bars, true);
    if (!count)
        return CScrollBarInterception::SystemShowScrollBar(GetHwnd(), nBar, bShow);
    LONG_PTR dwStyles = 0;
    for (int i = 0; i < count; ++i) {
        if (bShow)
            bars[i]->nFlags |= ScrollSkinBar::FLAG_WANTED;
        else
            bars[i]->nFlags &= ~ScrollSkinBar::FLAG_WANTED;
        dwStyles |= bars[i]->nType == ScrollSkinBar::TYPE_VERT ? WS_VSCROLL : WS_HSCROLL;
    }
    ChangeStyleQuietly(bShow ? 0 : dwStyles, bShow ? dwStyles : 0);
    RecalcFrame();
    return TRUE;
}

BOOL CScrollSkinWnd::SetArrowSize(int nBar, int nLength, int nWidth) {
    auto valid = [](int n) { return n != 0 && n >= ScrollSkinBar::MIN_ARROW && n <= ScrollSkinBar::MAX_ARROW; };
    ScrollSkinBar *bars[2];
    const int count = valid(nLength) && valid(nWidth) ? SelectBars(nBar, bars, true) : 0;
    if (!count)
        return FALSE;
    for (int i = 0; i < count; ++i) {
        bars[i]->nArrowLength = nLength;
        bars[i]->nArrowWidth = nWidth;
    }
    RecalcFrame();
    return TRUE;
}

BOOL CScrollSkinWnd::SetStyle(int nBar, int nStyle) {
    ScrollSkinBar *bars[2];
    const int count = SelectBars(nBar, bars, true);
    for (int i = 0; i < count; ++i)
        bars[i]->nStyle = nStyle;
    if (count)
        RepaintNonClient();
    return count ? TRUE : FALSE;
}

BOOL CScrollSkinWnd::SetMinThumb(int nBar, int nSize) {
    ScrollSkinBar *bars[2];
    const int count = SelectBars(nBar, bars, true);
    for (int i = 0; i < count; ++i)
        bars[i]->nMinThumb = nSize == -1 ? ScrollSkinBar::DefaultMinThumb() : nSize;
    return count ? TRUE : FALSE;
}

// --- Geometry ----------------------------------------------------------------------------------------------------

RECT CScrollSkinWnd::GetBarRect(int nBar) const {
    RECT rcWindow = {0, 0, 0, 0};
    ::GetWindowRect(GetHwnd(), &rcWindow);
    const ScrollSkinBar &horz = m_bars[SB_HORZ], &vert = m_bars[SB_VERT];
    const LONG horzWidth = horz.bShown ? horz.ArrowWidth() : 0;
    const LONG vertWidth = vert.bShown ? vert.ArrowWidth() : 0;
    RECT rc;
    if (nBar == SB_HORZ) {
        rc.left = rcWindow.left + m_rcBorder.left + (m_bLeftScrollBar ? vertWidth : 0);
        rc.right = rcWindow.right - m_rcBorder.right - (m_bLeftScrollBar ? 0 : vertWidth);
        rc.bottom = rcWindow.bottom - m_rcBorder.bottom;
        rc.top = rc.bottom - horzWidth;
    } else {
        rc.top = rcWindow.top + m_rcBorder.top;
        rc.bottom = rcWindow.bottom - m_rcBorder.bottom - horzWidth;
        if (m_bLeftScrollBar) {
            rc.left = rcWindow.left + m_rcBorder.left;
            rc.right = rc.left + vertWidth;
        } else {
            rc.right = rcWindow.right - m_rcBorder.right;
            rc.left = rc.right - vertWidth;
        }
    }
    return rc;
}

int CScrollSkinWnd::HitTest(int nBar, POINT ptScreen) const {
    const ScrollSkinBar &bar = GetBar(nBar);
    const G::Bar geometry = bar.Geometry(GetBarRect(nBar));
    return G::HitTest(geometry, bar.nType == ScrollSkinBar::TYPE_VERT ? ScrollSkinBar::Swap(ptScreen) : ptScreen);
}

int CScrollSkinWnd::GetShownPressedPart(HWND hWnd, int nBar) {
    return g_state.hWnd == hWnd && hWnd && g_state.nBar == nBar ? g_state.nShown : G::PART_NONE;
}

int CScrollSkinWnd::GetHotPart(HWND hWnd, int nBar) {
    return g_state.hHoverWnd == hWnd && hWnd && g_state.nHoverBar == nBar ? g_state.nHot : G::PART_NONE;
}

// --- Messages ----------------------------------------------------------------------------------------------------

LRESULT CScrollSkinWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsNonClientMouse(message))
        RelayToToolTip(message, wParam, lParam);
    switch (message) {
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(wParam, lParam);
    case WM_NCPAINT: return OnNcPaint(wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(message, wParam, lParam);
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDown(message, wParam, lParam);
    case WM_NCRBUTTONDOWN: return OnNcOtherButton(message, wParam, lParam);
    case WM_NCRBUTTONUP: return OnNcOtherButton(message, wParam, lParam);
    case WM_NCMBUTTONDOWN: return OnNcOtherButton(message, wParam, lParam);
    case WM_NCMBUTTONUP: return OnNcOtherButton(message, wParam, lParam);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(wParam, lParam);
    case WM_TIMER: return OnTimer(wParam, lParam);
    case WM_STYLECHANGING: return OnStyleChange(message, wParam, lParam);
    case WM_STYLECHANGED: return OnStyleChange(message, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    // With or without NCCALCSIZE_PARAMS, the first rectangle is the proposed window and becomes the client.
    RECT *pRect = reinterpret_cast<RECT *>(lParam);
    if (!pRect)
        return CallWithoutScrollStyles(WM_NCCALCSIZE, wParam, lParam);
    const RECT rcProposed = *pRect;
    const LRESULT result = CallWithoutScrollStyles(WM_NCCALCSIZE, wParam, lParam);
    RECT &rcClient = *pRect;
    m_rcBorder = RECT{rcClient.left - rcProposed.left, rcClient.top - rcProposed.top, rcProposed.right - rcClient.right,
                      rcProposed.bottom - rcClient.bottom};

    ScrollSkinBar &horz = m_bars[SB_HORZ], &vert = m_bars[SB_VERT];
    const LONG horzWidth = horz.ArrowWidth();
    horz.bShown = horz.IsWanted() && horzWidth < rcClient.bottom - rcClient.top;
    if (horz.bShown)
        rcClient.bottom -= horzWidth;
    const LONG vertWidth = vert.ArrowWidth();
    vert.bShown = vert.IsWanted() && rcClient.right - rcClient.left >= vertWidth;
    if (vert.bShown) {
        if (m_bLeftScrollBar)
            rcClient.left += vertWidth;
        else
            rcClient.right -= vertWidth;
    }
    return result;
}

LRESULT CScrollSkinWnd::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    for (int b = 0; b < 2; ++b) {
        const RECT rc = GetBarRect(b);
        if (m_bars[b].bShown && ::PtInRect(&rc, pt))
            return b == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return Default(WM_NCHITTEST, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    HWND hWnd = GetHwnd();
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    // The previous procedure paints the rest of the frame first, kept off the client area and the bars: some
    // controls fill their whole window with a non-client background (a themed list view does), which would wipe
    // the rows and the bars. Drawn afterwards, the bars are never painted over.
    const LRESULT result = CallPreviousNcPaint(wParam, lParam);
    bool bSkinned = false;
    {
        CWindowDC dc(hWnd);
        for (int b = 0; b < 2 && dc.GetSafeHdc(); ++b) {
            if (m_bars[b].bShown)
                bSkinned = DrawBarOn(dc, b, rcWindow, false) || bSkinned;
        }
        if (dc.GetSafeHdc() && m_bars[SB_HORZ].bShown && m_bars[SB_VERT].bShown) {
            const RECT rcCorner = GetCornerRect();
            CScrollBarPainter::DrawSizeBox(dc, hWnd, Offset(rcCorner, -rcWindow.left, -rcWindow.top), rcCorner,
                                           bSkinned, m_bLeftScrollBar);
        }
    }
    return result;
}

RECT CScrollSkinWnd::GetCornerRect() const {
    const RECT rcHorz = GetBarRect(SB_HORZ), rcVert = GetBarRect(SB_VERT);
    return RECT{rcVert.left, rcHorz.top, rcVert.right, rcHorz.bottom};
}

LRESULT CScrollSkinWnd::CallPreviousNcPaint(WPARAM wParam, LPARAM lParam) {
    HWND hWnd = GetHwnd();
    RECT rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT *>(&rcClient), 2);
    CRgn frame(::CreateRectRgnIndirect(&rcWindow));
    if (!frame.IsValid())
        return CallWithoutScrollStyles(WM_NCPAINT, wParam, lParam);
    if (wParam > 1)
        ::CombineRgn(frame, frame, reinterpret_cast<HRGN>(wParam), RGN_AND);
    RECT rcOff[4] = {rcClient, GetBarRect(SB_HORZ), GetBarRect(SB_VERT), GetCornerRect()};
    const int count = m_bars[SB_HORZ].bShown && m_bars[SB_VERT].bShown ? 4 : 3;
    for (int i = 0; i < count; ++i) {
        CRgn off(::CreateRectRgnIndirect(&rcOff[i]));
        if (off.IsValid())
            ::CombineRgn(frame, frame, off, RGN_DIFF);
    }
    const HRGN hFrame = frame.Get();
    const LRESULT result = CallWithoutScrollStyles(WM_NCPAINT, reinterpret_cast<WPARAM>(hFrame), lParam);
    // A procedure that hands the region to GetDCEx gives it to the system, which deletes it with the DC.
    if (::GetObjectType(hFrame) != OBJ_REGION)
        frame.Detach();
    return result;
}

LRESULT CScrollSkinWnd::OnNcLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam != HTHSCROLL && wParam != HTVSCROLL) {
        if (g_state.hWnd == GetHwnd())
            g_state.nPressed = G::PART_NONE;
        return Default(message, wParam, lParam);
    }
    const int nBar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScrollSkinBar &bar = m_bars[nBar];
    const RECT rcBar = GetBarRect(nBar);
    const int nPart = HitTest(nBar, pt);
    if ((nPart == G::PART_LEFT_ARROW && (bar.nFlags & ScrollSkinBar::FLAG_LEFT_DISABLED)) ||
        (nPart == G::PART_RIGHT_ARROW && (bar.nFlags & ScrollSkinBar::FLAG_RIGHT_DISABLED)))
        return 0;
    if (nPart == G::PART_NONE)
        return Default(message, wParam, lParam);
    // A bar that cannot scroll takes no click (and no capture: nothing would release it).
    if (!bar.IsActive())
        return 0;
    HWND hWnd = GetHwnd();
    ResetClick();
    g_state.hWnd = hWnd;
    g_state.nBar = nBar;
    g_state.nMessage = nBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    if (nPart == G::PART_THUMB) {
        BeginThumbDrag(nBar, rcBar, pt);
        return 0;
    }
    g_state.nPressed = nPart;
    SendScroll(nPart);
    if (FromHandle(hWnd) != this || g_state.hWnd != hWnd)
        return 0; // the request closed the window or ended the click
    const int nNow = HitTest(nBar, pt);
    g_state.nShown = nNow == nPart ? nPart : G::PART_NONE;
    g_state.nLastMove = nNow;
    RedrawBar(nBar);
    g_state.nRepeatTimer = ::SetTimer(hWnd, TIMER_FIRST_REPEAT, FIRST_REPEAT_DELAY, nullptr) ? TIMER_FIRST_REPEAT : 0;
    ::SetCapture(hWnd);
    return 0;
}

LRESULT CScrollSkinWnd::OnNcOtherButton(UINT message, WPARAM wParam, LPARAM lParam) {
    // Other buttons do nothing on the bars (the system's bars would open their context menu).
    if (wParam == HTHSCROLL || wParam == HTVSCROLL)
        return 0;
    return Default(message, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnNcMouseMove(WPARAM wParam, LPARAM lParam) {
    if (wParam == HTHSCROLL || wParam == HTVSCROLL) {
        const int nBar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
        HWND hWnd = GetHwnd();
        if (g_state.hHoverWnd != hWnd || g_state.nHoverBar != nBar) {
            g_state.nHot = G::PART_NONE;
            g_state.nPrevHot = G::PART_NONE;
            g_state.hHoverWnd = hWnd;
            g_state.nHoverBar = nBar;
            g_state.rcHover = GetBarRect(nBar);
            g_state.nHoverTimer = ::SetTimer(hWnd, TIMER_HOVER, HOVER_DELAY, nullptr) ? TIMER_HOVER : 0;
            RepaintNonClient();
        }
    }
    return Default(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    HWND hWnd = GetHwnd();
    if (g_state.hWnd != hWnd || ::GetCapture() != hWnd)
        return Default(WM_MOUSEMOVE, wParam, lParam);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(hWnd, &pt);
    if (m_bThumbTracking) {
        TrackThumb(pt);
        return 0;
    }
    if (g_state.nPressed == G::PART_NONE)
        return Default(WM_MOUSEMOVE, wParam, lParam);
    FollowPressedPart(pt);
    return 0;
}

LRESULT CScrollSkinWnd::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (g_state.hWnd != GetHwnd() || g_state.nPressed == G::PART_NONE)
        return Default(WM_LBUTTONUP, wParam, lParam);
    EndInteraction();
    return 0;
}

LRESULT CScrollSkinWnd::OnCaptureChanged(WPARAM wParam, LPARAM lParam) {
    // Capture taken away in the middle of a click (another window, a menu, a dialog): the click ends here, or the
    // repeat timer would go on scrolling with no button held.
    HWND hWnd = GetHwnd();
    if (g_state.hWnd == hWnd && g_state.nPressed != G::PART_NONE && reinterpret_cast<HWND>(lParam) != hWnd)
        EndInteraction();
    return Default(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnTimer(WPARAM wParam, LPARAM lParam) {
    HWND hWnd = GetHwnd();
    const UINT_PTR nId = static_cast<UINT_PTR>(wParam);
    if (nId == TIMER_FIRST_REPEAT) {
        ::KillTimer(hWnd, TIMER_FIRST_REPEAT);
        const bool bPressed = g_state.hWnd == hWnd && IsRepeatingPart(g_state.nPressed);
        g_state.nRepeatTimer = bPressed && ::SetTimer(hWnd, TIMER_REPEAT, REPEAT_DELAY, nullptr) ? TIMER_REPEAT : 0;
        return 0;
    }
    if (nId == TIMER_REPEAT) {
        if (g_state.hWnd != hWnd || !IsRepeatingPart(g_state.nPressed)) {
            ::KillTimer(hWnd, TIMER_REPEAT);
            return 0;
        }
        POINT pt;
        ::GetCursorPos(&pt);
        FollowPressedPart(pt);
        if (g_state.nShown != G::PART_NONE)
            SendScroll(g_state.nShown);
        return 0;
    }
    if (nId == TIMER_HOVER) {
        if (g_state.hHoverWnd != hWnd) {
            // The pointer went on to another window's bar: this one drops its hot part.
            ::KillTimer(hWnd, TIMER_HOVER);
            RepaintNonClient();
            return 0;
        }
        if (m_bThumbTracking)
            return 0;
        POINT pt;
        ::GetCursorPos(&pt);
        if (!::PtInRect(&g_state.rcHover, pt)) {
            ::KillTimer(hWnd, TIMER_HOVER);
            ResetHover();
            RepaintNonClient();
            return 0;
        }
        const int nHot = HitTest(g_state.nHoverBar, pt);
        if (nHot != g_state.nHot) {
            g_state.nPrevHot = g_state.nHot;
            g_state.nHot = nHot;
            RedrawBar(g_state.nHoverBar);
        }
        return 0;
    }
    return Default(WM_TIMER, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnStyleChange(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_nStyleGuard > 0)
        return 0;
    if (message == WM_STYLECHANGED && static_cast<int>(wParam) == GWL_EXSTYLE && lParam)
        m_bLeftScrollBar = (reinterpret_cast<const STYLESTRUCT *>(lParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
    return Default(message, wParam, lParam);
}

LRESULT CScrollSkinWnd::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    ForgetInteraction();
    ::RemovePropA(GetHwnd(), CScrollBarInterception::SKINNED_BARS_PROPERTY);
    // Passed on; the record is deleted once the message has gone down the chain (OnFinalMessage).
    return Default(WM_NCDESTROY, wParam, lParam);
}

// --- Helpers -----------------------------------------------------------------------------------------------------

LRESULT CScrollSkinWnd::CallWithoutScrollStyles(UINT message, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR dwStyles = ::GetWindowLongPtrA(GetHwnd(), GWL_STYLE) & SCROLL_STYLES;
    if (!dwStyles)
        return Default(message, wParam, lParam);
    ChangeStyleQuietly(dwStyles, 0);
    const LRESULT result = Default(message, wParam, lParam);
    ChangeStyleQuietly(0, dwStyles);
    return result;
}

void CScrollSkinWnd::ChangeStyleQuietly(LONG_PTR dwRemove, LONG_PTR dwAdd) {
    HWND hWnd = GetHwnd();
    const LONG_PTR dwOld = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    const LONG_PTR dwNew = (dwOld & ~dwRemove) | dwAdd;
    if (dwNew == dwOld)
        return;
    ++m_nStyleGuard;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, dwNew);
    --m_nStyleGuard;
}

void CScrollSkinWnd::RecalcFrame() {
    ::SetWindowPos(GetHwnd(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CScrollSkinWnd::RepaintNonClient() {
    ::SendMessageA(GetHwnd(), WM_NCPAINT, 1, 0);
}

bool CScrollSkinWnd::DrawBarOn(HDC hDC, int nBar, const RECT &rcWindow, bool bTrackOnly) {
    HWND hWnd = GetHwnd();
    const bool bDragged = m_bThumbTracking && g_state.hWnd == hWnd && g_state.nBar == nBar;
    const G::Thumb thumb = {g_state.nThumbSize, g_state.nOffset};
    const CScrollBarPainter::Request request = {hWnd,
                                                &m_bars[nBar],
                                                Offset(GetBarRect(nBar), -rcWindow.left, -rcWindow.top),
                                                GetShownPressedPart(hWnd, nBar),
                                                GetHotPart(hWnd, nBar),
                                                g_state.hHoverWnd == hWnd && g_state.nHoverBar == nBar,
                                                bDragged ? &thumb : nullptr};
    return bTrackOnly ? CScrollBarPainter::DrawTrack(hDC, request) : CScrollBarPainter::DrawBar(hDC, request);
}

void CScrollSkinWnd::RedrawBar(int nBar, bool bTrackOnly) {
    if (nBar != SB_HORZ && nBar != SB_VERT)
        return;
    if (!m_bars[nBar].bShown)
        return;
    HWND hWnd = GetHwnd();
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    CWindowDC dc(hWnd);
    if (dc.GetSafeHdc())
        DrawBarOn(dc, nBar, rcWindow, bTrackOnly);
}

void CScrollSkinWnd::BeginThumbDrag(int nBar, const RECT &rcBar, POINT ptScreen) {
    ScrollSkinBar &bar = m_bars[nBar];
    const G::Bar geometry = bar.Geometry(rcBar);
    const G::Thumb thumb = G::GetThumb(geometry);
    const POINT pt = bar.nType == ScrollSkinBar::TYPE_VERT ? ScrollSkinBar::Swap(ptScreen) : ptScreen;
    g_state.nPressed = g_state.nShown = G::PART_THUMB;
    g_state.rcDragBar = rcBar;
    g_state.nThumbSize = thumb.nSize;
    g_state.nStartOffset = g_state.nOffset = thumb.nOffset;
    g_state.nGrip = pt.x - (geometry.rc.left + geometry.nArrow + thumb.nOffset);
    g_state.nStartPos = g_state.nLastPos = bar.info.nPos;
    bar.info.nTrackPos = bar.info.nPos;
    m_bThumbTracking = true;
    RedrawBar(nBar);
    ::SetCapture(GetHwnd());
}

void CScrollSkinWnd::TrackThumb(POINT ptScreen) {
    const int nBar = g_state.nBar;
    ScrollSkinBar &bar = m_bars[nBar];
    const G::Bar geometry = bar.Geometry(g_state.rcDragBar);
    const POINT pt = bar.nType == ScrollSkinBar::TYPE_VERT ? ScrollSkinBar::Swap(ptScreen) : ptScreen;
    const int nOffset = G::DragOffset(geometry, g_state.nThumbSize, g_state.nStartOffset, g_state.nGrip, pt);
    if (nOffset != g_state.nOffset) {
        g_state.nOffset = nOffset;
        RedrawBar(nBar, true);
    }
    // Back at its start (snapped back or returned) the thumb stands for the position it had: no rounding drift.
    const int nPos = nOffset == g_state.nStartOffset ? g_state.nStartPos
                                                     : G::PositionAt(geometry, g_state.nThumbSize, nOffset);
    if (nPos != g_state.nLastPos) {
        g_state.nLastPos = nPos;
        bar.info.nTrackPos = nPos;
        SendScroll(SB_THUMBTRACK, nPos);
    }
}

void CScrollSkinWnd::FollowPressedPart(POINT ptScreen) {
    const int nNow = HitTest(g_state.nBar, ptScreen);
    g_state.nShown = nNow == g_state.nPressed ? g_state.nPressed : G::PART_NONE;
    if (nNow != g_state.nLastMove) {
        g_state.nLastMove = nNow;
        RedrawBar(g_state.nBar);
    }
}

void CScrollSkinWnd::SendScroll(int nRequest, int nPos) {
    ::SendMessageA(GetHwnd(), g_state.nMessage, MAKEWPARAM(nRequest, static_cast<WORD>(nPos)), 0);
}

void CScrollSkinWnd::EndInteraction() {
    HWND hWnd = GetHwnd();
    const Interaction ended = g_state;
    const bool bDragged = m_bThumbTracking;
    // The state is released first: releasing the capture comes back here as WM_CAPTURECHANGED.
    g_state.nPressed = G::PART_NONE;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (IsRepeatingPart(ended.nPressed)) {
        ::KillTimer(hWnd, TIMER_FIRST_REPEAT);
        ::KillTimer(hWnd, TIMER_REPEAT);
    }
    if (bDragged) {
        SendScroll(SB_THUMBPOSITION, ended.nLastPos);
        m_bThumbTracking = false;
    }
    SendScroll(SB_ENDSCROLL);
    ResetClick();
    if (FromHandle(hWnd) == this)
        RedrawBar(ended.nBar);
}

void CScrollSkinWnd::ForgetInteraction() {
    HWND hWnd = GetHwnd();
    if (g_state.hWnd == hWnd) {
        if (::GetCapture() == hWnd)
            ::ReleaseCapture();
        ::KillTimer(hWnd, TIMER_FIRST_REPEAT);
        ::KillTimer(hWnd, TIMER_REPEAT);
        ResetClick();
    }
    if (g_state.hHoverWnd == hWnd) {
        ::KillTimer(hWnd, TIMER_HOVER);
        ResetHover();
    }
    m_bThumbTracking = false;
    if (m_hToolTip) {
        ::DestroyWindow(m_hToolTip);
        m_hToolTip = nullptr;
    }
}

void CScrollSkinWnd::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hToolTip)
        return;
    MSG msg = {GetHwnd(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
               {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}};
    ::SendMessageA(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool CScrollSkinWnd::CreateToolTip() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND hWnd = GetHwnd();
    m_hToolTip = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, hWnd, nullptr,
                                   reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hWnd, GWLP_HINSTANCE)), nullptr);
    if (!m_hToolTip)
        return false;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hWnd);
    tool.lpszText = const_cast<char *>("");
    ::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}
