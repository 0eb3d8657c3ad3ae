// Static controls in a dialog: texts laid out by style, the parent's background through a transparent static after its
// text changes, the frame behind an opaque one, and a skin whose static text field fills all its 51 bytes.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include <cstring>

#include "skin/SkinStaticObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinWriter.h"
#include "skin/controls/SkinStatic.h"

using namespace skincontrols;

namespace {

const WORD kStatic = 701;

class SkinStaticTest : public SkinControlTest {
protected:
    HWND CreateStatic(DWORD style, const char *pszText, int cx, int cy) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add("Static", pszText, style, kStatic);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kStatic, 10, 10, cx, cy) : nullptr;
    }
    static CSkinStaticObject &Object() {
        return *static_cast<CSkinStaticObject *>(CSkinRegistry::Instance().GetSkin().FindObject("Static"));
    }
};

// Rows that hold pixels of neither given colour.
RECT InkRows(const CWindowPixels &pixels, COLORREF a, COLORREF b) {
    RECT rc = {0, -1, pixels.Width(), -1};
    for (LONG y = 0; y < pixels.Height(); ++y)
        for (LONG x = 0; x < pixels.Width(); ++x) {
            const COLORREF c = pixels.At(x, y);
            if (c == a || c == b)
                continue;
            rc.top = rc.top < 0 ? y : rc.top;
            rc.bottom = y + 1;
            break;
        }
    return rc;
}

} // namespace

TEST_F(SkinStaticTest, CentreImageShowsOneVerticallyCentredLine) {
    HWND hCentred = CreateStatic(SS_LEFT | SS_CENTERIMAGE, "First line\nSecond line", 200, 80);
    HWND hPlain = CreateStatic(SS_LEFT, "First line\nSecond line", 200, 80);
    ASSERT_NE(nullptr, Painter<CSkinStatic>(hCentred));
    ASSERT_NE(nullptr, Painter<CSkinStatic>(hPlain));
    const RECT centred = InkRows(CWindowPixels(hCentred), kDialogBackground, kDialogBackground);
    const RECT plain = InkRows(CWindowPixels(hPlain), kDialogBackground, kDialogBackground);
    ASSERT_GE(centred.top, 0);
    ASSERT_GE(plain.top, 0);
    const LONG line = centred.bottom - centred.top;
    EXPECT_LT(line, 20); // one line of a 12-pixel font
    EXPECT_NEAR(40, (centred.top + centred.bottom) / 2, 3);
    // Without the style the text starts at the top and breaks at the new line.
    EXPECT_LT(plain.top, 4);
    EXPECT_GT(plain.bottom - plain.top, line + 8);
}

TEST_F(SkinStaticTest, ATransparentStaticShowsTheParentsBackgroundAfterItsTextChanges) {
    HWND hStatic = CreateStatic(SS_LEFT, "WWWWWWWWWWWWWWWWWWWW", 200, 20);
    ASSERT_NE(nullptr, Painter<CSkinStatic>(hStatic));
    EXPECT_TRUE(::GetWindowLongPtrA(hStatic, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    {
        CWindowPixels pixels(hStatic);
        EXPECT_LT(0, pixels.Count(RECT{40, 0, 200, 20}, [](COLORREF c) { return c != kDialogBackground; }));
        EXPECT_EQ(0, pixels.Count(RECT{0, 0, 200, 20}, BlockColor(B_STATIC_FRAME)));
    }
    ::SetWindowTextA(hStatic, "i");
    CWindowPixels pixels(hStatic);
    // Where the long text was, nothing but the dialog's background is left.
    EXPECT_EQ(160 * 20, pixels.Count(RECT{40, 0, 200, 20}, kDialogBackground));
    EXPECT_LT(0, pixels.Count(RECT{0, 0, 10, 20}, [](COLORREF c) { return c != kDialogBackground; }));
}

TEST_F(SkinStaticTest, AnOpaqueStaticDrawsItsFrameBehindTheTextInItsColourAndAlignment) {
    Object().m_dwTransparent = 0;
    HWND hRight = CreateStatic(SS_RIGHT, "Right", 200, 20);
    HWND hCentre = CreateStatic(SS_CENTER, "Centre", 200, 20);
    ASSERT_NE(nullptr, Painter<CSkinStatic>(hRight));
    EXPECT_FALSE(::GetWindowLongPtrA(hRight, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    const COLORREF frame = BlockColor(B_STATIC_FRAME);
    CWindowPixels right(hRight);
    EXPECT_EQ(frame, right.At(0, 0));
    EXPECT_EQ(0, right.Count(RECT{0, 0, 200, 20}, kDialogBackground));
    EXPECT_LT(0, right.Count(RECT{0, 0, 200, 20}, kStaticText));
    const RECT ink = right.ExtentNot(RECT{0, 0, 200, 20}, frame);
    ASSERT_GE(ink.left, 0);
    EXPECT_NEAR(199, ink.right, 2);
    const RECT centre = CWindowPixels(hCentre).ExtentNot(RECT{0, 0, 200, 20}, frame);
    ASSERT_GE(centre.left, 0);
    EXPECT_NEAR(100, (centre.left + centre.right) / 2, 3);
}

TEST_F(SkinStaticTest, AStaticObjectWhoseTextFillsTheWholeFieldLoadsInStep) {
    // A static object whose 51-byte text field has no terminating zero, then another object.
    CSkinStaticObject stored;
    stored.SetName("Static");
    std::memset(stored.m_szText, 'S', CSkinObject::TEXT_SIZE);
    stored.m_szText[CSkinObject::TEXT_SIZE] = '\0';
    stored.m_dwTransparent = 0;
    stored.m_header.frame = BlockRef(B_STATIC_FRAME);
    CSkinStatusBarObject next;
    next.SetName("StatusBar");
    next.m_pane = BlockRef(B_STATUS_PANE);
    CSkinWriter writer;
    ASSERT_TRUE(writer.AddObject(stored));
    ASSERT_TRUE(writer.AddObject(next));
    CSkinStream container;
    ASSERT_TRUE(writer.FinishContainer(container));
    std::unique_ptr<CSkin> pSkin(new CSkin);
    ASSERT_TRUE(pSkin->Read(container)) << pSkin->GetError();

    const CSkinStaticObject *pRead = dynamic_cast<const CSkinStaticObject *>(pSkin->FindObject("Static"));
    ASSERT_NE(nullptr, pRead);
    EXPECT_EQ(std::string(CSkinObject::TEXT_SIZE, 'S'), std::string(pRead->m_szText));
    EXPECT_EQ(0u, pRead->m_dwTransparent);
    const CSkinStatusBarObject *pNext = dynamic_cast<const CSkinStatusBarObject *>(pSkin->FindObject("StatusBar"));
    ASSERT_NE(nullptr, pNext);
    EXPECT_STREQ("blocks.bmp", pNext->m_pane.szImage);
    EXPECT_EQ(BlockRect(B_STATUS_PANE).right, pNext->m_pane.rcSource.right);

    // The painter draws from it: opaque, over its frame.
    AddImage(*pSkin, "blocks.bmp", MakeImage(128, 24, [](LONG x, LONG y) { return BlockColor(y / 8 * 16 + x / 8); }));
    CSkinRegistry::Instance().InstallSkin(std::move(pSkin));
    HWND hStatic = CreateStatic(SS_LEFT, "", 100, 20);
    ASSERT_NE(nullptr, Painter<CSkinStatic>(hStatic));
    EXPECT_EQ(BlockColor(B_STATIC_FRAME), CWindowPixels(hStatic).At(50, 10));
}
