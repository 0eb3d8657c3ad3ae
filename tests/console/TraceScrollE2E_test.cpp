// End-to-end test of the skinned scroll bars in the real QXReader_CCID.exe under Wine on the PC/SC rig, started as
// Windows XP (the Windows version under which the engine gives scrolling controls skinned bars): a 1,000-row trace
// log is scrolled with the pointer in each skin that draws scroll bars, and the list's top row is read back after
// every arrow click, page click, thumb drag and wheel turn. Screenshots of the middle of the log in all five skins
// and of a thumb being dragged go to the artifacts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Handle.h"
#include "res/console/resource.h"
#include "skin/SkinEngine.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/controls/ScrollBarGeometry.h"
#include "skin/controls/ScrollBarSkinDraw.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

namespace {
typedef CScrollBarGeometry G;

const int kRows = 1000;
const DWORD kStartTimeout = 30000;
const DWORD kUiTimeout = 10000;
const char kVersionKey[] = "Software\\Wine\\AppDefaults\\QXReader_CCID.exe";

// The console runs as Windows XP while this object lives (Wine reads the version of a program at its start).
class CWindowsXpForTheConsole {
public:
    CWindowsXpForTheConsole() {
        HKEY hKey = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kVersionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                              nullptr) != ERROR_SUCCESS)
            return;
        CRegKey key(hKey);
        m_bSet = ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("winxp"), 6) ==
                 ERROR_SUCCESS;
    }
    ~CWindowsXpForTheConsole() { ::RegDeleteKeyA(HKEY_CURRENT_USER, kVersionKey); }
    bool IsSet() const { return m_bSet; }

private:
    bool m_bSet = false;
};

std::string TempFile(const std::string &name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// A trace file of kRows records whose texts are "row 0000" to "row 0999".
std::string WriteLongTrace() {
    std::string data;
    for (int i = 0; i < kRows; ++i) {
        char record[64];
        std::snprintf(record, sizeof(record), "<--\xb5\xda%d\xcc\xf5 row %04d @@ 8 -->\n", i, i);
        data += static_cast<char>(std::string(record).size());
        data += record;
    }
    const std::string path = TempFile("qx_scroll_1000.trace");
    return CTestPaths::WriteFile(path, data) ? path : std::string();
}

struct ChildSearch {
    const char *cls;
    HWND found;
};
BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
    ChildSearch *s = reinterpret_cast<ChildSearch *>(lp);
    if (CUiDriver::GetClassName(h) == s->cls) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

bool SendInputWheel(int nDelta) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    return ::SendInput(1, &input, sizeof(input)) == 1;
}

// The skin's arrow length (also the bars' thickness) and minimum thumb, read from the same embedded skin in this
// process.
struct SkinSizes {
    int nArrow;
    int nMinThumb;
};
bool ReadSkinSizes(const char *pszSkin, SkinSizes *pSizes) {
    if (SkinLoadResource(::GetModuleHandleA(nullptr), pszSkin, "SKINWEAVE") != 1)
        return false;
    const CSkinScrollBarObject *pBars = CScrollBarSkinDraw::FindObject();
    if (!pBars)
        return false;
    const SkinScrollBlock &normal = pBars->m_blocks[CSkinScrollBarObject::BLOCK_NORMAL];
    pSizes->nArrow = normal.arrow1.rcSource.bottom - normal.arrow1.rcSource.top;
    pSizes->nMinThumb = normal.thumb.rcSource.right - normal.thumb.rcSource.left;
    return true;
}

class TraceScrollE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SkinEngineInit(::GetModuleHandleA(nullptr), "QXReader_CCID", 0, 0); }
    static void TearDownTestSuite() { SkinEngineExit(); }
    void TearDown() override {
        CUiDriver::LeftButton(false);
        if (m_hMain && ::IsWindow(m_hMain))
            ::PostMessageA(m_hMain, WM_CLOSE, 0, 0);
        m_process.WaitForExit(5000);
    }

    bool Start(const std::string &path) {
        if (!m_process.Start(CTestPaths::FromUnix(QX_CONSOLE_EXE), "\"" + path + "\""))
            return false;
        m_hMain = CUiDriver::WaitForTopLevelWindow(m_process.GetProcessId(), "", "qx_scroll_1000.trace - QXReader_CCID",
                                                   kStartTimeout);
        if (!m_hMain)
            return false;
        ChildSearch s = {"SysListView32", nullptr};
        ::EnumChildWindows(m_hMain, FindChild, reinterpret_cast<LPARAM>(&s));
        m_hList = s.found;
        return m_hList && CWaitUntil::Condition([&] { return ListCount() == kRows; }, kUiTimeout, 50);
    }
    int ListCount() { return static_cast<int>(::SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0)); }
    int TopRow() { return static_cast<int>(::SendMessageA(m_hList, LVM_GETTOPINDEX, 0, 0)); }
    int RowsPerPage() { return static_cast<int>(::SendMessageA(m_hList, LVM_GETCOUNTPERPAGE, 0, 0)); }
    bool WaitForTopRow(int nRow) {
        return CWaitUntil::Condition([&] { return TopRow() == nRow; }, kUiTimeout, 10);
    }
    bool HasSkinnedBars() { return ::GetPropA(m_hList, "SkinSBSubclassPtr") != nullptr; }

    // The vertical bar on the screen: between the client area and the right border.
    RECT VerticalBar() {
        const RECT rcWindow = CUiDriver::GetWindowRectOnScreen(m_hList);
        const RECT rcClient = CUiDriver::GetClientRectOnScreen(m_hList);
        const LONG border = rcClient.left - rcWindow.left;
        return RECT{rcClient.right, rcWindow.top + border, rcWindow.right - border, rcClient.bottom};
    }
    // The geometry of the vertical bar as the list's values give it, turned along x.
    G::Bar BarGeometry(const SkinSizes &sizes, int nPos) {
        const RECT rc = VerticalBar();
        G::Bar bar;
        bar.rc = RECT{rc.top, rc.left, rc.bottom, rc.right};
        bar.nArrow = sizes.nArrow;
        bar.nMinThumb = sizes.nMinThumb;
        bar.values = G::Values{0, kRows - 1, static_cast<UINT>(RowsPerPage()), nPos};
        return bar;
    }
    // The middle of the thumb on the screen.
    POINT ThumbCentre(const SkinSizes &sizes) {
        const G::Bar bar = BarGeometry(sizes, TopRow());
        const G::Thumb thumb = G::GetThumb(bar);
        const RECT rc = VerticalBar();
        return POINT{(rc.left + rc.right) / 2, rc.top + sizes.nArrow + thumb.nOffset + thumb.nSize / 2};
    }
    // Waits until the bar's place, the page and the top row have stayed the same for a while: a skin change goes on
    // laying the list out after the bar has its new width, and a press computed before that misses the thumb.
    bool WaitUntilSettled() {
        struct State {
            RECT bar;
            int page, top;
            bool operator==(const State &o) const {
                return ::EqualRect(&bar, &o.bar) && page == o.page && top == o.top;
            }
        };
        State last = {VerticalBar(), RowsPerPage(), TopRow()};
        DWORD since = ::GetTickCount();
        return CWaitUntil::Condition(
            [&] {
                const State now = {VerticalBar(), RowsPerPage(), TopRow()};
                if (!(now == last)) {
                    last = now;
                    since = ::GetTickCount();
                }
                return ::GetTickCount() - since >= 300;
            },
            kUiTimeout, 20);
    }
    bool Press(POINT pt) { return CUiDriver::MovePointerTo(pt) && CUiDriver::LeftButton(true); }
    bool Release() { return CUiDriver::LeftButton(false); }
    void Shot(const std::string &name) {
        CScreenshot shot;
        if (shot.CaptureSettledWindow(m_hMain, 3000))
            shot.SavePng(name);
    }
    void ChooseSkin(UINT nCommand) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(m_hMain, WM_COMMAND, nCommand, 0, SMTO_NORMAL, kUiTimeout, &result);
    }

    CTestProcess m_process;
    HWND m_hMain = nullptr;
    HWND m_hList = nullptr;
};
} // namespace

TEST_F(TraceScrollE2E, ArrowsPagesThumbAndWheelScrollTheLongTraceInEverySkin) {
    CWindowsXpForTheConsole xp;
    ASSERT_TRUE(xp.IsSet());
    const std::string path = WriteLongTrace();
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(Start(path));
    ASSERT_TRUE(CUiDriver::Activate(m_hMain));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return HasSkinnedBars(); }, kUiTimeout, 50))
        << "the trace list has no skinned bars";

    const struct {
        const char *pszSkin;
        UINT nCommand;
    } skins[] = {{"DEVIOR", ID_SKIN_DEVIOR}, {"FUTURAIII", ID_SKIN_FUTURA}, {"KROMO", ID_SKIN_KROMO},
                 {"CORONA", ID_SKIN_CORONA}};
    for (const auto &skin : skins) {
        SCOPED_TRACE(skin.pszSkin);
        SkinSizes sizes = {};
        ASSERT_TRUE(ReadSkinSizes(skin.pszSkin, &sizes));
        ChooseSkin(skin.nCommand);
        // The bars take the skin's size once its painter has attached them.
        ASSERT_TRUE(CWaitUntil::Condition(
            [&] {
                const RECT rc = VerticalBar();
                return rc.right - rc.left == sizes.nArrow && HasSkinnedBars();
            },
            kUiTimeout, 20))
            << "bar width " << VerticalBar().right - VerticalBar().left << ", the skin's arrows " << sizes.nArrow;
        ASSERT_TRUE(CUiDriver::Activate(m_hMain));
        ASSERT_TRUE(WaitUntilSettled());

        // Back to the first row with the thumb, from wherever the previous skin left it.
        ASSERT_TRUE(Press(ThumbCentre(sizes)));
        ASSERT_TRUE(CUiDriver::MovePointerTo(POINT{ThumbCentre(sizes).x, VerticalBar().top - 20}));
        ASSERT_TRUE(Release());
        ASSERT_TRUE(WaitForTopRow(0));

        const RECT rcBar = VerticalBar();
        const LONG x = (rcBar.left + rcBar.right) / 2;
        const int nPage = RowsPerPage();
        ASSERT_GT(nPage, 3);

        // The down arrow: one row.
        ASSERT_TRUE(CUiDriver::ClickAt(POINT{x, rcBar.bottom - sizes.nArrow / 2}));
        EXPECT_TRUE(WaitForTopRow(1)) << TopRow();
        // The page area below the thumb: one page.
        ASSERT_TRUE(CUiDriver::ClickAt(POINT{x, rcBar.bottom - sizes.nArrow - 3}));
        EXPECT_TRUE(WaitForTopRow(1 + nPage)) << TopRow();
        // The up arrow: one row back.
        ASSERT_TRUE(CUiDriver::ClickAt(POINT{x, rcBar.top + sizes.nArrow / 2}));
        EXPECT_TRUE(WaitForTopRow(nPage)) << TopRow();

        // The thumb dragged past the bottom end (within the snap-back area): the last page.
        ASSERT_TRUE(Press(ThumbCentre(sizes)));
        ASSERT_TRUE(CUiDriver::MovePointerTo(POINT{x, rcBar.bottom + 20}));
        ASSERT_TRUE(Release());
        EXPECT_TRUE(WaitForTopRow(kRows - nPage)) << TopRow();

        // The wheel still scrolls the list (up, over its client area).
        const RECT rcClient = CUiDriver::GetClientRectOnScreen(m_hList);
        ASSERT_TRUE(CUiDriver::MovePointerTo(CUiDriver::CentreOf(rcClient)));
        const int nBeforeWheel = TopRow();
        ASSERT_TRUE(SendInputWheel(WHEEL_DELTA));
        EXPECT_TRUE(CWaitUntil::Condition([&] { return TopRow() < nBeforeWheel; }, kUiTimeout, 10)) << TopRow();

        // The thumb dragged to the top, then its middle to the bar's middle: the middle of the log. Taken far to the
        // side on the way, it snaps back to where the drag began and comes along again on return.
        ASSERT_TRUE(Press(ThumbCentre(sizes)));
        ASSERT_TRUE(CUiDriver::MovePointerTo(POINT{x, rcBar.top - 20}));
        ASSERT_TRUE(Release());
        ASSERT_TRUE(WaitForTopRow(0));
        const G::Bar bar = BarGeometry(sizes, 0);
        const G::Thumb thumb = G::GetThumb(bar);
        const int nFree = G::TrackLength(bar) - thumb.nSize;
        ASSERT_GT(nFree, 0);
        const POINT ptGrip = ThumbCentre(sizes);
        const POINT ptMiddle = {x, ptGrip.y + nFree / 2};
        const int nMiddle = (kRows - nPage) / 2;
        const int nTolerance = (kRows - nPage) / nFree + 1; // rows per pixel of thumb travel
        ASSERT_TRUE(Press(ptGrip));
        ASSERT_TRUE(CUiDriver::MovePointerTo(ptMiddle));
        EXPECT_TRUE(CWaitUntil::Condition([&] { return std::abs(TopRow() - nMiddle) <= nTolerance; }, kUiTimeout, 10))
            << TopRow() << " for " << nMiddle;
        if (std::string(skin.pszSkin) == "KROMO")
            Shot("scrollbars_thumb_dragged.png");
        ASSERT_TRUE(CUiDriver::MovePointerTo(POINT{rcBar.left - 24 - 60, ptMiddle.y}));
        EXPECT_TRUE(WaitForTopRow(0)) << "snapped back: " << TopRow();
        ASSERT_TRUE(CUiDriver::MovePointerTo(ptMiddle));
        EXPECT_TRUE(CWaitUntil::Condition([&] { return std::abs(TopRow() - nMiddle) <= nTolerance; }, kUiTimeout, 10))
            << "resumed: " << TopRow();
        ASSERT_TRUE(Release());
        EXPECT_TRUE(HasSkinnedBars());
        // The pointer leaves the bar (its hover ends) and rests over the rows.
        CUiDriver::MovePointerTo(POINT{rcBar.left - 200, rcBar.top + 200});
        Shot(std::string("scrollbars_middle_") + skin.pszSkin + ".png");
    }

    // The fifth skin draws no scroll bars of its own: the list stays in the middle and its bars take the standard
    // look.
    const int nTop = TopRow();
    CScreenshot before;
    ASSERT_TRUE(before.CaptureScreenRect(VerticalBar()));
    ChooseSkin(ID_SKIN_XPSTEEL);
    EXPECT_TRUE(WaitForTopRow(nTop));
    Shot("scrollbars_middle_XPSTEEL.png");
    CScreenshot after;
    ASSERT_TRUE(after.CaptureScreenRect(VerticalBar()));
    const RECT rcAll = {0, 0, after.GetWidth(), after.GetHeight()};
    int nSame = 0;
    for (LONG y = 0; y < after.GetHeight(); ++y)
        for (LONG x = 0; x < after.GetWidth(); ++x)
            nSame += before.GetPixel(x, y) == after.GetPixel(x, y);
    EXPECT_LT(nSame, after.CountNear(rcAll, 0, 255) * 9 / 10) << "the bar was repainted in the standard look";
}
