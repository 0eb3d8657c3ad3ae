// End-to-end tests of the real QXReader_CCID.exe under Wine on the PC/SC rig: started as a user starts it, driven
// through its commands and dialogs, read back from its windows, the simulated card's log and the files it writes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

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
using Console = CConsoleDriver;

void Shot(HWND h, const std::string &name) {
    CScreenshot shot;
    if (shot.CaptureSettledWindow(h, 3000))
        shot.SavePng(name);
}

// List texts do not travel between processes reliably under Wine; selecting an item puts its text in the edit part,
// whose window text does.
std::string ComboItem(HWND combo, int i) {
    if (::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0) != i)
        return std::string();
    return CUiDriver::GetText(combo);
}
} // namespace

TEST(ConsoleE2E, ReaderSessionOnTheRig) {
    Console app;
    ASSERT_TRUE(app.Start());
    // Within the first second nothing has been polled yet.
    app.Command(ID_READER_CONNECT);
    ASSERT_TRUE(app.WaitForRows(1));
    EXPECT_EQ(app.Texts()[0], "请插入读卡器！");
    EXPECT_EQ(app.Numbers()[0], "0000");
    // The bars take the commands' states when the console is next idle (a command posted at once may come first).
    EXPECT_TRUE(app.WaitForButton(IDW_CONNECTBAR, ID_READER_CONNECT, 1));
    EXPECT_TRUE(app.WaitForButton(IDW_DISCONNECTBAR, ID_READER_DISCONNECT, 0));

    ::Sleep(2500); // the poll finds the rig's readers
    CRigControl::ClearLog(0);
    app.Command(ID_READER_CONNECT);
    HWND dlg = app.WaitForDialog("连接读卡器");
    ASSERT_NE(dlg, nullptr);
    HWND combo = ::GetDlgItem(dlg, IDC_READER_COMBO);
    EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(CUiDriver::GetText(combo), "Virtual PCD 00 00");
    EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ComboItem(combo, 1), "Virtual PCD 00 01");
    EXPECT_EQ(ComboItem(combo, 0), "Virtual PCD 00 00");
    Shot(dlg, "console_connect_dialog.png");
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_CONNECT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CONNECT)));
    ASSERT_TRUE(app.WaitForRows(2));
    EXPECT_EQ(app.Texts()[1], "连接成功！");
    EXPECT_TRUE(app.WaitForButton(IDW_CONNECTBAR, ID_READER_CONNECT, 0));
    EXPECT_TRUE(app.WaitForButton(IDW_DISCONNECTBAR, ID_READER_DISCONNECT, 1));

    app.Command(ID_READER_ATR);
    ASSERT_TRUE(app.WaitForRows(4));
    EXPECT_EQ(app.Texts()[2], "获取ATR成功！");
    EXPECT_EQ(app.Texts()[3].substr(0, 2), "3B");

    CRigControl::ClearLog(0);
    app.Command(ID_READER_APDU);
    HWND apdu = app.WaitForDialog("APDU命令");
    ASSERT_NE(apdu, nullptr);
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("00A4 04"));
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] { return CUiDriver::GetText(::GetDlgItem(apdu, IDC_COMMAND_COUNT)) == "（字节数：3*）"; }, kUiTimeout));
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("00A4"));
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("00A"));
    ::SendMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(apdu, IDC_SEND)));
    ASSERT_TRUE(app.WaitForRows(5));
    EXPECT_EQ(app.Texts()[4], "输入的命令字节长度不正确！");
    EXPECT_TRUE(CRigControl::Commands(0).empty());
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("00 A4 04 00 00"));
    ::SendMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(apdu, IDC_SEND)));
    ASSERT_TRUE(app.WaitForRows(7));
    std::vector<std::string> texts = app.Texts();
    EXPECT_EQ(texts[5], "下发的命令为:  00A4040000");
    std::vector<std::string> commands = CRigControl::Commands(0);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands[0], "00A4040000");
    Shot(apdu, "console_apdu_dialog.png");
    ::PostMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(apdu); }, kUiTimeout));

    size_t before = app.Texts().size();
    app.Command(ID_READER_DISCONNECT);
    ASSERT_TRUE(app.WaitForRows(before + 1));
    EXPECT_EQ(app.Texts().back(), "断开设备成功！");
    EXPECT_TRUE(app.WaitForButton(IDW_CONNECTBAR, ID_READER_CONNECT, 1));
    Shot(app.Main(), "console_main_window.png");

    app.Command(ID_APP_ABOUT);
    HWND about = app.WaitForDialog("关于 QXReader_CCID");
    ASSERT_NE(about, nullptr);
    HWND text = FindDescendant(about, "Static");
    bool found = false;
    for (HWND h = ::GetWindow(about, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        found = found || CUiDriver::GetText(h) == "QXReader_CCID 1.0 版";
    EXPECT_NE(text, nullptr);
    EXPECT_TRUE(found);
    Shot(about, "console_about_box.png");
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

namespace {

std::string ReadRecentFile1() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER,
                        "Software\\Local AppWizard-Generated Applications\\QXReader_CCID\\Recent File List", 0,
                        KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - 1, type = 0;
    LONG rc = ::RegQueryValueExA(key, "File1", nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(value) : std::string();
}

} // namespace

TEST(ConsoleE2E, ScriptFileRunsThroughTheOpenDialog) {
    std::string script = TempFile("qx_e2e_script.txt");
    ASSERT_TRUE(CTestPaths::WriteFile(script, ";select\r\n00 a4 04 00 00\r\n0084000008\r\n00A40000\r\n"));
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2000);
    app.Command(ID_READER_CONNECT);
    HWND dlg = app.WaitForDialog("连接读卡器");
    ASSERT_NE(dlg, nullptr);
    // A user clicks into the reader box and presses Enter: that connects, never ends the dialog unconnected.
    HWND combo = ::GetDlgItem(dlg, IDC_READER_COMBO);
    ASSERT_TRUE(CUiDriver::Activate(dlg));
    RECT rc = CUiDriver::GetWindowRectOnScreen(combo);
    ASSERT_TRUE(CUiDriver::ClickAt(POINT{rc.left + 20, rc.top + 8}));
    ASSERT_TRUE(CUiDriver::PressKey(VK_RETURN));
    ASSERT_TRUE(app.WaitForRows(1));
    ASSERT_EQ(app.Texts()[0], "连接成功！");
    ASSERT_TRUE(app.WaitForButton(IDW_DISCONNECTBAR, ID_READER_DISCONNECT, 1));

    CRigControl::ClearLog(0);
    app.Command(ID_READER_SCRIPT);
    ASSERT_TRUE(app.ChooseFile(script));
    ASSERT_TRUE(app.WaitForRows(12));
    std::vector<std::string> t = app.Texts();
    ASSERT_EQ(t.size(), 12u);
    EXPECT_EQ(t[1], "下发的命令为：");
    EXPECT_EQ(t[2], "00A4040000");
    EXPECT_EQ(t[3], "响应的结果： 0x9000");
    EXPECT_EQ(t[4], "6F0E8408A000000333010101A5028801");
    EXPECT_EQ(t[6], "0084000008");
    EXPECT_EQ(t[7], "响应的结果： 0x9000");
    EXPECT_EQ(t[8].size(), 16u);
    EXPECT_EQ(t[10], "00A4000000");
    EXPECT_EQ(t[11], "响应的结果： 0x6a82");
    std::vector<std::string> sent = CRigControl::Commands(0);
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[0], "00A4040000");
    EXPECT_EQ(sent[sent.size() - 2], "0084000008");
    EXPECT_EQ(sent.back(), "00A4000000");
    CScreenshot shot;
    if (shot.CaptureSettledWindow(app.Main(), 3000))
        shot.SavePng("console_script_run.png");

    // A thousand commands run completely: four lines each, every command on the card.
    std::string big = TempFile("qx_e2e_script_1000.txt");
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "0084000008\r\n";
    ASSERT_TRUE(CTestPaths::WriteFile(big, text));
    CRigControl::ClearLog(0);
    app.Command(ID_READER_SCRIPT);
    ASSERT_TRUE(app.ChooseFile(big));
    HWND list = app.List();
    EXPECT_TRUE(
        CWaitUntil::Condition([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 12 + 4000; }, 60000, 200));
    CRemoteListView rows(list);
    EXPECT_EQ(rows.GetItemText(12 + 3998, 1), "响应的结果： 0x9000");
    EXPECT_EQ(rows.GetItemText(12 + 3999, 0), "4011");
    EXPECT_EQ(CRigControl::Commands(0).size(), 1000u);
}

TEST(ConsoleE2E, StartsWithATraceFileAndRemembersIt) {
    std::string path = TempFile("qx_e2e_open.trace");
    std::string rec0 = "<--第0条 连接成功！ @@ 10 -->\n", rec1 = "<--第1条 ABC @@ 3 -->\n";
    ASSERT_TRUE(CTestPaths::WriteFile(path, std::string(1, static_cast<char>(rec0.size())) + rec0 +
                                                std::string(1, static_cast<char>(rec1.size())) + rec1));
    CTestProcess process;
    ASSERT_TRUE(process.Start(CTestPaths::FromUnix(QX_CONSOLE_EXE), "\"" + path + "\""));
    HWND main = CUiDriver::WaitForTopLevelWindow(process.GetProcessId(), "", "qx_e2e_open.trace - QXReader_CCID",
                                                 kStartTimeout);
    ASSERT_NE(main, nullptr);
    HWND list = FindDescendant(main, "SysListView32");
    ASSERT_NE(list, nullptr);
    CRemoteListView rows(list);
    ASSERT_EQ(rows.GetItemCount(), 2);
    EXPECT_EQ(rows.GetRow(0), (std::vector<std::string>{"0000", "连接成功！"}));
    EXPECT_EQ(rows.GetRow(1), (std::vector<std::string>{"0001", "ABC"}));
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(process.WaitForExit(10000));
    EXPECT_EQ(ReadRecentFile1(), path);
}

TEST(ConsoleE2E, AnotherReaderSetRaisesOneWarningAtATime) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2000); // the first poll keeps the two readers
    ASSERT_EQ(CRigControl::Run("swap-reader-set renamed"), 0);
    HWND box = CUiDriver::WaitForTopLevelWindow(app.Pid(), "#32770", "QXReader_CCID", 15000);
    EXPECT_NE(box, nullptr);
    if (box) {
        bool textShown = false;
        for (HWND h = ::GetWindow(box, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            textShown = textShown || CUiDriver::GetText(h) == "请重新连接读卡器！";
        EXPECT_TRUE(textShown);
        ::Sleep(3000); // three more ticks while the box is open
        int boxes = 0;
        for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            if (pid == app.Pid() && ::IsWindowVisible(h) && CUiDriver::GetClassName(h) == "#32770")
                ++boxes;
        }
        EXPECT_EQ(boxes, 1);
        CScreenshot shot;
        if (shot.CaptureSettledWindow(box, 2000))
            shot.SavePng("console_reader_warning.png");
    }
    EXPECT_EQ(CRigControl::Run("swap-reader-set two"), 0);
    if (box) {
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        CWaitUntil::Condition([&] { return !::IsWindow(box); }, kUiTimeout);
    }
}

TEST(ConsoleE2E, MalformedScriptsSendNothingAndABomIsSkipped) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2000);
    ASSERT_TRUE(app.ConnectWithButton());

    struct Case {
        const char *name;
        std::string bytes;
    };
    const std::string utf16("0\0"
                            "0\0"
                            "A\0"
                            "4\0"
                            "0\0"
                            "4\0"
                            "0\0"
                            "0\0"
                            "0\0"
                            "0\0"
                            "\r\0\n\0",
                            24);
    const Case silent[] = {
        {"qx_lf_only.txt", "00A4040000\n0084000008\n"},
        {"qx_utf16.txt", std::string("\xFF\xFE", 2) + utf16},
        {"qx_comments.txt", ";nothing here\r\n; or here\r\n"},
        {"qx_spaces.txt", "     \r\n"},
        {"qx_tab.txt", "0\t0A4040000\r\n"},
        {"qx_bad_lc.txt", "00A4040007A00000\r\n00A4040000\r\n"},
    };
    CRigControl::ClearLog(0);
    for (const Case &c : silent) {
        std::string path = TempFile(c.name);
        ASSERT_TRUE(CTestPaths::WriteFile(path, c.bytes));
        app.Command(ID_READER_SCRIPT);
        ASSERT_TRUE(app.ChooseFile(path)) << c.name;
        ::Sleep(300);
        EXPECT_EQ(app.Texts().size(), 1u) << c.name;
        EXPECT_TRUE(CRigControl::Commands(0).empty()) << c.name;
    }

    // A UTF-8 byte-order mark is skipped like any other non-digit bytes.
    std::string bom = TempFile("qx_bom.txt");
    ASSERT_TRUE(CTestPaths::WriteFile(bom, "\xEF\xBB\xBF"
                                           "00A4040000\r\n"));
    app.Command(ID_READER_SCRIPT);
    ASSERT_TRUE(app.ChooseFile(bom));
    ASSERT_TRUE(app.WaitForRows(5));
    EXPECT_EQ(app.Texts()[2], "00A4040000");
    EXPECT_EQ(CRigControl::Commands(0).size(), 2u); // SELECT and its GET RESPONSE
}

namespace {
// Sends the text typed into the APDU dialog and waits for the trace to grow by `lines` rows.
bool SendApdu(Console &app, HWND apdu, const char *text, size_t lines) {
    const size_t before = app.Texts().size();
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(apdu, IDC_SEND)));
    return app.WaitForRows(before + lines);
}

std::vector<std::string> Tail(const std::vector<std::string> &all, size_t n) {
    return std::vector<std::string>(all.end() - static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end());
}
} // namespace

TEST(ConsoleE2E, ApduDialogAnswersAndRefusalsOnTheRig) {
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500); // the poll finds the rig's readers
    ASSERT_TRUE(app.ConnectWithButton());

    app.Command(ID_READER_APDU);
    HWND apdu = app.WaitForDialog("APDU命令");
    ASSERT_NE(apdu, nullptr);
    HWND response = ::GetDlgItem(apdu, IDC_RESPONSE_EDIT);
    HWND responseCount = ::GetDlgItem(apdu, IDC_RESPONSE_COUNT);
    ::SendMessageA(::GetDlgItem(apdu, IDC_COMMAND_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("00A40400"));
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] { return CUiDriver::GetText(::GetDlgItem(apdu, IDC_COMMAND_COUNT)) == "（字节数：4）"; }, kUiTimeout));

    // A digit followed by a non-digit: refused before anything is sent.
    CRigControl::ClearLog(0);
    ASSERT_TRUE(SendApdu(app, apdu, "0G", 1));
    EXPECT_EQ(app.Texts().back(), "字符串转换为字节错误！");
    EXPECT_TRUE(CRigControl::Commands(0).empty());

    // SELECT by name: 61 xx, then the FCI through GET RESPONSE; the data and its count are shown.
    ASSERT_TRUE(SendApdu(app, apdu, "00A4040000", 4));
    EXPECT_EQ(Tail(app.Texts(), 4),
              (std::vector<std::string>{"下发的命令为:  00A4040000", "下发命令成功！", "响应的数据为：",
                                        "6F0E8408A000000333010101A5028801"}));
    EXPECT_EQ(CUiDriver::GetText(response), "6F0E8408A000000333010101A5028801");
    EXPECT_EQ(CUiDriver::GetText(responseCount), "（字节数：16）");

    // 90 00 without data: one success line, the previous response stays.
    ASSERT_TRUE(SendApdu(app, apdu, "00A40000023F00", 2));
    EXPECT_EQ(Tail(app.Texts(), 2), (std::vector<std::string>{"下发的命令为:  00A40000023F00", "下发命令成功！"}));
    ::Sleep(300);
    EXPECT_EQ(app.Texts().back(), "下发命令成功！") << "no response lines follow an answer without data";
    EXPECT_EQ(CUiDriver::GetText(response), "6F0E8408A000000333010101A5028801");

    // File not found: the status word with a count of 2.
    ASSERT_TRUE(SendApdu(app, apdu, "00A4080000", 2));
    EXPECT_EQ(app.Texts().back(), "下发命令失败！ 返回的状态码为: 0x6a82");
    EXPECT_EQ(CUiDriver::GetText(response), "0x6a82");
    EXPECT_EQ(CUiDriver::GetText(responseCount), "（字节数：2）");

    // No digits at all: nothing reaches the card and the exchange fails as an argument error.
    CRigControl::ClearLog(0);
    ASSERT_TRUE(SendApdu(app, apdu, "GG", 2));
    EXPECT_EQ(app.Texts().back(), "下发命令失败！ 返回的状态码为: 0x0");
    EXPECT_EQ(CUiDriver::GetText(response), "0x0");
    EXPECT_TRUE(CRigControl::Commands(0).empty());

    ::PostMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(apdu); }, kUiTimeout));
}

TEST(ConsoleE2E, SavesThroughTheSaveDialogAndReopensFromTheRecentFileMenu) {
    const std::string path = TempFile("qx_e2e_saved.trace");
    ::DeleteFileA(path.c_str());
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500); // the poll finds the rig's readers
    ASSERT_TRUE(app.ConnectWithButton());

    // A new log has no name yet: saving asks for one.
    app.Command(ID_FILE_SAVE);
    ASSERT_TRUE(app.ChooseFile(path));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return CTestPaths::Exists(path); }, kUiTimeout));
    const std::string record = "<--第0条 连接成功！ @@ 10 -->\n";
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] { return CTestPaths::ReadFile(path) == std::string(1, static_cast<char>(record.size())) + record; },
        kUiTimeout));
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] { return CUiDriver::GetText(app.Main()).find("qx_e2e_saved.trace") != std::string::npos; }, kUiTimeout))
        << CUiDriver::GetText(app.Main());
    EXPECT_EQ(ReadRecentFile1(), path);

    // Close the window, then reopen the file the way a user does: a click on the first entry of the skinned menu
    // bar (just above the client area), then down to the first recent file and Enter (the skinned popups have no
    // mnemonics; from none, Down walks new, open, print setup and over the separators to the recent file).
    app.Command(ID_FILE_CLOSE);
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.List() == nullptr; }, kUiTimeout));
    ASSERT_TRUE(CUiDriver::Activate(app.Main()));
    const RECT client = CUiDriver::GetClientRectOnScreen(app.Main());
    ASSERT_TRUE(CUiDriver::ClickAt(POINT{client.left + 16, client.top - 8}));
    ASSERT_NE(nullptr, CUiDriver::WaitForTopLevelWindow(app.Pid(), "SkinWeavePopupMenuWnd", "", kUiTimeout));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(CUiDriver::PressKey(VK_DOWN));
    ASSERT_TRUE(CUiDriver::PressKey(VK_RETURN));
    ASSERT_TRUE(CWaitUntil::Condition([&] { return app.List() != nullptr && app.Texts().size() == 1; }, kUiTimeout));
    EXPECT_EQ(app.Texts(), std::vector<std::string>{"连接成功！"});
    EXPECT_EQ(app.Numbers(), std::vector<std::string>{"0000"});
    ::DeleteFileA(path.c_str());
}

namespace {
// How far a window's centre lies from another's, in pixels along each axis.
POINT CentreOffset(HWND window, HWND over) {
    POINT a = CUiDriver::CentreOf(CUiDriver::GetWindowRectOnScreen(window));
    POINT b = CUiDriver::CentreOf(CUiDriver::GetWindowRectOnScreen(over));
    return POINT{a.x - b.x, a.y - b.y};
}
} // namespace

TEST(ConsoleE2E, DialogsOpenOverTheFrameAndEnterSendsTheTypedCommand) {
    Console app;
    ASSERT_TRUE(app.Start());
    // The frame away from the screen's corner, so that a dialog left at its template's origin would show.
    ::SetWindowPos(app.Main(), nullptr, 60, 40, 760, 560, SWP_NOZORDER);
    ::Sleep(2500); // the poll finds the rig's readers

    app.Command(ID_READER_CONNECT);
    HWND connect = app.WaitForDialog("连接读卡器");
    ASSERT_NE(connect, nullptr);
    POINT off = CentreOffset(connect, app.Main());
    EXPECT_LE(std::abs(off.x), 1) << off.x;
    EXPECT_LE(std::abs(off.y), 1) << off.y;
    ::PostMessageA(connect, WM_COMMAND, MAKEWPARAM(IDC_CONNECT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(connect, IDC_CONNECT)));
    ASSERT_TRUE(app.WaitForRows(1));
    ASSERT_EQ(app.Texts().back(), "连接成功！");
    ASSERT_TRUE(app.WaitForButton(IDW_DISCONNECTBAR, ID_READER_DISCONNECT, 1));

    app.Command(ID_READER_APDU);
    HWND apdu = app.WaitForDialog("APDU命令");
    ASSERT_NE(apdu, nullptr);
    off = CentreOffset(apdu, app.Main());
    EXPECT_LE(std::abs(off.x), 1) << off.x;
    EXPECT_LE(std::abs(off.y), 1) << off.y;
    Shot(app.Main(), "console_apdu_dialog_centred.png");

    // A user clicks into the command edit, types a command and presses Enter: it is sent, the dialog stays. (The
    // letter keys type lower case; the line shows the command as typed.)
    CRigControl::ClearLog(0);
    HWND edit = ::GetDlgItem(apdu, IDC_COMMAND_EDIT);
    ASSERT_TRUE(CUiDriver::Activate(apdu));
    RECT rc = CUiDriver::GetWindowRectOnScreen(edit);
    ASSERT_TRUE(CUiDriver::ClickAt(POINT{rc.left + 10, rc.top + 6}));
    for (const char *key = "00B0000010"; *key; ++key)
        ASSERT_TRUE(CUiDriver::PressKey(static_cast<WORD>(*key)));
    ASSERT_TRUE(CUiDriver::PressKey(VK_RETURN));
    ASSERT_TRUE(app.WaitForRows(5));
    EXPECT_EQ(Tail(app.Texts(), 4), (std::vector<std::string>{"下发的命令为:  00b0000010", "下发命令成功！",
                                                              "响应的数据为：", "000102030405060708090A0B0C0D0E0F"}));
    EXPECT_EQ(CRigControl::Commands(0), std::vector<std::string>{"00B0000010"});
    ::Sleep(300);
    EXPECT_TRUE(::IsWindow(apdu) && ::IsWindowVisible(apdu));
    EXPECT_EQ(CUiDriver::GetText(::GetDlgItem(apdu, IDC_RESPONSE_EDIT)), "000102030405060708090A0B0C0D0E0F");

    // Enter again sends again; Escape closes the dialog.
    ASSERT_TRUE(CUiDriver::PressKey(VK_RETURN));
    ASSERT_TRUE(app.WaitForRows(9));
    EXPECT_EQ(CRigControl::Commands(0).size(), 2u);
    ASSERT_TRUE(CUiDriver::PressKey(VK_ESCAPE));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(apdu); }, kUiTimeout));
    EXPECT_EQ(app.Texts().size(), 9u);
}

// Whether this program starts its consoles as Windows XP (the second build of these tests).
bool ConsoleRunsAsWindowsXp() {
    char version[16] = {};
    DWORD size = sizeof(version);
    return ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\QXReader_CCID.exe", "Version",
                          RRF_RT_REG_SZ, nullptr, version, &size) == ERROR_SUCCESS &&
           std::string(version) == "winxp";
}

TEST(ConsoleE2E, TheApduDialogsEditsTakeSkinnedBarsUnderXpFromFullSkinsOnly) {
    const bool xp = ConsoleRunsAsWindowsXp();
    Console app;
    ASSERT_TRUE(app.Start());
    ::Sleep(2500); // the poll finds the rig's readers
    ASSERT_TRUE(app.ConnectWithButton());
    // Under XP the engine gives scrolling controls its own bars (present even where a control shows none); other
    // versions, and Xpsteel, which holds no control objects, leave the edits to the system.
    for (UINT skin : {static_cast<UINT>(ID_SKIN_DEVIOR), static_cast<UINT>(ID_SKIN_FUTURA),
                      static_cast<UINT>(ID_SKIN_KROMO), static_cast<UINT>(ID_SKIN_CORONA),
                      static_cast<UINT>(ID_SKIN_XPSTEEL)}) {
        app.Command(skin);
        app.Command(ID_READER_APDU);
        HWND apdu = app.WaitForDialog("APDU命令");
        ASSERT_NE(apdu, nullptr) << skin;
        const bool skinned = xp && skin != ID_SKIN_XPSTEEL;
        for (int id : {IDC_COMMAND_EDIT, IDC_RESPONSE_EDIT}) {
            HWND edit = ::GetDlgItem(apdu, id);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(::GetPropA(edit, "SkinSBSubclassPtr") != nullptr, skinned) << skin << " edit " << id;
        }
        ::PostMessageA(apdu, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(apdu, IDCANCEL)));
        ASSERT_TRUE(CWaitUntil::Condition([&] { return !::IsWindow(apdu); }, kUiTimeout));
    }
}
