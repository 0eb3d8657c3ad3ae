#include "skin/SkinActiveCaption.h"

const char CSkinActiveCaption::PROPERTY[] = "SKIN_WNDPROC";

BOOL CSkinActiveCaption::Keep(HWND hWnd) {
    if (IsAttached() || !hWnd)
        return FALSE;
    const LONG_PTR previous = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (!Subclass(hWnd))
        return FALSE;
    ::SetPropA(hWnd, PROPERTY, reinterpret_cast<HANDLE>(previous));
    return TRUE;
}

void CSkinActiveCaption::Release() {
    const HWND hWnd = GetHwnd();
    if (!hWnd)
        return;
    Unsubclass();
    if (::IsWindow(hWnd))
        ::RemovePropA(hWnd, PROPERTY);
}

LRESULT CSkinActiveCaption::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The popup takes the activation; the window's caption keeps showing the window as the active one.
    if (message == WM_NCACTIVATE && !wParam)
        return TRUE;
    if (message == WM_NCDESTROY)
        ::RemovePropA(GetHwnd(), PROPERTY);
    return Default(message, wParam, lParam);
}
