// The real console's controls under each embedded skin, end to end on the PC/SC rig: the connect and APDU dialogs'
// buttons, combo box and statics skinned by the four full skins and left in the system look by Xpsteel, the tool bars,
// their docking rows and the status bar skinned by all five; a reader session still runs in every skin. Each control is
// judged by what the screen shows of it (and the statics by the transparency a skinned static gets); screenshots of
// every dialog and of the frame's bars go among the artifacts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/console/resource.h"
#include "tests/rig/RigControl.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/console/ConsoleDriver.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

using namespace console_e2e;

namespace {
struct ChildSearch {
    std::string cls;
    int id;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
    ChildSearch *s = reinterpret_cast<ChildSearch *>(lp);
    if (CUiDriver::GetClassName(h) == s->cls && (s->id < 0 || ::GetDlgCtrlID(h) == s->id) && ::IsWindowVisible(h))
        s->found.push_back(h);
    return TRUE;
}
std::vector<HWND> FindVisibleDescendants(HWND parent, const char *cls, int id = -1) {
    ChildSearch s = {cls, id, {}};
    ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
HWND FindVisibleDescendant(HWND parent, const char *cls, int id = -1) {
    std::vector<HWND> all = FindVisibleDescendants(parent, cls, id);
    return all.empty() ? nullptr : all.front();
}

using Console = CConsoleDriver;

void Shot(HWND h, const std::string &name) {
    CScreenshot shot;
    if (shot.CaptureSettledWindow(h, 3000))
        shot.SavePng(name);
}

// Waits until a window and its children have painted what they show.
void Settle(HWND hWnd) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CScreenshot shot;
    shot.CaptureSettledWindow(hWnd, 3000);
}

// The share of a control's pixels on the screen (all, or its rightmost columns) that have exactly one of the colours
// the system draws controls with. A control in the system look is made of them (and of its smoothed text); a skinned
// one shows its artwork.
double SystemColourShare(HWND hControl, int nRightColumns) {
    CScreenshot shot;
    if (!shot.CaptureSettledWindow(hControl, 3000) || shot.GetWidth() <= 0 || shot.GetHeight() <= 0)
        return -1;
    RECT all = {0, 0, shot.GetWidth(), shot.GetHeight()};
    if (nRightColumns > 0 && nRightColumns < all.right)
        all.left = all.right - nRightColumns;
    const int system[] = {COLOR_BTNFACE,  COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                          COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNTEXT,     COLOR_WINDOWFRAME, COLOR_GRAYTEXT,
                          COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    int n = 0;
    std::vector<COLORREF> seen;
    for (int index : system) {
        const COLORREF cr = ::GetSysColor(index);
        bool counted = false;
        for (COLORREF c : seen)
            counted = counted || c == cr;
        if (counted)
            continue;
        seen.push_back(cr);
        n += shot.CountColour(all, cr);
    }
    return static_cast<double>(n) / ((all.right - all.left) * (all.bottom - all.top));
}

// Skinned controls show their artwork: at most this share of system colours. The system look: at least the other.
const double kSkinnedAtMost = 0.5;
const double kSystemAtLeast = 0.6;

void ExpectLook(HWND hControl, bool bSkinned, const std::string &what, int nRightColumns = 0) {
    ASSERT_NE(nullptr, hControl) << what;
    const double share = SystemColourShare(hControl, nRightColumns);
    ASSERT_GE(share, 0) << what;
    if (bSkinned)
        EXPECT_LE(share, kSkinnedAtMost) << what << " looks like the system's";
    else
        EXPECT_GE(share, kSystemAtLeast) << what << " does not look like the system's";
}

// Statics of the full skins are transparent: the painter gives them WS_EX_TRANSPARENT, and takes it back with them.
void ExpectStatics(HWND hDlg, bool bSkinned) {
    const std::vector<HWND> statics = FindVisibleDescendants(hDlg, "Static");
    ASSERT_FALSE(statics.empty());
    for (HWND h : statics) {
        const bool bTransparent = (::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
        EXPECT_EQ(bSkinned, bTransparent) << "static \"" << CUiDriver::GetText(h) << "\"";
    }
}

struct SkinCase {
    int nCommand;
    const char *pszName;
    bool bControls; // the skin holds objects for the dialogs' controls
};

} // namespace

TEST(ConsoleControlsE2E, DialogsAndBarsFollowEachSkin) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500); // the poll finds the rig's readers
    const SkinCase skins[] = {{ID_SKIN_DEVIOR, "devior", true},
                              {ID_SKIN_CORONA, "corona", true},
                              {ID_SKIN_KROMO, "kromo", true},
                              {ID_SKIN_FUTURA, "futuraiii", true},
                              {ID_SKIN_XPSTEEL, "xpsteel", false}};
    size_t rows = 0;
    for (const SkinCase &skin : skins) {
        SCOPED_TRACE(skin.pszName);
        const std::string name = skin.pszName;
        app.Command(skin.nCommand);
        ::Sleep(300);

        // The frame's bars: every skin has a tool-bar and a status-bar object.
        HWND hMain = app.Main();
        Settle(hMain);
        const std::vector<HWND> toolBars = FindVisibleDescendants(hMain, TOOLBARCLASSNAMEA);
        const std::vector<HWND> dockRows = FindVisibleDescendants(hMain, "AfxControlBar42s");
        ASSERT_EQ(3u, toolBars.size());
        ASSERT_FALSE(dockRows.empty());
        for (HWND h : toolBars)
            ExpectLook(h, true, "tool bar " + std::to_string(::GetDlgCtrlID(h)));
        for (HWND h : dockRows)
            ExpectLook(h, true, "docking row " + std::to_string(::GetDlgCtrlID(h)));
        ExpectLook(FindVisibleDescendant(hMain, STATUSCLASSNAMEA), true, "status bar");
        Shot(hMain, "console_" + name + "_main_bars.png");

        // The connect dialog, then a connection through it.
        app.Command(ID_READER_CONNECT);
        HWND hConnect = app.WaitForDialog("连接读卡器");
        ASSERT_NE(nullptr, hConnect);
        HWND hCombo = ::GetDlgItem(hConnect, IDC_READER_COMBO);
        ASSERT_TRUE(CWaitUntil::Condition([&] { return CUiDriver::GetText(hCombo) == "Virtual PCD 00 00"; },
                                          kUiTimeout));
        Settle(hConnect);
        ExpectLook(::GetDlgItem(hConnect, IDC_CONNECT), skin.bControls, "connect button");
        ExpectLook(::GetDlgItem(hConnect, IDCANCEL), skin.bControls, "cancel button");
        // The combo box's edit keeps its own white field: its drop-down button is judged.
        ExpectLook(hCombo, skin.bControls, "reader combo box", 18);
        ExpectStatics(hConnect, skin.bControls);
        Shot(hConnect, "console_" + name + "_connect_dialog.png");
        ::PostMessageA(hConnect, WM_COMMAND, MAKEWPARAM(IDC_CONNECT, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hConnect, IDC_CONNECT)));
        ASSERT_TRUE(app.WaitForRows(rows + 1));
        EXPECT_EQ("连接成功！", app.Texts()[rows]);
        ASSERT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(hConnect); }, kUiTimeout));

        // The APDU dialog after a send.
        CRigControl::ClearLog(0);
        app.Command(ID_READER_APDU);
        HWND hApdu = app.WaitForDialog("APDU命令");
        ASSERT_NE(nullptr, hApdu);
        ::SendMessageA(::GetDlgItem(hApdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>("00 A4 04 00 00"));
        ::SendMessageA(hApdu, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hApdu, IDC_SEND)));
        ASSERT_TRUE(app.WaitForRows(rows + 3));
        EXPECT_EQ("下发的命令为:  00A4040000", app.Texts()[rows + 1]);
        const std::vector<std::string> sent = CRigControl::Commands(0);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ("00A4040000", sent[0]);
        ASSERT_TRUE(CWaitUntil::Condition(
            [&] { return !CUiDriver::GetText(::GetDlgItem(hApdu, IDC_RESPONSE_EDIT)).empty(); }, kUiTimeout));
        Settle(hApdu);
        ExpectLook(::GetDlgItem(hApdu, IDC_SEND), skin.bControls, "send button");
        ExpectLook(::GetDlgItem(hApdu, IDCANCEL), skin.bControls, "cancel button");
        ExpectStatics(hApdu, skin.bControls);
        Shot(hApdu, "console_" + name + "_apdu_dialog.png");
        ::PostMessageA(hApdu, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(hApdu); }, kUiTimeout));

        // Disconnected again for the next skin.
        rows = app.Texts().size();
        app.Command(ID_READER_DISCONNECT);
        ASSERT_TRUE(app.WaitForRows(rows + 1));
        EXPECT_EQ("断开设备成功！", app.Texts().back());
        rows = app.Texts().size();
    }
}
