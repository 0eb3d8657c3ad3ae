// The bridge's wire format, its Windows/pcsc-lite mappings and its refusal of malformed requests.
#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/BridgeSession.h"
#include "tools/pcscbridge/WinPcscMap.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"

#include <gtest/gtest.h>

#include <vector>

using namespace BridgeProtocol;

namespace {

TEST(WireTest, ReaderStopsAtTheEndOfItsBuffer) {
    const std::uint8_t data[] = {0x78, 0x56, 0x34, 0x12, 0x03, 0x00, 0x00, 0x00, 0xAA, 0xBB};
    CWireReader r(data, sizeof data);
    std::uint32_t v = 0;
    ASSERT_TRUE(r.U32(v));
    EXPECT_EQ(0x12345678u, v);
    const std::uint8_t *p = nullptr;
    std::uint32_t n = 0;
    // Three bytes announced, two present: refused, and the position is kept.
    EXPECT_FALSE(r.Bytes(p, n, 100));
    ASSERT_TRUE(r.U32(v));
    EXPECT_EQ(3u, v);
    std::uint8_t b = 0;
    EXPECT_TRUE(r.U8(b));
    EXPECT_TRUE(r.U8(b));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.U8(b));
    EXPECT_FALSE(r.U32(v));
}

TEST(WireTest, ByteStringsRespectTheirLimitAndHugeLengths) {
    CWireWriter w;
    w.Bytes("abcd", 4);
    const auto &msg = w.Finish();
    ASSERT_EQ(12u, msg.size());
    EXPECT_EQ(8u, msg[0]);
    const std::uint8_t *p = nullptr;
    std::uint32_t n = 0;
    CWireReader limited(msg.data() + 4, msg.size() - 4);
    EXPECT_FALSE(limited.Bytes(p, n, 3));
    EXPECT_TRUE(limited.Bytes(p, n, 4));
    EXPECT_EQ(4u, n);
    EXPECT_EQ('a', p[0]);

    const std::uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    CWireReader r(huge, sizeof huge);
    EXPECT_FALSE(r.Bytes(p, n, 0xFFFFFFFFu));
}

TEST(WinPcscMapTest, ResultsStateAndProtocols) {
    EXPECT_EQ(0x80100022u, CWinPcscMap::Result(0x8010001F)); // unsupported feature
    EXPECT_EQ(0x80100069u, CWinPcscMap::Result(0x80100069)); // removed card: same on both
    EXPECT_EQ(0u, CWinPcscMap::Result(0));

    EXPECT_EQ(1u, CWinPcscMap::StateToWin(SCARD_ABSENT, 0));
    EXPECT_EQ(2u, CWinPcscMap::StateToWin(SCARD_PRESENT, 0));
    EXPECT_EQ(4u, CWinPcscMap::StateToWin(SCARD_PRESENT | SCARD_POWERED, 0));
    EXPECT_EQ(5u, CWinPcscMap::StateToWin(SCARD_PRESENT | SCARD_POWERED | SCARD_NEGOTIABLE, 0));
    EXPECT_EQ(6u, CWinPcscMap::StateToWin(SCARD_PRESENT | SCARD_POWERED | SCARD_NEGOTIABLE, SCARD_PROTOCOL_T1));
    EXPECT_EQ(6u, CWinPcscMap::StateToWin(SCARD_PRESENT | SCARD_POWERED | SCARD_SPECIFIC, SCARD_PROTOCOL_T0));
    EXPECT_EQ(0u, CWinPcscMap::StateToWin(0, 0));

    EXPECT_EQ(static_cast<unsigned long>(SCARD_PROTOCOL_RAW), CWinPcscMap::ProtocolsToLite(kProtocolRawWin));
    EXPECT_EQ(3ul, CWinPcscMap::ProtocolsToLite(3));
    EXPECT_EQ(kProtocolRawWin, CWinPcscMap::ProtocolToWin(SCARD_PROTOCOL_RAW));
    EXPECT_EQ(kProtocolT1, CWinPcscMap::ProtocolToWin(SCARD_PROTOCOL_T1));
}

std::vector<std::uint8_t> Payload(std::initializer_list<std::uint8_t> bytes) {
    return std::vector<std::uint8_t>(bytes);
}

// Requests that must close the connection, and requests answered without reaching pcsc-lite.
TEST(BridgeSessionTest, MalformedRequestsAreRefusedAndUnknownHandlesAnswered) {
    CBridgeSession session{CUniqueFd()};
    const std::vector<std::vector<std::uint8_t>> malformed = {
        Payload({}),
        Payload({0x00}),
        Payload({0xEE, 1, 2, 3, 4}),
        Payload({OP_ESTABLISH, 2, 0, 0}),                                            // truncated scope
        Payload({OP_ESTABLISH, 2, 0, 0, 0, 9}),                                      // trailing byte
        Payload({OP_CONNECT, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0, 0}), // name past the end
        Payload({OP_TRANSMIT, 1, 0, 0, 0}),
    };
    for (const auto &p : malformed) {
        CWireWriter out;
        EXPECT_FALSE(session.Handle(p.data(), std::uint32_t(p.size()), out)) << p.size();
    }

    struct Case {
        std::vector<std::uint8_t> request;
        std::uint32_t rc;
    };
    const Case answered[] = {
        {Payload({OP_ESTABLISH, 7, 0, 0, 0}), 0x80100011}, // scope out of range
        {Payload({OP_RELEASE, 1, 2, 3, 4}), 0x80100003},   // unknown context
        {Payload({OP_IS_VALID, 1, 2, 3, 4}), 0x80100003},
        {Payload({OP_STATUS, 1, 2, 3, 4}), 0x80100003}, // unknown card
        {Payload({OP_DISCONNECT, 1, 2, 3, 4, 0, 0, 0, 0}), 0x80100003},
        {Payload({OP_TRANSMIT, 1, 2, 3, 4, 1, 0, 0, 0, 0, 2, 0, 0, 1, 0, 0, 0, 0x00}), 0x80100003},
    };
    for (const Case &c : answered) {
        CWireWriter out;
        ASSERT_TRUE(session.Handle(c.request.data(), std::uint32_t(c.request.size()), out));
        const auto &msg = out.Finish();
        ASSERT_EQ(8u, msg.size());
        CWireReader r(msg.data() + 4, 4);
        std::uint32_t rc = 0;
        ASSERT_TRUE(r.U32(rc));
        EXPECT_EQ(c.rc, rc) << int(c.request[0]);
    }
}

} // namespace
