// The reader object's operations against a scripted PC/SC service.
#include "tests/reader/ReaderTestSupport.h"


#include <gmock/gmock.h>

#include <cstring>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

using C = PcscCall;

// ---- Connect -------------------------------------------------------------------------------------

struct ConnectCase {
    const char *name;
    SCARDHANDLE initial;          // 0: not connected
    LONG reconnectRc;             // used only when connected
    std::vector<LONG> connectRcs; // one per scripted connect attempt
    BOOL result;
    SCARDHANDLE handleAfter;
    std::vector<PcscCall> sequence;
};

class ConnectTest : public ReaderFixture, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectTest, FollowsTheAttemptsAndKeepsTheRightHandle) {
    const ConnectCase &tc = GetParam();
    Connected(tc.initial);
    if (tc.initial) {
        m_fake.Script(C::Reconnect, tc.reconnectRc);
        if (tc.reconnectRc != SCARD_S_SUCCESS)
            m_fake.Script(C::Disconnect, LONG(SCARD_E_INVALID_HANDLE)); // ignored by Connect
    }
    SCARDHANDLE next = 0x100;
    for (LONG rc : tc.connectRcs)
        m_fake.Script(C::Connect, PcscReply{rc, next++});

    EXPECT_EQ(m_reader.Connect(), tc.result);
    EXPECT_EQ(m_reader.m_hCard, tc.handleAfter);
    EXPECT_THAT(m_fake.Sequence(), ElementsAreArray(tc.sequence));

    for (const auto &r : m_fake.CallsOf(C::Reconnect)) {
        EXPECT_EQ(r.handle, tc.initial);
        EXPECT_EQ(r.a, DWORD(SCARD_SHARE_SHARED));
        EXPECT_EQ(r.b, DWORD(SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1));
        EXPECT_EQ(r.c, DWORD(SCARD_UNPOWER_CARD));
    }
    for (const auto &r : m_fake.CallsOf(C::Disconnect)) {
        EXPECT_EQ(r.handle, tc.initial);
        EXPECT_EQ(r.a, DWORD(SCARD_LEAVE_CARD));
    }
    for (const auto &r : m_fake.CallsOf(C::Connect)) {
        EXPECT_EQ(r.handle, kContext);
        EXPECT_EQ(r.text, "Reader A 0");
        EXPECT_EQ(r.a, DWORD(SCARD_SHARE_SHARED));
        EXPECT_EQ(r.b, DWORD(SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1));
        EXPECT_TRUE(r.bufferGiven);
    }
}

const LONG kOk = SCARD_S_SUCCESS;
const LONG kNoCard = LONG(SCARD_E_NO_SMARTCARD);
const LONG kGone = LONG(SCARD_W_REMOVED_CARD);
const SCARDHANDLE kCard = ReaderFixture::kCard;

INSTANTIATE_TEST_SUITE_P(
    Reader, ConnectTest,
    ::testing::Values(ConnectCase{"FirstAttempt", 0, kOk, {kOk}, TRUE, 0x100, {C::Connect}},
                      // The second attempt follows at once: no pause between them.
                      ConnectCase{"SecondAttempt", 0, kOk, {kNoCard, kOk}, TRUE, 0x101, {C::Connect, C::Connect}},
                      ConnectCase{"ExactlyTwoAttempts", 0, kOk, {kNoCard, kNoCard}, FALSE, 0, {C::Connect, C::Connect}},
                      // Connected: a cold reset by reconnect, same handle, no new connection.
                      ConnectCase{"ReconnectKeepsHandle", kCard, kOk, {}, TRUE, kCard, {C::Reconnect}},
                      ConnectCase{"FailedReconnectConnectsAfresh",
                                  kCard,
                                  kGone,
                                  {kOk},
                                  TRUE,
                                  0x100,
                                  {C::Reconnect, C::Disconnect, C::Connect}},
                      ConnectCase{"FailedReconnectAndConnects",
                                  kCard,
                                  kGone,
                                  {kNoCard, kNoCard},
                                  FALSE,
                                  0,
                                  {C::Reconnect, C::Disconnect, C::Connect, C::Connect}}),
    [](const ::testing::TestParamInfo<ConnectCase> &info) { return std::string(info.param.name); });

// The connect dialog calls Init on every use: the newest reader and context count, the first mutex stays.
TEST_F(ReaderFixture, InitAgainReplacesReaderAndContextButKeepsTheFirstMutex) {
    const HANDLE hMutex = m_reader.m_mutex.GetHandle();
    ASSERT_NE(hMutex, nullptr);
    const std::string otherName = UniqueMutexName("InitAgainOther");
    EXPECT_TRUE(m_reader.Init(0x0D0D, "Reader B 1", otherName.c_str()));
    EXPECT_EQ(m_reader.m_mutex.GetHandle(), hMutex);
    EXPECT_EQ(m_reader.m_strReader, "Reader B 1");
    EXPECT_EQ(m_reader.m_hContext, 0x0D0Du);
    CNamedMutex probe;
    probe.Attach(::OpenMutexA(SYNCHRONIZE, FALSE, otherName.c_str()));
    EXPECT_EQ(probe.GetHandle(), nullptr) << "a second mutex was created";

    m_fake.Script(C::Connect, PcscReply{kOk, 0x200});
    EXPECT_TRUE(m_reader.Connect());
    const auto calls = m_fake.CallsOf(C::Connect);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handle, 0x0D0Du);
    EXPECT_EQ(calls[0].text, "Reader B 1");
}

// ---- Disconnect, Reset, EnsureConnected, destruction ---------------------------------------------

TEST_F(ReaderFixture, DisconnectWithoutConnectionSucceedsWithoutPcsc) {
    EXPECT_TRUE(m_reader.Disconnect());
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(ReaderFixture, DisconnectLeavesTheCardAndClearsTheHandleOnlyOnSuccess) {
    Connected();
    m_fake.Script(C::Disconnect, LONG(SCARD_E_SHARING_VIOLATION));
    EXPECT_FALSE(m_reader.Disconnect());
    EXPECT_EQ(m_reader.m_hCard, kCard);

    m_fake.Script(C::Disconnect, kOk);
    EXPECT_TRUE(m_reader.Disconnect());
    EXPECT_EQ(m_reader.m_hCard, 0u);

    const auto calls = m_fake.CallsOf(C::Disconnect);
    ASSERT_EQ(calls.size(), 2u);
    for (const auto &r : calls) {
        EXPECT_EQ(r.handle, kCard);
        EXPECT_EQ(r.a, DWORD(SCARD_LEAVE_CARD));
    }
}

TEST(ReaderLifetime, DestructionDisconnectsLeavingTheCard) {
    CPcscFake fake;
    {
        QXCCIDINT reader;
        reader.m_hCard = 0x42;
        fake.Script(C::Disconnect, kOk);
    }
    const auto calls = fake.CallsOf(C::Disconnect);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handle, 0x42u);
    EXPECT_EQ(calls[0].a, DWORD(SCARD_LEAVE_CARD));
}

TEST(ReaderLifetime, FreshObjectIsEmpty) {
    QXCCIDINT reader;
    EXPECT_TRUE(reader.m_strReader.empty());
    EXPECT_EQ(reader.m_hCard, 0u);
    EXPECT_EQ(reader.m_cbAtr, 0u);
    EXPECT_EQ(reader.m_hContext, 0u);
    EXPECT_EQ(reader.m_mutex.GetHandle(), nullptr);
    const BYTE zeros[CCardReader::ATR_CAPACITY] = {};
    EXPECT_EQ(std::memcmp(reader.m_pbAtr, zeros, sizeof(zeros)), 0);
}

TEST_F(ReaderFixture, ResetReconnectsUnpoweredAndKeepsTheHandle) {
    EXPECT_FALSE(m_reader.Reset()) << "no handle: nothing to reset";
    EXPECT_TRUE(m_fake.Calls().empty());

    Connected();
    m_fake.Script(C::Reconnect, kOk);
    EXPECT_TRUE(m_reader.Reset());
    m_fake.Script(C::Reconnect, kGone);
    EXPECT_FALSE(m_reader.Reset());
    EXPECT_EQ(m_reader.m_hCard, kCard);

    const auto calls = m_fake.CallsOf(C::Reconnect);
    ASSERT_EQ(calls.size(), 2u);
    for (const auto &r : calls) {
        EXPECT_EQ(r.handle, kCard);
        EXPECT_EQ(r.a, DWORD(SCARD_SHARE_SHARED));
        EXPECT_EQ(r.b, DWORD(SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1));
        EXPECT_EQ(r.c, DWORD(SCARD_UNPOWER_CARD));
    }
}

TEST_F(ReaderFixture, EnsureConnectedKeepsALiveHandle) {
    Connected();
    m_fake.Script(C::Status, kOk);
    EXPECT_TRUE(m_reader.EnsureConnected());
    EXPECT_EQ(m_reader.m_hCard, kCard);
    ASSERT_THAT(m_fake.Sequence(), ElementsAre(C::Status));
    const PcscRecord &r = m_fake.Calls()[0];
    EXPECT_EQ(r.handle, kCard);
    EXPECT_EQ(r.inLength, 512u);
    EXPECT_EQ(r.inLength2, 256u);
    EXPECT_TRUE(r.bufferGiven);
}

TEST_F(ReaderFixture, EnsureConnectedConnectsAfreshWithoutDisconnecting) {
    Connected();
    m_fake.Script(C::Status, kGone);
    m_fake.Script(C::Connect, PcscReply{kNoCard});
    m_fake.Script(C::Connect, PcscReply{kOk, 0x777});
    EXPECT_TRUE(m_reader.EnsureConnected());
    EXPECT_EQ(m_reader.m_hCard, 0x777u);
    EXPECT_THAT(m_fake.Sequence(), ElementsAre(C::Status, C::Connect, C::Connect));
}

TEST_F(ReaderFixture, EnsureConnectedKeepsTheOldHandleWhenBothConnectsFail) {
    Connected();
    m_fake.Script(C::Status, kGone);
    m_fake.Script(C::Connect, kNoCard);
    m_fake.Script(C::Connect, kNoCard);
    EXPECT_FALSE(m_reader.EnsureConnected());
    EXPECT_EQ(m_reader.m_hCard, kCard);
    EXPECT_THAT(m_fake.Sequence(), ElementsAre(C::Status, C::Connect, C::Connect));
}

// ---- ATR -----------------------------------------------------------------------------------------

TEST_F(ReaderFixture, GetAtrWithoutBufferTouchesNothing) {
    Connected();
    DWORD cb = 0xAAAA;
    ::SetLastError(0x1234);
    EXPECT_FALSE(m_reader.GetAtr(nullptr, &cb));
    EXPECT_EQ(cb, 0xAAAAu);
    EXPECT_EQ(::GetLastError(), 0x1234u);
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(ReaderFixture, GetAtrWithoutConnectionFailsWithInvalidHandle) {
    BYTE atr[32];
    DWORD cb = 0;
    EXPECT_FALSE(m_reader.GetAtr(atr, &cb));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(ReaderFixture, GetAtrCopiesExactlyTheAtr) {
    Connected();
    const std::string atr = Hex("3B 8F 80 01 80 4F 0C A0 00 00 03 06");
    PcscReply length;
    length.value = DWORD(atr.size());
    m_fake.Script(C::GetAttrib, length);
    PcscReply read;
    read.bytes = atr;
    m_fake.Script(C::GetAttrib, read);

    BYTE buffer[40];
    std::memset(buffer, 0xEE, sizeof(buffer));
    DWORD cb = 0;
    ASSERT_TRUE(m_reader.GetAtr(buffer, &cb));
    EXPECT_EQ(cb, atr.size());
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), cb), atr);
    EXPECT_EQ(buffer[atr.size()], 0xEE) << "nothing copied past the ATR";

    const auto calls = m_fake.CallsOf(C::GetAttrib);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].a, DWORD(SCARD_ATTR_ATR_STRING));
    EXPECT_FALSE(calls[0].bufferGiven);
    EXPECT_EQ(calls[1].a, DWORD(SCARD_ATTR_ATR_STRING));
    EXPECT_TRUE(calls[1].bufferGiven);
    EXPECT_EQ(calls[1].inLength, 32u);
}

TEST_F(ReaderFixture, ReadAtrFailures) {
    Connected();

    // Length query fails: the last error stays what the PC/SC layer left.
    PcscReply refused(LONG(SCARD_E_UNSUPPORTED_FEATURE));
    refused.lastError = 0x5151;
    m_fake.Script(C::GetAttrib, refused);
    EXPECT_FALSE(m_reader.ReadAtr());
    EXPECT_EQ(::GetLastError(), 0x5151u);

    // 33 bytes do not fit: the read is not attempted.
    PcscReply tooLong;
    tooLong.value = 33;
    m_fake.Script(C::GetAttrib, tooLong);
    EXPECT_FALSE(m_reader.ReadAtr());
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_BAD_LENGTH));

    // The read itself fails.
    PcscReply length;
    length.value = 10;
    m_fake.Script(C::GetAttrib, length);
    m_fake.Script(C::GetAttrib, LONG(SCARD_W_REMOVED_CARD));
    EXPECT_FALSE(m_reader.ReadAtr());

    EXPECT_EQ(m_fake.CallsOf(C::GetAttrib).size(), 4u);
    EXPECT_EQ(m_reader.m_cbAtr, 0u);
}

TEST_F(ReaderFixture, ReadAtrRefusesALengthThatOutgrowsTheBuffer) {
    // A service that claims more than it was given room for must not make GetAtr copy past 32 bytes.
    Connected();
    PcscReply length;
    length.value = 32;
    m_fake.Script(C::GetAttrib, length);
    PcscReply read;
    read.bytes = std::string(32, '\x3B');
    read.reportedLength = 200;
    m_fake.Script(C::GetAttrib, read);
    BYTE buffer[32];
    DWORD cb = 0;
    EXPECT_FALSE(m_reader.GetAtr(buffer, &cb));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_BAD_LENGTH));
    EXPECT_EQ(m_reader.m_cbAtr, 0u);
}

TEST_F(ReaderFixture, ReadAtrOfFullLength) {
    Connected();
    PcscReply length;
    length.value = 32;
    m_fake.Script(C::GetAttrib, length);
    PcscReply read;
    read.bytes = std::string(32, '\x3B');
    m_fake.Script(C::GetAttrib, read);
    EXPECT_TRUE(m_reader.ReadAtr());
    EXPECT_EQ(m_reader.m_cbAtr, 32u);
}

// ---- Transmit ------------------------------------------------------------------------------------

struct TransmitCase {
    const char *name;
    std::vector<PcscReply> answers; // one per exchange the card is expected to see
    std::vector<std::string> sent;  // the commands it sees, in order
    BOOL result;
    bool outputsWritten;
    std::string data;
    WORD status;
};

PcscReply Answer(const std::string &bytes, long reported = -1) {
    PcscReply r;
    r.bytes = bytes;
    r.reportedLength = reported;
    return r;
}

PcscReply Failure(LONG rc) {
    return PcscReply{rc};
}

class TransmitTest : public ReaderFixture, public ::testing::WithParamInterface<TransmitCase> {};

const std::string kSelect = Hex("00 A4 04 00 07 A0 00 00 00 03 10 10");
const std::string kGetResponse10 = Hex("00 C0 00 00 10");
const std::string kData16 = Hex("6F 0E 84 07 A0 00 00 00 03 10 10 A5 03 88 01 01");

TEST_P(TransmitTest, ReportsTheFinalAnswer) {
    const TransmitCase &tc = GetParam();
    Connected();
    for (const auto &a : tc.answers)
        m_fake.Script(C::Transmit, a);

    BYTE data[600];
    std::memset(data, 0xEE, sizeof(data));
    DWORD cbData = 0xDEAD;
    WORD wStatus = 0xBEEF;
    ::SetLastError(0x4444);
    EXPECT_EQ(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), data, &cbData,
                                &wStatus),
              tc.result);

    const auto calls = m_fake.CallsOf(C::Transmit);
    ASSERT_EQ(calls.size(), tc.sent.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].text, tc.sent[i]) << "exchange " << i;
        EXPECT_EQ(calls[i].handle, kCard);
        EXPECT_EQ(calls[i].pciProtocol, 0u);
        EXPECT_EQ(calls[i].pciLength, 8u);
        EXPECT_FALSE(calls[i].extraGiven) << "no receive header";
        EXPECT_TRUE(calls[i].bufferGiven);
        EXPECT_EQ(calls[i].inLength, 512u);
    }

    if (tc.outputsWritten) {
        EXPECT_EQ(wStatus, tc.status);
        ASSERT_EQ(cbData, tc.data.size());
        EXPECT_EQ(std::string(reinterpret_cast<char *>(data), cbData), tc.data);
        EXPECT_EQ(data[cbData], 0xEE) << "status bytes are not data";
    } else {
        EXPECT_EQ(cbData, 0xDEADu);
        EXPECT_EQ(wStatus, 0xBEEFu);
        EXPECT_EQ(data[0], 0xEE);
    }
    if (tc.result) {
        EXPECT_EQ(::GetLastError(), 0x4444u) << "success leaves the last error alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reader, TransmitTest,
    ::testing::Values(
        TransmitCase{"Ok", {Answer(kData16 + Hex("90 00"))}, {kSelect}, TRUE, true, kData16, 0x9000},
        TransmitCase{"StatusOnly", {Answer(Hex("90 00"))}, {kSelect}, TRUE, true, "", 0x9000},
        TransmitCase{"NotFound", {Answer(Hex("6A 82"))}, {kSelect}, FALSE, true, "", 0x6A82},
        TransmitCase{"WarningWithData", {Answer(Hex("01 02 62 83"))}, {kSelect}, FALSE, true, Hex("01 02"), 0x6283},
        TransmitCase{"GetResponse",
                     {Answer(Hex("61 10")), Answer(kData16 + Hex("90 00"))},
                     {kSelect, kGetResponse10},
                     TRUE,
                     true,
                     kData16,
                     0x9000},
        // One GET RESPONSE only, whatever it answers.
        TransmitCase{"SecondMoreDataReportedUnchanged",
                     {Answer(Hex("61 10")), Answer(Hex("AA BB 61 05"))},
                     {kSelect, kGetResponse10},
                     FALSE,
                     true,
                     Hex("AA BB"),
                     0x6105},
        TransmitCase{"GetResponseLeZero",
                     {Answer(Hex("61 00")), Answer(std::string(256, '\x5A') + Hex("90 00"))},
                     {kSelect, Hex("00 C0 00 00 00")},
                     TRUE,
                     true,
                     std::string(256, '\x5A'),
                     0x9000},
        TransmitCase{"LargestResponse",
                     {Answer(std::string(510, '\x11') + Hex("90 00"))},
                     {kSelect},
                     TRUE,
                     true,
                     std::string(510, '\x11'),
                     0x9000},
        TransmitCase{"FirstExchangeFails", {Failure(LONG(SCARD_W_REMOVED_CARD))}, {kSelect}, FALSE, false, "", 0},
        TransmitCase{"GetResponseExchangeFails",
                     {Answer(Hex("61 10")), Failure(LONG(SCARD_E_COMM_DATA_LOST))},
                     {kSelect, kGetResponse10},
                     FALSE,
                     false,
                     "",
                     0},
        // Answers without a status word: failure, status 0, no data (and nothing read beyond them).
        TransmitCase{"EmptyAnswer", {Answer("")}, {kSelect}, FALSE, true, "", 0},
        TransmitCase{"OneByteAnswer", {Answer(Hex("90"))}, {kSelect}, FALSE, true, "", 0},
        TransmitCase{"ShortGetResponseAnswer",
                     {Answer(Hex("61 10")), Answer(Hex("90"))},
                     {kSelect, kGetResponse10},
                     FALSE,
                     true,
                     "",
                     0},
        // A length beyond the buffer that was offered is not believed.
        TransmitCase{"LengthBeyondTheBuffer", {Answer(Hex("90 00"), 4096)}, {kSelect}, FALSE, true, "", 0}),
    [](const ::testing::TestParamInfo<TransmitCase> &info) { return std::string(info.param.name); });

TEST_F(ReaderFixture, TransmitFailureLeavesTheLastErrorItCausedOnly) {
    Connected();
    m_fake.Script(C::Transmit, Failure(LONG(SCARD_W_REMOVED_CARD)));
    EXPECT_FALSE(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), nullptr,
                                   nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), DWORD(SCARD_W_REMOVED_CARD));

    // A failed GET RESPONSE reports nothing of its own.
    m_fake.Script(C::Transmit, Answer(Hex("61 10")));
    m_fake.Script(C::Transmit, Failure(LONG(SCARD_E_COMM_DATA_LOST)));
    ::SetLastError(0x4444);
    EXPECT_FALSE(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), nullptr,
                                   nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), 0x4444u);

    // A short answer does.
    m_fake.Script(C::Transmit, Answer(Hex("90")));
    EXPECT_FALSE(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), nullptr,
                                   nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_BAD_LENGTH));
}

TEST_F(ReaderFixture, TransmitCopiesDataOnlyThroughALengthPointer) {
    Connected();
    m_fake.Script(C::Transmit, Answer(kData16 + Hex("90 00")));
    BYTE data[64];
    std::memset(data, 0xEE, sizeof(data));
    WORD wStatus = 0;
    EXPECT_TRUE(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), data, nullptr,
                                  &wStatus));
    EXPECT_EQ(wStatus, 0x9000);
    for (BYTE b : data)
        ASSERT_EQ(b, 0xEE) << "data copied without a length pointer";

    // The length alone, without a buffer, is still reported; absent status pointer is fine.
    m_fake.Script(C::Transmit, Answer(kData16 + Hex("6A 82")));
    DWORD cbData = 0;
    EXPECT_FALSE(m_reader.Transmit(reinterpret_cast<const BYTE *>(kSelect.data()), DWORD(kSelect.size()), nullptr,
                                   &cbData, nullptr));
    EXPECT_EQ(cbData, kData16.size());
}

// ---- Reader presence -----------------------------------------------------------------------------

PcscReply List(const std::string &multiString, long reported = -1) {
    PcscReply r;
    r.bytes = multiString;
    r.reportedLength = reported;
    return r;
}

const std::string kTwoReaders = std::string("Other Reader 0\0Reader A 0\0\0", 27);

TEST_F(ReaderFixture, IsReaderPresentWithoutContextAsksNothing) {
    m_reader.m_hContext = 0;
    EXPECT_FALSE(m_reader.IsReaderPresent());
    EXPECT_TRUE(m_fake.Calls().empty());
}

struct PresenceCase {
    const char *name;
    std::string reader;
    PcscReply list;
    BOOL present;
};

class PresenceTest : public ReaderFixture, public ::testing::WithParamInterface<PresenceCase> {};

TEST_P(PresenceTest, MatchesWholeNamesExactly) {
    const PresenceCase &tc = GetParam();
    m_reader.m_strReader = tc.reader;
    m_fake.Script(C::ListReaders, tc.list);
    EXPECT_EQ(m_reader.IsReaderPresent(), tc.present);
    ASSERT_THAT(m_fake.Sequence(), ElementsAre(C::ListReaders, C::FreeMemory));
    const PcscRecord &list = m_fake.Calls()[0];
    EXPECT_EQ(list.handle, kContext);
    EXPECT_FALSE(list.extraGiven) << "no group filter";
    EXPECT_EQ(list.inLength, DWORD(SCARD_AUTOALLOCATE));
    EXPECT_EQ(m_fake.Calls()[1].handle, kContext);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, PresenceTest,
    ::testing::Values(PresenceCase{"SecondName", "Reader A 0", List(kTwoReaders), TRUE},
                      PresenceCase{"FirstName", "Other Reader 0", List(kTwoReaders), TRUE},
                      PresenceCase{"Absent", "Reader B 0", List(kTwoReaders), FALSE},
                      PresenceCase{"CaseSensitive", "reader a 0", List(kTwoReaders), FALSE},
                      PresenceCase{"PrefixIsNotAName", "Reader A", List(kTwoReaders), FALSE},
                      PresenceCase{"LongerIsNotAName", "Reader A 00", List(kTwoReaders), FALSE},
                      PresenceCase{"EmptyList", "Reader A 0", List(std::string("\0", 1)), FALSE},
                      // Lists that break the format are read only within their reported length
                      // (the fake puts an inaccessible page right after them).
                      PresenceCase{"Unterminated", "Reader A 0", List("Reader A 0"), FALSE},
                      PresenceCase{"UnterminatedOther", "Reader A 0", List("Other"), FALSE},
                      PresenceCase{"LengthShorterThanList", "Reader A 0", List(kTwoReaders, 15), FALSE},
                      PresenceCase{"ZeroLength", "Reader A 0", List(kTwoReaders, 0), FALSE}),
    [](const ::testing::TestParamInfo<PresenceCase> &info) { return std::string(info.param.name); });

TEST_F(ReaderFixture, IsReaderPresentPausesAndStartsOverWhenNoReaderIsLeft) {
    m_fake.Script(C::ListReaders, LONG(SCARD_E_NO_READERS_AVAILABLE));
    m_fake.Script(C::EstablishContext, PcscReply{kOk, 0x5EC0});
    m_fake.Script(C::ListReaders, List(kTwoReaders));
    EXPECT_TRUE(m_reader.IsReaderPresent());
    ASSERT_THAT(m_fake.Sequence(),
                ElementsAre(C::ListReaders, C::Sleep, C::EstablishContext, C::ListReaders, C::FreeMemory));
    const auto &calls = m_fake.Calls();
    EXPECT_EQ(calls[1].a, 100u) << "the pause";
    EXPECT_EQ(calls[2].a, DWORD(SCARD_SCOPE_SYSTEM));
    EXPECT_EQ(calls[3].handle, 0x5EC0u) << "listed on the new context";
    EXPECT_EQ(calls[4].handle, 0x5EC0u);
    EXPECT_EQ(m_reader.m_hContext, 0x5EC0u);
}

TEST_F(ReaderFixture, IsReaderPresentGivesUpWhenTheNewContextFails) {
    m_fake.Script(C::ListReaders, LONG(SCARD_E_NO_READERS_AVAILABLE));
    m_fake.Script(C::EstablishContext, LONG(SCARD_E_NO_SERVICE));
    EXPECT_FALSE(m_reader.IsReaderPresent());
    EXPECT_THAT(m_fake.Sequence(), ElementsAre(C::ListReaders, C::Sleep, C::EstablishContext));
    EXPECT_EQ(m_reader.m_hContext, kContext);
}

TEST_F(ReaderFixture, IsReaderPresentListsOnceMoreAfterOtherFailures) {
    m_fake.Script(C::ListReaders, LONG(SCARD_E_INVALID_HANDLE));
    m_fake.Script(C::ListReaders, List(kTwoReaders));
    EXPECT_TRUE(m_reader.IsReaderPresent());
    EXPECT_THAT(m_fake.Sequence(), ElementsAre(C::ListReaders, C::ListReaders, C::FreeMemory));

    m_fake.Script(C::ListReaders, LONG(SCARD_E_INVALID_HANDLE));
    m_fake.Script(C::ListReaders, LONG(SCARD_E_NO_READERS_AVAILABLE));
    EXPECT_FALSE(m_reader.IsReaderPresent());
    EXPECT_EQ(m_fake.CallsOf(C::ListReaders).size(), 4u);
    EXPECT_TRUE(m_fake.CallsOf(C::Sleep).empty());
}

} // namespace

// ---- The seam and the abstract reader ------------------------------------------------------------

namespace {

TEST(PcscSeam, OverridesNestAndRestore) {
    EXPECT_EQ(Pcsc().ConnectA, SystemPcscApi().ConnectA);
    EXPECT_EQ(SystemPcscApi().Transmit, &::SCardTransmit) << "bound to winscard.dll by default";
    {
        CPcscFake outer;
        const PcscApi *pOuter = &Pcsc();
        EXPECT_NE(Pcsc().ConnectA, SystemPcscApi().ConnectA);
        {
            CPcscFake inner;
            EXPECT_NE(&Pcsc(), pOuter);
        }
        EXPECT_EQ(&Pcsc(), pOuter) << "the inner scope put the outer table back";
    }
    EXPECT_EQ(&Pcsc(), &SystemPcscApi());
    PcscApi table = SystemPcscApi();
    EXPECT_EQ(SetPcscApi(&table), nullptr);
    EXPECT_EQ(SetPcscApi(nullptr), &table);
}

// GetAtr reaches ReadAtr through the virtual table and copies what it left.
class CScriptedAtrReader : public QXCCIDINT {
public:
    BOOL ReadAtr() override {
        ++m_nReads;
        if (!m_bSucceed)
            return FALSE;
        std::memcpy(m_pbAtr, "\x3B\x02\x14\x50", 4);
        m_cbAtr = 4;
        return TRUE;
    }
    int m_nReads = 0;
    bool m_bSucceed = true;
};

TEST(CardReader, GetAtrUsesTheOverriddenReadAtr) {
    CScriptedAtrReader reader;
    CCardReader &base = reader;
    BYTE atr[32] = {};
    DWORD cb = 0;
    ASSERT_TRUE(base.GetAtr(atr, &cb));
    EXPECT_EQ(reader.m_nReads, 1);
    EXPECT_EQ(cb, 4u);
    EXPECT_EQ(std::memcmp(atr, "\x3B\x02\x14\x50", 4), 0);

    reader.m_bSucceed = false;
    cb = 99;
    EXPECT_FALSE(base.GetAtr(atr, &cb));
    EXPECT_EQ(cb, 99u);
    EXPECT_FALSE(base.GetAtr(nullptr, &cb));
    EXPECT_EQ(reader.m_nReads, 2) << "an absent buffer does not read";
}

} // namespace
