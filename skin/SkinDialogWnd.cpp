#include "skin/SkinDialogWnd.h"

#include <windowsx.h>

#include "platform/RectSize.h"
#include "skin/SkinCaptionButton.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinNonClient.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"

namespace {

typedef CSkinFrameLayout L;

} // namespace

CSkinDialogWnd::CSkinDialogWnd() = default;

CSkinDialogWnd::~CSkinDialogWnd() = default;

bool CSkinDialogWnd::HasCaption() const {
    const DWORD style = m_hWnd ? static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)) : 0;
    return (style & WS_DLGFRAME) || (style & DS_MODALFRAME);
}

CSkinObject *CSkinDialogWnd::SetSkinObject(CSkinObject *pObject) {
    CSkinObject *pPrevious = CSkinWnd::SetSkinObject(pObject);
    m_captionFont = CSkinNonClient::CreateCaptionFont(GetFramed());
    if (m_hWnd) {
        FitToBorders();
        m_rcSaved = RECT{0, 0, 0, 0};
        RecalcFrame();
    }
    return pPrevious;
}

BOOL CSkinDialogWnd::Attach(HWND hWnd) {
    if (!CSkinWnd::Attach(hWnd))
        return FALSE;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
    m_bActive = ::GetActiveWindow() == hWnd;
    FitToBorders();
    RecalcFrame();
    return TRUE;
}

void CSkinDialogWnd::FitToBorders() {
    const SkinFramedRecord *pFramed = GetFramed();
    if (!pFramed || !HasCaption())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const RECT *t = pFramed->placement;
    const LONG width = Width(client) + Width(t[L::LEFT]) + Width(t[L::RIGHT]);
    const LONG height = Height(client) + Height(t[L::TOP_LEFT]) + Height(t[L::BOTTOM_LEFT]);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinDialogWnd::RecalcFrame() {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CSkinDialogWnd::CalcClientRect(const RECT &rcWindow) const {
    return CSkinNonClient::ClientRect(GetFramed(), rcWindow, 0);
}

void CSkinDialogWnd::LayoutParts() {
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    if (const SkinFramedRecord *pFramed = GetFramed())
        L::LayoutParts(*pFramed, Width(wr), Height(wr), m_rcPlacement);
}

int CSkinDialogWnd::HitTest(POINT pt) {
    LayoutParts();
    for (int part : {L::TOP_LEFT, L::TOP, L::TOP_RIGHT})
        if (::PtInRect(&m_rcPlacement[part], pt))
            return HTCAPTION;
    return ::PtInRect(&m_rcPlacement[L::CENTRE], pt) ? HTCLIENT : HTNOWHERE;
}

void CSkinDialogWnd::NcPaint() {
    if (!m_hWnd || !GetFramed() || !::IsWindowVisible(m_hWnd) || ::IsIconic(m_hWnd))
        return;
    LayoutParts();
    if (CSkinNonClient::UpdateRegion(*this, m_rcSaved) || m_bPainting)
        return;
    m_bPainting = true;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    const SkinFramedRecord &framed = *GetFramed();
    CSkinNonClient::PaintBands(m_hWnd, m_offscreen, m_rcPlacement, m_rcPlacement[L::TOP_LEFT].bottom, [&](HDC hDC) {
        DrawBorder(hDC, m_bActive);
        for (const auto &pButton : m_captionButtons) {
            pButton->SetPosition(framed, Width(wr));
            pButton->Draw(hDC);
        }
    });
    m_bPainting = false;
}

void CSkinDialogWnd::DrawCaption(HDC hDC, BOOL) {
    if (const SkinFramedRecord *pFramed = GetFramed())
        CSkinNonClient::DrawCaptionText(hDC, m_hWnd, m_rcPlacement[L::TOP], m_captionFont,
                                        pFramed->captionFont.crText, 99);
}

POINT CSkinDialogWnd::ToWindow(LPARAM lParam) const {
    RECT wr = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &wr);
    return POINT{GET_X_LPARAM(lParam) - wr.left, GET_Y_LPARAM(lParam) - wr.top};
}

LRESULT CSkinDialogWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!HasPrevious())
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    if (message == WM_ERASEBKGND)
        return OnEraseBkgnd(wParam, lParam);
    // Without a caption the dialog keeps the system's frame.
    if (!HasCaption() || !GetFramed() || ::IsIconic(m_hWnd))
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    const HWND hWnd = m_hWnd;
    LRESULT result;
    switch (message) {
    case WM_ENABLE:
    case WM_SETICON:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
        result = CallWithoutSysMenu(message, wParam, lParam);
        if (::IsWindow(hWnd))
            NcPaint();
        return result;
    case WM_SETCURSOR: return CallWithoutSysMenu(message, wParam, lParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCRBUTTONDOWN: return 0;
    case WM_NCHITTEST: return HitTest(ToWindow(lParam));
    case WM_NCPAINT: NcPaint(); return 0;
    case WM_NCACTIVATE:
        m_bActive = wParam != 0;
        result = CallWithStyle(WS_POPUP, message, wParam, lParam);
        if (::IsWindow(hWnd))
            NcPaint();
        return result;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP: return OnNcMouse(message, wParam, lParam);
    }
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinDialogWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    if (wParam) {
        NCCALCSIZE_PARAMS *pParams = reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam);
        pParams->rgrc[0] = CalcClientRect(pParams->rgrc[0]);
    } else {
        RECT *pRect = reinterpret_cast<RECT *>(lParam);
        *pRect = CalcClientRect(*pRect);
    }
    return 0;
}

LRESULT CSkinDialogWnd::OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT pt = ToWindow(lParam);
    for (const auto &pButton : m_captionButtons) {
        const BOOL taken = message == WM_NCMOUSEMOVE     ? pButton->OnMouseMove(pt)
                           : message == WM_NCLBUTTONDOWN ? pButton->OnLButtonDown(pt)
                                                         : pButton->OnLButtonUp(pt);
        if (taken)
            return 0;
    }
    if (message == WM_NCMOUSEMOVE)
        return CallWithoutSysMenu(message, wParam, lParam);
    // Moving the dialog by its caption: the platform's default procedure.
    return DefaultWithoutSysMenu(message, wParam, lParam);
}

LRESULT CSkinDialogWnd::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
    const SkinFramedRecord *pFramed = GetFramed();
    if (pFramed) {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        if (DrawPiece(reinterpret_cast<HDC>(wParam), rc, pFramed->pieces[CNineGrid::CENTRE], 0, FALSE))
            return 1;
    }
    return CSkinWnd::HandleMessage(WM_ERASEBKGND, wParam, lParam);
}
