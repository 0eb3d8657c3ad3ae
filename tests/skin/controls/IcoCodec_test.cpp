#include "skin/controls/SkinImage.h"
#include "tests/skin/controls/ByteBuilder.h"

#include <gtest/gtest.h>

namespace {
bool DecodeIco(CSkinImage &image, std::vector<BYTE> &bytes) {
    return image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()), CSkinImage::FORMAT_ICO);
}

// One directory entry and its bitmap header; the caller appends colour table, pixels and mask.
CByteBuilder IconHeader(unsigned width, unsigned height, unsigned colorCount, unsigned bitCount, unsigned long size,
                        unsigned long offset = 22) {
    CByteBuilder b;
    b.U16(0).U16(1).U16(1);
    b.U8(width).U8(height).U8(colorCount).U8(0).U16(1).U16(bitCount).U32(size).U32(offset);
    b.InfoHeader(width, height * 2, bitCount);
    return b;
}
} // namespace

TEST(IcoCodec, EightBitIconWithEmptyMaskHasNoAlpha) {
    // 2 x 2, 8 bits: 256 colour entries, two 4-byte pixel rows, two 4-byte mask rows of zeros.
    CByteBuilder b = IconHeader(2, 2, 0, 8, 40 + 1024 + 8 + 8);
    b.Fill(1024, 0).Bytes({1, 2, 0, 0, 3, 4, 0, 0}).Fill(8, 0);
    CSkinImage image;
    ASSERT_TRUE(DecodeIco(image, b.Data()));
    EXPECT_EQ(8u, image.GetBpp());
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(1, image.GetPixelIndex(0, 1));
    EXPECT_EQ(4, image.GetPixelIndex(1, 0));
    EXPECT_EQ(1, image.GetNumFrames());
    EXPECT_EQ(CSkinImage::FORMAT_ICO, image.GetType());
}

TEST(IcoCodec, MaskBitsMakePixelsTransparent) {
    // 4 bits from a colour count of 16; mask: bottom row first pixel, top row second pixel.
    CByteBuilder b = IconHeader(2, 2, 16, 4, 40 + 64 + 8 + 8);
    b.Fill(64, 0).Bytes({0x12, 0, 0, 0, 0x34, 0, 0, 0}).Bytes({0x80, 0, 0, 0, 0x40, 0, 0, 0});
    CSkinImage image;
    ASSERT_TRUE(DecodeIco(image, b.Data()));
    EXPECT_EQ(4u, image.GetBpp());
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(0, image.AlphaGet(0, 1));
    EXPECT_EQ(255, image.AlphaGet(1, 1));
    EXPECT_EQ(255, image.AlphaGet(0, 0));
    EXPECT_EQ(0, image.AlphaGet(1, 0));
    EXPECT_EQ(4, image.GetPixelIndex(1, 0));
}

TEST(IcoCodec, BitsFollowTheColourCount) {
    struct Case {
        unsigned colorCount, bitCount, expected;
    } cases[] = {{2, 0, 1}, {1, 8, 1}, {3, 0, 4}, {16, 8, 4}, {17, 0, 8}, {0, 0, 8}, {0, 4, 8}, {0, 24, 24}};
    for (const Case &c : cases) {
        CSkinImage probe;
        ASSERT_TRUE(probe.Create(1, 1, c.expected, CSkinImage::FORMAT_ICO));
        CByteBuilder b = IconHeader(1, 1, c.colorCount, c.bitCount, 40 + probe.GetNumColors() * 4 + 4 + 4);
        b.Fill(probe.GetNumColors() * 4 + 4 + 4, 0);
        CSkinImage image;
        ASSERT_TRUE(DecodeIco(image, b.Data())) << c.colorCount << "/" << c.bitCount;
        EXPECT_EQ(c.expected, image.GetBpp()) << c.colorCount << "/" << c.bitCount;
    }
}

TEST(IcoCodec, ThirtyTwoBitIconKeepsAlphaAndMask) {
    CByteBuilder b = IconHeader(2, 1, 0, 32, 40 + 8 + 4);
    b.Bytes({1, 2, 3, 200, 4, 5, 6, 255}).Bytes({0x40, 0, 0, 0});
    CSkinImage image;
    ASSERT_TRUE(DecodeIco(image, b.Data()));
    EXPECT_EQ(24u, image.GetBpp());
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(200, image.AlphaGet(0, 0));
    EXPECT_EQ(0, image.AlphaGet(1, 0)); // the mask wins
    EXPECT_EQ(3, image.GetPixelColor(0, 0).rgbRed);

    // An empty mask keeps the alpha that came with the pixels.
    CByteBuilder c = IconHeader(1, 1, 0, 32, 40 + 4 + 4);
    c.Bytes({1, 2, 3, 77}).Fill(4, 0);
    ASSERT_TRUE(DecodeIco(image, c.Data()));
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(77, image.AlphaGet(0, 0));
}

TEST(IcoCodec, SelectedFrameIsDecodedAndFramesCounted) {
    CByteBuilder b;
    b.U16(0).U16(1).U16(2);
    const unsigned long size = 40 + 8 + 4 + 4;
    b.U8(1).U8(1).U8(2).U8(0).U16(1).U16(1).U32(size).U32(6 + 32);
    b.U8(2).U8(1).U8(2).U8(0).U16(1).U16(1).U32(size).U32(6 + 32 + size);
    b.InfoHeader(1, 2, 1).Fill(8, 0).Bytes({0x80, 0, 0, 0}).Fill(4, 0);
    b.InfoHeader(2, 2, 1).Bytes({0, 0, 0, 0, 9, 9, 9, 0}).Bytes({0x40, 0, 0, 0}).Fill(4, 0);
    CSkinImage image;
    image.SetFrame(1);
    ASSERT_TRUE(DecodeIco(image, b.Data()));
    EXPECT_EQ(2u, image.GetWidth());
    EXPECT_EQ(2, image.GetNumFrames());
    EXPECT_EQ(1, image.GetFrame());
    EXPECT_EQ(1, image.GetPixelIndex(1, 0));
    EXPECT_EQ(9, image.GetPalette()[1].rgbRed);

    image.SetFrame(2);
    EXPECT_FALSE(DecodeIco(image, b.Data()));
}

TEST(IcoCodec, EncoderRoundTrips) {
    // 4 bits with a transparent index: those pixels come back with alpha 0.
    CSkinImage indexed;
    ASSERT_TRUE(indexed.Create(5, 3, 4, CSkinImage::FORMAT_BMP));
    for (DWORD i = 0; i < 16; ++i)
        indexed.SetPaletteColor(i, static_cast<BYTE>(i * 16), 0, static_cast<BYTE>(255 - i));
    for (DWORD y = 0; y < 3; ++y)
        for (DWORD x = 0; x < 5; ++x)
            indexed.SetPixelIndex(x, y, static_cast<BYTE>((x + y) % 16));
    indexed.SetTransIndex(2);
    CMemoryStream stream;
    ASSERT_TRUE(indexed.Encode(stream, CSkinImage::FORMAT_ICO));
    CSkinImage back;
    ASSERT_TRUE(back.Decode(stream.GetBuffer(), stream.Size(), CSkinImage::FORMAT_ICO));
    EXPECT_EQ(4u, back.GetBpp());
    ASSERT_TRUE(back.HasAlpha());
    for (DWORD y = 0; y < 3; ++y)
        for (DWORD x = 0; x < 5; ++x) {
            EXPECT_EQ(indexed.GetPixelIndex(x, y), back.GetPixelIndex(x, y));
            EXPECT_EQ((x + y) % 16 == 2 ? 0 : 255, back.AlphaGet(x, y)) << x << "," << y;
        }
    EXPECT_EQ(indexed.GetPalette()[7].rgbBlue, back.GetPalette()[7].rgbBlue);

    // 24 bits with alpha travel as 32-bit pixels.
    CSkinImage rgba;
    ASSERT_TRUE(rgba.Create(3, 2, 24, CSkinImage::FORMAT_BMP));
    ASSERT_TRUE(rgba.AlphaCreate());
    rgba.SetPixelColor(2, 1, RGBQUAD{10, 20, 30, 0});
    rgba.AlphaSet(2, 1, 99);
    rgba.AlphaSet(0, 0, 0);
    CMemoryStream out32;
    ASSERT_TRUE(rgba.Encode(out32, CSkinImage::FORMAT_ICO));
    EXPECT_EQ(32, out32.GetBuffer()[12]); // the entry's bit count
    ASSERT_TRUE(back.Decode(out32.GetBuffer(), out32.Size(), CSkinImage::FORMAT_ICO));
    EXPECT_EQ(99, back.AlphaGet(2, 1));
    EXPECT_EQ(0, back.AlphaGet(0, 0));
    EXPECT_EQ(255, back.AlphaGet(1, 0));
    EXPECT_EQ(30, back.GetPixelColor(2, 1).rgbRed);

    // 8 bits without transparency: the mask is empty and no alpha comes back.
    CSkinImage plain;
    ASSERT_TRUE(plain.Create(4, 4, 8, CSkinImage::FORMAT_BMP));
    plain.SetPixelIndex(3, 3, 200);
    CMemoryStream out8;
    ASSERT_TRUE(plain.Encode(out8, CSkinImage::FORMAT_ICO));
    ASSERT_TRUE(back.Decode(out8.GetBuffer(), out8.Size(), CSkinImage::FORMAT_ICO));
    EXPECT_FALSE(back.HasAlpha());
    EXPECT_EQ(200, back.GetPixelIndex(3, 3));
}

TEST(IcoCodec, EncoderRefusesLargeImages) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(256, 1, 24, CSkinImage::FORMAT_BMP));
    CMemoryStream stream;
    EXPECT_FALSE(image.Encode(stream, CSkinImage::FORMAT_ICO));
    EXPECT_STREQ("Can't save this image as icon", image.GetLastError());
}

TEST(IcoCodec, DamagedFilesFailCleanlyWithoutText) {
    struct Case {
        const char *name;
        CByteBuilder bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"short directory", CByteBuilder().U16(0).U16(1)});
    cases.push_back({"reserved set", CByteBuilder().U16(1).U16(1).U16(1).Fill(16, 0)});
    cases.push_back({"cursor type", CByteBuilder().U16(0).U16(2).U16(1).Fill(16, 0)});
    cases.push_back({"no entries", CByteBuilder().U16(0).U16(1).U16(0).Fill(64, 0)});
    cases.push_back({"entries beyond stream", CByteBuilder().U16(0).U16(1).U16(65535).Fill(32, 0)});
    {
        CByteBuilder b = IconHeader(2, 2, 0, 8, 40 + 1024 + 16);
        b.Data()[18] = 0xFF; // offset far beyond the stream
        b.Data()[21] = 0x7F;
        b.Fill(1024 + 16, 0);
        cases.push_back({"offset beyond stream", b});
    }
    {
        CByteBuilder b = IconHeader(2, 2, 0, 8, 0xFFFFFFF0);
        b.Fill(1024 + 16, 0);
        cases.push_back({"size beyond stream", b});
    }
    {
        CByteBuilder b = IconHeader(2, 2, 0, 8, 40 + 1024 + 8);
        b.Fill(1024 + 8, 0);
        cases.push_back({"mask missing", b});
    }
    {
        CByteBuilder b = IconHeader(64, 64, 0, 32, 40 + 100);
        b.Fill(100, 0);
        cases.push_back({"pixels missing", b});
    }
    for (Case &c : cases) {
        CSkinImage image;
        image.SetLastError("before");
        EXPECT_FALSE(DecodeIco(image, c.bytes.Data())) << c.name;
        EXPECT_FALSE(image.IsValid()) << c.name;
        EXPECT_STREQ("", image.GetLastError()) << c.name;
    }
}
