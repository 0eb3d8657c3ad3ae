#include "skin/controls/ScrollSkin.h"

#include "skin/ScrollBarInterception.h"
#include "skin/controls/ScrollSkinWnd.h"

namespace {
typedef CScrollBarInterception I;

// What the interception calls for windows that carry the bars.
const ScrollSkinFunctions SKINNED_BARS = {ScrollSkinEnable,   ScrollSkinGetInfo, ScrollSkinGetPos,
                                          ScrollSkinGetRange, ScrollSkinSetInfo, ScrollSkinSetPos,
                                          ScrollSkinSetRange, ScrollSkinShow};
} // namespace

int ScrollSkinAttach(HWND hWnd) {
    I::SetSkinnedBars(&SKINNED_BARS);
    return CScrollSkinWnd::Attach(hWnd) ? 1 : 0;
}

HRESULT ScrollSkinDetach(HWND hWnd) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    if (!pWnd)
        return E_FAIL;
    pWnd->Detach();
    return 0;
}

BOOL ScrollSkinIsAttached(HWND hWnd) {
    return CScrollSkinWnd::FromHandle(hWnd) ? TRUE : FALSE;
}

BOOL ScrollSkinEnable(HWND hWnd, UINT bar, UINT arrows) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->Enable(bar, arrows) : I::SystemEnableScrollBar(hWnd, bar, arrows);
}

BOOL ScrollSkinGetInfo(HWND hWnd, int bar, LPSCROLLINFO info) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->GetInfo(bar, info) : I::SystemGetScrollInfo(hWnd, bar, info);
}

int ScrollSkinGetPos(HWND hWnd, int bar) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->GetPos(bar) : I::SystemGetScrollPos(hWnd, bar);
}

BOOL ScrollSkinGetRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->GetRange(bar, minPos, maxPos) : I::SystemGetScrollRange(hWnd, bar, minPos, maxPos);
}

int ScrollSkinSetInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetInfo(bar, info, redraw) : I::SystemSetScrollInfo(hWnd, bar, info, redraw);
}

int ScrollSkinSetPos(HWND hWnd, int bar, int pos, BOOL redraw) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetPos(bar, pos, redraw) : I::SystemSetScrollPos(hWnd, bar, pos, redraw);
}

BOOL ScrollSkinSetRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetRange(bar, minPos, maxPos, redraw) : I::SystemSetScrollRange(hWnd, bar, minPos, maxPos, redraw);
}

BOOL ScrollSkinShow(HWND hWnd, int bar, BOOL show) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->Show(bar, show) : I::SystemShowScrollBar(hWnd, bar, show);
}

BOOL ScrollSkinSetArrowSize(HWND hWnd, int bar, int length, int width) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetArrowSize(bar, length, width) : FALSE;
}

BOOL ScrollSkinSetStyle(HWND hWnd, int bar, int style) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetStyle(bar, style) : FALSE;
}

BOOL ScrollSkinSetMinThumb(HWND hWnd, int bar, int size) {
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SetMinThumb(bar, size) : FALSE;
}
