// The console's reader object through the rig: real pcscd, real reader names, a simulated card.
#include <windows.h>
#include <winscard.h>

#include "platform/Handle.h"
#include "reader/QXCCIDINT.h"
#include "tests/rig/RigControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kReader0[] = "Virtual PCD 00 00";
const std::vector<BYTE> kDefaultAtr = {0x3B, 0xDB, 0x96, 0x00, 0x80, 0xB1, 0xFE, 0x45, 0x1F, 0x83, 0x00,
                                       0x31, 0xC0, 0x64, 0xC7, 0xFC, 0x10, 0x00, 0x01, 0x90, 0x00, 0x74};
const BYTE kSelect[] = {0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00, 0x00, 0x03, 0x33, 0x01, 0x01, 0x01};
const char kSelectHex[] = "00A4040008A000000333010101";

std::vector<std::string> Kinds(const std::vector<CRigControl::Event> &log) {
    std::vector<std::string> out;
    for (const auto &e : log)
        out.push_back(e.kind);
    return out;
}

class ReaderE2ETest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SCARD_S_SUCCESS, SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &s_ctx));
        ASSERT_TRUE(theReader.Init(s_ctx, kReader0, "QXCCIDINT"));
    }
    void TearDown() override { theReader.Disconnect(); }

    void UseProfile(const std::string &name) {
        static std::string s_current = "default";
        theReader.Disconnect();
        if (s_current != name) {
            ASSERT_EQ(0, CRigControl::Run("swap-profile 0 " + name)) << name;
            s_current = name;
        }
    }

    static SCARDCONTEXT s_ctx;
};
SCARDCONTEXT ReaderE2ETest::s_ctx = 0;

TEST_F(ReaderE2ETest, ListingShowsBothVirtualReaders) {
    LPSTR list = nullptr;
    DWORD n = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardListReadersA(s_ctx, nullptr, reinterpret_cast<LPSTR>(&list), &n));
    std::vector<std::string> names;
    for (const char *p = list; *p; p += std::strlen(p) + 1)
        names.push_back(p);
    SCardFreeMemory(s_ctx, list);
    EXPECT_EQ((std::vector<std::string>{"Virtual PCD 00 00", "Virtual PCD 00 01"}), names);
}

TEST_F(ReaderE2ETest, ConnectReadAtrAndChainedTransmit) {
    ASSERT_TRUE(theReader.Connect());
    EXPECT_NE(0u, theReader.m_hCard);
    BYTE atr[32] = {};
    DWORD atrLen = 0;
    ASSERT_TRUE(theReader.GetAtr(atr, &atrLen));
    EXPECT_EQ(kDefaultAtr, std::vector<BYTE>(atr, atr + atrLen));

    CRigControl::ClearLog(0);
    BYTE data[512] = {};
    DWORD len = 0;
    WORD sw = 0;
    ASSERT_TRUE(theReader.Transmit(kSelect, sizeof kSelect, data, &len, &sw));
    EXPECT_EQ(0x9000, sw);
    ASSERT_EQ(16u, len);
    const BYTE fci[] = {0x6F, 0x0E, 0x84, 0x08, 0xA0, 0x00, 0x00, 0x03, 0x33, 0x01, 0x01, 0x01, 0xA5, 0x02, 0x88, 0x01};
    EXPECT_EQ(0, std::memcmp(fci, data, sizeof fci));
    EXPECT_EQ((std::vector<std::string>{kSelectHex, "00C0000010"}), CRigControl::Commands(0));
}

TEST_F(ReaderE2ETest, ConnectWhileConnectedColdResetsAndKeepsTheHandle) {
    ASSERT_TRUE(theReader.Connect());
    SCARDHANDLE before = theReader.m_hCard;
    CRigControl::ClearLog(0);
    ASSERT_TRUE(theReader.Connect());
    EXPECT_EQ(before, theReader.m_hCard);
    auto kinds = Kinds(CRigControl::ReadLog(0));
    auto off = std::find(kinds.begin(), kinds.end(), "POWER_OFF");
    ASSERT_NE(kinds.end(), off);
    EXPECT_NE(kinds.end(), std::find(off, kinds.end(), "POWER_ON"));
    BYTE data[512];
    DWORD len = sizeof data;
    WORD sw = 0;
    EXPECT_TRUE(theReader.Transmit(kSelect, sizeof kSelect, data, &len, &sw));
}

TEST_F(ReaderE2ETest, DisconnectLeavesTheCard) {
    ASSERT_TRUE(theReader.Connect());
    CRigControl::ClearLog(0);
    ASSERT_TRUE(theReader.Disconnect());
    EXPECT_EQ(0u, theReader.m_hCard);
    auto kinds = Kinds(CRigControl::ReadLog(0));
    EXPECT_EQ(kinds.end(), std::find(kinds.begin(), kinds.end(), "POWER_OFF"));
    EXPECT_EQ(kinds.end(), std::find(kinds.begin(), kinds.end(), "RESET"));
    // The card still answers a new connection without a fresh power-up.
    ASSERT_TRUE(theReader.Connect());
}

TEST_F(ReaderE2ETest, AtrLongerThanTheBufferFailsWithBadLength) {
    UseProfile("atr33");
    ASSERT_TRUE(theReader.Connect());
    BYTE atr[32] = {};
    DWORD atrLen = 0;
    SetLastError(0);
    EXPECT_FALSE(theReader.GetAtr(atr, &atrLen));
    EXPECT_EQ(DWORD(ERROR_BAD_LENGTH), GetLastError());
    UseProfile("default");
}

// The card's edge answers as the reader object reports them.
TEST_F(ReaderE2ETest, EdgeAnswersOfTheCard) {
    UseProfile("edge");
    ASSERT_TRUE(theReader.Connect());
    BYTE data[512];
    DWORD len = 0;
    WORD sw = 0;

    // 61 08 answered 61 04 to the GET RESPONSE: one GET RESPONSE only, its status reported as is.
    CRigControl::ClearLog(0);
    const BYTE chained[] = {0x00, 0xA4, 0x04, 0x00, 0x05, 0xA0, 0x00, 0x00, 0x00, 0x01};
    EXPECT_FALSE(theReader.Transmit(chained, sizeof chained, data, &len, &sw));
    EXPECT_EQ(0x6104, sw);
    EXPECT_EQ(0u, len);
    EXPECT_EQ((std::vector<std::string>{"00A4040005A000000001", "00C0000008"}), CRigControl::Commands(0));

    const BYTE missing[] = {0x00, 0xA4, 0x04, 0x00, 0x05, 0xA0, 0x00, 0x00, 0x00, 0x02};
    len = 99;
    EXPECT_FALSE(theReader.Transmit(missing, sizeof missing, data, &len, &sw));
    EXPECT_EQ(0x6A82, sw);
    EXPECT_EQ(0u, len);

    // The most the response buffer holds: 510 data bytes and the status word.
    const BYTE big[] = {0x00, 0xB0, 0x00, 0x00, 0x00};
    ASSERT_TRUE(theReader.Transmit(big, sizeof big, data, &len, &sw));
    EXPECT_EQ(510u, len);
    EXPECT_EQ(0xFD, data[509]);

    // A single byte is no status word: a failure with status 0, nothing read beyond it.
    const BYTE oneByte[] = {0x00, 0xCA, 0x00, 0x01, 0x00};
    sw = 0x1234;
    EXPECT_FALSE(theReader.Transmit(oneByte, sizeof oneByte, data, &len, &sw));
    EXPECT_EQ(0, sw);
    EXPECT_EQ(0u, len);
    UseProfile("default");
}

TEST_F(ReaderE2ETest, CardRemovedMidSessionFailsTransmitAndEnsureConnected) {
    UseProfile("remove");
    ASSERT_TRUE(theReader.Connect());
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    BYTE data[512];
    DWORD len = sizeof data;
    WORD sw = 0;
    // The card leaves after three commands: the chained SELECT is two of them.
    ASSERT_TRUE(theReader.Transmit(kSelect, sizeof kSelect, data, &len, &sw));
    ASSERT_TRUE(theReader.Transmit(challenge, sizeof challenge, data, &len, &sw));
    // Once the resource manager has seen the card go (it polls the driver), the exchange fails inside
    // PC/SC. Before that, the driver may still hand back an empty answer for the vanished card.
    ASSERT_EQ(0, CRigControl::Run("wait-card 0 empty"));
    SetLastError(0);
    EXPECT_FALSE(theReader.Transmit(challenge, sizeof challenge, data, &len, &sw));
    DWORD err = GetLastError();
    EXPECT_EQ(0x80100000u, err & 0xFFFFFF00u) << std::hex << err; // a PC/SC code
    EXPECT_FALSE(theReader.EnsureConnected());
    UseProfile("default");
}

TEST_F(ReaderE2ETest, ReaderPresenceFollowsTheReaderSet) {
    EXPECT_TRUE(theReader.IsReaderPresent());
    ASSERT_EQ(0, CRigControl::Run("swap-reader-set renamed"));
    EXPECT_FALSE(theReader.IsReaderPresent());
    ASSERT_EQ(0, CRigControl::Run("swap-reader-set none"));
    EXPECT_FALSE(theReader.IsReaderPresent());
    ASSERT_EQ(0, CRigControl::Run("swap-reader-set two"));
    EXPECT_TRUE(theReader.IsReaderPresent());
    ASSERT_TRUE(theReader.Connect());
}

std::string ModuleDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/") + 1);
}

TEST_F(ReaderE2ETest, TwoProcessesNeverInterleaveTheirChains) {
    const int kEach = 60;
    // QX_RIG_AGENT_MUTEX lets a person check that this test catches interleaving: give each agent
    // a lock of its own (the name plus its index) and the pairs must come apart.
    char mutexBase[64] = {};
    bool ownLocks = GetEnvironmentVariableA("QX_RIG_AGENT_MUTEX", mutexBase, sizeof mutexBase) > 0;
    CRigControl::ClearLog(0);
    CKernelObject go(CreateEventA(nullptr, TRUE, FALSE, "QxRigAgentsGo"));
    CKernelObject ready(CreateSemaphoreA(nullptr, 0, 2, "QxRigAgentsGo.ready"));
    ASSERT_TRUE(go.IsValid());
    ASSERT_TRUE(ready.IsValid());
    PROCESS_INFORMATION agents[2] = {};
    for (int i = 0; i < 2; ++i) {
        std::string cmd = "\"" + ModuleDir() + "rig_reader_agent.exe\" \"" + kReader0 + "\" " + std::to_string(kEach) +
                          " QxRigAgentsGo";
        if (ownLocks)
            cmd += " " + std::string(mutexBase) + std::to_string(i);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &agents[i]));
    }
    // Both connected and waiting: let them go at once.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 30000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 30000));
    SetEvent(go);
    for (auto &pi : agents) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
        DWORD code = 99;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(0u, code);
        CKernelObject(pi.hThread).Close();
        CKernelObject(pi.hProcess).Close();
    }

    auto cmds = CRigControl::Commands(0);
    ASSERT_EQ(size_t(4 * kEach), cmds.size());
    for (size_t i = 0; i < cmds.size(); i += 2) {
        EXPECT_EQ(kSelectHex, cmds[i]) << i;
        EXPECT_EQ("00C0000010", cmds[i + 1]) << i;
    }
}

} // namespace
