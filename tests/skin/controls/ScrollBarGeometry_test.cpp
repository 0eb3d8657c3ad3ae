// Scroll-bar geometry on plain numbers: thumb size and place, hit testing, the parts drawn, and the thumb drag with
// its snap-back area. Expected values are worked out by hand from the bar's rules.
#include "skin/controls/ScrollBarGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
typedef CScrollBarGeometry G;

G::Bar MakeBar(LONG length, int arrow, int nMin, int nMax, UINT page, int pos, int minThumb = 6) {
    G::Bar bar;
    bar.rc = RECT{0, 0, length, 16};
    bar.nArrow = arrow;
    bar.nMinThumb = minThumb;
    bar.values = G::Values{nMin, nMax, page, pos};
    return bar;
}

POINT At(LONG x, LONG y = 8) {
    return POINT{x, y};
}
} // namespace

TEST(ScrollBarGeometry, MulDivRoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(17, G::MulDiv(10, 168, 100));
    EXPECT_EQ(2, G::MulDiv(3, 1, 2));
    EXPECT_EQ(-2, G::MulDiv(-3, 1, 2));
    EXPECT_EQ(-2, G::MulDiv(3, 1, -2));
    EXPECT_EQ(-1, G::MulDiv(1, 1, 0));
    EXPECT_EQ(-1, G::MulDiv(INT_MAX, 2, 1));
    EXPECT_EQ(INT_MAX, G::MulDiv(INT_MAX, 2, 2));
}

TEST(ScrollBarGeometry, ScrollValuesAllowScrollingAndClampPositions) {
    const struct {
        G::Values values;
        bool canScroll;
        int maxPos;
    } rows[] = {
        {{0, 99, 10, 0}, true, 90},   {{0, 9, 10, 0}, false, 0},     // a page larger than the range
        {{0, 9, 9, 0}, true, 1},      {{0, 0, 0, 0}, false, 0},      // nothing to scroll
        {{5, 5, 1, 5}, false, 5},     {{0, 100, 0, 0}, true, 100},   // no page counts as one
        {{10, 3, 1, 0}, false, 10},                                  // nMin above nMax: never below nMin
        {{-50, 50, 0x80000000u, 0}, false, -50},                     // a page beyond INT_MAX
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.values.nMin << ".." << row.values.nMax << " page " << row.values.nPage);
        EXPECT_EQ(row.canScroll, G::CanScroll(row.values));
        EXPECT_EQ(row.maxPos, G::MaxPos(row.values));
        EXPECT_EQ(row.values.nMin, G::ClampPos(row.values, INT_MIN));
        EXPECT_EQ(row.maxPos, G::ClampPos(row.values, INT_MAX));
    }
}

TEST(ScrollBarGeometry, ThumbSizeAndOffsetFollowPageAndPosition) {
    // 200 pixels, arrows of 16: a track of 168.
    const struct {
        int nMin, nMax;
        UINT page;
        int pos;
        int size, offset;
    } rows[] = {
        {0, 99, 10, 0, 17, 0},      // 10/100 of 168 = 16.8
        {0, 99, 10, 45, 17, 76},    // 45 * 151 / 90 = 75.5
        {0, 99, 10, 90, 17, 151},   // the last position: the track's end
        {0, 99, 10, 99, 17, 151},   // beyond it: kept on the track
        {100, 199, 10, 145, 17, 76}, // the same bar counted from 100
        {0, 100, 0, 50, 16, 76},    // no page: arrow-sized, 50 * 152 / 100
        {0, 9999, 10, 0, 6, 0},     // raised to the minimum thumb
        {0, 9, 20, 0, 336, 0},      // a page beyond the range fills the track
        {INT_MIN, INT_MAX, 10, 0, 0, 0}, // a range too large to place a thumb
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.nMin << ".." << row.nMax << " page " << row.page << " pos " << row.pos);
        const G::Thumb thumb = G::GetThumb(MakeBar(200, 16, row.nMin, row.nMax, row.page, row.pos));
        EXPECT_EQ(row.size, thumb.nSize);
        EXPECT_EQ(row.offset, thumb.nOffset);
    }
}

TEST(ScrollBarGeometry, HitTestFindsArrowsPagesAndThumb) {
    const G::Bar bar = MakeBar(200, 16, 0, 99, 10, 45); // thumb at 92..109
    const struct {
        POINT pt;
        int part;
    } rows[] = {{At(0), 0},    {At(15), 0},    {At(16), 2},   {At(91), 2},   {At(92), 5},   {At(108), 5},
                {At(109), 3},  {At(183), 3},   {At(184), 1},  {At(199), 1},  {At(200), -1}, {At(-1), -1},
                {At(50, -1), -1}, {At(50, 16), -1}, {At(50, 0), 2}, {At(50, 15), 2}};
    for (const auto &row : rows)
        EXPECT_EQ(row.part, G::HitTest(bar, row.pt)) << row.pt.x << "," << row.pt.y;

    // A thumb that fills the track leaves only the arrows.
    const G::Bar full = MakeBar(200, 16, 0, 9, 20, 0);
    EXPECT_EQ(0, G::HitTest(full, At(3)));
    EXPECT_EQ(-1, G::HitTest(full, At(100)));
    EXPECT_EQ(1, G::HitTest(full, At(190)));
}

TEST(ScrollBarGeometry, ABarShorterThanTwoArrowsHasTwoHalfArrowsAndNoThumb) {
    for (LONG length : {25L, 24L}) {
        SCOPED_TRACE(length);
        const G::Bar bar = MakeBar(length, 16, 0, 99, 10, 45);
        G::Part parts[G::MAX_PARTS];
        const int count = G::Layout(bar, false, parts);
        const LONG half = length / 2;
        ASSERT_EQ(length % 2 ? 3 : 2, count);
        EXPECT_EQ(0, parts[0].nPart);
        EXPECT_EQ(0, parts[0].rc.left);
        EXPECT_EQ(half, parts[0].rc.right);
        EXPECT_EQ(1, parts[count - 1].nPart);
        EXPECT_EQ(length - half, parts[count - 1].rc.left);
        EXPECT_EQ(length, parts[count - 1].rc.right);
        if (count == 3) {
            EXPECT_EQ(3, parts[1].nPart) << "the odd pixel between the arrows";
            EXPECT_EQ(half, parts[1].rc.left);
            EXPECT_EQ(half + 1, parts[1].rc.right);
        }
        for (LONG x = 0; x < length; ++x) {
            const int part = G::HitTest(bar, At(x));
            EXPECT_TRUE(part == 0 || part == 1 || (count == 3 && x == half && part == -1)) << x << ": " << part;
        }
    }
}

TEST(ScrollBarGeometry, LayoutDrawsPagesAroundTheThumbOrOneTrackWithoutIt) {
    G::Part parts[G::MAX_PARTS];
    ASSERT_EQ(5, G::Layout(MakeBar(200, 16, 0, 99, 10, 45), false, parts));
    const int order[] = {0, 2, 3, 5, 1};
    const RECT rects[] = {{0, 0, 16, 16}, {16, 0, 92, 16}, {109, 0, 184, 16}, {92, 0, 109, 16}, {184, 0, 200, 16}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(order[i], parts[i].nPart) << i;
        EXPECT_EQ(rects[i].left, parts[i].rc.left) << i;
        EXPECT_EQ(rects[i].right, parts[i].rc.right) << i;
        EXPECT_EQ(16, parts[i].rc.bottom) << i;
    }
    // At the start the page-left area is empty and left out.
    ASSERT_EQ(4, G::Layout(MakeBar(200, 16, 0, 99, 10, 0), false, parts));
    EXPECT_EQ(3, parts[1].nPart);

    // Without a thumb (both arrows disabled, nothing to scroll, a huge range) the track is one page-right area.
    const G::Bar noThumb[] = {MakeBar(200, 16, 0, 99, 10, 45), MakeBar(200, 16, 0, 9, 20, 0),
                              MakeBar(200, 16, INT_MIN, INT_MAX, 10, 0)};
    const bool bothDisabled[] = {true, false, false};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(3, G::Layout(noThumb[i], bothDisabled[i], parts)) << i;
        EXPECT_EQ(3, parts[1].nPart) << i;
        EXPECT_EQ(16, parts[1].rc.left) << i;
        EXPECT_EQ(184, parts[1].rc.right) << i;
    }
    EXPECT_EQ(0, G::Layout(MakeBar(0, 16, 0, 99, 10, 0), false, parts));
}

TEST(ScrollBarGeometry, ADraggedThumbFollowsThePointerAndSnapsBackFarFromTheBar) {
    const G::Bar bar = MakeBar(200, 16, 0, 99, 10, 45);
    const int size = 17, start = 76, grip = 8; // grabbed 8 pixels into the thumb at 92
    const struct {
        POINT pt;
        int offset;
    } rows[] = {
        {At(130), 106},       // followed
        {At(-47), 0},         // beyond the start, still inside the area: held at the track start
        {At(-48), 0},         // the area's first column
        {At(-49), start},     // more than 48 pixels beyond: snapped back
        {At(247), 151},       // held at the track end
        {At(248), start},     // beyond the other end
        {At(130, 39), 106},   // 24 pixels below the bar's last row
        {At(130, 40), start}, // one more
        {At(130, -24), 106},  // 24 above
        {At(130, -25), start},
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.offset, G::DragOffset(bar, size, start, grip, row.pt)) << row.pt.x << "," << row.pt.y;

    // Offsets map back onto positions: the ends are the first and last positions, the middle rounds.
    EXPECT_EQ(0, G::PositionAt(bar, size, 0));
    EXPECT_EQ(45, G::PositionAt(bar, size, 76));
    EXPECT_EQ(90, G::PositionAt(bar, size, 151));
    // Counted from nMin, the same bar shifted gives the same thumb and shifted positions.
    const G::Bar shifted = MakeBar(200, 16, 100, 199, 10, 145);
    EXPECT_EQ(145, G::PositionAt(shifted, size, G::GetThumb(shifted).nOffset));
    EXPECT_EQ(190, G::PositionAt(shifted, size, 151));
    // No range: the pixel offset itself.
    EXPECT_EQ(33, G::PositionAt(MakeBar(200, 16, 0, 0, 0, 0), 16, 33));
}
