// Combo boxes in a dialog: the selection's text drawn even without a font of the control's, the focus fill, and the
// drop-down button's hot, normal and disabled images.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinComboBox.h"

using namespace skincontrols;

namespace {

const WORD kCombo = 801;
const COLORREF kFocusFill = RGB(255, 255, 0);

class SkinComboBoxTest : public SkinControlTest {
protected:
    // A drop-down list of 160 pixels; the template has no font, so the control gets none.
    HWND CreateCombo(DWORD style) {
        CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
        b.Add("ComboBox", "", style | WS_TABSTOP, kCombo, 0, 0, 80, 60);
        HWND hDlg = CreateDialogFrom(b);
        return hDlg ? Place(hDlg, kCombo, 10, 10, 160, 120) : nullptr;
    }
};

} // namespace

TEST_F(SkinComboBoxTest, TheSelectionIsDrawnWithoutAFontOnTheFocusFill) {
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST);
    ASSERT_NE(nullptr, Painter<CSkinComboBox>(hCombo));
    ASSERT_EQ(0, ::SendMessageA(hCombo, WM_GETFONT, 0, 0));
    ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("WWWWWW"));
    RECT rc;
    ::GetClientRect(hCombo, &rc);
    // Text area: inside the frame's 2-pixel margins, up to 2 pixels before the 18-pixel button.
    const RECT text = {3, 3, rc.right - 18 - 2, rc.bottom - 3};
    const COLORREF frame = BlockColor(B_COMBO_FRAME);
    auto ink = [&](COLORREF c) { return c != frame && c != kFocusFill; };
    EXPECT_EQ(0, CWindowPixels(hCombo).Count(text, ink));

    ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    {
        CWindowPixels pixels(hCombo);
        EXPECT_LT(20, pixels.Count(text, ink));
        EXPECT_EQ(frame, pixels.At(text.right - 2, rc.bottom / 2)); // no focus: no fill
    }
    ::SetFocus(hCombo);
    Pump();
    ASSERT_EQ(hCombo, ::GetFocus());
    {
        CWindowPixels pixels(hCombo);
        EXPECT_EQ(kFocusFill, pixels.At(text.right - 2, rc.bottom / 2));
        EXPECT_LT(20, pixels.Count(text, ink));
        EXPECT_EQ(frame, pixels.At(1, 1));
    }
}

TEST_F(SkinComboBoxTest, TheButtonLightsUpInItsHotZoneAndGoesOutWhenThePointerLeaves) {
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST);
    CSkinComboBox *pCombo = Painter<CSkinComboBox>(hCombo);
    ASSERT_NE(nullptr, pCombo);
    RECT rc;
    ::GetClientRect(hCombo, &rc);
    const POINT button = {rc.right - 9, rc.bottom / 2};
    EXPECT_EQ(BlockColor(B_COMBO_NORMAL), CWindowPixels(hCombo).At(button.x, button.y));
    // Outside the hot zone nothing changes.
    ::SendMessageA(hCombo, WM_MOUSEMOVE, 0, MAKELPARAM(20, button.y));
    EXPECT_EQ(CSkinComboBox::BUTTON_NORMAL, pCombo->GetButtonState());
    ::SendMessageA(hCombo, WM_MOUSEMOVE, 0, MAKELPARAM(button.x, button.y));
    EXPECT_EQ(CSkinComboBox::BUTTON_HOT, pCombo->GetButtonState());
    EXPECT_EQ(BlockColor(B_COMBO_HOT), CWindowPixels(hCombo).At(button.x, button.y));
    ::SendMessageA(hCombo, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(BlockColor(B_COMBO_NORMAL), CWindowPixels(hCombo).At(button.x, button.y));
    ::EnableWindow(hCombo, FALSE);
    EXPECT_EQ(BlockColor(B_COMBO_DISABLED), CWindowPixels(hCombo).At(button.x, button.y));
}

TEST_F(SkinComboBoxTest, OwnerDrawnComboBoxesKeepTheirOwnLook) {
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    ASSERT_NE(nullptr, hCombo);
    EXPECT_EQ(nullptr, Find(hCombo));
    EXPECT_EQ(::GetClassLongPtrA(hCombo, GCLP_WNDPROC), ::GetWindowLongPtrA(hCombo, GWLP_WNDPROC));
}
