#include "skin/controls/SkinImage.h"
#include "tests/skin/controls/ByteBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
bool DecodeTga(CSkinImage &image, std::vector<BYTE> &bytes) {
    return image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()), CSkinImage::FORMAT_TGA);
}

CByteBuilder TgaHeader(unsigned imageType, unsigned width, unsigned height, unsigned depth, unsigned descriptor = 0,
                       unsigned mapType = 0, unsigned mapFirst = 0, unsigned mapLength = 0, unsigned mapBits = 0,
                       unsigned idLength = 0) {
    CByteBuilder b;
    b.U8(idLength).U8(mapType).U8(imageType).U16(mapFirst).U16(mapLength).U8(mapBits);
    b.U16(0).U16(0).U16(width).U16(height).U8(depth).U8(descriptor);
    return b;
}

void ExpectColor(const CSkinImage &image, DWORD x, DWORD y, BYTE b, BYTE g, BYTE r) {
    RGBQUAD c = image.GetPixelColor(x, y);
    EXPECT_EQ(b, c.rgbBlue) << x << "," << y;
    EXPECT_EQ(g, c.rgbGreen) << x << "," << y;
    EXPECT_EQ(r, c.rgbRed) << x << "," << y;
}
} // namespace

TEST(TgaCodec, EightBitRoundTripKeepsPixelsAndColourTable) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(7, 3, 8, CSkinImage::FORMAT_BMP));
    for (DWORD i = 0; i < 256; ++i)
        image.SetPaletteColor(i, static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3));
    for (DWORD y = 0; y < 3; ++y)
        for (DWORD x = 0; x < 7; ++x)
            image.SetPixelIndex(x, y, static_cast<BYTE>(x * 31 + y * 7));
    CMemoryStream stream;
    ASSERT_TRUE(image.Encode(stream, CSkinImage::FORMAT_TGA));
    EXPECT_EQ(18u + 256 * 3 + 7 * 3, stream.Size());
    EXPECT_EQ(1, stream.GetBuffer()[1]);
    EXPECT_EQ(1, stream.GetBuffer()[2]);

    CSkinImage back;
    ASSERT_TRUE(back.Decode(stream.GetBuffer(), stream.Size(), CSkinImage::FORMAT_TGA)) << back.GetLastError();
    EXPECT_EQ(8u, back.GetBpp());
    EXPECT_EQ(CSkinImage::FORMAT_TGA, back.GetType());
    EXPECT_EQ(0, std::memcmp(image.GetPalette(), back.GetPalette(), 256 * 4));
    for (DWORD y = 0; y < 3; ++y)
        for (DWORD x = 0; x < 7; ++x)
            EXPECT_EQ(image.GetPixelIndex(x, y), back.GetPixelIndex(x, y));
}

TEST(TgaCodec, TrueColourRoundTripWithAndWithoutAlpha) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(3, 2, 24, CSkinImage::FORMAT_BMP));
    image.SetPixelColor(0, 0, RGBQUAD{1, 2, 3, 0});
    image.SetPixelColor(2, 1, RGBQUAD{4, 5, 6, 0});
    CMemoryStream plain;
    ASSERT_TRUE(image.Encode(plain, CSkinImage::FORMAT_TGA));
    EXPECT_EQ(24, plain.GetBuffer()[16]);
    CSkinImage back;
    ASSERT_TRUE(back.Decode(plain.GetBuffer(), plain.Size(), CSkinImage::FORMAT_TGA));
    EXPECT_FALSE(back.HasAlpha());
    ExpectColor(back, 0, 0, 1, 2, 3);
    ExpectColor(back, 2, 1, 4, 5, 6);

    // With alpha the rows carry 32 bits and the fourth byte is scaled by the alpha maximum.
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(0, 0, 200);
    image.SetAlphaMax(128);
    CMemoryStream withAlpha;
    ASSERT_TRUE(image.Encode(withAlpha, CSkinImage::FORMAT_TGA));
    EXPECT_EQ(32, withAlpha.GetBuffer()[16]);
    ASSERT_TRUE(back.Decode(withAlpha.GetBuffer(), withAlpha.Size(), CSkinImage::FORMAT_TGA));
    ASSERT_TRUE(back.HasAlpha());
    EXPECT_EQ(200 * 128 / 255, back.AlphaGet(0, 0));
    EXPECT_EQ(128, back.AlphaGet(1, 0));
    ExpectColor(back, 2, 1, 4, 5, 6);
}

TEST(TgaCodec, EncoderNeeds8Or24Bits) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(2, 2, 4, CSkinImage::FORMAT_BMP));
    CMemoryStream stream;
    EXPECT_FALSE(image.Encode(stream, CSkinImage::FORMAT_TGA));
    EXPECT_STREQ("Bit depth must be 8 or 24", image.GetLastError());
}

TEST(TgaCodec, ThirtyTwoBitsKeepTheFourthByteAsAlpha) {
    CByteBuilder b = TgaHeader(2, 2, 1, 32);
    b.Bytes({1, 2, 3, 0x80, 4, 5, 6, 0});
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(0x80, image.AlphaGet(0, 0));
    EXPECT_EQ(0, image.AlphaGet(1, 0));
    ExpectColor(image, 1, 0, 4, 5, 6);
}

TEST(TgaCodec, SixteenBitsAre555WithAttributeAlpha) {
    // With one attribute bit declared, bit 15 clear means transparent.
    CByteBuilder b = TgaHeader(2, 3, 1, 16, 0x01);
    b.U16(0x7C00).U16(0x83E0).U16(0x801F);
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 0, 0, 0xF8);
    ExpectColor(image, 1, 0, 0, 0xF8, 0);
    ExpectColor(image, 2, 0, 0xF8, 0, 0);
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(0, image.AlphaGet(0, 0));
    EXPECT_EQ(255, image.AlphaGet(1, 0));

    // Without attribute bits, bit 15 carries nothing and every pixel is opaque.
    CByteBuilder c = TgaHeader(2, 1, 1, 16);
    c.U16(0x001F);
    ASSERT_TRUE(DecodeTga(image, c.Data())) << image.GetLastError();
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(255, image.AlphaGet(0, 0));
    ExpectColor(image, 0, 0, 0xF8, 0, 0);

    // 15 bits: the same colours and no alpha channel.
    CByteBuilder d = TgaHeader(10, 2, 1, 15, 0x01);
    d.U8(0x81).U16(0x03E0);
    ASSERT_TRUE(DecodeTga(image, d.Data())) << image.GetLastError();
    EXPECT_FALSE(image.HasAlpha());
    ExpectColor(image, 1, 0, 0, 0xF8, 0);
}

TEST(TgaCodec, GreyImagesGetARamp) {
    CByteBuilder b = TgaHeader(3, 2, 1, 8);
    b.Bytes({0x10, 0xF0});
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 0x10, 0x10, 0x10);
    ExpectColor(image, 1, 0, 0xF0, 0xF0, 0xF0);
}

TEST(TgaCodec, OrientationBits) {
    // Rows stored top first (0x20) and right to left (0x10).
    CByteBuilder b = TgaHeader(3, 2, 2, 8, 0x30, 0, 0, 0, 0, 3);
    b.Bytes({'i', 'd', '!'}).Bytes({1, 2, 3, 4});
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(2, image.GetPixelIndex(0, 0));
    EXPECT_EQ(1, image.GetPixelIndex(1, 0));
    EXPECT_EQ(4, image.GetPixelIndex(0, 1));
    EXPECT_EQ(3, image.GetPixelIndex(1, 1));

    CByteBuilder bottom = TgaHeader(3, 2, 2, 8);
    bottom.Bytes({1, 2, 3, 4});
    ASSERT_TRUE(DecodeTga(image, bottom.Data()));
    EXPECT_EQ(3, image.GetPixelIndex(0, 0));
    EXPECT_EQ(2, image.GetPixelIndex(1, 1));
}

TEST(TgaCodec, RunLengthPacketsIncludingOneThatRunsIntoTheNextRow) {
    CByteBuilder b = TgaHeader(10, 3, 2, 24);
    b.Bytes({0x81, 1, 2, 3});          // run of 2
    b.Bytes({0x01, 4, 5, 6, 7, 8, 9}); // 2 raw pixels: one ends row 0, one starts row 1
    b.Bytes({0x81, 10, 11, 12});       // run of 2 finishes row 1
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    // The first row in the file is the bottom row.
    ExpectColor(image, 0, 1, 1, 2, 3);
    ExpectColor(image, 1, 1, 1, 2, 3);
    ExpectColor(image, 2, 1, 4, 5, 6);
    ExpectColor(image, 0, 0, 7, 8, 9);
    ExpectColor(image, 2, 0, 10, 11, 12);
}

TEST(TgaCodec, RepeatPacketsMayCoverTheLastRowsAfterTheDataEnds) {
    // One packet of 8 pixels fills both rows of a 4 x 2 image; nothing follows it.
    CByteBuilder b = TgaHeader(10, 4, 2, 24);
    b.Bytes({0x87, 1, 2, 3});
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 1, 2, 3);
    ExpectColor(image, 3, 1, 1, 2, 3);

    // A narrow image: 200 rows of one pixel in two packets.
    CByteBuilder narrow = TgaHeader(10, 1, 200, 8);
    narrow.Bytes({0xFF, 5}).Bytes({0x80 + 71, 6});
    ASSERT_TRUE(DecodeTga(image, narrow.Data())) << image.GetLastError();
    EXPECT_EQ(5, image.GetPixelIndex(0, 199)); // the first row in the file is the bottom row
    EXPECT_EQ(5, image.GetPixelIndex(0, 72));
    EXPECT_EQ(6, image.GetPixelIndex(0, 71));
    EXPECT_EQ(6, image.GetPixelIndex(0, 0));

    // A raw packet that still owes pixels does not stand in for missing data.
    CByteBuilder raw = TgaHeader(10, 1, 3, 8);
    raw.Bytes({0x02, 7});
    EXPECT_FALSE(DecodeTga(image, raw.Data()));
    EXPECT_STREQ("corrupted TGA", image.GetLastError());
}

TEST(TgaCodec, ColourMapEntriesOutsideTheTableAreDropped) {
    // 10 entries starting at index 250: six land in the table, four are read and dropped.
    CByteBuilder b = TgaHeader(1, 1, 1, 8, 0, 1, 250, 10, 24);
    for (unsigned i = 0; i < 10; ++i)
        b.Bytes({i, i, 100 + i});
    b.U8(255);
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(105, image.GetPalette()[255].rgbRed);
    EXPECT_EQ(100, image.GetPalette()[250].rgbRed);
    EXPECT_EQ(255, image.GetPixelIndex(0, 0));

    // 16-bit entries are two bytes of 5-5-5 each; the pixels after them are read in step.
    CByteBuilder s = TgaHeader(1, 2, 1, 8, 0, 1, 0, 2, 16);
    s.U16(0x7C00).U16(0x001F).Bytes({1, 0});
    ASSERT_TRUE(DecodeTga(image, s.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 0xF8, 0, 0);
    ExpectColor(image, 1, 0, 0, 0, 0xF8);

    // A colour map in front of true-colour pixels is skipped entirely.
    CByteBuilder t = TgaHeader(2, 1, 1, 24, 0, 1, 0, 2, 32);
    t.Fill(8, 0xEE).Bytes({7, 8, 9});
    ASSERT_TRUE(DecodeTga(image, t.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 7, 8, 9);
}

TEST(TgaCodec, ErrorTexts) {
    struct Case {
        const char *name;
        CByteBuilder bytes;
        const char *text;
    };
    std::vector<Case> cases;
    cases.push_back({"short header", CByteBuilder().Fill(17, 0), "Not a TGA"});
    cases.push_back({"zero width", TgaHeader(2, 0, 4, 24).Fill(64, 0), "TGA Create failed"});
    cases.push_back({"zero height", TgaHeader(2, 4, 0, 24).Fill(64, 0), "TGA Create failed"});
    cases.push_back({"too large", TgaHeader(2, 20000, 1, 24).Fill(64, 0), "TGA Create failed"});
    cases.push_back({"no image", TgaHeader(0, 1, 1, 24).Fill(64, 0), "Unknown TGA image type"});
    cases.push_back({"type 4", TgaHeader(4, 1, 1, 24).Fill(64, 0), "Unknown TGA image type"});
    cases.push_back({"rows missing", TgaHeader(2, 2, 3, 24).Fill(7, 0), "corrupted TGA"});
    cases.push_back({"run-length rows missing", TgaHeader(10, 2, 3, 24).Bytes({0x81, 1, 2, 3}), "corrupted TGA"});
    cases.push_back({"huge and empty", TgaHeader(2, 16384, 16384, 32).Fill(64, 0), "corrupted TGA"});
    for (unsigned depth : {0u, 1u, 4u, 12u, 31u, 48u})
        cases.push_back({"odd depth", TgaHeader(2, 1, 1, depth).Fill(64, 0), "Unsupported TGA bit depth"});
    for (Case &c : cases) {
        CSkinImage image;
        EXPECT_FALSE(DecodeTga(image, c.bytes.Data())) << c.name;
        EXPECT_FALSE(image.IsValid()) << c.name;
        EXPECT_STREQ(c.text, image.GetLastError()) << c.name;
    }
}

TEST(TgaCodec, LastRowMayBeShort) {
    CByteBuilder b = TgaHeader(2, 2, 2, 24);
    b.Bytes({1, 2, 3, 4, 5, 6}).Bytes({7, 8, 9});
    CSkinImage image;
    ASSERT_TRUE(DecodeTga(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 7, 8, 9);
    ExpectColor(image, 1, 0, 0, 0, 0);
}

TEST(TgaCodec, CancelFlagStopsTheDecoder) {
    CByteBuilder b = TgaHeader(2, 1, 1, 24);
    b.Bytes({1, 2, 3});
    CSkinImage image;
    image.SetCancel(true);
    EXPECT_FALSE(DecodeTga(image, b.Data()));
    EXPECT_STREQ("Cancelled", image.GetLastError());
}
