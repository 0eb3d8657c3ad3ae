// One transfer between a dialog's members and its controls, in one direction, with validation failures.
#pragma once

#include <windows.h>
#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate) : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    // The control with that id; the exchange fails when the dialog has none.
    HWND PrepareCtrl(int nIDC);
    // Marks the exchange failed; later exchanges of the same pass do nothing.
    void Fail() { m_bFail = TRUE; }

    CWnd *m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members
    BOOL m_bFail = FALSE;
    HWND m_hWndLastControl = nullptr;
};

// Text of a control <-> a string member.
void DDX_Text(CDataExchange *pDX, int nIDC, std::string &value);
// Text of a control <-> an integer member; a text that is not a number fails the exchange.
void DDX_Text(CDataExchange *pDX, int nIDC, int &value);
// At most nChars bytes: on the way in it is also the edit's (or combo box's) typing limit; on the way out a
// longer text fails the exchange with a message.
void DDV_MaxChars(CDataExchange *pDX, const std::string &value, int nChars);
// Binds a control object to the dialog's control (once).
void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl);
// Selected index of a combo box <-> an integer member.
void DDX_CBIndex(CDataExchange *pDX, int nIDC, int &index);
