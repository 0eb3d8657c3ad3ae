// The painter that gives scrolling controls skinned scroll bars, with the embedded skins: made by the factory for its
// five kinds; under Windows XP and 2000 (platform codes 7 and 6) the interception is in place and a list view gets
// bars sized by the skin, which follow skin changes; under Windows 7 (code 1) nothing is intercepted and the list
// keeps the system's bars; and 1,000 scrolls with 100 skin switches leave no GDI object behind.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/GdiCounter.h"
#include "skin/ScrollBarInterception.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/controls/ScrollBarSkinDraw.h"
#include "skin/controls/ScrollSkin.h"
#include "skin/controls/ScrollSkinWnd.h"
#include "skin/controls/SkinScrollControl.h"
#include "tests/skin/support/SkinTestSupport.h"
#include "tests/skin/support/WineVersionCases.h"

int main(int argc, char **argv) {
    return RunTestsWithWineVersions(argc, argv, {"winxp", "win2k", "win7"});
}

namespace {
typedef CScrollBarGeometry G;
typedef CScrollBarInterception I;

CSkinRegistry &Registry() {
    return CSkinRegistry::Instance();
}

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(1);
    } while (::GetTickCount() - start < ms);
}

void PumpWaiting() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The engine started as the console starts it, a registered top-level window standing in for the skinned frame,
// and a report list view created inside it (the hook gives it its painter).
class ScrollControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_nWindows = Registry().GetWindowCount();
        ASSERT_EQ(1, SkinEngineInit(::GetModuleHandleA(nullptr), "QXReader_CCID", 0, 0));
        ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), "DEVIOR", "SKINWEAVE"));
    }
    void TearDown() override {
        if (m_hFrame)
            ::DestroyWindow(m_hFrame);
        SkinEngineExit();
        Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
        EXPECT_EQ(m_nWindows, Registry().GetWindowCount());
        EXPECT_EQ(0, I::InstalledCount());
    }
    // Skips the case when Wine does not give this program the version its suite asks for.
    bool RunsUnder(const char *pszReported) {
        return ReportedWindowsVersion() == pszReported;
    }
    HWND MakeList(int nRows) {
        m_hFrame = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 60, 60, 420, 320, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
        CProbeWnd *pProbe = new CProbeWnd;
        if (!Registry().AddWindow(std::unique_ptr<CSkinWnd>(pProbe), m_hFrame))
            return nullptr;
        pProbe->SetSkinObject(Registry().GetSkin().FindObject("MainFrame"));
        pProbe->Attach(m_hFrame);
        HWND hList = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                       420, 320, m_hFrame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = 600;
        column.pszText = const_cast<char *>("log");
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        AddRows(hList, 0, nRows);
        PumpFor(30); // the painter's posted message attaches the bars
        return hList;
    }
    static void AddRows(HWND hList, int nFrom, int nTo) {
        ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
        for (int i = nFrom; i < nTo; ++i) {
            char text[32];
            wsprintfA(text, "row %d", i);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text;
            ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    }
    // The arrow length and minimum thumb the current skin gives.
    static std::pair<int, int> SkinSizes() {
        const CSkinScrollBarObject *pBars = CScrollBarSkinDraw::FindObject();
        const SkinScrollBlock &normal = pBars->m_blocks[CSkinScrollBarObject::BLOCK_NORMAL];
        return std::make_pair(normal.arrow1.rcSource.bottom - normal.arrow1.rcSource.top,
                              normal.thumb.rcSource.right - normal.thumb.rcSource.left);
    }
    void ExpectBarsSizedBySkin(HWND hList) {
        const std::pair<int, int> sizes = SkinSizes();
        CScrollSkinWnd *pBars = CScrollSkinWnd::FromHandle(hList);
        ASSERT_NE(nullptr, pBars);
        for (int bar : {SB_HORZ, SB_VERT}) {
            EXPECT_EQ(ScrollSkinBar::STYLE_HOT, pBars->GetBar(bar).nStyle) << bar;
            EXPECT_EQ(sizes.first, pBars->GetBar(bar).nArrowLength) << bar;
            EXPECT_EQ(sizes.first, pBars->GetBar(bar).nArrowWidth) << bar;
            EXPECT_EQ(sizes.second, pBars->GetBar(bar).nMinThumb) << bar;
        }
    }
    HWND m_hFrame = nullptr;
    size_t m_nWindows = 0;
};

class ScrollControl_winxp : public ScrollControlTest {};
class ScrollControl_win2k : public ScrollControlTest {};
class ScrollControl_win7 : public ScrollControlTest {};

// Presses a bar's part with the left button and lets go, as the pointer would.
void Click(HWND hWnd, int bar, POINT pt, int dragBy = 0) {
    const POINT client = [&] {
        POINT p = pt;
        ::ScreenToClient(hWnd, &p);
        return p;
    }();
    ::SendMessageA(hWnd, WM_NCLBUTTONDOWN, bar == SB_VERT ? HTVSCROLL : HTHSCROLL, MAKELPARAM(pt.x, pt.y));
    if (dragBy)
        ::SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y + dragBy));
    ::SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y + dragBy));
}
} // namespace

TEST(ScrollControl, TheFactoryMakesTheScrollPainterForItsFiveKindsOnly) {
    CSkinWnd owner;
    for (DWORD kind : {7u, 9u, 26u, 28u, 29u}) {
        std::unique_ptr<CSkinWnd> pPainter = owner.CreateControl(kind);
        CSkinScrollControl *pScroll = dynamic_cast<CSkinScrollControl *>(pPainter.get());
        ASSERT_NE(nullptr, pScroll) << kind;
        EXPECT_EQ(&owner, pScroll->GetOwner());
    }
    for (DWORD kind : {12u, 16u, 27u})
        EXPECT_EQ(nullptr, dynamic_cast<CSkinScrollControl *>(owner.CreateControl(kind).get())) << kind;
    for (int code = 0; code <= 7; ++code)
        EXPECT_EQ(code >= 5, CSkinScrollControl::UsesSkinnedBars(code)) << code;
}

TEST_F(ScrollControl_winxp, TheListGetsBarsSizedByTheSkinAndItsCallsLandInThem) {
    if (!RunsUnder("5.1"))
        GTEST_SKIP() << "Wine reports " << ReportedWindowsVersion() << " here instead of winxp's 5.1";
    EXPECT_EQ(7, CSkinEngine::GetPlatformCode());
    EXPECT_EQ(I::FUNCTION_COUNT, I::InstalledCount());
    HWND hList = MakeList(100);
    ASSERT_NE(nullptr, hList);
    CSkinScrollControl *pPainter = dynamic_cast<CSkinScrollControl *>(SkinFindWindow(hList));
    ASSERT_NE(nullptr, pPainter);
    EXPECT_TRUE(pPainter->HasSkinnedBars());
    ASSERT_TRUE(ScrollSkinIsAttached(hList));
    ExpectBarsSizedBySkin(hList);

    // The bars start from what the system's bars held; from then on the list's own calls, through the system's
    // functions, land in the skinned bars and the system's bars hear nothing.
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(hList, SB_VERT, &si));
    EXPECT_EQ(99, si.nMax);
    AddRows(hList, 100, 150);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(hList, SB_VERT, &si));
    EXPECT_EQ(149, si.nMax);
    EXPECT_EQ(149, CScrollSkinWnd::FromHandle(hList)->GetBar(SB_VERT).info.nMax);
    SCROLLINFO system = {sizeof(system), SIF_ALL, 0, 0, 0, 0, 0};
    I::SystemGetScrollInfo(hList, SB_VERT, &system);
    EXPECT_EQ(99, system.nMax);
    // A click on the down arrow scrolls the list by one row.
    const RECT rc = CScrollSkinWnd::FromHandle(hList)->GetBarRect(SB_VERT);
    Click(hList, SB_VERT, POINT{(rc.left + rc.right) / 2, rc.bottom - 3});
    EXPECT_EQ(1, ::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(1, ::GetScrollPos(hList, SB_VERT));

    // The posted message attaches once; a second one changes nothing.
    ::SendMessageA(hList, CSkinScrollControl::WM_ATTACH_BARS, 0, 0);
    EXPECT_EQ(CScrollSkinWnd::FromHandle(hList), ::GetPropA(hList, "SkinSBSubclassPtr"));
}

TEST_F(ScrollControl_winxp, TheBarsFollowSkinChangesAndOutliveASkinWithoutThem) {
    if (!RunsUnder("5.1"))
        GTEST_SKIP() << "Wine reports " << ReportedWindowsVersion() << " here instead of winxp's 5.1";
    HWND hList = MakeList(200);
    ASSERT_TRUE(ScrollSkinIsAttached(hList));
    for (const char *pszSkin : {"KROMO", "CORONA", "FUTURAIII", "DEVIOR"}) {
        SCOPED_TRACE(pszSkin);
        ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), pszSkin, "SKINWEAVE"));
        ExpectBarsSizedBySkin(hList);
    }
    // XPSTEEL has no scroll objects: the painter goes, the bars stay and draw the standard way.
    ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), "XPSTEEL", "SKINWEAVE"));
    EXPECT_EQ(nullptr, SkinFindWindow(hList));
    EXPECT_TRUE(ScrollSkinIsAttached(hList));
    EXPECT_EQ(nullptr, CScrollBarSkinDraw::FindObject());
    ::RedrawWindow(hList, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    // Back: a new painter, the same bars, the skin's sizes again.
    ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), "CORONA", "SKINWEAVE"));
    PumpFor(30);
    CSkinScrollControl *pPainter = dynamic_cast<CSkinScrollControl *>(SkinFindWindow(hList));
    ASSERT_NE(nullptr, pPainter);
    EXPECT_TRUE(pPainter->HasSkinnedBars());
    ExpectBarsSizedBySkin(hList);
}

TEST_F(ScrollControl_winxp, NoGdiObjectIsLeftAfter1000ScrollsAnd100SkinSwitches) {
    if (!RunsUnder("5.1"))
        GTEST_SKIP() << "Wine reports " << ReportedWindowsVersion() << " here instead of winxp's 5.1";
    CGdiCounterSnapshot before;
    {
        HWND hList = MakeList(1000);
        ASSERT_TRUE(ScrollSkinIsAttached(hList));
        const char *skins[] = {"KROMO", "CORONA", "FUTURAIII", "XPSTEEL", "DEVIOR"};
        int switches = 0, scrolls = 0;
        bool down = true;
        for (int i = 0; i < 1000; ++i) {
            CScrollSkinWnd *pBars = CScrollSkinWnd::FromHandle(hList);
            ASSERT_NE(nullptr, pBars);
            const RECT rc = pBars->GetBarRect(SB_VERT);
            const G::Bar geometry = pBars->GetBar(SB_VERT).Geometry(rc);
            const G::Thumb thumb = G::GetThumb(geometry);
            const LONG x = (rc.left + rc.right) / 2;
            // Down to the last row, then back up to the first, and so on.
            const int before = ::GetScrollPos(hList, SB_VERT);
            if (before >= G::MaxPos(geometry.values))
                down = false;
            else if (before <= geometry.values.nMin)
                down = true;
            switch (i % 4) {
            case 0: Click(hList, SB_VERT, POINT{x, down ? rc.bottom - 2 : rc.top + 2}); break;
            case 1: Click(hList, SB_VERT, POINT{x, down ? rc.bottom - geometry.nArrow - 2 : rc.top + geometry.nArrow + 2}); break;
            case 2:
                Click(hList, SB_VERT, POINT{x, rc.top + geometry.nArrow + thumb.nOffset + thumb.nSize / 2},
                      down ? 12 : -12);
                break;
            default:
                ::SendMessageA(hList, WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA),
                               MAKELPARAM(x - 50, (rc.top + rc.bottom) / 2));
            }
            scrolls += ::GetScrollPos(hList, SB_VERT) != before;
            PumpWaiting();
            if (i % 10 == 9) {
                ASSERT_EQ(1, SkinLoadResource(::GetModuleHandleA(nullptr), skins[switches % 5], "SKINWEAVE"));
                ++switches;
                PumpWaiting();
            }
        }
        EXPECT_EQ(100, switches);
        EXPECT_GT(scrolls, 900) << "nearly every request moved the list";
        ::DestroyWindow(m_hFrame);
        m_hFrame = nullptr;
    }
    Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    EXPECT_EQ("", before.ChangesSince());
}

TEST_F(ScrollControl_win2k, TheListGetsSkinnedBars) {
    if (!RunsUnder("5.0"))
        GTEST_SKIP() << "Wine reports " << ReportedWindowsVersion() << " here instead of win2k's 5.0";
    EXPECT_EQ(6, CSkinEngine::GetPlatformCode());
    EXPECT_EQ(I::FUNCTION_COUNT, I::InstalledCount());
    HWND hList = MakeList(100);
    EXPECT_TRUE(ScrollSkinIsAttached(hList));
}

TEST_F(ScrollControl_win7, NothingIsInterceptedAndTheListKeepsTheSystemsBars) {
    if (!RunsUnder("6.1"))
        GTEST_SKIP() << "Wine reports " << ReportedWindowsVersion() << " here instead of win7's 6.1";
    EXPECT_EQ(1, CSkinEngine::GetPlatformCode());
    EXPECT_EQ(0, I::InstalledCount());
    HWND hList = MakeList(100);
    CSkinScrollControl *pPainter = dynamic_cast<CSkinScrollControl *>(SkinFindWindow(hList));
    ASSERT_NE(nullptr, pPainter) << "the painter is there, without bars";
    EXPECT_FALSE(pPainter->HasSkinnedBars());
    EXPECT_FALSE(ScrollSkinIsAttached(hList));
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(I::SystemGetScrollInfo(hList, SB_VERT, &si));
    EXPECT_EQ(99, si.nMax) << "the system's bar has the rows";
}
