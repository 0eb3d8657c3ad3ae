// The recent-file list: order, size, menu texts and how its entries replace the menu's place holder.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "framework/CmdUI.h"
#include "framework/FrameworkIds.h"
#include "framework/RecentFileList.h"
#include "platform/Handle.h"

namespace {

TEST(RecentFileList, KeepsTheNewestFirstWithoutDuplicates) {
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    for (const char *p : {"C:\\a.trace", "C:\\b.trace", "C:\\c.trace", "C:\\d.trace", "C:\\e.trace"})
        list.Add(p);
    list.Add("c:\\C.TRACE"); // the same file in another case moves up
    ASSERT_EQ(list.GetSize(), 4);
    EXPECT_EQ(list[0], "c:\\C.TRACE");
    EXPECT_EQ(list[1], "C:\\e.trace");
    EXPECT_EQ(list[3], "C:\\b.trace");
    list.Remove(0);
    list.Remove(7); // out of range: nothing
    EXPECT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list[0], "C:\\e.trace");
}

TEST(RecentFileList, MenuTextsNumberEscapeAndShorten) {
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    std::string longPath = "C:\\" + std::string(70, 'd') + "\\logs\\R&D.trace";
    list.Add(longPath);
    list.Add("C:\\x&y.trace");
    EXPECT_EQ(list.GetMenuText(0), "&1 C:\\x&&y.trace");
    EXPECT_EQ(list.GetMenuText(1), "&2 C:\\...\\R&&D.trace");
}

TEST(RecentFileList, EntriesReplaceThePlaceHolderAndComeBackToIt) {
    CMenu menu(::CreatePopupMenu());
    ::AppendMenuA(menu, MF_STRING, ID_FILE_OPEN, "Open");
    ::AppendMenuA(menu, MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, "Recent File");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, ID_APP_EXIT, "Exit");
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.Add("C:\\one.trace");
    list.Add("C:\\two.trace");

    auto update = [&] {
        CCmdUI ui;
        ui.m_hMenu = menu;
        ui.m_nIndex = 1;
        ui.m_nID = ID_FILE_MRU_FILE1;
        list.UpdateMenu(&ui);
        return ui.m_nIndex;
    };
    EXPECT_EQ(update(), 2u); // the caller goes on after the last entry
    ASSERT_EQ(::GetMenuItemCount(menu), 5);
    EXPECT_EQ(::GetMenuItemID(menu, 1), static_cast<UINT>(ID_FILE_MRU_FILE1));
    EXPECT_EQ(::GetMenuItemID(menu, 2), static_cast<UINT>(ID_FILE_MRU_FILE2));
    EXPECT_EQ(::GetMenuItemID(menu, 4), static_cast<UINT>(ID_APP_EXIT));
    char text[64] = {};
    ::GetMenuStringA(menu, 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&2 C:\\one.trace");

    // Updating again does not pile entries up; an empty list shows the place holder again, greyed.
    update();
    EXPECT_EQ(::GetMenuItemCount(menu), 5);
    list.Remove(0);
    list.Remove(0);
    update();
    ASSERT_EQ(::GetMenuItemCount(menu), 4);
    ::GetMenuStringA(menu, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Recent File");
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED);
}

} // namespace
