// The list view's shortened non-client paint, on real list controls: where it may stand in for the system's paint it
// draws the same pixels, and everywhere else it leaves the paint to the system.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/ListView.h"
#include "platform/ClientDC.h"
#include "platform/GdiCounter.h"
#include "platform/Handle.h"
#include "platform/SelectObject.h"
#include "platform/WindowDC.h"

namespace {

const COLORREF kMarker = RGB(255, 0, 255);

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The whole window as it is on the screen, one COLORREF per pixel, rows top down.
struct CPixels {
    LONG width = 0, height = 0;
    std::vector<COLORREF> data;
    COLORREF At(LONG x, LONG y) const { return data[static_cast<size_t>(y * width + x)]; }
};

CPixels Capture(HWND hWnd) {
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    CPixels pixels;
    pixels.width = wr.right - wr.left;
    pixels.height = wr.bottom - wr.top;
    CWindowDC window(hWnd);
    CBitmap bitmap(::CreateCompatibleBitmap(window, pixels.width, pixels.height));
    CDC memory(::CreateCompatibleDC(window));
    {
        CSelectObject select(memory, bitmap);
        ::BitBlt(memory, 0, 0, pixels.width, pixels.height, window, 0, 0, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bgr(static_cast<size_t>(pixels.width * pixels.height));
    ::GetDIBits(memory, bitmap.Get(), 0, static_cast<UINT>(pixels.height), bgr.data(), &info, DIB_RGB_COLORS);
    for (DWORD v : bgr)
        pixels.data.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    return pixels;
}

// Paints a window-relative rectangle in the marker colour, over whatever the system drew there.
void Mark(HWND hWnd, const RECT &rc) {
    CWindowDC dc(hWnd);
    CBrush brush(::CreateSolidBrush(kMarker));
    ::FillRect(dc, &rc, brush.Get());
}

// A window-relative rectangle as a region in screen coordinates, as WM_NCPAINT hands it over.
CRgn ScreenRegion(HWND hWnd, const RECT &rc) {
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    return CRgn(::CreateRectRgn(wr.left + rc.left, wr.top + rc.top, wr.left + rc.right, wr.top + rc.bottom));
}

class ListViewNcPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_hHost = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 420, 320,
                                    nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_hHost);
    }
    void TearDown() override {
        if (m_hHost)
            ::DestroyWindow(m_hHost);
        Pump();
    }

    // A report-mode list control filling the host, with enough rows for a vertical bar when rows > 20.
    HWND MakeList(DWORD style, DWORD exStyle, int rows) {
        HWND hList = ::CreateWindowExA(exStyle, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 0, 0,
                                       400, 300, m_hHost, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!hList)
            return nullptr;
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 200;
        char heading[] = "Row";
        column.pszText = heading;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        for (int i = 0; i < rows; ++i) {
            char text[16];
            wsprintfA(text, "%d", i);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text;
            ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        ::RedrawWindow(hList, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
        return hList;
    }

    HWND m_hHost = nullptr;
};

// Themed (as list controls are where a visual theme is in use) and in the classic look.
class ListViewEdgeTest : public ListViewNcPaintTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ListViewEdgeTest, APieceOfTheEdgeIsRepaintedAsTheSystemPaintsItAndTheBarsAreLeftAlone) {
    HWND hList = MakeList(0, WS_EX_CLIENTEDGE, 200);
    ASSERT_NE(nullptr, hList);
    if (!GetParam()) {
        ::SetWindowTheme(hList, L" ", L" "); // a class list that names no class: no theme
        ::RedrawWindow(hList, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
    }
    ASSERT_EQ(GetParam(), ::GetWindowTheme(hList) != nullptr) << "this system's look is not the one meant";
    ASSERT_TRUE(::GetWindowLongPtrA(hList, GWL_STYLE) & WS_VSCROLL);
    const CPixels reference = Capture(hList);
    RECT client;
    ::GetClientRect(hList, &client);
    const LONG edgeX = ::GetSystemMetrics(SM_CXEDGE), edgeY = ::GetSystemMetrics(SM_CYEDGE);
    ASSERT_GT(reference.width - 2 * edgeX, client.right) << "the vertical bar takes room beside the client area";

    // The top-left corner and the left edge's pieces, as a rounded corner of a window above would uncover them;
    // the bar's column is marked too, to see that it is not drawn over.
    const RECT corner = {0, 0, 12, 12};
    const RECT bar = {edgeX + client.right, edgeY, reference.width - edgeX, reference.height - edgeY};
    Mark(hList, corner);
    Mark(hList, bar);
    const CRgn update = ScreenRegion(hList, corner);
    CGdiCounterSnapshot gdi;
    EXPECT_TRUE(PaintClientEdgeOnly(hList, update.Get()));
    EXPECT_EQ("", gdi.ChangesSince());

    const CPixels after = Capture(hList);
    for (LONG y = 0; y < corner.bottom; ++y)
        for (LONG x = 0; x < corner.right; ++x) {
            const bool onEdge = x < edgeX || y < edgeY;
            if (onEdge) {
                ASSERT_EQ(reference.At(x, y), after.At(x, y)) << "edge pixel " << x << "," << y;
            } else {
                ASSERT_EQ(kMarker, after.At(x, y)) << "client pixel " << x << "," << y << " is not the frame's";
            }
        }
    EXPECT_EQ(kMarker, after.At(bar.left + 2, bar.top + 30)) << "the bar was drawn";
    // Outside the update the edge is not touched either.
    Mark(hList, RECT{0, 100, edgeX, 110});
    EXPECT_TRUE(PaintClientEdgeOnly(hList, update.Get()));
    EXPECT_EQ(kMarker, Capture(hList).At(0, 105));
}

INSTANTIATE_TEST_SUITE_P(Look, ListViewEdgeTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "Themed" : "Classic";
                         });

TEST_F(ListViewNcPaintTest, TheSystemPaintsWhenTheBarsTheWholeFrameOrAnotherFrameAreConcerned) {
    HWND hList = MakeList(0, WS_EX_CLIENTEDGE, 200);
    ASSERT_NE(nullptr, hList);
    RECT wr;
    ::GetWindowRect(hList, &wr);
    const LONG width = wr.right - wr.left, height = wr.bottom - wr.top;
    const LONG edgeX = ::GetSystemMetrics(SM_CXEDGE);

    // One pixel of the bar beside the edge is enough.
    const RECT touchingBar = {width - edgeX - 1, 0, width, 6};
    const CRgn barUpdate = ScreenRegion(hList, touchingBar);
    Mark(hList, touchingBar);
    EXPECT_FALSE(PaintClientEdgeOnly(hList, barUpdate.Get()));
    EXPECT_EQ(kMarker, Capture(hList).At(width - 1, 2)) << "nothing is drawn when the system is to paint";
    EXPECT_FALSE(PaintClientEdgeOnly(hList, reinterpret_cast<HRGN>(1)));
    EXPECT_FALSE(PaintClientEdgeOnly(hList, nullptr));
    const CRgn whole = ScreenRegion(hList, RECT{0, 0, width, height});
    EXPECT_FALSE(PaintClientEdgeOnly(hList, whole.Get()));

    // Without bars the system's paint is cheap: nothing to shorten.
    HWND hShort = MakeList(0, WS_EX_CLIENTEDGE, 2);
    ASSERT_NE(nullptr, hShort);
    ASSERT_FALSE(::GetWindowLongPtrA(hShort, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
    const CRgn shortCorner = ScreenRegion(hShort, RECT{0, 0, 4, 4});
    EXPECT_FALSE(PaintClientEdgeOnly(hShort, shortCorner.Get()));

    // Frames other than the client edge are the system's to draw.
    HWND hBordered = MakeList(WS_BORDER, 0, 200);
    ASSERT_NE(nullptr, hBordered);
    const CRgn borderCorner = ScreenRegion(hBordered, RECT{0, 0, 4, 4});
    EXPECT_FALSE(PaintClientEdgeOnly(hBordered, borderCorner.Get()));
    HWND hStatic = MakeList(0, WS_EX_STATICEDGE, 200);
    ASSERT_NE(nullptr, hStatic);
    const CRgn staticCorner = ScreenRegion(hStatic, RECT{0, 0, 4, 4});
    EXPECT_FALSE(PaintClientEdgeOnly(hStatic, staticCorner.Get()));
}

TEST_F(ListViewNcPaintTest, AListWithoutAnEdgeHasNothingOfTheFrameToDrawOutsideTheBars) {
    HWND hList = MakeList(0, 0, 200);
    ASSERT_NE(nullptr, hList);
    Mark(hList, RECT{0, 0, 6, 6});
    const CRgn update = ScreenRegion(hList, RECT{0, 0, 6, 6});
    EXPECT_TRUE(PaintClientEdgeOnly(hList, update.Get()));
    EXPECT_EQ(kMarker, Capture(hList).At(1, 1)) << "the client area is the control's own paint";
}

} // namespace
