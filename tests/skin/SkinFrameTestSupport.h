// Windows for the skinned-frame tests: the engine started once with an embedded skin, plain top-level frames, an
// MDI frame with document windows, points in window coordinates and message pumping.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinEngine.h"
#include "skin/SkinFrameWnd.h"
#include "skin/SkinRegistry.h"
#include "tests/support/WaitUntil.h"

namespace skintest {

inline bool LoadSkin(const char *name) {
    return SkinLoadResource(::GetModuleHandleA(nullptr), name, "SKINWEAVE") == 1;
}

// Dispatches this thread's messages for ms milliseconds.
inline void Pump(DWORD ms) {
    CWaitUntil::Condition([] { return false; }, ms, 10);
}

inline CSkinFrameWnd *FrameOf(HWND hWnd) {
    return dynamic_cast<CSkinFrameWnd *>(SkinFindWindow(hWnd));
}

inline LRESULT HitTestAt(HWND hWnd, int x, int y) {
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    return ::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
}

// Sends a non-client pointer message at a window point, with the hit-test code the frame gives it.
inline void SendNc(HWND hWnd, UINT message, int x, int y) {
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    const LPARAM pt = MAKELPARAM(wr.left + x, wr.top + y);
    ::SendMessageA(hWnd, message, static_cast<WPARAM>(::SendMessageA(hWnd, WM_NCHITTEST, 0, pt)), pt);
}

// The client rectangle relative to the window's top-left corner.
inline RECT ClientInWindow(HWND hWnd) {
    RECT wr, cr;
    ::GetWindowRect(hWnd, &wr);
    ::GetClientRect(hWnd, &cr);
    POINT tl = {0, 0};
    ::ClientToScreen(hWnd, &tl);
    return RECT{tl.x - wr.left, tl.y - wr.top, tl.x - wr.left + cr.right, tl.y - wr.top + cr.bottom};
}

// Messages the test windows received that tests look at.
struct Received {
    std::vector<UINT> commands;
    int closes = 0;
};
Received &Log();

// A plain top-level window (CS_DBLCLKS, the default procedure) that records WM_COMMAND; destroyed with the object.
class CTestFrame {
public:
    CTestFrame(DWORD style, int width, int height, HMENU menu = nullptr, int x = 40, int y = 40);
    ~CTestFrame();
    CTestFrame(const CTestFrame &) = delete;
    CTestFrame &operator=(const CTestFrame &) = delete;
    HWND Get() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// A top-level frame with an MDI client filling its client area, and document windows made through WM_MDICREATE.
class CTestMDIFrame {
public:
    CTestMDIFrame(int width, int height, HMENU menu = nullptr);
    ~CTestMDIFrame();
    CTestMDIFrame(const CTestMDIFrame &) = delete;
    CTestMDIFrame &operator=(const CTestMDIFrame &) = delete;
    HWND Get() const { return m_hWnd; }
    HWND Client() const { return m_hClient; }
    HWND NewChild(int width = 200, int height = 150, DWORD style = WS_OVERLAPPEDWINDOW);

private:
    HWND m_hWnd;
    HWND m_hClient = nullptr;
};

// A menu of top-level entries, each with a one-item popup.
HMENU MakeMenu(const std::vector<std::string> &entries);

} // namespace skintest
