// The console's resources as the program sees them through the ANSI functions (code page 936).
#include <windows.h>

#include "resource.h"
#include "platform/Handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string LoadText(UINT id) {
    char buf[512] = {};
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

// Texts of a popup's items, separators as "-".
std::vector<std::string> MenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char buf[128] = {};
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = buf;
        mii.cch = sizeof buf;
        GetMenuItemInfoA(menu, i, TRUE, &mii);
        items.push_back((mii.fType & MFT_SEPARATOR) ? "-" : std::string(buf));
    }
    return items;
}

} // namespace

TEST(ConsoleResources, StringsArriveAsGbkText) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with the Chinese ANSI code page";
    EXPECT_EQ(LoadText(AFX_IDS_APP_TITLE), "QXReader_CCID");
    EXPECT_EQ(LoadText(AFX_IDS_IDLEMESSAGE), "就绪");
    EXPECT_EQ(LoadText(IDR_TRACETYPE),
              "\nQXReader\nQXReader.trace\nTrace File(*.trace)\n.trace\nQXReader.Document\nQXRead Document");
    EXPECT_EQ(LoadText(ID_READER_CONNECT), "连接读卡器\n连接");
    EXPECT_EQ(LoadText(ID_READER_DISCONNECT), "断开连接读卡器\n断开连接");
    EXPECT_EQ(LoadText(ID_VIEW_GRID), "视图按网格显示");
    // GBK: two bytes per Chinese character.
    EXPECT_EQ(LoadText(AFX_IDS_IDLEMESSAGE).size(), 4u);
}

TEST(ConsoleResources, TraceMenuCarriesTheReaderAndSkinCommandsInOrder) {
    CMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRACETYPE)));
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuItems(menu.Get()), (std::vector<std::string>{"日志文件(&F)", "查看(&V)", "读卡器测试(&T)", "视图(&D)",
                                                              "皮肤(&P)", "帮助(&H)"}));
    EXPECT_EQ(MenuItems(GetSubMenu(menu.Get(), 2)),
              (std::vector<std::string>{"连接设备", "断开连接", "-", "获取ATR", "APDU命令", "APDU脚本"}));
    HMENU skins = GetSubMenu(menu.Get(), 4);
    EXPECT_EQ(MenuItems(skins), (std::vector<std::string>{"Devior", "FuturaIII", "Kromo", "Corona", "Xpsteel"}));
    // Corona and Xpsteel carry ids opposite to their order.
    EXPECT_EQ(GetMenuItemID(skins, 3), 32790u);
    EXPECT_EQ(GetMenuItemID(skins, 4), 32789u);
}

TEST(ConsoleResources, MainMenuHasNoReaderCommands) {
    CMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuItems(menu.Get()), (std::vector<std::string>{"文件(&F)", "查看(&V)", "帮助(&H)"}));
    EXPECT_EQ(MenuItems(GetSubMenu(menu.Get(), 2)), (std::vector<std::string>{"关于 QXReader_CCID(&A)..."}));
}

TEST(ConsoleResources, DialogsToolBarsAndIconsArePresent) {
    HMODULE self = GetModuleHandleA(nullptr);
    for (int id : {IDD_ABOUTBOX, IDD_CONNECT_READER, IDD_APDU_COMMAND})
        EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr) << "dialog " << id;
    for (int id : {IDR_MAINFRAME, IDR_CONNECTBAR, IDR_DISCONNECTBAR}) {
        HRSRC bar = FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(241));
        ASSERT_NE(bar, nullptr) << "tool bar " << id;
        const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(self, bar)));
        EXPECT_EQ(data[0], 1);  // version
        EXPECT_EQ(data[1], 16); // image width
        EXPECT_EQ(data[2], 16); // image height
        CBitmap strip(static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
        ASSERT_TRUE(strip.IsValid());
        BITMAP bm = {};
        GetObjectA(strip, sizeof bm, &bm);
        int buttons = 0;
        for (WORD i = 0; i < data[3]; ++i)
            buttons += data[4 + i] != 0;
        EXPECT_EQ(bm.bmWidth, 16 * buttons) << "one 16-pixel image per button of bar " << id;
    }
    HICON icon = LoadIconA(self, MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_NE(icon, nullptr);
}
