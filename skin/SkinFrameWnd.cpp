#include "skin/SkinFrameWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "platform/RectSize.h"
#include "skin/SkinCaptionButton.h"
#include "skin/SkinClock.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinMDIClient.h"
#include "skin/SkinMessages.h"
#include "skin/SkinNonClient.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/NineGrid.h"

namespace {

typedef CSkinFrameLayout L;

bool IsMDIClientClass(HWND hWnd) {
    char name[16] = {};
    return ::GetClassNameA(hWnd, name, sizeof(name)) > 0 && lstrcmpiA(name, "MDIClient") == 0;
}

// Two releases count as a double click when the clock shows the same second for both (to the full date, so that
// clicks an hour apart at the same minute and second do not).
bool IsSameSecond(const SYSTEMTIME &a, const SYSTEMTIME &b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

// The screen less the visible task bar.
RECT GetWorkArea() {
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (HWND tray = ::FindWindowExA(nullptr, nullptr, "Shell_TrayWnd", nullptr); tray;
         tray = ::FindWindowExA(nullptr, tray, "Shell_TrayWnd", nullptr)) {
        RECT bar, work;
        if (::IsWindowVisible(tray) && ::GetWindowRect(tray, &bar) && ::SubtractRect(&work, &screen, &bar))
            return work;
    }
    return screen;
}

POINT ScreenPoint(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

CSkinFrameWnd::CSkinFrameWnd() = default;

CSkinFrameWnd::~CSkinFrameWnd() = default;

// ---- skin object and attaching

CSkinObject *CSkinFrameWnd::SetSkinObject(CSkinObject *pObject) {
    CSkinObject *pPrevious = CSkinWnd::SetSkinObject(pObject);
    CSkinFrameObject *pFrame = dynamic_cast<CSkinFrameObject *>(pObject);
    m_menuBar.SetSkinObject(pFrame ? &pFrame->m_menuBar : nullptr);
    m_captionFont = CSkinNonClient::CreateCaptionFont(GetFramed());
    if (!m_hWnd)
        return pPrevious;
    if (CSkinMDIClient *pClient = GetMDIClient())
        ::RedrawWindow(pClient->GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    const SIZE minimum = GetMinimumSize();
    if (!::IsIconic(m_hWnd) && (Width(wr) < minimum.cx || Height(wr) < minimum.cy)) {
        // Enlarged to the new skin's minimum, keeping the top-left corner (a document window's in its parent).
        POINT corner = {wr.left, wr.top};
        if (m_bMDIChild)
            ::ScreenToClient(::GetParent(m_hWnd), &corner);
        ::SetWindowPos(m_hWnd, nullptr, corner.x, corner.y, std::max(Width(wr), minimum.cx),
                       std::max(Height(wr), minimum.cy), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        RecalcFrame();
    }
    return pPrevious;
}

BOOL CSkinFrameWnd::Attach(HWND hWnd) {
    m_menuBar.SetWindow(hWnd);
    if (::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD) {
        m_bMDIChild = true;
        if (!CSkinWnd::Attach(hWnd))
            return FALSE;
        m_bActive = reinterpret_cast<HWND>(::SendMessageA(::GetParent(hWnd), WM_MDIGETACTIVE, 0, 0)) == hWnd;
        m_bWasMaximized = ::IsZoomed(hWnd) != FALSE;
        if (m_bWasMaximized)
            NotifyParentFrame(true);
    } else {
        // The menu moves from the window into the bar, so that the system draws no menu bar of its own.
        m_hSavedMenu = ::GetMenu(hWnd);
        m_menuBar.SetMenu(m_hSavedMenu);
        if (m_hSavedMenu)
            ::SetMenu(hWnd, nullptr);
        if (!CSkinWnd::Attach(hWnd)) {
            if (m_hSavedMenu)
                ::SetMenu(hWnd, m_hSavedMenu);
            m_menuBar.SetMenu(nullptr);
            return FALSE;
        }
        m_bActive = ::GetActiveWindow() == hWnd;
        for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            if (!IsMDIClientClass(hChild))
                continue;
            ::SetWindowLongPtrA(hChild, GWL_STYLE,
                                ::GetWindowLongPtrA(hChild, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            m_hMDIClient = hChild;
            CSkinRegistry &registry = CSkinRegistry::Instance();
            if (!registry.FindWindow(hChild)) {
                std::unique_ptr<CSkinWnd> pClient(new CSkinMDIClient(this));
                CSkinWnd *pWnd = pClient.get();
                if (registry.AddWindow(std::move(pClient), hChild) && !pWnd->Attach(hChild))
                    registry.RemoveWindow(hChild);
            }
            break;
        }
    }
    m_dwSavedStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    RecalcFrame();
    return TRUE;
}

CSkinMDIClient *CSkinFrameWnd::GetMDIClient() const {
    return m_hMDIClient ? dynamic_cast<CSkinMDIClient *>(CSkinRegistry::Instance().FindWindow(m_hMDIClient))
                        : nullptr;
}

CSkinWnd *CSkinFrameWnd::GetNonClientObject() {
    CSkinMDIClient *pClient = GetMDIClient();
    HWND hActive = pClient ? pClient->GetActiveChild() : nullptr;
    return hActive ? CSkinRegistry::Instance().FindWindow(hActive) : nullptr;
}

void CSkinFrameWnd::RecalcFrame() {
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- layout

void CSkinFrameWnd::LayoutParts(LONG nWidth, LONG nHeight) {
    if (const SkinFramedRecord *pFramed = GetFramed())
        L::LayoutParts(*pFramed, nWidth, nHeight, m_rcPlacement);
    else
        std::fill(std::begin(m_rcPlacement), std::end(m_rcPlacement), RECT{0, 0, 0, 0});
}

RECT CSkinFrameWnd::CalcClientRect(const RECT &rcWindow) {
    const SkinFramedRecord *pFramed = GetFramed();
    const RECT inside = CSkinNonClient::ClientRect(pFramed, rcWindow, 0);
    LONG menu = 0;
    if (pFramed && !m_bMDIChild)
        menu = m_menuBar.GetHeight(Width(inside));
    return CSkinNonClient::ClientRect(pFramed, rcWindow, menu);
}

SIZE CSkinFrameWnd::GetMinimumSize() const {
    const SkinFramedRecord *pFramed = GetFramed();
    if (!pFramed)
        return SIZE{MIN_SIZE_WITHOUT_OBJECT, MIN_SIZE_WITHOUT_OBJECT};
    const RECT *t = pFramed->placement;
    return SIZE{Width(t[L::TOP_LEFT]) + Width(t[L::TOP_RIGHT]) + MIN_EXTRA_WIDTH,
                Height(t[L::TOP_LEFT]) + MIN_EXTRA_HEIGHT};
}

bool CSkinFrameWnd::IsSizable() const {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    const bool modalDialog = (style & WS_DLGFRAME) && (style & DS_MODALFRAME);
    return (style & WS_THICKFRAME) && !modalDialog;
}

void CSkinFrameWnd::PositionMenuBar() {
    const RECT &left = m_rcPlacement[L::LEFT], &right = m_rcPlacement[L::RIGHT], &top = m_rcPlacement[L::TOP];
    RECT rc = {left.right, top.bottom, right.left, top.bottom};
    if (!m_bMDIChild && GetFramed())
        rc.bottom += m_menuBar.GetHeight(Width(rc));
    m_menuBar.SetRect(rc);
    m_rcMenuBar = rc.bottom > rc.top ? rc : RECT{0, 0, 0, 0};
}

RECT CSkinFrameWnd::GetCaptionRect() {
    return m_rcMenuBar;
}

// ---- painting

void CSkinFrameWnd::TakeMenu() {
    if (m_bMDIChild)
        return;
    HMENU hMenu = ::GetMenu(m_hWnd);
    if (!hMenu)
        return;
    if (hMenu != m_menuBar.GetMenu())
        m_menuBar.SetMenu(hMenu);
    ::SetMenu(m_hWnd, nullptr);
}

void CSkinFrameWnd::NcPaint() {
    if (!m_hWnd || m_bDestroying || !::IsWindowVisible(m_hWnd) || ::IsIconic(m_hWnd))
        return;
    TakeMenu();
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    LayoutParts(Width(wr), Height(wr));
    if (CSkinNonClient::UpdateRegion(*this, m_rcSaved))
        return;
    if (m_bPainting)
        return;
    m_bPainting = true;
    PaintNow();
    m_bPainting = false;
}

void CSkinFrameWnd::PaintNow() {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    PositionMenuBar();
    const SkinFramedRecord *pFramed = GetFramed();
    const LONG width = Width(wr);
    const LONG topBottom = std::max(m_rcPlacement[L::TOP_LEFT].bottom, m_rcMenuBar.bottom);
    CSkinNonClient::PaintBands(m_hWnd, m_offscreen, m_rcPlacement, topBottom, [&](HDC hDC) {
        DrawBorder(hDC, m_bActive);
        for (const auto &pButton : m_captionButtons) {
            if (pFramed)
                pButton->SetPosition(*pFramed, width);
            pButton->Draw(hDC);
        }
    });
}

void CSkinFrameWnd::DrawCaption(HDC hDC, BOOL) {
    const SkinFramedRecord *pFramed = GetFramed();
    if (pFramed)
        CSkinNonClient::DrawCaptionText(hDC, m_hWnd, m_rcPlacement[L::TOP], m_captionFont,
                                        pFramed->captionFont.crText, 299);
}

void CSkinFrameWnd::DrawExtras(HDC hDC) {
    m_menuBar.Draw(hDC);
}

CRgn CSkinFrameWnd::CreateRegion() {
    return CSkinWnd::CreateRegion();
}

LRESULT CSkinFrameWnd::NcPaintAfter(LRESULT result) {
    NcPaint();
    return result;
}

// ---- hit testing and the pointer

POINT CSkinFrameWnd::ToWindow(LPARAM lParam) const {
    POINT pt = ScreenPoint(lParam);
    RECT wr = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &wr);
    return POINT{pt.x - wr.left, pt.y - wr.top};
}

int CSkinFrameWnd::HitTest(POINT pt) {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    LayoutParts(Width(wr), Height(wr));
    const RECT *p = m_rcPlacement;
    if (::PtInRect(&m_rcMenuBar, pt))
        return HTMENU;
    const bool inCaption =
        ::PtInRect(&p[L::TOP_LEFT], pt) || ::PtInRect(&p[L::TOP], pt) || ::PtInRect(&p[L::TOP_RIGHT], pt);
    if (::IsZoomed(m_hWnd))
        return inCaption ? HTCAPTION : HTNOWHERE;
    const bool sizable = IsSizable();
    if (::PtInRect(&p[L::TOP_LEFT], pt)) {
        const RECT corner = {p[L::TOP_LEFT].left, p[L::TOP_LEFT].top, p[L::TOP_LEFT].left + CORNER,
                             p[L::TOP_LEFT].top + CORNER};
        return ::PtInRect(&corner, pt) && sizable ? HTTOPLEFT : HTCAPTION;
    }
    if (::PtInRect(&p[L::TOP], pt))
        return pt.y < p[L::TOP].top + CORNER && sizable ? HTTOP : HTCAPTION;
    if (::PtInRect(&p[L::TOP_RIGHT], pt)) {
        const RECT corner = {p[L::TOP_RIGHT].right - CORNER, p[L::TOP_RIGHT].top, p[L::TOP_RIGHT].right,
                             p[L::TOP_RIGHT].top + CORNER};
        return ::PtInRect(&corner, pt) && sizable ? HTTOPRIGHT : HTCAPTION;
    }
    // The sizing borders, in the order they are tested.
    static const struct {
        int part;
        int code;
    } kBorders[] = {{L::RIGHT, HTRIGHT},
                    {L::LEFT, HTLEFT},
                    {L::BOTTOM_RIGHT, HTBOTTOMRIGHT},
                    {L::BOTTOM_LEFT, HTBOTTOMLEFT},
                    {L::BOTTOM, HTBOTTOM}};
    for (const auto &border : kBorders)
        if (::PtInRect(&p[border.part], pt))
            return sizable ? border.code : HTNOWHERE;
    if (::PtInRect(&p[L::CENTRE], pt))
        return HTCLIENT;
    return HTERROR;
}

void CSkinFrameWnd::OnNcMouseMove(UINT, POINT pt) {
    for (const auto &pButton : m_captionButtons)
        if (pButton->OnMouseMove(pt))
            return;
    m_menuBar.OnMouseMove(pt);
}

void CSkinFrameWnd::OnNcLButtonDown(UINT nHitTest, POINT pt) {
    for (const auto &pButton : m_captionButtons)
        if (pButton->OnLButtonDown(pt))
            return;
    if (::PtInRect(&m_rcMenuBar, pt)) {
        m_menuBar.OnButtonDown(pt);
        return;
    }
    if (::IsZoomed(m_hWnd))
        return;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    DefaultWithoutSysMenu(WM_NCLBUTTONDOWN, nHitTest, MAKELPARAM(pt.x + wr.left, pt.y + wr.top));
}

void CSkinFrameWnd::OnNcLButtonUp(UINT nHitTest, POINT pt) {
    for (const auto &pButton : m_captionButtons)
        if (pButton->OnLButtonUp(pt))
            return;
    if (::PtInRect(&m_rcMenuBar, pt)) {
        m_menuBar.OnButtonUp(pt);
        return;
    }
    if (!::IsZoomed(m_hWnd)) {
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        DefaultWithoutSysMenu(WM_NCLBUTTONUP, nHitTest, MAKELPARAM(pt.x + wr.left, pt.y + wr.top));
        return;
    }
    // A maximised frame gives the system no caption clicks, so two releases within one second of the clock make
    // the double click here.
    SYSTEMTIME now;
    CSkinClock::Now(now);
    const bool pair = m_bCaptionClicked && IsSameSecond(now, m_lastCaptionClick);
    m_lastCaptionClick = now;
    m_bCaptionClicked = true;
    if (pair) {
        m_bCaptionClicked = false;
        OnNcLButtonDblClk(nHitTest, pt);
    }
}

void CSkinFrameWnd::OnNcLButtonDblClk(UINT nHitTest, POINT pt) {
    for (const auto &pButton : m_captionButtons)
        if (pButton->OnLButtonDblClk(pt))
            return;
    // The system makes a second press on the bar soon after the first a double click: it is a press all the same.
    if (::PtInRect(&m_rcMenuBar, pt)) {
        m_menuBar.OnButtonDown(pt);
        return;
    }
    if (nHitTest == HTCAPTION && IsSizable())
        ::SendMessageA(m_hWnd, WM_SYSCOMMAND, ::IsZoomed(m_hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void CSkinFrameWnd::GetMinMaxInfo(MINMAXINFO *pInfo) {
    const SIZE minimum = GetMinimumSize();
    pInfo->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
    if (!m_bMDIChild) {
        const RECT work = GetWorkArea();
        pInfo->ptMaxPosition = POINT{work.left, work.top};
        pInfo->ptMaxSize = POINT{Width(work) - 1, Height(work) - 1};
        return;
    }
    // A maximised document window puts its skinned borders just outside the parent's client area.
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(::GetParent(m_hWnd), &client);
    const SkinFramedRecord *pFramed = GetFramed();
    RECT t[SkinFramedRecord::PART_COUNT] = {};
    if (pFramed)
        std::copy(std::begin(pFramed->placement), std::end(pFramed->placement), t);
    pInfo->ptMaxPosition = POINT{-Width(t[L::LEFT]), -Height(t[L::TOP_LEFT])};
    pInfo->ptMaxSize = POINT{Width(client) + Width(t[L::LEFT]) + Width(t[L::RIGHT]),
                             Height(client) + Height(t[L::TOP_LEFT]) + Height(t[L::BOTTOM_LEFT])};
    pInfo->ptMaxTrackSize = POINT{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// ---- calls with another style

DWORD CSkinFrameWnd::GetPlainStyle() const {
    if (!m_bMDIChild)
        return PLAIN_TOP_LEVEL_STYLE;
    return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)) & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
}

// ---- messages

LRESULT CSkinFrameWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!HasPrevious())
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    // A minimised window shows the system's own small title.
    if (::IsIconic(m_hWnd) && message >= WM_NCCREATE && message <= WM_NCMBUTTONDBLCLK && message != WM_NCDESTROY)
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: return OnDestroy(wParam, lParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_SETTEXT:
    case WM_MDIACTIVATE: return OnLockedCaptionChange(message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
    case WM_SETICON:
    case WM_INITMENU:
    case WM_INITMENUPOPUP: return OnPlainStyleMessage(message, wParam, lParam);
    case WM_PAINT: return OnPaint(wParam, lParam);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: return CallWithoutSysMenu(message, wParam, lParam);
    case WM_GETMINMAXINFO: GetMinMaxInfo(reinterpret_cast<MINMAXINFO *>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(wParam, lParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST: return HitTest(ToWindow(lParam));
    case WM_NCPAINT: NcPaint(); return 0;
    case WM_NCACTIVATE: return OnNcActivate(wParam, lParam);
    case WM_NCMOUSEMOVE: return OnNcMouseMoveMessage(wParam, lParam);
    case WM_NCLBUTTONDOWN: OnNcLButtonDown(static_cast<UINT>(wParam), ToWindow(lParam)); return 0;
    case WM_NCLBUTTONUP: OnNcLButtonUp(static_cast<UINT>(wParam), ToWindow(lParam)); return 0;
    case WM_NCLBUTTONDBLCLK: OnNcLButtonDblClk(static_cast<UINT>(wParam), ToWindow(lParam)); return 0;
    case WM_SKIN_MENU_LBUTTONDOWN:
    case WM_SKIN_MENU_RBUTTONDOWN: return OnMenuPointerDown(message, wParam, lParam);
    case WM_SKIN_MENU_MOUSEMOVE: return OnMenuPointerMove(wParam, lParam);
    case WM_SKIN_MENU_END: return OnMenuEnd(wParam, lParam);
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    }
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinFrameWnd::OnDestroy(WPARAM wParam, LPARAM lParam) {
    m_bDestroying = true;
    if (m_bMDIChild && m_bWasMaximized)
        NotifyParentFrame(false);
    // The window gets back the menu it would be showing without the skin (the one the application set last), so
    // that it goes with the window as it would have.
    HMENU hMenu = m_menuBar.GetMenu() ? m_menuBar.GetMenu() : m_hSavedMenu;
    if (!m_bMDIChild && hMenu && ::IsMenu(hMenu) && !::GetMenu(m_hWnd))
        ::SetMenu(m_hWnd, hMenu);
    return CSkinWnd::HandleMessage(WM_DESTROY, wParam, lParam);
}

LRESULT CSkinFrameWnd::OnSize(WPARAM wParam, LPARAM lParam) {
    if (wParam == SIZE_MINIMIZED) {
        // The system draws the minimised window: no region, and a fresh one once it is back.
        ::SetWindowRgn(m_hWnd, nullptr, FALSE);
        m_rcSaved = RECT{0, 0, 0, 0};
    }
    if (m_bMDIChild && wParam == SIZE_MAXIMIZED && !m_bPlacingChild) {
        // The client area places a maximised child by the system's borders; the skin's go just outside instead.
        MINMAXINFO info = {};
        GetMinMaxInfo(&info);
        m_bPlacingChild = true;
        ::SetWindowPos(m_hWnd, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x,
                       info.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE);
        m_bPlacingChild = false;
    }
    const HWND hWnd = m_hWnd;
    const LRESULT result = CSkinWnd::HandleMessage(WM_SIZE, wParam, lParam);
    if (m_bMDIChild && ::IsWindow(hWnd) && (wParam == SIZE_MAXIMIZED) != m_bWasMaximized) {
        m_bWasMaximized = wParam == SIZE_MAXIMIZED;
        NotifyParentFrame(m_bWasMaximized);
    }
    return result;
}

void CSkinFrameWnd::NotifyParentFrame(bool bMaximized) {
    HWND hClient = ::GetParent(m_hWnd);
    HWND hFrame = hClient ? ::GetParent(hClient) : nullptr;
    if (CSkinFrameWnd *pFrame = dynamic_cast<CSkinFrameWnd *>(CSkinRegistry::Instance().FindWindow(hFrame)))
        pFrame->OnChildMaximized(m_hWnd, bMaximized);
}

void CSkinFrameWnd::OnChildMaximized(HWND hChild, bool bMaximized) {
    if (bMaximized)
        m_menuBar.SetMaximizedChild(hChild);
    else if (m_menuBar.GetMaximizedChildHandle() == hChild)
        m_menuBar.SetMaximizedChild(nullptr);
    else
        return;
    RecalcFrame();
}

LRESULT CSkinFrameWnd::OnLockedCaptionChange(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bMDIChild)
        return OnPlainStyleMessage(message, wParam, lParam);
    ::LockWindowUpdate(m_hWnd);
    const LRESULT result = CSkinWnd::HandleMessage(message, wParam, lParam);
    ::LockWindowUpdate(nullptr);
    return NcPaintAfter(result);
}

LRESULT CSkinFrameWnd::OnPlainStyleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hWnd = m_hWnd;
    const LRESULT result = CallWithStyle(GetPlainStyle(), message, wParam, lParam);
    return ::IsWindow(hWnd) ? NcPaintAfter(result) : result;
}

LRESULT CSkinFrameWnd::OnPaint(WPARAM wParam, LPARAM lParam) {
    const SkinFramedRecord *pFramed = GetFramed();
    if (!pFramed || GetMDIClient())
        return CSkinWnd::HandleMessage(WM_PAINT, wParam, lParam);
    const SkinPiece &inactive = pFramed->pieces[SkinFramedRecord::INACTIVE + CNineGrid::CENTRE];
    const SkinPiece &piece =
        m_bActive || CNineGrid::IsRectEmpty(inactive.rcSource) ? pFramed->pieces[CNineGrid::CENTRE] : inactive;
    if (!CSkinNonClient::CanDrawPiece(piece))
        return CSkinWnd::HandleMessage(WM_PAINT, wParam, lParam);
    CPaintDC dc(m_hWnd);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CMemoryDC mem(dc, rc);
    DrawBackground(mem.IsValid() ? mem.GetSafeHdc() : dc.GetSafeHdc(), m_bActive);
    return 0;
}

LRESULT CSkinFrameWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    if (wParam) {
        NCCALCSIZE_PARAMS *pParams = reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam);
        pParams->rgrc[0] = CalcClientRect(pParams->rgrc[0]);
    } else {
        RECT *pRect = reinterpret_cast<RECT *>(lParam);
        *pRect = CalcClientRect(*pRect);
    }
    return 0;
}

LRESULT CSkinFrameWnd::OnNcActivate(WPARAM wParam, LPARAM lParam) {
    if (m_bMDIChild) {
        m_bActive = wParam != 0;
        return OnPlainStyleMessage(WM_NCACTIVATE, wParam, lParam);
    }
    // An open menu keeps the caption active.
    if (m_menuBar.IsTracking())
        return 1;
    m_bActive = wParam != 0;
    ::LockWindowUpdate(m_hWnd);
    const LRESULT result = CSkinWnd::HandleMessage(WM_NCACTIVATE, wParam, lParam);
    ::LockWindowUpdate(nullptr);
    return NcPaintAfter(result);
}

LRESULT CSkinFrameWnd::OnNcMouseMoveMessage(WPARAM wParam, LPARAM lParam) {
    const HWND hWnd = m_hWnd;
    const LRESULT result = CallWithoutSysMenu(WM_NCMOUSEMOVE, wParam, lParam);
    if (::IsWindow(hWnd))
        OnNcMouseMove(static_cast<UINT>(wParam), ToWindow(lParam));
    return result;
}

LRESULT CSkinFrameWnd::OnWindowPosChanged(WPARAM wParam, LPARAM lParam) {
    if (!m_bMDIChild)
        return CSkinWnd::HandleMessage(WM_WINDOWPOSCHANGED, wParam, lParam);
    const HWND hWnd = m_hWnd;
    const LRESULT result = CallWithoutSysMenu(WM_WINDOWPOSCHANGED, wParam, lParam);
    return ::IsWindow(hWnd) ? NcPaintAfter(result) : result;
}

LRESULT CSkinFrameWnd::OnMenuPointerDown(UINT, WPARAM, LPARAM lParam) {
    const POINT screen = ScreenPoint(lParam);
    RECT wr, client;
    ::GetWindowRect(m_hWnd, &wr);
    if (!::PtInRect(&wr, screen))
        return 0;
    ::GetClientRect(m_hWnd, &client);
    POINT pt = screen;
    ::ScreenToClient(m_hWnd, &pt);
    if (::PtInRect(&client, pt)) {
        m_menuBar.CloseMenu();
        ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    const int hit = HitTest(POINT{screen.x - wr.left, screen.y - wr.top});
    ::SendMessageA(m_hWnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    return 0;
}

LRESULT CSkinFrameWnd::OnMenuPointerMove(WPARAM, LPARAM lParam) {
    const POINT pt = ToWindow(lParam);
    OnNcMouseMove(static_cast<UINT>(HitTest(pt)), pt);
    return 0;
}

LRESULT CSkinFrameWnd::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    // Alt, F10 and Alt+letter reach the skinned menu bar; the window has no menu of its own for the system to open.
    if ((wParam & 0xFFF0) == SC_KEYMENU && !m_bMDIChild && m_menuBar.OnKeyMenu(static_cast<UINT>(lParam)))
        return 0;
    return CSkinWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT CSkinFrameWnd::OnMenuEnd(WPARAM wParam, LPARAM lParam) {
    m_menuBar.EndTracking();
    return CSkinWnd::HandleMessage(WM_SKIN_MENU_END, wParam, lParam);
}
