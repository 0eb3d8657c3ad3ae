// The menu bar of a skinned frame: it takes the window's menus, wraps its entries into rows (the client area shrinks
// by each row), hovers, and shows and works the buttons of a maximised document window.
#include "tests/skin/SkinFrameTestSupport.h"

#include "platform/RectSize.h"
#include "skin/Skin.h"
#include "skin/SkinFrameObject.h"

using namespace skintest;

namespace {

const DWORD kSizable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

const SkinFramedRecord &MainFrame() {
    return dynamic_cast<CSkinFrameObject &>(*CSkinRegistry::Instance().GetSkin().FindObject("MainFrame")).m_framed;
}
const RECT &BarInsets() {
    return dynamic_cast<CSkinFrameObject &>(*CSkinRegistry::Instance().GetSkin().FindObject("MainFrame"))
        .m_menuBar.m_background.rcMargins;
}

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void Paint(HWND hWnd) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

class SkinMenuBarTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadSkin("DEVIOR")); }
};

} // namespace

TEST_F(SkinMenuBarTest, EntriesThatDoNotFitWrapAndTheClientAreaShrinksByTheRow) {
    CTestFrame frame(kSizable, 600, 300, MakeMenu({"File", "Edit", "View", "Reader", "Window", "Help"}));
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    EXPECT_EQ(::GetMenu(frame), nullptr) << "the system draws no menu bar of its own";
    Paint(frame);
    CSkinMenuBar &bar = FrameOf(frame)->GetMenuBar();
    ASSERT_EQ(bar.GetEntries().size(), 6u);
    EXPECT_EQ(bar.GetEntries()[3].strText, "Reader");

    const RECT *t = MainFrame().placement;
    const RECT &in = BarInsets();
    LONG total = 0;
    for (const auto &entry : bar.GetEntries())
        total += entry.size.cx;
    const LONG borders = Width(t[3]) + Width(t[5]) + in.left + in.right;
    const LONG rowHeight = bar.GetEntries()[0].size.cy + 2;
    auto clientTopAt = [&](LONG width) {
        ::SetWindowPos(frame, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
        Paint(frame);
        return ClientInWindow(frame).top;
    };
    const LONG oneRow = clientTopAt(total + borders);
    EXPECT_EQ(bar.GetRowCount(), 1);
    EXPECT_EQ(oneRow, Height(t[0]) + rowHeight + in.top + in.bottom);
    // One pixel less and the last entry moves to a second row.
    const LONG twoRows = clientTopAt(total + borders - 1);
    EXPECT_EQ(bar.GetRowCount(), 2);
    EXPECT_EQ(twoRows - oneRow, rowHeight);
    EXPECT_EQ(bar.GetEntries()[5].rc.left, bar.GetRect().left + in.left);
    EXPECT_EQ(bar.GetEntries()[5].rc.top, bar.GetEntries()[0].rc.top + rowHeight);
    // The hit test follows: the second row is menu, the row below it client.
    const POINT second = Centre(bar.GetEntries()[5].rc);
    EXPECT_EQ(HitTestAt(frame, second.x, second.y), HTMENU);
    EXPECT_EQ(HitTestAt(frame, second.x, twoRows + 2), HTCLIENT);
}

TEST_F(SkinMenuBarTest, ItemsWithoutTextAreLeftOut) {
    HMENU menu = MakeMenu({"File", "Edit"});
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_BITMAP, 77, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_CLOSE));
    ::AppendMenuA(menu, MF_STRING, 78, "Go");
    CTestFrame frame(kSizable, 500, 300, menu);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    const auto &entries = FrameOf(frame)->GetMenuBar().GetEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].strText, "Go");
    EXPECT_EQ(entries[2].nID, 78u);
    EXPECT_EQ(entries[2].hSubMenu, nullptr);
}

TEST_F(SkinMenuBarTest, TheFrameTakesEveryMenuTheApplicationSetsAndGivesTheLastOneBack) {
    HMENU first = MakeMenu({"One"});
    HMENU second = MakeMenu({"Two", "Three"});
    {
        CTestFrame frame(kSizable, 500, 300, first);
        ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
        ::SetMenu(frame, second);
        Paint(frame);
        EXPECT_EQ(::GetMenu(frame), nullptr);
        EXPECT_EQ(FrameOf(frame)->GetMenuBar().GetMenu(), second);
        EXPECT_EQ(FrameOf(frame)->GetMenuBar().GetEntries().size(), 2u);
    }
    // As without the skin: the window took its last menu with it, the one it replaced stays the application's.
    EXPECT_FALSE(::IsMenu(second));
    EXPECT_TRUE(::IsMenu(first));
    CMenu owned(first);
}

TEST_F(SkinMenuBarTest, HoverMarksTheEntryUntilThePointerLeavesTheBar) {
    CTestFrame frame(kSizable, 500, 300, MakeMenu({"File", "Edit"}));
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    Paint(frame);
    CSkinMenuBar &bar = FrameOf(frame)->GetMenuBar();
    const POINT pt = Centre(bar.GetEntries()[1].rc);
    RECT wr;
    ::GetWindowRect(frame, &wr);
    ::SetCursorPos(wr.left + pt.x, wr.top + pt.y);
    SendNc(frame, WM_NCMOUSEMOVE, pt.x, pt.y);
    EXPECT_EQ(bar.GetHoverEntry(), 1);
    EXPECT_EQ(bar.GetEntries()[1].nState, CSkinMenuBar::STATE_HOVER);
    EXPECT_TRUE(bar.IsHoverTimerRunning());
    ::SetCursorPos(5, 5);
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !bar.IsHoverTimerRunning(); }, 1000));
    EXPECT_EQ(bar.GetHoverEntry(), -1);
    EXPECT_EQ(bar.GetEntries()[1].nState, CSkinMenuBar::STATE_NORMAL);
}

TEST_F(SkinMenuBarTest, MaximisedDocumentWindowGetsItsButtonsInTheBar) {
    CTestMDIFrame mdi(600, 450, MakeMenu({"File", "Edit", "View"}));
    ASSERT_EQ(SkinAttachFrame(mdi.Get(), "MainFrame"), 1);
    HWND child = mdi.NewChild();
    ASSERT_NE(FrameOf(child), nullptr);
    CSkinMenuBar &bar = FrameOf(mdi.Get())->GetMenuBar();
    Paint(mdi.Get());
    const RECT &in = BarInsets();
    EXPECT_EQ(bar.GetEntries()[0].rc.left, bar.GetRect().left + in.left);
    const LONG plainTop = ClientInWindow(mdi.Get()).top;

    ::SendMessageA(mdi.Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Paint(mdi.Get());
    EXPECT_EQ(bar.GetMaximizedChild(), child);
    EXPECT_EQ(bar.GetEntries()[0].rc.left, bar.GetRect().left + in.left + CSkinMenuBar::CHILD_INDENT);
    EXPECT_EQ(bar.GetRowCount(), 1) << "three short entries leave room for the buttons";
    EXPECT_EQ(ClientInWindow(mdi.Get()).top, plainTop);
    const RECT close = bar.GetChildButtonRect(CSkinMenuBar::CHILD_CLOSE);
    const RECT restore = bar.GetChildButtonRect(CSkinMenuBar::CHILD_RESTORE);
    const RECT minimize = bar.GetChildButtonRect(CSkinMenuBar::CHILD_MINIMIZE);
    EXPECT_EQ(close.right, bar.GetRect().right - in.right);
    EXPECT_EQ(close.left - restore.left, 18);
    EXPECT_EQ(close.left - minimize.left, 36);

    // Too narrow for entries and buttons in one row: the buttons get a row of their own.
    LONG entries = 0;
    for (const auto &entry : bar.GetEntries())
        entries += entry.size.cx;
    const RECT *t = MainFrame().placement;
    const LONG width = entries + CSkinMenuBar::CHILD_INDENT + 20 + Width(t[3]) + Width(t[5]) + in.left + in.right;
    ::SetWindowPos(mdi.Get(), nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
    Paint(mdi.Get());
    EXPECT_EQ(bar.GetRowCount(), 2);
    EXPECT_GT(bar.GetChildButtonRect(CSkinMenuBar::CHILD_CLOSE).top, bar.GetEntries()[0].rc.bottom);
    ::SetWindowPos(mdi.Get(), nullptr, 0, 0, 600, 450, SWP_NOMOVE | SWP_NOZORDER);
    Paint(mdi.Get());

    // The buttons work the document window through the frame's own messages.
    auto press = [&](int button) {
        const POINT pt = Centre(bar.GetChildButtonRect(button));
        SendNc(mdi.Get(), WM_NCLBUTTONDOWN, pt.x, pt.y);
        EXPECT_EQ(bar.GetChildButtonState(button), 2);
        SendNc(mdi.Get(), WM_NCLBUTTONUP, pt.x, pt.y);
        Paint(mdi.Get());
    };
    press(CSkinMenuBar::CHILD_RESTORE);
    EXPECT_FALSE(::IsZoomed(child));
    EXPECT_EQ(bar.GetMaximizedChild(), nullptr);
    ::SendMessageA(mdi.Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Paint(mdi.Get());
    press(CSkinMenuBar::CHILD_MINIMIZE);
    EXPECT_TRUE(::IsIconic(child));
    ::SendMessageA(mdi.Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Paint(mdi.Get());
    press(CSkinMenuBar::CHILD_CLOSE);
    EXPECT_FALSE(::IsWindow(child));
}
