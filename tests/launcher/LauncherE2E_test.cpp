// End-to-end tests of Tarvik.exe under Wine: a medium is laid out, the real launcher is started on it and driven
// with real pointer and keyboard input.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launcher/Resource.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/MessageWatchData.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

namespace {

const char kDialogClass[] = "#32770";
const char kTitle[] = "岚迅QX740读卡器 安装";
const char kManualName[] = "岚迅QX740读卡器用户手册.html";
const char kManualDesc[] = "察看htm格式的产品用户手册文档。";
const char kToolsDesc[] = "应用工具，方便用户对读卡器的通用操作。";
const char kExitDesc[] = "退出安装主界面。";
const DWORD kStartTimeout = 30000;
const DWORD kUiTimeout = 10000;

struct ControlSpec {
    int nId;
    const char *pszText;
    RECT rcDlu; // left, top, width, height in dialog units
    bool bVisible;
};

const ControlSpec kControls[] = {
    {IDC_MANUAL, "用户手册", {184, 94, 38, 20}, true},
    {IDC_DRIVER, "安装QX740读卡器驱动", {318, 94, 88, 20}, true},
    {IDC_DEMO, "安装 应用DEMO", {184, 138, 77, 20}, true},
    {IDC_TOOLS, "安装 应用工具", {320, 138, 72, 20}, true},
    {IDC_ACROBAT, "安装 Acrobat", {183, 179, 93, 20}, true},
    {IDC_EXIT, "退出", {317, 181, 23, 20}, true},
    {IDC_DOCGUARD, "安装 Office安全插件", {238, 257, 88, 20}, false},
    {IDC_DESCRIPTION, "", {66, 283, 275, 37}, true},
};

std::string WinPath(const char *pszUnix) {
    return CTestPaths::FromUnix(pszUnix);
}

bool IsBluish(COLORREF c) {
    return GetBValue(c) >= 150 && GetRValue(c) < 110 && GetGValue(c) < 110;
}
// Grey text on white: neutral and visibly darker than the white behind it.
bool IsGrey(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return r < 235 && std::abs(r - g) < 24 && std::abs(g - b) < 24 && std::abs(r - b) < 24;
}

// What a screenshot shows of one control's text.
struct TextLook {
    int nBluePixels = 0;
    int nGreyPixels = 0;
    int nLongestBlueRun = 0; // an underline is one long horizontal run; glyph strokes are short
};

TextLook LookAt(const CScreenshot &shot, const RECT &rc) {
    TextLook look;
    for (int y = rc.top; y < rc.bottom; ++y) {
        int nRun = 0;
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF c = shot.GetPixel(x, y);
            if (IsBluish(c)) {
                ++look.nBluePixels;
                look.nLongestBlueRun = std::max(look.nLongestBlueRun, ++nRun);
            } else {
                nRun = 0;
                if (IsGrey(c))
                    ++look.nGreyPixels;
            }
        }
    }
    return look;
}

// The launcher started on a medium, with its dialog found.
class CLauncher {
public:
    bool Start(const std::string &strMedium) {
        if (!m_process.Start(strMedium + "\\Tarvik.exe", std::string(), strMedium))
            return false;
        m_hDlg = CUiDriver::WaitForTopLevelWindow(m_process.GetProcessId(), kDialogClass, kTitle, kStartTimeout);
        if (!m_hDlg)
            return false;
        // The first painting is through when the program first waits for input.
        return m_process.WaitForInputIdle(kStartTimeout);
    }

    HWND Dlg() const { return m_hDlg; }
    HWND Item(int nId) const { return CUiDriver::GetControl(m_hDlg, nId); }
    CTestProcess &Process() { return m_process; }
    std::string Description() const { return CUiDriver::GetText(Item(IDC_DESCRIPTION)); }

    // Screen point inside a control, offset from its centre.
    POINT PointIn(int nId, int dx = 0, int dy = 0) const {
        POINT pt = CUiDriver::CentreOf(CUiDriver::GetWindowRectOnScreen(Item(nId)));
        pt.x += dx;
        pt.y += dy;
        return pt;
    }
    // A point of the picture where no control lies (top left of the client area).
    POINT FreePoint(int dx = 0, int dy = 0) const {
        const RECT rc = CUiDriver::GetClientRectOnScreen(m_hDlg);
        POINT pt = {rc.left + 15 + dx, rc.top + 15 + dy};
        return pt;
    }
    // A control's rectangle relative to the dialog window's top-left corner (as a window screenshot has it).
    RECT RectInShot(int nId) const {
        const RECT rcWin = CUiDriver::GetWindowRectOnScreen(m_hDlg);
        RECT rc = CUiDriver::GetWindowRectOnScreen(Item(nId));
        OffsetRect(&rc, -rcWin.left, -rcWin.top);
        return rc;
    }
    bool WaitDescription(const std::string &strText) const {
        return CWaitUntil::Condition([&]() { return Description() == strText; }, kUiTimeout);
    }
    // Painting after start-up and input is asynchronous: the picture is taken once it has settled.
    bool Shoot(CScreenshot &shot) const { return shot.CaptureSettledWindow(m_hDlg, kUiTimeout); }

private:
    CTestProcess m_process;
    HWND m_hDlg = NULL;
};

// One probe log line per started probe process: "pid=N\timage=...\tcmdline=...".
std::vector<std::string> ReadLines(const std::string &strPath) {
    std::vector<std::string> lines;
    const std::string strData = CTestPaths::ReadFile(strPath);
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strData.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        lines.push_back(strData.substr(nStart, nEnd - nStart));
    return lines;
}

DWORD PidOf(const std::string &strLine) {
    return strLine.compare(0, 4, "pid=") == 0 ? static_cast<DWORD>(std::stoul(strLine.substr(4))) : 0;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.IsValid());
        m_strLog = m_dir / "probe.log";
        ::SetEnvironmentVariableA("QX_PROBE_LOG", m_strLog.c_str());
    }
    void TearDown() override {
        // Whatever a test started through the launcher goes with it.
        for (const std::string &strLine : ReadLines(m_strLog))
            CTestProcess::TerminateById(PidOf(strLine));
        ::SetEnvironmentVariableA("QX_PROBE_LOG", NULL);
    }

    // A medium of the launcher alone, plus (optionally) the manual and a probe in the console's place.
    std::string LayOut(bool bResource, bool bProbeAsConsole) {
        const std::string strMedium = m_dir / "medium";
        EXPECT_TRUE(CTestPaths::CopyFileTo(WinPath(QX_TARVIK_EXE), strMedium + "\\Tarvik.exe"));
        if (bResource) {
            EXPECT_TRUE(CTestPaths::CopyFileTo(WinPath(QX_MANUAL_HTML), strMedium + "\\resource\\" + kManualName));
            if (bProbeAsConsole) {
                EXPECT_TRUE(CTestPaths::CopyFileTo(WinPath(QX_PROBE_EXE),
                                                   strMedium + "\\resource\\Utilities\\QXReader_CCID.exe"));
            }
        }
        return strMedium;
    }

    CTempDir m_dir{"qxlauncher"};
    std::string m_strLog;
};

// Which entries are available, and how an available and a missing entry look.
void ExpectEntries(CLauncher &launcher, const std::string &strMedium, const char *pszShot) {
    struct Entry {
        int nId;
        const char *pszRelative;
    } entries[] = {{IDC_MANUAL, "\\resource\\岚迅QX740读卡器用户手册.html"},
                   {IDC_DRIVER, "\\resource\\Device Setup\\DeviceSetup.exe"},
                   {IDC_DEMO, "\\resource\\Sample Code\\SampleCode.exe"},
                   {IDC_TOOLS, "\\resource\\Utilities\\QXReader_CCID.exe"},
                   {IDC_ACROBAT, "\\resource\\Acrobat Reader\\Adobe.exe"},
                   {IDC_EXIT, NULL}};
    CScreenshot shot;
    ASSERT_TRUE(launcher.Shoot(shot));
    EXPECT_TRUE(shot.SavePng(pszShot));
    for (const Entry &entry : entries) {
        SCOPED_TRACE(entry.nId);
        const bool bAvailable = !entry.pszRelative || CTestPaths::Exists(strMedium + entry.pszRelative);
        HWND hItem = launcher.Item(entry.nId);
        EXPECT_EQ(bAvailable, ::IsWindowEnabled(hItem) != FALSE);
        EXPECT_EQ(bAvailable, (::GetWindowLongA(hItem, GWL_STYLE) & SS_NOTIFY) != 0);
        const TextLook look = LookAt(shot, launcher.RectInShot(entry.nId));
        if (bAvailable) {
            EXPECT_GT(look.nBluePixels, 20);
            EXPECT_GE(look.nLongestBlueRun, 20) << "underline";
        } else {
            EXPECT_EQ(0, look.nBluePixels);
            EXPECT_GT(look.nGreyPixels, 20);
        }
    }
}

TEST_F(LauncherTest, DialogMatchesItsResource) {
    const std::string strMedium = LayOut(true, false);
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    HWND hDlg = launcher.Dlg();
    const LONG nStyle = ::GetWindowLongA(hDlg, GWL_STYLE);
    EXPECT_EQ(0x900000C0, nStyle & 0x900000C0);
    EXPECT_EQ(0, nStyle & WS_CAPTION);
    EXPECT_NE(0, ::GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    // Rectangles in dialog units: the client area is 428 x 323 of them.
    RECT rcClient;
    ::GetClientRect(hDlg, &rcClient);
    const double sx = rcClient.right / 428.0, sy = rcClient.bottom / 323.0;
    for (const ControlSpec &spec : kControls) {
        SCOPED_TRACE(spec.nId);
        HWND hItem = launcher.Item(spec.nId);
        ASSERT_TRUE(hItem != NULL);
        EXPECT_EQ("Static", CUiDriver::GetClassName(hItem));
        if (spec.nId != IDC_DESCRIPTION) {
            EXPECT_EQ(spec.pszText, CUiDriver::GetText(hItem));
        }
        EXPECT_EQ(spec.bVisible, ::IsWindowVisible(hItem) != FALSE);
        RECT rc = CUiDriver::GetWindowRectOnScreen(hItem);
        ::MapWindowPoints(NULL, hDlg, reinterpret_cast<POINT *>(&rc), 2);
        EXPECT_NEAR(spec.rcDlu.left, rc.left / sx, 1.0);
        EXPECT_NEAR(spec.rcDlu.top, rc.top / sy, 1.0);
        EXPECT_NEAR(spec.rcDlu.right, (rc.right - rc.left) / sx, 1.0);
        EXPECT_NEAR(spec.rcDlu.bottom, (rc.bottom - rc.top) / sy, 1.0);
    }
    // Seven entry pictures, the office add-in's hidden with its entry.
    int nVisibleIcons = 0, nHiddenIcons = 0;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            ++(::IsWindowVisible(h) ? nVisibleIcons : nHiddenIcons);
    }
    EXPECT_EQ(6, nVisibleIcons);
    EXPECT_EQ(1, nHiddenIcons);
    // The hidden entry is left as the resource made it: neither styled nor checked.
    EXPECT_EQ(0, ::GetWindowLongA(launcher.Item(IDC_DOCGUARD), GWL_STYLE) & SS_NOTIFY);
}

TEST_F(LauncherTest, FullMediumShowsAvailableEntriesAsLinks) {
    const std::string strMedium = WinPath(QX_DIST_DIR);
    ASSERT_TRUE(CTestPaths::Exists(strMedium + "\\Tarvik.exe")) << "laid out by the launcher_dist test";
    // The manual's GBK name must find the medium's file, whose Unix name is UTF-8.
    ASSERT_TRUE(CTestPaths::Exists(strMedium + "\\resource\\" + kManualName));
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    ExpectEntries(launcher, strMedium, "launcher_full_medium.png");
    EXPECT_TRUE(::IsWindowEnabled(launcher.Item(IDC_MANUAL)));
}

TEST_F(LauncherTest, WithoutResourceFolderOnlyExitIsAvailable) {
    const std::string strMedium = LayOut(false, false);
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    ExpectEntries(launcher, strMedium, "launcher_no_resource.png");
    for (int nId : {IDC_MANUAL, IDC_DRIVER, IDC_DEMO, IDC_TOOLS, IDC_ACROBAT})
        EXPECT_FALSE(::IsWindowEnabled(launcher.Item(nId))) << nId;
    EXPECT_TRUE(::IsWindowEnabled(launcher.Item(IDC_EXIT)));
}

TEST_F(LauncherTest, DescriptionFollowsPointerAndIsNotRewritten) {
    const std::string strMedium = LayOut(true, true);
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    CMessageWatch watch;
    ASSERT_TRUE(watch.Start(WinPath(QX_TESTHOOK_DLL), launcher.Item(IDC_DESCRIPTION), WM_SETTEXT, IDC_CURSOR_LINK));
    auto cursorIs = [&](LONG nKind) {
        return CWaitUntil::Condition([&]() { return watch.GetCursorKind() == nKind; }, kUiTimeout);
    };

    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.FreePoint()));
    EXPECT_TRUE(cursorIs(CURSOR_ARROW)) << watch.GetCursorKind();
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_MANUAL)));
    ASSERT_TRUE(launcher.WaitDescription(kManualDesc));
    EXPECT_TRUE(cursorIs(CURSOR_RESOURCE)) << "hand cursor over an available entry: " << watch.GetCursorKind();
    // The description line shows the text in the window-text colour on white (painting follows the text change).
    CScreenshot shot;
    EXPECT_TRUE(CWaitUntil::Condition(
        [&]() {
            return launcher.Shoot(shot) &&
                   shot.CountNear(launcher.RectInShot(IDC_DESCRIPTION), ::GetSysColor(COLOR_WINDOWTEXT), 60) > 20;
        },
        kUiTimeout));
    EXPECT_TRUE(shot.SavePng("launcher_hover_manual.png"));
    const LONG nAfterManual = watch.GetCount();
    EXPECT_GE(nAfterManual, 1);

    // More moves on the same entry, each one handled by the launcher (its cursor request shows it), then straight
    // onto another entry: exactly one more write.
    auto moveHandled = [&](POINT pt) {
        const LONG nBefore = watch.GetSetCursorCount();
        return CUiDriver::MovePointerTo(pt) &&
               CWaitUntil::Condition([&]() { return watch.GetSetCursorCount() > nBefore; }, kUiTimeout);
    };
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(moveHandled(launcher.PointIn(IDC_MANUAL, i, i % 2)));
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_EXIT)));
    ASSERT_TRUE(launcher.WaitDescription(kExitDesc));
    EXPECT_EQ(nAfterManual + 1, watch.GetCount());

    // The free area clears the line once, however often the pointer moves there.
    const LONG nBeforeFree = watch.GetCount();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(moveHandled(launcher.FreePoint(i * 3, i)));
    ASSERT_TRUE(launcher.WaitDescription(""));
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_TOOLS)));
    ASSERT_TRUE(launcher.WaitDescription(kToolsDesc));
    EXPECT_EQ(nBeforeFree + 2, watch.GetCount());

    // A missing entry counts as free area: cleared, and the arrow shows.
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_DEMO)));
    ASSERT_TRUE(launcher.WaitDescription(""));
    EXPECT_TRUE(cursorIs(CURSOR_ARROW)) << watch.GetCursorKind();
    // So does the description line itself.
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_EXIT)));
    ASSERT_TRUE(launcher.WaitDescription(kExitDesc));
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_DESCRIPTION)));
    ASSERT_TRUE(launcher.WaitDescription(""));
}

TEST_F(LauncherTest, ToolsEntryStartsTheConsoleAndLauncherStaysOpen) {
    const std::string strMedium = LayOut(true, true);
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    ASSERT_TRUE(::IsWindowEnabled(launcher.Item(IDC_TOOLS)));
    ASSERT_TRUE(CUiDriver::ClickAt(launcher.PointIn(IDC_TOOLS)));
    ASSERT_TRUE(CWaitUntil::Condition([&]() { return ReadLines(m_strLog).size() == 1; }, kStartTimeout));
    const std::string strLine = ReadLines(m_strLog)[0];
    EXPECT_NE(std::string::npos, strLine.find("image=" + strMedium + "\\resource\\Utilities\\QXReader_CCID.exe\t"))
        << strLine;
    const DWORD nPid = PidOf(strLine);
    const std::vector<DWORD> ids = CTestProcess::FindByImageName("QXReader_CCID.exe");
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), nPid));
    EXPECT_NE(launcher.Process().GetProcessId(), nPid);

    // The launcher stays and can start it again.
    EXPECT_TRUE(launcher.Process().IsRunning());
    EXPECT_TRUE(::IsWindowVisible(launcher.Dlg()));
    ASSERT_TRUE(CUiDriver::ClickAt(launcher.PointIn(IDC_TOOLS, 2, 0)));
    ASSERT_TRUE(CWaitUntil::Condition([&]() { return ReadLines(m_strLog).size() == 2; }, kStartTimeout));
    EXPECT_NE(nPid, PidOf(ReadLines(m_strLog)[1]));
    EXPECT_TRUE(launcher.Process().IsRunning());
}

// Points the shell's "open" of .html files at a command for the length of a test.
class CHtmlAssociation {
public:
    explicit CHtmlAssociation(const std::string &strCommand) {
        char szOld[256] = {0};
        LONG nSize = sizeof(szOld);
        m_bHadOld = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".html", szOld, &nSize) == ERROR_SUCCESS;
        m_strOld = szOld;
        m_bOk = ::RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "QxTestHtmlFile", 0) == ERROR_SUCCESS &&
                ::RegSetValueA(HKEY_CLASSES_ROOT, "QxTestHtmlFile\\shell\\open\\command", REG_SZ, strCommand.c_str(),
                               0) == ERROR_SUCCESS;
    }
    ~CHtmlAssociation() {
        if (m_bHadOld)
            ::RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, m_strOld.c_str(), 0);
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "QxTestHtmlFile\\shell\\open\\command");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "QxTestHtmlFile\\shell\\open");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "QxTestHtmlFile\\shell");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "QxTestHtmlFile");
    }
    bool IsOk() const { return m_bOk; }

private:
    bool m_bOk = false;
    bool m_bHadOld = false;
    std::string m_strOld;
};

TEST_F(LauncherTest, ManualEntryAsksTheShellToOpenTheManual) {
    const std::string strMedium = LayOut(true, false);
    CHtmlAssociation association("\"" + WinPath(QX_PROBE_EXE) + "\" \"%1\"");
    ASSERT_TRUE(association.IsOk());
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    ASSERT_TRUE(CUiDriver::ClickAt(launcher.PointIn(IDC_MANUAL)));
    ASSERT_TRUE(CWaitUntil::Condition([&]() { return ReadLines(m_strLog).size() == 1; }, kStartTimeout));
    const std::string strLine = ReadLines(m_strLog)[0];
    EXPECT_NE(std::string::npos, strLine.find(std::string("\\resource\\") + kManualName)) << strLine;
    EXPECT_TRUE(launcher.Process().IsRunning());
}

TEST_F(LauncherTest, ManualWithoutBrowserLeavesLauncherWorking) {
    const std::string strMedium = LayOut(true, false);
    CHtmlAssociation association("\"Z:\\nonexistent\\qx-no-browser.exe\" \"%1\"");
    ASSERT_TRUE(association.IsOk());
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    ASSERT_TRUE(CUiDriver::ClickAt(launcher.PointIn(IDC_MANUAL)));
    // Messages are handled in order: once the next hover shows, the click and its launch were handled.
    ASSERT_TRUE(CUiDriver::MovePointerTo(launcher.PointIn(IDC_EXIT)));
    ASSERT_TRUE(launcher.WaitDescription(kExitDesc));
    EXPECT_TRUE(launcher.Process().IsRunning());
    EXPECT_TRUE(::IsWindowVisible(launcher.Dlg()));
    EXPECT_TRUE(ReadLines(m_strLog).empty());
}

TEST_F(LauncherTest, ExitEnterAndEscEndTheProgram) {
    const std::string strMedium = LayOut(false, false);
    {
        CLauncher launcher;
        ASSERT_TRUE(launcher.Start(strMedium));
        ASSERT_TRUE(CUiDriver::ClickAt(launcher.PointIn(IDC_EXIT)));
        EXPECT_TRUE(launcher.Process().WaitForExit(kStartTimeout));
        EXPECT_EQ(0u, launcher.Process().GetExitCode());
    }
    for (WORD nKey : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(nKey);
        CLauncher launcher;
        ASSERT_TRUE(launcher.Start(strMedium));
        ASSERT_TRUE(CUiDriver::Activate(launcher.Dlg()));
        ASSERT_TRUE(CUiDriver::PressKey(nKey));
        EXPECT_TRUE(launcher.Process().WaitForExit(kStartTimeout));
        EXPECT_EQ(0u, launcher.Process().GetExitCode());
    }
}

TEST_F(LauncherTest, DraggingThePictureMovesTheWindow) {
    const std::string strMedium = LayOut(false, false);
    CLauncher launcher;
    ASSERT_TRUE(launcher.Start(strMedium));
    const RECT rcBefore = CUiDriver::GetWindowRectOnScreen(launcher.Dlg());
    const POINT ptStart = launcher.FreePoint();
    ASSERT_TRUE(CUiDriver::MovePointerTo(ptStart));
    ASSERT_TRUE(CUiDriver::LeftButton(true));
    // The press starts the system's move loop; the pointer moves only once it runs, and each step is followed.
    ASSERT_TRUE(CWaitUntil::Condition([&]() { return CUiDriver::IsInMoveSize(launcher.Dlg()); }, kUiTimeout));
    for (int i = 1; i <= 6; ++i) {
        POINT pt = {ptStart.x + 10 * i, ptStart.y + 5 * i};
        ASSERT_TRUE(CUiDriver::MovePointerTo(pt));
        ASSERT_TRUE(CWaitUntil::Condition(
            [&]() { return CUiDriver::GetWindowRectOnScreen(launcher.Dlg()).left == rcBefore.left + 10 * i; },
            kUiTimeout))
            << i << ": " << CUiDriver::GetWindowRectOnScreen(launcher.Dlg()).left - rcBefore.left;
    }
    ASSERT_TRUE(CUiDriver::LeftButton(false));
    ASSERT_TRUE(CWaitUntil::Condition([&]() { return !CUiDriver::IsInMoveSize(launcher.Dlg()); }, kUiTimeout));
    const RECT rcAfter = CUiDriver::GetWindowRectOnScreen(launcher.Dlg());
    EXPECT_EQ(rcBefore.left + 60, rcAfter.left);
    EXPECT_EQ(rcBefore.top + 30, rcAfter.top);
    EXPECT_EQ(rcBefore.right - rcBefore.left, rcAfter.right - rcAfter.left);
    EXPECT_TRUE(launcher.Process().IsRunning());
}

} // namespace
