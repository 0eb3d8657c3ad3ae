#include "skin/controls/SkinStatic.h"

#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "platform/SelectObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

CSkinObject *CSkinStatic::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_STATIC);
}

bool CSkinStatic::IsTransparent() const {
    const CSkinStaticObject *pObject = dynamic_cast<const CSkinStaticObject *>(m_pSkinObject);
    return pObject && pObject->m_dwTransparent;
}

BOOL CSkinStatic::Attach(HWND hWnd) {
    CSkinObject *pObject = GetKindSkinObject();
    if (!pObject || !hWnd)
        return FALSE;
    // Owner-drawn statics are drawn by their parent.
    if ((static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE)) & SS_TYPEMASK) == SS_OWNERDRAW)
        return FALSE;
    m_hWnd = hWnd;
    const BOOL bSubclassed = SubclassWindow(hWnd);
    if (!bSubclassed)
        return FALSE;
    // SetSkinObject redraws: the transparency is in place before.
    m_pSkinObject = pObject;
    if (IsTransparent())
        AddExStyle(WS_EX_TRANSPARENT);
    SetSkinObject(pObject);
    RefreshParentArea();
    return bSubclassed;
}

LRESULT CSkinStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_PAINT: return OnPaintDirect();
        case WM_SETTEXT: return PassOnAndRefresh(message, wParam, lParam);
        case WM_SIZE: return PassOnAndRefresh(message, wParam, lParam);
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

UINT CSkinStatic::TextFormat(DWORD dwStyle) {
    UINT nFormat = 0;
    const DWORD type = dwStyle & SS_TYPEMASK;
    if (type == SS_CENTER)
        nFormat |= DT_CENTER;
    else if (type == SS_RIGHT)
        nFormat |= DT_RIGHT;
    if (dwStyle & SS_CENTERIMAGE)
        nFormat |= DT_VCENTER | DT_SINGLELINE;
    if (dwStyle & SS_NOPREFIX)
        nFormat |= DT_NOPREFIX;
    if ((dwStyle & 0xC) == 0xC)
        nFormat |= DT_SINGLELINE;
    if ((dwStyle & 0xB) == 0xB)
        nFormat |= DT_SINGLELINE;
    return nFormat;
}

void CSkinStatic::Draw(HDC hDC) {
    const CSkinStaticObject *pObject = dynamic_cast<const CSkinStaticObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    const DWORD dwStyle = GetStyle();
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if ((dwStyle & 3) == 3) {
        HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_GETICON, 0, 0));
        if (!hIcon)
            return;
        if (dwStyle & SS_CENTERIMAGE)
            ::DrawIconEx(hDC, 0, 0, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
        else
            ::DrawIcon(hDC, 0, 0, hIcon);
        return;
    }
    if ((dwStyle & 0xE) == 0xE) {
        HBITMAP hBitmap = reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (!hBitmap)
            return;
        CDC source(::CreateCompatibleDC(hDC));
        if (!source.IsValid())
            return;
        CSelectObject select(source, hBitmap);
        ::BitBlt(hDC, 0, 0, rc.right, rc.bottom, source, 0, 0, SRCCOPY);
        return;
    }
    char text[MAX_TEXT + 1] = "";
    ::GetWindowTextA(m_hWnd, text, sizeof(text));
    if (!pObject->m_dwTransparent)
        DrawNineGrid(hDC, rc, pObject->m_header.frame, pObject->m_crBackground, TRUE);
    CSkinTextScope scope(hDC, pObject->m_header.font);
    ::DrawTextA(hDC, text, -1, &rc, TextFormat(dwStyle));
}
