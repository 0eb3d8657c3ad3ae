// End-to-end tests of unattended batch runs: the real QXReader_CCID.exe started with switches under Wine on the
// PC/SC rig, judged by its exit code, the files it leaves, the simulated card's log, and what it shows meanwhile.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "res/console/resource.h"
#include "tests/rig/RigControl.h"
#include "tests/support/RemoteListView.h"
#include "tests/console/ConsoleDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

using namespace console_e2e;

namespace {
const DWORD kRunTimeout = 90000;
const char kReader[] = "Virtual PCD 00 00";

// Twenty commands with fixed answers from the default card (no random bytes): SELECT by name through 61 xx and
// GET RESPONSE, file selection, READ BINARY, and refusals of every kind.
const char kScript[] = "; twenty commands for the default card\r\n"
                       "00A4040000\r\n"
                       "00A40000023F00\r\n"
                       "00B0000010\r\n"
                       "00A4080000\r\n"
                       "0084000004\r\n"
                       "00B0000100\r\n"
                       "00CA9F7F00\r\n"
                       "80CA9F7F00\r\n"
                       "00C0000010\r\n"
                       "00A4040007A0000003330101\r\n"
                       "00B0000010\r\n"
                       "00A40000023F00\r\n"
                       "00A40000023F01\r\n"
                       "0020000000\r\n"
                       "00B0000010\r\n"
                       "00 a4 04 00 00\r\n"
                       "0084000002\r\n"
                       "B0B0000010\r\n"
                       "00B0000010\r\n"
                       "00A40000023F00\r\n";

std::string Quoted(const std::string &s) {
    return "\"" + s + "\"";
}

typedef std::vector<std::vector<std::string>> Rows;

// Visible dialogs and message boxes of a process.
struct DialogCount {
    DWORD pid;
    int count;
};
BOOL CALLBACK CountDialogs(HWND h, LPARAM lp) {
    DialogCount *c = reinterpret_cast<DialogCount *>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == c->pid && ::IsWindowVisible(h) && CUiDriver::GetClassName(h) == "#32770")
        ++c->count;
    return TRUE;
}

// One batch start: the console with switches, watched until it ends.
struct BatchResult {
    bool ended = false;
    DWORD exitCode = STILL_ACTIVE;
    int dialogsSeen = 0; // polls that found a dialog or message box of the console on screen
    bool frameShown = false;
};

BatchResult RunBatch(const std::string &args) {
    BatchResult r;
    CTestProcess process;
    if (!process.Start(CTestPaths::FromUnix(QX_CONSOLE_EXE), args))
        return r;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kRunTimeout) {
        DialogCount c = {process.GetProcessId(), 0};
        ::EnumWindows(CountDialogs, reinterpret_cast<LPARAM>(&c));
        if (c.count)
            ++r.dialogsSeen;
        r.frameShown = r.frameShown || CUiDriver::FindTopLevelWindow(process.GetProcessId(), "", "") != nullptr;
        if (process.WaitForExit(20)) {
            r.ended = true;
            r.exitCode = process.GetExitCode();
            return r;
        }
    }
    return r; // the destructor ends a console that hangs
}

// The console started as a user starts it, driven through its dialogs.
class Console : public CConsoleDriver {
public:
    // A long script takes a while on a loaded machine.
    bool WaitForRows(size_t n) { return CConsoleDriver::WaitForRows(n, 60000); }
    Rows GetRows() { return AllRows(); }
    // The script command with its file typed into the open dialog.
    bool RunScriptThroughTheDialog(const std::string &path) {
        // The command is enabled once the frame has seen the connection at idle.
        ::Sleep(500);
        Command(ID_READER_SCRIPT);
        return ChooseFile(path);
    }
};

std::string FileName(const std::string &path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// The rows a .trace file shows when the console opens it.
Rows OpenedRows(const std::string &path) {
    Console app;
    if (!app.Start(Quoted(path), FileName(path) + " - QXReader_CCID"))
        return Rows();
    CWaitUntil::Condition([&] { return !app.GetRows().empty(); }, kUiTimeout);
    return app.GetRows();
}

std::string LogBeside(const std::string &path) {
    return CTestPaths::ReadFile(path.substr(0, path.find_last_of('\\') + 1) + "QXReader_CCID.log");
}

// The last line of a log (each ends with CR LF).
std::string LastLogLine(const std::string &log) {
    if (log.size() < 2)
        return std::string();
    size_t end = log.size() - 2;
    size_t start = log.rfind("\r\n", end - 1);
    return log.substr(start == std::string::npos ? 0 : start + 2, end - (start == std::string::npos ? 0 : start + 2));
}

bool StartsWith(const std::string &text, const std::string &prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
bool Contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// A folder of its own per test, emptied first, so that logs of earlier runs do not count.
std::string FreshFolder(const std::string &name) {
    const std::string dir = TempFile(name);
    ::CreateDirectoryA(dir.c_str(), nullptr);
    for (const char *file :
         {"s.txt", "out.trace", "again.trace", "changed.trace", "missing.trace", "QXReader_CCID.log"})
        ::DeleteFileA((dir + "\\" + file).c_str());
    return dir;
}

// Puts the default card back into reader 0 when a test that swapped it ends, however it ends.
struct DefaultCardAtTheEnd {
    ~DefaultCardAtTheEnd() { CRigControl::Run("swap-profile 0 default"); }
};
} // namespace

TEST(BatchRunE2E, ARunMatchesTheDialogsAndItsReference) {
    const std::string dir = FreshFolder("qx_batch_match");
    const std::string script = dir + "\\s.txt";
    const std::string out = dir + "\\out.trace";
    ASSERT_TRUE(CTestPaths::WriteFile(script, kScript));

    // The same script by hand: the connect dialog, then the script command's file dialog.
    Rows manual;
    std::vector<std::string> manualCommands;
    {
        Console app;
        ASSERT_TRUE(app.Start("", "QXReader1 - QXReader_CCID"));
        ::Sleep(2500); // the poll finds the rig's readers
        ASSERT_TRUE(app.ConnectWithButton());
        CRigControl::ClearLog(0);
        ASSERT_TRUE(app.RunScriptThroughTheDialog(script));
        // The connect line, three lines per command and seven answers with data.
        ASSERT_TRUE(app.WaitForRows(68));
        manual = app.GetRows();
        ASSERT_EQ(manual.size(), 68u);
        manualCommands = CRigControl::Commands(0);
    }
    ASSERT_EQ(manualCommands.size(), 23u); // twenty commands, three of them followed by GET RESPONSE

    CRigControl::ClearLog(0);
    BatchResult run =
        RunBatch("/reader " + Quoted(kReader) + " /script " + Quoted(script) + " /save " + Quoted(out) + " /exit");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.dialogsSeen, 0);
    EXPECT_TRUE(run.frameShown);
    EXPECT_EQ(CRigControl::Commands(0), manualCommands);
    // Opened in the console, the saved trace shows exactly the rows of the run through the dialogs.
    const Rows opened = OpenedRows(out);
    EXPECT_EQ(opened, manual);
    const std::string summary = LastLogLine(LogBeside(out));
    EXPECT_TRUE(StartsWith(summary, "批处理结束（退出码 0）：通过；发送命令 20 条，失败 10 条，用时 ")) << summary;

    // The saved trace as the reference of the next run: the same answers pass.
    const std::string again = dir + "\\again.trace";
    run = RunBatch("/exit /expect " + Quoted(out) + " /save " + Quoted(again) + " /script " + Quoted(script) +
                   " /reader " + Quoted(kReader));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.dialogsSeen, 0);
    EXPECT_TRUE(Contains(LastLogLine(LogBeside(again)), "；与参考一致")) << LastLogLine(LogBeside(again));

    // One byte of the FCI changed on the card: the run differs at the FCI's line, the fourth after the connect.
    DefaultCardAtTheEnd restore;
    std::string profile = CTestPaths::ReadFile(
        CTestPaths::FromUnix(std::string(QX_ROOT_DIR) + "/tools/cardsim/profiles/default.profile"));
    const size_t at = profile.find("A5 02 88 01 90 00");
    ASSERT_NE(at, std::string::npos);
    profile.replace(at, 17, "A5 02 88 02 90 00");
    const std::string changedProfile = CRigControl::RigDir() + "/changed.profile";
    ASSERT_TRUE(CTestPaths::WriteFile(CRigControl::DosPath(changedProfile), profile));
    ASSERT_EQ(CRigControl::Run("swap-profile 0 '" + changedProfile + "'"), 0);
    const std::string changed = dir + "\\changed.trace";
    run = RunBatch("/reader " + Quoted(kReader) + " /script " + Quoted(script) + " /expect " + Quoted(out) + " /save " +
                   Quoted(changed) + " /exit");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.dialogsSeen, 0);
    const std::string line = LastLogLine(LogBeside(changed));
    EXPECT_TRUE(StartsWith(line, "批处理结束（退出码 1）：与参考不同；发送命令 20 条")) << line;
    EXPECT_TRUE(Contains(line, "；第一处不同：第4条，参考为“6F0E8408A000000333010101A5028801”，本次为"
                               "“6F0E8408A000000333010101A5028802”"))
        << line;
    // Three runs saved into one folder: its log keeps a line for each.
    size_t lines = 0;
    for (size_t p = 0; (p = LogBeside(out).find("\r\n", p)) != std::string::npos; p += 2)
        ++lines;
    EXPECT_EQ(lines, 3u);
}

TEST(BatchRunE2E, StopsAndFailuresGiveTheirExitCodes) {
    const std::string dir = FreshFolder("qx_batch_codes");
    const std::string out = dir + "\\out.trace";
    struct Case {
        const char *name;
        std::string script;
        const char *profile; // the card in reader 0 for this case
        DWORD exitCode;
        size_t commandsAtTheCard;
        const char *reason;
    } cases[] = {
        // An odd number of digits fails the conversion of the whole text: nothing is sent, the run did not end.
        {"odd_digits", "00A40000023F00\r\n00B0000010\r\n0084000004\r\n00B000001\r\n00B0000010\r\n", "default", 1, 0,
         "脚本提前停止"},
        // A fourth line whose length does not fit its Lc: the three commands before it reach the card.
        {"bad_lc", "00A40000023F00\r\n00B0000010\r\n0084000004\r\n00A4040007A00000\r\n00B0000010\r\n", "default", 1, 3,
         "脚本提前停止"},
        // The card leaves after three commands: the other three cannot be sent, and the run goes on to its end.
        {"card_pulled", "00B0000010\r\n00B0000010\r\n00B0000010\r\n00B0000010\r\n00B0000010\r\n00B0000010\r\n",
         "remove", 1, 3, "3 条命令未能发送"},
    };
    DefaultCardAtTheEnd restore;
    for (const Case &c : cases) {
        const std::string script = dir + "\\" + c.name + ".txt";
        ASSERT_TRUE(CTestPaths::WriteFile(script, c.script));
        ASSERT_EQ(CRigControl::Run(std::string("swap-profile 0 ") + c.profile), 0) << c.name;
        CRigControl::ClearLog(0);
        BatchResult run =
            RunBatch("/reader " + Quoted(kReader) + " /script " + Quoted(script) + " /save " + Quoted(out) + " /exit");
        ASSERT_TRUE(run.ended) << c.name;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.dialogsSeen, 0) << c.name;
        EXPECT_EQ(CRigControl::Commands(0).size(), c.commandsAtTheCard) << c.name;
        const std::string line = LastLogLine(LogBeside(out));
        EXPECT_TRUE(StartsWith(line, "批处理结束（退出码 1）：" + std::string(c.reason) + "；"))
            << c.name << ": " << line;
    }
}

TEST(BatchRunE2E, SetupFaultsExitWithTwoAndShowNothing) {
    const std::string dir = FreshFolder("qx_batch_setup");
    const std::string script = dir + "\\s.txt";
    const std::string out = dir + "\\out.trace";
    ASSERT_TRUE(CTestPaths::WriteFile(script, "00B0000010\r\n"));
    struct Case {
        std::string args;
        const char *reason; // expected in the log beside out.trace; empty: no log to read
    } cases[] = {
        {"/reader \"Virtual PCD 00 07\" /script " + Quoted(script) + " /save " + Quoted(out) + " /exit",
         "无法连接读卡器 Virtual PCD 00 07"},
        {"/reader " + Quoted(kReader) + " /script " + Quoted(dir + "\\none.txt") + " /save " + Quoted(out) + " /exit",
         "无法读取脚本文件 "},
        {"/reader " + Quoted(kReader) + " /expect " + Quoted(dir + "\\none.trace") + " /save " + Quoted(out) + " /exit",
         "无法读取参考文件 "},
        {"/script " + Quoted(script) + " /save " + Quoted(out) + " /exit", "参数错误：/script 需要 /reader"},
        {"/save " + Quoted(out) + " /exit /reader", "参数错误：/reader 缺少值"},
        // The file argument cannot be opened: the framework's message is not shown, and the start ends.
        {Quoted(dir + "\\none.trace") + " /reader " + Quoted(kReader) + " /save " + Quoted(out) + " /exit",
         "启动失败：打开文档失败。"},
        // The framework's save error goes to the trace instead of a message box.
        {"/reader " + Quoted(kReader) + " /save " + Quoted(dir + "\\no such folder\\out.trace") + " /exit", ""},
    };
    for (const Case &c : cases) {
        ::DeleteFileA((dir + "\\QXReader_CCID.log").c_str());
        CRigControl::ClearLog(0);
        BatchResult run = RunBatch(c.args);
        ASSERT_TRUE(run.ended) << c.args;
        EXPECT_EQ(run.exitCode, 2u) << c.args;
        EXPECT_EQ(run.dialogsSeen, 0) << c.args;
        EXPECT_TRUE(CRigControl::Commands(0).empty()) << c.args;
        if (*c.reason) {
            const std::string line = LastLogLine(LogBeside(out));
            EXPECT_TRUE(StartsWith(line, "批处理结束（退出码 2）：" + std::string(c.reason))) << c.args << ": " << line;
        }
    }
    // A run that could not connect still leaves its trace.
    ::DeleteFileA(out.c_str());
    ASSERT_EQ(RunBatch("/reader \"Virtual PCD 00 07\" /save " + Quoted(out) + " /exit").exitCode, 2u);
    EXPECT_EQ(OpenedRows(out), (Rows{{"0000", "连接失败！"}}));
}

TEST(BatchRunE2E, WithoutExitTheConsoleStaysOpenWithTheSummary) {
    const std::string dir = FreshFolder("qx_batch_open");
    const std::string script = dir + "\\s.txt";
    ASSERT_TRUE(CTestPaths::WriteFile(script, kScript));
    Console app;
    ASSERT_TRUE(app.Start("/script " + Quoted(script) + " /reader " + Quoted(kReader), "QXReader1 - QXReader_CCID"));
    ASSERT_TRUE(CWaitUntil::Condition(
        [&] {
            Rows rows = app.GetRows();
            return !rows.empty() && StartsWith(rows.back()[1], "批处理结束");
        },
        kRunTimeout, 100));
    const Rows rows = app.GetRows();
    EXPECT_EQ(rows.front()[1], "连接成功！");
    EXPECT_TRUE(StartsWith(rows.back()[1], "批处理结束（退出码 0）：通过；发送命令 20 条，失败 10 条，用时 "))
        << rows.back()[1];
    // The list shows its end, where the summary is.
    HWND list = app.List();
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] {
            return ::SendMessageA(list, LVM_GETTOPINDEX, 0, 0) + ::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0) >=
                   static_cast<LRESULT>(rows.size());
        },
        kUiTimeout));
    EXPECT_TRUE(::IsWindowVisible(app.Main()));
    ::Sleep(1500); // the console is still there, polling, after the run
    EXPECT_TRUE(::IsWindow(app.Main()));
    CScreenshot shot;
    if (shot.CaptureSettledWindow(app.Main(), 3000))
        shot.SavePng("console_batch_run.png");
}
