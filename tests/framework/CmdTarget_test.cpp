// Command tables: which handler a command, notification or update request reaches, and the enabling rule for
// items that have no update handler.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"
#include "platform/Handle.h"

namespace {

class CRecorder : public CCmdTarget {
public:
    CRecorder() {
        MapCommand(100, &CRecorder::OnHundred);
        MapCommandRange(200, 203, &CRecorder::OnRange);
        MapNotify(300, EN_CHANGE, &CRecorder::OnChange);
        MapUpdateUI(100, &CRecorder::OnUpdateHundred);
        MapUpdateUIRange(200, 201, &CRecorder::OnUpdateRange);
    }
    void OnHundred() { calls.push_back("100"); }
    void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    void OnChange() { calls.push_back("change"); }
    void OnUpdateHundred(CCmdUI *ui) { ui->Enable(enableHundred); }
    void OnUpdateRange(CCmdUI *ui) { ui->SetCheck(static_cast<int>(ui->m_nID - 200)); }

    std::vector<std::string> calls;
    BOOL enableHundred = FALSE;
};

// Records what an update handler or the default rule decided.
class CStateUI : public CCmdUI {
public:
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int n) override { check = n; }
    void SetText(const std::string &t) override { text = t; }
    int enabled = -1;
    int check = -1;
    std::string text;
};

TEST(CmdTarget, CommandsReachTheirHandlers) {
    CRecorder r;
    EXPECT_TRUE(r.OnCmdMsg(100, 0, nullptr));
    EXPECT_TRUE(r.OnCmdMsg(100, 1, nullptr)); // from an accelerator
    EXPECT_TRUE(r.OnCmdMsg(202, 0, nullptr));
    EXPECT_FALSE(r.OnCmdMsg(204, 0, nullptr));
    EXPECT_FALSE(r.OnCmdMsg(300, 0, nullptr)); // a click is not a text change
    EXPECT_TRUE(r.OnCmdMsg(300, EN_CHANGE, nullptr));
    EXPECT_FALSE(r.OnCmdMsg(100, EN_KILLFOCUS, nullptr));
    EXPECT_EQ(r.calls, (std::vector<std::string>{"100", "100", "range 202", "change"}));
}

TEST(CmdTarget, ProbesCallNothing) {
    CRecorder r;
    EXPECT_TRUE(r.OnCmdMsg(100, 0, nullptr, TRUE));
    EXPECT_TRUE(r.OnCmdMsg(100, CN_UPDATE_COMMAND_UI, nullptr, TRUE));
    EXPECT_FALSE(r.OnCmdMsg(999, 0, nullptr, TRUE));
    EXPECT_TRUE(r.calls.empty());
}

TEST(CmdUI, UpdateHandlerDecidesElseAnyCommandHandlerEnables) {
    CRecorder r;
    struct Case {
        UINT id;
        BOOL disableIfNoHandler;
        int enabled;
        int check;
    } cases[] = {
        {100, TRUE, FALSE, -1}, // its update handler disables it
        {201, TRUE, -1, 1},     // its update handler only checks it
        {203, TRUE, TRUE, -1},  // no update handler, but a command handler
        {999, TRUE, FALSE, -1}, // nobody handles it
        {999, FALSE, -1, -1},   // left alone when asked to
    };
    for (const Case &c : cases) {
        CStateUI ui;
        ui.m_nID = c.id;
        ui.DoUpdate(&r, c.disableIfNoHandler);
        EXPECT_EQ(ui.enabled, c.enabled) << c.id;
        EXPECT_EQ(ui.check, c.check) << c.id;
    }
    r.enableHundred = TRUE;
    CStateUI ui;
    ui.m_nID = 100;
    ui.DoUpdate(&r, TRUE);
    EXPECT_EQ(ui.enabled, TRUE);
    EXPECT_TRUE(r.calls.empty());
}

TEST(CmdUI, MenuItemsTakeStateAndText) {
    CMenu menu(::CreatePopupMenu());
    ::AppendMenuA(menu, MF_STRING, 100, "Item");
    CCmdUI ui;
    ui.m_hMenu = menu;
    ui.m_nIndex = 0;
    ui.m_nID = 100;
    ui.Enable(FALSE);
    ui.SetCheck(1);
    ui.SetText("New text");
    EXPECT_TRUE(::GetMenuState(menu, 100, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(menu, 100, MF_BYCOMMAND) & MF_CHECKED);
    char text[32] = {};
    ::GetMenuStringA(menu, 100, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "New text");
    ui.Enable(TRUE);
    ui.SetCheck(0);
    EXPECT_EQ(::GetMenuState(menu, 100, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u);
}

} // namespace
