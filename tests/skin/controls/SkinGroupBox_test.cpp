// Group boxes on real buttons in a dialog: the caption plate's place for each alignment, a long caption clipped two
// pixels inside the edge, the frame below the caption's middle and the dialog's background through the rest.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinGroupBox.h"

using namespace skincontrols;

namespace {

const WORD kGroup = 301;

class SkinGroupBoxTest : public SkinControlTest {
protected:
    HWND CreateGroup(DWORD style, const char *pszText) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add("Button", pszText, BS_GROUPBOX | style, kGroup);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kGroup, 20, 20, 100, 60) : nullptr;
    }
};

// The columns of the first row of the caption plate (which the text never reaches: it lies inside the margins).
RECT CaptionColumns(const CWindowPixels &pixels) {
    const COLORREF caption = BlockColor(B_GROUP_CAPTION);
    RECT rc = {-1, 0, -1, 0};
    for (LONG x = 0; x < pixels.Width(); ++x)
        if (pixels.At(x, 0) == caption) {
            rc.left = rc.left < 0 ? x : rc.left;
            rc.right = x + 1;
        }
    return rc;
}

} // namespace

TEST_F(SkinGroupBoxTest, ALongLeftAlignedCaptionIsClippedTwoPixelsInsideTheRightEdge) {
    HWND hGroup = CreateGroup(0, "A caption much longer than the box is wide");
    ASSERT_NE(nullptr, Painter<CSkinGroupBox>(hGroup));
    EXPECT_TRUE(::GetWindowLongPtrA(hGroup, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    CWindowPixels pixels(hGroup);
    const RECT columns = CaptionColumns(pixels);
    EXPECT_EQ(4, columns.left);
    EXPECT_EQ(98, columns.right);
    // Right of the plate, above the frame, the dialog's background shows through.
    for (LONG y = 0; y < 3; ++y) {
        EXPECT_EQ(kDialogBackground, pixels.At(98, y)) << y;
        EXPECT_EQ(kDialogBackground, pixels.At(99, y)) << y;
    }
    // The caption's text is there, in its colour record's colour, and stays inside the plate's margins.
    const RECT text = pixels.Extent(kGroupText);
    ASSERT_GE(text.left, 0);
    EXPECT_GE(text.left, 4 + 3);
    EXPECT_LE(text.right, 98 - 3 - 1);
    // The frame runs below the caption's middle; its inside is the dialog's.
    EXPECT_EQ(BlockColor(B_GROUP_FRAME), pixels.At(0, 40));
    EXPECT_EQ(BlockColor(B_GROUP_FRAME), pixels.At(99, 40));
    EXPECT_EQ(BlockColor(B_GROUP_FRAME), pixels.At(50, 59));
    EXPECT_EQ(kDialogBackground, pixels.At(50, 40));
}

TEST_F(SkinGroupBoxTest, ShortCaptionsSitLeftCentredOrRightAndANewTextRepaintsTheBackground) {
    const DWORD styles[] = {0, BS_CENTER, BS_RIGHT};
    for (DWORD style : styles) {
        SCOPED_TRACE(style);
        HWND hGroup = CreateGroup(style, "Ab");
        ASSERT_NE(nullptr, hGroup);
        CWindowPixels pixels(hGroup);
        const RECT columns = CaptionColumns(pixels);
        const LONG w = columns.right - columns.left;
        ASSERT_GT(w, 6);
        ASSERT_LT(w, 40);
        if (style == 0)
            EXPECT_EQ(4, columns.left);
        else if (style == BS_CENTER)
            EXPECT_EQ((100 - w) / 2, columns.left);
        else
            EXPECT_EQ(96, columns.right);

        // A longer text, then a shorter one: what the long one covered shows the dialog's background again.
        ::SetWindowTextA(hGroup, "A much longer caption");
        ::SetWindowTextA(hGroup, "Ab");
        CWindowPixels after(hGroup);
        EXPECT_EQ(columns.left, CaptionColumns(after).left);
        EXPECT_EQ(columns.right, CaptionColumns(after).right);
        const LONG outside = style == BS_RIGHT ? columns.left - 3 : columns.right + 2;
        EXPECT_EQ(kDialogBackground, after.At(outside, 1));
        ::DestroyWindow(::GetParent(hGroup));
    }
}
