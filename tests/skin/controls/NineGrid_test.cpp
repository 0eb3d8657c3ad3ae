#include "skin/controls/NineGrid.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
SkinImageRef Ref(const char *name, RECT source, RECT margins, DWORD fillMode) {
    SkinImageRef ref;
    std::memset(&ref, 0, sizeof(ref));
    std::strncpy(ref.szImage, name, sizeof(ref.szImage) - 1);
    ref.rcSource = source;
    ref.rcMargins = margins;
    ref.dwFillMode = fillMode;
    return ref;
}

bool Equal(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
} // namespace

TEST(NineGrid, FillModesGivePieceModes) {
    // Cells: 0 TL, 1 T, 2 TR, 3 L, 4 C, 5 R, 6 BL, 7 B, 8 BR. 'S' stretched, 'T' tiled.
    struct Case {
        DWORD fillMode;
        const char *modes;
    } cases[] = {{1, "SSSSSSSSS"}, {2, "TTTTTTTST"}, {3, "TTTTSTTTT"}, {4, "TTTSTTTTT"}, {5, "TSTSTSTST"},
                 {6, "TTTTTSTTT"}, {7, "TSTTTTTTT"}, {0, "TTTTTTTTT"}, {8, "TTTTTTTTT"}, {0xFFFFFFFF, "TTTTTTTTT"}};
    for (const Case &c : cases)
        for (int cell = 0; cell < 9; ++cell)
            EXPECT_EQ(c.modes[cell] == 'S' ? PIECE_STRETCH : PIECE_TILE, CNineGrid::PieceMode(c.fillMode, cell))
                << "fill " << c.fillMode << " cell " << cell;
}

TEST(NineGrid, LayoutCutsSourceAndDestinationByTheMargins) {
    SkinImageRef ref = Ref("frame", {10, 20, 40, 60}, {3, 4, 5, 6}, 5);
    CNineGrid::Cell cells[9];
    CNineGrid::Layout(ref, {100, 200, 180, 300}, cells);
    const RECT sources[9] = {{10, 20, 13, 24}, {13, 20, 35, 24}, {35, 20, 40, 24}, {10, 24, 13, 54}, {13, 24, 35, 54},
                             {35, 24, 40, 54}, {10, 54, 13, 60}, {13, 54, 35, 60}, {35, 54, 40, 60}};
    const RECT dests[9] = {{100, 200, 103, 204}, {103, 200, 175, 204}, {175, 200, 180, 204},
                           {100, 204, 103, 294}, {103, 204, 175, 294}, {175, 204, 180, 294},
                           {100, 294, 103, 300}, {103, 294, 175, 300}, {175, 294, 180, 300}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(Equal(sources[i], cells[i].piece.rcSource)) << i;
        EXPECT_TRUE(Equal(dests[i], cells[i].rcDest)) << i;
        EXPECT_STREQ("frame", cells[i].piece.szImage);
        EXPECT_EQ(CNineGrid::PieceMode(5, i), cells[i].piece.dwMode);
    }
    // Corners keep their size, edges stretch, the centre tiles.
    EXPECT_EQ(PIECE_TILE, cells[0].piece.dwMode);
    EXPECT_EQ(PIECE_STRETCH, cells[1].piece.dwMode);
    EXPECT_EQ(PIECE_TILE, cells[CNineGrid::CENTRE].piece.dwMode);
}

TEST(NineGrid, ZeroMarginsLeaveOnlyTheCentre) {
    SkinImageRef ref = Ref("back", {0, 0, 16, 16}, {0, 0, 0, 0}, 1);
    CNineGrid::Cell cells[9];
    const RECT dest = {5, 5, 50, 40};
    CNineGrid::Layout(ref, dest, cells);
    for (int i = 0; i < 9; ++i) {
        if (i == CNineGrid::CENTRE) {
            EXPECT_TRUE(Equal(dest, cells[i].rcDest));
            EXPECT_FALSE(CNineGrid::IsEmpty(cells[i].piece));
        } else {
            EXPECT_TRUE(CNineGrid::IsRectEmpty(cells[i].rcDest)) << i;
            EXPECT_TRUE(CNineGrid::IsEmpty(cells[i].piece)) << i;
        }
    }
}

TEST(NineGrid, UnterminatedNamesAreCutAt49Characters) {
    SkinImageRef ref = Ref("", {0, 0, 4, 4}, {1, 1, 1, 1}, 0);
    std::memset(ref.szImage, 'n', sizeof(ref.szImage));
    CNineGrid::Cell cells[9];
    CNineGrid::Layout(ref, {0, 0, 8, 8}, cells);
    EXPECT_EQ(49u, std::strlen(cells[0].piece.szImage));
}

TEST(NineGrid, HostileMarginsSaturate) {
    const LONG most = 0x7FFFFFFF;
    SkinImageRef ref = Ref("x", {0, 0, most, 10}, {most, 0, -most - 1, 0}, 1);
    CNineGrid::Cell cells[9];
    CNineGrid::Layout(ref, {most - 1, 0, most, 10}, cells);
    EXPECT_EQ(most, cells[0].piece.rcSource.right);
    EXPECT_EQ(most, cells[0].rcDest.right);
    EXPECT_EQ(most, cells[2].rcDest.left);
}

TEST(NineGrid, EmptyReferences) {
    EXPECT_TRUE(CNineGrid::IsEmpty(Ref("", {0, 0, 4, 4}, {}, 0)));
    EXPECT_TRUE(CNineGrid::IsEmpty(Ref("a", {4, 0, 4, 4}, {}, 0)));
    EXPECT_TRUE(CNineGrid::IsEmpty(Ref("a", {0, 4, 4, 0}, {}, 0)));
    EXPECT_FALSE(CNineGrid::IsEmpty(Ref("a", {0, 0, 1, 1}, {}, 0)));
}

TEST(NineGrid, TilesAreCutShortAtTheEdges) {
    std::vector<RECT> tiles = CNineGrid::TileRects({0, 0, 25, 4}, 10, 4);
    ASSERT_EQ(3u, tiles.size());
    EXPECT_EQ(10, tiles[0].right - tiles[0].left);
    EXPECT_EQ(10, tiles[1].right - tiles[1].left);
    EXPECT_EQ(5, tiles[2].right - tiles[2].left);
    EXPECT_EQ(20, tiles[2].left);

    tiles = CNineGrid::TileRects({3, 7, 10, 12}, 3, 2);
    // Rows top down, columns left to right: 3 x 3 tiles, the last ones 1 pixel wide or tall.
    ASSERT_EQ(9u, tiles.size());
    EXPECT_TRUE(Equal(RECT{3, 7, 6, 9}, tiles[0]));
    EXPECT_TRUE(Equal(RECT{9, 7, 10, 9}, tiles[2]));
    EXPECT_TRUE(Equal(RECT{9, 11, 10, 12}, tiles[8]));

    // Near the end of the coordinate range the steps do not overflow.
    const LONG top = 0x7FFFFFFF;
    tiles = CNineGrid::TileRects({top - 15, top - 3, top, top}, 10, 10);
    ASSERT_EQ(2u, tiles.size());
    EXPECT_EQ(top, tiles[1].right);
    EXPECT_EQ(top, tiles[1].bottom);

    EXPECT_TRUE(CNineGrid::TileRects({0, 0, 0, 5}, 3, 3).empty());
    EXPECT_TRUE(CNineGrid::TileRects({0, 0, 5, 5}, 0, 3).empty());
}

TEST(NineGrid, CopyIsClippedToTheDestination) {
    EXPECT_TRUE(Equal(RECT{2, 3, 6, 5}, CNineGrid::CopyRect({2, 3, 20, 20}, 4, 2)));
    EXPECT_TRUE(Equal(RECT{2, 3, 5, 4}, CNineGrid::CopyRect({2, 3, 5, 4}, 40, 20)));
    EXPECT_TRUE(CNineGrid::IsRectEmpty(CNineGrid::CopyRect({2, 3, 2, 4}, 4, 4)));
}

TEST(NineGrid, ScaledRectanglesLandWhereAStretchPutsTheirPixels) {
    // A 4 x 4 cut over a 10 x 6 destination at (20, 30): edges scale by 10/4 and 6/4, rounded down.
    const RECT dest = {20, 30, 30, 36};
    EXPECT_TRUE(Equal(RECT{20, 30, 22, 31}, CNineGrid::ScaleRect({0, 0, 1, 1}, 4, 4, dest)));
    EXPECT_TRUE(Equal(RECT{27, 34, 30, 36}, CNineGrid::ScaleRect({3, 3, 4, 4}, 4, 4, dest)));
    // Neighbours stay neighbours: no gap, no overlap.
    RECT left = CNineGrid::ScaleRect({0, 2, 1, 3}, 4, 4, dest), right = CNineGrid::ScaleRect({1, 2, 4, 3}, 4, 4, dest);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(30, right.right);
    // Shrinking can leave a rectangle empty; a cut without size gives an empty rectangle at the corner.
    RECT thin = CNineGrid::ScaleRect({0, 0, 1, 1}, 10, 10, {0, 0, 5, 5});
    EXPECT_TRUE(CNineGrid::IsRectEmpty(thin));
    EXPECT_TRUE(CNineGrid::IsRectEmpty(CNineGrid::ScaleRect({0, 0, 1, 1}, 0, 4, dest)));
    // Extreme destinations saturate instead of overflowing.
    RECT huge = CNineGrid::ScaleRect({0, 0, 4, 4}, 2, 2, {0x7FFFFFF0, 0, 0x7FFFFFFF, 10});
    EXPECT_EQ(0x7FFFFFFF, huge.right);
}
