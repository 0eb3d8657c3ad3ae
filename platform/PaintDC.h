// BeginPaint/EndPaint for one WM_PAINT, scoped.
#pragma once

#include <windows.h>

#include "platform/GdiCounter.h"

class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {
        if (m_hDC)
            CGdiCounter::Created(CGdiCounter::kWindowDC);
    }
    ~CPaintDC() {
        // EndPaint also validates the window and shows the caret again; it is called even when BeginPaint failed.
        ::EndPaint(m_hWnd, &m_ps);
        if (m_hDC)
            CGdiCounter::Destroyed(CGdiCounter::kWindowDC);
    }
    CPaintDC(const CPaintDC &) = delete;
    CPaintDC &operator=(const CPaintDC &) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    const RECT &PaintRect() const { return m_ps.rcPaint; }
    bool Erase() const { return m_ps.fErase != FALSE; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hDC;
};
