// Scoped DCs and guards: the memory DC copies exactly its rectangle (read back by pixels), selections, saved
// states and clip regions come back, and borrowed DCs are handed back.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ClientDC.h"
#include "platform/ClipRegion.h"
#include "platform/Handle.h"
#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "platform/SaveDC.h"
#include "platform/SelectObject.h"
#include "platform/WindowDC.h"

namespace {

const int kWidth = 64, kHeight = 48;
const COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

// A 32-bit top-down DIB selected into a memory DC, so that pixels can be read from memory.
class CPixelTarget {
public:
    CPixelTarget() : m_dc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = kWidth;
        bi.bmiHeader.biHeight = -kHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<const DWORD *>(bits);
        m_hOld = ::SelectObject(m_dc, m_bitmap);
    }
    ~CPixelTarget() { ::SelectObject(m_dc, m_hOld); }
    HDC Dc() const { return m_dc; }
    void Fill(COLORREF c) {
        CBrush brush(::CreateSolidBrush(c));
        RECT all = {0, 0, kWidth, kHeight};
        ::FillRect(m_dc, &all, brush);
    }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        DWORD v = m_bits[y * kWidth + x]; // BGRA in memory
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    const DWORD *m_bits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

bool Inside(const RECT &rc, int x, int y) {
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

TEST(MemoryDC, CopiesExactlyItsRectangleOnScopeExit) {
    CGdiCounterSnapshot before;
    CPixelTarget target;
    target.Fill(kBlue);
    const RECT rc = {10, 8, 30, 20};
    {
        CMemoryDC mem(target.Dc(), rc);
        ASSERT_TRUE(mem.IsValid());
        // Drawing uses the target's coordinates, and may spill over the rectangle: only the rectangle is copied.
        CBrush red(::CreateSolidBrush(kRed));
        RECT all = {0, 0, kWidth, kHeight};
        ::FillRect(mem, &all, red);
        ::SetPixel(mem, rc.left, rc.top, kGreen);
        ::SetPixel(mem, rc.right - 1, rc.bottom - 1, kGreen);
        // Nothing reaches the target before the scope ends.
        EXPECT_EQ(target.Pixel(15, 15), kBlue);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            COLORREF want = Inside(rc, x, y) ? kRed : kBlue;
            if ((x == rc.left && y == rc.top) || (x == rc.right - 1 && y == rc.bottom - 1))
                want = kGreen;
            ASSERT_EQ(target.Pixel(x, y), want) << "pixel " << x << "," << y;
        }
    }
    EXPECT_EQ(before.ChangesSince(), "bitmap +1, DC +1"); // the target's own; the memory DC's are gone
}

TEST(MemoryDC, StartsFromTheTargetOrCopiesNothing) {
    CPixelTarget target;
    target.Fill(kBlue);
    const RECT rc = {1, 2, 5, 6};
    {
        CMemoryDC mem(target.Dc(), rc);
        mem.CopyFromTarget();
        ::SetPixel(mem, 3, 4, kRed);
    }
    EXPECT_EQ(target.Pixel(3, 4), kRed);
    EXPECT_EQ(target.Pixel(2, 3), kBlue); // inside, kept from the target
    {
        CMemoryDC mem(target.Dc(), rc);
        ::SetPixel(mem, 3, 4, kGreen);
        mem.Cancel();
    }
    EXPECT_EQ(target.Pixel(3, 4), kRed);
    const RECT empty = {5, 5, 5, 9};
    CMemoryDC none(target.Dc(), empty);
    EXPECT_FALSE(none.IsValid());
}

TEST(SelectObject, PutsThePreviousObjectBack) {
    CDC dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ brushBefore = ::GetCurrentObject(dc, OBJ_BRUSH);
    CBrush brush(::CreateSolidBrush(kRed));
    {
        CSelectObject select(dc, brush);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush.Get());
        EXPECT_EQ(select.GetOld(), brushBefore);
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    CSelectObject nothing(dc, nullptr);
    EXPECT_EQ(nothing.GetOld(), nullptr);
}

TEST(SaveDC, RestoresEverythingChangedInTheScope) {
    CDC dc(::CreateCompatibleDC(nullptr));
    ::SetTextColor(dc, kBlue);
    {
        CSaveDC saved(dc);
        ASSERT_TRUE(saved.IsSaved());
        ::SetTextColor(dc, kRed);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetViewportOrgEx(dc, 5, 5, nullptr);
    }
    EXPECT_EQ(::GetTextColor(dc), kBlue);
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
    POINT org;
    ::GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 0);
}

TEST(ClipRegion, NarrowsForTheScopeAndPutsThePreviousClipBack) {
    CPixelTarget target;
    target.Fill(kBlue);
    CBrush red(::CreateSolidBrush(kRed));
    RECT all = {0, 0, kWidth, kHeight};
    CRgn none(::CreateRectRgn(0, 0, 0, 0));
    {
        CRgn region(::CreateRectRgn(4, 4, 8, 8));
        CClipRegion clip(target.Dc(), region);
        ::FillRect(target.Dc(), &all, red);
    }
    EXPECT_EQ(target.Pixel(4, 4), kRed);
    EXPECT_EQ(target.Pixel(8, 8), kBlue);
    EXPECT_EQ(::GetClipRgn(target.Dc(), none), 0) << "no clip region before, none after";

    CRgn outer(::CreateRectRgn(0, 0, 20, 20));
    ::SelectClipRgn(target.Dc(), outer);
    {
        const RECT inner = {10, 10, 30, 30};
        CClipRegion clip(target.Dc(), inner);
        RECT box;
        ::GetClipBox(target.Dc(), &box);
        EXPECT_EQ(box.left, 10);
        EXPECT_EQ(box.right, 20);
    }
    RECT box;
    ::GetClipBox(target.Dc(), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 20);
    ::SelectClipRgn(target.Dc(), nullptr);
}

LRESULT CALLBACK PaintProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        CPaintDC dc(hWnd);
        EXPECT_NE(dc.GetSafeHdc(), nullptr);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), 1);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST(BorrowedDCs, AreHandedBackAndCounted) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &PaintProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QxPlatformPaintTest";
    ASSERT_TRUE(::RegisterClassA(&wc));
    HWND hWnd = ::CreateWindowExA(0, wc.lpszClassName, "t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), 0);
    {
        CWindowDC window(hWnd);
        CClientDC client(hWnd);
        CScreenDC screen;
        EXPECT_NE(window.GetSafeHdc(), nullptr);
        EXPECT_NE(client.GetSafeHdc(), nullptr);
        EXPECT_NE(screen.GetSafeHdc(), nullptr);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), 3);
        // The window DC's origin is the window's corner, the client DC's the client area's.
        POINT wOrg, cOrg;
        ::GetDCOrgEx(window, &wOrg);
        ::GetDCOrgEx(client, &cOrg);
        EXPECT_LT(wOrg.y, cOrg.y);
    }
    {
        CRgn clip(::CreateRectRgn(0, 0, 10, 10));
        CWindowDC nc(hWnd, clip.Detach(), DCX_INTERSECTRGN | DCX_CACHE); // the system owns the region now
        EXPECT_NE(nc.GetSafeHdc(), nullptr);
    }
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), 0);
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::UpdateWindow(hWnd);
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), 0);
    ::DestroyWindow(hWnd);
}

} // namespace
