#include "skin/SkinNonClient.h"

#include <algorithm>
#include <vector>

#include "platform/RectSize.h"
#include "platform/SaveDC.h"
#include "platform/SelectObject.h"
#include "platform/WindowDC.h"
#include "skin/Skin.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinOffscreen.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "skin/controls/NineGrid.h"

namespace {

} // namespace

RECT CSkinNonClient::ClientRect(const SkinFramedRecord *pFramed, const RECT &rcWindow, LONG nTopExtra) {
    if (!pFramed)
        return rcWindow;
    typedef CSkinFrameLayout L;
    const RECT *t = pFramed->placement;
    RECT rc = {rcWindow.left + Width(t[L::LEFT]), rcWindow.top + Height(t[L::TOP_LEFT]) + nTopExtra,
               rcWindow.right - Width(t[L::RIGHT]), rcWindow.bottom - Height(t[L::BOTTOM_LEFT])};
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);
    return rc;
}

bool CSkinNonClient::UpdateRegion(CSkinWnd &wnd, RECT &rcSaved) {
    const HWND hWnd = wnd.GetHwnd();
    RECT wr;
    if (!hWnd || !::GetWindowRect(hWnd, &wr))
        return false;
    if (Width(wr) == Width(rcSaved) && Height(wr) == Height(rcSaved))
        return false;
    rcSaved = wr;
    CRgn region = wnd.CreateRegion();
    // The window owns a region once it has it, and deletes the one it had before.
    HRGN hRegion = region.IsValid() ? region.Detach() : nullptr;
    if (!::SetWindowRgn(hWnd, hRegion, TRUE) && hRegion)
        region.Attach(hRegion);
    return true;
}

void CSkinNonClient::PaintBands(HWND hWnd, CSkinOffscreen &offscreen, const RECT (&parts)[PART_COUNT], LONG nTopBottom,
                                const std::function<void(HDC)> &draw) {
    RECT wr;
    if (!::GetWindowRect(hWnd, &wr))
        return;
    const RECT all = {0, 0, Width(wr), Height(wr)};
    CWindowDC dc(hWnd);
    if (!dc.GetSafeHdc())
        return;
    HDC mem = offscreen.Get(dc, all.right, all.bottom);
    if (!mem) {
        draw(dc); // no memory for the bitmap: straight onto the window
        return;
    }
    {
        CSaveDC saved(mem); // whatever the drawing selects or sets stays in this paint
        draw(mem);
    }
    typedef CSkinFrameLayout L;
    const RECT bands[4] = {
        {parts[L::TOP_LEFT].left, parts[L::TOP_LEFT].top, all.right, std::max(nTopBottom, parts[L::TOP_LEFT].bottom)},
        parts[L::LEFT],
        parts[L::RIGHT],
        {parts[L::BOTTOM_LEFT].left, parts[L::BOTTOM_LEFT].top, all.right, all.bottom},
    };
    for (const RECT &band : bands) {
        if (band.right > band.left && band.bottom > band.top)
            ::BitBlt(dc, band.left, band.top, Width(band), Height(band), mem, band.left, band.top, SRCCOPY);
    }
}

void CSkinNonClient::DrawCaptionText(HDC hDC, HWND hWnd, const RECT &rc, HFONT hFont, COLORREF crText, int nMaxChars) {
    // Read from the window itself rather than asked for with WM_GETTEXT: a message to a skinned window passes the
    // engine's hook and subclass layer, which under Wine cost more than the whole paint.
    std::vector<WCHAR> text(static_cast<size_t>(nMaxChars) + 1, L'\0');
    const int length = ::InternalGetWindowText(hWnd, text.data(), nMaxChars + 1);
    if (length <= 0)
        return;
    CSelectObject font(hDC, hFont);
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(hDC, crText);
    RECT box = rc;
    ::DrawTextW(hDC, text.data(), length, &box, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
}

CFont CSkinNonClient::CreateCaptionFont(const SkinFramedRecord *pFramed) {
    return pFramed ? CFont(::CreateFontIndirectA(&pFramed->captionFont.lf)) : CFont();
}

bool CSkinNonClient::CanDrawPiece(const SkinPiece &piece) {
    if (CNineGrid::IsEmpty(piece))
        return false;
    const CSkinImage *pImage = CSkinRegistry::Instance().GetSkin().FindImage(piece.szImage);
    return pImage && pImage->IsValid();
}
