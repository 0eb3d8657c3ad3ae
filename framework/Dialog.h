// A dialog from a dialog-template resource, modal or modeless, with data exchange between members and controls.
#pragma once

#include <windows.h>
#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd *pParentWnd = nullptr);

    // Runs the dialog in its own modal loop; IDOK, IDCANCEL (or EndDialog's value), -1 when it cannot be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; non-zero on success.
    BOOL Create(UINT nIDTemplate = 0, CWnd *pParentWnd = nullptr);
    void EndDialog(int nResult);

    // Default: exchange data into the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Default: take the controls' data (UpdateData(TRUE)) and end with IDOK when it is valid.
    virtual void OnOK();
    virtual void OnCancel();
    // Moves data between members and controls; FALSE when a value failed validation (the user was told).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange *pDX);

    BOOL PreTranslateMessage(MSG *pMsg) override;

    UINT m_nIDTemplate;
    CWnd *m_pParentWnd;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    HWND GetOwnerWindow() const;
    // Centres the dialog over its owner (over the work area when the owner is hidden or minimised), kept on the
    // owner's monitor's work area.
    static void CenterOverOwner(HWND hDlg);

    bool m_bModal = false;
};
