#include "launcher/LinkStatic.h"

#include <utility>

namespace {

// Window property through which the shared window procedure finds the object of a control.
const char kPropThis[] = "QxLinkStatic";

} // namespace

CLinkStatic::CLinkStatic()
    : m_hWnd(NULL), m_pfnPrevProc(NULL), m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_hBkBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))), m_hLinkCursor(NULL) {
    ZeroMemory(&m_logFont, sizeof(m_logFont));
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_logFont), &m_logFont);
    m_font.Attach(::CreateFontIndirectA(&m_logFont));
}

CLinkStatic::~CLinkStatic() {
    // A control that outlives its object must neither call back into it nor paint with its deleted font.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SendMessageA(m_hWnd, WM_SETFONT, 0, FALSE);
        Unsubclass();
    }
}

BOOL CLinkStatic::SubclassDlgItem(UINT nId, HWND hParent) {
    HWND hWnd = ::GetDlgItem(hParent, static_cast<int>(nId));
    if (!hWnd || m_hWnd)
        return FALSE;
    if (!::SetPropA(hWnd, kPropThis, this))
        return FALSE;
    m_pfnPrevProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CLinkStatic::WindowProc)));
    if (!m_pfnPrevProc) {
        ::RemovePropA(hWnd, kPropThis);
        return FALSE;
    }
    m_hWnd = hWnd;
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
    if (!m_hWnd)
        return;
    LONG_PTR nStyle = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    nStyle = bNotify ? (nStyle | SS_NOTIFY) : (nStyle & ~static_cast<LONG_PTR>(SS_NOTIFY));
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, nStyle);
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
    CFontHandle font(::CreateFontIndirectA(&m_logFont));
    if (!font.IsValid())
        return;
    std::swap(m_font, font);
    ApplyFont();
}

void CLinkStatic::ApplyFont() {
    // Some static controls select their own font after the colour request; giving them ours as their font makes
    // the colour request's selection hold either way.
    if (m_hWnd)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
}

void CLinkStatic::RedrawNow() {
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CALLBACK CLinkStatic::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CLinkStatic *pThis = static_cast<CLinkStatic *>(::GetPropA(hWnd, kPropThis));
    if (!pThis)
        return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_SETCURSOR:
        return pThis->OnSetCursor(wParam, lParam);
    case WM_MOUSEMOVE:
        return pThis->OnMouseMove(wParam, lParam);
    case WM_NCDESTROY:
        return pThis->OnNcDestroy(wParam, lParam);
    default:
        return pThis->Default(uMsg, wParam, lParam);
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
    ::PostMessageA(::GetParent(m_hWnd), WM_LINK_HOVER, 0, reinterpret_cast<LPARAM>(m_hWnd));
    return Default(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CLinkStatic::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    WNDPROC pfnPrev = Unsubclass();
    return pfnPrev ? ::CallWindowProcA(pfnPrev, hWnd, WM_NCDESTROY, wParam, lParam)
                   : ::DefWindowProcA(hWnd, WM_NCDESTROY, wParam, lParam);
}

WNDPROC CLinkStatic::Unsubclass() {
    WNDPROC pfnPrev = m_pfnPrevProc;
    if (pfnPrev)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnPrev));
    ::RemovePropA(m_hWnd, kPropThis);
    m_hWnd = NULL;
    m_pfnPrevProc = NULL;
    return pfnPrev;
}

LRESULT CLinkStatic::Default(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (!m_pfnPrevProc)
        return ::DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    return ::CallWindowProcA(m_pfnPrevProc, m_hWnd, uMsg, wParam, lParam);
}
