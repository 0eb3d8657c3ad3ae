// Drawing one skinned scroll bar, read back in pixels: every part from the block of its state (with the normal
// block standing in for empty pieces), vertical bars turned so that the first arrow points up, short bars with two
// half arrows and no thumb, the size box, and the standard look when the skin has no scroll-bar object.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/GdiCounter.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/ScrollBarPainter.h"
#include "skin/controls/ScrollBarSkinDraw.h"
#include "skin/controls/ScrollSkinBar.h"
#include "tests/skin/support/ScrollBarTestSkin.h"
#include "tests/skin/support/SkinTestSupport.h"

namespace {
namespace C = ScrollTestColor;
typedef CScrollBarGeometry G;
const COLORREF kSentinel = RGB(1, 2, 3);

ScrollSkinBar MakeBar(int type, int nMin, int nMax, UINT page, int pos, int style = ScrollSkinBar::STYLE_HOT) {
    ScrollSkinBar bar = {};
    bar.nFlags = ScrollSkinBar::FLAG_WANTED;
    bar.bShown = TRUE;
    bar.info.cbSize = sizeof(SCROLLINFO);
    bar.info.nMin = nMin;
    bar.info.nMax = nMax;
    bar.info.nPage = page;
    bar.info.nPos = pos;
    bar.nArrowLength = bar.nArrowWidth = 16;
    bar.nType = type;
    bar.nStyle = style;
    bar.nMinThumb = 6;
    return bar;
}

CScrollBarPainter::Request MakeRequest(const ScrollSkinBar &bar, RECT rc, int pressed = G::PART_NONE,
                                       int hot = G::PART_NONE) {
    return CScrollBarPainter::Request{nullptr, &bar, rc, pressed, hot, hot != G::PART_NONE, nullptr};
}

class ScrollBarPainterTest : public ::testing::Test {
protected:
    void SetUp() override { CSkinRegistry::Instance().InstallSkin(MakeScrollBarSkin()); }
    void TearDown() override { CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin)); }
};
} // namespace

TEST_F(ScrollBarPainterTest, EachPartComesFromTheBlockOfItsState) {
    CTestCanvas canvas(220, 20, kSentinel);
    CGdiCounterSnapshot before;
    const RECT rc = {0, 0, 200, 16};
    ScrollSkinBar bar = MakeBar(SB_HORZ, 0, 99, 10, 45); // thumb at 92..109
    EXPECT_TRUE(CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc)));
    EXPECT_EQ(C::ARROW1_MARK, canvas.Pixel(3, 3));
    EXPECT_EQ(C::ARROW1, canvas.Pixel(12, 12));
    EXPECT_EQ(C::ARROW2, canvas.Pixel(190, 8));
    EXPECT_EQ(C::TRACK, canvas.Pixel(50, 8));
    EXPECT_EQ(C::TRACK, canvas.Pixel(150, 8));
    EXPECT_EQ(C::THUMB, canvas.Pixel(100, 8));
    // The thumb image sits inside the track image's top and bottom margins.
    EXPECT_EQ(C::TRACK, canvas.Pixel(100, TRACK_MARGIN - 1));
    EXPECT_EQ(C::THUMB, canvas.Pixel(100, TRACK_MARGIN));
    EXPECT_EQ(C::TRACK, canvas.Pixel(100, 16 - TRACK_MARGIN));
    EXPECT_EQ(kSentinel, canvas.Pixel(205, 8)) << "nothing outside the bar";
    EXPECT_EQ(kSentinel, canvas.Pixel(100, 17));

    const struct {
        const char *what;
        int pressed, hot;
        UINT disabledFlags;
        POINT at;
        COLORREF expected;
    } states[] = {
        {"pressed arrow", G::PART_LEFT_ARROW, G::PART_NONE, 0, {8, 8}, C::PRESSED_ARROW},
        {"hot arrow", G::PART_NONE, G::PART_RIGHT_ARROW, 0, {190, 8}, C::HOT_ARROW},
        {"disabled arrow", G::PART_NONE, G::PART_NONE, ScrollSkinBar::FLAG_RIGHT_DISABLED, {190, 8}, C::DISABLED_ARROW},
        {"a disabled arrow is never hot", G::PART_NONE, G::PART_LEFT_ARROW, ScrollSkinBar::FLAG_LEFT_DISABLED, {12, 12},
         C::DISABLED_ARROW},
        {"pressed thumb", G::PART_THUMB, G::PART_NONE, 0, {100, 8}, C::PRESSED_THUMB},
        {"hot thumb", G::PART_NONE, G::PART_THUMB, 0, {100, 8}, C::HOT_THUMB},
        {"pressed page: the empty pressed track falls back to the normal one", G::PART_PAGE_LEFT, G::PART_NONE, 0,
         {50, 8}, C::TRACK},
    };
    for (const auto &s : states) {
        SCOPED_TRACE(s.what);
        canvas.Fill(kSentinel);
        bar.nFlags = ScrollSkinBar::FLAG_WANTED | s.disabledFlags;
        CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc, s.pressed, s.hot));
        EXPECT_EQ(s.expected, canvas.Pixel(s.at.x, s.at.y));
    }
    // Hot parts only show in the hot-tracking style.
    bar.nFlags = ScrollSkinBar::FLAG_WANTED;
    bar.nStyle = ScrollSkinBar::STYLE_FLAT;
    CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc, G::PART_NONE, G::PART_THUMB));
    EXPECT_EQ(C::THUMB, canvas.Pixel(100, 8));
    // Both arrows disabled: no thumb, one track, arrows of the disabled block.
    bar.nFlags = ScrollSkinBar::FLAG_WANTED | ScrollSkinBar::FLAG_ARROWS;
    CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc));
    EXPECT_EQ(C::TRACK, canvas.Pixel(100, 8));
    EXPECT_EQ(C::DISABLED_ARROW, canvas.Pixel(8, 8));
    // The skin keeps one drawing section per image once drawn: it goes with the skin.
    CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    EXPECT_EQ("", before.ChangesSince());
}

TEST_F(ScrollBarPainterTest, VerticalBarsAreDrawnTurnedWithTheFirstArrowOnTop) {
    CTestCanvas canvas(20, 220, kSentinel);
    const ScrollSkinBar bar = MakeBar(SB_VERT, 0, 99, 10, 45);
    EXPECT_TRUE(CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, RECT{0, 0, 16, 200})));
    // Turned clockwise: the left arrow's top-left quarter lands top right, and it points up.
    EXPECT_EQ(C::ARROW1_MARK, canvas.Pixel(12, 3));
    EXPECT_EQ(C::ARROW1, canvas.Pixel(3, 3));
    EXPECT_EQ(C::ARROW1, canvas.Pixel(8, 12));
    EXPECT_EQ(C::ARROW2, canvas.Pixel(8, 190));
    EXPECT_EQ(C::THUMB, canvas.Pixel(8, 100));
    EXPECT_EQ(C::TRACK, canvas.Pixel(8, 50));
    // The track's top margin becomes the right edge, its bottom margin the left edge.
    EXPECT_EQ(C::TRACK, canvas.Pixel(16 - TRACK_MARGIN, 100));
    EXPECT_EQ(C::THUMB, canvas.Pixel(16 - TRACK_MARGIN - 1, 100));
    EXPECT_EQ(C::TRACK, canvas.Pixel(TRACK_MARGIN - 1, 100));
    EXPECT_EQ(C::THUMB, canvas.Pixel(TRACK_MARGIN, 100));
    EXPECT_EQ(kSentinel, canvas.Pixel(17, 100));
}

TEST_F(ScrollBarPainterTest, ABarShorterThanTwoArrowsShowsHalfArrowsAndNoThumb) {
    for (int type : {SB_HORZ, SB_VERT}) {
        SCOPED_TRACE(type == SB_VERT ? "vertical" : "horizontal");
        CTestCanvas canvas(30, 30, kSentinel);
        const ScrollSkinBar bar = MakeBar(type, 0, 99, 10, 45);
        const RECT rc = type == SB_VERT ? RECT{0, 0, 16, 25} : RECT{0, 0, 25, 16};
        CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc));
        auto at = [&](LONG along, LONG across) {
            return type == SB_VERT ? canvas.Pixel(across, along) : canvas.Pixel(along, across);
        };
        EXPECT_EQ(C::ARROW2, at(13, 8));
        EXPECT_EQ(C::ARROW2, at(24, 8));
        EXPECT_EQ(C::TRACK, at(12, 8)) << "the odd pixel between the arrows";
        EXPECT_NE(C::ARROW2, at(11, 8));
        for (LONG along = 0; along < 25; ++along)
            for (LONG across = 0; across < 16; ++across)
                ASSERT_NE(C::THUMB, at(along, across)) << along << "," << across;
    }
}

TEST_F(ScrollBarPainterTest, TheSizeBoxAndTheSkinsHandler) {
    CTestCanvas canvas(16, 16, kSentinel);
    CScrollBarPainter::DrawSizeBox(canvas.GetDC(), nullptr, RECT{0, 0, 16, 16}, RECT{0, 0, 16, 16}, true, false);
    EXPECT_EQ(C::SIZE_BOX, canvas.Pixel(8, 8));
    canvas.Fill(kSentinel);
    CScrollBarPainter::DrawSizeBox(canvas.GetDC(), nullptr, RECT{0, 0, 16, 16}, RECT{0, 0, 16, 16}, false, false);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(8, 8)) << "not a parent's corner: the face colour";

    // The stages around a bar draw nothing and take the bar; part requests draw.
    canvas.Fill(kSentinel);
    ScrollSkinDrawRecord record = {nullptr, 0, CScrollBarSkinDraw::DRAW_CODE, CScrollBarSkinDraw::STAGE_PREPAINT,
                                   canvas.GetDC(), RECT{0, 0, 16, 16}, G::PART_NONE, 0, SB_HORZ};
    EXPECT_EQ(CScrollBarSkinDraw::SKIN_DRAWS, CScrollBarSkinDraw::Draw(record));
    record.dwStage = CScrollBarSkinDraw::STAGE_POSTPAINT;
    EXPECT_EQ(CScrollBarSkinDraw::SKIN_DRAWS, CScrollBarSkinDraw::Draw(record));
    EXPECT_EQ(kSentinel, canvas.Pixel(8, 8));
    record.dwStage = CScrollBarSkinDraw::STAGE_PART;
    record.nPart = G::PART_RIGHT_ARROW;
    record.nState = CScrollBarSkinDraw::STATE_NORMAL;
    EXPECT_EQ(CScrollBarSkinDraw::SKIN_DRAWS, CScrollBarSkinDraw::Draw(record));
    EXPECT_EQ(C::ARROW2, canvas.Pixel(8, 8));

    // Without a scroll-bar object every request is declined.
    CSkinRegistry::Instance().InstallSkin(MakeKindSkin({SKIN_KIND_SCROLLCONTROL}));
    record.dwStage = CScrollBarSkinDraw::STAGE_PREPAINT;
    EXPECT_EQ(0, CScrollBarSkinDraw::Draw(record));
}

TEST_F(ScrollBarPainterTest, WithoutAScrollBarObjectTheStandardLookIsDrawn) {
    CSkinRegistry::Instance().InstallSkin(MakeKindSkin({SKIN_KIND_SCROLLCONTROL}));
    CTestCanvas canvas(200, 16, kSentinel);
    CGdiCounterSnapshot before;
    const RECT rc = {0, 0, 200, 16};
    ScrollSkinBar bar = MakeBar(SB_HORZ, 0, 99, 10, 45, ScrollSkinBar::STYLE_NORMAL);
    EXPECT_FALSE(CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc)));
    for (LONG x : {0L, 50L, 100L, 150L, 199L})
        EXPECT_NE(kSentinel, canvas.Pixel(x, 8)) << x;
    // The page area is a checker of the highlight and scroll-bar colours.
    COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
    if (light != RGB(255, 255, 255) && light == ::GetSysColor(COLOR_WINDOW))
        light = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF track = ::GetSysColor(COLOR_SCROLLBAR);
    const COLORREF a = canvas.Pixel(50, 8), b = canvas.Pixel(51, 8);
    EXPECT_TRUE((a == light && b == track) || (a == track && b == light)) << std::hex << a << " " << b;
    EXPECT_EQ(a, canvas.Pixel(51, 9)) << "alternates both ways";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(100, 8)) << "the thumb's face";
    // Pressed page areas complement both colours; a flat pressed thumb is one shadow-coloured block.
    CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc, G::PART_PAGE_RIGHT));
    const COLORREF c = canvas.Pixel(150, 8), d = canvas.Pixel(151, 8);
    EXPECT_TRUE((c == (~light & 0xFFFFFF) && d == (~track & 0xFFFFFF)) ||
                (c == (~track & 0xFFFFFF) && d == (~light & 0xFFFFFF)))
        << std::hex << c << " " << d;
    bar.nStyle = ScrollSkinBar::STYLE_HOT;
    CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc, G::PART_THUMB));
    for (LONG x = 92; x < 109; ++x)
        ASSERT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(x, 0)) << x;
    // A hot flat arrow is a white glyph on the shadow colour.
    CScrollBarPainter::DrawBar(canvas.GetDC(), MakeRequest(bar, rc, G::PART_NONE, G::PART_LEFT_ARROW));
    int white = 0, shadow = 0;
    for (LONG y = 0; y < 16; ++y)
        for (LONG x = 0; x < 16; ++x) {
            const COLORREF p = canvas.Pixel(x, y);
            white += p == RGB(255, 255, 255);
            shadow += p == ::GetSysColor(COLOR_BTNSHADOW);
        }
    EXPECT_GT(white, 4);
    EXPECT_GT(shadow, 128);
    EXPECT_EQ(white + shadow, 256);
    // The skin keeps one drawing section per image once drawn: it goes with the skin.
    CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    EXPECT_EQ("", before.ChangesSince());
}
