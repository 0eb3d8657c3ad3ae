// Up-down controls in a dialog: the two halves' pieces for each pointer and button situation, entering with the left
// button held, leaving, disabled, and the horizontal control turned.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinSpin.h"

using namespace skincontrols;

namespace {

const WORD kSpin = 601;

class SkinSpinTest : public SkinControlTest {
protected:
    HWND CreateSpin(DWORD style, int cx, int cy) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add(UPDOWN_CLASSA, "", style, kSpin);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kSpin, 10, 10, cx, cy) : nullptr;
    }
};

struct Halves {
    COLORREF up, down;
};

Halves Read(HWND hSpin, bool bHorizontal) {
    CWindowPixels pixels(hSpin);
    return bHorizontal ? Halves{pixels.At(10, 10), pixels.At(30, 10)} : Halves{pixels.At(10, 10), pixels.At(10, 30)};
}

} // namespace

TEST_F(SkinSpinTest, EachHalfShowsItsStateAndEnteringWithTheButtonHeldPresses) {
    for (bool bHorizontal : {false, true}) {
        SCOPED_TRACE(bHorizontal ? "horizontal" : "vertical");
        HWND hSpin = bHorizontal ? CreateSpin(UDS_HORZ, 40, 20) : CreateSpin(0, 20, 40);
        CSkinSpin *pSpin = Painter<CSkinSpin>(hSpin);
        ASSERT_NE(nullptr, pSpin);
        // Points in the first (up) and second (down) half.
        const LPARAM up = MAKELPARAM(10, 10);
        const LPARAM down = bHorizontal ? MAKELPARAM(30, 10) : MAKELPARAM(10, 30);

        Halves h = Read(hSpin, bHorizontal);
        EXPECT_EQ(BlockColor(B_SPIN_UP_NORMAL), h.up);
        EXPECT_EQ(BlockColor(B_SPIN_DOWN_NORMAL), h.down);

        // Entered over the down half with the left button already held: pressed there, the up half normal.
        ::SendMessageA(hSpin, WM_MOUSEMOVE, MK_LBUTTON, down);
        EXPECT_EQ(CSkinSpin::STATE_DOWN_PRESSED, pSpin->GetButtonState());
        h = Read(hSpin, bHorizontal);
        EXPECT_EQ(BlockColor(B_SPIN_UP_NORMAL), h.up);
        EXPECT_EQ(BlockColor(B_SPIN_DOWN_PRESSED), h.down);

        ::SendMessageA(hSpin, WM_MOUSEMOVE, 0, up);
        h = Read(hSpin, bHorizontal);
        EXPECT_EQ(BlockColor(B_SPIN_UP_HOT), h.up);
        EXPECT_EQ(BlockColor(B_SPIN_DOWN_NORMAL), h.down);

        ::SendMessageA(hSpin, WM_LBUTTONDOWN, MK_LBUTTON, up);
        EXPECT_EQ(BlockColor(B_SPIN_UP_PRESSED), Read(hSpin, bHorizontal).up);
        ::SendMessageA(hSpin, WM_LBUTTONUP, 0, up);
        EXPECT_EQ(BlockColor(B_SPIN_UP_HOT), Read(hSpin, bHorizontal).up);

        ::SendMessageA(hSpin, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(CSkinSpin::STATE_NONE, pSpin->GetButtonState());
        h = Read(hSpin, bHorizontal);
        EXPECT_EQ(BlockColor(B_SPIN_UP_NORMAL), h.up);
        EXPECT_EQ(BlockColor(B_SPIN_DOWN_NORMAL), h.down);

        ::EnableWindow(hSpin, FALSE);
        h = Read(hSpin, bHorizontal);
        EXPECT_EQ(BlockColor(B_SPIN_UP_DISABLED), h.up);
        EXPECT_EQ(BlockColor(B_SPIN_DOWN_DISABLED), h.down);
    }
}
