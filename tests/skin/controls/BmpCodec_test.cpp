#include "skin/controls/SkinImage.h"
#include "tests/skin/controls/ByteBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
bool DecodeBmp(CSkinImage &image, std::vector<BYTE> &bytes) {
    return image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()), CSkinImage::FORMAT_BMP);
}

RGBQUAD Bgr(BYTE b, BYTE g, BYTE r) {
    return RGBQUAD{b, g, r, 0};
}

void ExpectColor(const CSkinImage &image, DWORD x, DWORD y, BYTE b, BYTE g, BYTE r) {
    RGBQUAD c = image.GetPixelColor(x, y);
    EXPECT_EQ(b, c.rgbBlue) << x << "," << y;
    EXPECT_EQ(g, c.rgbGreen) << x << "," << y;
    EXPECT_EQ(r, c.rgbRed) << x << "," << y;
}

// 2 x 2 24-bit pixels: bottom row blue, green; top row red, white (rows bottom first, padded to 8 bytes).
CByteBuilder &Pixels24(CByteBuilder &b) {
    return b.Bytes({255, 0, 0, 0, 255, 0, 0, 0}).Bytes({0, 0, 255, 255, 255, 255, 0, 0});
}
} // namespace

TEST(BmpCodec, EncoderAndDecoderRoundTripEveryDepth) {
    for (DWORD bits : {1u, 4u, 8u, 24u}) {
        CSkinImage image;
        ASSERT_TRUE(image.Create(11, 5, bits, CSkinImage::FORMAT_BMP));
        for (DWORD i = 0; i < image.GetNumColors(); ++i)
            image.SetPaletteColor(i, static_cast<BYTE>(i * 3), static_cast<BYTE>(i * 5), static_cast<BYTE>(i * 7));
        for (DWORD y = 0; y < 5; ++y)
            for (DWORD x = 0; x < 11; ++x) {
                if (bits == 24)
                    image.SetPixelColor(x, y, Bgr(static_cast<BYTE>(x * 20), static_cast<BYTE>(y * 40), 9));
                else
                    image.SetPixelIndex(x, y, static_cast<BYTE>((x * 7 + y) % image.GetNumColors()));
            }
        image.SetXDPI(96);
        CMemoryStream stream;
        ASSERT_TRUE(image.Encode(stream, CSkinImage::FORMAT_BMP)) << bits;
        EXPECT_EQ(14 + image.GetDIBSize(), stream.Size());
        const BYTE *out = stream.GetBuffer();
        EXPECT_EQ('B', out[0]);
        EXPECT_EQ('M', out[1]);
        DWORD fileSize, offset;
        std::memcpy(&fileSize, out + 2, 4);
        std::memcpy(&offset, out + 10, 4);
        EXPECT_EQ(stream.Size(), fileSize);
        EXPECT_EQ(14 + 40 + image.GetNumColors() * 4, offset);

        CSkinImage decoded;
        ASSERT_TRUE(stream.Seek(0, 0));
        ASSERT_TRUE(decoded.Decode(stream, CSkinImage::FORMAT_BMP)) << decoded.GetLastError();
        ASSERT_EQ(image.GetDIBSize(), decoded.GetDIBSize());
        EXPECT_EQ(0, std::memcmp(image.GetDIB(), decoded.GetDIB(), image.GetDIBSize())) << bits;
        EXPECT_EQ(96, decoded.GetXDPI());
        EXPECT_EQ(72, decoded.GetYDPI());
        EXPECT_EQ(CSkinImage::FORMAT_BMP, decoded.GetType());
    }
}

TEST(BmpCodec, DecodesWithoutFileHeader) {
    CByteBuilder b;
    b.InfoHeader(2, 2, 24);
    Pixels24(b);
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 0, 1, 255, 0, 0);
    ExpectColor(image, 1, 1, 0, 255, 0);
    ExpectColor(image, 0, 0, 0, 0, 255);
    ExpectColor(image, 1, 0, 255, 255, 255);
}

TEST(BmpCodec, NegativeHeightIsReturnedBottomUp) {
    CByteBuilder b;
    b.FileHeader(54).InfoHeader(2, -2, 24);
    Pixels24(b); // now the first stored row is the top row
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(2u, image.GetHeight());
    EXPECT_GT(image.GetDIB()->bmiHeader.biHeight, 0);
    ExpectColor(image, 0, 0, 255, 0, 0);
    ExpectColor(image, 1, 0, 0, 255, 0);
    ExpectColor(image, 0, 1, 0, 0, 255);
}

TEST(BmpCodec, SixteenBitsWithoutMasksAre555AndMasksAreHonoured) {
    // Red, green, blue, white in 5-5-5.
    CByteBuilder b;
    b.InfoHeader(4, 1, 16).U16(0x7C00).U16(0x03E0).U16(0x001F).U16(0x7FFF);
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(24u, image.GetBpp());
    ExpectColor(image, 0, 0, 0, 0, 0xF8);
    ExpectColor(image, 1, 0, 0, 0xF8, 0);
    ExpectColor(image, 2, 0, 0xF8, 0, 0);
    ExpectColor(image, 3, 0, 0xF8, 0xF8, 0xF8);

    // 5-6-5 masks after the header; the file header's offset points past them.
    CByteBuilder m;
    m.FileHeader(14 + 40 + 12).InfoHeader(2, 1, 16, BI_BITFIELDS).U32(0xF800).U32(0x07E0).U32(0x001F);
    m.U16(0xF800).U16(0x07E0);
    ASSERT_TRUE(DecodeBmp(image, m.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 0, 0, 0xF8);
    ExpectColor(image, 1, 0, 0, 0xFC, 0);
}

TEST(BmpCodec, ThirtyTwoBitsDropTheFourthByte) {
    CByteBuilder b;
    b.InfoHeader(2, 1, 32).Bytes({1, 2, 3, 0x80, 4, 5, 6, 0x00});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(24u, image.GetBpp());
    EXPECT_FALSE(image.HasAlpha());
    ExpectColor(image, 0, 0, 1, 2, 3);
    ExpectColor(image, 1, 0, 4, 5, 6);

    // Bit-field 32-bit files without file header: the masks are skipped, not read as pixels.
    CByteBuilder f;
    f.InfoHeader(1, 1, 32, BI_BITFIELDS).U32(0xFF0000).U32(0xFF00).U32(0xFF).Bytes({7, 8, 9, 0});
    ASSERT_TRUE(DecodeBmp(image, f.Data())) << image.GetLastError();
    ExpectColor(image, 0, 0, 7, 8, 9);
}

TEST(BmpCodec, CoreHeaderHasThreeByteColourEntries) {
    CByteBuilder b;
    b.FileHeader(14 + 12 + 6).U32(12).U16(3).U16(1).U16(1).U16(1);
    b.Bytes({10, 20, 30, 40, 50, 60}); // two entries: blue, green, red
    b.Bytes({0xA0, 0, 0, 0});          // pixels 1, 0, 1
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(1u, image.GetBpp());
    EXPECT_EQ(3u, image.GetWidth());
    EXPECT_EQ(40, image.GetPalette()[1].rgbBlue);
    EXPECT_EQ(60, image.GetPalette()[1].rgbRed);
    EXPECT_EQ(0, image.GetPalette()[1].rgbReserved);
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0, image.GetPixelIndex(1, 0));
    EXPECT_EQ(1, image.GetPixelIndex(2, 0));
}

TEST(BmpCodec, ShortColourCountReadsOnlyThoseEntries) {
    // Two colour entries declared for an 8-bit image and no file header: the pixels follow the two entries.
    CByteBuilder b;
    b.InfoHeader(2, 1, 8, 0, 0, 2).Bytes({1, 1, 1, 0, 2, 2, 2, 0}).Bytes({1, 0, 0, 0});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
    EXPECT_EQ(2, image.GetPalette()[1].rgbRed);
}

TEST(BmpCodec, Rle8RunsEscapesAndClipping) {
    CByteBuilder b;
    b.InfoHeader(4, 3, 8, BI_RLE8).Fill(256 * 4, 0);
    b.Bytes({3, 7});          // row 0 (bottom): 7 7 7
    b.Bytes({0, 0});          // end of row
    b.Bytes({0, 3, 1, 2, 3}); // row 1: absolute run of 3 ...
    b.U8(0);                  // ... and its padding byte
    b.Bytes({0, 2, 1, 1});    // delta: one right, one up -> row 2, column 4
    b.Bytes({9, 5});          // a run past the row end is dropped
    b.Bytes({0, 1});          // end of bitmap
    b.Bytes({2, 9});          // never read
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    // y counts from the top: the bottom row is y = 2.
    EXPECT_EQ(7, image.GetPixelIndex(0, 2));
    EXPECT_EQ(7, image.GetPixelIndex(2, 2));
    EXPECT_EQ(0, image.GetPixelIndex(3, 2));
    EXPECT_EQ(1, image.GetPixelIndex(0, 1));
    EXPECT_EQ(3, image.GetPixelIndex(2, 1));
    EXPECT_EQ(0, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0, image.GetPixelIndex(3, 0));
}

TEST(BmpCodec, Rle8OutputNeverLeavesThePixelBlock) {
    CByteBuilder b;
    b.InfoHeader(2, 2, 8, BI_RLE8).Fill(256 * 4, 0);
    // Long runs, a delta far above the image and an absolute run past the row end.
    b.Bytes({255, 1, 0, 200, 0}).Fill(200, 2).Bytes({0, 2, 255, 255, 255, 3, 0, 0, 255, 4});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    EXPECT_EQ(1, image.GetPixelIndex(0, 1));
    EXPECT_EQ(1, image.GetPixelIndex(1, 1));
}

TEST(BmpCodec, Rle4AbsoluteRunsOfThreeAndFivePixels) {
    // 3 pixels take 2 data bytes and no padding; the run that follows must be read from the next byte.
    CByteBuilder three;
    three.InfoHeader(8, 1, 4, BI_RLE4).Fill(16 * 4, 0);
    three.Bytes({0, 3, 0x12, 0x30}).Bytes({2, 0x45}).Bytes({0, 1});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, three.Data())) << image.GetLastError();
    const BYTE expected3[] = {1, 2, 3, 4, 5, 0};
    for (DWORD x = 0; x < 6; ++x)
        EXPECT_EQ(expected3[x], image.GetPixelIndex(x, 0)) << x;

    // 5 pixels take 3 data bytes and one padding byte.
    CByteBuilder five;
    five.InfoHeader(8, 1, 4, BI_RLE4).Fill(16 * 4, 0);
    five.Bytes({0, 5, 0x12, 0x34, 0x50, 0x00}).Bytes({2, 0x67}).Bytes({0, 1});
    ASSERT_TRUE(DecodeBmp(image, five.Data())) << image.GetLastError();
    const BYTE expected5[] = {1, 2, 3, 4, 5, 6, 7, 0};
    for (DWORD x = 0; x < 8; ++x)
        EXPECT_EQ(expected5[x], image.GetPixelIndex(x, 0)) << x;
}

TEST(BmpCodec, Rle4EncodedRunsAlternateNibblesAndRowsRestartHigh) {
    CByteBuilder b;
    b.InfoHeader(6, 2, 4, BI_RLE4).Fill(16 * 4, 0);
    b.Bytes({3, 0xAB}); // A B A
    b.Bytes({2, 0xCD}); // an odd start: C D still come in that order
    b.Bytes({0, 0});
    b.Bytes({1, 0xEF}); // next row starts at the high nibble again
    b.Bytes({0, 1});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    const BYTE row0[] = {0xA, 0xB, 0xA, 0xC, 0xD, 0};
    for (DWORD x = 0; x < 6; ++x)
        EXPECT_EQ(row0[x], image.GetPixelIndex(x, 1)) << x;
    EXPECT_EQ(0xE, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0, image.GetPixelIndex(1, 0));
}

TEST(BmpCodec, ResolutionIsRoundedToDotsPerInch) {
    CByteBuilder b;
    b.InfoHeader(2, 2, 24, 0, 0, 0, 3780);
    Pixels24(b);
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data()));
    EXPECT_EQ(96, image.GetXDPI());
    EXPECT_EQ(96, image.GetYDPI());
}

TEST(BmpCodec, ErrorTexts) {
    struct Case {
        const char *name;
        CByteBuilder bytes;
        const char *text;
    };
    std::vector<Case> cases;
    cases.push_back({"short file header", CByteBuilder().Bytes({'B', 'M', 0, 0}), "Not a BMP"});
    cases.push_back({"short info header", CByteBuilder().FileHeader(54).U32(40).U32(1), "Error reading BMP info"});
    cases.push_back({"odd header size", CByteBuilder().U32(20).Fill(40, 0), "Error reading BMP info"});
    cases.push_back({"8 bits bit fields", CByteBuilder().InfoHeader(1, 1, 8, 3).Fill(1024 + 4, 0),
                     "compression type not supported"});
    cases.push_back({"24 bits RLE", CByteBuilder().InfoHeader(1, 1, 24, 1).Fill(4, 0), "unknown compression"});
    cases.push_back({"32 bits RLE4", CByteBuilder().InfoHeader(1, 1, 32, 2).Fill(4, 0), "unknown compression"});
    // The compression is what is wrong, not the length of what follows.
    cases.push_back(
        {"8 bits bit fields, no pixels", CByteBuilder().InfoHeader(4, 4, 8, 3), "compression type not supported"});
    cases.push_back(
        {"24 bits RLE, no pixels", CByteBuilder().FileHeader(54).InfoHeader(4, 4, 24, 1), "unknown compression"});
    cases.push_back({"32 bits RLE8, no pixels", CByteBuilder().InfoHeader(4, 4, 32, 1), "unknown compression"});
    for (Case &c : cases) {
        CSkinImage image;
        EXPECT_FALSE(DecodeBmp(image, c.bytes.Data())) << c.name;
        EXPECT_STREQ(c.text, image.GetLastError()) << c.name;
    }
}

TEST(BmpCodec, HostileHeadersAreRefused) {
    struct Case {
        const char *name;
        CByteBuilder bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"negative width", CByteBuilder().InfoHeader(-2, 2, 24).Fill(16, 0)});
    cases.push_back({"zero height", CByteBuilder().InfoHeader(2, 0, 24).Fill(16, 0)});
    cases.push_back({"lowest height", CByteBuilder().InfoHeader(2, -2147483647 - 1, 24).Fill(16, 0)});
    cases.push_back({"too wide", CByteBuilder().InfoHeader(16385, 1, 8).Fill(1024 + 16388, 0)});
    cases.push_back({"overflowing", CByteBuilder().InfoHeader(0x40000000, 0x40000000, 32).Fill(64, 0)});
    for (unsigned bits : {0u, 2u, 3u, 7u, 12u, 48u, 64u})
        cases.push_back({"odd bit count", CByteBuilder().InfoHeader(2, 2, bits).Fill(2048, 0)});
    cases.push_back({"offset beyond stream", CByteBuilder().FileHeader(100000).InfoHeader(2, 2, 24).Fill(16, 0)});
    // 16384 x 16384 x 24 bits declared, 16 bytes present: refused before the pixel block is allocated.
    cases.push_back({"pixels missing", CByteBuilder().InfoHeader(16384, 16384, 24).Fill(16, 0)});
    cases.push_back({"one row short", CByteBuilder().InfoHeader(2, 2, 24).Fill(8, 0)});
    // 1,080 bytes: header, palette and the end-of-bitmap code at once, declaring 16384 x 16384 run-length pixels.
    cases.push_back({"RLE8 ending at once", CByteBuilder().InfoHeader(16384, 16384, 8, BI_RLE8).Fill(1024, 0).Bytes({0, 1})});
    for (Case &c : cases) {
        CSkinImage image;
        EXPECT_FALSE(DecodeBmp(image, c.bytes.Data())) << c.name;
        EXPECT_FALSE(image.IsValid()) << c.name;
        EXPECT_STRNE("", image.GetLastError()) << c.name;
    }
}

TEST(BmpCodec, MissingPaddingOfTheLastRowAndHugeDeclaredSizeAreTolerated) {
    CByteBuilder b;
    b.InfoHeader(2, 2, 24, 0, 0xFFFFFFFF).Bytes({255, 0, 0, 0, 255, 0, 0, 0}).Bytes({0, 0, 255, 255, 255, 255});
    CSkinImage image;
    ASSERT_TRUE(DecodeBmp(image, b.Data())) << image.GetLastError();
    ExpectColor(image, 1, 0, 255, 255, 255);

    // The same for 16 bits: the last row holds its one pixel and not the two bytes that pad it.
    CByteBuilder s;
    s.InfoHeader(1, 2, 16).U16(0x001F).U16(0).U16(0x7C00);
    ASSERT_TRUE(DecodeBmp(image, s.Data())) << image.GetLastError();
    ExpectColor(image, 0, 1, 0xF8, 0, 0);
    ExpectColor(image, 0, 0, 0, 0, 0xF8);
}

TEST(BmpCodec, CancelFlagStopsTheDecoder) {
    CByteBuilder b;
    b.InfoHeader(2, 2, 24);
    Pixels24(b);
    CSkinImage image;
    image.SetCancel(true);
    EXPECT_FALSE(DecodeBmp(image, b.Data()));
    EXPECT_STREQ("Cancelled", image.GetLastError());
}

TEST(BmpCodec, DecodesFromTheStreamPosition) {
    CByteBuilder b;
    b.Bytes({0xEE, 0xEE, 0xEE}).FileHeader(54).InfoHeader(2, 2, 24);
    Pixels24(b);
    CMemoryStream stream(b.Data().data(), static_cast<DWORD>(b.Size()), false);
    ASSERT_TRUE(stream.Seek(3, 0));
    CSkinImage image;
    ASSERT_TRUE(image.Decode(stream, CSkinImage::FORMAT_BMP)) << image.GetLastError();
    ExpectColor(image, 1, 0, 255, 255, 255);
}
