#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::GetOwnerWindow() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd())
        owner = AfxGetMainWnd()->m_hWnd;
    // A dialog belongs to the top-level window, never to a child.
    while (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog *pDlg = reinterpret_cast<CDialog *>(lParam);
    if (!pDlg)
        return FALSE;
    // From here on every message passes the object first (subclassing the dialog window), and the dialog
    // manager's own processing is the default.
    if (!pDlg->SubclassWindow(hDlg))
        return FALSE;
    RECT rcBefore = {};
    ::GetWindowRect(hDlg, &rcBefore);
    BOOL result = TRUE;
    try {
        result = pDlg->OnInitDialog();
    } catch (...) {
    }
    // A modal dialog that did not place itself while initialising opens over its owner, not where its template's
    // origin puts it (the owner's client corner, over the menu and the bars).
    RECT rcAfter = {};
    if (pDlg->m_bModal && ::IsWindow(hDlg) && ::GetWindowRect(hDlg, &rcAfter) && rcAfter.left == rcBefore.left &&
        rcAfter.top == rcBefore.top)
        CenterOverOwner(hDlg);
    return result;
}

void CDialog::CenterOverOwner(HWND hDlg) {
    if (::GetWindowLongA(hDlg, GWL_STYLE) & WS_CHILD)
        return;
    HWND owner = ::GetWindow(hDlg, GW_OWNER);
    HMONITOR monitor = ::MonitorFromWindow(owner ? owner : hDlg, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (monitor && ::GetMonitorInfoA(monitor, &mi))
        work = mi.rcWork;
    // Over the owner while it can be seen, else over the work area.
    RECT around = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &around);
    RECT rc = {};
    ::GetWindowRect(hDlg, &rc);
    const LONG cx = rc.right - rc.left;
    const LONG cy = rc.bottom - rc.top;
    LONG x = around.left + ((around.right - around.left) - cx) / 2;
    LONG y = around.top + ((around.bottom - around.top) - cy) / 2;
    // Whole on the work area where it fits; the top-left corner stays visible where it does not.
    if (x + cx > work.right)
        x = work.right - cx;
    if (x < work.left)
        x = work.left;
    if (y + cy > work.bottom)
        y = work.bottom - cy;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CDialog::DoModal() {
    m_bModal = true;
    INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), GetOwnerWindow(),
                                       &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd *pParentWnd) {
    if (nIDTemplate)
        m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = false;
    HWND h = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), GetOwnerWindow(),
                                  &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!h || h != m_hWnd)
        return FALSE;
    m_bOwnsWindow = true;
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    if (!m_hWnd)
        return;
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        DestroyWindow();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    if (dx.m_bFail && dx.m_hWndLastControl)
        ::SetFocus(dx.m_hWndLastControl);
    return !dx.m_bFail;
}

void CDialog::DoDataExchange(CDataExchange *) {}

BOOL CDialog::PreTranslateMessage(MSG *pMsg) {
    // Modal dialogs get their keys from the system's loop; modeless ones need the dialog manager here.
    return !m_bModal && m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // The table of the dialog comes first, so a dialog may map IDOK or IDCANCEL itself.
    if (OnCmdMsg(nID, nCode, nullptr))
        return TRUE;
    if (nCode == BN_CLICKED || lParam == 0) {
        if (nID == IDOK) {
            OnOK();
            return TRUE;
        }
        if (nID == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}
