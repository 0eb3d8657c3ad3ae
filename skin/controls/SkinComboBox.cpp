#include "skin/controls/SkinComboBox.h"

#include <string>

#include "skin/SkinComboBoxObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

CSkinObject *CSkinComboBox::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_COMBOBOX);
}

BOOL CSkinComboBox::Attach(HWND hWnd) {
    if (!hWnd ||
        (static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE)) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)))
        return FALSE;
    return CSkinControl::Attach(hWnd);
}

LRESULT CSkinComboBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_SETFOCUS: return PassOnAndRefresh(message, wParam, lParam);
        case WM_KILLFOCUS: return PassOnAndRefresh(message, wParam, lParam);
        case WM_COMMAND: return PassOnAndRefresh(message, wParam, lParam);
        case CB_SELECTSTRING: return PassOnAndRefresh(message, wParam, lParam);
        case CB_SETCURSEL: return PassOnAndRefresh(message, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam);
        case WM_LBUTTONDOWN: return OnButton(message, wParam, lParam);
        case WM_LBUTTONUP: return OnButton(message, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave();
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinComboBox::PassOnAndRefresh(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd))
        InvalidateNow(TRUE);
    return result;
}

void CSkinComboBox::SetState(int nState) {
    m_nState = nState;
    InvalidateNow(FALSE);
}

LRESULT CSkinComboBox::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (!Survives(hWnd))
        return result;
    const CSkinComboBoxObject *pObject = dynamic_cast<const CSkinComboBoxObject *>(m_pSkinObject);
    if (!pObject)
        return result;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    const RECT &m = pObject->m_header.frame.rcMargins;
    const LONG x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    if (x >= rc.right - HOT_WIDTH && x < rc.right - m.right && y >= rc.top - m.top && y < rc.bottom - m.bottom) {
        SetState(BUTTON_HOT);
        if (!m_bTracking) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
            m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
        }
    }
    return result;
}

LRESULT CSkinComboBox::OnButton(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd))
        SetState(message == WM_LBUTTONDOWN ? BUTTON_PRESSED : BUTTON_NORMAL);
    return result;
}

LRESULT CSkinComboBox::OnMouseLeave() {
    m_bTracking = false;
    SetState(BUTTON_NORMAL);
    return 0;
}

void CSkinComboBox::Draw(HDC hDC) {
    const CSkinComboBoxObject *pObject = dynamic_cast<const CSkinComboBoxObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    DrawNineGrid(hDC, rc, pObject->m_header.frame, crFace, TRUE);
    const RECT &m = pObject->m_header.frame.rcMargins;
    const RECT rcButton = {rc.right - BUTTON_WIDTH, rc.top + m.top, rc.right - m.right, rc.bottom - m.bottom};
    RECT rcText = {rc.left + m.left + 1, rc.top + m.top + 1, rcButton.left - 2, rc.bottom - m.bottom - 1};
    // A drop-down combo box has the focus in its edit.
    HWND hFocus = ::GetFocus();
    if (hFocus && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus)))
        FillSolid(hDC, rcText, pObject->m_crFocusFill);

    const LRESULT nSel = ::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0);
    if (nSel != CB_ERR) {
        const LRESULT nLength = ::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nSel), 0);
        if (nLength > 0) {
            std::string text(static_cast<size_t>(nLength) + 1, '\0');
            const LRESULT nGot =
                ::SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nSel), reinterpret_cast<LPARAM>(&text[0]));
            if (nGot > 0 && nGot <= nLength) {
                // Without a font of its own the context's current font serves.
                HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
                CSkinTextScope scope(hDC, hFont, ::GetTextColor(hDC));
                ::DrawTextA(hDC, text.c_str(), static_cast<int>(nGot), &rcText, DT_SINGLELINE | DT_VCENTER);
            }
        }
    }

    int nButton = CSkinComboBoxObject::BUTTON_NORMAL;
    if (!::IsWindowEnabled(m_hWnd))
        nButton = CSkinComboBoxObject::BUTTON_DISABLED;
    else if (m_nState == BUTTON_HOT)
        nButton = CSkinComboBoxObject::BUTTON_HOT;
    else if (m_nState == BUTTON_PRESSED)
        nButton = CSkinComboBoxObject::BUTTON_PRESSED;
    DrawNineGrid(hDC, rcButton, pObject->m_buttons[nButton], crFace, TRUE);
}
