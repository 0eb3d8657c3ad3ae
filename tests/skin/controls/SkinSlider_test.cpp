// Track bars in a dialog: frame, channel and thumb where the control puts them, the thumb following the value and a
// drag with the left button (and nothing painted for moves without it), vertical bars turned.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinSlider.h"

using namespace skincontrols;

namespace {

const WORD kSlider = 501;

class SkinSliderTest : public SkinControlTest {
protected:
    HWND CreateSlider(DWORD style, int cx, int cy) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add(TRACKBAR_CLASSA, "", style, kSlider);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kSlider, 10, 10, cx, cy) : nullptr;
    }
};

RECT ThumbRect(HWND hSlider) {
    RECT rc = {0, 0, 0, 0};
    ::SendMessageA(hSlider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

} // namespace

TEST_F(SkinSliderTest, TheThumbIsDrawnWhereTheValuePutsItAndFollowsADrag) {
    HWND hSlider = CreateSlider(TBS_HORZ, 200, 30);
    ASSERT_NE(nullptr, Painter<CSkinSlider>(hSlider));
    EXPECT_TRUE(::GetWindowLongPtrA(hSlider, GWL_STYLE) & TBS_BOTH);
    ::SendMessageA(hSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    ::SendMessageA(hSlider, TBM_SETPOS, TRUE, 10);
    const RECT first = ThumbRect(hSlider);
    RECT channel = {0, 0, 0, 0};
    ::SendMessageA(hSlider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    {
        CWindowPixels pixels(hSlider);
        EXPECT_EQ(BlockColor(B_SLIDER_THUMB), pixels.At(Centre(first).x, Centre(first).y));
        EXPECT_EQ(BlockColor(B_SLIDER_CHANNEL), pixels.At(150, Centre(channel).y));
        EXPECT_EQ(BlockColor(B_SLIDER_FRAME), pixels.At(150, 0));
    }

    ::SendMessageA(hSlider, TBM_SETPOS, TRUE, 80);
    const RECT second = ThumbRect(hSlider);
    ASSERT_GT(second.left, first.right);
    {
        CWindowPixels pixels(hSlider);
        EXPECT_EQ(BlockColor(B_SLIDER_THUMB), pixels.At(Centre(second).x, Centre(second).y));
        EXPECT_NE(BlockColor(B_SLIDER_THUMB), pixels.At(Centre(first).x, Centre(first).y));
    }

    // Moves without the left button paint nothing; a drag with it moves the painted thumb along.
    CPaintCounter counter;
    ASSERT_TRUE(counter.Subclass(hSlider));
    ::SendMessageA(hSlider, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    ::SendMessageA(hSlider, WM_MOUSEMOVE, 0, MAKELPARAM(40, 15));
    EXPECT_EQ(0, counter.paints);
    const POINT grab = Centre(second);
    ::SendMessageA(hSlider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    ::SendMessageA(hSlider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x - 100, grab.y));
    EXPECT_LT(0, counter.paints);
    const RECT dragged = ThumbRect(hSlider);
    EXPECT_LT(dragged.right, second.left);
    {
        CWindowPixels pixels(hSlider);
        EXPECT_EQ(BlockColor(B_SLIDER_THUMB), pixels.At(Centre(dragged).x, Centre(dragged).y));
        EXPECT_NE(BlockColor(B_SLIDER_THUMB), pixels.At(grab.x, grab.y));
    }
    ::SendMessageA(hSlider, WM_LBUTTONUP, 0, MAKELPARAM(grab.x - 100, grab.y));
    counter.Unsubclass();
}

TEST_F(SkinSliderTest, AVerticalSliderHasItsFrameAndChannelTurned) {
    HWND hSlider = CreateSlider(TBS_VERT, 30, 200);
    ASSERT_NE(nullptr, Painter<CSkinSlider>(hSlider));
    ::SendMessageA(hSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    ::SendMessageA(hSlider, TBM_SETPOS, TRUE, 0);
    const RECT thumb = ThumbRect(hSlider);
    CWindowPixels pixels(hSlider);
    ASSERT_EQ(30, pixels.Width());
    EXPECT_EQ(BlockColor(B_SLIDER_THUMB), pixels.At(Centre(thumb).x, Centre(thumb).y));
    // The channel runs down the bar, where the thumb travels.
    const POINT mid = {Centre(thumb).x, 150};
    EXPECT_EQ(BlockColor(B_SLIDER_CHANNEL), pixels.At(mid.x, mid.y));
    EXPECT_EQ(BlockColor(B_SLIDER_FRAME), pixels.At(1, 150));
    EXPECT_EQ(BlockColor(B_SLIDER_FRAME), pixels.At(28, 150));
}
