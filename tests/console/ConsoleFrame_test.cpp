// The main frame's reader commands, poll and command states, the connect and APDU dialogs and the script command,
// against a scripted PC/SC service.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "console/ApduCommandDlg.h"
#include "console/TraceLine.h"
#include "reader/QXCCIDINT.h"
#include "res/console/resource.h"
#include "tests/console/ConsoleTestHarness.h"

namespace {
typedef std::vector<std::pair<std::string, std::string>> Rows;
const std::string kTwoReaders("Virtual PCD 00 01\0Virtual PCD 00 00\0\0", 37);

std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto &row : TestApp().Rows())
        out.push_back(row.second);
    return out;
}

class ConsoleFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        CMainFrame *frame = TestApp().Frame();
        ASSERT_NE(frame, nullptr);
        ResetCard();
        theReader.Disconnect();
        // Each test starts before the first successful poll.
        frame->m_hContext = 0;
        frame->m_pReaderList.reset();
        frame->m_nReaderListLen = 0;
        frame->m_bLogged = FALSE;
        TestApp().FreshWindow();
        ASSERT_NE(TestApp().ActiveView(), nullptr);
    }
    void TearDown() override { theReader.Disconnect(); }

    CMainFrame *Frame() { return TestApp().Frame(); }

    // Polls with two readers, then connects through the dialog by pressing Enter.
    void ConnectWithEnter() {
        Card().readerList = kTwoReaders;
        ASSERT_EQ(Frame()->PollReaders(), 0);
        ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); },
                                    [](HWND dlg) { ::SendMessageA(dlg, WM_COMMAND, IDOK, 0); }));
        ASSERT_NE(theReader.m_hCard, 0u);
    }
};
} // namespace

TEST_F(ConsoleFrameTest, ConnectBeforeTheFirstPollAsksForAReader) {
    Frame()->OnReaderConnect();
    EXPECT_EQ(Texts(), std::vector<std::string>{"请插入读卡器！"});
    EXPECT_TRUE(Frame()->m_bLogged);
    // A failing PC/SC service keeps it that way, silently.
    Card().establishRc = static_cast<LONG>(SCARD_F_INTERNAL_ERROR);
    EXPECT_EQ(Frame()->PollReaders(), static_cast<LONG>(SCARD_F_INTERNAL_ERROR));
    Card().establishRc = SCARD_S_SUCCESS;
    EXPECT_NE(Frame()->PollReaders(), 0); // no readers: no list
    EXPECT_FALSE(Frame()->m_pReaderList);
}

TEST_F(ConsoleFrameTest, CommandStatesFollowTheConnectionAndTheLog) {
    EXPECT_EQ(EnabledOf(ID_READER_CONNECT), 1);
    for (UINT id : {ID_READER_DISCONNECT, ID_READER_ATR, ID_READER_APDU, ID_READER_SCRIPT, ID_LOG_CLEAR})
        EXPECT_EQ(EnabledOf(id), 0) << id;
    // Lines the dialogs send themselves do not enable clearing; the frame's own lines do.
    PostTraceLine("direct", -1);
    EXPECT_EQ(EnabledOf(ID_LOG_CLEAR), 0);
    Frame()->AddTrace("framed");
    EXPECT_EQ(EnabledOf(ID_LOG_CLEAR), 1);

    ConnectWithEnter();
    EXPECT_EQ(EnabledOf(ID_READER_CONNECT), 0);
    for (UINT id : {ID_READER_DISCONNECT, ID_READER_ATR, ID_READER_APDU, ID_READER_SCRIPT})
        EXPECT_EQ(EnabledOf(id), 1) << id;
    Frame()->OnReaderDisconnect();
    EXPECT_EQ(EnabledOf(ID_READER_CONNECT), 1);
    EXPECT_EQ(EnabledOf(ID_READER_ATR), 0);
}

TEST_F(ConsoleFrameTest, ConnectDialogListsSortedReadersAndEnterConnects) {
    Card().readerList = kTwoReaders;
    ASSERT_EQ(Frame()->PollReaders(), 0);
    std::vector<std::string> items;
    int selected = -2;
    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); },
                                [&](HWND dlg) {
                                    HWND combo = ::GetDlgItem(dlg, IDC_READER_COMBO);
                                    for (int i = 0; i < 2; ++i)
                                        items.push_back(ComboItem(combo, i));
                                    selected = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
                                    // Enter reaches the hidden default button.
                                    ::SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                                }));
    EXPECT_EQ(items, (std::vector<std::string>{"Virtual PCD 00 00", "Virtual PCD 00 01"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(Card().connectedNames, std::vector<std::string>{"Virtual PCD 00 00"});
    EXPECT_EQ(Texts(), std::vector<std::string>{"连接成功！"});
}

TEST_F(ConsoleFrameTest, EnterNeverReportsAConnectionThatFailed) {
    Card().readerList = kTwoReaders;
    ASSERT_EQ(Frame()->PollReaders(), 0);
    Card().connectRc = static_cast<LONG>(SCARD_E_NO_SMARTCARD);
    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); },
                                [](HWND dlg) { ::SendMessageA(dlg, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(Card().connectedNames.size(), 2u); // the reader tries twice
    EXPECT_EQ(theReader.m_hCard, 0u);
    EXPECT_EQ(Texts(), std::vector<std::string>{"连接失败！"});
}

TEST_F(ConsoleFrameTest, TypedNamesAreUsedAndNoNameCancels) {
    Card().readerList = kTwoReaders;
    ASSERT_EQ(Frame()->PollReaders(), 0);
    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); },
                                [](HWND dlg) {
                                    HWND combo = ::GetDlgItem(dlg, IDC_READER_COMBO);
                                    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                                    ::SetWindowTextA(combo, "My Own Reader");
                                    Click(dlg, IDC_CONNECT);
                                }));
    EXPECT_EQ(Card().connectedNames, std::vector<std::string>{"My Own Reader"});
    EXPECT_EQ(Texts().back(), "连接成功！");
    theReader.Disconnect();

    Card().connectedNames.clear();
    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); },
                                [](HWND dlg) {
                                    HWND combo = ::GetDlgItem(dlg, IDC_READER_COMBO);
                                    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                                    ::SetWindowTextA(combo, "");
                                    Click(dlg, IDC_CONNECT);
                                }));
    EXPECT_TRUE(Card().connectedNames.empty());
    EXPECT_EQ(Texts().back(), "连接失败！");

    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderConnect(); }, [](HWND dlg) { Click(dlg, IDCANCEL); }));
    EXPECT_TRUE(Card().connectedNames.empty());
    EXPECT_EQ(Texts().back(), "连接失败！");
}

TEST_F(ConsoleFrameTest, ReaderListWarningComesWithAnotherLengthAndNeverStacks) {
    Card().readerList = kTwoReaders;
    ASSERT_EQ(Frame()->PollReaders(), 0);
    CMessageBoxCapture capture;
    // Same length, other bytes: no warning.
    Card().readerList = std::string("Virtual PCD 00 02\0Virtual PCD 00 03\0\0", 37);
    EXPECT_EQ(Frame()->PollReaders(), 0);
    EXPECT_TRUE(capture.texts.empty());
    // Another length: one box; ticks while it is open keep polling without a second box.
    Card().readerList = std::string("Renamed reader\0\0", 16);
    int pollsDuringBox = 0;
    capture.during = [&] {
        for (int i = 0; i < 3; ++i)
            if (Frame()->PollReaders() == 0)
                ++pollsDuringBox;
    };
    EXPECT_EQ(Frame()->PollReaders(), 0);
    EXPECT_EQ(capture.texts, std::vector<std::string>{"请重新连接读卡器！"});
    EXPECT_EQ(pollsDuringBox, 3);
    // The saved list is never replaced: the warning returns on a later tick while the difference lasts.
    EXPECT_EQ(Frame()->PollReaders(), 0);
    EXPECT_EQ(capture.texts.size(), 2u);
    EXPECT_EQ(Frame()->m_nReaderListLen, 37u);
}

TEST_F(ConsoleFrameTest, ReaderListWarningIsOneTraceLineWhileABatchRuns) {
    Card().readerList = kTwoReaders;
    ASSERT_EQ(Frame()->PollReaders(), 0);
    CMessageBoxCapture capture;
    Card().readerList = std::string("Renamed reader\0\0", 16);
    Frame()->m_bBatchActive = true;
    Frame()->m_bReaderWarningLogged = false;
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(Frame()->PollReaders(), 0);
    Frame()->m_bBatchActive = false;
    EXPECT_TRUE(capture.texts.empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{"请重新连接读卡器！"});
    EXPECT_TRUE(Frame()->m_bLogged);
    // Once the run is over, the next tick warns the person at the screen again.
    EXPECT_EQ(Frame()->PollReaders(), 0);
    EXPECT_EQ(capture.texts, std::vector<std::string>{"请重新连接读卡器！"});
    EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(ConsoleFrameTest, AtrAndDisconnectLines) {
    Frame()->OnReaderAtr();
    EXPECT_EQ(Texts().back(), "获取ATR失败！错误码为 = 0x6");
    ConnectWithEnter();
    Card().atr = std::string("\x3B\x8F\x80\x01\x80\x4F", 6);
    Frame()->OnReaderAtr();
    Rows rows = TestApp().Rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[rows.size() - 2].second, "获取ATR成功！");
    EXPECT_EQ(rows.back().second, "3B8F8001804F");
    Card().atr = std::string(33, '\x3B');
    Frame()->OnReaderAtr();
    EXPECT_EQ(Texts().back(), "获取ATR失败！错误码为 = 0x18");
    Frame()->OnReaderDisconnect();
    EXPECT_EQ(Texts().back(), "断开设备成功！");
}

TEST_F(ConsoleFrameTest, ApduDialogCountsSendsAndShowsAnswers) {
    ConnectWithEnter();
    std::string afterTyping1, afterTyping2, initialCount, responseText, responseCount, failText, failCount;
    std::string keptText;
    Card().responses = {std::string("\x61\x10", 2), std::string(16, '\xA5') + std::string("\x90\x00", 2),
                        std::string("\x6A\x82", 2), std::string("\x90\x00", 2)};
    ASSERT_TRUE(WithModalDialog([&] { Frame()->OnReaderApdu(); },
                                [&](HWND dlg) {
                                    initialCount = WindowText(::GetDlgItem(dlg, IDC_COMMAND_COUNT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "00A4 04");
                                    afterTyping1 = WindowText(::GetDlgItem(dlg, IDC_COMMAND_COUNT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "00A40400");
                                    afterTyping2 = WindowText(::GetDlgItem(dlg, IDC_COMMAND_COUNT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "00 A4 04 00 00");
                                    Click(dlg, IDC_SEND);
                                    responseText = WindowText(::GetDlgItem(dlg, IDC_RESPONSE_EDIT));
                                    responseCount = WindowText(::GetDlgItem(dlg, IDC_RESPONSE_COUNT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "00B0000000");
                                    Click(dlg, IDC_SEND);
                                    failText = WindowText(::GetDlgItem(dlg, IDC_RESPONSE_EDIT));
                                    failCount = WindowText(::GetDlgItem(dlg, IDC_RESPONSE_COUNT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "0020000000");
                                    Click(dlg, IDC_SEND); // 90 00 without data keeps the previous answer
                                    keptText = WindowText(::GetDlgItem(dlg, IDC_RESPONSE_EDIT));
                                    TypeText(dlg, IDC_COMMAND_EDIT, "00A");
                                    Click(dlg, IDC_SEND);
                                    TypeText(dlg, IDC_COMMAND_EDIT, "0G");
                                    Click(dlg, IDC_SEND);
                                    TypeText(dlg, IDC_COMMAND_EDIT, "GG");
                                    Click(dlg, IDC_SEND);
                                    TypeText(dlg, IDC_COMMAND_EDIT, "");
                                    Click(dlg, IDC_SEND);
                                    Click(dlg, IDCANCEL);
                                }));
    EXPECT_EQ(initialCount, "（字节数：  ）");
    EXPECT_EQ(afterTyping1, "（字节数：3*）");
    EXPECT_EQ(afterTyping2, "（字节数：4）");
    std::string hex;
    for (int i = 0; i < 16; ++i)
        hex += "A5";
    EXPECT_EQ(responseText, hex);
    EXPECT_EQ(responseCount, "（字节数：16）");
    EXPECT_EQ(failText, "0x6a82");
    EXPECT_EQ(failCount, "（字节数：2）");
    EXPECT_EQ(keptText, "0x6a82");
    // 61 10 was followed by one GET RESPONSE; nothing else reached the card after the last valid command.
    EXPECT_EQ(Card().commands, (std::vector<std::string>{
                                   std::string("\x00\xA4\x04\x00\x00", 5), std::string("\x00\xC0\x00\x00\x10", 5),
                                   std::string("\x00\xB0\x00\x00\x00", 5), std::string("\x00\x20\x00\x00\x00", 5)}));
    std::vector<std::string> texts = Texts();
    std::vector<std::string> expected = {"连接成功！",
                                         "下发的命令为:  00A4040000",
                                         "下发命令成功！",
                                         "响应的数据为：",
                                         hex,
                                         "下发的命令为:  00B0000000",
                                         "下发命令失败！ 返回的状态码为: 0x6a82",
                                         "下发的命令为:  0020000000",
                                         "下发命令成功！",
                                         "输入的命令字节长度不正确！",
                                         "字符串转换为字节错误！",
                                         "下发的命令为:  GG",
                                         "下发命令失败！ 返回的状态码为: 0x0",
                                         "请输入命令："};
    EXPECT_EQ(texts, expected);
}

TEST_F(ConsoleFrameTest, ScriptRunTracesEveryCommand) {
    ConnectWithEnter();
    Card().responses = {std::string("\x6F\x00\x90\x00", 4), std::string("\x6A\x82", 2), std::string("\x90\x00", 2)};
    std::string script = ";select\r\n00 a4 04 00 00\r\n00A40000\r\n0084000008\r\n";
    EXPECT_EQ(Frame()->RunScript(script.data(), static_cast<DWORD>(script.size())), 0u);
    EXPECT_EQ(Card().commands,
              (std::vector<std::string>{std::string("\x00\xA4\x04\x00\x00", 5), std::string("\x00\xA4\x00\x00\x00", 5),
                                        std::string("\x00\x84\x00\x00\x08", 5)}));
    std::vector<std::string> texts = Texts();
    std::vector<std::string> expected = {
        "连接成功！",     "下发的命令为：", "00A4040000",         "响应的结果： 0x9000",
        "6F00",           "下发的命令为：", "00A4000000",         "响应的结果： 0x6a82",
        "下发的命令为：", "0084000008",     "响应的结果： 0x9000"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(theMessage, "响应的结果： 0x9000");

    // A malformed first line sends nothing and logs nothing.
    Card().commands.clear();
    size_t before = Texts().size();
    std::string bad = "00A4040007A00000\r\n00A4040000\r\n";
    EXPECT_NE(Frame()->RunScript(bad.data(), static_cast<DWORD>(bad.size())), 0u);
    EXPECT_TRUE(Card().commands.empty());
    EXPECT_EQ(Texts().size(), before);
}
