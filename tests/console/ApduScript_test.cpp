// Script files as engineers write them: what reaches the card, in which order, and which trace lines appear.
#include "console/ApduList.h"
#include "console/ApduScriptRunner.h"
#include "console/HexText.h"
#include "framework/ResultCodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace {

std::string Hex(const BYTE* bytes, DWORD count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (DWORD i = 0; i < count; ++i) {
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

struct Answer {
    std::vector<BYTE> data;
    WORD status;
};

// A card that records every command and answers from a queue (9000 without data once the queue is empty).
struct FakeCard {
    std::vector<std::string> sent;
    std::deque<Answer> answers;
    std::vector<std::string> lines;

    DWORD Run(const std::string& script) {
        return RunApduScript(
            script.data(), static_cast<DWORD>(script.size()),
            [this](const BYTE* cmd, DWORD len, BYTE* data, DWORD* dataLen, WORD* status) -> BOOL {
                sent.push_back(Hex(cmd, len));
                Answer a{{}, 0x9000};
                if (!answers.empty()) {
                    a = answers.front();
                    answers.pop_front();
                }
                std::copy(a.data.begin(), a.data.end(), data);
                *dataLen = static_cast<DWORD>(a.data.size());
                *status = a.status;
                return a.status == 0x9000;
            },
            [this](const std::string& line) { lines.push_back(line); });
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST(ApduScript, EachCommandIsLoggedWithItsStatusAndData) {
    FakeCard card;
    card.answers = {{{0x6F, 0x10, 0x84}, 0x9000}, {{}, 0x6A82}, {{1, 2, 3, 4, 5, 6, 7, 8}, 0x9000}};
    EXPECT_EQ(card.Run("00A4040000\r\n00B0000000\r\n0084000008\r\n"), 0u);
    EXPECT_EQ(card.sent, (Lines{"00A4040000", "00B0000000", "0084000008"}));
    EXPECT_EQ(card.lines, (Lines{"下发的命令为：", "00A4040000", "响应的结果： 0x9000", "6F1084", "下发的命令为：",
                                 "00B0000000", "响应的结果： 0x6a82", "下发的命令为：", "0084000008",
                                 "响应的结果： 0x9000", "0102030405060708"}));
}

TEST(ApduScript, TextIsCleanedBeforeConversion) {
    struct Case {
        const char* name;
        std::string script;
        Lines sent;
    };
    const Case cases[] = {
        {"comment line disappears", ";select\r\n00A4040000\r\n0084000008\r\n", {"00A4040000", "0084000008"}},
        {"lower case and spaces", "00 a4 04 00 00", {"00A4040000"}},
        {"four-byte line gets a zero fifth byte", "00A40000\r\n00A4040000\r\n", {"00A4000000", "00A4040000"}},
        {"four-byte last line", "00A4040000\r\n00A40000", {"00A4040000", "00A4000000"}},
        {"case 3 and case 4 sent as written", "00DA000002CAFE\r\n00A4040002AABB00\r\n",
         {"00DA000002CAFE", "00A4040002AABB00"}},
        {"one empty line is tolerated", "00A4040000\r\n\r\n0084000008", {"00A4040000", "0084000008"}},
        {"two empty lines end the run", "00A4040000\r\n\r\n\r\n0084000008", {"00A4040000"}},
        {"empty first line sends nothing", "\r\n\r\n00A4040000", {}},
        {"a bad Lc on the second line stops there", "00A4040000\r\n00A4040007A00000\r\n0084000008",
         {"00A4040000"}},
        {"a bad Lc on the first line sends nothing", "00A4040007A00000\r\n0084000008", {}},
        {"LF-only lines run together and fail", "00A4040000\n0084000008\n", {}},
        {"a byte-order mark is skipped", "\xEF\xBB\xBF" "00A4040000", {"00A4040000"}},
        {"comment behind a command joins the next line", "00A40400;x\r\n00\r\n", {"00A4040000"}},
        {"comment on the last line without a line break", "0084000008\r\n;end", {"0084000008"}},
        {"zero byte ends the script", std::string("00A4040000\r\n\0" "0084000008", 23), {"00A4040000"}},
        // A line ends only at a CR LF from its fifth byte on: 0D 0A inside the header is data.
        {"0D 0A in the header", "000D0A00\r\n00A4040000", {"000D0A0000", "00A4040000"}},
        {"Lc 0 with an Le is sent as six bytes", "00B000000010\r\n", {"00B000000010"}},
    };
    for (const Case& c : cases) {
        FakeCard card;
        card.Run(c.script);
        EXPECT_EQ(card.sent, c.sent) << c.name;
    }
}

TEST(ApduScript, ConversionFailuresSendAndLogNothing) {
    struct Case {
        const char* name;
        std::string script;
        DWORD result;
    };
    const Case cases[] = {
        {"digit followed by a tab", "0\t0A4040000\r\n", RC_TO_BYTES_FAILED},
        {"odd digit count", "00A404000\r\n", RC_TO_BYTES_FAILED},
        {"16-bit Unicode ends after one character", std::string("0\0" "0\0A\0" "4\0", 8), RC_TO_BYTES_FAILED},
        {"only spaces", "     ", RC_BAD_ARGUMENT},
        {"only comments", ";one\r\n;two\r\n", RC_NO_COMMAND},
        {"empty", "", RC_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        FakeCard card;
        EXPECT_EQ(card.Run(c.script), c.result) << c.name;
        EXPECT_TRUE(card.sent.empty()) << c.name;
        EXPECT_TRUE(card.lines.empty()) << c.name;
    }
}

TEST(ApduScript, LongestCommandAndResponseAreLoggedInFull) {
    std::string script = "80E20000FF";
    for (int i = 0; i < 255; ++i)
        script += "A5";
    script += "00\r\n";
    FakeCard card;
    card.answers = {{std::vector<BYTE>(510, 0x5A), 0x9000}};
    EXPECT_EQ(card.Run(script), 0u);
    ASSERT_EQ(card.sent.size(), 1u);
    EXPECT_EQ(card.sent[0].size(), 522u);
    ASSERT_EQ(card.lines.size(), 4u);
    EXPECT_EQ(card.lines[1].size(), 522u);
    std::string data;
    for (int i = 0; i < 510; ++i)
        data += "5A";
    EXPECT_EQ(card.lines[3], data);
}

TEST(ApduList, ParseAndGetCommandFollowTheLineStructure) {
    const BYTE bytes[] = {0x00, 0xA4, 0x04, 0x00, 0x0D, 0x0A, // 4-byte line
                          0x00, 0xB0, 0x00, 0x00, 0x10, 0x0D, 0x0A, // case 2
                          0x00, 0xA4, 0x04, 0x00, 0x07, 0xA0};      // Lc 7 with one data byte: fails
    CApduList list;
    ASSERT_EQ(list.Parse(bytes, sizeof bytes), 0u);
    EXPECT_EQ(list.m_nCount, 3u);
    BYTE out[262] = {};
    DWORD length = 0;
    ASSERT_EQ(list.GetCommand(out, &length, 0), 0u);
    EXPECT_EQ(Hex(out, length), "00A4040000");
    std::fill(std::begin(out), std::end(out), 0);
    ASSERT_EQ(list.GetCommand(out, &length, 1), 0u);
    EXPECT_EQ(Hex(out, length), "00B0000010");
    EXPECT_EQ(list.GetCommand(out, &length, 2), DWORD(RC_NO_COMMAND)); // the failed node
    length = 99;
    EXPECT_EQ(list.GetCommand(nullptr, &length, 2), 0u) << "without a buffer the failed node is only measured";
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(list.GetCommand(out, &length, 3), DWORD(RC_NO_COMMAND)); // no node there
    EXPECT_EQ(list.GetCommand(out, &length, 4), DWORD(RC_BAD_ARGUMENT));
}

// Any order of indices gives the same commands, also after the list has been cleared and parsed again.
TEST(ApduList, GetCommandInAnyOrderAndAfterAReparse) {
    std::vector<BYTE> bytes;
    for (BYTE i = 0; i < 5; ++i) {
        bytes.insert(bytes.end(), {0x80, i, 0x00, 0x00, 0x0D, 0x0A});
    }
    CApduList list;
    ASSERT_EQ(list.Parse(bytes.data(), static_cast<DWORD>(bytes.size())), 0u);
    ASSERT_EQ(list.m_nCount, 5u);
    for (DWORD index : {3u, 4u, 1u, 0u, 4u, 4u, 2u}) {
        BYTE out[262] = {};
        DWORD length = 0;
        ASSERT_EQ(list.GetCommand(out, &length, index), 0u) << index;
        EXPECT_EQ(Hex(out, length), "80" + Hex(reinterpret_cast<const BYTE*>(&index), 1) + "000000") << index;
    }
    DWORD length = 0;
    EXPECT_EQ(list.GetCommand(nullptr, &length, 5), DWORD(RC_NO_COMMAND));
    EXPECT_EQ(list.GetCommand(nullptr, &length, 6), DWORD(RC_BAD_ARGUMENT));

    // Parsing again replaces the five commands (no Clear in between): three commands, the old ones gone.
    const BYTE other[] = {0x00, 0xB0, 0x00, 0x00, 0x0D, 0x0A, 0x00, 0xB2, 0x01, 0x04, 0x0D, 0x0A, 0x00, 0xC0, 0x00, 0x00};
    ASSERT_EQ(list.Parse(other, sizeof other), 0u);
    EXPECT_EQ(list.m_nCount, 3u);
    EXPECT_EQ(list.GetCommand(nullptr, &length, 4), DWORD(RC_BAD_ARGUMENT));
    BYTE out[262] = {};
    ASSERT_EQ(list.GetCommand(out, &length, 2), 0u);
    EXPECT_EQ(Hex(out, length), "00C0000000");
    std::fill(std::begin(out), std::end(out), 0);
    ASSERT_EQ(list.GetCommand(out, &length, 1), 0u);
    EXPECT_EQ(Hex(out, length), "00B2010400");
}

// A megabyte-sized script of short lines holds hundreds of thousands of commands; fetching each by its index
// must not walk the list from its head every time.
TEST(ApduScript, ManyShortCommandsRunInLinearTime) {
    const DWORD kCommands = 300000;
    std::string script;
    script.reserve(kCommands * 10);
    for (DWORD i = 0; i < kCommands; ++i) {
        script += "00A40000\r\n";
    }
    DWORD sent = 0, lastLength = 0, posted = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const DWORD rc = RunApduScript(
        script.data(), static_cast<DWORD>(script.size()),
        [&](const BYTE*, DWORD length, BYTE*, DWORD* dataLength, WORD* status) -> BOOL {
            ++sent;
            lastLength = length;
            *dataLength = 0;
            *status = 0x9000;
            return TRUE;
        },
        [&](const std::string&) { ++posted; });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(rc, 0u);
    EXPECT_EQ(sent, kCommands);
    EXPECT_EQ(lastLength, 5u);
    EXPECT_EQ(posted, 3 * kCommands);
    EXPECT_LT(seconds, 10.0) << "the run is not linear in the number of commands";
}

TEST(ApduCommand, ClassifyFindsTheFourCases) {
    int apduCase = 0;
    const BYTE c2[] = {0, 0xB0, 0, 0, 0x10};
    EXPECT_EQ(CApduCommand::Classify(c2, 5, &apduCase), 0u);
    EXPECT_EQ(apduCase, 2);
    const BYTE c1[] = {0, 0xB0, 0, 0, 0x00};
    EXPECT_EQ(CApduCommand::Classify(c1, 5, &apduCase), 0u);
    EXPECT_EQ(apduCase, 1);
    const BYTE c3[] = {0, 0xDA, 0, 0, 2, 1, 2, 0x0D, 0x0A};
    EXPECT_EQ(CApduCommand::Classify(c3, sizeof c3, &apduCase), 0u);
    EXPECT_EQ(apduCase, 3);
    const BYTE c4[] = {0, 0xA4, 4, 0, 1, 0x3F, 0};
    EXPECT_EQ(CApduCommand::Classify(c4, sizeof c4, &apduCase), 0u);
    EXPECT_EQ(apduCase, 4);
    const BYTE bad[] = {0, 0xA4, 4, 0, 9, 0x3F, 0};
    EXPECT_EQ(CApduCommand::Classify(bad, sizeof bad, &apduCase), DWORD(RC_BAD_COMMAND_LENGTH));
    EXPECT_EQ(CApduCommand::Classify(nullptr, 5, &apduCase), DWORD(RC_BAD_ARGUMENT));
    EXPECT_EQ(CApduCommand::Classify(c4, 0, &apduCase), DWORD(RC_BAD_ARGUMENT));
}

TEST(ApduScript, UpperCasingKeepsDoubleByteCharactersWhole) {
    std::string text = "ab\x81" "a;\xD6\xD0z";
    MakeUpperAnsi(text);
    EXPECT_EQ(text, "AB\x81" "a;\xD6\xD0Z");
}
