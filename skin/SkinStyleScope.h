// Puts another style on a window for one call of the procedures below it and puts the window's own style back after:
// the default procedure then draws no standard caption, caption buttons or system menu.
#pragma once

#include <windows.h>

class CSkinStyleScope {
public:
    // The state bits that the call itself may change (shown, maximised, minimised, disabled) are never taken away and
    // keep what the call made of them when the style is put back.
    enum : DWORD { STATE_BITS = WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_DISABLED };

    CSkinStyleScope(HWND hWnd, DWORD dwStyle) : m_hWnd(hWnd) {
        m_dwSaved = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
        const DWORD dwNew = (dwStyle & ~STATE_BITS) | (m_dwSaved & STATE_BITS);
        if (dwNew != m_dwSaved) {
            ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNew));
            m_bChanged = true;
        }
    }
    ~CSkinStyleScope() {
        if (!m_bChanged || !::IsWindow(m_hWnd))
            return;
        const DWORD dwNow = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((m_dwSaved & ~STATE_BITS) | (dwNow & STATE_BITS)));
    }
    CSkinStyleScope(const CSkinStyleScope &) = delete;
    CSkinStyleScope &operator=(const CSkinStyleScope &) = delete;

    // The window's own style when the scope began.
    DWORD GetSavedStyle() const { return m_dwSaved; }

private:
    HWND m_hWnd;
    DWORD m_dwSaved;
    bool m_bChanged = false;
};
