#include "launcher/LinkStatic.h"

#include <utility>

CLinkStatic::CLinkStatic()
    : m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_hBkBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))), m_hLinkCursor(NULL) {
    ZeroMemory(&m_logFont, sizeof(m_logFont));
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_logFont), &m_logFont);
    m_font.Attach(::CreateFontIndirectA(&m_logFont));
}

CLinkStatic::~CLinkStatic() {
    // A control that outlives its object must neither call back into it nor paint with its deleted font.
    if (GetHwnd() && ::IsWindow(GetHwnd())) {
        ::SendMessageA(GetHwnd(), WM_SETFONT, 0, FALSE);
        Unsubclass();
    }
}

BOOL CLinkStatic::SubclassDlgItem(UINT nId, HWND hParent) {
    HWND hWnd = ::GetDlgItem(hParent, static_cast<int>(nId));
    if (!hWnd || GetHwnd() || !Subclass(hWnd))
        return FALSE;
    ApplyFont();
    return TRUE;
}

void CLinkStatic::SetForeColor(COLORREF crText) {
    m_crText = crText;
    RedrawNow();
}

void CLinkStatic::SetBkColor(COLORREF crBack) {
    m_hBkBrush.Attach(::CreateSolidBrush(crBack));
}

void CLinkStatic::SetFontHeight(int nHeight) {
    m_logFont.lfHeight = -nHeight;
    RebuildFont();
    RedrawNow();
}

void CLinkStatic::SetUnderline(bool bUnderline) {
    m_logFont.lfUnderline = bUnderline ? TRUE : FALSE;
    RebuildFont();
    RedrawNow();
}

void CLinkStatic::SetNotify(bool bNotify) {
    if (!GetHwnd())
        return;
    LONG_PTR nStyle = ::GetWindowLongPtrA(GetHwnd(), GWL_STYLE);
    nStyle = bNotify ? (nStyle | SS_NOTIFY) : (nStyle & ~static_cast<LONG_PTR>(SS_NOTIFY));
    ::SetWindowLongPtrA(GetHwnd(), GWL_STYLE, nStyle);
}

void CLinkStatic::SetLinkCursor(HCURSOR hCursor) {
    m_hLinkCursor = hCursor;
}

HBRUSH CLinkStatic::OnCtlColor(HDC hdc) {
    if (m_font.IsValid())
        ::SelectObject(hdc, m_font.Get());
    ::SetTextColor(hdc, m_crText);
    ::SetBkMode(hdc, TRANSPARENT);
    return m_hBkBrush.Get();
}

void CLinkStatic::RebuildFont() {
    // The new font is made before the old one goes, so a failure keeps the old font in use; the control is given
    // the new font before the old one is deleted.
    CFont font(::CreateFontIndirectA(&m_logFont));
    if (!font.IsValid())
        return;
    std::swap(m_font, font);
    ApplyFont();
}

void CLinkStatic::ApplyFont() {
    // Some static controls select their own font after the colour request; giving them ours as their font makes
    // the colour request's selection hold either way.
    if (GetHwnd())
        ::SendMessageA(GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
}

void CLinkStatic::RedrawNow() {
    if (GetHwnd())
        ::RedrawWindow(GetHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CLinkStatic::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    default:
        return Default(uMsg, wParam, lParam);
    }
}

LRESULT CLinkStatic::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (m_hLinkCursor) {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return Default(WM_SETCURSOR, wParam, lParam);
}

LRESULT CLinkStatic::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    // Posted, not sent: the parent handles the notice after the control's own mouse handling.
    ::PostMessageA(::GetParent(GetHwnd()), WM_LINK_HOVER, 0, reinterpret_cast<LPARAM>(GetHwnd()));
    return Default(WM_MOUSEMOVE, wParam, lParam);
}
