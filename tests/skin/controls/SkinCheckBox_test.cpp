// Check boxes and radio buttons on real buttons in a dialog: the block each state draws (with the disabled blocks'
// fallbacks) and where the mark and the caption go for each alignment style, read back in pixels.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinRadioButton.h"

using namespace skincontrols;

namespace {

const WORD kBox = 201;

class SkinCheckBoxTest : public SkinControlTest {
protected:
    HWND CreateBox(DWORD style, const char *pszText, int cx = 200, int cy = 24) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add("Button", pszText, style, kBox);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kBox, 10, 10, cx, cy) : nullptr;
    }
};

// The bounding box of the pixels in rc that are not the colour.
RECT ExtentNot(const CWindowPixels &pixels, const RECT &rc, COLORREF background) {
    RECT box = {-1, -1, -1, -1};
    for (LONG y = rc.top; y < rc.bottom; ++y)
        for (LONG x = rc.left; x < rc.right; ++x) {
            if (pixels.At(x, y) == background)
                continue;
            box.left = box.left < 0 || x < box.left ? x : box.left;
            box.right = x > box.right ? x : box.right;
            box.top = box.top < 0 ? y : box.top;
            box.bottom = y;
        }
    return box;
}

} // namespace

TEST_F(SkinCheckBoxTest, EachStateDrawsItsBlockAndDisabledBoxesFallBackToBlockTwo) {
    const struct {
        DWORD style;
        DWORD kind;
    } boxes[] = {
        {BS_CHECKBOX, SKIN_KIND_CHECKBOX}, {BS_AUTO3STATE, SKIN_KIND_CHECKBOX}, {BS_RADIOBUTTON, SKIN_KIND_RADIO}};
    const struct {
        BOOL enabled;
        WPARAM check;
        int background, mark;
    } states[] = {
        {TRUE, BST_UNCHECKED, B_CHECK_BG0, B_CHECK_MARK0},
        {TRUE, BST_CHECKED, B_CHECK_BG1, B_CHECK_MARK1},
        // Blocks 3 and 4 are empty in this skin: block 2 answers for both disabled states.
        {FALSE, BST_UNCHECKED, B_CHECK_BG2, B_CHECK_MARK2},
        {FALSE, BST_CHECKED, B_CHECK_BG2, B_CHECK_MARK2},
    };
    for (const auto &box : boxes) {
        SCOPED_TRACE(box.style);
        HWND hBox = CreateBox(box.style, "");
        ASSERT_NE(nullptr, hBox);
        if (box.kind == SKIN_KIND_RADIO)
            ASSERT_NE(nullptr, Painter<CSkinRadioButton>(hBox));
        else
            ASSERT_NE(nullptr, Painter<CSkinCheckBox>(hBox));
        for (const auto &s : states) {
            SCOPED_TRACE(testing::Message() << "enabled " << s.enabled << ", check " << s.check);
            ::EnableWindow(hBox, s.enabled);
            ::SendMessageA(hBox, BM_SETCHECK, s.check, 0);
            CWindowPixels pixels(hBox);
            // The mark is 8 x 8 at the left, centred vertically; the background fills the rest.
            EXPECT_EQ(BlockColor(s.mark), pixels.At(4, 12));
            EXPECT_EQ(BlockColor(s.background), pixels.At(100, 2));
            EXPECT_EQ(BlockColor(s.background), pixels.At(4, 1));
        }
    }
}

TEST_F(SkinCheckBoxTest, MarkAndCaptionFollowTheAlignmentStyles) {
    const COLORREF bg = BlockColor(B_CHECK_BG0);
    const struct {
        DWORD style;
        const char *name;
    } cases[] = {{BS_CHECKBOX, "left"},
                 {BS_CHECKBOX | BS_CENTER, "centre"},
                 {BS_CHECKBOX | BS_RIGHT, "right"},
                 {BS_CHECKBOX | BS_LEFTTEXT, "mark at the right"},
                 {BS_CHECKBOX | BS_TOP, "top"},
                 {BS_CHECKBOX | BS_BOTTOM, "bottom"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HWND hBox = CreateBox(c.style, "WWW", 200, 40);
        ASSERT_NE(nullptr, hBox);
        CWindowPixels pixels(hBox);
        const bool bMarkRight = (c.style & BS_LEFTTEXT) != 0;
        const LONG markLeft = bMarkRight ? 192 : 0;
        const RECT textArea = bMarkRight ? RECT{0, 0, 192, 40} : RECT{8, 0, 200, 40};
        const RECT text = ExtentNot(pixels, textArea, bg);
        ASSERT_GE(text.left, 0) << "no caption pixels";
        const LONG textMiddle = (text.left + text.right) / 2, textRows = (text.top + text.bottom) / 2;
        const RECT mark = pixels.Extent(BlockColor(B_CHECK_MARK0));
        EXPECT_EQ(markLeft, mark.left);
        EXPECT_EQ(markLeft + 7, mark.right);
        switch (c.style & (BS_CENTER | BS_LEFTTEXT | BS_TOP | BS_BOTTOM)) {
        case 0:
            EXPECT_NEAR(10, text.left, 2); // two pixels after the mark
            break;
        case BS_CENTER:
            EXPECT_NEAR((10 + 200) / 2, textMiddle, 2);
            break;
        case BS_RIGHT:
            EXPECT_NEAR(199, text.right, 2);
            break;
        case BS_LEFTTEXT:
            EXPECT_NEAR(0, text.left, 2);
            break;
        case BS_TOP:
            EXPECT_EQ(0, mark.top);
            EXPECT_LT(textRows, 12);
            break;
        case BS_BOTTOM:
            EXPECT_EQ(32, mark.top);
            EXPECT_GT(textRows, 28);
            break;
        }
        if (!(c.style & (BS_TOP | BS_BOTTOM))) {
            EXPECT_EQ(16, mark.top); // centred: (40 - 8) / 2
            EXPECT_NEAR(20, textRows, 3);
        }
        ::DestroyWindow(::GetParent(hBox));
    }
}
