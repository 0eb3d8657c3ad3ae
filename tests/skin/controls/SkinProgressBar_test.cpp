// Progress bars in a dialog: the painter takes the control's value over and answers its messages (limits, stepping,
// clamping), hands the value back when it goes, and draws the bar squeezed or uncovered, turned when vertical.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "platform/WindowDC.h"
#include "skin/SkinProgressObject.h"
#include "skin/controls/SkinProgressBar.h"

using namespace skincontrols;

namespace {

const WORD kBar = 401;

class SkinProgressBarTest : public SkinControlTest {
protected:
    // A bordered progress bar of 202 x 22 pixels (a client area of 200 x 20), taken over by its painter.
    HWND CreateBar(DWORD style = 0) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add(PROGRESS_CLASSA, "", style, kBar);
        HWND hDlg = CreateDialogFrom(b);
        if (!hDlg)
            return nullptr;
        // A one-pixel edge (the dialog manager and the control both drop a plain border).
        HWND hBar = ::GetDlgItem(hDlg, kBar);
        ::SetWindowLongPtrA(hBar, GWL_EXSTYLE, ::GetWindowLongPtrA(hBar, GWL_EXSTYLE) | WS_EX_STATICEDGE);
        const bool bVertical = (style & PBS_VERTICAL) != 0;
        ::SetWindowPos(hBar, nullptr, 10, 10, bVertical ? 22 : 202, bVertical ? 202 : 22,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Pump();
        return hBar;
    }
    static CSkinProgressObject &Object() {
        return *static_cast<CSkinProgressObject *>(CSkinRegistry::Instance().GetSkin().FindObject("ProgressBar"));
    }
};

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(hWnd, message, wParam, lParam);
}

} // namespace

TEST_F(SkinProgressBarTest, TakesTheValueOverAndKeepsItWithinTheLimits) {
    HWND hBar = CreateBar();
    CSkinProgressBar *pBar = Painter<CSkinProgressBar>(hBar);
    ASSERT_NE(nullptr, pBar);
    ASSERT_TRUE(pBar->IsEmulating());
    // The control's defaults, and its step found by stepping once from the lower limit.
    EXPECT_EQ(0, pBar->GetLower());
    EXPECT_EQ(100, pBar->GetUpper());
    EXPECT_EQ(10, pBar->GetStep());

    // PBM_SETRANGE moves a position outside the new range to the nearer limit, and answers the previous range.
    EXPECT_EQ(0, Send(hBar, PBM_SETPOS, 50));
    EXPECT_EQ(MAKELONG(0, 100), Send(hBar, PBM_SETRANGE, 0, MAKELPARAM(0, 20)));
    EXPECT_EQ(20, Send(hBar, PBM_GETPOS));
    EXPECT_EQ(MAKELONG(0, 20), Send(hBar, PBM_SETRANGE, 0, MAKELPARAM(30, 60)));
    EXPECT_EQ(30, Send(hBar, PBM_GETPOS));
    EXPECT_EQ(MAKELONG(30, 60), Send(hBar, PBM_SETRANGE32, 0, 10));
    EXPECT_EQ(10, Send(hBar, PBM_GETPOS));
    PBRANGE range = {-1, -1};
    EXPECT_EQ(0, Send(hBar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
    EXPECT_EQ(10, Send(hBar, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(10, range.iHigh);

    // Stepping at the upper limit stays there; it never wraps, however large the step.
    EXPECT_EQ(10, Send(hBar, PBM_SETSTEP, 4));
    EXPECT_EQ(10, Send(hBar, PBM_STEPIT));
    EXPECT_EQ(10, Send(hBar, PBM_GETPOS));
    Send(hBar, PBM_SETPOS, 8);
    EXPECT_EQ(8, Send(hBar, PBM_STEPIT));
    EXPECT_EQ(10, Send(hBar, PBM_GETPOS));
    Send(hBar, PBM_SETSTEP, 0x7FFFFFFF);
    Send(hBar, PBM_STEPIT);
    EXPECT_EQ(10, Send(hBar, PBM_GETPOS));
    EXPECT_EQ(10, Send(hBar, PBM_DELTAPOS, static_cast<WPARAM>(-30)));
    EXPECT_EQ(0, Send(hBar, PBM_GETPOS)); // a negative delta stops at the lower limit
    EXPECT_EQ(static_cast<LRESULT>(CLR_DEFAULT), Send(hBar, PBM_SETBARCOLOR, 0, RGB(1, 2, 3)));

    // A skin without a progress object: the painter goes and the control has the value it had.
    Send(hBar, PBM_SETRANGE32, 5, 50);
    Send(hBar, PBM_SETPOS, 17);
    Send(hBar, PBM_SETSTEP, 3);
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin({SKIN_KIND_PROGRESS}));
    EXPECT_EQ(nullptr, Find(hBar));
    EXPECT_EQ(17, Send(hBar, PBM_GETPOS));
    EXPECT_EQ(5, Send(hBar, PBM_GETRANGE, TRUE));
    EXPECT_EQ(50, Send(hBar, PBM_GETRANGE, FALSE));
    Send(hBar, PBM_SETPOS, 5);
    Send(hBar, PBM_STEPIT);
    EXPECT_EQ(8, Send(hBar, PBM_GETPOS));
}

TEST_F(SkinProgressBarTest, TheBarIsSqueezedOrUncoveredAndAnEmptyRangeShowsNone) {
    HWND hBar = CreateBar();
    ASSERT_NE(nullptr, Painter<CSkinProgressBar>(hBar));
    const COLORREF frame = BlockColor(B_PROGRESS_FRAME);
    // Inner area: 2 to 198 (the frame's margins); half of 196 is 98.
    Send(hBar, PBM_SETRANGE32, 0, 100);
    Send(hBar, PBM_SETPOS, 50);
    {
        CWindowPixels pixels(hBar);
        EXPECT_EQ(frame, pixels.At(1, 10));
        EXPECT_EQ(kHalfLeft, pixels.At(2, 10));
        EXPECT_EQ(kHalfRight, pixels.At(90, 10)); // the whole artwork squeezed into the filled part
        EXPECT_EQ(frame, pixels.At(101, 10));
    }
    Object().m_dwReveal = 1;
    ::InvalidateRect(hBar, nullptr, TRUE);
    {
        // Uncovered: the left part of the artwork laid out over the full width, its left half at 50 %.
        CWindowPixels pixels(hBar);
        EXPECT_EQ(kHalfLeft, pixels.At(2, 10));
        EXPECT_EQ(kHalfLeft, pixels.At(90, 10));
        EXPECT_EQ(kHalfLeft, pixels.At(99, 10));
        EXPECT_EQ(frame, pixels.At(100, 10));
        EXPECT_EQ(frame, pixels.At(150, 10));
    }
    // Lower and upper limit equal: no bar at all.
    Send(hBar, PBM_SETRANGE32, 5, 5);
    Send(hBar, PBM_SETPOS, 5);
    {
        CWindowPixels pixels(hBar);
        EXPECT_EQ(0, pixels.Count(RECT{0, 0, 200, 20}, kHalfLeft));
        EXPECT_EQ(0, pixels.Count(RECT{0, 0, 200, 20}, kHalfRight));
        EXPECT_EQ(200 * 20, pixels.Count(RECT{0, 0, 200, 20}, frame));
    }
    // The border is the frame image too, not the control's own edge.
    CWindowDC dc(hBar);
    EXPECT_EQ(frame, ::GetPixel(dc, 0, 0));
    EXPECT_EQ(frame, ::GetPixel(dc, 201, 21));
}

TEST_F(SkinProgressBarTest, AVerticalBarFillsFromTheBottom) {
    HWND hBar = CreateBar(PBS_VERTICAL);
    ASSERT_NE(nullptr, Painter<CSkinProgressBar>(hBar));
    Send(hBar, PBM_SETRANGE32, 0, 100);
    Send(hBar, PBM_SETPOS, 50);
    CWindowPixels pixels(hBar);
    ASSERT_EQ(20, pixels.Width());
    ASSERT_EQ(200, pixels.Height());
    // The artwork's left edge lies at the bottom: the squeezed bar shows its left half lowest.
    EXPECT_EQ(kHalfLeft, pixels.At(10, 197));
    EXPECT_EQ(kHalfRight, pixels.At(10, 110));
    EXPECT_EQ(BlockColor(B_PROGRESS_FRAME), pixels.At(10, 90));
    EXPECT_EQ(BlockColor(B_PROGRESS_FRAME), pixels.At(10, 1));
}
