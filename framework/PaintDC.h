// BeginPaint/EndPaint for one WM_PAINT, scoped.
#pragma once

#include <windows.h>

class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC &) = delete;
    CPaintDC &operator=(const CPaintDC &) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    const RECT &PaintRect() const { return m_ps.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hDC;
};

// GetDC/ReleaseDC for drawing or measuring outside WM_PAINT, scoped.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC &) = delete;
    CClientDC &operator=(const CClientDC &) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
class CSelectGuard {
public:
    CSelectGuard(HDC hDC, HGDIOBJ obj) : m_hDC(hDC), m_old(hDC && obj ? ::SelectObject(hDC, obj) : nullptr) {}
    ~CSelectGuard() {
        if (m_old)
            ::SelectObject(m_hDC, m_old);
    }
    CSelectGuard(const CSelectGuard &) = delete;
    CSelectGuard &operator=(const CSelectGuard &) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_old;
};
