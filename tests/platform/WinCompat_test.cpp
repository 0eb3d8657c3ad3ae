// Byte layouts of the Windows records that skin files and images store verbatim.
#include "platform/WinCompat.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(WinCompat, BitmapHeadersReadFromLittleEndianBytes) {
    const unsigned char file[14] = {'B', 'M', 0x36, 0x10, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
    BITMAPFILEHEADER bf;
    std::memcpy(&bf, file, sizeof bf);
    // Packed members: copy them out before comparing (no references to misaligned fields).
    const unsigned type = bf.bfType, size = bf.bfSize, offset = bf.bfOffBits;
    EXPECT_EQ(type, 0x4D42u);
    EXPECT_EQ(size, 0x1036u);
    EXPECT_EQ(offset, 54u);

    unsigned char info[40] = {40, 0, 0, 0, 0x10, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    info[32] = 7;
    BITMAPINFOHEADER bi;
    std::memcpy(&bi, info, sizeof bi);
    EXPECT_EQ(bi.biSize, 40u);
    EXPECT_EQ(bi.biWidth, 16);
    EXPECT_EQ(bi.biHeight, -16);
    EXPECT_EQ(bi.biBitCount, 24);
    EXPECT_EQ(bi.biClrUsed, 7u);
}

TEST(WinCompat, ColourMacrosPutRedInTheLowestByte) {
    COLORREF magenta = RGB(255, 0, 255);
    EXPECT_EQ(magenta, 0xFF00FFu);
    COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}

TEST(WinCompat, LogFontFaceNameFollowsTheEightFlagBytes) {
    unsigned char raw[60] = {};
    raw[0] = 0xF4; raw[1] = 0xFF; raw[2] = 0xFF; raw[3] = 0xFF;  // height -12
    raw[16] = 0x90; raw[17] = 0x01;                              // weight 400
    raw[25] = 2;                                                 // clip precision
    std::memcpy(raw + 28, "Arial", 6);
    LOGFONTA lf;
    std::memcpy(&lf, raw, sizeof lf);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfClipPrecision, 2);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}
