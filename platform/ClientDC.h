// A DC borrowed from a window with GetDC (client area) or of the whole screen, handed back with ReleaseDC.
#pragma once

#include <windows.h>

#include "platform/GdiCounter.h"

// Base of the DCs that a window lends (GetDC, GetWindowDC, GetDCEx): ReleaseDC when it goes out of scope.
class CBorrowedDC {
public:
    ~CBorrowedDC() {
        if (m_hDC && ::ReleaseDC(m_hWnd, m_hDC))
            CGdiCounter::Destroyed(CGdiCounter::kWindowDC);
    }
    CBorrowedDC(const CBorrowedDC &) = delete;
    CBorrowedDC &operator=(const CBorrowedDC &) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    HWND GetHwnd() const { return m_hWnd; }

protected:
    CBorrowedDC(HWND hWnd, HDC hDC) : m_hWnd(hWnd), m_hDC(hDC) {
        if (m_hDC)
            CGdiCounter::Created(CGdiCounter::kWindowDC);
    }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The client area of a window, for drawing or measuring outside WM_PAINT.
class CClientDC : public CBorrowedDC {
public:
    explicit CClientDC(HWND hWnd) : CBorrowedDC(hWnd, ::GetDC(hWnd)) {}
};

// The whole screen (GetDC of no window): the reference DC for compatible bitmaps and measurements.
class CScreenDC : public CBorrowedDC {
public:
    CScreenDC() : CBorrowedDC(nullptr, ::GetDC(nullptr)) {}
};
