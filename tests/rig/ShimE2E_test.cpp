// The rig's winscard.dll against pcscd and the simulated cards, called as Windows programs call it.
#include <windows.h>
#include <winscard.h>

#include "tests/rig/RigControl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kReader0[] = "Virtual PCD 00 00";
const char kReader1[] = "Virtual PCD 00 01";
const std::vector<BYTE> kDefaultAtr = {0x3B, 0xDB, 0x96, 0x00, 0x80, 0xB1, 0xFE, 0x45, 0x1F, 0x83, 0x00,
                                       0x31, 0xC0, 0x64, 0xC7, 0xFC, 0x10, 0x00, 0x01, 0x90, 0x00, 0x74};
const BYTE kSelect[] = {0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00, 0x00, 0x03, 0x33, 0x01, 0x01, 0x01};
const LONG kRemovedCard = LONG(0x80100069);

std::string Hex(const BYTE *p, DWORD n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (DWORD i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

std::vector<std::string> Names(const char *multi) {
    std::vector<std::string> out;
    for (const char *p = multi; *p; p += std::strlen(p) + 1)
        out.push_back(p);
    return out;
}

// Keeps the rig's card in reader 0 as each test wants it, swapping only when it changes.
void UseProfile(const std::string &name) {
    static std::string s_current = "default";
    if (s_current == name)
        return;
    ASSERT_EQ(0, CRigControl::Run("swap-profile 0 " + name)) << name;
    s_current = name;
}

// Defined first so that it runs before anything has connected this process to the bridge.
TEST(ShimWithoutBridgeTest, CallsFailWithNoServiceWhenTheBridgeIsNotThere) {
    ASSERT_TRUE(SetEnvironmentVariableA("QX_PCSC_BRIDGE_PORT", "1")); // nothing listens on port 1
    SCARDCONTEXT ctx = 0;
    DWORD start = GetTickCount();
    EXPECT_EQ(SCARD_E_NO_SERVICE, SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx));
    EXPECT_EQ(DWORD(SCARD_E_NO_SERVICE), GetLastError());
    DWORD n = 0;
    EXPECT_EQ(SCARD_E_NO_SERVICE, SCardListReadersA(0, nullptr, nullptr, &n));
    EXPECT_LT(GetTickCount() - start, 5000u);
    ASSERT_TRUE(SetEnvironmentVariableA("QX_PCSC_BRIDGE_PORT", nullptr));
    // With the rig's folder to go by again, the next call reaches the bridge.
    EXPECT_EQ(SCARD_S_SUCCESS, SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx));
    SCardReleaseContext(ctx);
}

class ShimTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SCARD_S_SUCCESS, SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &m_ctx));
    }
    void TearDown() override {
        if (m_card)
            SCardDisconnect(m_card, SCARD_LEAVE_CARD);
        SCardReleaseContext(m_ctx);
    }
    void Connect(const char *reader = kReader0) {
        DWORD protocol = 0;
        ASSERT_EQ(SCARD_S_SUCCESS, SCardConnectA(m_ctx, reader, SCARD_SHARE_SHARED,
                                                 SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &m_card, &protocol));
        EXPECT_TRUE(protocol == SCARD_PROTOCOL_T0 || protocol == SCARD_PROTOCOL_T1) << protocol;
    }
    // Sends like the console does: a protocol field of 0 in an 8-byte header.
    LONG Send(const BYTE *cmd, DWORD n, std::vector<BYTE> &rsp, DWORD room = 512) {
        SCARD_IO_REQUEST pci = {0, sizeof(SCARD_IO_REQUEST)};
        rsp.assign(room, 0);
        DWORD len = room;
        LONG rv = SCardTransmit(m_card, &pci, cmd, n, nullptr, rsp.data(), &len);
        rsp.resize(rv == SCARD_S_SUCCESS ? len : 0);
        return rv;
    }

    SCARDCONTEXT m_ctx = 0;
    SCARDHANDLE m_card = 0;
};

TEST_F(ShimTest, ListsBothReadersWithEveryBufferConvention) {
    LPSTR list = nullptr;
    DWORD n = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardListReadersA(m_ctx, nullptr, reinterpret_cast<LPSTR>(&list), &n));
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((std::vector<std::string>{kReader0, kReader1}), Names(list));
    EXPECT_EQ(DWORD(sizeof kReader0 + sizeof kReader1 + 1), n);
    EXPECT_EQ(SCARD_S_SUCCESS, SCardFreeMemory(m_ctx, list));
    // A block that did not come from the library is refused rather than freed.
    char foreign[4];
    EXPECT_EQ(SCARD_E_INVALID_PARAMETER, SCardFreeMemory(m_ctx, foreign));

    DWORD needed = 0;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardListReadersA(m_ctx, nullptr, nullptr, &needed));
    EXPECT_EQ(n, needed);
    std::vector<char> small(needed - 1, 'x');
    DWORD room = DWORD(small.size());
    EXPECT_EQ(SCARD_E_INSUFFICIENT_BUFFER, SCardListReadersA(m_ctx, nullptr, small.data(), &room));
    EXPECT_EQ(needed, room);
    EXPECT_EQ(SCARD_E_INVALID_PARAMETER, SCardListReadersA(m_ctx, nullptr, nullptr, nullptr));
}

TEST_F(ShimTest, AtrAttributeIsAnsweredForTheVirtualReader) {
    Connect();
    DWORD len = 0;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardGetAttrib(m_card, SCARD_ATTR_ATR_STRING, nullptr, &len));
    ASSERT_EQ(kDefaultAtr.size(), len);
    BYTE atr[64] = {};
    len = sizeof atr;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardGetAttrib(m_card, SCARD_ATTR_ATR_STRING, atr, &len));
    EXPECT_EQ(kDefaultAtr, std::vector<BYTE>(atr, atr + len));
    len = 4;
    EXPECT_EQ(SCARD_E_INSUFFICIENT_BUFFER, SCardGetAttrib(m_card, SCARD_ATTR_ATR_STRING, atr, &len));
    EXPECT_EQ(kDefaultAtr.size(), len);

    LPBYTE block = nullptr;
    len = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardGetAttrib(m_card, SCARD_ATTR_ATR_STRING, reinterpret_cast<LPBYTE>(&block), &len));
    EXPECT_EQ(kDefaultAtr, std::vector<BYTE>(block, block + len));
    EXPECT_EQ(SCARD_S_SUCCESS, SCardFreeMemory(m_ctx, block));
    // An attribute the driver does not know fails with Windows' number for "unsupported".
    len = sizeof atr;
    EXPECT_EQ(LONG(0x80100022), SCardGetAttrib(m_card, SCARD_ATTR_VENDOR_IFD_SERIAL_NO, atr, &len));
    EXPECT_EQ(DWORD(0x80100022), GetLastError());
}

TEST_F(ShimTest, StatusReportsWindowsStateNameAndAtr) {
    Connect();
    char name[512] = {};
    DWORD nameLen = sizeof name, state = 0, protocol = 0;
    BYTE atr[256] = {};
    DWORD atrLen = sizeof atr;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardStatusA(m_card, name, &nameLen, &state, &protocol, atr, &atrLen));
    EXPECT_STREQ(kReader0, name);
    EXPECT_EQ(DWORD(SCARD_SPECIFIC), state); // Windows' single value, not pcsc-lite's bit set
    EXPECT_TRUE(protocol == SCARD_PROTOCOL_T0 || protocol == SCARD_PROTOCOL_T1);
    EXPECT_EQ(kDefaultAtr, std::vector<BYTE>(atr, atr + atrLen));

    LPSTR block = nullptr;
    nameLen = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCARD_S_SUCCESS,
              SCardStatusA(m_card, reinterpret_cast<LPSTR>(&block), &nameLen, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ(kReader0, block);
    EXPECT_EQ(SCARD_S_SUCCESS, SCardFreeMemory(m_ctx, block));
}

TEST_F(ShimTest, ChainedSelectReachesTheCardInOrder) {
    Connect();
    CRigControl::ClearLog(0);
    std::vector<BYTE> rsp;
    ASSERT_EQ(SCARD_S_SUCCESS, Send(kSelect, sizeof kSelect, rsp));
    EXPECT_EQ("6110", Hex(rsp.data(), DWORD(rsp.size())));
    const BYTE getResponse[] = {0x00, 0xC0, 0x00, 0x00, 0x10};
    ASSERT_EQ(SCARD_S_SUCCESS, Send(getResponse, sizeof getResponse, rsp));
    EXPECT_EQ("6F0E8408A000000333010101A50288019000", Hex(rsp.data(), DWORD(rsp.size())));

    // The records of Windows' own headers work as well as the console's empty one.
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    BYTE buf[64];
    DWORD len = sizeof buf;
    DWORD protocol = 0, dummy = 0;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardStatusA(m_card, nullptr, &dummy, nullptr, &protocol, nullptr, &dummy));
    SCARD_IO_REQUEST recvPci = {0, sizeof(SCARD_IO_REQUEST)};
    ASSERT_EQ(SCARD_S_SUCCESS, SCardTransmit(m_card, protocol == SCARD_PROTOCOL_T1 ? SCARD_PCI_T1 : SCARD_PCI_T0,
                                             challenge, sizeof challenge, &recvPci, buf, &len));
    EXPECT_EQ(10u, len);
    EXPECT_EQ(protocol, recvPci.dwProtocol);

    EXPECT_EQ((std::vector<std::string>{Hex(kSelect, sizeof kSelect), "00C0000010", "0084000008"}),
              CRigControl::Commands(0));
}

TEST_F(ShimTest, ReconnectWithUnpowerColdResetsTheCard) {
    Connect();
    CRigControl::ClearLog(0);
    DWORD protocol = 0;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardReconnect(m_card, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1,
                                              SCARD_UNPOWER_CARD, &protocol));
    auto log = CRigControl::ReadLog(0);
    EXPECT_TRUE(CRigControl::Has(log, "POWER_OFF"));
    EXPECT_TRUE(CRigControl::Has(log, "POWER_ON"));
    std::vector<BYTE> rsp;
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    EXPECT_EQ(SCARD_S_SUCCESS, Send(challenge, sizeof challenge, rsp));
}

TEST_F(ShimTest, ArgumentAndHandleErrors) {
    std::vector<BYTE> rsp(16);
    DWORD len = DWORD(rsp.size());
    const BYTE cmd[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    EXPECT_EQ(SCARD_E_INVALID_HANDLE, SCardTransmit(0x1234, SCARD_PCI_T0, cmd, sizeof cmd, nullptr, rsp.data(), &len));
    EXPECT_EQ(DWORD(SCARD_E_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(SCARD_E_INVALID_HANDLE, SCardDisconnect(0x1234, SCARD_LEAVE_CARD));
    EXPECT_EQ(SCARD_E_INVALID_PARAMETER, SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, nullptr));
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    EXPECT_EQ(SCARD_E_UNKNOWN_READER,
              SCardConnectA(m_ctx, "No Such Reader 00 00", SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol));
    // The second reader holds no card.
    EXPECT_EQ(SCARD_E_NO_SMARTCARD, SCardConnectA(m_ctx, kReader1, SCARD_SHARE_SHARED,
                                                  SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card, &protocol));
}

TEST_F(ShimTest, EdgeResponsesOfTheCard) {
    UseProfile("edge");
    Connect();
    std::vector<BYTE> rsp;
    const BYTE oneByte[] = {0x00, 0xCA, 0x00, 0x01, 0x00};
    ASSERT_EQ(SCARD_S_SUCCESS, Send(oneByte, sizeof oneByte, rsp));
    EXPECT_EQ("90", Hex(rsp.data(), DWORD(rsp.size())));

    const BYTE big[] = {0x00, 0xB0, 0x00, 0x00, 0x00};
    ASSERT_EQ(SCARD_S_SUCCESS, Send(big, sizeof big, rsp));
    ASSERT_EQ(512u, rsp.size());
    EXPECT_EQ(0xFD, rsp[509]);
    EXPECT_EQ("9000", Hex(&rsp[510], 2));
    // The same answer does not fit a smaller buffer.
    EXPECT_EQ(SCARD_E_INSUFFICIENT_BUFFER, Send(big, sizeof big, rsp, 100));

    const BYTE missing[] = {0x00, 0xA4, 0x04, 0x00, 0x05, 0xA0, 0x00, 0x00, 0x00, 0x02};
    ASSERT_EQ(SCARD_S_SUCCESS, Send(missing, sizeof missing, rsp));
    EXPECT_EQ("6A82", Hex(rsp.data(), DWORD(rsp.size())));
}

TEST_F(ShimTest, CardPulledOutMidSession) {
    UseProfile("remove");
    Connect();
    std::vector<BYTE> rsp;
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(SCARD_S_SUCCESS, Send(challenge, sizeof challenge, rsp)) << i;
    // Once pcscd has noticed the empty reader (it polls the driver), exchanges fail and the handle reports
    // the removal; before that, the driver may still hand back an empty answer for the vanished card.
    ASSERT_EQ(0, CRigControl::Run("wait-card 0 empty"));
    LONG rv = Send(challenge, sizeof challenge, rsp);
    EXPECT_NE(SCARD_S_SUCCESS, rv);
    EXPECT_EQ(DWORD(rv), GetLastError());
    DWORD dummy = 0;
    EXPECT_EQ(kRemovedCard, SCardStatusA(m_card, nullptr, &dummy, nullptr, nullptr, nullptr, &dummy));
    UseProfile("default");
}

TEST_F(ShimTest, ContextOutlivesPcscdRestartsWithOtherReaderSets) {
    ASSERT_EQ(0, CRigControl::Run("swap-reader-set none"));
    DWORD n = 0;
    EXPECT_EQ(SCARD_E_NO_READERS_AVAILABLE, SCardListReadersA(m_ctx, nullptr, nullptr, &n));

    ASSERT_EQ(0, CRigControl::Run("swap-reader-set renamed"));
    LPSTR list = nullptr;
    n = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCARD_S_SUCCESS, SCardListReadersA(m_ctx, nullptr, reinterpret_cast<LPSTR>(&list), &n));
    EXPECT_EQ((std::vector<std::string>{"Spare PCD 00 00", "Spare PCD 00 01"}), Names(list));
    SCardFreeMemory(m_ctx, list);

    ASSERT_EQ(0, CRigControl::Run("swap-reader-set two"));
    Connect();
    std::vector<BYTE> rsp;
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    EXPECT_EQ(SCARD_S_SUCCESS, Send(challenge, sizeof challenge, rsp));
}

TEST_F(ShimTest, CardHandleOfARestartedServiceReportsTheReaderGone) {
    Connect();
    ASSERT_EQ(0, CRigControl::Run("swap-reader-set two"));
    std::vector<BYTE> rsp;
    const BYTE challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    EXPECT_EQ(SCARD_E_READER_UNAVAILABLE, Send(challenge, sizeof challenge, rsp));
    // Disconnecting such a handle succeeds: there is nothing left to hold.
    EXPECT_EQ(SCARD_S_SUCCESS, SCardDisconnect(m_card, SCARD_LEAVE_CARD));
    m_card = 0;
}

} // namespace
