#include "skin/controls/SkinSpin.h"

#include <commctrl.h>

#include "skin/SkinSpinObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTurnedCanvas.h"

CSkinObject *CSkinSpin::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_SPIN);
}

int CSkinSpin::HitTest(const RECT &rc, DWORD dwStyle, POINT pt) {
    if (pt.x < rc.left || pt.x >= rc.right || pt.y < rc.top || pt.y >= rc.bottom)
        return HIT_NONE;
    if (dwStyle & UDS_HORZ)
        return pt.x < rc.left + (rc.right - rc.left) / 2 ? HIT_UP : HIT_DOWN;
    return pt.y < rc.top + (rc.bottom - rc.top) / 2 ? HIT_UP : HIT_DOWN;
}

int CSkinSpin::HitAt(LPARAM lParam) const {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return HitTest(rc, GetStyle(), pt);
}

LRESULT CSkinSpin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam);
        case WM_LBUTTONDOWN: return OnButton(message, wParam, lParam);
        case WM_LBUTTONUP: return OnButton(message, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave();
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

void CSkinSpin::SetState(int nState) {
    m_nState = nState;
    InvalidateNow(FALSE);
}

LRESULT CSkinSpin::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool bDown = (wParam & MK_LBUTTON) != 0;
    switch (HitAt(lParam)) {
    case HIT_UP: SetState(bDown ? STATE_UP_PRESSED : STATE_UP_HOT); break;
    case HIT_DOWN: SetState(bDown ? STATE_DOWN_PRESSED : STATE_DOWN_HOT); break;
    default: SetState(STATE_NONE); break;
    }
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinSpin::OnButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const int nHit = HitAt(lParam);
    const bool bPress = message == WM_LBUTTONDOWN;
    SetState(nHit == HIT_UP ? (bPress ? STATE_UP_PRESSED : STATE_UP_HOT)
             : nHit == HIT_DOWN ? (bPress ? STATE_DOWN_PRESSED : STATE_DOWN_HOT)
                                : STATE_NONE);
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinSpin::OnMouseLeave() {
    m_bTracking = false;
    SetState(STATE_NONE);
    return 0;
}

void CSkinSpin::DrawArrows(HDC hDC, const RECT &rcUp, const RECT &rcDown) {
    const CSkinSpinObject *pObject = static_cast<const CSkinSpinObject *>(m_pSkinObject);
    typedef CSkinSpinObject O;
    // (state) -> blocks of the up and the down piece.
    static const int kBlocks[][2] = {
        {O::BLOCK_NORMAL, O::BLOCK_NORMAL},  // none
        {O::BLOCK_PRESSED, O::BLOCK_NORMAL}, // up pressed
        {O::BLOCK_NORMAL, O::BLOCK_PRESSED}, // down pressed
        {O::BLOCK_HOT, O::BLOCK_NORMAL},     // up hot
        {O::BLOCK_NORMAL, O::BLOCK_HOT},     // down hot
    };
    int nUp = O::BLOCK_DISABLED, nDown = O::BLOCK_DISABLED;
    if (::IsWindowEnabled(m_hWnd) && m_nState >= STATE_NONE && m_nState <= STATE_DOWN_HOT) {
        nUp = kBlocks[m_nState][0];
        nDown = kBlocks[m_nState][1];
    }
    DrawPiece(hDC, rcUp, pObject->m_blocks[nUp].up, 0, FALSE);
    DrawPiece(hDC, rcDown, pObject->m_blocks[nDown].down, 0, FALSE);
}

void CSkinSpin::Draw(HDC hDC) {
    const CSkinSpinObject *pObject = dynamic_cast<const CSkinSpinObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    // The pieces are drawn without a fallback: what they leave shows the object's background, not an uninitialised
    // memory bitmap.
    FillSolid(hDC, rc, pObject->m_crBackground);
    if (!(GetStyle() & UDS_HORZ)) {
        const LONG mid = rc.top + (rc.bottom - rc.top) / 2;
        DrawArrows(hDC, RECT{rc.left, rc.top, rc.right, mid}, RECT{rc.left, mid, rc.right, rc.bottom});
        return;
    }
    CSkinTurnedCanvas canvas(hDC, rc);
    if (!canvas.IsValid())
        return;
    const RECT canvasRect = canvas.GetRect();
    FillSolid(canvas.GetDC(), canvasRect, pObject->m_crBackground);
    // Left half up, right half down on the window: found on the canvas through the turn.
    const LONG mid = rc.left + (rc.right - rc.left) / 2;
    DrawArrows(canvas.GetDC(), canvas.ToCanvas(RECT{rc.left, rc.top, mid, rc.bottom}),
               canvas.ToCanvas(RECT{mid, rc.top, rc.right, rc.bottom}));
    canvas.CopyTo(hDC);
}
