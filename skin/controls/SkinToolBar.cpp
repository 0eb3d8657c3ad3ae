#include "skin/controls/SkinToolBar.h"

#include <commctrl.h>

#include <cstring>

#include "platform/ClientDC.h"
#include "platform/WindowDC.h"
#include "skin/SkinToolBarObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTurnedCanvas.h"

namespace {

// The docking bars whose side decides how a tool bar's background lies.
bool IsSidewaysDockBar(HWND hBar) {
    char name[CSkinWnd::CLASS_NAME_SIZE] = "";
    if (!hBar || !::GetClassNameA(hBar, name, sizeof(name)))
        return false;
    if (std::strcmp(name, "AfxControlBar42sd") != 0 && std::strcmp(name, "AfxControlBar42s") != 0)
        return false;
    return (static_cast<DWORD>(::GetWindowLongPtrA(hBar, GWL_STYLE)) &
            (CSkinControl::BAR_ALIGN_LEFT | CSkinControl::BAR_ALIGN_RIGHT)) != 0;
}

} // namespace

CSkinObject *CSkinToolBar::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_TOOLBAR);
}

bool CSkinToolBar::IsDockedSideways() const {
    return m_hWnd && IsSidewaysDockBar(::GetParent(m_hWnd));
}

LRESULT CSkinToolBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_NCPAINT: return OnNcPaint();
        case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam);
        case WM_LBUTTONDOWN: return OnLButtonDown(message, wParam, lParam);
        case WM_LBUTTONUP: return OnLButtonUp(message, wParam, lParam);
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinToolBar::OnNcPaint() {
    RECT rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&rcClient), 2);
    const RECT rc = {0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    const RECT rcInner = {rcClient.left - rcWindow.left, rcClient.top - rcWindow.top, rcClient.right - rcWindow.left,
                          rcClient.bottom - rcWindow.top};
    if (rcInner.left == 0 && rcInner.top == 0 && rcInner.right == rc.right && rcInner.bottom == rc.bottom)
        return 0;
    CWindowDC dc(m_hWnd);
    if (!dc.GetSafeHdc())
        return 0;
    ::ExcludeClipRect(dc, rcInner.left, rcInner.top, rcInner.right, rcInner.bottom);
    DrawBackground(dc, rc);
    return 0;
}

LRESULT CSkinToolBar::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd))
        InvalidateNow(FALSE);
    return 0;
}

LRESULT CSkinToolBar::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    CSkinControl::HandleMessage(message, wParam, lParam);
    if (!Survives(hWnd))
        return 0;
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int nIndex = static_cast<int>(::SendMessageA(hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    if (nIndex >= 0) {
        CClientDC dc(hWnd);
        if (dc.GetSafeHdc())
            DrawButton(dc, nIndex, false);
    }
    return 0;
}

LRESULT CSkinToolBar::OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam) {
    CSkinControl::HandleMessage(message, wParam, lParam);
    return 0;
}

void CSkinToolBar::DrawBackground(HDC hDC, const RECT &rc) {
    const CSkinToolBarObject *pObject = dynamic_cast<const CSkinToolBarObject *>(m_pSkinObject);
    if (!pObject)
        return;
    if (IsDockedSideways()) {
        CSkinTurnedCanvas canvas(hDC, rc);
        if (canvas.IsValid()) {
            DrawNineGrid(canvas.GetDC(), canvas.GetRect(), pObject->m_header.frame, pObject->m_crBackground, TRUE);
            canvas.CopyTo(hDC);
            return;
        }
    }
    DrawNineGrid(hDC, rc, pObject->m_header.frame, pObject->m_crBackground, TRUE);
}

void CSkinToolBar::DrawButton(HDC hDC, int nIndex, bool bHot) {
    const CSkinToolBarObject *pObject = dynamic_cast<const CSkinToolBarObject *>(m_pSkinObject);
    HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETIMAGELIST, 0, 0));
    if (!pObject || !hImages)
        return;
    TBBUTTON button;
    std::memset(&button, 0, sizeof(button));
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)) ||
        (button.fsStyle & TBSTYLE_SEP))
        return;
    RECT rc;
    if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc)))
        return;
    typedef CSkinToolBarObject O;
    int nImage = O::BUTTON_NORMAL;
    const bool bDisabled = (button.fsState & TBSTATE_INDETERMINATE) || !(button.fsState & TBSTATE_ENABLED);
    if (button.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED))
        nImage = O::BUTTON_PRESSED;
    else if (bDisabled)
        nImage = O::BUTTON_DISABLED;
    else if (bHot)
        nImage = O::BUTTON_HOT;
    DrawNineGrid(hDC, rc, pObject->m_buttons[nImage], 0, FALSE);

    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(hImages, &cx, &cy))
        return;
    const int x = rc.left + (rc.right - rc.left - cx) / 2, y = rc.top + (rc.bottom - rc.top - cy) / 2;
    if (bDisabled) {
        // A disabled button's icon is washed out with the face colour: the skin's disabled image alone may look like
        // the normal one.
        ImageList_DrawEx(hImages, button.iBitmap, hDC, x, y, 0, 0, CLR_NONE, ::GetSysColor(COLOR_BTNFACE),
                         ILD_TRANSPARENT | ILD_BLEND50);
        return;
    }
    ImageList_Draw(hImages, button.iBitmap, hDC, x, y, ILD_TRANSPARENT);
}

void CSkinToolBar::Draw(HDC hDC) {
    if (!m_pSkinObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    DrawBackground(hDC, rc);
    const int nCount = static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i)
        DrawButton(hDC, i, false);
    const int nHot = static_cast<int>(::SendMessageA(m_hWnd, TB_GETHOTITEM, 0, 0));
    if (nHot >= 0 && nHot < nCount)
        DrawButton(hDC, nHot, true);
}
