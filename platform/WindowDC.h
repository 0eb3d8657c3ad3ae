// The whole window, non-client area included (GetWindowDC, or GetDCEx with DCX_WINDOW), for non-client painting.
#pragma once

#include <windows.h>

#include "platform/ClientDC.h"

class CWindowDC : public CBorrowedDC {
public:
    explicit CWindowDC(HWND hWnd) : CBorrowedDC(hWnd, ::GetWindowDC(hWnd)) {}
    // GetDCEx with DCX_WINDOW and the given flags, typically for WM_NCPAINT's update region:
    // CWindowDC dc(hWnd, hrgn, DCX_INTERSECTRGN). With DCX_INTERSECTRGN or DCX_EXCLUDERGN the system owns the
    // region from then on (it deletes it after the release): pass a region you have detached, never one you still
    // own, and never the region WM_NCPAINT passes in itself (copy that one with CombineRgn first).
    CWindowDC(HWND hWnd, HRGN hClip, DWORD dwFlags) : CBorrowedDC(hWnd, ::GetDCEx(hWnd, hClip, DCX_WINDOW | dwFlags)) {}
};
