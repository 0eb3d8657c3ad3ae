#include "skin/controls/SkinProgressBar.h"

#include <commctrl.h>

#include "platform/ClipRegion.h"
#include "platform/MemoryDC.h"
#include "platform/WindowDC.h"
#include "skin/SkinProgressObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTurnedCanvas.h"

namespace {
// PBM_GETSTEP, which older headers do not declare.
const UINT PROGRESS_GETSTEP = WM_USER + 13;
} // namespace

CSkinObject *CSkinProgressBar::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_PROGRESS);
}

BOOL CSkinProgressBar::Attach(HWND hWnd) {
    CSkinObject *pObject = GetKindSkinObject();
    if (!pObject || !hWnd)
        return FALSE;
    m_hWnd = hWnd;
    const BOOL bSubclassed = SubclassWindow(hWnd);
    if (!bSubclassed)
        return FALSE;
    SetSkinObject(pObject);
    ::PostMessageA(hWnd, WM_SKIN_TAKE_OVER, 0, 0);
    return bSubclassed;
}

void CSkinProgressBar::Detach() {
    HWND hWnd = m_hWnd;
    const bool bHandBack = m_bEmulating && !m_bFinal && HasPrevious();
    m_bEmulating = false;
    CSkinControl::Detach();
    if (!bHandBack || !::IsWindow(hWnd))
        return;
    ::SendMessageA(hWnd, PBM_SETRANGE32, static_cast<WPARAM>(m_nLower), static_cast<LPARAM>(m_nUpper));
    ::SendMessageA(hWnd, PBM_SETPOS, static_cast<WPARAM>(m_nPos), 0);
    ::SendMessageA(hWnd, PBM_SETSTEP, static_cast<WPARAM>(m_nStep), 0);
}

LRESULT CSkinProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SKIN_TAKE_OVER)
        return OnTakeOver(message, wParam, lParam);
    if (m_bEmulating) {
        switch (message) {
        case PBM_SETRANGE: return OnSetRange(LOWORD(lParam), HIWORD(lParam));
        case PBM_SETRANGE32: return OnSetRange(static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_SETPOS: return OnSetPos(static_cast<int>(wParam));
        case PBM_DELTAPOS: return OnAdvance(static_cast<int>(wParam));
        case PBM_SETSTEP: return OnSetStep(static_cast<int>(wParam));
        case PBM_STEPIT: return OnAdvance(m_nStep);
        case PBM_GETRANGE: return OnGetRange(wParam, lParam);
        case PBM_GETPOS: return m_nPos;
        case PROGRESS_GETSTEP: return m_nStep;
        case PBM_SETBARCOLOR: return CLR_DEFAULT;
        case PBM_SETBKCOLOR: return CLR_DEFAULT;
        case WM_NCPAINT: return OnNcPaint();
        }
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinProgressBar::OnTakeOver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_bEmulating && m_pSkinObject) {
        HWND hWnd = m_hWnd;
        m_nLower = static_cast<int>(::SendMessageA(hWnd, PBM_GETRANGE, TRUE, 0));
        m_nUpper = static_cast<int>(::SendMessageA(hWnd, PBM_GETRANGE, FALSE, 0));
        m_nPos = static_cast<int>(::SendMessageA(hWnd, PBM_GETPOS, 0, 0));
        // The control's step cannot be asked for everywhere: one step from the lower limit shows it.
        ::SendMessageA(hWnd, PBM_SETPOS, static_cast<WPARAM>(m_nLower), 0);
        ::SendMessageA(hWnd, PBM_STEPIT, 0, 0);
        const int nStep = static_cast<int>(::SendMessageA(hWnd, PBM_GETPOS, 0, 0)) - m_nLower;
        m_nStep = nStep > 0 ? nStep : 1;
        m_bEmulating = true;
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

int CSkinProgressBar::Clamp(int nPos) const {
    // A range given upside down still keeps the position between its two limits.
    const int nLow = m_nLower < m_nUpper ? m_nLower : m_nUpper;
    const int nHigh = m_nLower < m_nUpper ? m_nUpper : m_nLower;
    return nPos < nLow ? nLow : nPos > nHigh ? nHigh : nPos;
}

LRESULT CSkinProgressBar::Changed(LRESULT result) {
    InvalidateNow(TRUE);
    return result;
}

LRESULT CSkinProgressBar::OnSetRange(int nLower, int nUpper) {
    const LRESULT previous = MAKELONG(static_cast<WORD>(m_nLower), static_cast<WORD>(m_nUpper));
    m_nLower = nLower;
    m_nUpper = nUpper;
    m_nPos = Clamp(m_nPos);
    return Changed(previous);
}

LRESULT CSkinProgressBar::OnSetPos(int nPos) {
    const int nPrevious = m_nPos;
    m_nPos = Clamp(nPos);
    return Changed(nPrevious);
}

LRESULT CSkinProgressBar::OnAdvance(int nDelta) {
    const int nPrevious = m_nPos;
    // Stepping does not wrap; the sum is formed wide so that a large step cannot overflow past the limit.
    const long long sum = static_cast<long long>(m_nPos) + nDelta;
    m_nPos = Clamp(sum > 0x7FFFFFFF ? 0x7FFFFFFF : sum < -0x7FFFFFFF - 1 ? -0x7FFFFFFF - 1 : static_cast<int>(sum));
    return Changed(nPrevious);
}

LRESULT CSkinProgressBar::OnSetStep(int nStep) {
    const int nPrevious = m_nStep;
    m_nStep = nStep;
    return nPrevious;
}

LRESULT CSkinProgressBar::OnGetRange(WPARAM wParam, LPARAM lParam) {
    if (PBRANGE *pRange = reinterpret_cast<PBRANGE *>(lParam)) {
        pRange->iLow = m_nLower;
        pRange->iHigh = m_nUpper;
    }
    return wParam ? m_nLower : m_nUpper;
}

LRESULT CSkinProgressBar::OnNcPaint() {
    const CSkinProgressObject *pObject = dynamic_cast<const CSkinProgressObject *>(m_pSkinObject);
    RECT rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    const LONG cx = rcWindow.right - rcWindow.left, cy = rcWindow.bottom - rcWindow.top;
    if (!pObject || (cx == rcClient.right && cy == rcClient.bottom))
        return 0;
    CWindowDC dc(m_hWnd);
    if (!dc.GetSafeHdc())
        return 0;
    // The client area lies centred in the window.
    const LONG dx = (cx - rcClient.right) / 2, dy = (cy - rcClient.bottom) / 2;
    ::ExcludeClipRect(dc, dx, dy, dx + rcClient.right, dy + rcClient.bottom);
    const RECT rc = {0, 0, cx, cy};
    DrawNineGrid(dc, rc, pObject->m_header.frame, pObject->m_crBackground, TRUE);
    return 0;
}

LONG CSkinProgressBar::FilledLength(int nPos, int nLower, int nUpper, LONG nWidth) {
    if (nUpper == nLower || nWidth <= 0)
        return 0;
    const double filled =
        (static_cast<double>(nPos) - nLower) * static_cast<double>(nWidth) / (static_cast<double>(nUpper) - nLower);
    if (!(filled > 0))
        return 0;
    return filled >= nWidth ? nWidth : static_cast<LONG>(filled);
}

void CSkinProgressBar::DrawHorizontal(HDC hDC, const RECT &rc) {
    const CSkinProgressObject *pObject = dynamic_cast<const CSkinProgressObject *>(m_pSkinObject);
    DrawNineGrid(hDC, rc, pObject->m_header.frame, pObject->m_crBackground, TRUE);
    const RECT &m = pObject->m_header.frame.rcMargins;
    const RECT inner = {rc.left + m.left, rc.top + m.top, rc.right - m.right, rc.bottom - m.bottom};
    const LONG nFilled = FilledLength(m_nPos, m_nLower, m_nUpper, inner.right - inner.left);
    if (nFilled <= 0 || inner.bottom <= inner.top)
        return;
    if (pObject->m_dwReveal) {
        // The artwork is laid out over the whole inner width and uncovered up to the filled length.
        CMemoryDC full(hDC, inner);
        if (full.IsValid()) {
            DrawNineGrid(full, inner, pObject->m_bar, pObject->m_crText, TRUE);
            ::BitBlt(hDC, inner.left, inner.top, nFilled, inner.bottom - inner.top, full, inner.left, inner.top,
                     SRCCOPY);
            full.Cancel();
        }
        return;
    }
    const RECT bar = {inner.left, inner.top, inner.left + nFilled, inner.bottom};
    DrawNineGrid(hDC, bar, pObject->m_bar, pObject->m_crText, TRUE);
}

void CSkinProgressBar::Draw(HDC hDC) {
    if (!dynamic_cast<const CSkinProgressObject *>(m_pSkinObject) || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!(GetStyle() & PBS_VERTICAL)) {
        DrawHorizontal(hDC, rc);
        return;
    }
    CSkinTurnedCanvas canvas(hDC, rc);
    if (!canvas.IsValid())
        return;
    DrawHorizontal(canvas.GetDC(), canvas.GetRect());
    canvas.CopyTo(hDC);
}
