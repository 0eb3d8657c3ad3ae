#include "framework/ListView.h"

#include <commctrl.h>
#include "platform/Handle.h"
#include "platform/WindowDC.h"

namespace {

// The few theming calls the edge needs, looked up in the theming library if the process has loaded it (not every
// system the console runs on has one, so it is not linked). Looked up at each use: the library may come later.
struct CThemeCalls {
    typedef HANDLE(WINAPI *GetWindowThemeFn)(HWND);
    typedef HRESULT(WINAPI *DrawThemeBackgroundFn)(HANDLE, HDC, int, int, const RECT *, const RECT *);
    typedef BOOL(WINAPI *IsThemeBackgroundPartiallyTransparentFn)(HANDLE, int, int);
    typedef HRESULT(WINAPI *DrawThemeParentBackgroundFn)(HWND, HDC, const RECT *);

    GetWindowThemeFn getWindowTheme = nullptr;
    DrawThemeBackgroundFn drawBackground = nullptr;
    IsThemeBackgroundPartiallyTransparentFn isPartiallyTransparent = nullptr;
    DrawThemeParentBackgroundFn drawParentBackground = nullptr;

    CThemeCalls() {
        HMODULE theming = ::GetModuleHandleA("uxtheme.dll");
        if (!theming)
            return;
        Resolve(theming, "GetWindowTheme", getWindowTheme);
        Resolve(theming, "DrawThemeBackground", drawBackground);
        Resolve(theming, "IsThemeBackgroundPartiallyTransparent", isPartiallyTransparent);
        Resolve(theming, "DrawThemeParentBackground", drawParentBackground);
    }
    bool Complete() const { return getWindowTheme && drawBackground && isPartiallyTransparent && drawParentBackground; }

private:
    template <class Fn> static void Resolve(HMODULE module, const char *name, Fn &fn) {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    }
};

} // namespace

BOOL PaintClientEdgeOnly(HWND hWnd, HRGN hUpdate) {
    // 1 (or nothing) stands for the whole window.
    if (reinterpret_cast<UINT_PTR>(hUpdate) <= 1 || ::GetObjectType(hUpdate) != OBJ_REGION)
        return FALSE;
    const LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    if (!(style & (WS_VSCROLL | WS_HSCROLL)))
        return FALSE; // without bars the system's paint is cheap and complete
    if ((style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) ||
        (exStyle & (WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE)))
        return FALSE;

    RECT window, client;
    if (!::GetWindowRect(hWnd, &window) || !::GetClientRect(hWnd, &client))
        return FALSE;
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT *>(&client), 2);
    const bool edge = (exStyle & WS_EX_CLIENTEDGE) != 0;
    RECT inner = window;
    if (edge)
        ::InflateRect(&inner, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    // Whatever lies between the edge and the client area is scroll bar or size box, on whichever side.
    const RECT strips[4] = {{inner.left, inner.top, client.left, inner.bottom},
                            {client.right, inner.top, inner.right, inner.bottom},
                            {inner.left, inner.top, inner.right, client.top},
                            {inner.left, client.bottom, inner.right, inner.bottom}};
    for (const RECT &strip : strips)
        if (!::IsRectEmpty(&strip) && ::RectInRegion(hUpdate, &strip))
            return FALSE;

    const CThemeCalls theme;
    HANDLE hTheme = theme.getWindowTheme ? theme.getWindowTheme(hWnd) : nullptr;
    if (hTheme && !theme.Complete())
        return FALSE;
    if (!edge)
        return TRUE; // the update touches no bar and there is no edge: nothing of the frame to draw

    // Only the part to paint: the rest of the edge is on the screen already.
    CRgn clip(::CreateRectRgn(0, 0, 0, 0));
    if (!clip.IsValid() || ::CombineRgn(clip.Get(), hUpdate, nullptr, RGN_COPY) == ERROR)
        return FALSE;
    ::OffsetRgn(clip.Get(), -window.left, -window.top);
    CWindowDC dc(hWnd);
    if (!dc.GetSafeHdc())
        return FALSE;
    ::ExtSelectClipRgn(dc, clip.Get(), RGN_AND);
    // The client area is the control's own paint (a themed edge is drawn as a filled background).
    ::ExcludeClipRect(dc, client.left - window.left, client.top - window.top, client.right - window.left,
                      client.bottom - window.top);
    RECT rc = {0, 0, window.right - window.left, window.bottom - window.top};
    RECT box;
    ::GetRgnBox(clip.Get(), &box);
    if (hTheme) {
        // The themed list control draws its edge as the background of part 0.
        if (theme.isPartiallyTransparent(hTheme, 0, 0))
            theme.drawParentBackground(hWnd, dc, &rc);
        theme.drawBackground(hTheme, dc, 0, 0, &rc, &box);
    } else {
        ::DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
    }
    return TRUE;
}

BOOL CListView::PreCreateWindow(CREATESTRUCTA &cs) {
    cs.lpszClass = WC_LISTVIEWA;
    cs.style |= LVS_SHAREIMAGELISTS;
    return TRUE;
}

LRESULT CListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && PaintClientEdgeOnly(m_hWnd, reinterpret_cast<HRGN>(wParam)))
        return 0;
    return CView::WindowProc(message, wParam, lParam);
}

void CListView::OnPaint() {
    Default();
}
