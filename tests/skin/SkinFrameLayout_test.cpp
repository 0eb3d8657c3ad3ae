// The frame and caption-button layout rules: the template window lays out as stored, a larger window moves the
// right column and bottom row with its edges, and right-anchored caption buttons keep their distance to the edge.
#include "skin/SkinFrameLayout.h"

#include <gtest/gtest.h>

namespace {

typedef CSkinFrameLayout L;

bool Same(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A 100 x 80 template: borders 4 wide, a 24-pixel caption row, a 5-pixel bottom row.
SkinFramedRecord Template() {
    SkinFramedRecord f = {};
    const RECT p[9] = {{0, 0, 4, 24},  {4, 0, 96, 24},  {96, 0, 100, 24},  {0, 24, 4, 75},  {4, 24, 96, 75},
                       {96, 24, 100, 75}, {0, 75, 4, 80}, {4, 75, 96, 80}, {96, 75, 100, 80}};
    for (int i = 0; i < 9; ++i)
        f.placement[i] = p[i];
    return f;
}

TEST(SkinFrameLayout, TheTemplateSizeGivesTheTemplateAndALargerWindowMovesTheRightAndBottom) {
    SkinFramedRecord f = Template();
    RECT parts[9];
    L::LayoutParts(f, 100, 80, parts);
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(Same(parts[i], f.placement[i])) << "part " << i;

    L::LayoutParts(f, 300, 200, parts);
    const RECT want[9] = {{0, 0, 4, 24},    {4, 0, 296, 24},    {296, 0, 300, 24},
                          {0, 24, 4, 195},  {4, 24, 296, 195},  {296, 24, 300, 195},
                          {0, 195, 4, 200}, {4, 195, 296, 200}, {296, 195, 300, 200}};
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(Same(parts[i], want[i])) << "part " << i << ": " << parts[i].left << "," << parts[i].top << ","
                                             << parts[i].right << "," << parts[i].bottom;
    EXPECT_TRUE(Same(L::Inside(parts), RECT{4, 24, 296, 195}));
}

TEST(SkinFrameLayout, PopupBordersTakeTheTemplateThicknesses) {
    SkinFramedRecord f = Template();
    RECT parts[9];
    L::LayoutBorders(f, 50, 40, parts);
    EXPECT_TRUE(Same(parts[L::TOP_LEFT], RECT{0, 0, 4, 24}));
    EXPECT_TRUE(Same(parts[L::CENTRE], RECT{4, 24, 46, 35}));
    EXPECT_TRUE(Same(parts[L::BOTTOM_RIGHT], RECT{46, 35, 50, 40}));
    EXPECT_TRUE(Same(L::Inside(parts), RECT{4, 24, 46, 35}));
}

TEST(SkinFrameLayout, RightAnchoredCaptionButtonsFollowTheRightEdge) {
    SkinFramedRecord f = Template();
    CSkinCaptionButtonObject close;
    close.m_rect = RECT{78, 4, 94, 20};
    for (DWORD anchor = 0; anchor <= 11; ++anchor) {
        close.m_dwAnchor = anchor;
        const bool right = anchor >= 4 && anchor <= 9;
        EXPECT_EQ(right, L::IsRightAnchored(anchor)) << anchor;
        RECT rc = L::CaptionButtonRect(f, close, 250);
        EXPECT_TRUE(Same(rc, right ? RECT{228, 4, 244, 20} : RECT{78, 4, 94, 20})) << "anchor " << anchor;
        // At the template width nothing moves.
        EXPECT_TRUE(Same(L::CaptionButtonRect(f, close, 100), close.m_rect)) << "anchor " << anchor;
    }
}

} // namespace
