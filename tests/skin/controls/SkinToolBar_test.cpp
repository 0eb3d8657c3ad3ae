// Tool bars and docking bars in the skinned frame: the background artwork upright in a bar docked at the top and
// turned in one docked at the right, and each button's image for its state.
#include "tests/skin/controls/SkinControlTestSupport.h"

#include "skin/controls/SkinControlBar.h"
#include "skin/controls/SkinToolBar.h"

using namespace skincontrols;

namespace {

const char kDockClass[] = "AfxControlBar42s";
// The style bit of a docking row at the top edge (the framework's CBRS_ALIGN_TOP).
const DWORD kAlignTop = 0x2000;

class SkinToolBarTest : public SkinControlTest {
protected:
    // A docking row of the framework's class at a side of the frame, with an empty tool bar in it.
    HWND CreateDock(DWORD dwAlign, const RECT &rc) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kDockClass;
        ::RegisterClassA(&wc);
        return ::CreateWindowExA(0, kDockClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | dwAlign, rc.left, rc.top,
                                 rc.right - rc.left, rc.bottom - rc.top, Owner(), nullptr, ::GetModuleHandleA(nullptr),
                                 nullptr);
    }
    HWND CreateToolBar(HWND hParent, int cx, int cy) {
        return ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                 WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
                                     TBSTYLE_FLAT,
                                 0, 0, cx, cy, hParent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
};

} // namespace

TEST_F(SkinToolBarTest, ABarDockedAtTheRightShowsItsBackgroundTurned) {
    HWND hTop = CreateDock(kAlignTop, RECT{0, 0, 280, 30});
    HWND hRight = CreateDock(CSkinControl::BAR_ALIGN_RIGHT, RECT{240, 32, 280, 172});
    ASSERT_NE(nullptr, Painter<CSkinControlBar>(hTop));
    ASSERT_NE(nullptr, Painter<CSkinControlBar>(hRight));
    HWND hTopBar = CreateToolBar(hTop, 200, 30);
    HWND hRightBar = CreateToolBar(hRight, 40, 140);
    ASSERT_NE(nullptr, Painter<CSkinToolBar>(hTopBar));
    ASSERT_NE(nullptr, Painter<CSkinToolBar>(hRightBar));
    EXPECT_FALSE(Painter<CSkinToolBar>(hTopBar)->IsDockedSideways());
    EXPECT_TRUE(Painter<CSkinToolBar>(hRightBar)->IsDockedSideways());

    // At the top the artwork lies as drawn: its left half at the left.
    CWindowPixels top(hTopBar);
    EXPECT_EQ(kHalfLeft, top.At(10, 15));
    EXPECT_EQ(kHalfRight, top.At(190, 15));
    // At the right it is turned a quarter: its left half at the bottom.
    CWindowPixels right(hRightBar);
    EXPECT_EQ(kHalfLeft, right.At(20, 130));
    EXPECT_EQ(kHalfRight, right.At(20, 10));
    // The docking rows themselves likewise (the top one beside its tool bar).
    EXPECT_EQ(kHalfRight, CWindowPixels(hTop).At(270, 15));
    CWindowPixels dock(hRight);
    EXPECT_EQ(kHalfLeft, dock.At(20, 138));
    EXPECT_EQ(kHalfRight, dock.At(20, 2));
}

TEST_F(SkinToolBarTest, ButtonsShowTheImageOfTheirState) {
    HWND hDock = CreateDock(kAlignTop, RECT{0, 0, 280, 40});
    HWND hBar = CreateToolBar(hDock, 280, 40);
    ASSERT_NE(nullptr, Painter<CSkinToolBar>(hBar));
    ::SendMessageA(hBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    CImageList images(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
    ASSERT_TRUE(images.IsValid());
    ::SendMessageA(hBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    TBBUTTON buttons[4] = {};
    const BYTE states[4] = {TBSTATE_ENABLED, TBSTATE_ENABLED | TBSTATE_CHECKED, 0, TBSTATE_ENABLED};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = states[i];
        buttons[i].fsStyle = i == 1 ? BTNS_CHECK : BTNS_BUTTON;
    }
    ASSERT_TRUE(::SendMessageA(hBar, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons)));
    ::SendMessageA(hBar, TB_SETHOTITEM, 3, 0);
    CWindowPixels pixels(hBar);
    const int expected[4] = {B_TOOL_NORMAL, B_TOOL_PRESSED, B_TOOL_DISABLED, B_TOOL_HOT};
    for (int i = 0; i < 4; ++i) {
        RECT rc;
        ASSERT_TRUE(::SendMessageA(hBar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc)));
        EXPECT_EQ(BlockColor(expected[i]), pixels.At(rc.left + 1, rc.top + 1)) << "button " << i;
    }
    ::SendMessageA(hBar, TB_SETIMAGELIST, 0, 0);
}
