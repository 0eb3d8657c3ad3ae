// Skinned frames under Wine with real windows: client area, hit tests, minimum size, the caption's click pair on a
// maximised frame, maximised document windows and the GDI objects of a thousand paints.
#include "tests/skin/SkinFrameTestSupport.h"

#include "platform/GdiCounter.h"
#include "platform/RectSize.h"
#include "skin/Skin.h"
#include "skin/SkinClock.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinMDIClient.h"
#include "tests/support/Screenshot.h"

using namespace skintest;

namespace {

const DWORD kSizable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const DWORD kFixed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

// The templates of the current skin's "MainFrame".
const SkinFramedRecord &MainFrame() {
    return dynamic_cast<CSkinFrameObject &>(*CSkinRegistry::Instance().GetSkin().FindObject("MainFrame")).m_framed;
}

class SkinFrameWndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadSkin("DEVIOR")); }
};

} // namespace

TEST_F(SkinFrameWndTest, ClientAreaLiesInsideTheBordersAtEverySize) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    const RECT *t = MainFrame().placement;
    for (SIZE size : {SIZE{400, 300}, SIZE{640, 480}, SIZE{120, 90}}) {
        ::SetWindowPos(frame, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        const RECT client = ClientInWindow(frame);
        EXPECT_EQ(client.left, Width(t[3])) << size.cx;
        EXPECT_EQ(client.top, Height(t[0])) << size.cx;
        EXPECT_EQ(client.right, size.cx - Width(t[5])) << size.cx;
        EXPECT_EQ(client.bottom, size.cy - Height(t[6])) << size.cx;
    }
    Pump(100);
    CScreenshot shot;
    if (shot.CaptureSettledWindow(frame, 2000))
        shot.SavePng("skin_frame_devior.png");
}

TEST_F(SkinFrameWndTest, HitTestsAtEveryPartAndCorner) {
    const struct {
        int x, y;
        LRESULT sizable, fixed;
    } cases[] = {
        {1, 1, HTTOPLEFT, HTCAPTION},           // top-left corner square
        {20, 20, HTCAPTION, HTCAPTION},         // rest of part 0
        {100, 2, HTTOP, HTCAPTION},             // top rows of part 1
        {100, 15, HTCAPTION, HTCAPTION},        // rest of part 1
        {398, 1, HTTOPRIGHT, HTCAPTION},        // top-right corner square
        {372, 26, HTCAPTION, HTCAPTION},        // rest of part 2, below the buttons
        {2, 150, HTLEFT, HTNOWHERE},            // part 3
        {397, 150, HTRIGHT, HTNOWHERE},         // part 5
        {2, 298, HTBOTTOMLEFT, HTNOWHERE},      // part 6
        {200, 298, HTBOTTOM, HTNOWHERE},        // part 7
        {397, 298, HTBOTTOMRIGHT, HTNOWHERE},   // part 8
        {200, 150, HTCLIENT, HTCLIENT},         // part 4
        {405, 150, HTERROR, HTERROR},           // outside every part
    };
    CTestFrame sizable(kSizable, 400, 300);
    CTestFrame fixed(kFixed, 400, 300, nullptr, 60, 60);
    ASSERT_EQ(SkinAttachFrame(sizable, "MainFrame"), 1);
    ASSERT_EQ(SkinAttachFrame(fixed, "MainFrame"), 1);
    for (const auto &c : cases) {
        EXPECT_EQ(HitTestAt(sizable, c.x, c.y), c.sizable) << c.x << "," << c.y;
        EXPECT_EQ(HitTestAt(fixed, c.x, c.y), c.fixed) << c.x << "," << c.y;
    }
    // Maximised: the caption moves nothing and the borders size nothing.
    ::ShowWindow(sizable, SW_MAXIMIZE);
    RECT wr;
    ::GetWindowRect(sizable, &wr);
    EXPECT_EQ(HitTestAt(sizable, 1, 1), HTCAPTION);
    EXPECT_EQ(HitTestAt(sizable, Width(wr) / 2, 2), HTCAPTION);
    EXPECT_EQ(HitTestAt(sizable, 2, Height(wr) / 2), HTNOWHERE);
    EXPECT_EQ(HitTestAt(sizable, Width(wr) - 2, Height(wr) - 2), HTNOWHERE);
}

TEST_F(SkinFrameWndTest, MaximisedFrameCoversTheWorkAreaLessOnePixel) {
    bool trayShown = false;
    for (HWND tray = ::FindWindowExA(nullptr, nullptr, "Shell_TrayWnd", nullptr); tray;
         tray = ::FindWindowExA(nullptr, tray, "Shell_TrayWnd", nullptr))
        trayShown = trayShown || ::IsWindowVisible(tray);
    if (trayShown)
        GTEST_SKIP() << "a task bar is shown on this desktop";
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    ::ShowWindow(frame, SW_MAXIMIZE);
    RECT wr;
    ::GetWindowRect(frame, &wr);
    EXPECT_EQ(wr.left, 0);
    EXPECT_EQ(wr.top, 0);
    EXPECT_EQ(Width(wr), ::GetSystemMetrics(SM_CXSCREEN) - 1);
    EXPECT_EQ(Height(wr), ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

TEST_F(SkinFrameWndTest, ASkinChangeEnlargesFramesBelowTheMinimum) {
    const RECT *t = MainFrame().placement;
    const LONG minWidth = Width(t[0]) + Width(t[2]) + 10, minHeight = Height(t[0]) + 5;
    // Popup frames are not held to a minimum by the system, so they can start smaller than the skin allows.
    CTestFrame frame(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 20, nullptr, 70, 80);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    CTestMDIFrame mdi(500, 400);
    ASSERT_EQ(SkinAttachFrame(mdi.Get(), "MainFrame"), 1);
    HWND child = mdi.NewChild(300, 200, WS_CAPTION | WS_SYSMENU);
    ASSERT_NE(FrameOf(child), nullptr);
    ::SetWindowPos(child, nullptr, 30, 40, 150, 20, SWP_NOZORDER | SWP_NOACTIVATE);

    MINMAXINFO info = {};
    ::SendMessageA(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, minWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, minHeight);

    ASSERT_TRUE(LoadSkin("KROMO"));
    RECT wr;
    ::GetWindowRect(frame, &wr);
    EXPECT_EQ(wr.left, 70);
    EXPECT_EQ(wr.top, 80);
    EXPECT_EQ(Width(wr), minWidth);
    EXPECT_EQ(Height(wr), minHeight);
    // A document window keeps its place in the client area.
    ::GetWindowRect(child, &wr);
    ::MapWindowPoints(nullptr, mdi.Client(), reinterpret_cast<POINT *>(&wr), 2);
    EXPECT_EQ(wr.left, 30);
    EXPECT_EQ(wr.top, 40);
    EXPECT_EQ(Width(wr), 150);
    EXPECT_EQ(Height(wr), minHeight);
}

namespace {
SYSTEMTIME g_now;
void WINAPI TestClock(LPSYSTEMTIME pTime) {
    *pTime = g_now;
}
SYSTEMTIME At(WORD hour, WORD minute, WORD second, WORD ms) {
    SYSTEMTIME t = {};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 8;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = ms;
    return t;
}
} // namespace

TEST_F(SkinFrameWndTest, TwoCaptionReleasesInOneSecondRestoreAMaximisedFrame) {
    CScopedSkinClock clock(TestClock);
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    const struct {
        SYSTEMTIME first, second;
        bool restores;
    } cases[] = {
        {At(10, 20, 30, 100), At(10, 20, 30, 900), true},   // same second
        {At(10, 20, 30, 900), At(10, 20, 31, 100), false},  // 200 ms apart, but another second
        {At(10, 20, 30, 100), At(11, 20, 30, 100), false},  // an hour apart, same minute and second
    };
    for (const auto &c : cases) {
        ::ShowWindow(frame, SW_MAXIMIZE);
        ASSERT_TRUE(::IsZoomed(frame));
        g_now = c.first;
        SendNc(frame, WM_NCLBUTTONUP, 150, 12);
        EXPECT_TRUE(::IsZoomed(frame)) << "one release";
        g_now = c.second;
        SendNc(frame, WM_NCLBUTTONUP, 150, 12);
        EXPECT_EQ(::IsZoomed(frame) == FALSE, c.restores) << c.second.wHour << ":" << c.second.wSecond;
        // A third release starts a new pair.
        g_now = At(23, 0, 0, 0);
        SendNc(frame, WM_NCLBUTTONUP, 150, 12);
        ::ShowWindow(frame, SW_RESTORE);
    }
    // A real double click on the caption toggles too.
    SendNc(frame, WM_NCLBUTTONDBLCLK, 150, 12);
    EXPECT_TRUE(::IsZoomed(frame));
    SendNc(frame, WM_NCLBUTTONDBLCLK, 150, 12);
    EXPECT_FALSE(::IsZoomed(frame));
}

TEST_F(SkinFrameWndTest, MaximisedDocumentWindowPutsItsBordersOutsideTheClientArea) {
    CTestMDIFrame mdi(600, 450);
    ASSERT_EQ(SkinAttachFrame(mdi.Get(), "MainFrame"), 1);
    HWND first = mdi.NewChild();
    HWND second = mdi.NewChild();
    ASSERT_NE(FrameOf(first), nullptr);
    ASSERT_NE(FrameOf(second), nullptr);
    EXPECT_TRUE(FrameOf(second)->IsMDIChild());
    const RECT *t = MainFrame().placement;
    auto expectCovers = [&](HWND child) {
        RECT client, wr;
        ::GetClientRect(mdi.Client(), &client);
        ::GetWindowRect(child, &wr);
        ::MapWindowPoints(nullptr, mdi.Client(), reinterpret_cast<POINT *>(&wr), 2);
        EXPECT_EQ(wr.left, -Width(t[3]));
        EXPECT_EQ(wr.top, -Height(t[0]));
        EXPECT_EQ(wr.right, client.right + Width(t[5]));
        EXPECT_EQ(wr.bottom, client.bottom + Height(t[6]));
        // Its client area is exactly the parent's.
        const RECT inside = ClientInWindow(child);
        EXPECT_EQ(Width(inside), client.right);
        EXPECT_EQ(Height(inside), client.bottom);
    };
    ::SendMessageA(mdi.Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    ASSERT_TRUE(::IsZoomed(second));
    expectCovers(second);
    // It follows the frame's size.
    ::SetWindowPos(mdi.Get(), nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER);
    expectCovers(second);
    // A new window comes up restored, and the one that was maximised is restored first.
    HWND third = mdi.NewChild();
    EXPECT_FALSE(::IsZoomed(second));
    EXPECT_FALSE(::IsZoomed(third));
    ASSERT_NE(FrameOf(third), nullptr);
    Pump(100);
    CScreenshot shot;
    if (shot.CaptureSettledWindow(mdi.Get(), 2000))
        shot.SavePng("skin_frame_mdi_devior.png");
}

TEST_F(SkinFrameWndTest, AThousandPaintsAndResizesLeaveNoGdiObjectBehind) {
    CGdiCounterSnapshot before;
    {
        CTestFrame frame(kSizable, 500, 400, MakeMenu({"File", "Edit", "View"}));
        ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
        for (int i = 0; i < 1000; ++i) {
            // Each new size rebuilds the region and the off-screen bitmap; each paint draws borders, bar and buttons.
            ::SetWindowPos(frame, nullptr, 0, 0, 400 + i % 7 * 20, 300 + i % 5 * 15,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::SendMessageA(frame, WM_NCPAINT, 1, 0);
        }
        // Document windows come, maximise, restore and go.
        CTestMDIFrame mdi(500, 400, MakeMenu({"File", "Edit"}));
        ASSERT_EQ(SkinAttachFrame(mdi.Get(), "MainFrame"), 1);
        for (int i = 0; i < 20; ++i) {
            HWND child = mdi.NewChild();
            ::SendMessageA(mdi.Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
            ::RedrawWindow(mdi.Get(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            ::SendMessageA(mdi.Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
            ::SendMessageA(mdi.Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
        }
        // Skin changes rebuild buttons, fonts and regions.
        for (const char *name : {"KROMO", "CORONA", "XPSTEEL", "FUTURAIII", "DEVIOR"})
            ASSERT_TRUE(LoadSkin(name));
        Pump(50);
    }
    // The skin in force keeps the sections of the images it was painted from; a fresh copy of it, never painted,
    // holds none, as the skin did when the count was taken.
    ASSERT_TRUE(LoadSkin("DEVIOR"));
    EXPECT_EQ(before.ChangesSince(), "");
}
