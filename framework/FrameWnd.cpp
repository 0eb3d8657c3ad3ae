#include "framework/FrameWnd.h"

#include <commctrl.h>
#include <vector>
#include "framework/CmdUI.h"
#include "framework/ControlBar.h"
#include "framework/CreateContext.h"
#include "framework/DockBar.h"
#include "framework/Document.h"
#include "framework/StatusBar.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "platform/Handle.h"

namespace {
const DWORD kDockSides[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
const UINT kDockIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

std::string FirstField(const std::string &text) {
    return text.substr(0, text.find('\n'));
}
} // namespace

CFrameWnd::CFrameWnd() {
    MapCommandRangeEx(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck);
    MapUpdateUIRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu);
    MapUpdateUIRange(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator);
}

CFrameWnd::~CFrameWnd() = default;

const char *CFrameWnd::GetFrameClassName() {
    return RegisterFrameworkClass("QXFrameWnd", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA &cs) {
    if (!cs.lpszClass)
        cs.lpszClass = GetFrameClassName();
    return cs.lpszClass != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd, CCreateContext *pContext) {
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    m_nIDHelp = nIDResource;
    m_dwFrameStyle = dwDefaultStyle & FWS_ADDTOTITLE;
    std::string text;
    if (AfxLoadString(nIDResource, text))
        m_strTitle = FirstField(text);
    CMenu menu(::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource))); // ours until the window takes it
    m_hMenuDefault = menu;
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    m_pCreateContext = pContext;
    m_bInCreate = true;
    BOOL ok = CreateEx(0, nullptr, m_strTitle.c_str(), dwDefaultStyle & ~FWS_ADDTOTITLE, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, m_hMenuDefault);
    m_bInCreate = false;
    m_pCreateContext = nullptr;
    if (!ok) {
        if (!::IsMenu(menu))
            menu.Detach(); // went with the failed window
        m_hMenuDefault = nullptr;
        return FALSE;
    }
    menu.Detach(); // the frame's from now on
    if (HICON icon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource))) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SetMessageText(GetIdleMessage());
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    return OnCreateClient(lpcs, m_pCreateContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext *pContext) {
    if (pContext && pContext->m_newView)
        return CreateView(pContext) != nullptr;
    return TRUE;
}

CView *CFrameWnd::CreateView(CCreateContext *pContext, UINT nID) {
    CView *pView = pContext->m_newView();
    if (!pView)
        return nullptr;
    RECT rc = {0, 0, 0, 0};
    if (!pView->Create(WS_CHILD | WS_VISIBLE, rc, this, nID, pContext->m_pCurrentDoc)) {
        delete pView;
        return nullptr;
    }
    return pView;
}

HWND CFrameWnd::GetClientPane() const {
    return ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
}

void CFrameWnd::PostNcDestroy() {
    CWinApp *app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    // A frame that failed to come up stays with the caller of LoadFrame.
    if (!m_bInCreate)
        delete this;
}

void CFrameWnd::OnDestroy() {
    m_bDestroying = true;
    CWinApp *app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        ::PostQuitMessage(0);
    Default();
}

void CFrameWnd::OnClose() {
    CWinApp *app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        DestroyWindow();
        return;
    }
    CDocument *pDoc = GetActiveDocument();
    if (pDoc) {
        if (!pDoc->SaveModified())
            return;
        pDoc->OnCloseDocument();
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND hWndOld) {
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::SetFocus(m_pViewActive->m_hWnd);
    else
        CWnd::OnSetFocus(hWndOld);
}

CFrameWnd *CFrameWnd::GetActiveFrame() {
    return this;
}

void CFrameWnd::SetActiveView(CView *pView, BOOL bNotify) {
    CView *old = m_pViewActive;
    if (old == pView)
        return;
    m_pViewActive = pView;
    if (bNotify) {
        if (old)
            old->OnActivateView(FALSE, pView, old);
        if (pView)
            pView->OnActivateView(TRUE, pView, old);
    }
}

CDocument *CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::InitialUpdateFrame(CDocument *pDoc, BOOL bMakeVisible) {
    if (!m_pViewActive) {
        if (CView *v = dynamic_cast<CView *>(FromHandlePermanent(GetClientPane())))
            SetActiveView(v, FALSE);
    }
    if (pDoc) {
        std::vector<CView *> views = pDoc->GetViews();
        for (CView *v : views) {
            if (v->GetParentFrame() == this)
                v->OnInitialUpdate();
        }
    }
    if (bMakeVisible) {
        ActivateFrame();
        if (m_pViewActive)
            m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    }
    OnUpdateFrameTitle(TRUE);
    if (CFrameWnd *top = GetTopLevelFrame())
        if (top != this)
            top->OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    std::string title = m_strTitle;
    CDocument *pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc)
        title = m_strTitle.empty() ? pDoc->GetTitle() : pDoc->GetTitle() + " - " + m_strTitle;
    // Compared with what was set last: the MDI client decorates the caption of a frame with a maximised child.
    if (m_strTitleShown != title || GetWindowText().empty()) {
        m_strTitleShown = title;
        SetWindowText(title);
    }
}

// ---- bars and layout

void CFrameWnd::AddControlBar(CControlBar *pBar) {
    for (CControlBar *b : m_listControlBars)
        if (b == pBar)
            return;
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar *pBar) {
    for (auto it = m_listControlBars.begin(); it != m_listControlBars.end(); ++it) {
        if (*it == pBar) {
            m_listControlBars.erase(it);
            return;
        }
    }
}

CControlBar *CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar *b : m_listControlBars) {
        if (b->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(b->m_hWnd)) == nID)
            return b;
    }
    return nullptr;
}

CDockBar *CFrameWnd::GetDockBar(DWORD dwAlign) const {
    for (int i = 0; i < 4; ++i) {
        if ((dwAlign & kDockSides[i]) && m_dockBars[i])
            return m_dockBars[i].get();
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    for (int i = 0; i < 4; ++i) {
        if (!(dwDockStyle & kDockSides[i]) || m_dockBars[i])
            continue;
        std::unique_ptr<CDockBar> dock(new CDockBar(kDockSides[i]));
        if (dock->Create(this, kDockIds[i]))
            m_dockBars[i] = std::move(dock);
    }
}

void CFrameWnd::DockControlBar(CControlBar *pBar, UINT nDockBarID, const RECT *lpRect) {
    if (!pBar || !pBar->m_hWnd)
        return;
    CDockBar *dock = nullptr;
    for (int i = 0; i < 4 && nDockBarID; ++i) {
        if (kDockIds[i] == nDockBarID)
            dock = m_dockBars[i].get();
    }
    if (!dock) {
        DWORD allowed = pBar->m_dwDockStyle ? pBar->m_dwDockStyle : static_cast<DWORD>(CBRS_ALIGN_ANY);
        // Prefer the side the bar was created for.
        dock = GetDockBar(pBar->m_dwStyle & allowed & CBRS_ALIGN_ANY);
        if (!dock)
            dock = GetDockBar(allowed);
    }
    if (!dock)
        return;
    dock->DockControlBar(pBar, lpRect);
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar *pBar, BOOL bShow, BOOL) {
    if (!pBar || !pBar->m_hWnd)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (!m_hWnd)
        return;
    RECT rc;
    GetClientRect(&rc);
    int width = rc.right - rc.left;
    // Bars outside the dock rows (the status bar) take the edges first.
    for (CControlBar *bar : m_listControlBars) {
        if (bar->m_pDockBar || !bar->IsVisible())
            continue;
        SIZE size = bar->CalcFixedLayout();
        if (bar->m_dwStyle & CBRS_ALIGN_BOTTOM) {
            ::MoveWindow(bar->m_hWnd, rc.left, rc.bottom - size.cy, width, size.cy, TRUE);
            rc.bottom -= size.cy;
        } else if (bar->m_dwStyle & CBRS_ALIGN_TOP) {
            ::MoveWindow(bar->m_hWnd, rc.left, rc.top, size.cx, size.cy, TRUE);
            rc.top += size.cy;
        }
    }
    for (int i = 0; i < 4; ++i) {
        CDockBar *dock = m_dockBars[i].get();
        if (!dock)
            continue;
        int t = dock->CalcThickness();
        RECT d = rc;
        switch (kDockSides[i]) {
        case CBRS_ALIGN_TOP:
            d.bottom = rc.top + t;
            rc.top += t;
            break;
        case CBRS_ALIGN_BOTTOM:
            d.top = rc.bottom - t;
            rc.bottom -= t;
            break;
        case CBRS_ALIGN_LEFT:
            d.right = rc.left + t;
            rc.left += t;
            break;
        default:
            d.left = rc.right - t;
            rc.right -= t;
            break;
        }
        dock->MoveWindow(d);
        dock->ShowWindow(t > 0 ? SW_SHOWNA : SW_HIDE);
        if (t > 0)
            dock->LayoutBars();
    }
    if (HWND pane = GetClientPane()) {
        if (rc.bottom < rc.top)
            rc.bottom = rc.top;
        if (rc.right < rc.left)
            rc.right = rc.left;
        ::MoveWindow(pane, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar *bar = GetControlBar(nID);
    if (!bar)
        return FALSE; // a document frame passes the command on to the main frame, whose bar it is
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI *pCmdUI) {
    CControlBar *bar = GetControlBar(pCmdUI->m_nID);
    // A document frame without the bar leaves the item to the frame that holds it.
    if (!bar && GetParentFrame()) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable(bar != nullptr);
    pCmdUI->SetCheck(bar && bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI *pCmdUI) {
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
              : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                  : VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

// ---- status prompts

std::string CFrameWnd::GetIdleMessage() {
    std::string text;
    if (AfxLoadString(AFX_IDS_IDLEMESSAGE, text))
        return text;
    return "就绪";
}

std::string CFrameWnd::GetCommandPrompt(UINT nID, bool bTip) {
    std::string text;
    if (!AfxLoadString(nID, text))
        return std::string();
    size_t nl = text.find('\n');
    if (bTip)
        return nl == std::string::npos ? std::string() : text.substr(nl + 1);
    return text.substr(0, nl);
}

void CFrameWnd::SetMessageText(const std::string &text) {
    CFrameWnd *top = GetTopLevelFrame();
    CFrameWnd *owner = top ? top : this;
    if (CStatusBar *bar = dynamic_cast<CStatusBar *>(owner->GetControlBar(AFX_IDW_STATUS_BAR)))
        bar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT nID) {
    SetMessageText(GetCommandPrompt(nID, false));
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    std::vector<CControlBar *> bars = m_listControlBars;
    for (CControlBar *bar : bars) {
        if (bar->IsVisible())
            bar->OnUpdateCmdUI(this, TRUE);
    }
    OnUpdateFrameTitle(TRUE);
    if (m_nMenuSelectID == 0 && m_nFlyByID == 0)
        SetMessageText(GetIdleMessage());
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu) {
    if (nFlags == 0xFFFF && !hMenu) {
        m_nMenuSelectID = 0;
        SetMessageText(GetIdleMessage());
        return;
    }
    if (nFlags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
        m_nMenuSelectID = 0xFFFF;
        SetMessageText(std::string());
        return;
    }
    m_nMenuSelectID = nItemID;
    SetMessageText(nItemID);
}

void CFrameWnd::OnInitMenuPopup(HMENU hMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !hMenu)
        return;
    CCmdUI state;
    state.m_hMenu = hMenu;
    state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(hMenu));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        UINT id = ::GetMenuItemID(hMenu, static_cast<int>(state.m_nIndex));
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators and sub-menus
        state.m_nID = id;
        // System commands (the MDI child's) are the system's business.
        state.DoUpdate(this, id < 0xF000);
        state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(hMenu));
    }
}

// ---- routing

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe) {
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return TRUE;
    // Only the outermost frame passes commands on to the application.
    CWinApp *app = AfxGetApp();
    if (app && !(GetStyle() & WS_CHILD))
        return app->OnCmdMsg(nID, nCode, pCmdUI, bProbe);
    return FALSE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG *pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg) != 0;
    return FALSE;
}

BOOL CFrameWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT *pResult) {
    NMHDR *hdr = reinterpret_cast<NMHDR *>(lParam);
    switch (hdr->code) {
    case TTN_GETDISPINFOA: {
        NMTTDISPINFOA *info = reinterpret_cast<NMTTDISPINFOA *>(lParam);
        UINT id = (info->uFlags & TTF_IDISHWND) ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom)))
                                                : static_cast<UINT>(hdr->idFrom);
        m_strTipText = GetCommandPrompt(id, true);
        info->hinst = nullptr;
        info->lpszText = const_cast<char *>(m_strTipText.c_str());
        *pResult = 0;
        return TRUE;
    }
    case TTN_GETDISPINFOW: {
        NMTTDISPINFOW *info = reinterpret_cast<NMTTDISPINFOW *>(lParam);
        UINT id = (info->uFlags & TTF_IDISHWND) ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom)))
                                                : static_cast<UINT>(hdr->idFrom);
        std::string tip = GetCommandPrompt(id, true);
        int n = ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), static_cast<int>(tip.size()), nullptr, 0);
        m_wstrTipText.assign(static_cast<size_t>(n > 0 ? n : 0), L'\0');
        if (n > 0)
            ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), static_cast<int>(tip.size()), &m_wstrTipText[0], n);
        info->hinst = nullptr;
        info->lpszText = const_cast<wchar_t *>(m_wstrTipText.c_str());
        *pResult = 0;
        return TRUE;
    }
    case TBN_HOTITEMCHANGE: {
        // Fly-by help: the prompt of the button under the pointer.
        NMTBHOTITEM *hot = reinterpret_cast<NMTBHOTITEM *>(lParam);
        if ((hot->dwFlags & HICF_LEAVING) || hot->idNew == 0) {
            m_nFlyByID = 0;
            SetMessageText(GetIdleMessage());
        } else {
            m_nFlyByID = static_cast<UINT>(hot->idNew);
            SetMessageText(m_nFlyByID);
        }
        *pResult = 0;
        return TRUE;
    }
    }
    return FALSE;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return DefWindowProc(message, wParam, lParam);
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return DefWindowProc(message, wParam, lParam);
    case WM_EXITMENULOOP:
        m_nMenuSelectID = 0;
        SetMessageText(GetIdleMessage());
        return DefWindowProc(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
