#include "skin/controls/SkinSlider.h"

#include <commctrl.h>

#include "platform/MemoryDC.h"
#include "skin/SkinSliderObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTurnedCanvas.h"

CSkinObject *CSkinSlider::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_SLIDER);
}

BOOL CSkinSlider::Attach(HWND hWnd) {
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    m_dwSavedStyle = GetStyle();
    m_bStyleSaved = true;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(m_dwSavedStyle | TBS_BOTH));
    return SubclassWindow(hWnd);
}

void CSkinSlider::Detach() {
    HWND hWnd = m_hWnd;
    const bool bRestore = m_bStyleSaved && !m_bFinal && hWnd && ::IsWindow(hWnd);
    m_bStyleSaved = false;
    if (bRestore) {
        // Only the bit added at attach goes; whatever else changed since stays.
        const DWORD dwNow = GetStyle();
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>((dwNow & ~TBS_BOTH) | (m_dwSavedStyle & TBS_BOTH)));
    }
    CSkinControl::Detach();
}

LRESULT CSkinSlider::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_LBUTTONDOWN: return PassOnAndPaint(message, wParam, lParam);
        case WM_LBUTTONUP: return PassOnAndPaint(message, wParam, lParam);
        case WM_LBUTTONDBLCLK: return PassOnAndPaint(message, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam);
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinSlider::PassOnAndPaint(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd))
        InvalidateNow(FALSE);
    return result;
}

LRESULT CSkinSlider::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam & MK_LBUTTON)
        return PassOnAndPaint(message, wParam, lParam);
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

void CSkinSlider::Draw(HDC hDC) {
    const CSkinSliderObject *pObject = dynamic_cast<const CSkinSliderObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rcClient, rcThumb = {0, 0, 0, 0}, rcChannel = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SendMessageA(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rcThumb));
    ::SendMessageA(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&rcChannel));
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    if (!(GetStyle() & TBS_VERT)) {
        DrawNineGrid(hDC, rcClient, pObject->m_header.frame, crFace, TRUE);
        DrawNineGrid(hDC, rcChannel, pObject->m_channel, crFace, TRUE);
        DrawNineGrid(hDC, rcThumb, pObject->m_thumb, crFace, TRUE);
        return;
    }
    CSkinTurnedCanvas canvas(hDC, rcClient);
    if (!canvas.IsValid())
        return;
    // Some track bars answer a vertical bar's channel as if it were horizontal (along the length, then across),
    // others as it lies: a channel wider than high is turned upright first.
    RECT rcUpright = rcChannel;
    if (rcChannel.right - rcChannel.left > rcChannel.bottom - rcChannel.top)
        rcUpright = RECT{rcChannel.top, rcChannel.left, rcChannel.bottom, rcChannel.right};
    DrawNineGrid(canvas.GetDC(), canvas.GetRect(), pObject->m_header.frame, crFace, TRUE);
    DrawNineGrid(canvas.GetDC(), canvas.ToCanvas(rcUpright), pObject->m_channel, crFace, TRUE);
    CMemoryDC turned(hDC, rcClient);
    HDC hTurned = turned.IsValid() ? turned.GetSafeHdc() : hDC;
    canvas.CopyTo(hTurned);
    DrawNineGrid(hTurned, rcThumb, pObject->m_thumb, crFace, TRUE);
}
