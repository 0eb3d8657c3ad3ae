// The skin menu of the main frame: each command loads its skin through the engine and moves the check mark, and a
// skin that cannot be loaded leaves both the skin in force and the check mark where they are. This process embeds
// every skin but FuturaIII.
#include <gtest/gtest.h>

#include <windows.h>

#include "res/console/resource.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinRegistry.h"
#include "tests/console/ConsoleTestHarness.h"

namespace {

const UINT kSkinIds[] = {ID_SKIN_DEVIOR, ID_SKIN_FUTURA, ID_SKIN_KROMO, ID_SKIN_CORONA, ID_SKIN_XPSTEEL};

// The one command whose item carries the check mark, or 0 when none or several do.
UINT CheckedSkin() {
    UINT checked = 0;
    for (UINT id : kSkinIds) {
        if (CheckOf(id) != 1)
            continue;
        if (checked)
            return 0;
        checked = id;
    }
    return checked;
}

CSkin *Current() {
    return &CSkinRegistry::Instance().GetSkin();
}

class ConsoleSkinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(1, SkinEngineInit(::GetModuleHandleA(nullptr), "QXReader_CCID", 0, 0));
        ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), "Devior", "SKINWEAVE"));
    }
    static void TearDownTestSuite() { SkinEngineExit(); }
    void Choose(UINT nID) { ::SendMessageA(TestApp().Frame()->m_hWnd, WM_COMMAND, nID, 0); }
};

} // namespace

TEST_F(ConsoleSkinTest, TheCheckMarkFollowsTheSkinInForce) {
    CMainFrame *frame = TestApp().Frame();
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(1, frame->m_nSkin);
    EXPECT_EQ(ID_SKIN_DEVIOR, CheckedSkin());

    // Each command stores its number; Corona (32790) stores 4 and Xpsteel (32789) 5.
    const struct {
        UINT nID;
        int nSkin;
        int minor;
    } steps[] = {{ID_SKIN_KROMO, 3, 5}, {ID_SKIN_CORONA, 4, 5}, {ID_SKIN_XPSTEEL, 5, 1}, {ID_SKIN_DEVIOR, 1, 5}};
    for (const auto &step : steps) {
        CSkin *before = Current();
        Choose(step.nID);
        EXPECT_EQ(step.nSkin, frame->m_nSkin) << step.nID;
        EXPECT_EQ(step.nID, CheckedSkin());
        EXPECT_NE(before, Current()) << step.nID;
        EXPECT_EQ(step.minor, Current()->GetMinorVersion()) << step.nID;
    }
    EXPECT_EQ(32790u, static_cast<UINT>(ID_SKIN_CORONA));
    EXPECT_EQ(32789u, static_cast<UINT>(ID_SKIN_XPSTEEL));

    // FuturaIII cannot be loaded here: Devior stays in force, and so does its check mark.
    CSkin *devior = Current();
    Choose(ID_SKIN_FUTURA);
    EXPECT_EQ(1, frame->m_nSkin);
    EXPECT_EQ(ID_SKIN_DEVIOR, CheckedSkin());
    EXPECT_EQ(devior, Current());
    EXPECT_NE(nullptr, Current()->FindObject("MainFrame"));

    // The skin in force chosen again is loaded again (an equal skin); the check mark stays.
    Choose(ID_SKIN_DEVIOR);
    EXPECT_EQ(1, frame->m_nSkin);
    EXPECT_EQ(ID_SKIN_DEVIOR, CheckedSkin());
    EXPECT_NE(devior, Current());
}
