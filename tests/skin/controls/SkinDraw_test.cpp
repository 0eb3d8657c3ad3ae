// The image drawing layer against real device contexts: pixels read back after copying, tiling and stretching, and
// window regions cut out of the transparent colour.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ClientDC.h"
#include "platform/GdiCounter.h"
#include "platform/SelectObject.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"
#include "tests/skin/support/SkinTestSupport.h"

namespace {

const COLORREF kSentinel = RGB(1, 2, 3);
const COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Strip(LONG x, LONG y) {
    return RGB(x * 20 + 10, y * 40 + 10, 50);
}

COLORREF Grid(LONG x, LONG y) {
    return RGB(x * 25 + 5, y * 25 + 5, 200);
}

// 4 x 4 grey with the top-left and bottom-right pixels in magenta.
COLORREF Holes(LONG x, LONG y) {
    return (x == 0 && y == 0) || (x == 3 && y == 3) ? kMagenta : RGB(128, 128, 128);
}

// A bitmap of any depth (a DIB section, not selected anywhere) whose pixels the function gives. Depths up to 8 use a
// colour table of the given colours and the function's results as indices.
CBitmap MakeBitmap(int bits, LONG width, LONG height, const std::vector<COLORREF> &table,
                   const std::function<DWORD(LONG, LONG)> &pixel) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    std::memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = bits == 16 ? BI_BITFIELDS : BI_RGB;
    if (bits == 16) {
        DWORD *masks = reinterpret_cast<DWORD *>(info.colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
    for (size_t i = 0; i < table.size(); ++i)
        info.colors[i] = RGBQUAD{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    info.header.biClrUsed = static_cast<DWORD>(table.size());
    void *pBits = nullptr;
    CBitmap bitmap(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &pBits, nullptr, 0));
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    BYTE *rows = static_cast<BYTE *>(pBits);
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x) {
            DWORD v = pixel(x, y);
            BYTE *p = rows + stride * y + x * bits / 8;
            for (int b = 0; b < bits / 8; ++b)
                p[b] = static_cast<BYTE>(v >> (8 * b));
        }
    return bitmap;
}

DWORD Bgr(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class SkinDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddImage(m_skin, "strip.bmp", MakeImage(10, 4, Strip));
        AddImage(m_skin, "grid.bmp", MakeImage(9, 9, Grid));
        AddImage(m_skin, "holes.bmp", MakeImage(4, 4, Holes));
        AddImage(m_skin, "clear.bmp", MakeImage(6, 3, [](LONG, LONG) { return kMagenta; }));
    }
    // Every device context, bitmap, brush and region of a test is gone when it ends, the images' drawing sections
    // with the skin that holds them.
    void TearDown() override {
        m_skin.Clear();
        EXPECT_EQ("", m_gdi.ChangesSince());
    }

    CGdiCounterSnapshot m_gdi;
    CSkin m_skin;
};

} // namespace

TEST_F(SkinDrawTest, PieceModesCopyTileAndStretch) {
    CTestCanvas canvas(30, 12, kSentinel);
    // A 10-pixel tile over 25 pixels: tiles of 10, 10 and 5, each from the cut's left edge; rows of 4, 4 and 2.
    EXPECT_TRUE(
        DrawPiece(m_skin, canvas.GetDC(), {0, 0, 25, 10}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_TILE), 0, TRUE));
    for (LONG y = 0; y < 10; ++y)
        for (LONG x = 0; x < 25; ++x)
            ASSERT_EQ(Strip(x % 10, y % 4), canvas.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(kSentinel, canvas.Pixel(25, 0));
    EXPECT_EQ(kSentinel, canvas.Pixel(0, 10));

    // Copy: natural size from the top-left corner, cut short by the destination.
    canvas.Fill(kSentinel);
    DrawPiece(m_skin, canvas.GetDC(), {2, 1, 8, 3}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_COPY), 0, TRUE);
    for (LONG y = 1; y < 3; ++y)
        for (LONG x = 2; x < 8; ++x)
            EXPECT_EQ(Strip(x - 2, y - 1), canvas.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(kSentinel, canvas.Pixel(8, 1));
    EXPECT_EQ(kSentinel, canvas.Pixel(2, 3));

    // Stretch (mode 2 and any other value): two source columns over ten pixels, five each.
    for (DWORD mode : {static_cast<DWORD>(PIECE_STRETCH), static_cast<DWORD>(77)}) {
        canvas.Fill(kSentinel);
        DrawPiece(m_skin, canvas.GetDC(), {0, 0, 10, 2}, MakePiece("strip.bmp", {3, 1, 5, 2}, mode), 0, TRUE);
        for (LONG x = 0; x < 10; ++x)
            EXPECT_EQ(Strip(x < 5 ? 3 : 4, 1), canvas.Pixel(x, 1)) << "mode " << mode << " x " << x;
    }

    // A source rectangle past the image is clamped into it: columns 5-9 remain, tiled in fives.
    canvas.Fill(kSentinel);
    DrawPiece(m_skin, canvas.GetDC(), {0, 0, 12, 1}, MakePiece("strip.bmp", {5, 0, 40, 1}, PIECE_TILE), 0, TRUE);
    for (LONG x = 0; x < 12; ++x)
        EXPECT_EQ(Strip(5 + x % 5, 0), canvas.Pixel(x, 0)) << x;
}

TEST_F(SkinDrawTest, PiecesWithoutPixelsFillOnlyWhenAsked) {
    CTestCanvas canvas(10, 10, kSentinel);
    const RECT dest = {1, 1, 6, 6};
    const SkinPiece pieces[] = {
        MakePiece("nosuch.bmp", {0, 0, 4, 4}, PIECE_TILE),  // unknown image
        MakePiece("strip.bmp", {4, 0, 4, 4}, PIECE_TILE),   // empty source rectangle
        MakePiece("strip.bmp", {20, 0, 30, 4}, PIECE_TILE), // a cut that leaves nothing of the image
        MakePiece("", {0, 0, 4, 4}, PIECE_TILE),            // no name
    };
    for (const SkinPiece &piece : pieces) {
        canvas.Fill(kSentinel);
        EXPECT_FALSE(DrawPiece(m_skin, canvas.GetDC(), dest, piece, RGB(9, 99, 199), FALSE));
        EXPECT_EQ(kSentinel, canvas.Pixel(3, 3));
        EXPECT_FALSE(DrawPiece(m_skin, canvas.GetDC(), dest, piece, RGB(9, 99, 199), TRUE));
        EXPECT_EQ(RGB(9, 99, 199), canvas.Pixel(1, 1));
        EXPECT_EQ(RGB(9, 99, 199), canvas.Pixel(5, 5));
        EXPECT_EQ(kSentinel, canvas.Pixel(6, 6));
    }
}

TEST_F(SkinDrawTest, NineGridKeepsCornersAndFollowsTheFillMode) {
    CTestCanvas canvas(20, 20, kSentinel);
    // Fill mode 5: the corners keep their size, the four edges stretch, the centre tiles.
    DrawNineGrid(m_skin, canvas.GetDC(), {0, 0, 15, 15}, MakeRef("grid.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 5), 0, TRUE);
    for (LONG y = 0; y < 3; ++y)
        for (LONG x = 0; x < 3; ++x) {
            EXPECT_EQ(Grid(x, y), canvas.Pixel(x, y));                   // top-left
            EXPECT_EQ(Grid(6 + x, y), canvas.Pixel(12 + x, y));          // top-right
            EXPECT_EQ(Grid(x, 6 + y), canvas.Pixel(x, 12 + y));          // bottom-left
            EXPECT_EQ(Grid(6 + x, 6 + y), canvas.Pixel(12 + x, 12 + y)); // bottom-right
        }
    for (LONG k = 0; k < 9; ++k) {
        EXPECT_EQ(Grid(3 + k / 3, 0), canvas.Pixel(3 + k, 0)) << "top " << k; // stretched three times
        EXPECT_EQ(Grid(0, 3 + k / 3), canvas.Pixel(0, 3 + k)) << "left " << k;
        for (LONG j = 0; j < 9; ++j)
            EXPECT_EQ(Grid(3 + k % 3, 3 + j % 3), canvas.Pixel(3 + k, 3 + j)) << "centre " << k << "," << j;
    }
    EXPECT_EQ(kSentinel, canvas.Pixel(15, 15));

    // Margins of 0: only the centre is drawn, and it covers the whole destination (tiled by fill mode 0).
    canvas.Fill(kSentinel);
    DrawNineGrid(m_skin, canvas.GetDC(), {0, 0, 15, 15}, MakeRef("grid.bmp", {0, 0, 9, 9}, {0, 0, 0, 0}, 0), 0, TRUE);
    for (LONG y = 0; y < 15; ++y)
        for (LONG x = 0; x < 15; ++x)
            ASSERT_EQ(Grid(x % 9, y % 9), canvas.Pixel(x, y)) << x << "," << y;

    // The frame form leaves the centre as it was.
    canvas.Fill(kSentinel);
    DrawNineGridFrame(m_skin, canvas.GetDC(), {0, 0, 15, 15}, MakeRef("grid.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 1), 0,
                      TRUE);
    EXPECT_EQ(Grid(0, 0), canvas.Pixel(0, 0));
    EXPECT_EQ(Grid(8, 8), canvas.Pixel(14, 14));
    for (LONG y = 3; y < 12; ++y)
        for (LONG x = 3; x < 12; ++x)
            ASSERT_EQ(kSentinel, canvas.Pixel(x, y)) << x << "," << y;
}

TEST_F(SkinDrawTest, RegionFromBitmapKeepsTheOpaqueRunsOfEveryDepth) {
    // Opaque: a 3 x 2 block at (2, 1) and the last pixel of the last row (a run closed at the row's end).
    auto opaque = [](LONG x, LONG y) { return (x >= 2 && x < 5 && y >= 1 && y < 3) || (x == 19 && y == 9); };
    const COLORREF kInk = RGB(10, 200, 30);
    struct Case {
        int bits;
        std::vector<COLORREF> table;
        DWORD ink, key;
    } cases[] = {
        {8, {kMagenta, kInk}, 1, 0},
        {16, {}, ((10 >> 3) << 11) | ((200 >> 2) << 5) | (30 >> 3), 0xF81F},
        {24, {}, Bgr(kInk), Bgr(kMagenta)},
        {32, {}, Bgr(kInk), Bgr(kMagenta)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bits);
        CBitmap bitmap =
            MakeBitmap(c.bits, 20, 10, c.table, [&](LONG x, LONG y) { return opaque(x, y) ? c.ink : c.key; });
        ASSERT_TRUE(bitmap.IsValid());
        CRgn region = RegionFromBitmap(bitmap, kMagenta);
        ASSERT_TRUE(region.IsValid());
        EXPECT_EQ(7, RegionArea(region, {0, 0, 20, 10}));
        EXPECT_TRUE(RegionContains(region, 2, 1));
        EXPECT_TRUE(RegionContains(region, 4, 2));
        EXPECT_FALSE(RegionContains(region, 5, 2));
        EXPECT_TRUE(RegionContains(region, 19, 9));
    }

    // Any transparent colour, not only the one that reads the same in both byte orders.
    CBitmap blue =
        MakeBitmap(24, 4, 1, {}, [](LONG x, LONG) { return x == 1 ? Bgr(RGB(255, 0, 0)) : Bgr(RGB(0, 0, 255)); });
    CRgn blueRegion = RegionFromBitmap(blue, RGB(0, 0, 255));
    EXPECT_EQ(1, RegionArea(blueRegion, {0, 0, 4, 1}));
    EXPECT_TRUE(RegionContains(blueRegion, 1, 0));

    // Nothing opaque: an empty region.
    CBitmap clear = MakeBitmap(24, 8, 8, {}, [](LONG, LONG) { return Bgr(kMagenta); });
    CRgn empty = RegionFromBitmap(clear, kMagenta);
    ASSERT_TRUE(empty.IsValid());
    RECT box;
    EXPECT_EQ(NULLREGION, ::GetRgnBox(empty, &box));
    EXPECT_FALSE(RegionFromBitmap(nullptr, kMagenta).IsValid());
}

TEST_F(SkinDrawTest, PieceRegionsFollowTheWayThePieceIsDrawn) {
    // Copy: moved to the destination corner.
    CRgn copy =
        PieceRegion(m_skin, nullptr, MakePiece("holes.bmp", {0, 0, 4, 4}, PIECE_COPY), {10, 10, 20, 20}, kMagenta);
    EXPECT_EQ(14, RegionArea(copy, {0, 0, 30, 30}));
    EXPECT_FALSE(RegionContains(copy, 10, 10));
    EXPECT_TRUE(RegionContains(copy, 11, 10));
    EXPECT_FALSE(RegionContains(copy, 13, 13));

    // Tile: every tile's hole, the last column of tiles cut to 2 pixels (which holds one hole).
    CRgn tiled =
        PieceRegion(m_skin, nullptr, MakePiece("holes.bmp", {0, 0, 4, 4}, PIECE_TILE), {0, 0, 10, 4}, kMagenta);
    EXPECT_EQ(14 + 14 + 7, RegionArea(tiled, {0, 0, 20, 20}));
    EXPECT_FALSE(RegionContains(tiled, 8, 0));
    EXPECT_FALSE(RegionContains(tiled, 7, 3));

    // Stretch: twice the size, each hole 2 x 2.
    CRgn stretched =
        PieceRegion(m_skin, nullptr, MakePiece("holes.bmp", {0, 0, 4, 4}, PIECE_STRETCH), {0, 0, 8, 8}, kMagenta);
    EXPECT_EQ(64 - 8, RegionArea(stretched, {0, 0, 20, 20}));
    EXPECT_FALSE(RegionContains(stretched, 1, 1));
    EXPECT_FALSE(RegionContains(stretched, 7, 6));
    EXPECT_TRUE(RegionContains(stretched, 2, 0));

    // All pixels transparent: empty. A missing image: the whole destination.
    for (DWORD mode : {PIECE_COPY, PIECE_TILE, PIECE_STRETCH}) {
        CRgn clear = PieceRegion(m_skin, nullptr, MakePiece("clear.bmp", {0, 0, 6, 3}, mode), {0, 0, 12, 6}, kMagenta);
        RECT box;
        EXPECT_EQ(NULLREGION, ::GetRgnBox(clear, &box)) << mode;
        CRgn missing =
            PieceRegion(m_skin, nullptr, MakePiece("nosuch.bmp", {0, 0, 6, 3}, mode), {3, 4, 12, 6}, kMagenta);
        EXPECT_EQ(9 * 2, RegionArea(missing, {0, 0, 20, 20})) << mode;
    }
}

TEST_F(SkinDrawTest, NineGridRegionUnitesTheCells) {
    // The grid image has no magenta; with a key of its top-left pixel colour only that corner pixel is cut away.
    CRgn region =
        NineGridRegion(m_skin, nullptr, MakeRef("grid.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 5), {0, 0, 15, 15}, Grid(0, 0));
    EXPECT_EQ(15 * 15 - 1, RegionArea(region, {0, 0, 20, 20}));
    EXPECT_FALSE(RegionContains(region, 0, 0));
    // The centre (cell 4) tiles its top-left pixel (3, 3) too: keyed by that colour, one hole per centre tile.
    CRgn centre =
        NineGridRegion(m_skin, nullptr, MakeRef("grid.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 5), {0, 0, 15, 15}, Grid(3, 3));
    EXPECT_EQ(15 * 15 - 9, RegionArea(centre, {0, 0, 20, 20}));
    // A reference whose image is missing contributes its whole rectangle.
    CRgn missing =
        NineGridRegion(m_skin, nullptr, MakeRef("nosuch.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 5), {2, 2, 17, 12}, kMagenta);
    EXPECT_EQ(15 * 10, RegionArea(missing, {0, 0, 20, 20}));
}

// The forms without a skin draw from the registry's current skin, and key regions by the window's colour (magenta for
// a window that is not skinned).
TEST_F(SkinDrawTest, TheCurrentSkinServesTheShortForms) {
    std::unique_ptr<CSkin> current(new CSkin);
    AddImage(*current, "strip.bmp", MakeImage(10, 4, Strip));
    AddImage(*current, "holes.bmp", MakeImage(4, 4, Holes));
    CSkinRegistry::Instance().InstallSkin(std::move(current));
    CTestCanvas canvas(12, 4, kSentinel);
    EXPECT_TRUE(DrawPiece(canvas.GetDC(), {0, 0, 12, 4}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_TILE), 0, TRUE));
    EXPECT_EQ(Strip(1, 2), canvas.Pixel(11, 2));
    DrawNineGrid(canvas.GetDC(), {0, 0, 12, 4}, MakeRef("grid.bmp", {0, 0, 9, 9}, {0, 0, 0, 0}, 0), RGB(7, 7, 7), TRUE);
    EXPECT_EQ(RGB(7, 7, 7), canvas.Pixel(5, 2)); // not in the current skin
    CRgn region = PieceRegion(nullptr, MakePiece("holes.bmp", {0, 0, 4, 4}, PIECE_COPY), {0, 0, 4, 4});
    EXPECT_EQ(14, RegionArea(region, {0, 0, 4, 4}));
    CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
}

// The image cut out and drawn as the piece says, the way a piece is defined to be drawn: the reference for drawing
// straight from the image.
void DrawCutPiece(const CSkinImage &image, HDC hDC, const RECT &dest, const SkinPiece &piece) {
    CSkinImage whole(image), cut;
    ASSERT_TRUE(whole.Crop(piece.rcSource.left, piece.rcSource.top, piece.rcSource.right, piece.rcSource.bottom, &cut));
    CScreenDC screen;
    CBitmap bitmap(cut.ToBitmap(screen));
    CDC source(::CreateCompatibleDC(screen));
    ASSERT_TRUE(bitmap.IsValid() && source.IsValid());
    CSelectObject select(source, bitmap);
    const LONG cx = static_cast<LONG>(cut.GetWidth()), cy = static_cast<LONG>(cut.GetHeight());
    if (piece.dwMode == PIECE_COPY) {
        const RECT rc = CNineGrid::CopyRect(dest, cx, cy);
        ::BitBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, SRCCOPY);
    } else if (piece.dwMode == PIECE_TILE) {
        CNineGrid::ForEachTile(dest, cx, cy, [&](const RECT &t) {
            ::BitBlt(hDC, t.left, t.top, t.right - t.left, t.bottom - t.top, source, 0, 0, SRCCOPY);
        });
    } else {
        ::SetStretchBltMode(hDC, COLORONCOLOR);
        ::StretchBlt(hDC, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source, 0, 0, cx, cy,
                     SRCCOPY);
    }
}

// The region of the cut's pixels placed as the piece is drawn, built with region operations one tile and one
// rectangle at a time: the reference for regions read from the image's pixels.
CRgn CutPieceRegion(const CSkinImage &image, const SkinPiece &piece, const RECT &dest, COLORREF key) {
    CSkinImage whole(image), cut;
    if (!whole.Crop(piece.rcSource.left, piece.rcSource.top, piece.rcSource.right, piece.rcSource.bottom, &cut))
        return CRgn();
    CScreenDC screen;
    CBitmap bitmap(cut.ToBitmap(screen));
    CRgn natural = RegionFromBitmap(bitmap, key);
    CRgn result(::CreateRectRgn(0, 0, 0, 0));
    CRgn clip(::CreateRectRgn(dest.left, dest.top, dest.right, dest.bottom));
    const LONG cx = static_cast<LONG>(cut.GetWidth()), cy = static_cast<LONG>(cut.GetHeight());
    if (piece.dwMode == PIECE_COPY || piece.dwMode == PIECE_TILE) {
        const std::vector<RECT> tiles = piece.dwMode == PIECE_COPY ? std::vector<RECT>{dest}
                                                                   : CNineGrid::TileRects(dest, cx, cy);
        for (const RECT &t : tiles) {
            CRgn moved(::CreateRectRgn(0, 0, 0, 0));
            ::CombineRgn(moved, natural, nullptr, RGN_COPY);
            ::OffsetRgn(moved, t.left, t.top);
            ::CombineRgn(result, result, moved, RGN_OR);
        }
    } else {
        std::vector<BYTE> data(::GetRegionData(natural, 0, nullptr));
        RGNDATA *pData = reinterpret_cast<RGNDATA *>(data.data());
        ::GetRegionData(natural, static_cast<DWORD>(data.size()), pData);
        const RECT *rects = reinterpret_cast<const RECT *>(pData->Buffer);
        for (DWORD i = 0; i < pData->rdh.nCount; ++i) {
            const RECT rc = CNineGrid::ScaleRect(rects[i], cx, cy, dest);
            CRgn part(::CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom));
            ::CombineRgn(result, result, part, RGN_OR);
        }
    }
    ::CombineRgn(result, result, clip, RGN_AND);
    return result;
}

// Indexed images: 1, 4 and 8 bits with a colour table that holds magenta, and a 24-bit one; all with a pattern that
// leaves no two neighbouring pixels or rows alike, and transparent holes.
CSkinImage MakePattern(DWORD bits) {
    CSkinImage image;
    image.Create(13, 11, bits, CSkinImage::FORMAT_BMP);
    const DWORD colours = bits >= 24 ? 0 : 1u << bits;
    for (DWORD i = 0; i < colours; ++i)
        image.SetPaletteColor(i, static_cast<BYTE>(i == 0 ? 255 : i * 37), static_cast<BYTE>(i == 0 ? 0 : 255 - i),
                              static_cast<BYTE>(i == 0 ? 255 : i * 11));
    for (DWORD y = 0; y < 11; ++y)
        for (DWORD x = 0; x < 13; ++x) {
            const bool hole = (x * 3 + y * 5) % 7 == 0;
            if (colours)
                image.SetPixelIndex(x, y, static_cast<BYTE>(hole ? 0 : 1 + (x + 2 * y) % (colours - 1)));
            else
                image.SetPixelColor(x, y, hole ? RGBQUAD{255, 0, 255, 0}
                                               : RGBQUAD{static_cast<BYTE>(x * 19), static_cast<BYTE>(y * 23), 90, 0});
        }
    return image;
}

// Drawing and regions come straight from the image's pixels without cutting them out: they must match what the cut
// gives, pixel for pixel, for every depth, mode, clamped source and destination larger or smaller than the source.
TEST_F(SkinDrawTest, PiecesDrawnFromTheWholeImageMatchTheCut) {
    const RECT sources[] = {{0, 0, 13, 11}, {2, 3, 9, 8}, {5, 0, 6, 11}, {-3, 2, 40, 5}, {0, 10, 13, 11}};
    const RECT dests[] = {{0, 0, 31, 23}, {3, 2, 8, 29}, {1, 1, 4, 3}, {2, 5, 33, 6}};
    for (DWORD bits : {1u, 4u, 8u, 24u}) {
        const CSkinImage image = MakePattern(bits);
        ASSERT_TRUE(image.IsValid());
        m_skin.Clear();
        AddImage(m_skin, "pattern.bmp", image);
        for (const RECT &source : sources)
            for (DWORD mode : {PIECE_COPY, PIECE_TILE, PIECE_STRETCH})
                for (const RECT &dest : dests) {
                    SCOPED_TRACE(::testing::Message() << bits << " bits, mode " << mode << ", source " << source.left
                                                      << "," << source.top << " dest " << dest.right << "x"
                                                      << dest.bottom);
                    const SkinPiece piece = MakePiece("pattern.bmp", source, mode);
                    CTestCanvas drawn(36, 32, kSentinel), expected(36, 32, kSentinel);
                    EXPECT_TRUE(DrawPiece(&image, drawn.GetDC(), dest, piece, 0, TRUE));
                    DrawCutPiece(image, expected.GetDC(), dest, piece);
                    int differences = 0;
                    for (LONG y = 0; y < 32; ++y)
                        for (LONG x = 0; x < 36; ++x)
                            differences += drawn.Pixel(x, y) != expected.Pixel(x, y);
                    EXPECT_EQ(0, differences);

                    CRgn region = PieceRegion(m_skin, nullptr, piece, dest, kMagenta);
                    CRgn reference = CutPieceRegion(image, piece, dest, kMagenta);
                    ASSERT_TRUE(region.IsValid() && reference.IsValid());
                    EXPECT_TRUE(::EqualRgn(region, reference));
                }
    }
}

// One section per image, made at its first paint and kept for the next ones, gone with the skin; a change of the
// image's pixels is drawn at once.
TEST_F(SkinDrawTest, ImagesKeepOneSectionForAllPaintsUntilTheSkinGoes) {
    CTestCanvas canvas(30, 30, kSentinel);
    CGdiCounterSnapshot start;
    const SkinImageRef grid = MakeRef("grid.bmp", {0, 0, 9, 9}, {3, 3, 3, 3}, 5);
    DrawNineGrid(m_skin, canvas.GetDC(), {0, 0, 30, 30}, grid, 0, TRUE);
    DrawPiece(m_skin, canvas.GetDC(), {0, 0, 25, 4}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_TILE), 0, TRUE);
    CGdiCounterSnapshot painted;
    EXPECT_EQ(2, painted.Get(CGdiCounter::kBitmap) - start.Get(CGdiCounter::kBitmap));
    EXPECT_EQ(2, painted.Get(CGdiCounter::kDC) - start.Get(CGdiCounter::kDC));
    for (int i = 0; i < 200; ++i) {
        DrawNineGrid(m_skin, canvas.GetDC(), {0, 0, 30, 30 - i % 9}, grid, 0, TRUE);
        DrawPiece(m_skin, canvas.GetDC(), {0, 0, 25, 4}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_STRETCH), 0, TRUE);
        CRgn region = NineGridRegion(m_skin, nullptr, grid, {0, 0, 30, 30 - i % 9}, kMagenta);
    }
    EXPECT_EQ("", painted.ChangesSince());

    CSkinImage *pStrip = m_skin.FindImage("strip.bmp");
    ASSERT_NE(nullptr, pStrip);
    pStrip->SetPixelColor(0, 0, RGBQUAD{1, 250, 7, 0});
    DrawPiece(m_skin, canvas.GetDC(), {0, 0, 10, 4}, MakePiece("strip.bmp", {0, 0, 10, 4}, PIECE_COPY), 0, TRUE);
    EXPECT_EQ(RGB(7, 250, 1), canvas.Pixel(0, 0));
    EXPECT_EQ(Strip(1, 0), canvas.Pixel(1, 0));
    EXPECT_EQ("", painted.ChangesSince());

    m_skin.Clear();
    EXPECT_EQ("", start.ChangesSince());
}

TEST(FillSolid, FillsExactlyTheRectangle) {
    CGdiCounterSnapshot gdi;
    {
        CTestCanvas canvas(6, 6, kSentinel);
        FillSolid(canvas.GetDC(), {1, 2, 4, 5}, RGB(200, 100, 50));
        EXPECT_EQ(RGB(200, 100, 50), canvas.Pixel(1, 2));
        EXPECT_EQ(RGB(200, 100, 50), canvas.Pixel(3, 4));
        EXPECT_EQ(kSentinel, canvas.Pixel(4, 4));
        EXPECT_EQ(kSentinel, canvas.Pixel(1, 5));
    }
    EXPECT_EQ("", gdi.ChangesSince());
}
