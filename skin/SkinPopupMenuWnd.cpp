#include "skin/SkinPopupMenuWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "platform/ClientDC.h"
#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "platform/RectSize.h"
#include "platform/SelectObject.h"
#include "skin/SkinEngine.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinMessages.h"
#include "skin/SkinNonClient.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"

namespace {

typedef CSkinFrameLayout L;

LPARAM PackPoint(POINT pt) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(pt.x)), static_cast<WORD>(static_cast<SHORT>(pt.y)));
}

POINT ClientToScreenPoint(HWND hWnd, LPARAM lParam) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(hWnd, &pt);
    return pt;
}

bool IsInWindow(HWND hWnd, POINT ptScreen) {
    RECT rc;
    return hWnd && ::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &rc) && ::PtInRect(&rc, ptScreen);
}

// The end of the window's parent chain (its owner counts for a top-level window).
HWND TopLevelOf(HWND hWnd) {
    for (int depth = 0; depth < 1000; ++depth) {
        HWND hParent = ::GetParent(hWnd);
        if (!hParent)
            break;
        hWnd = hParent;
    }
    return hWnd;
}

RECT WorkAreaAt(POINT pt) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER;

// Where a mark (check, submenu arrow) goes in its square: a piece copied at its own size sits in the middle of the
// square; one that is stretched or tiled covers it.
RECT MarkRect(const RECT &box, const SkinPiece &piece) {
    const LONG w = Width(piece.rcSource), h = Height(piece.rcSource);
    if (piece.dwMode != PIECE_COPY || w <= 0 || h <= 0 || w > Width(box) || h > Height(box))
        return box;
    const LONG left = box.left + (Width(box) - w) / 2, top = box.top + (Height(box) - h) / 2;
    return RECT{left, top, left + w, top + h};
}

// The popup's own object while the skin has none: the template and fills of a new kind-17 record, with the
// system's menu colours where a new record has none (black text on a black highlight otherwise).
void InitBuiltInObject(CSkinPopupMenuObject &object) {
    object.m_normalText.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
    object.m_disabledText.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
    object.m_highlightText.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    object.m_crHighlightFill = ::GetSysColor(COLOR_HIGHLIGHT);
    object.m_crSeparatorFill = ::GetSysColor(COLOR_MENU);
}

// A press passed on to the window of this thread that lies under the screen point, as the system would have
// delivered it without the menu in the way.
void Redeliver(POINT pt, bool bRight) {
    HWND hTarget = ::WindowFromPoint(pt);
    if (!hTarget || ::GetWindowThreadProcessId(hTarget, nullptr) != ::GetCurrentThreadId())
        return;
    const LRESULT hit = ::SendMessageA(hTarget, WM_NCHITTEST, 0, PackPoint(pt));
    if (hit == HTCLIENT) {
        POINT client = pt;
        ::ScreenToClient(hTarget, &client);
        ::PostMessageA(hTarget, bRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, bRight ? MK_RBUTTON : MK_LBUTTON,
                       PackPoint(client));
    } else if (hit != HTNOWHERE && hit != HTERROR && hit != HTTRANSPARENT) {
        ::PostMessageA(hTarget, bRight ? WM_NCRBUTTONDOWN : WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), PackPoint(pt));
    }
}

} // namespace

const char CSkinPopupMenuWnd::THIS_PROPERTY[] = "this";

CSkinPopupMenuWnd::CSkinPopupMenuWnd(HWND hOwner, CSkinPopupMenuWnd *pParent, EMode mode)
    : m_hOwner(hOwner), m_pParent(pParent), m_mode(mode) {
    InitBuiltInObject(m_default);
    CSkinRegistry::Instance().AddSkinListener(this);
}

CSkinPopupMenuWnd::~CSkinPopupMenuWnd() {
    CSkinRegistry::Instance().RemoveSkinListener(this);
    Close();
}

// ---- the window

LRESULT CALLBACK CSkinPopupMenuWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTA *pCreate = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        CSkinPopupMenuWnd *pPopup = static_cast<CSkinPopupMenuWnd *>(pCreate->lpCreateParams);
        if (pPopup) {
            pPopup->m_hWnd = hWnd;
            ::SetPropA(hWnd, THIS_PROPERTY, pPopup);
        }
    }
    CSkinPopupMenuWnd *pPopup = static_cast<CSkinPopupMenuWnd *>(::GetPropA(hWnd, THIS_PROPERTY));
    if (!pPopup)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    try {
        return pPopup->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return 0; // nothing leaves a window procedure
    }
}

BOOL CSkinPopupMenuWnd::Create() {
    if (m_hWnd)
        return TRUE;
    const HWND hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, CSkinEngine::POPUP_MENU_CLASS, "",
                                        WS_POPUPWINDOW, 0, 0, 100, 100, m_hOwner, nullptr,
                                        CSkinEngine::GetModuleInstance(), this);
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    if (!GetSkinObject())
        SetSkinObject(nullptr);
    return TRUE;
}

void CSkinPopupMenuWnd::LoadItems(HMENU hMenu) {
    m_items.Load(hMenu);
    m_nHover = -1;
    Refit();
}

CSkinObject *CSkinPopupMenuWnd::SetSkinObject(CSkinObject *pObject) {
    if (!dynamic_cast<CSkinPopupMenuObject *>(pObject))
        pObject = &m_default;
    CSkinObject *pPrevious = CSkinWnd::SetSkinObject(pObject);
    m_font = CSkinNonClient::CreateCaptionFont(GetFramed());
    MeasureItemHeight();
    Refit();
    return pPrevious;
}

const CSkinPopupMenuObject &CSkinPopupMenuWnd::GetPopupObject() const {
    const CSkinPopupMenuObject *pObject = dynamic_cast<const CSkinPopupMenuObject *>(m_pSkinObject);
    return pObject ? *pObject : m_default;
}

RECT CSkinPopupMenuWnd::Insets() const {
    return GetPopupObject().m_selection.rcMargins;
}

void CSkinPopupMenuWnd::MeasureItemHeight() {
    CScreenDC dc;
    CSelectObject font(dc, m_font);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, "TEST", 4, &size);
    const RECT in = Insets();
    m_nItemHeight = size.cy + in.top + in.bottom + 2;
}

SIZE CSkinPopupMenuWnd::CalcSize() const {
    const RECT *t = GetPopupObject().m_framed.placement;
    const RECT in = Insets();
    LONG widest = 0;
    {
        CScreenDC dc;
        CSelectObject font(dc, m_font);
        SIZE spaces = {0, 0};
        ::GetTextExtentPoint32A(dc, "    ", 4, &spaces);
        for (const auto &item : m_items.GetItems()) {
            if (item.strText.empty())
                continue;
            RECT rc = {0, 0, 0, 0};
            const bool tab = item.strText.find('\t') != std::string::npos;
            ::DrawTextA(dc, item.strText.c_str(), -1, &rc, DT_SINGLELINE | DT_CALCRECT | (tab ? DT_EXPANDTABS : 0));
            widest = std::max(widest, Width(rc) + (tab ? spaces.cx : 0));
        }
    }
    return SIZE{widest + Width(t[L::LEFT]) + Width(t[L::RIGHT]) + in.left + in.right + 2 * m_nItemHeight,
                m_nItemHeight * m_items.GetCount() + Height(t[L::TOP_LEFT]) + Height(t[L::BOTTOM_LEFT])};
}

RECT CSkinPopupMenuWnd::GetItemRect(int nItem) const {
    RECT client = {0, 0, 0, 0};
    if (!m_hWnd || nItem < 0 || nItem >= m_items.GetCount())
        return client;
    ::GetClientRect(m_hWnd, &client);
    const LONG h = client.bottom / m_items.GetCount();
    return RECT{0, nItem * h, client.right, (nItem + 1) * h};
}

int CSkinPopupMenuWnd::ItemFromPoint(POINT ptClient) const {
    RECT client = {0, 0, 0, 0};
    if (!m_hWnd || m_items.GetCount() == 0 || !::GetClientRect(m_hWnd, &client) || !::PtInRect(&client, ptClient))
        return -1;
    const LONG h = client.bottom / m_items.GetCount();
    if (h <= 0)
        return -1;
    const int item = ptClient.y / h;
    return item < m_items.GetCount() ? item : -1;
}

void CSkinPopupMenuWnd::Refit() {
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    const SIZE size = CalcSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void CSkinPopupMenuWnd::ShowAt(POINT pt) {
    if (!m_hWnd)
        return;
    const SIZE size = CalcSize();
    const RECT work = WorkAreaAt(pt);
    if (pt.x + size.cx > work.right) {
        RECT parent = {0, 0, 0, 0};
        if (m_pParent && m_pParent->m_hWnd && ::GetWindowRect(m_pParent->m_hWnd, &parent) &&
            parent.left - size.cx >= work.left)
            pt.x = parent.left - size.cx;
        else
            pt.x = work.right - size.cx;
    }
    if (pt.y + size.cy > work.bottom)
        pt.y = work.bottom - size.cy;
    pt.x = std::max(pt.x, work.left);
    pt.y = std::max(pt.y, work.top);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, pt.x, pt.y, size.cx, size.cy, SWP_NOACTIVATE);
    // The window's shape is in place before it first shows, so that the first paint is the only one.
    if (const SkinFramedRecord *pFramed = GetFramed()) {
        L::LayoutParts(*pFramed, size.cx, size.cy, m_rcPlacement);
        CSkinNonClient::UpdateRegion(*this, m_rcSaved);
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::UpdateWindow(m_hWnd);
}

void CSkinPopupMenuWnd::Close() {
    StopTimer();
    CloseChild();
    if (!m_hWnd)
        return;
    if (::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_HIDE);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

void CSkinPopupMenuWnd::HideAll() {
    StopTimer();
    if (m_pChild)
        m_pChild->HideAll();
    if (m_hWnd && ::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CSkinPopupMenuWnd::Finish(EEnd end, UINT nCommand) {
    if (m_pParent) {
        GetRoot()->Finish(end, nCommand);
        return;
    }
    if (m_end != END_NONE)
        return;
    m_end = end;
    HideAll();
    PostToOwner(WM_SKIN_MENU_END, 0, 0);
    if (nCommand)
        PostToOwner(m_mode == MODE_SYSTEM ? WM_SYSCOMMAND : WM_COMMAND, m_mode == MODE_SYSTEM ? nCommand
                                                                                           : MAKEWPARAM(nCommand, 0),
                    0);
}

bool CSkinPopupMenuWnd::IsOpen() const {
    return m_end == END_NONE && m_hWnd && ::IsWindowVisible(m_hWnd);
}

void CSkinPopupMenuWnd::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (::IsWindow(m_hOwner))
        ::PostMessageA(m_hOwner, message, wParam, lParam);
}

CSkinPopupMenuWnd *CSkinPopupMenuWnd::GetRoot() {
    CSkinPopupMenuWnd *pRoot = this;
    while (pRoot->m_pParent)
        pRoot = pRoot->m_pParent;
    return pRoot;
}

CSkinPopupMenuWnd *CSkinPopupMenuWnd::GetDeepest() {
    CSkinPopupMenuWnd *pDeepest = this;
    while (pDeepest->m_pChild && pDeepest->m_pChild->m_hWnd && !pDeepest->m_pChild->m_bClosing)
        pDeepest = pDeepest->m_pChild.get();
    return pDeepest;
}

bool CSkinPopupMenuWnd::IsMenuWindow(HWND hWnd) const {
    for (const CSkinPopupMenuWnd *p = this; p; p = p->m_pChild.get())
        if (hWnd && p->m_hWnd == hWnd)
            return true;
    return false;
}

// ---- messages

LRESULT CSkinPopupMenuWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: return OnPaint();
    case WM_SHOWWINDOW: return OnShowWindowMessage(wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(wParam, lParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT: NcPaint(); return 0;
    case WM_NCACTIVATE: return OnNcActivate(wParam);
    case WM_ERASEBKGND: return 1;
    case WM_KEYDOWN: return OnKeyDown(wParam);
    case WM_CHAR: return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR: return OnSysKeyDown(message, wParam, lParam);
    case WM_TIMER: return OnTimer(wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: return OnButtonDown(message, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(lParam);
    case WM_CANCELMODE: return OnLoseMenuFocus();
    case WM_ACTIVATEAPP: return wParam ? 0 : OnLoseMenuFocus();
    case WM_SKIN_POPUP_CLOSECHILD: return OnCloseChild();
    case WM_SKIN_POPUP_EXECUTE: return OnExecute(wParam);
    }
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

void CSkinPopupMenuWnd::OnShowWindow(BOOL bShow, UINT) {
    if (m_pParent)
        return;
    if (bShow) {
        // The owner's frame keeps its active caption while the menu holds the activation.
        m_activeCaption.Keep(TopLevelOf(m_hOwner));
        ::SetCapture(m_hWnd);
        ::GetCursorPos(&m_ptLastMouse);
        return;
    }
    m_activeCaption.Release();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

LRESULT CSkinPopupMenuWnd::OnShowWindowMessage(WPARAM wParam, LPARAM lParam) {
    OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    return ::DefWindowProcA(m_hWnd, WM_SHOWWINDOW, wParam, lParam);
}

LRESULT CSkinPopupMenuWnd::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    OnFinalDestroy();
    ::DefWindowProcA(m_hWnd, WM_NCDESTROY, wParam, lParam);
    m_hWnd = nullptr;
    return 0;
}

void CSkinPopupMenuWnd::OnFinalDestroy() {
    StopTimer();
    if (!m_pParent) {
        m_activeCaption.Release();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    ::RemovePropA(m_hWnd, THIS_PROPERTY);
    m_offscreen.Release();
    CSkinWnd::OnFinalDestroy();
}

LRESULT CSkinPopupMenuWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    const SkinFramedRecord *pFramed = GetFramed();
    if (wParam) {
        NCCALCSIZE_PARAMS *pParams = reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam);
        pParams->rgrc[0] = CSkinNonClient::ClientRect(pFramed, pParams->rgrc[0], 0);
    } else {
        RECT *pRect = reinterpret_cast<RECT *>(lParam);
        *pRect = CSkinNonClient::ClientRect(pFramed, *pRect, 0);
    }
    return 0;
}

LRESULT CSkinPopupMenuWnd::OnNcActivate(WPARAM wParam) {
    m_bActive = wParam != 0;
    NcPaint();
    return TRUE;
}

void CSkinPopupMenuWnd::NcPaint() {
    const SkinFramedRecord *pFramed = GetFramed();
    if (m_bNcPainting || !pFramed || !m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    L::LayoutParts(*pFramed, Width(wr), Height(wr), m_rcPlacement);
    if (CSkinNonClient::UpdateRegion(*this, m_rcSaved))
        return;
    m_bNcPainting = true;
    CSkinNonClient::PaintBands(m_hWnd, m_offscreen, m_rcPlacement, m_rcPlacement[L::TOP_LEFT].bottom,
                               [&](HDC hDC) { DrawBorder(hDC, m_bActive); });
    m_bNcPainting = false;
}

LRESULT CSkinPopupMenuWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CMemoryDC mem(dc, rc);
    const HDC hDC = mem.IsValid() ? mem.GetSafeHdc() : dc.GetSafeHdc();
    DrawBackground(hDC, TRUE);
    CSelectObject font(hDC, m_font);
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    for (int i = 0; i < m_items.GetCount(); ++i)
        DrawItem(hDC, i, GetItemRect(i));
    ::SetBkMode(hDC, oldMode);
    return 0;
}

void CSkinPopupMenuWnd::DrawItem(HDC hDC, int nItem, const RECT &rc) const {
    const CSkinPopupMenuObject &object = GetPopupObject();
    const CSkinMenuItems::Item &item = m_items[nItem];
    if (item.IsSeparator()) {
        const SkinImageRef &art = object.m_separator;
        if (CNineGrid::IsRectEmpty(art.rcSource)) {
            RECT line = {rc.left, (rc.top + rc.bottom) / 2 - 1, rc.right, (rc.top + rc.bottom) / 2 + 1};
            ::DrawEdge(hDC, &line, EDGE_ETCHED, BF_TOP);
            return;
        }
        RECT dest = rc;
        const LONG art_height = Height(art.rcSource);
        if (Height(rc) > art_height) {
            dest.top = rc.top + (Height(rc) - art_height) / 2;
            dest.bottom = dest.top + art_height;
        }
        DrawNineGrid(hDC, dest, art, object.m_crSeparatorFill, TRUE);
        return;
    }
    const bool highlighted = nItem == m_nHover;
    if (highlighted)
        DrawNineGrid(hDC, rc, object.m_selection, object.m_crHighlightFill, TRUE);
    const RECT in = object.m_selection.rcMargins;
    const LONG h = Height(rc);

    const SkinColorRecord &color = !item.IsEnabled() ? object.m_disabledText
                                   : highlighted     ? object.m_highlightText
                                                     : object.m_normalText;
    ::SetTextColor(hDC, color.GetTextColor());
    RECT text = {rc.left + in.left + h, rc.top + in.top, rc.right - in.right - h, rc.bottom - in.bottom};
    const size_t tab = item.strText.find('\t');
    ::DrawTextA(hDC, item.strText.c_str(), static_cast<int>(std::min(tab, item.strText.size())), &text,
                kTextFormat | DT_LEFT);
    if (tab != std::string::npos)
        ::DrawTextA(hDC, item.strText.c_str() + tab + 1, -1, &text, kTextFormat | DT_RIGHT);

    const CBrushHandle black(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (item.IsChecked()) {
        const RECT box = {rc.left + in.left, rc.top, rc.left + in.left + h, rc.bottom};
        if (!CNineGrid::IsEmpty(object.m_check)) {
            DrawPiece(hDC, MarkRect(box, object.m_check), object.m_check, 0, FALSE);
        } else {
            const POINT c = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
            const RECT mark = {c.x - 3, c.y - 3, c.x + 3, c.y + 3};
            ::FillRect(hDC, &mark, black);
        }
    }
    if (item.hSubMenu) {
        const RECT box = {rc.right - in.right - h, rc.top, rc.right - in.right, rc.bottom};
        if (!CNineGrid::IsEmpty(object.m_submenuArrow)) {
            DrawPiece(hDC, MarkRect(box, object.m_submenuArrow), object.m_submenuArrow, 0, FALSE);
        } else {
            // Pointing right, 6 wide and 8 high, its tip 4 pixels in from the right inset.
            const LONG tip = rc.right - in.right - 4, middle = (rc.top + rc.bottom) / 2;
            const POINT arrow[3] = {{tip - 6, middle - 4}, {tip, middle}, {tip - 6, middle + 4}};
            const CPenHandle pen(static_cast<HPEN>(::GetStockObject(BLACK_PEN)));
            CSelectObject selectPen(hDC, pen);
            CSelectObject selectBrush(hDC, black);
            ::Polygon(hDC, arrow, 3);
        }
    }
}

// ---- keyboard

LRESULT CSkinPopupMenuWnd::OnKeyDown(WPARAM nKey) {
    // A submenu on its way out passes further keys to its parent (Escape twice closes two levels).
    if (m_bClosing && m_pParent)
        return m_pParent->OnKeyDown(nKey);
    switch (nKey) {
    case VK_RETURN: OnEnter(); return 0;
    case VK_ESCAPE: OnBack(false); return 0;
    case VK_LEFT: OnBack(true); return 0;
    case VK_UP: MoveHover(-1); return 0;
    case VK_DOWN: MoveHover(1); return 0;
    case VK_RIGHT: OnRight(); return 0;
    }
    return 0;
}

LRESULT CSkinPopupMenuWnd::OnSysKeyDown(UINT message, WPARAM nKey, LPARAM) {
    // Alt or F10 again leaves the menu; the default procedure must not open this window's own system menu.
    if (message == WM_SYSKEYDOWN && (nKey == VK_MENU || nKey == VK_F10))
        Finish(END_CLOSED, 0);
    return 0;
}

void CSkinPopupMenuWnd::OnEnter() {
    if (m_nHover < 0 || !m_items[m_nHover].IsEnabled() || m_items[m_nHover].IsSeparator())
        return;
    if (m_items[m_nHover].hSubMenu) {
        OpenSubmenu(true);
        return;
    }
    ::PostMessageA(m_pParent ? m_pParent->m_hWnd : m_hWnd, WM_SKIN_POPUP_EXECUTE, m_items[m_nHover].nID, 0);
}

void CSkinPopupMenuWnd::OnBack(bool bLeft) {
    if (m_pParent) {
        if (!m_bClosing)
            ::PostMessageA(m_pParent->m_hWnd, WM_SKIN_POPUP_CLOSECHILD, 0, 0);
        m_bClosing = true;
        return;
    }
    Finish(bLeft && m_mode == MODE_MENUBAR ? END_PREVIOUS : END_CLOSED, 0);
}

void CSkinPopupMenuWnd::OnRight() {
    if (m_nHover >= 0 && m_items[m_nHover].hSubMenu && m_items[m_nHover].IsEnabled()) {
        OpenSubmenu(true);
        return;
    }
    // A menu-bar menu moves on to the next entry's.
    if (m_mode == MODE_MENUBAR)
        Finish(END_NEXT, 0);
}

void CSkinPopupMenuWnd::MoveHover(int nStep) {
    const int next = m_items.Next(m_nHover, nStep);
    if (next >= 0)
        SetHover(next, false);
}

void CSkinPopupMenuWnd::SetHover(int nItem, bool bMouse) {
    if (nItem < -1 || nItem >= m_items.GetCount() || nItem == m_nHover)
        return;
    const int previous = m_nHover;
    m_nHover = nItem;
    if (m_hWnd) {
        for (int i : {previous, nItem}) {
            if (i < 0)
                continue;
            const RECT rc = GetItemRect(i);
            ::InvalidateRect(m_hWnd, &rc, FALSE);
        }
        ::UpdateWindow(m_hWnd);
    }
    if (nItem < 0 || !::IsWindow(m_hOwner))
        return;
    const CSkinMenuItems::Item &item = m_items[nItem];
    UINT flags = MF_HILITE | (item.nState & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR));
    if (item.hSubMenu)
        flags |= MF_POPUP;
    if (m_mode == MODE_SYSTEM)
        flags |= MF_SYSMENU;
    if (bMouse)
        flags |= MF_MOUSESELECT;
    const UINT id = item.hSubMenu ? static_cast<UINT>(nItem) : item.nID;
    ::SendMessageA(m_hOwner, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(m_items.GetMenu()));
}

// ---- submenus

LRESULT CSkinPopupMenuWnd::OnTimer(WPARAM nID, LPARAM lParam) {
    if (nID != SUBMENU_TIMER)
        return CSkinWnd::HandleMessage(WM_TIMER, nID, lParam);
    StopTimer();
    OpenSubmenu(false);
    return 0;
}

void CSkinPopupMenuWnd::StopTimer() {
    if (!m_bTimer)
        return;
    if (m_hWnd)
        ::KillTimer(m_hWnd, SUBMENU_TIMER);
    m_bTimer = false;
}

BOOL CSkinPopupMenuWnd::OpenSubmenu(bool bSelectFirst) {
    if (m_nHover < 0 || !m_hWnd)
        return FALSE;
    const int index = m_nHover;
    const CSkinMenuItems::Item item = m_items[index];
    if (!item.hSubMenu || !item.IsEnabled())
        return FALSE;
    if (m_pChild && m_pChild->m_items.GetMenu() == item.hSubMenu) {
        if (bSelectFirst && m_pChild->m_nHover < 0)
            m_pChild->SetHover(m_pChild->m_items.Next(-1, 1), false);
        return TRUE;
    }
    CloseChild();
    // The owner brings the submenu's items up to date first, as it does for every menu that opens.
    ::SendMessageA(m_hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.hSubMenu),
                   MAKELPARAM(index, m_mode == MODE_SYSTEM));
    if (!m_hWnd || GetRoot()->m_end != END_NONE || m_nHover != index)
        return FALSE;
    std::unique_ptr<CSkinPopupMenuWnd> pChild(new CSkinPopupMenuWnd(m_hOwner, this, m_mode));
    if (!pChild->Create())
        return FALSE;
    pChild->SetSkinObject(m_pSkinObject);
    pChild->LoadItems(item.hSubMenu);
    const RECT rc = GetItemRect(index);
    POINT corner = {rc.right, rc.top};
    ::ClientToScreen(m_hWnd, &corner);
    m_pChild = std::move(pChild);
    m_pChild->ShowAt(corner);
    if (bSelectFirst && m_pChild)
        m_pChild->SetHover(m_pChild->m_items.Next(-1, 1), false);
    return TRUE;
}

void CSkinPopupMenuWnd::CloseChild() {
    if (!m_pChild)
        return;
    std::unique_ptr<CSkinPopupMenuWnd> pChild = std::move(m_pChild);
    pChild->Close();
}

LRESULT CSkinPopupMenuWnd::OnCloseChild() {
    // This popup takes the activation back before the submenu goes, so that it does not pass to the owner.
    if (m_pChild)
        ::SetForegroundWindow(m_hWnd);
    CloseChild();
    return 0;
}

LRESULT CSkinPopupMenuWnd::OnExecute(WPARAM nID) {
    if (m_pParent) {
        ::PostMessageA(m_pParent->m_hWnd, WM_SKIN_POPUP_EXECUTE, nID, 0);
        return 0;
    }
    Finish(END_COMMAND, static_cast<UINT>(nID));
    return 0;
}

// ---- the pointer

LRESULT CSkinPopupMenuWnd::OnMouseMove(LPARAM lParam) {
    const POINT pt = ClientToScreenPoint(m_hWnd, lParam);
    // The system repeats the last position when windows appear under a resting pointer: only real moves count, so
    // that a keyboard selection stays where it is.
    CSkinPopupMenuWnd *pRoot = GetRoot();
    if (pt.x == pRoot->m_ptLastMouse.x && pt.y == pRoot->m_ptLastMouse.y)
        return 0;
    pRoot->m_ptLastMouse = pt;
    OnPointerMove(pt);
    return 0;
}

bool CSkinPopupMenuWnd::ContainsPoint(POINT pt) const {
    if (IsInWindow(m_hWnd, pt))
        return true;
    return m_pChild && m_pChild->ContainsPoint(pt);
}

BOOL CSkinPopupMenuWnd::OnPointerMove(POINT pt) {
    // A submenu lies above its parent where they overlap.
    if (m_pChild && m_pChild->ContainsPoint(pt)) {
        m_pChild->OnPointerMove(pt);
        return TRUE;
    }
    POINT client = pt;
    ::ScreenToClient(m_hWnd, &client);
    const int item = IsInWindow(m_hWnd, pt) ? ItemFromPoint(client) : -1;
    if (item >= 0) {
        OnItemMove(item);
        return TRUE;
    }
    if (m_pChild && m_pChild->OnPointerMove(pt))
        return TRUE;
    if (!m_pChild && !IsInWindow(m_hWnd, pt)) {
        StopTimer();
        SetHover(-1, true);
    }
    if (!m_pParent && m_mode == MODE_MENUBAR)
        PostToOwner(WM_SKIN_MENU_MOUSEMOVE, 0, PackPoint(pt));
    return FALSE;
}

void CSkinPopupMenuWnd::OnItemMove(int nItem) {
    if (nItem == m_nHover)
        return;
    StopTimer();
    CloseChild();
    SetHover(nItem, true);
    m_bTimer = ::SetTimer(m_hWnd, SUBMENU_TIMER, SUBMENU_DELAY_MS, nullptr) != 0;
}

LRESULT CSkinPopupMenuWnd::OnButtonDown(UINT message, LPARAM lParam) {
    const POINT pt = ClientToScreenPoint(m_hWnd, lParam);
    GetRoot()->m_ptLastMouse = pt;
    OnPointerDown(pt, message == WM_RBUTTONDOWN);
    return 0;
}

BOOL CSkinPopupMenuWnd::OnPointerDown(POINT pt, bool bRight) {
    if (m_pChild && m_pChild->ContainsPoint(pt))
        return m_pChild->OnPointerDown(pt, bRight);
    POINT client = pt;
    ::ScreenToClient(m_hWnd, &client);
    const int item = IsInWindow(m_hWnd, pt) ? ItemFromPoint(client) : -1;
    if (item >= 0) {
        // Separators, disabled items and items that open a submenu leave the menu open.
        const CSkinMenuItems::Item &chosen = m_items[item];
        if (!chosen.IsSeparator() && chosen.IsEnabled() && !chosen.hSubMenu)
            Finish(END_COMMAND, chosen.nID);
        return TRUE;
    }
    if (IsInWindow(m_hWnd, pt) || m_pParent)
        return IsInWindow(m_hWnd, pt);
    PressOutside(pt, bRight);
    return FALSE;
}

void CSkinPopupMenuWnd::PressOutside(POINT pt, bool bRight) {
    if (m_end != END_NONE)
        return;
    // A menu-bar menu leaves presses on its frame's non-client area (another entry, the caption) to the frame;
    // anything else reaches the window under the point once the menu is out of the way.
    bool toOwner = false;
    RECT owner;
    if (m_mode == MODE_MENUBAR && ::GetWindowRect(m_hOwner, &owner) && ::PtInRect(&owner, pt))
        toOwner = ::SendMessageA(m_hOwner, WM_NCHITTEST, 0, PackPoint(pt)) != HTCLIENT;
    m_end = END_CLOSED;
    HideAll();
    if (toOwner)
        PostToOwner(bRight ? WM_SKIN_MENU_RBUTTONDOWN : WM_SKIN_MENU_LBUTTONDOWN, 0, PackPoint(pt));
    PostToOwner(WM_SKIN_MENU_END, 0, 0);
    if (!toOwner)
        Redeliver(pt, bRight);
}

LRESULT CSkinPopupMenuWnd::OnCaptureChanged(LPARAM lParam) {
    // Another window took the pointer (a dialog, another program): the menu closes as the system's does.
    const HWND hNew = reinterpret_cast<HWND>(lParam);
    if (!m_pParent && m_end == END_NONE && !IsMenuWindow(hNew))
        Finish(END_CLOSED, 0);
    return 0;
}

LRESULT CSkinPopupMenuWnd::OnLoseMenuFocus() {
    Finish(END_CLOSED, 0);
    return 0;
}
