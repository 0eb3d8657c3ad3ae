// Painters coming and going with the skin: a control whose object leaves the skin is handed back to its own look, the
// console's two dialogs under the embedded skins (skinned in the four full ones, untouched by Xpsteel), and no GDI
// object left after 100 skin switches with both dialogs open.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include <string>

#include "res/console/resource.h"
#include "skin/SkinEngine.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinPushButton.h"
#include "skin/controls/SkinScrollControl.h"
#include "skin/controls/SkinSlider.h"
#include "skin/controls/SkinStatusBar.h"

using namespace skincontrols;

namespace {

const WORD kSlider = 901, kButton = 902, kText = 903;

class SkinControlLifeTest : public SkinControlTest {};

bool HasOwnProcedure(HWND hWnd) {
    return static_cast<ULONG_PTR>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == ::GetClassLongPtrA(hWnd, GCLP_WNDPROC);
}

std::string ClassOf(HWND hWnd) {
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

INT_PTR CALLBACK ConsoleDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::vector<HWND> Children(HWND hDlg) {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

} // namespace

TEST_F(SkinControlLifeTest, AControlWhoseObjectLeavesTheSkinIsHandedBackAndDrawsItselfAgain) {
    CDialogBuilder b(WS_POPUP | WS_CAPTION, 150, 100);
    b.Add(TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS, kSlider);
    b.Add("Button", "", BS_PUSHBUTTON, kButton);
    b.Add("Static", "Text", SS_LEFT, kText);
    HWND hDlg = CreateDialogFrom(b);
    ASSERT_NE(nullptr, hDlg);
    HWND hSlider = Place(hDlg, kSlider, 10, 10, 200, 30);
    HWND hButton = Place(hDlg, kButton, 10, 60, 80, 30);
    HWND hText = Place(hDlg, kText, 10, 110, 80, 20);
    const DWORD sliderStyle = static_cast<DWORD>(::GetWindowLongPtrA(hSlider, GWL_STYLE)) & ~TBS_BOTH;
    ASSERT_NE(nullptr, Painter<CSkinSlider>(hSlider));
    CSkinWnd *pOwner = Find(Owner());
    EXPECT_EQ(1u, pOwner->GetChildMap().count(hSlider));
    EXPECT_EQ(BlockColor(B_SLIDER_FRAME), CWindowPixels(hSlider).At(199, 0));

    // A skin without "Slider": detached, unregistered, out of the owner's map, its style and procedure its own, and
    // painted by the control again. The other controls take the new skin's objects.
    std::unique_ptr<CSkin> pNext = MakeControlSkin({SKIN_KIND_SLIDER});
    CSkinObject *pNextButton = pNext->FindObject("Button");
    CSkinRegistry::Instance().InstallSkin(std::move(pNext));
    EXPECT_EQ(nullptr, Find(hSlider));
    EXPECT_EQ(0u, pOwner->GetChildMap().count(hSlider));
    EXPECT_TRUE(HasOwnProcedure(hSlider));
    EXPECT_EQ(sliderStyle, static_cast<DWORD>(::GetWindowLongPtrA(hSlider, GWL_STYLE)));
    CWindowPixels pixels(hSlider);
    for (int block : {B_SLIDER_FRAME, B_SLIDER_CHANNEL, B_SLIDER_THUMB})
        EXPECT_EQ(0, pixels.Count(RECT{0, 0, 200, 30}, BlockColor(block))) << block;
    ASSERT_NE(nullptr, Find(hButton));
    EXPECT_EQ(pNextButton, Find(hButton)->GetSkinObject());
    EXPECT_EQ(BlockColor(B_BUTTON_NORMAL), CWindowPixels(hButton).At(3, 3));

    // A static that leaves loses the transparency it was given.
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin({SKIN_KIND_SLIDER, SKIN_KIND_STATIC}));
    EXPECT_EQ(nullptr, Find(hText));
    EXPECT_FALSE(::GetWindowLongPtrA(hText, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(HasOwnProcedure(hText));
}

TEST_F(SkinControlLifeTest, TheConsoleDialogsAreSkinnedByTheFullSkinsAndLeftAloneByXpsteel) {
    const HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    ASSERT_EQ(1, SkinLoadResource(hInstance, "DEVIOR", "SKINWEAVE"));
    HWND hStatus = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, Owner(), nullptr,
                                     hInstance, nullptr);
    HWND hConnect =
        ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_CONNECT_READER), Owner(), ConsoleDialogProc, 0);
    HWND hApdu = ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_APDU_COMMAND), Owner(), ConsoleDialogProc, 0);
    ASSERT_NE(nullptr, hConnect);
    ASSERT_NE(nullptr, hApdu);
    m_dialogs.push_back(hConnect);
    m_dialogs.push_back(hApdu);
    ::SetWindowPos(hConnect, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::SetWindowPos(hApdu, nullptr, 400, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    std::vector<HWND> controls = Children(hConnect);
    for (HWND h : Children(hApdu))
        controls.push_back(h);
    ASSERT_EQ(13u, controls.size());

    // Buttons, statics and the combo box have their painters, edits the scroll control's.
    auto expectSkinned = [&](const char *pszSkin) {
        SCOPED_TRACE(pszSkin);
        for (HWND h : controls) {
            const std::string cls = ClassOf(h);
            CSkinWnd *pPainter = Find(h);
            ASSERT_NE(nullptr, pPainter) << cls;
            if (cls == "Edit") {
                EXPECT_NE(nullptr, dynamic_cast<CSkinScrollControl *>(pPainter));
            }
            ASSERT_NE(nullptr, pPainter->GetSkinObject()) << cls;
            // The object is the current skin's own.
            EXPECT_EQ(CSkinRegistry::Instance().GetSkin().FindObject(pPainter->GetSkinObject()->GetName()),
                      pPainter->GetSkinObject());
        }
        ASSERT_NE(nullptr, Painter<CSkinStatusBar>(hStatus));
    };
    Pump();
    expectSkinned("DEVIOR");
    CSkinPushButton *pCancel = Painter<CSkinPushButton>(::GetDlgItem(hApdu, IDCANCEL));
    ASSERT_NE(nullptr, pCancel);
    const COLORREF devior = CWindowPixels(::GetDlgItem(hApdu, IDCANCEL)).At(10, 10);

    const char *skins[] = {"CORONA", "KROMO", "FUTURAIII", "DEVIOR"};
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(1, SkinLoadResource(hInstance, skins[i % 4], "SKINWEAVE")) << i;
    expectSkinned("after 100 switches");
    EXPECT_EQ(pCancel, Find(::GetDlgItem(hApdu, IDCANCEL))); // the same painters, re-skinned
    EXPECT_EQ(devior, CWindowPixels(::GetDlgItem(hApdu, IDCANCEL)).At(10, 10));

    // Xpsteel holds no control objects but the status and tool bars': every dialog control is handed back.
    ASSERT_EQ(1, SkinLoadResource(hInstance, "XPSTEEL", "SKINWEAVE"));
    for (HWND h : controls) {
        EXPECT_EQ(nullptr, Find(h)) << ClassOf(h);
        EXPECT_TRUE(HasOwnProcedure(h)) << ClassOf(h);
        EXPECT_FALSE(::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << ClassOf(h);
    }
    EXPECT_NE(devior, CWindowPixels(::GetDlgItem(hApdu, IDCANCEL)).At(10, 10));
    ASSERT_NE(nullptr, Painter<CSkinStatusBar>(hStatus));

    // Dialogs opened under Xpsteel stay in the system look; under a full skin they are skinned from the start.
    HWND hLater = ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_CONNECT_READER), Owner(), ConsoleDialogProc, 0);
    m_dialogs.push_back(hLater);
    for (HWND h : Children(hLater))
        EXPECT_EQ(nullptr, Find(h)) << ClassOf(h);
    ASSERT_EQ(1, SkinLoadResource(hInstance, "KROMO", "SKINWEAVE"));
    HWND hKromo = ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_APDU_COMMAND), Owner(), ConsoleDialogProc, 0);
    m_dialogs.push_back(hKromo);
    EXPECT_NE(nullptr, Painter<CSkinPushButton>(::GetDlgItem(hKromo, IDC_SEND)));
}
