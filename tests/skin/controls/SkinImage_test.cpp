#include "skin/controls/SkinImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
// An image whose pixel (x, y) holds an index or colour that identifies its position.
CSkinImage Numbered(DWORD width, DWORD height, DWORD bits) {
    CSkinImage image;
    EXPECT_TRUE(image.Create(width, height, bits, CSkinImage::FORMAT_BMP));
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x) {
            if (bits == 24)
                image.SetPixelColor(x, y, RGBQUAD{static_cast<BYTE>(x), static_cast<BYTE>(y), 0x55, 0});
            else
                image.SetPixelIndex(x, y, static_cast<BYTE>((x + y * 3) % (1u << (bits > 8 ? 8 : bits))));
        }
    return image;
}

bool SamePixel(const CSkinImage &a, DWORD ax, DWORD ay, const CSkinImage &b, DWORD bx, DWORD by) {
    if (a.GetBpp() == 24) {
        RGBQUAD ca = a.GetPixelColor(ax, ay), cb = b.GetPixelColor(bx, by);
        return std::memcmp(&ca, &cb, 3) == 0;
    }
    return a.GetPixelIndex(ax, ay) == b.GetPixelIndex(bx, by);
}
} // namespace

TEST(SkinImage, CreateRoundsBitDepthsAndComputesStride) {
    struct Case {
        DWORD bits, expectedBits, colors;
    } cases[] = {{0, 1, 2},   {1, 1, 2},   {2, 4, 16}, {3, 4, 16},  {4, 4, 16},
                 {5, 8, 256}, {8, 8, 256}, {9, 24, 0}, {16, 24, 0}, {32, 24, 0}};
    for (const Case &c : cases) {
        CSkinImage image;
        ASSERT_TRUE(image.Create(13, 3, c.bits, CSkinImage::FORMAT_TGA)) << c.bits;
        EXPECT_EQ(c.expectedBits, image.GetBpp()) << c.bits;
        EXPECT_EQ(c.colors, image.GetNumColors()) << c.bits;
        EXPECT_EQ(((13 * c.expectedBits + 31) / 32) * 4, image.GetEffWidth()) << c.bits;
        EXPECT_EQ(image.GetEffWidth() * 3, image.GetImageSize());
        EXPECT_EQ(40 + c.colors * 4 + image.GetImageSize(), image.GetDIBSize());
        EXPECT_EQ(CSkinImage::FORMAT_TGA, image.GetType());
        // The block starts with a header that the platform's DIB calls accept.
        EXPECT_EQ(40u, image.GetDIB()->bmiHeader.biSize);
        EXPECT_EQ(13, image.GetDIB()->bmiHeader.biWidth);
        EXPECT_EQ(c.expectedBits, image.GetDIB()->bmiHeader.biBitCount);
    }
}

TEST(SkinImage, CreateRefusesUnknownFormatsAndUnreasonableSizes) {
    CSkinImage image;
    EXPECT_FALSE(image.Create(4, 4, 8, 3));
    EXPECT_STREQ("Unsupported operation for this format", image.GetLastError());
    EXPECT_FALSE(image.Create(0, 4, 8, CSkinImage::FORMAT_BMP));
    EXPECT_FALSE(image.Create(CSkinImage::MAX_DIMENSION + 1, 1, 24, CSkinImage::FORMAT_BMP));
    EXPECT_FALSE(image.IsValid());
    // The pixel area is capped whatever the sides: 2048 x 2048 is the largest square, one more row is refused.
    EXPECT_TRUE(image.Create(2048, 2048, 24, CSkinImage::FORMAT_BMP)) << image.GetLastError();
    EXPECT_TRUE(image.Create(CSkinImage::MAX_DIMENSION, 256, 1, CSkinImage::FORMAT_BMP)) << image.GetLastError();
    EXPECT_FALSE(image.Create(2048, 2049, 24, CSkinImage::FORMAT_BMP));
    EXPECT_STREQ("Image too large: more than 4194304 pixels", image.GetLastError());
    EXPECT_FALSE(image.Create(CSkinImage::MAX_DIMENSION, CSkinImage::MAX_DIMENSION, 1, CSkinImage::FORMAT_BMP));
    EXPECT_FALSE(image.IsValid());
}

TEST(SkinImage, CreateReleasesAPreviousAlphaChannel) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(2, 2, 24, CSkinImage::FORMAT_BMP));
    ASSERT_TRUE(image.AlphaCreate());
    EXPECT_EQ(255, image.AlphaGet(1, 1));
    ASSERT_TRUE(image.Create(2, 2, 24, CSkinImage::FORMAT_BMP));
    EXPECT_FALSE(image.HasAlpha());
}

TEST(SkinImage, ErrorTextIsCutAt255Characters) {
    CSkinImage image;
    std::string longText(400, 'x');
    image.SetLastError(longText.c_str());
    EXPECT_EQ(255u, std::strlen(image.GetLastError()));
}

TEST(SkinImage, ScanLinesCountFromTheTopOverBottomUpRows) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(2, 3, 8, CSkinImage::FORMAT_BMP));
    image.SetPixelIndex(1, 0, 42);
    // The top row is the last row of the block.
    EXPECT_EQ(42, image.GetBits()[2 * image.GetEffWidth() + 1]);
    EXPECT_EQ(image.GetBits() + 2 * image.GetEffWidth(), image.GetScanLine(0));
    EXPECT_EQ(nullptr, image.GetScanLine(3));
}

TEST(SkinImage, CropClampsOrdersAndKeepsPaletteAndTransparentIndex) {
    for (DWORD bits : {1u, 4u, 8u, 24u}) {
        CSkinImage image = Numbered(9, 7, bits);
        if (bits <= 8)
            image.SetPaletteColor(1, 10, 20, 30);
        image.SetTransIndex(1);
        CSkinImage cut;
        // Given in reverse order: the cut is columns 2..5 and rows 1..3 counted from the top.
        ASSERT_TRUE(image.Crop(6, 4, 2, 1, &cut)) << bits;
        ASSERT_EQ(4u, cut.GetWidth());
        ASSERT_EQ(3u, cut.GetHeight());
        EXPECT_EQ(image.GetBpp(), cut.GetBpp());
        EXPECT_EQ(1, cut.GetTransIndex());
        for (DWORD y = 0; y < 3; ++y)
            for (DWORD x = 0; x < 4; ++x)
                EXPECT_TRUE(SamePixel(image, x + 2, y + 1, cut, x, y)) << bits << " " << x << "," << y;
        if (bits <= 8) {
            EXPECT_EQ(10, cut.GetPalette()[1].rgbRed);
        }

        // Coordinates outside the image are clamped to it.
        ASSERT_TRUE(image.Crop(-5, -5, 100, 100, &cut));
        EXPECT_EQ(9u, cut.GetWidth());
        EXPECT_EQ(7u, cut.GetHeight());
    }
}

TEST(SkinImage, CropOfNothingFailsAndLeavesTheTarget) {
    CSkinImage image = Numbered(4, 4, 8);
    CSkinImage target = Numbered(2, 2, 8);
    EXPECT_FALSE(image.Crop(1, 0, 1, 4, &target));
    EXPECT_FALSE(image.Crop(0, 2, 4, 2, &target));
    // Both ends clamp to the same edge.
    EXPECT_FALSE(image.Crop(10, 0, 20, 4, &target));
    EXPECT_EQ(2u, target.GetWidth());
    // Without a target the image itself is replaced.
    ASSERT_TRUE(image.Crop(0, 0, 2, 1));
    EXPECT_EQ(2u, image.GetWidth());
    EXPECT_EQ(1u, image.GetHeight());
}

TEST(SkinImage, CropCarriesAlpha) {
    CSkinImage image = Numbered(3, 3, 24);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(2, 1, 7);
    CSkinImage cut;
    ASSERT_TRUE(image.Crop(1, 1, 3, 3, &cut));
    ASSERT_TRUE(cut.HasAlpha());
    EXPECT_EQ(7, cut.AlphaGet(1, 0));
    EXPECT_EQ(255, cut.AlphaGet(0, 0));
}

TEST(SkinImage, QuarterTurnsAreOppositeAtEveryDepth) {
    for (DWORD bits : {1u, 4u, 8u, 24u}) {
        CSkinImage image = Numbered(5, 3, bits);
        ASSERT_TRUE(image.AlphaCreate());
        image.AlphaSet(0, 0, 9);
        CSkinImage right, back;
        ASSERT_TRUE(image.Turn(90, &right)) << bits;
        ASSERT_EQ(3u, right.GetWidth());
        ASSERT_EQ(5u, right.GetHeight());
        // 90 turns clockwise: the top-left pixel goes to the top-right corner, the left column to the top row.
        for (DWORD y = 0; y < 3; ++y)
            for (DWORD x = 0; x < 5; ++x)
                EXPECT_TRUE(SamePixel(image, x, y, right, 2 - y, x)) << bits;
        EXPECT_EQ(9, right.AlphaGet(2, 0));
        ASSERT_TRUE(right.Turn(270, &back));
        ASSERT_EQ(5u, back.GetWidth());
        for (DWORD y = 0; y < 3; ++y)
            for (DWORD x = 0; x < 5; ++x)
                EXPECT_TRUE(SamePixel(image, x, y, back, x, y)) << bits;
        EXPECT_EQ(9, back.AlphaGet(0, 0));

        CSkinImage half;
        ASSERT_TRUE(image.Turn(180, &half));
        EXPECT_TRUE(SamePixel(image, 0, 0, half, 4, 2));
    }
}

TEST(SkinImage, TurnRefusesOtherAngles) {
    CSkinImage image = Numbered(2, 2, 8);
    EXPECT_FALSE(image.Turn(45));
    EXPECT_TRUE(image.Turn(-90)); // same as 270
}

TEST(SkinImage, DecodeFailureLeavesTheImageAndSetsTheText) {
    CSkinImage image = Numbered(3, 2, 8);
    BYTE junk[5] = {1, 2, 3, 4, 5};
    CMemoryStream stream(junk, sizeof(junk), false);
    EXPECT_FALSE(image.Decode(stream, CSkinImage::FORMAT_BMP));
    EXPECT_STREQ("Not a BMP", image.GetLastError());
    EXPECT_EQ(3u, image.GetWidth());
    EXPECT_EQ(8u, image.GetBpp());
    EXPECT_FALSE(image.Decode(junk, sizeof(junk), 7));
    EXPECT_STREQ("Unsupported operation for this format", image.GetLastError());
}

TEST(SkinImage, EncodeOfAnUnknownFormatFails) {
    CSkinImage image = Numbered(3, 2, 8);
    CMemoryStream stream;
    EXPECT_FALSE(image.Encode(stream, 9));
    EXPECT_STREQ("Unsupported operation for this format", image.GetLastError());
    EXPECT_EQ(0u, stream.Size());
}

TEST(SkinImage, CopiesAreDeep) {
    CSkinImage image = Numbered(3, 2, 24);
    ASSERT_TRUE(image.AlphaCreate());
    CSkinImage copy(image);
    copy.SetPixelColor(0, 0, RGBQUAD{1, 2, 3, 0});
    copy.AlphaSet(0, 0, 1);
    EXPECT_EQ(0, image.GetPixelColor(0, 0).rgbBlue);
    EXPECT_EQ(255, image.AlphaGet(0, 0));
    CSkinImage moved(std::move(copy));
    EXPECT_FALSE(copy.IsValid());
    EXPECT_EQ(1, moved.GetPixelColor(0, 0).rgbBlue);
}
