// The real console's skinned menus under Wine on the PC/SC rig, driven with the pointer and the keyboard as a user
// drives them: every command through the menu bar, the system menu from the caption icon, an open popup re-skinned,
// and screenshots of the menus in each skin.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/FrameworkIds.h"
#include "res/console/resource.h"
#include "tests/console/ConsoleDriver.h"
#include "tests/rig/RigControl.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

using namespace console_e2e;

namespace {
const char kPopupClass[] = "SkinWeavePopupMenuWnd";

// The entries of the console's menu bar while a trace window is open, and their item counts.
enum { LOG_MENU, VIEW_MENU, READER_MENU, DISPLAY_MENU, SKIN_MENU, HELP_MENU, ENTRY_COUNT };
const int kReaderItems = 6; // connect, disconnect, separator, ATR, APDU, script

RECT Union(const RECT &a, const RECT &b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void ShotOf(const RECT &rc, const std::string &name) {
    CScreenshot shot;
    if (shot.CaptureScreenRect(rc))
        shot.SavePng(name);
}

class Console : public CConsoleDriver {
public:
    bool Start() {
        if (!CConsoleDriver::Start())
            return false;
        ::SetWindowPos(Main(), nullptr, 60, 40, 760, 560, SWP_NOZORDER);
        return CUiDriver::Activate(Main());
    }
    // The visible popup menu window of the console, or none.
    HWND Popup() { return CUiDriver::FindTopLevelWindow(Pid(), kPopupClass, ""); }
    HWND WaitForPopup() {
        HWND popup = nullptr;
        CWaitUntil::Condition([&] { return (popup = Popup()) != nullptr; }, kUiTimeout, 20);
        return popup;
    }
    bool WaitForNoPopup() {
        return CWaitUntil::Condition([&] { return Popup() == nullptr; }, kUiTimeout, 20);
    }

    // Finds the menu bar's entries with the pointer, as a user sees them: a press on the bar's first entry opens its
    // menu, and while it is open the pointer sliding right opens each next entry's menu below that entry.
    bool FindEntries() {
        m_entries.clear();
        const RECT wr = CUiDriver::GetWindowRectOnScreen(Main());
        // The bar's first row: the first rows of the window that hit-test as menu.
        int top = -1;
        for (int y = wr.top; y < wr.top + 120 && top < 0; ++y)
            if (HitTest(POINT{wr.left + 40, y}) == HTMENU)
                top = y;
        if (top < 0)
            return false;
        m_nRowY = top + 8;
        int left = wr.left;
        while (left < wr.right && HitTest(POINT{left, m_nRowY}) != HTMENU)
            ++left;
        HWND popup = nullptr;
        for (int x = left + 2; x < left + 60 && !popup; x += 6) {
            CUiDriver::ClickAt(POINT{x, m_nRowY});
            popup = WaitForPopupBriefly();
        }
        if (!popup)
            return false;
        m_entries.push_back(CUiDriver::GetWindowRectOnScreen(popup).left + 4);
        // Each step waits for the menu under the pointer (a slow machine opens it late), so no entry is passed over.
        for (int x = m_entries.back(); x < wr.right - 8; x += 6) {
            CUiDriver::MovePointerTo(POINT{x, m_nRowY});
            ::Sleep(20);
            HWND now = WaitForPopupBriefly();
            if (now && CUiDriver::GetWindowRectOnScreen(now).left + 4 > m_entries.back() + 8)
                m_entries.push_back(CUiDriver::GetWindowRectOnScreen(now).left + 4);
        }
        CUiDriver::PressKey(VK_ESCAPE);
        return WaitForNoPopup();
    }
    const std::vector<int> &Entries() const { return m_entries; }
    POINT EntryPoint(int entry) const { return POINT{m_entries[entry], m_nRowY}; }

    // Opens an entry's menu with a press on the entry.
    HWND OpenByMouse(int entry) {
        if (entry >= static_cast<int>(m_entries.size()) || !CUiDriver::ClickAt(EntryPoint(entry)))
            return nullptr;
        return WaitForPopup();
    }
    // The height of one item, from a menu whose items are known.
    int ItemHeight() {
        if (m_nItemHeight == 0) {
            HWND popup = OpenByMouse(READER_MENU);
            if (!popup)
                return 0;
            m_nItemHeight = (CUiDriver::GetClientRectOnScreen(popup).bottom -
                             CUiDriver::GetClientRectOnScreen(popup).top) / kReaderItems;
            CUiDriver::PressKey(VK_ESCAPE);
            WaitForNoPopup();
        }
        return m_nItemHeight;
    }
    // Chooses an item of an entry's menu with the pointer: over the item, then a press.
    bool ChooseByMouse(int entry, int item) {
        const int h = ItemHeight();
        HWND popup = OpenByMouse(entry);
        if (!popup || h == 0) {
            CScreenshot shot;
            if (shot.CaptureWindow(Main()))
                shot.SavePng("menu_open_failed.png");
            return false;
        }
        const RECT client = CUiDriver::GetClientRectOnScreen(popup);
        const POINT pt = {client.left + (client.right - client.left) / 2, client.top + item * h + h / 2};
        CUiDriver::MovePointerTo(pt);
        ::Sleep(30);
        CUiDriver::ClickAt(pt);
        if (WaitForNoPopup())
            return true;
        // For the report: what the screen showed.
        ShotOf(Union(CUiDriver::GetWindowRectOnScreen(Main()), CUiDriver::GetWindowRectOnScreen(popup)),
               "menu_choice_failed.png");
        return false;
    }
    // Alt+letter, then the keys.
    bool ChooseByKeys(WORD letter, const std::vector<WORD> &keys) {
        if (!CUiDriver::Activate(Main()) || !CUiDriver::PressChord(VK_MENU, letter) || !WaitForPopup())
            return false;
        for (WORD key : keys) {
            CUiDriver::PressKey(key);
            ::Sleep(40);
        }
        return WaitForNoPopup();
    }

private:
    LRESULT HitTest(POINT pt) {
        return ::SendMessageA(Main(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }
    HWND WaitForPopupBriefly() {
        HWND popup = nullptr;
        CWaitUntil::Condition([&] { return (popup = Popup()) != nullptr; }, 400, 20);
        return popup;
    }

    std::vector<int> m_entries;
    int m_nRowY = 0;
    int m_nItemHeight = 0;
};



// A row of the caption's pixels as the screen shows them (the skin in force shows there).
std::vector<COLORREF> CaptionPixels(HWND hMain) {
    CScreenshot shot;
    std::vector<COLORREF> out;
    if (!shot.CaptureWindow(hMain))
        return out;
    for (int x = 30; x < 300; x += 3)
        out.push_back(shot.GetPixel(x, 12));
    return out;
}

std::vector<COLORREF> WindowPixels(HWND h) {
    CScreenshot shot;
    std::vector<COLORREF> out;
    if (!shot.CaptureWindow(h))
        return out;
    for (int y = 0; y < shot.GetHeight(); y += 2)
        for (int x = 0; x < shot.GetWidth(); x += 2)
            out.push_back(shot.GetPixel(x, y));
    return out;
}

} // namespace

TEST(ConsoleMenuE2E, EveryCommandByMouseThroughTheSkinnedMenuBar) {
    const std::string script = TempFile("qx_menu_script.txt");
    ASSERT_TRUE(CTestPaths::WriteFile(script, "00 a4 04 00 00\r\n"));
    const std::string saved = TempFile("qx_menu_saved.trace");
    ::DeleteFileA(saved.c_str());
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500); // the poll finds the rig's readers
    ASSERT_TRUE(app.FindEntries());
    ASSERT_EQ(app.Entries().size(), static_cast<size_t>(ENTRY_COUNT));

    // Reader test: connect (the dialog), ATR, the APDU dialog, a script, disconnect.
    ASSERT_TRUE(app.ChooseByMouse(READER_MENU, 0));
    HWND dlg = app.WaitForDialog("连接读卡器");
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(CloseDialog(dlg, IDC_CONNECT));
    ASSERT_TRUE(app.WaitForLast("连接成功！"));
    ASSERT_TRUE(app.ChooseByMouse(READER_MENU, 3));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.Texts().size() >= 3; }, kUiTimeout));
    EXPECT_EQ(app.Texts()[1], "获取ATR成功！");
    ASSERT_TRUE(app.ChooseByMouse(READER_MENU, 4));
    dlg = app.WaitForDialog("APDU命令");
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(CloseDialog(dlg, IDCANCEL));
    CRigControl::ClearLog(0);
    ASSERT_TRUE(app.ChooseByMouse(READER_MENU, 5));
    ASSERT_TRUE(app.ChooseFile(script));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !CRigControl::Commands(0).empty(); }, kUiTimeout));

    // Log: clear, save (the save dialog), close, then the recent file and open from the frame's own menu.
    ASSERT_TRUE(app.ChooseByMouse(LOG_MENU, 5));
    ASSERT_TRUE(app.WaitForExactly(0));
    ASSERT_TRUE(app.ChooseByMouse(READER_MENU, 1));
    ASSERT_TRUE(app.WaitForLast("断开设备成功！"));
    ASSERT_TRUE(app.ChooseByMouse(LOG_MENU, 2));
    ASSERT_TRUE(app.ChooseFile(saved));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return CTestPaths::Exists(saved); }, kUiTimeout));
    ASSERT_TRUE(app.ChooseByMouse(LOG_MENU, 1));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.List() == nullptr; }, kUiTimeout));
    // Without a trace window the bar shows the frame's menu: file, view, help.
    ASSERT_TRUE(app.FindEntries());
    ASSERT_EQ(app.Entries().size(), 3u);
    ASSERT_TRUE(app.ChooseByMouse(0, 5)); // the first recent file
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.List() != nullptr; }, kUiTimeout));
    const std::vector<std::string> reopened = app.Texts();
    EXPECT_NE(std::find(reopened.begin(), reopened.end(), "断开设备成功！"), reopened.end());
    ASSERT_TRUE(app.FindEntries());
    ASSERT_EQ(app.Entries().size(), static_cast<size_t>(ENTRY_COUNT));
    ASSERT_TRUE(app.ChooseByMouse(LOG_MENU, 0));
    ASSERT_TRUE(app.ChooseFile(saved));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return app.List() != nullptr; }, kUiTimeout));

    // While no reader is connected its commands are grey: a press on ATR leaves the menu open.
    HWND reader = app.OpenByMouse(READER_MENU);
    ASSERT_NE(reader, nullptr);
    const RECT readerClient = CUiDriver::GetClientRectOnScreen(reader);
    CUiDriver::ClickAt(POINT{readerClient.left + 20, readerClient.top + 3 * app.ItemHeight() + app.ItemHeight() / 2});
    ::Sleep(300);
    EXPECT_TRUE(::IsWindowVisible(reader));
    CUiDriver::PressKey(VK_ESCAPE);
    ASSERT_TRUE(app.WaitForNoPopup());
    // View: the tool bar goes and comes back. Display: the grid lines.
    const HWND toolbar = FindDescendant(app.Main(), TOOLBARCLASSNAMEA, AFX_IDW_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_TRUE(app.ChooseByMouse(VIEW_MENU, 0));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !::IsWindowVisible(toolbar); }, kUiTimeout));
    ASSERT_TRUE(app.ChooseByMouse(VIEW_MENU, 0));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return ::IsWindowVisible(toolbar) != FALSE; }, kUiTimeout));
    const LRESULT grid = ::SendMessageA(app.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES;
    ASSERT_TRUE(app.ChooseByMouse(DISPLAY_MENU, 1));
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] { return (::SendMessageA(app.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != grid; },
        kUiTimeout));

    // Skins: each one changes the frame.
    std::vector<COLORREF> before = CaptionPixels(app.Main());
    for (int item : {1, 2, 3, 4, 0}) {
        ASSERT_TRUE(app.ChooseByMouse(SKIN_MENU, item));
        EXPECT_TRUE(CWaitUntil::Condition([&] { return CaptionPixels(app.Main()) != before; }, kUiTimeout))
            << "skin item " << item;
        ::Sleep(300);
        before = CaptionPixels(app.Main());
        ASSERT_TRUE(app.FindEntries()) << "skin item " << item;
    }

    // Help: the about box.
    ASSERT_TRUE(app.ChooseByMouse(HELP_MENU, 0));
    dlg = app.WaitForDialog("关于 QXReader_CCID");
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(CloseDialog(dlg, IDOK));
    ::DeleteFileA(saved.c_str());
}

TEST(ConsoleMenuE2E, CommandsByAltLetterAndArrows) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500);
    // Alt+T opens the reader menu on its first item: Enter connects.
    ASSERT_TRUE(app.ChooseByKeys('T', {VK_RETURN}));
    HWND dlg = app.WaitForDialog("连接读卡器");
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(CloseDialog(dlg, IDC_CONNECT));
    ASSERT_TRUE(app.WaitForLast("连接成功！"));
    // Down walks over the separator: connect, disconnect, ATR.
    ASSERT_TRUE(app.ChooseByKeys('T', {VK_DOWN, VK_DOWN, VK_RETURN}));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.Texts().size() >= 3; }, kUiTimeout));
    EXPECT_EQ(app.Texts()[1], "获取ATR成功！");
    // Up from the first item wraps to the last: the script's open dialog.
    ASSERT_TRUE(app.ChooseByKeys('T', {VK_UP, VK_RETURN}));
    HWND open = nullptr;
    ASSERT_TRUE(CWaitUntil::Condition(
        [&] { return (open = CUiDriver::FindTopLevelWindow(app.Pid(), "#32770", "")) && open != app.Main(); },
        kUiTimeout));
    EXPECT_TRUE(CloseDialog(open, IDCANCEL));
    // Alt+F, to the clear command past the separator.
    ASSERT_TRUE(app.ChooseByKeys('F', {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    ASSERT_TRUE(app.WaitForExactly(0));
    // Left and Right move between the entries' menus: from help, Left twice is the skin menu's neighbour, the
    // display menu, and Right back to skins; its third item is Kromo.
    const std::vector<COLORREF> before = CaptionPixels(app.Main());
    ASSERT_TRUE(app.ChooseByKeys('H', {VK_LEFT, VK_LEFT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return CaptionPixels(app.Main()) != before; }, kUiTimeout));
    // F10 marks the first entry; Right, Right and Enter open the reader menu; Escape closes it.
    ASSERT_TRUE(CUiDriver::Activate(app.Main()));
    ASSERT_TRUE(CUiDriver::PressKey(VK_F10));
    ::Sleep(100);
    CUiDriver::PressKey(VK_RIGHT);
    CUiDriver::PressKey(VK_RIGHT);
    CUiDriver::PressKey(VK_RETURN);
    HWND popup = app.WaitForPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(CUiDriver::GetClientRectOnScreen(popup).bottom - CUiDriver::GetClientRectOnScreen(popup).top,
              kReaderItems * ((CUiDriver::GetClientRectOnScreen(popup).bottom -
                               CUiDriver::GetClientRectOnScreen(popup).top) / kReaderItems));
    CUiDriver::PressKey(VK_DOWN);
    CUiDriver::PressKey(VK_RETURN); // disconnect
    ASSERT_TRUE(app.WaitForLast("断开设备成功！"));
    // Alt+H, Enter: the about box.
    ASSERT_TRUE(app.ChooseByKeys('H', {VK_RETURN}));
    dlg = app.WaitForDialog("关于 QXReader_CCID");
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(CloseDialog(dlg, IDOK));
}

TEST(ConsoleMenuE2E, SystemMenuFromTheCaptionIconThenACaptionPressStartsAMove) {
    Console app;
    ASSERT_TRUE(app.Start());
    const RECT wr = CUiDriver::GetWindowRectOnScreen(app.Main());
    // Devior's main frame has its system-menu button at (6, 6)-(22, 22).
    ASSERT_TRUE(CUiDriver::ClickAt(POINT{wr.left + 14, wr.top + 14}));
    HWND popup = app.WaitForPopup();
    ASSERT_NE(popup, nullptr);
    const RECT menu = CUiDriver::GetWindowRectOnScreen(popup);
    ShotOf(Union(wr, menu), "menu_system_menu.png");
    // A press on the caption closes the menu and the press starts moving the window.
    const POINT caption = {wr.left + 160, wr.top + 12};
    ASSERT_TRUE(CUiDriver::MovePointerTo(caption));
    ASSERT_TRUE(CUiDriver::LeftButton(true));
    EXPECT_TRUE(app.WaitForNoPopup());
    EXPECT_TRUE(CWaitUntil::Condition([&] { return CUiDriver::IsInMoveSize(app.Main()); }, kUiTimeout));
    for (int step = 1; step <= 6; ++step) {
        CUiDriver::MovePointerTo(POINT{caption.x + step * 10, caption.y + step * 5});
        ::Sleep(30);
    }
    CUiDriver::LeftButton(false);
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] {
            const RECT now = CUiDriver::GetWindowRectOnScreen(app.Main());
            return now.left == wr.left + 60 && now.top == wr.top + 30;
        },
        kUiTimeout));
}

TEST(ConsoleMenuE2E, EachSkinReskinsAnOpenPopupAndChecksItsItem) {
    Console app;
    ASSERT_TRUE(app.Start());
    struct Skin {
        const char *name;
        int item;
        int command;
    };
    const Skin skins[] = {{"devior", 0, ID_SKIN_DEVIOR}, {"futuraiii", 1, ID_SKIN_FUTURA}, {"kromo", 2, ID_SKIN_KROMO},
                          {"corona", 3, ID_SKIN_CORONA}, {"xpsteel", 4, ID_SKIN_XPSTEEL}};
    ASSERT_TRUE(app.FindEntries());
    ASSERT_EQ(app.Entries().size(), static_cast<size_t>(ENTRY_COUNT));
    for (size_t i = 0; i < 5; ++i) {
        const Skin &skin = skins[i];
        if (i > 0) {
            ASSERT_TRUE(app.ChooseByMouse(SKIN_MENU, skin.item));
            ::Sleep(500);
            ASSERT_TRUE(app.FindEntries()) << skin.name;
        }
        // The skin menu open, the skin in force checked.
        HWND popup = app.OpenByMouse(SKIN_MENU);
        ASSERT_NE(popup, nullptr) << skin.name;
        ::Sleep(300);
        ShotOf(Union(CUiDriver::GetWindowRectOnScreen(app.Main()), CUiDriver::GetWindowRectOnScreen(popup)),
               std::string("menu_skin_") + skin.name + ".png");
        // The next skin comes while the popup is open: the popup is drawn anew in it.
        const std::vector<COLORREF> drawn = WindowPixels(popup);
        const Skin &next = skins[(i + 1) % 5];
        ::PostMessageA(app.Main(), WM_COMMAND, MAKEWPARAM(next.command, 0), 0);
        EXPECT_TRUE(CWaitUntil::Condition([&] { return ::IsWindow(popup) && WindowPixels(popup) != drawn; },
                                          kUiTimeout))
            << skin.name << " to " << next.name;
        CUiDriver::PressKey(VK_ESCAPE);
        ASSERT_TRUE(app.WaitForNoPopup());
        // Back to the skin of this round, for the next round's switch.
        ::PostMessageA(app.Main(), WM_COMMAND, MAKEWPARAM(skin.command, 0), 0);
        ::Sleep(500);
    }
}

TEST(ConsoleMenuE2E, TheMenuBarWrapsAtANarrowWidth) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::SetWindowPos(app.Main(), nullptr, 60, 40, 300, 400, SWP_NOZORDER);
    ::Sleep(500);
    CScreenshot shot;
    ASSERT_TRUE(shot.CaptureSettledWindow(app.Main(), 3000));
    shot.SavePng("menu_bar_wrapped.png");
    const RECT wr = CUiDriver::GetWindowRectOnScreen(app.Main());
    int menuRows = 0;
    for (int y = wr.top; y < wr.top + 150; ++y)
        if (::SendMessageA(app.Main(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, y)) == HTMENU)
            ++menuRows;
    ::SetWindowPos(app.Main(), nullptr, 60, 40, 760, 560, SWP_NOZORDER);
    ::Sleep(500);
    int wideRows = 0;
    for (int y = wr.top; y < wr.top + 150; ++y)
        if (::SendMessageA(app.Main(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, y)) == HTMENU)
            ++wideRows;
    EXPECT_GT(menuRows, wideRows) << "the entries wrap into more rows at a narrow width";
}
