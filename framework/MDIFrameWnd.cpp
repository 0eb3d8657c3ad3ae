#include "framework/MDIFrameWnd.h"

#include "framework/Document.h"
#include "framework/MDIChildWnd.h"

namespace {
// Window-arrangement commands that mark the menu listing the document windows.
const UINT kFirstWindowCommand = 0xE130;
const UINT kLastWindowCommand = 0xE13F;
const UINT kFirstMDIChildId = 0xFF00;
} // namespace

const char *CMDIFrameWnd::GetFrameClassName() {
    return RegisterFrameworkClass("QXMDIFrame", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
}

HMENU CMDIFrameWnd::FindWindowMenu(HMENU hMenu) {
    if (!hMenu)
        return nullptr;
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(hMenu, i);
        if (!sub)
            continue;
        int n = ::GetMenuItemCount(sub);
        for (int j = 0; j < n; ++j) {
            UINT id = ::GetMenuItemID(sub, j);
            if (id >= kFirstWindowCommand && id <= kLastWindowCommand)
                return sub;
        }
    }
    return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext *) {
    CLIENTCREATESTRUCT ccs = {};
    ccs.hWindowMenu = FindWindowMenu(m_hMenuDefault);
    ccs.idFirstChild = kFirstMDIChildId;
    m_hWndMDIClient = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES, 0, 0,
        0, 0, m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), ::GetModuleHandleA(nullptr), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnSize(UINT nType, int, int) {
    // Not the default processing: that would stretch the MDI client over the bars.
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIFrameWnd::OnDestroy() {
    // The document menu belongs to its template: put the frame's own menu back before the window takes its menu
    // down with it.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CFrameWnd::OnDestroy();
}

CMDIChildWnd *CMDIFrameWnd::MDIGetActive(BOOL *pbMaximized) const {
    BOOL maximized = FALSE;
    HWND h = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                     reinterpret_cast<LPARAM>(&maximized)))
                             : nullptr;
    if (pbMaximized)
        *pbMaximized = maximized;
    CMDIChildWnd *child = dynamic_cast<CMDIChildWnd *>(FromHandlePermanent(h));
    if (child && child->IsDestroying())
        return nullptr;
    return child;
}

void CMDIFrameWnd::MDIActivate(CWnd *pWndActivate) {
    if (pWndActivate && m_hWndMDIClient)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

CFrameWnd *CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd *child = MDIGetActive();
    return child ? static_cast<CFrameWnd *>(child) : this;
}

CDocument *CMDIFrameWnd::GetActiveDocument() {
    CMDIChildWnd *child = MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    if (!m_hWndMDIClient)
        return;
    HMENU menu = hMenuAlt;
    if (!menu) {
        CMDIChildWnd *child = MDIGetActive();
        menu = (child && child->m_hMenuShared) ? child->m_hMenuShared : m_hMenuDefault;
    }
    if (!menu)
        return;
    if (::GetMenu(m_hWnd) == menu)
        m_hMenuShown = menu;
    if (m_hMenuShown == menu)
        return;
    m_hMenuShown = menu;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                   reinterpret_cast<LPARAM>(FindWindowMenu(menu)));
    ::DrawMenuBar(m_hWnd);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    std::string title = m_strTitle;
    CDocument *pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc)
        title = pDoc->GetTitle() + " - " + m_strTitle;
    // Compared with what was set last: the MDI client decorates the caption of a frame with a maximised child.
    if (m_strTitleShown != title || GetWindowText().empty()) {
        m_strTitleShown = title;
        SetWindowText(title);
    }
    if (CMDIChildWnd *child = MDIGetActive())
        child->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIFrameWnd::OnIdleUpdateCmdUI() {
    CFrameWnd::OnIdleUpdateCmdUI();
    OnUpdateFrameMenu(nullptr);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe) {
    // The active document window (its view, document and the child frame) comes first.
    if (CMDIChildWnd *child = MDIGetActive()) {
        if (child->OnCmdMsg(nID, nCode, pCmdUI, bProbe))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pCmdUI, bProbe);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG *pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    // The document's accelerators first, then the frame's; both command the main frame.
    CMDIChildWnd *child = MDIGetActive();
    if (child && child->m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, child->m_hAccelTable, pMsg))
        return TRUE;
    return m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}
