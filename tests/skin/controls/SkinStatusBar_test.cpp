// Status bars in the skinned frame: panes and texts from the skin, texts set after attaching (by the framework's pane
// messages and by WM_SETTEXT), and the embedded default object when the skin has no status-bar object.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinStatusBar.h"

using namespace skincontrols;

namespace {

class SkinStatusBarTest : public SkinControlTest {
protected:
    // A status bar of two parts along the frame's top, created in the skinned frame.
    HWND CreateBar() {
        HWND hBar = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                      0, 0, 280, 24, Owner(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (hBar) {
            int parts[] = {180, -1};
            ::SendMessageA(hBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
        }
        return hBar;
    }
};

RECT PaneRect(HWND hBar, int i) {
    RECT rc = {0, 0, 0, 0};
    ::SendMessageA(hBar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

} // namespace

TEST_F(SkinStatusBarTest, PanesShowTheTextsTheBarIsGiven) {
    HWND hBar = CreateBar();
    CSkinStatusBar *pBar = Painter<CSkinStatusBar>(hBar);
    ASSERT_NE(nullptr, pBar);
    ::SendMessageA(hBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready"));
    ::SendMessageA(hBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("NUM"));
    ASSERT_EQ(2u, pBar->GetTexts().size());
    EXPECT_EQ("Ready", pBar->GetTexts()[0]);
    EXPECT_EQ("NUM", pBar->GetTexts()[1]);
    const RECT first = PaneRect(hBar, 0), second = PaneRect(hBar, 1);
    {
        CWindowPixels pixels(hBar);
        EXPECT_EQ(BlockColor(B_STATUS_PANE), pixels.At(first.right - 3, first.top + 2));
        EXPECT_LT(0, pixels.Count(first, kStatusText));
        EXPECT_LT(0, pixels.Count(second, kStatusText));
    }
    // WM_SETTEXT sets the first pane; an empty text leaves the pane's image alone.
    ::SetWindowTextA(hBar, "");
    EXPECT_EQ("", pBar->GetTexts()[0]);
    CWindowPixels pixels(hBar);
    EXPECT_EQ(0, pixels.Count(first, kStatusText));
    EXPECT_LT(0, pixels.Count(second, kStatusText));

    // A bar made before its frame was skinned has its texts read when it is attached.
    ::SendMessageA(hBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Kept"));
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin({SKIN_KIND_STATUSBAR}));
    EXPECT_EQ(nullptr, Find(hBar));
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin());
    pBar = Painter<CSkinStatusBar>(hBar);
    ASSERT_NE(nullptr, pBar);
    ASSERT_EQ(2u, pBar->GetTexts().size());
    EXPECT_EQ("Kept", pBar->GetTexts()[0]);
}

TEST_F(SkinStatusBarTest, WithoutAStatusBarObjectTheDefaultsDrawFacePanesAndAnArialCaption) {
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin({SKIN_KIND_STATUSBAR}));
    HWND hBar = CreateBar();
    ASSERT_NE(nullptr, hBar);
    ::SendMessageA(hBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready to go"));
    ASSERT_EQ(nullptr, Find(hBar)); // the hook found no object of its kind
    // Attached on its own, the painter falls back to the object it carries.
    std::unique_ptr<CSkinWnd> pPainter(new CSkinStatusBar(Find(Owner())));
    CSkinStatusBar *pBar = static_cast<CSkinStatusBar *>(pPainter.get());
    ASSERT_TRUE(CSkinRegistry::Instance().AddWindow(std::move(pPainter), hBar));
    ASSERT_TRUE(pBar->Attach(hBar));
    EXPECT_EQ(&pBar->GetDefaultObject(), pBar->GetSkinObject());
    EXPECT_STREQ("Arial", pBar->GetDefaultObject().m_header.font.lf.lfFaceName);

    const RECT first = PaneRect(hBar, 0);
    CWindowPixels pixels(hBar);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(face, pixels.At(first.right - 2, first.top + 1));
    EXPECT_EQ(face, pixels.At(pixels.Width() - 2, 1));
    // Black text (the default colour) on the face; smoothed glyph edges count as ink too.
    EXPECT_LT(0, pixels.Count(first, RGB(0, 0, 0)));
    const RECT ink = pixels.ExtentNot(first, face);
    ASSERT_GE(ink.left, first.left) << "no caption pixels";
    // The caption is as wide as Arial at 12 pixels makes it.
    LOGFONTA lf = pBar->GetDefaultObject().m_header.font.lf;
    lf.lfCharSet = DEFAULT_CHARSET;
    CFont arial(::CreateFontIndirectA(&lf));
    CTestCanvas canvas(10, 10, RGB(255, 255, 255));
    HGDIOBJ hOld = ::SelectObject(canvas.GetDC(), arial.Get());
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(canvas.GetDC(), "Ready to go", 11, &extent);
    ::SelectObject(canvas.GetDC(), hOld);
    EXPECT_NEAR(extent.cx, ink.right - ink.left + 1, 3);
}
