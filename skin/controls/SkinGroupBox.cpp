#include "skin/controls/SkinGroupBox.h"

#include "platform/PaintDC.h"
#include "skin/SkinGroupBoxObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

CSkinObject *CSkinGroupBox::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_GROUPBOX);
}

BOOL CSkinGroupBox::Attach(HWND hWnd) {
    CSkinObject *pObject = GetKindSkinObject();
    if (!pObject || !hWnd)
        return FALSE;
    m_hWnd = hWnd;
    AddExStyle(WS_EX_TRANSPARENT);
    const BOOL bSubclassed = SubclassWindow(hWnd);
    if (!bSubclassed)
        return FALSE;
    SetSkinObject(pObject);
    RefreshParentArea();
    return bSubclassed;
}

LRESULT CSkinGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_PAINT: return OnPaintDirect();
        case WM_SETTEXT: return PassOnAndRefresh(message, wParam, lParam);
        case WM_ENABLE: return PassOnAndRefresh(message, wParam, lParam);
        case WM_UPDATEUISTATE: return PassOnAndRefresh(message, wParam, lParam);
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

RECT CSkinGroupBox::CaptionRect(const RECT &rcClient, DWORD dwStyle, SIZE caption) {
    RECT rc = {0, rcClient.top, 0, rcClient.top + caption.cy};
    if ((dwStyle & BS_CENTER) == BS_CENTER) {
        rc.left = rcClient.left + (rcClient.right - rcClient.left - caption.cx) / 2;
        rc.right = rc.left + caption.cx;
    } else if (dwStyle & BS_RIGHT) {
        rc.right = rcClient.right - 4;
        rc.left = rc.right - caption.cx;
        if (rc.left < rcClient.left + 2)
            rc.left = rcClient.left + 2;
    } else {
        rc.left = 4;
        rc.right = 4 + caption.cx;
        if (rc.right > rcClient.right - 2)
            rc.right = rcClient.right - 2;
    }
    return rc;
}

void CSkinGroupBox::Draw(HDC hDC) {
    const CSkinGroupBoxObject *pObject = dynamic_cast<const CSkinGroupBoxObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    char text[MAX_TEXT + 1] = "";
    const int nLength = ::GetWindowTextA(m_hWnd, text, sizeof(text));

    CSkinTextScope scope(hDC, pObject->m_header.font, pObject->m_textColor.GetTextColor());
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(hDC, text, nLength, &extent);
    const RECT &m = pObject->m_caption.rcMargins;
    const SIZE caption = {extent.cx + m.left + m.right, extent.cy + m.top + m.bottom};
    RECT rcCaption = CaptionRect(rcClient, GetStyle(), caption);

    RECT rcFrame = rcClient;
    rcFrame.top = rcCaption.top + caption.cy / 2;
    DrawNineGridFrame(hDC, rcFrame, pObject->m_header.frame, 0, FALSE);
    DrawNineGrid(hDC, rcCaption, pObject->m_caption, pObject->m_crCaptionFill, TRUE);
    RECT rcText = {rcCaption.left + m.left, rcCaption.top + m.top, rcCaption.right - m.right,
                   rcCaption.bottom - m.bottom};
    ::DrawTextA(hDC, text, nLength, &rcText, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
