#include "framework/MDIChildWnd.h"

#include "framework/CreateContext.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"

const char *CMDIChildWnd::GetFrameClassName() {
    return RegisterFrameworkClass("QXMDIChild", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                  reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd, CCreateContext *pContext) {
    CMDIFrameWnd *pMain = dynamic_cast<CMDIFrameWnd *>(pParentWnd ? pParentWnd : AfxGetMainWnd());
    if (!pMain || !pMain->m_hWndMDIClient)
        return FALSE;
    m_pMDIFrame = pMain;
    m_nIDHelp = nIDResource;
    m_dwFrameStyle = dwDefaultStyle & FWS_ADDTOTITLE;
    std::string text;
    if (AfxLoadString(nIDResource, text))
        m_strTitle = text.substr(0, text.find('\n'));
    if (pContext && pContext->m_pNewDocTemplate) {
        m_hMenuShared = pContext->m_pNewDocTemplate->m_hMenuShared;
        m_hAccelTable = pContext->m_pNewDocTemplate->m_hAccelTable;
    }
    const char *cls = GetFrameClassName();
    if (!cls)
        return FALSE;
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = cls;
    mcs.szTitle = m_strTitle.c_str();
    mcs.hOwner = ::GetModuleHandleA(nullptr);
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.style = static_cast<DWORD>((dwDefaultStyle & ~FWS_ADDTOTITLE) | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                                   WS_CLIPCHILDREN);
    m_pCreateContext = pContext;
    m_bInCreate = true;
    SetPendingWindow(this);
    HWND h =
        reinterpret_cast<HWND>(::SendMessageA(pMain->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    SetPendingWindow(nullptr);
    m_bInCreate = false;
    m_pCreateContext = nullptr;
    if (!h || h != m_hWnd)
        return FALSE;
    if (HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

CMDIFrameWnd *CMDIChildWnd::GetMDIFrame() const {
    return m_pMDIFrame;
}

void CMDIChildWnd::MDIActivate() {
    if (m_pMDIFrame)
        m_pMDIFrame->MDIActivate(this);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    CMDIFrameWnd *pMain = m_pMDIFrame;
    if (!pMain || !pMain->m_hWndMDIClient || pMain->IsDestroying())
        return CFrameWnd::DestroyWindow();
    ::SendMessageA(pMain->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    // With the last document window gone the frame shows its own menu and caption again.
    pMain->OnUpdateFrameMenu(nullptr);
    pMain->OnUpdateFrameTitle(TRUE);
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    MDIActivate();
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    std::string title = m_strTitle;
    CDocument *pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc)
        title = pDoc->GetTitle();
    // Compared with what was set last: the MDI client decorates the caption of a frame with a maximised child.
    if (m_strTitleShown != title || GetWindowText().empty()) {
        m_strTitleShown = title;
        SetWindowText(title);
    }
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG *) {
    // Keys are translated by the main frame, so that commands arrive where the whole route starts.
    return FALSE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::OnSize(UINT nType, int, int) {
    // The MDI client needs to see every size change (maximising, restoring).
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, HWND hActivated, HWND) {
    if (!m_pMDIFrame || m_pMDIFrame->IsDestroying())
        return;
    if (bActivate) {
        m_pMDIFrame->OnUpdateFrameMenu(m_hMenuShared);
        if (m_pViewActive)
            m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    } else if (!hActivated) {
        m_pMDIFrame->OnUpdateFrameMenu(m_pMDIFrame->m_hMenuDefault);
    }
    m_pMDIFrame->OnUpdateFrameTitle(TRUE);
}

LRESULT CMDIChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MDIACTIVATE: {
        LRESULT r = Default();
        OnMDIActivate(reinterpret_cast<HWND>(lParam) == m_hWnd, reinterpret_cast<HWND>(lParam),
                      reinterpret_cast<HWND>(wParam));
        return r;
    }
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
