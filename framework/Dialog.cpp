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
    try {
        return pDlg->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
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
