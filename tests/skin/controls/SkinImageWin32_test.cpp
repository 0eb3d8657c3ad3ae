#include "skin/controls/SkinImage.h"

#include <gtest/gtest.h>

#include "platform/ClientDC.h"
#include "platform/Handle.h"

namespace {
} // namespace

TEST(SkinImageWin32, ToBitmapAndBackKeepsTrueColourPixels) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(5, 3, 24, CSkinImage::FORMAT_BMP));
    for (DWORD y = 0; y < 3; ++y)
        for (DWORD x = 0; x < 5; ++x)
            image.SetPixelColor(x, y, RGBQUAD{static_cast<BYTE>(x * 50), static_cast<BYTE>(y * 100), 0x40, 0});
    CScreenDC screen;
    ASSERT_NE(nullptr, screen.GetSafeHdc());
    CBitmap bitmap(image.ToBitmap(screen.GetSafeHdc()));
    ASSERT_NE(nullptr, bitmap.Get());
    BITMAP bm;
    ASSERT_EQ(static_cast<int>(sizeof(bm)), ::GetObjectA(bitmap.Get(), sizeof(bm), &bm));
    EXPECT_EQ(5, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);

    CSkinImage back;
    ASSERT_TRUE(back.FromBitmap(bitmap.Get())) << back.GetLastError();
    EXPECT_EQ(5u, back.GetWidth());
    EXPECT_EQ(3u, back.GetHeight());
    EXPECT_EQ(40u, back.GetDIB()->bmiHeader.biSize);
    if (bm.bmBitsPixel * bm.bmPlanes >= 24) {
        for (DWORD y = 0; y < 3; ++y)
            for (DWORD x = 0; x < 5; ++x) {
                RGBQUAD a = image.GetPixelColor(x, y), b = back.GetPixelColor(x, y);
                EXPECT_EQ(a.rgbBlue, b.rgbBlue) << x << "," << y;
                EXPECT_EQ(a.rgbGreen, b.rgbGreen) << x << "," << y;
                EXPECT_EQ(a.rgbRed, b.rgbRed) << x << "," << y;
            }
    }
}

TEST(SkinImageWin32, MonochromeBitmapComesBackWithItsColourTable) {
    // A 1-bit device bitmap, rows top first and padded to 16 bits: a set bit is white.
    const BYTE rows[4] = {0x80, 0, 0x40, 0};
    CBitmap bitmap(::CreateBitmap(2, 2, 1, 1, rows));
    ASSERT_NE(nullptr, bitmap.Get());
    CSkinImage image;
    ASSERT_TRUE(image.FromBitmap(bitmap.Get())) << image.GetLastError();
    EXPECT_EQ(1u, image.GetBpp());
    RGBQUAD white = image.GetPixelColor(0, 0);
    RGBQUAD black = image.GetPixelColor(1, 0);
    EXPECT_EQ(255, white.rgbRed);
    EXPECT_EQ(0, black.rgbRed);
    EXPECT_EQ(255, image.GetPixelColor(1, 1).rgbGreen);
}

TEST(SkinImageWin32, FromBitmapFailsForAnInvalidHandle) {
    CSkinImage image;
    ASSERT_TRUE(image.Create(2, 2, 8, CSkinImage::FORMAT_BMP));
    EXPECT_FALSE(image.FromBitmap(nullptr));
    EXPECT_STREQ("GetDIBits failed", image.GetLastError());
    EXPECT_TRUE(image.IsValid());
    EXPECT_EQ(nullptr, CSkinImage().ToBitmap(nullptr));
}
