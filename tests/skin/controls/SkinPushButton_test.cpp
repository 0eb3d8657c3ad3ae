// Push buttons and the button base on real buttons in a dialog: the state images read back in pixels, no redraw for a
// mouse move that does not move the cursor, owner-drawn buttons left alone.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/SkinButtonObject.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinPushButton.h"

using namespace skincontrols;

namespace {

const WORD kDefault = 101, kPlain = 102, kCheck = 103, kOwner = 104;

class SkinPushButtonTest : public SkinControlTest {};

COLORREF Corner(HWND hWnd) {
    return CWindowPixels(hWnd).At(3, 3);
}

// Painters that count their draws, put in place of the factory's through the engine's painter seam.
int g_nDraws = 0;
class CCountingPushButton : public CSkinPushButton {
public:
    using CSkinPushButton::CSkinPushButton;
    void Draw(HDC hDC) override {
        ++g_nDraws;
        CSkinPushButton::Draw(hDC);
    }
};
class CCountingCheckBox : public CSkinCheckBox {
public:
    using CSkinCheckBox::CSkinCheckBox;
    void Draw(HDC hDC) override {
        ++g_nDraws;
        CSkinCheckBox::Draw(hDC);
    }
};

// Counts paints and style changes (the push button takes WS_VISIBLE off around the messages it passes on).
class CButtonWatch : public CSubclass {
public:
    int paints = 0;
    int styleChanges = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT)
            ++paints;
        if (message == WM_STYLECHANGED)
            ++styleChanges;
        return Default(message, wParam, lParam);
    }
};

} // namespace

TEST_F(SkinPushButtonTest, EachStateShowsItsImageAndFocusWinsOverDefault) {
    CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
    b.Add("Button", "", BS_DEFPUSHBUTTON | WS_TABSTOP, kDefault);
    b.Add("Button", "", BS_PUSHBUTTON | WS_TABSTOP, kPlain);
    HWND hDlg = CreateDialogFrom(b);
    ASSERT_NE(nullptr, hDlg);
    HWND hDefault = Place(hDlg, kDefault, 10, 10, 80, 30);
    HWND hPlain = Place(hDlg, kPlain, 10, 60, 80, 30);
    ASSERT_NE(nullptr, Painter<CSkinPushButton>(hDefault));
    ASSERT_NE(nullptr, Painter<CSkinPushButton>(hPlain));

    EXPECT_EQ(BlockColor(B_BUTTON_DEFAULT), Corner(hDefault));
    EXPECT_EQ(BlockColor(B_BUTTON_NORMAL), Corner(hPlain));

    // The default button with the focus: the focused image, not the default one.
    ::SetFocus(hDefault);
    Pump();
    ASSERT_EQ(hDefault, ::GetFocus());
    ASSERT_EQ(BS_DEFPUSHBUTTON, ::GetWindowLongPtrA(hDefault, GWL_STYLE) & 0xF);
    EXPECT_EQ(BlockColor(B_BUTTON_FOCUSED), Corner(hDefault));

    // Pressed wins over everything but disabled.
    ::SendMessageA(hPlain, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(BlockColor(B_BUTTON_PRESSED), Corner(hPlain));
    ::SendMessageA(hPlain, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(BlockColor(B_BUTTON_NORMAL), Corner(hPlain));
    ::EnableWindow(hPlain, FALSE);
    EXPECT_EQ(BlockColor(B_BUTTON_DISABLED), Corner(hPlain));

    // The caption in the object's font colour, centred; the button's own procedure painted nothing of its own look.
    ::SetWindowTextA(hDefault, "OK");
    CWindowPixels pixels(hDefault);
    // Glyph edges may be smoothed: the caption is every pixel that is not the image's.
    const RECT text = pixels.ExtentNot(RECT{0, 0, 80, 30}, BlockColor(B_BUTTON_FOCUSED));
    EXPECT_LT(0, pixels.Count(RECT{0, 0, 80, 30}, kButtonText));
    ASSERT_GE(text.left, 0) << "no caption pixels";
    EXPECT_NEAR(40, (text.left + text.right) / 2, 3);
    EXPECT_NEAR(15, (text.top + text.bottom) / 2, 3);
    EXPECT_EQ(0, pixels.Count(RECT{0, 0, 80, 30}, ::GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(::GetWindowLongPtrA(hDefault, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(SkinPushButtonTest, AMouseMoveThatDoesNotMoveTheCursorRedrawsNothing) {
    CSkinWnd::CScopedPainter push(SKIN_KIND_BUTTON, &CreateSkinPainter<CCountingPushButton>);
    CSkinWnd::CScopedPainter check(SKIN_KIND_CHECKBOX, &CreateSkinPainter<CCountingCheckBox>);
    CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
    b.Add("Button", "Push", BS_PUSHBUTTON, kPlain);
    b.Add("Button", "Check", BS_AUTOCHECKBOX, kCheck);
    HWND hDlg = CreateDialogFrom(b);
    ASSERT_NE(nullptr, hDlg);
    for (WORD id : {kPlain, kCheck}) {
        SCOPED_TRACE(id == kPlain ? "push button" : "check box");
        HWND hButton = Place(hDlg, id, 10, id == kPlain ? 10 : 60, 100, 30);
        ASSERT_NE(nullptr, dynamic_cast<CSkinButtonBase *>(Find(hButton)));
        // The pointer rests away from every window of the test; the moves below are sent, not made.
        ASSERT_TRUE(::SetCursorPos(1200, 1000));
        Pump();
        CButtonWatch watch;
        ASSERT_TRUE(watch.Subclass(hButton));
        const int before = g_nDraws;

        ::SendMessageA(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(before + 1, g_nDraws); // the first move: a new cursor position
        const int styles = watch.styleChanges;
        for (int i = 0; i < 5; ++i)
            ::SendMessageA(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(6 + i, 5));
        Pump();
        EXPECT_EQ(before + 1, g_nDraws);
        EXPECT_EQ(0, watch.paints);
        EXPECT_EQ(styles, watch.styleChanges); // nor was WS_VISIBLE touched

        ASSERT_TRUE(::SetCursorPos(1210, 1005));
        POINT pt;
        ::GetCursorPos(&pt);
        ASSERT_EQ(1210, pt.x);
        ::SendMessageA(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(before + 2, g_nDraws);
        watch.Unsubclass();
    }
}

TEST_F(SkinPushButtonTest, AnOwnerDrawnButtonIsNeverSubclassed) {
    CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
    b.Add("Button", "Owner", BS_OWNERDRAW, kOwner);
    HWND hDlg = CreateDialogFrom(b);
    ASSERT_NE(nullptr, hDlg);
    HWND hButton = Place(hDlg, kOwner, 10, 10, 80, 30);
    const LONG_PTR classProc = ::GetClassLongPtrA(hButton, GCLP_WNDPROC);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(nullptr, Find(hButton));
        EXPECT_EQ(classProc, ::GetWindowLongPtrA(hButton, GWLP_WNDPROC));
        EXPECT_EQ(0u, CSkinRegistry::Instance().FindWindowOrAncestor(hDlg)->GetChildMap().count(hButton));
        // Its parent still draws it.
        const int before = OwnerDrawRequests();
        ::InvalidateRect(hButton, nullptr, TRUE);
        ::UpdateWindow(hButton);
        EXPECT_LT(before, OwnerDrawRequests());
        // A new skin walks the controls again, and leaves it alone again.
        CSkinRegistry::Instance().InstallSkin(MakeControlSkin());
        CSkinRegistry::Instance().FindWindow(Owner())->AttachChild(hButton);
    }
}

TEST_F(SkinPushButtonTest, CornersOfTheTransparentColourAreCutOutOfTheButton) {
    // A 12 x 12 image whose corner pixels are magenta, laid out with 3-pixel margins.
    const COLORREF body = RGB(30, 90, 150);
    CSkin &skin = CSkinRegistry::Instance().GetSkin();
    AddImage(skin, "corners.bmp", MakeImage(12, 12, [&](LONG x, LONG y) {
                 return (x == 0 || x == 11) && (y == 0 || y == 11) ? RGB(255, 0, 255) : body;
             }));
    CSkinButtonObject *pButton = dynamic_cast<CSkinButtonObject *>(skin.FindObject("Button"));
    ASSERT_NE(nullptr, pButton);
    pButton->m_states[CSkinButtonObject::STATE_NORMAL].image =
        MakeRef("corners.bmp", RECT{0, 0, 12, 12}, RECT{3, 3, 3, 3}, 1);
    CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
    b.Add("Button", "", BS_PUSHBUTTON, kPlain);
    HWND hDlg = CreateDialogFrom(b);
    ASSERT_NE(nullptr, hDlg);
    HWND hButton = Place(hDlg, kPlain, 10, 10, 80, 30);
    ASSERT_NE(nullptr, Painter<CSkinPushButton>(hButton));
    const CWindowPixels painted(hButton); // painted once in its new size

    CRgn region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, ::GetWindowRgn(hButton, region));
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_FALSE(::PtInRegion(region, 79, 29));
    EXPECT_TRUE(::PtInRegion(region, 1, 0));
    EXPECT_TRUE(::PtInRegion(region, 40, 15));
    // On the screen the dialog shows through the corners; the rest is the artwork.
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CWindowPixels dialog(hDlg);
    EXPECT_EQ(kDialogBackground, dialog.At(10, 10));
    EXPECT_EQ(kDialogBackground, dialog.At(89, 39));
    EXPECT_EQ(body, dialog.At(11, 10));
    EXPECT_EQ(body, dialog.At(50, 25));
}
