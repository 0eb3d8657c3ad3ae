// The skinned scroll bars on real windows under Wine: attaching and handing back, the bars' own scroll information
// with its edge cases, visibility and styles, the non-client size, hit testing and painting, the system's functions
// through the interception for skinned and plain windows (a list view's own calls), and the mouse: arrows held with
// their auto-repeat read from the messages' times, the thumb dragged off the bar and back, hover, lost capture.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/Subclass.h"
#include "skin/ScrollBarInterception.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/ScrollSkin.h"
#include "skin/controls/ScrollSkinWnd.h"
#include "tests/skin/support/ScrollBarTestSkin.h"
#include "tests/support/Screenshot.h"

namespace {
typedef CScrollBarGeometry G;
typedef CScrollBarInterception I;

// The scroll requests a window received, with the time of the message that led to each.
struct Request {
    UINT message;
    int code;
    int pos;
    DWORD time;
};
std::vector<Request> g_requests;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
        g_requests.push_back(Request{message, LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                     static_cast<DWORD>(::GetMessageTime())});
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateBarsWindow(DWORD dwStyle = WS_VSCROLL | WS_HSCROLL, DWORD dwExStyle = 0, int cx = 300, int cy = 240) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "QxScrollSkinTest";
        registered = ::RegisterClassA(&wc) != 0;
    }
    return ::CreateWindowExA(dwExStyle, "QxScrollSkinTest", "", WS_POPUP | WS_BORDER | WS_VISIBLE | dwStyle, 100, 100,
                             cx, cy, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

void SetValues(HWND hWnd, int bar, int nMin, int nMax, UINT page, int pos) {
    SCROLLINFO si = {sizeof(si), SIF_ALL, nMin, nMax, page, pos, 0};
    ScrollSkinSetInfo(hWnd, bar, &si, TRUE);
}

SCROLLINFO InfoOf(HWND hWnd, int bar) {
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ScrollSkinGetInfo(hWnd, bar, &si);
    return si;
}

// Dispatches this thread's messages for the given time; observe sees each message before it is dispatched.
void Pump(DWORD ms, const std::function<void(const MSG &)> &observe = nullptr) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (observe)
                observe(msg);
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

LPARAM ScreenParam(POINT pt) {
    return MAKELPARAM(static_cast<short>(pt.x), static_cast<short>(pt.y));
}

LPARAM ClientParam(HWND hWnd, POINT pt) {
    ::ScreenToClient(hWnd, &pt);
    return MAKELPARAM(static_cast<short>(pt.x), static_cast<short>(pt.y));
}

class ScrollSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_requests.clear();
        m_nLayers = CSubclass::GetLiveStateCount();
    }
    void TearDown() override {
        I::RemoveAll();
        for (HWND hWnd : m_windows)
            ::DestroyWindow(hWnd);
        CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
        EXPECT_EQ(m_nLayers, CSubclass::GetLiveStateCount()) << "every layer freed with its window";
    }
    HWND Window(DWORD dwStyle = WS_VSCROLL | WS_HSCROLL, DWORD dwExStyle = 0, int cx = 300, int cy = 240) {
        HWND hWnd = CreateBarsWindow(dwStyle, dwExStyle, cx, cy);
        if (hWnd)
            m_windows.push_back(hWnd);
        return hWnd;
    }
    std::vector<HWND> m_windows;
    long m_nLayers = 0;
};
} // namespace

TEST_F(ScrollSkinTest, AttachTakesOverTheSystemsBarsAndDetachHandsThemBack) {
    HWND hWnd = Window();
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, 20, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &si, FALSE);
    RECT rcBefore;
    ::GetClientRect(hWnd, &rcBefore);

    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    EXPECT_EQ(0, ScrollSkinAttach(hWnd)) << "once per window";
    EXPECT_TRUE(ScrollSkinIsAttached(hWnd));
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, pWnd);
    EXPECT_EQ(pWnd, ::GetPropA(hWnd, "SkinSBSubclassPtr"));
    const SCROLLINFO own = InfoOf(hWnd, SB_VERT);
    EXPECT_EQ(99, own.nMax);
    EXPECT_EQ(10u, own.nPage);
    EXPECT_EQ(20, own.nPos);
    for (int bar : {SB_HORZ, SB_VERT}) {
        EXPECT_TRUE(pWnd->GetBar(bar).IsWanted()) << bar;
        EXPECT_TRUE(pWnd->GetBar(bar).bShown) << bar;
        EXPECT_EQ(bar, pWnd->GetBar(bar).nType);
        EXPECT_EQ(-1, pWnd->GetBar(bar).nArrowLength);
        EXPECT_EQ(6, pWnd->GetBar(bar).nMinThumb) << "the default of NT 5 and later";
    }
    // The bars take the system metrics' room; the tool tip is the window's.
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(rcBefore.right, rcClient.right);
    EXPECT_EQ(rcBefore.bottom, rcClient.bottom);
    HWND hTip = pWnd->GetToolTip();
    ASSERT_TRUE(::IsWindow(hTip));
    char cls[32] = "";
    ::GetClassNameA(hTip, cls, sizeof(cls));
    EXPECT_STREQ(TOOLTIPS_CLASSA, cls);

    // Changes stay in the skinned copy until the bars are handed back.
    EXPECT_EQ(20, ScrollSkinSetPos(hWnd, SB_VERT, 40, TRUE));
    EXPECT_EQ(20, I::SystemGetScrollPos(hWnd, SB_VERT));
    EXPECT_EQ(0, ScrollSkinDetach(hWnd));
    EXPECT_EQ(E_FAIL, ScrollSkinDetach(hWnd));
    EXPECT_FALSE(ScrollSkinIsAttached(hWnd));
    EXPECT_EQ(nullptr, ::GetPropA(hWnd, "SkinSBSubclassPtr"));
    EXPECT_FALSE(::IsWindow(hTip));
    EXPECT_EQ(40, ::GetScrollPos(hWnd, SB_VERT));
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(rcBefore.right, rcClient.right);

    // A window destroyed with its bars takes record, layer and tool tip with it.
    HWND hOther = CreateBarsWindow();
    ASSERT_EQ(1, ScrollSkinAttach(hOther));
    hTip = CScrollSkinWnd::FromHandle(hOther)->GetToolTip();
    ::DestroyWindow(hOther);
    EXPECT_FALSE(::IsWindow(hTip));
}

TEST_F(ScrollSkinTest, TheBarsKeepTheirOwnValuesWithinTheirRules) {
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));

    // A page larger than the range is cut to range + 1; a position set afterwards is clamped to nMin.
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE, 0, 9, 50, 0, 0};
    ScrollSkinSetInfo(hWnd, SB_VERT, &si, TRUE);
    EXPECT_EQ(10u, InfoOf(hWnd, SB_VERT).nPage);
    EXPECT_EQ(0, ScrollSkinSetPos(hWnd, SB_VERT, 5, TRUE));
    EXPECT_EQ(0, ScrollSkinGetPos(hWnd, SB_VERT));
    si = SCROLLINFO{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 3, 12, 100, 7, 0};
    EXPECT_EQ(3, ScrollSkinSetInfo(hWnd, SB_VERT, &si, FALSE));
    EXPECT_EQ(10u, InfoOf(hWnd, SB_VERT).nPage);

    // Positions stay within nMin ... nMax - nPage + 1, also when the range shrinks under them.
    SetValues(hWnd, SB_VERT, 0, 99, 10, 200);
    EXPECT_EQ(90, ScrollSkinGetPos(hWnd, SB_VERT));
    si = SCROLLINFO{sizeof(si), SIF_RANGE, 0, 49, 0, 0, 0};
    EXPECT_EQ(40, ScrollSkinSetInfo(hWnd, SB_VERT, &si, TRUE));
    EXPECT_EQ(40, ScrollSkinSetPos(hWnd, SB_VERT, -5, FALSE));
    EXPECT_EQ(0, ScrollSkinGetPos(hWnd, SB_VERT));

    // Reads copy what the mask asks for, and say whether they copied anything.
    SCROLLINFO read = {sizeof(read), SIF_POS, -1, -1, 77, -1, -1};
    SetValues(hWnd, SB_HORZ, 5, 500, 20, 33);
    EXPECT_TRUE(ScrollSkinGetInfo(hWnd, SB_HORZ, &read));
    EXPECT_EQ(33, read.nPos);
    EXPECT_EQ(-1, read.nMin);
    EXPECT_EQ(77u, read.nPage);
    read.fMask = 0;
    EXPECT_FALSE(ScrollSkinGetInfo(hWnd, SB_HORZ, &read));
    EXPECT_FALSE(ScrollSkinGetInfo(hWnd, SB_HORZ, nullptr));
    int nMin = 0, nMax = 0;
    EXPECT_TRUE(ScrollSkinGetRange(hWnd, SB_HORZ, &nMin, &nMax));
    EXPECT_EQ(5, nMin);
    EXPECT_EQ(500, nMax);
    EXPECT_FALSE(ScrollSkinGetRange(hWnd, SB_HORZ, nullptr, &nMax));
    EXPECT_EQ(1, ScrollSkinSetRange(hWnd, SB_HORZ, 0, 40, FALSE));
    EXPECT_EQ(33, ScrollSkinGetPos(hWnd, SB_HORZ)) << "a range set alone leaves the position";

    // The arrows' flags: the answer says whether they changed (for both bars: whether both did).
    EXPECT_TRUE(ScrollSkinEnable(hWnd, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(ScrollSkinEnable(hWnd, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(ScrollSkinEnable(hWnd, SB_BOTH, ESB_DISABLE_UP)) << "the vertical bar's did not change";
    EXPECT_TRUE(ScrollSkinEnable(hWnd, SB_BOTH, ESB_ENABLE_BOTH));
    EXPECT_EQ(0u, CScrollSkinWnd::FromHandle(hWnd)->GetBar(SB_HORZ).nFlags & ScrollSkinBar::FLAG_ARROWS);

    // Arrow sizes: non-zero, within -8 ... 256.
    for (const auto &bad : {std::make_pair(0, 16), std::make_pair(16, 0), std::make_pair(257, 16),
                            std::make_pair(16, -9)})
        EXPECT_FALSE(ScrollSkinSetArrowSize(hWnd, SB_BOTH, bad.first, bad.second)) << bad.first << "," << bad.second;
    EXPECT_TRUE(ScrollSkinSetArrowSize(hWnd, SB_VERT, 256, -2));
    EXPECT_EQ(2 * ::GetSystemMetrics(SM_CXVSCROLL), CScrollSkinWnd::FromHandle(hWnd)->GetBar(SB_VERT).ArrowWidth());
    EXPECT_TRUE(ScrollSkinSetMinThumb(hWnd, SB_VERT, 30));
    EXPECT_TRUE(ScrollSkinSetMinThumb(hWnd, SB_VERT, -1));
    EXPECT_EQ(6, CScrollSkinWnd::FromHandle(hWnd)->GetBar(SB_VERT).nMinThumb);

    // Selectors other than the window's two bars, and windows without skinned bars, are the system's.
    EXPECT_EQ(I::SystemGetScrollPos(hWnd, SB_CTL), ScrollSkinGetPos(hWnd, SB_CTL));
    HWND hPlain = Window();
    SCROLLINFO plain = {sizeof(plain), SIF_ALL, 0, 50, 5, 12, 0};
    EXPECT_EQ(12, ScrollSkinSetInfo(hPlain, SB_VERT, &plain, FALSE));
    EXPECT_EQ(12, ::GetScrollPos(hPlain, SB_VERT));
    EXPECT_FALSE(ScrollSkinSetArrowSize(hPlain, SB_VERT, 16, 16));
}

TEST_F(ScrollSkinTest, VisibilityFollowsTheValuesAndShowingBothSetsBothStyles) {
    HWND hWnd = Window(0);
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    ASSERT_EQ(I::FUNCTION_COUNT, I::InstallAll());
    RECT rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    const LONG fullWidth = rcClient.right, fullHeight = rcClient.bottom;

    EXPECT_TRUE(::ShowScrollBar(hWnd, SB_BOTH, TRUE)) << "through the interception";
    EXPECT_EQ(WS_HSCROLL | WS_VSCROLL, ::GetWindowLongA(hWnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(fullWidth - ::GetSystemMetrics(SM_CXVSCROLL), rcClient.right);
    EXPECT_EQ(fullHeight - ::GetSystemMetrics(SM_CYHSCROLL), rcClient.bottom);
    EXPECT_TRUE(ScrollSkinShow(hWnd, SB_BOTH, FALSE));
    EXPECT_EQ(0, ::GetWindowLongA(hWnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(fullWidth, rcClient.right);

    // The values decide: something to scroll shows the bar, nothing hides it, unless asked to stay.
    SetValues(hWnd, SB_VERT, 0, 50, 10, 0);
    EXPECT_EQ(WS_VSCROLL, ::GetWindowLongA(hWnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    SetValues(hWnd, SB_VERT, 0, 5, 10, 0);
    EXPECT_EQ(0, ::GetWindowLongA(hWnd, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO keep = {sizeof(keep), SIF_ALL | SIF_DISABLENOSCROLL, 0, 5, 10, 0, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &keep, TRUE);
    EXPECT_EQ(WS_VSCROLL, ::GetWindowLongA(hWnd, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(CScrollSkinWnd::FromHandle(hWnd)->GetBar(SB_VERT).IsActive()) << "shown, with nothing to scroll";
}

TEST_F(ScrollSkinTest, TheBarsTakeTheirRoomAnswerHitTestsAndMoveLeftWithTheExtendedStyle) {
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    ASSERT_TRUE(ScrollSkinSetArrowSize(hWnd, SB_BOTH, 20, 18));
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    RECT rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    const LONG border = ::GetSystemMetrics(SM_CXBORDER);
    EXPECT_EQ(rcWindow.right - rcWindow.left - 2 * border - 18, rcClient.right);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top - 2 * border - 18, rcClient.bottom);

    const RECT rcVert = pWnd->GetBarRect(SB_VERT), rcHorz = pWnd->GetBarRect(SB_HORZ);
    EXPECT_EQ(18, rcVert.right - rcVert.left);
    EXPECT_EQ(rcWindow.right - border, rcVert.right);
    EXPECT_EQ(rcHorz.top, rcVert.bottom) << "the corner square is neither bar's";
    EXPECT_EQ(rcVert.left, rcHorz.right);
    EXPECT_EQ(HTVSCROLL, ::SendMessageA(hWnd, WM_NCHITTEST, 0, ScreenParam(Centre(rcVert))));
    EXPECT_EQ(HTHSCROLL, ::SendMessageA(hWnd, WM_NCHITTEST, 0, ScreenParam(Centre(rcHorz))));
    EXPECT_EQ(HTCLIENT, ::SendMessageA(hWnd, WM_NCHITTEST, 0, ScreenParam(POINT{rcWindow.left + 50, rcWindow.top + 50})));

    // The left-scroll-bar extended style moves the vertical bar to the left edge.
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, WS_EX_LEFTSCROLLBAR);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_TRUE(pWnd->IsLeftScrollBar());
    POINT origin = {0, 0};
    ::ClientToScreen(hWnd, &origin);
    EXPECT_EQ(rcWindow.left + border + 18, origin.x);
    EXPECT_EQ(rcWindow.left + border, pWnd->GetBarRect(SB_VERT).left);
    EXPECT_EQ(rcWindow.left + border + 18, pWnd->GetBarRect(SB_HORZ).left);

    // No room: a window lower than the horizontal bar shows none.
    HWND hFlat = Window(WS_VSCROLL | WS_HSCROLL, 0, 300, 16);
    ASSERT_EQ(1, ScrollSkinAttach(hFlat));
    EXPECT_FALSE(CScrollSkinWnd::FromHandle(hFlat)->GetBar(SB_HORZ).bShown);
}

TEST_F(ScrollSkinTest, TheNonClientAreaShowsTheSkinsBarsOnScreen) {
    CSkinRegistry::Instance().InstallSkin(MakeScrollBarSkin());
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    ASSERT_TRUE(ScrollSkinSetArrowSize(hWnd, SB_BOTH, 16, 16));
    SetValues(hWnd, SB_VERT, 0, 99, 10, 0);
    SetValues(hWnd, SB_HORZ, 0, 99, 50, 0);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(50);
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    CScreenshot shot;
    ASSERT_TRUE(shot.CaptureSettledWindow(hWnd, 3000));
    auto pixel = [&](LONG x, LONG y) { return shot.GetPixel(x - rcWindow.left, y - rcWindow.top); };
    const RECT rcVert = pWnd->GetBarRect(SB_VERT), rcHorz = pWnd->GetBarRect(SB_HORZ);
    EXPECT_EQ(ScrollTestColor::ARROW1, pixel(rcVert.left + 3, rcVert.top + 3));
    EXPECT_EQ(ScrollTestColor::ARROW1_MARK, pixel(rcVert.right - 3, rcVert.top + 3));
    EXPECT_EQ(ScrollTestColor::ARROW2, pixel(rcVert.left + 8, rcVert.bottom - 3));
    EXPECT_EQ(ScrollTestColor::THUMB, pixel(rcVert.left + 8, rcVert.top + 16 + 3));
    EXPECT_EQ(ScrollTestColor::ARROW1_MARK, pixel(rcHorz.left + 3, rcHorz.top + 3));
    EXPECT_EQ(ScrollTestColor::SIZE_BOX, pixel(rcVert.left + 8, rcHorz.top + 8));
    shot.SavePng("scrollskin_test_bars.png");
}

TEST_F(ScrollSkinTest, TheSystemsFunctionsReachTheSkinnedBarsOfListViewsAndOnlyThose) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    // A plain window read through the system before the interception is the reference.
    auto change = [](HWND hWnd) {
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 200, 20, 37, 0};
        ::SetScrollInfo(hWnd, SB_VERT, &si, FALSE);
        ::SetScrollRange(hWnd, SB_HORZ, 10, 90, FALSE);
        ::SetScrollPos(hWnd, SB_HORZ, 55, FALSE);
    };
    auto read = [](HWND hWnd) {
        std::vector<int> v;
        for (int bar : {SB_HORZ, SB_VERT}) {
            SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
            v.push_back(::GetScrollInfo(hWnd, bar, &si));
            v.insert(v.end(), {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos});
            v.push_back(::GetScrollPos(hWnd, bar));
        }
        return v;
    };
    HWND hReference = Window();
    change(hReference);
    const std::vector<int> system = read(hReference);

    HWND hSkinned = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hSkinned)); // registers the skinned bars with the interception
    ASSERT_EQ(I::FUNCTION_COUNT, I::InstallAll());
    HWND hPlain = Window();
    change(hPlain);
    EXPECT_EQ(system, read(hPlain)) << "a plain window answers as the system does";
    EXPECT_EQ(system, read(hReference));
    change(hSkinned);
    EXPECT_EQ(37, InfoOf(hSkinned, SB_VERT).nPos) << "the skinned window's calls land in its bars";
    EXPECT_EQ(55, ScrollSkinGetPos(hSkinned, SB_HORZ));
    SCROLLINFO untouched = {sizeof(untouched), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(I::SystemGetScrollInfo(hSkinned, SB_VERT, &untouched) && untouched.nPos == 37);

    // A list view's own calls.
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 250, 180, hPlain,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hList);
    ASSERT_EQ(1, ScrollSkinAttach(hList));
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 100; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char *>("row");
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    const SCROLLINFO list = InfoOf(hList, SB_VERT);
    EXPECT_EQ(99, list.nMax);
    EXPECT_GT(list.nPage, 0u);
    EXPECT_TRUE(::GetWindowLongA(hList, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(CScrollSkinWnd::FromHandle(hList)->GetBar(SB_VERT).bShown);
    SCROLLINFO systemList = {sizeof(systemList), SIF_ALL, 0, 0, 0, 0, 0};
    I::SystemGetScrollInfo(hList, SB_VERT, &systemList);
    EXPECT_NE(99, systemList.nMax) << "the system's bar never heard of the rows";

    ::SendMessageA(hList, LVM_ENSUREVISIBLE, 60, FALSE);
    const int top = static_cast<int>(::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 0);
    EXPECT_EQ(top, ScrollSkinGetPos(hList, SB_VERT));
    ::SendMessageA(hList, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(top + 1, ::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(top + 1, ScrollSkinGetPos(hList, SB_VERT));
    ::SendMessageA(hList, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(150, 150));
    const int wheeled = static_cast<int>(::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(wheeled, top + 1) << "the wheel still scrolls";
    EXPECT_EQ(wheeled, ScrollSkinGetPos(hList, SB_VERT));
    // Emptied, the list's position comes back with the shrunk range (the list reads it back to move its rows).
    ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(0, ScrollSkinGetPos(hList, SB_VERT));
    EXPECT_FALSE(::GetWindowLongA(hList, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ScrollSkinTest, AnArrowHeldRepeatsAfter300MsThenEvery55AndPausesOffTheArrow) {
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    SetValues(hWnd, SB_VERT, 0, 1000, 10, 500);
    const RECT rcVert = CScrollSkinWnd::FromHandle(hWnd)->GetBarRect(SB_VERT);
    const POINT onArrow = {(rcVert.left + rcVert.right) / 2, rcVert.bottom - 3};
    const POINT offArrow = {rcVert.left - 40, rcVert.bottom - 3};
    ASSERT_TRUE(::SetCursorPos(onArrow.x, onArrow.y));

    // Press, hold 700 ms, leave the arrow for 330 ms, come back for 300 ms, release.
    std::vector<DWORD> firstTicks, ticks;
    DWORD pressTime = 0, leftAt = 0, backAt = 0;
    auto watch = [&](const MSG &msg) {
        if (msg.message == WM_NCLBUTTONDOWN)
            pressTime = msg.time;
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == CScrollSkinWnd::TIMER_FIRST_REPEAT)
            firstTicks.push_back(msg.time);
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == CScrollSkinWnd::TIMER_REPEAT)
            ticks.push_back(msg.time);
    };
    ::PostMessageA(hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(onArrow));
    Pump(700, watch);
    ASSERT_TRUE(::SetCursorPos(offArrow.x, offArrow.y));
    leftAt = ::GetTickCount();
    const size_t sentBeforeLeaving = g_requests.size();
    Pump(330, watch);
    const size_t sentWhileAway = g_requests.size() - sentBeforeLeaving;
    const size_t ticksAway = ticks.size();
    ASSERT_TRUE(::SetCursorPos(onArrow.x, onArrow.y));
    backAt = ::GetTickCount();
    Pump(300, watch);
    ::SendMessageA(hWnd, WM_LBUTTONUP, 0, ClientParam(hWnd, onArrow));
    Pump(120, watch);

    ASSERT_GE(g_requests.size(), 8u);
    EXPECT_EQ(WM_VSCROLL, g_requests[0].message);
    EXPECT_EQ(SB_LINEDOWN, g_requests[0].code);
    EXPECT_EQ(pressTime, g_requests[0].time) << "the first request comes at once";
    ASSERT_EQ(1u, firstTicks.size()) << "one first-repeat tick";
    EXPECT_GE(firstTicks[0] - pressTime, 300u - 1);
    EXPECT_EQ(0, std::count_if(g_requests.begin(), g_requests.end(),
                               [&](const Request &r) { return r.time == firstTicks[0]; }))
        << "nothing is sent at the 300 ms tick itself";
    // The second request: the first 55 ms tick after the delay.
    const DWORD second = g_requests[1].time;
    EXPECT_GE(second - pressTime, 355u - 2);
    EXPECT_LT(second - pressTime, 355u + 200);
    EXPECT_GE(second - firstTicks[0], 55u - 2);
    // Then one per tick, 55 ms apart, while the pointer is on the arrow. A periodic timer's tick that comes late
    // leaves the next one less than a period behind it, so single gaps vary; on average they are 55 ms.
    ASSERT_GE(sentBeforeLeaving, 5u);
    for (size_t i = 2; i < sentBeforeLeaving; ++i) {
        EXPECT_EQ(SB_LINEDOWN, g_requests[i].code);
        EXPECT_GE(g_requests[i].time - g_requests[i - 1].time, 55u - 20) << i;
        EXPECT_LT(g_requests[i].time - g_requests[i - 1].time, 55u + 150) << i;
    }
    const double average = double(g_requests[sentBeforeLeaving - 1].time - second) / double(sentBeforeLeaving - 2);
    EXPECT_GE(average, 55.0 - 2);
    EXPECT_LT(average, 55.0 + 30);
    EXPECT_EQ(0u, sentWhileAway) << "paused off the arrow";
    EXPECT_GE(ticksAway, 2u) << "the repeat timer kept running meanwhile";
    // Back on the arrow: requests resume with the next tick, no new delay.
    auto resumed = std::find_if(g_requests.begin() + sentBeforeLeaving, g_requests.end(),
                                [](const Request &r) { return r.code == SB_LINEDOWN; });
    ASSERT_NE(g_requests.end(), resumed);
    EXPECT_LT(resumed->time - backAt, 55u + 150);
    EXPECT_GE(resumed->time, backAt);
    EXPECT_GE(backAt - leftAt, 330u - 2);
    // Released: the end request, and no more ticks.
    EXPECT_EQ(SB_ENDSCROLL, g_requests.back().code);
    EXPECT_EQ(nullptr, ::GetCapture());
    const size_t ticksAtRelease = ticks.size();
    Pump(150, watch);
    EXPECT_EQ(ticksAtRelease, ticks.size());
}

TEST_F(ScrollSkinTest, ADraggedThumbSnapsBackFarFromTheBarResumesAndIgnoresRangeChanges) {
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    ASSERT_EQ(I::FUNCTION_COUNT, I::InstallAll());
    ASSERT_TRUE(ScrollSkinSetArrowSize(hWnd, SB_BOTH, 16, 16));
    SetValues(hWnd, SB_VERT, 0, 99, 10, 0);
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    const RECT rc = pWnd->GetBarRect(SB_VERT);
    const G::Bar geometry = pWnd->GetBar(SB_VERT).Geometry(rc);
    const G::Thumb thumb = G::GetThumb(geometry);
    const LONG x = (rc.left + rc.right) / 2, grab = rc.top + 16 + thumb.nSize / 2;
    auto move = [&](LONG px, LONG py) { ::SendMessageA(hWnd, WM_MOUSEMOVE, 0, ClientParam(hWnd, POINT{px, py})); };
    auto last = [&]() { return g_requests.empty() ? Request{0, -1, -1, 0} : g_requests.back(); };

    ::SendMessageA(hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(POINT{x, grab}));
    ASSERT_TRUE(pWnd->IsThumbTracking());
    EXPECT_EQ(hWnd, ::GetCapture());
    EXPECT_TRUE(g_requests.empty()) << "pressing the thumb sends nothing";

    move(x, grab + 50);
    const int dragged = G::PositionAt(geometry, thumb.nSize, 50);
    ASSERT_GT(dragged, 0);
    EXPECT_EQ(SB_THUMBTRACK, last().code);
    EXPECT_EQ(dragged, last().pos);
    EXPECT_EQ(dragged, InfoOf(hWnd, SB_VERT).nTrackPos);
    EXPECT_EQ(0, InfoOf(hWnd, SB_VERT).nPos) << "the position is the window's to set";

    // SetScrollRange during the drag changes nothing.
    EXPECT_EQ(0, ::SetScrollRange(hWnd, SB_VERT, 0, 500, TRUE));
    EXPECT_EQ(99, InfoOf(hWnd, SB_VERT).nMax);

    const struct {
        const char *what;
        POINT pt;
        int pos; // -1: no new request
    } steps[] = {
        {"24 pixels to the side: still tracking", {rc.right + 23, grab + 50}, -1},
        {"25 pixels to the side: snapped back", {rc.right + 24, grab + 50}, 0},
        {"back on the bar: resumed", {x, grab + 50}, dragged},
        {"48 pixels beyond the end: held at the end", {x, rc.bottom + 47}, 90},
        {"49 pixels beyond the end: snapped back", {x, rc.bottom + 48}, 0},
        {"49 pixels before the start: still snapped back", {x, rc.top - 49}, -1},
        {"48 pixels before the start: held at the start", {x, rc.top - 48}, -1},
        {"back in the middle", {x, grab + 50}, dragged},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        const size_t before = g_requests.size();
        move(step.pt.x, step.pt.y);
        if (step.pos < 0) {
            EXPECT_EQ(before, g_requests.size());
        } else {
            ASSERT_EQ(before + 1, g_requests.size());
            EXPECT_EQ(SB_THUMBTRACK, last().code);
            EXPECT_EQ(step.pos, last().pos);
        }
    }

    g_requests.clear();
    ::SendMessageA(hWnd, WM_LBUTTONUP, 0, ClientParam(hWnd, POINT{x, grab + 50}));
    ASSERT_EQ(2u, g_requests.size());
    EXPECT_EQ(SB_THUMBPOSITION, g_requests[0].code);
    EXPECT_EQ(dragged, g_requests[0].pos);
    EXPECT_EQ(SB_ENDSCROLL, g_requests[1].code);
    EXPECT_FALSE(pWnd->IsThumbTracking());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(1, ::SetScrollRange(hWnd, SB_VERT, 0, 500, TRUE)) << "after the drag the range changes again";
    EXPECT_EQ(500, InfoOf(hWnd, SB_VERT).nMax);
}

TEST_F(ScrollSkinTest, HoverFollowsThePointerOverTheBarAndEndsWhenItLeaves) {
    HWND hWnd = Window();
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    ASSERT_TRUE(ScrollSkinSetStyle(hWnd, SB_BOTH, ScrollSkinBar::STYLE_HOT));
    SetValues(hWnd, SB_VERT, 0, 99, 10, 0);
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hWnd);
    const RECT rc = pWnd->GetBarRect(SB_VERT);
    const POINT onArrow = {(rc.left + rc.right) / 2, rc.bottom - 3};
    const POINT onTrack = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 + 20};
    int hoverTicks = 0;
    auto watch = [&](const MSG &msg) {
        hoverTicks += msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == CScrollSkinWnd::TIMER_HOVER;
    };

    ASSERT_TRUE(::SetCursorPos(onArrow.x, onArrow.y));
    ::SendMessageA(hWnd, WM_NCMOUSEMOVE, HTVSCROLL, ScreenParam(onArrow));
    EXPECT_EQ(G::PART_NONE, CScrollSkinWnd::GetHotPart(hWnd, SB_VERT)) << "the timer finds the hot part";
    Pump(100, watch);
    EXPECT_GT(hoverTicks, 0);
    EXPECT_EQ(G::PART_RIGHT_ARROW, CScrollSkinWnd::GetHotPart(hWnd, SB_VERT));
    ASSERT_TRUE(::SetCursorPos(onTrack.x, onTrack.y));
    Pump(100, watch);
    EXPECT_EQ(G::PART_PAGE_RIGHT, CScrollSkinWnd::GetHotPart(hWnd, SB_VERT));
    ASSERT_TRUE(::SetCursorPos(rc.left - 30, onTrack.y));
    Pump(100, watch);
    EXPECT_EQ(G::PART_NONE, CScrollSkinWnd::GetHotPart(hWnd, SB_VERT));
    hoverTicks = 0;
    Pump(100, watch);
    EXPECT_EQ(0, hoverTicks) << "the hover timer is gone";
}

TEST_F(ScrollSkinTest, LosingTheCaptureEndsTheClick) {
    HWND hWnd = Window();
    HWND hOther = Window(0);
    ASSERT_EQ(1, ScrollSkinAttach(hWnd));
    SetValues(hWnd, SB_VERT, 0, 1000, 10, 500);
    const RECT rc = CScrollSkinWnd::FromHandle(hWnd)->GetBarRect(SB_VERT);
    const POINT onArrow = {(rc.left + rc.right) / 2, rc.top + 3};
    ASSERT_TRUE(::SetCursorPos(onArrow.x, onArrow.y));
    ::SendMessageA(hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(onArrow));
    ASSERT_EQ(hWnd, ::GetCapture());
    ASSERT_EQ(1u, g_requests.size());
    EXPECT_EQ(SB_LINEUP, g_requests[0].code);
    ::SetCapture(hOther);
    ASSERT_EQ(2u, g_requests.size());
    EXPECT_EQ(SB_ENDSCROLL, g_requests[1].code);
    Pump(500);
    EXPECT_EQ(2u, g_requests.size()) << "no repeat without the button";
    ::ReleaseCapture();
}

TEST_F(ScrollSkinTest, AListKeepsItsRowsAndBarsOnScreenWhenThePointerLeavesTheBar) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    CSkinRegistry::Instance().InstallSkin(MakeScrollBarSkin());
    HWND hParent = Window(0, 0, 320, 260);
    HWND hList = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300,
                                   240, hParent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hList);
    ASSERT_EQ(I::FUNCTION_COUNT, I::InstallAll());
    ASSERT_EQ(1, ScrollSkinAttach(hList));
    ASSERT_TRUE(ScrollSkinSetArrowSize(hList, SB_BOTH, 16, 16));
    ASSERT_TRUE(ScrollSkinSetStyle(hList, SB_BOTH, ScrollSkinBar::STYLE_HOT));
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 400;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 100; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char *>("WWWWWWWWWWWW");
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    Pump(50);
    CScrollSkinWnd *pWnd = CScrollSkinWnd::FromHandle(hList);
    const RECT rcBar = pWnd->GetBarRect(SB_VERT);
    RECT rcList;
    ::GetWindowRect(hList, &rcList);
    auto check = [&](const char *pszWhen) {
        SCOPED_TRACE(pszWhen);
        CScreenshot shot;
        ASSERT_TRUE(shot.CaptureSettledWindow(hList, 3000));
        const RECT rcRows = {4, 4, 150, 150};
        EXPECT_GT(shot.CountNear(rcRows, RGB(0, 0, 0), 60), 50) << "the rows' text is on screen";
        EXPECT_EQ(ScrollTestColor::ARROW2, shot.GetPixel(rcBar.left - rcList.left + 8, rcBar.bottom - rcList.top - 3));
        shot.SavePng(std::string("scrollskin_list_") + pszWhen + ".png");
    };
    check("before");
    const POINT onBar = {(rcBar.left + rcBar.right) / 2, (rcBar.top + rcBar.bottom) / 2};
    ASSERT_TRUE(::SetCursorPos(onBar.x, onBar.y));
    ::SendMessageA(hList, WM_NCMOUSEMOVE, HTVSCROLL, ScreenParam(onBar));
    Pump(100);
    check("hovered");
    ASSERT_TRUE(::SetCursorPos(rcBar.left - 100, onBar.y));
    Pump(100);
    EXPECT_EQ(G::PART_NONE, CScrollSkinWnd::GetHotPart(hList, SB_VERT));
    check("left");
}
