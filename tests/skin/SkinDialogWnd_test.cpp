// Dialogs skinned under the dialog object name: their client area keeps its size under the skin's borders (also
// across a skin change), and their hit tests know only caption, client and nothing.
#include "tests/skin/SkinFrameTestSupport.h"

#include <cstring>

#include "platform/RectSize.h"
#include "skin/Skin.h"
#include "skin/SkinDialogWnd.h"
#include "skin/SkinFrameObject.h"
#include "tests/support/Screenshot.h"

using namespace skintest;

namespace {

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// A modeless dialog from a template in memory: no menu, the dialog class, a title, no controls.
HWND CreateTestDialog(DWORD style) {
    alignas(4) WORD words[64] = {};
    DLGTEMPLATE *dlg = reinterpret_cast<DLGTEMPLATE *>(words);
    dlg->style = style;
    dlg->x = 20;
    dlg->y = 20;
    dlg->cx = 200;
    dlg->cy = 100;
    WORD *p = reinterpret_cast<WORD *>(dlg + 1);
    *p++ = 0; // menu
    *p++ = 0; // class
    for (const char *c = "Dialog"; *c; ++c)
        *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dlg, nullptr, DialogProc, 0);
}

SIZE ClientSize(HWND hWnd) {
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

const SkinFramedRecord &DialogObject() {
    return dynamic_cast<CSkinFrameObject &>(*CSkinRegistry::Instance().GetSkin().FindObject("Dialog")).m_framed;
}

class SkinDialogWndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadSkin("DEVIOR")); }
    void TearDown() override { SkinClearDialogObjectName(); }
};

} // namespace

TEST_F(SkinDialogWndTest, ClientAreaKeepsItsSizeUnderTheSkinsBorders) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    SkinClearDialogObjectName();
    HWND plain = CreateTestDialog(style);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(SkinFindWindow(plain), nullptr);
    const SIZE expected = ClientSize(plain);
    ::DestroyWindow(plain);

    SkinSetDialogObjectName("Dialog");
    HWND dlg = CreateTestDialog(style);
    ASSERT_NE(dlg, nullptr);
    ASSERT_NE(dynamic_cast<CSkinDialogWnd *>(SkinFindWindow(dlg)), nullptr);
    for (const char *skin : {"DEVIOR", "KROMO"}) {
        ASSERT_TRUE(LoadSkin(skin));
        const RECT *t = DialogObject().placement;
        const SIZE client = ClientSize(dlg);
        EXPECT_EQ(client.cx, expected.cx) << skin;
        EXPECT_EQ(client.cy, expected.cy) << skin;
        RECT wr;
        ::GetWindowRect(dlg, &wr);
        EXPECT_EQ(Width(wr), expected.cx + Width(t[3]) + Width(t[5])) << skin;
        EXPECT_EQ(Height(wr), expected.cy + Height(t[0]) + Height(t[6])) << skin;
        const RECT inside = ClientInWindow(dlg);
        EXPECT_EQ(inside.left, Width(t[3]));
        EXPECT_EQ(inside.top, Height(t[0]));
    }
    // Caption, client, and nothing else: a dialog is not sized by its borders.
    RECT wr;
    ::GetWindowRect(dlg, &wr);
    EXPECT_EQ(HitTestAt(dlg, 1, 1), HTCAPTION);
    EXPECT_EQ(HitTestAt(dlg, Width(wr) / 2, 10), HTCAPTION);
    EXPECT_EQ(HitTestAt(dlg, Width(wr) - 2, 10), HTCAPTION);
    EXPECT_EQ(HitTestAt(dlg, Width(wr) / 2, Height(wr) / 2), HTCLIENT);
    EXPECT_EQ(HitTestAt(dlg, 1, Height(wr) / 2), HTNOWHERE);
    EXPECT_EQ(HitTestAt(dlg, Width(wr) / 2, Height(wr) - 1), HTNOWHERE);
    Pump(100);
    CScreenshot shot;
    if (shot.CaptureSettledWindow(dlg, 2000))
        shot.SavePng("skin_dialog_kromo.png");
    ::DestroyWindow(dlg);
    EXPECT_EQ(SkinFindWindow(dlg), nullptr);
}
