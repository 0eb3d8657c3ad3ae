// The bridge daemon on the running rig, spoken to over its socket: hostile frames, clients that
// vanish, pcscd restarts, and the places where it stands in for the Windows service.
#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/UniqueFd.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace BridgeProtocol;

namespace {

const char kReader0[] = "Virtual PCD 00 00";
const std::vector<std::uint8_t> kDefaultAtr = {0x3B, 0xDB, 0x96, 0x00, 0x80, 0xB1, 0xFE, 0x45, 0x1F, 0x83, 0x00,
                                               0x31, 0xC0, 0x64, 0xC7, 0xFC, 0x10, 0x00, 0x01, 0x90, 0x00, 0x74};

std::string RigDir() {
    const char *d = std::getenv("QX_RIG_DIR");
    return d ? d : "";
}

// With QX_RIG_SESSION_DIRS, this test session's rig lies in a folder named after its Wine prefix,
// as scripts/rig.sh decides; settle it before any test runs (rig.sh then gets the final folder).
const bool g_sessionRigDir = [] {
    const char *prefix = std::getenv("QX_WINEPREFIX");
    const char *flag = std::getenv("QX_RIG_SESSION_DIRS");
    if (!prefix || !*prefix || !flag || !*flag || RigDir().empty())
        return false;
    std::string p = prefix;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    setenv("QX_RIG_DIR", (RigDir() + "/" + p.substr(p.find_last_of('/') + 1)).c_str(), 1);
    unsetenv("QX_RIG_SESSION_DIRS");
    return true;
}();

int Rig(const std::string &args) {
    const char *root = std::getenv("QX_ROOT");
    std::string cmd = std::string("'") + (root ? root : ".") + "/scripts/rig.sh' " + args + " >/dev/null";
    return std::system(cmd.c_str());
}

int RigPid(const std::string &name) {
    std::ifstream f(RigDir() + "/" + name + ".pid");
    int pid = 0;
    f >> pid;
    return pid;
}

bool Alive(int pid) {
    return pid > 0 && ::kill(pid, 0) == 0;
}

// A client of the bridge's wire format, as the Windows DLL is.
class CClient {
public:
    CClient() {
        std::ifstream f(RigDir() + "/" + kPortFile);
        unsigned port = 0;
        f >> port;
        m_fd.Attach(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(std::uint16_t(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_bConnected = ::connect(m_fd.Get(), reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
        timeval tv{5, 0};
        ::setsockopt(m_fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    bool Connected() const { return m_bConnected; }
    bool SendRaw(const void *p, size_t n) { return ::send(m_fd.Get(), p, n, MSG_NOSIGNAL) == ssize_t(n); }
    // True when the bridge closed this connection (reads end of stream).
    bool ClosedByPeer() {
        char c;
        return ::recv(m_fd.Get(), &c, 1, 0) == 0;
    }
    // Sends a request; returns the result code, the rest of the answer in `rest`. ~0u if no answer.
    std::uint32_t Call(CWireWriter &req, std::vector<std::uint8_t> &rest) {
        const auto &msg = req.Finish();
        if (!SendRaw(msg.data(), msg.size()))
            return ~0u;
        std::uint8_t hdr[4];
        if (!RecvAll(hdr, 4))
            return ~0u;
        std::uint32_t n = hdr[0] | hdr[1] << 8 | hdr[2] << 16 | std::uint32_t(hdr[3]) << 24;
        if (n < 4 || n > kMaxPayload)
            return ~0u;
        std::vector<std::uint8_t> payload(n);
        if (!RecvAll(payload.data(), n))
            return ~0u;
        rest.assign(payload.begin() + 4, payload.end());
        return payload[0] | payload[1] << 8 | payload[2] << 16 | std::uint32_t(payload[3]) << 24;
    }
    std::uint32_t Establish(std::uint32_t &ctx) {
        CWireWriter w;
        w.U8(OP_ESTABLISH);
        w.U32(2);
        std::vector<std::uint8_t> rest;
        std::uint32_t rc = Call(w, rest);
        CWireReader r(rest.data(), rest.size());
        if (rc == 0 && !r.U32(ctx))
            return ~0u;
        return rc;
    }
    std::uint32_t List(std::uint32_t ctx, std::string &names) {
        CWireWriter w;
        w.U8(OP_LIST_READERS);
        w.U32(ctx);
        std::vector<std::uint8_t> rest;
        std::uint32_t rc = Call(w, rest);
        CWireReader r(rest.data(), rest.size());
        const std::uint8_t *p = nullptr;
        std::uint32_t n = 0;
        if (rc == 0 && r.Bytes(p, n, kMaxReaderList))
            names.assign(reinterpret_cast<const char *>(p), n);
        return rc;
    }
    std::uint32_t Connect(std::uint32_t ctx, std::uint32_t share, std::uint32_t &card) {
        CWireWriter w;
        w.U8(OP_CONNECT);
        w.U32(ctx);
        w.U32(share);
        w.U32(3);
        w.Bytes(kReader0, sizeof kReader0 - 1);
        std::vector<std::uint8_t> rest;
        std::uint32_t rc = Call(w, rest);
        CWireReader r(rest.data(), rest.size());
        if (rc == 0 && !r.U32(card))
            return ~0u;
        return rc;
    }
    std::uint32_t Transmit(std::uint32_t card, const std::vector<std::uint8_t> &cmd, std::vector<std::uint8_t> &rsp) {
        CWireWriter w;
        w.U8(OP_TRANSMIT);
        w.U32(card);
        w.U32(0);
        w.U32(512);
        w.Bytes(cmd.data(), cmd.size());
        std::vector<std::uint8_t> rest;
        std::uint32_t rc = Call(w, rest);
        CWireReader r(rest.data(), rest.size());
        std::uint32_t protocol = 0, n = 0;
        const std::uint8_t *p = nullptr;
        if (rc == 0 && r.U32(protocol) && r.Bytes(p, n, kMaxResponse))
            rsp.assign(p, p + n);
        return rc;
    }

private:
    bool RecvAll(std::uint8_t *p, size_t n) {
        while (n) {
            ssize_t r = ::recv(m_fd.Get(), p, n, 0);
            if (r <= 0)
                return false;
            p += r;
            n -= size_t(r);
        }
        return true;
    }

    CUniqueFd m_fd;
    bool m_bConnected = false;
};

std::vector<std::uint8_t> Frame(std::uint32_t declared, const std::vector<std::uint8_t> &body) {
    std::vector<std::uint8_t> f = {std::uint8_t(declared), std::uint8_t(declared >> 8), std::uint8_t(declared >> 16),
                                   std::uint8_t(declared >> 24)};
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

TEST(BridgeE2ETest, SurvivesMalformedFramesAndKeepsServing) {
    const int bridgePid = RigPid("bridge");
    ASSERT_TRUE(Alive(bridgePid));
    CClient steady; // a well-behaved client connected through the whole storm
    ASSERT_TRUE(steady.Connected());

    std::mt19937 rng(20261208);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int closedAsExpected = 0;
    for (int i = 0; i < 300 && std::chrono::steady_clock::now() < deadline; ++i) {
        CClient c;
        ASSERT_TRUE(c.Connected()) << i;
        std::vector<std::uint8_t> body(rng() % 64);
        for (auto &b : body)
            b = std::uint8_t(rng());
        switch (i % 5) {
        case 0: // an empty or oversized length
            ASSERT_TRUE(c.SendRaw(Frame((i & 8) ? 0 : kMaxPayload + 1 + rng() % 100000, body).data(), 4));
            closedAsExpected += c.ClosedByPeer();
            break;
        case 1: { // an operation the bridge does not know
            body.insert(body.begin(), std::uint8_t(OP_TRANSMIT + 1 + rng() % 200));
            auto f = Frame(std::uint32_t(body.size()), body);
            ASSERT_TRUE(c.SendRaw(f.data(), f.size()));
            closedAsExpected += c.ClosedByPeer();
            break;
        }
        case 2: { // a known operation with its fields cut short
            body.assign(1 + rng() % 3, 0);
            body[0] = std::uint8_t(OP_ESTABLISH + rng() % OP_TRANSMIT);
            auto f = Frame(std::uint32_t(body.size()), body);
            ASSERT_TRUE(c.SendRaw(f.data(), f.size()));
            closedAsExpected += c.ClosedByPeer();
            break;
        }
        case 3: { // a truncated frame, then the client goes away
            auto f = Frame(std::uint32_t(body.size() + 1 + rng() % 1000), body);
            c.SendRaw(f.data(), f.size());
            ++closedAsExpected;
            break;
        }
        default: { // plain noise
            c.SendRaw(body.data(), body.size());
            ++closedAsExpected;
            break;
        }
        }
    }
    EXPECT_GE(closedAsExpected, 250);
    EXPECT_TRUE(Alive(bridgePid));

    std::uint32_t ctx = 0;
    ASSERT_EQ(0u, steady.Establish(ctx));
    std::string names;
    ASSERT_EQ(0u, steady.List(ctx, names));
    EXPECT_EQ(0u, names.find("Virtual PCD 00 00"));
    CClient fresh;
    std::uint32_t ctx2 = 0;
    EXPECT_EQ(0u, fresh.Establish(ctx2));
}

TEST(BridgeE2ETest, AtrAttributeStatusAndUnsupportedAttributeAsWindowsAnswers) {
    CClient c;
    std::uint32_t ctx = 0, card = 0;
    ASSERT_EQ(0u, c.Establish(ctx));
    ASSERT_EQ(0u, c.Connect(ctx, 2, card));

    CWireWriter attr;
    attr.U8(OP_GET_ATTRIB);
    attr.U32(card);
    attr.U32(kAttrAtrString);
    std::vector<std::uint8_t> rest;
    ASSERT_EQ(0u, c.Call(attr, rest));
    CWireReader r(rest.data(), rest.size());
    const std::uint8_t *p = nullptr;
    std::uint32_t n = 0;
    ASSERT_TRUE(r.Bytes(p, n, kMaxAttrib));
    EXPECT_EQ(kDefaultAtr, std::vector<std::uint8_t>(p, p + n));

    CWireWriter vendor;
    vendor.U8(OP_GET_ATTRIB);
    vendor.U32(card);
    vendor.U32(0x00010103); // SCARD_ATTR_VENDOR_IFD_SERIAL_NO: vpcd does not know it
    EXPECT_EQ(0x80100022u, c.Call(vendor, rest));

    CWireWriter status;
    status.U8(OP_STATUS);
    status.U32(card);
    ASSERT_EQ(0u, c.Call(status, rest));
    CWireReader s(rest.data(), rest.size());
    std::uint32_t state = 0;
    ASSERT_TRUE(s.U32(state));
    EXPECT_EQ(6u, state); // SCARD_SPECIFIC as Windows numbers it
}

TEST(BridgeE2ETest, SessionEndReleasesExclusiveCardsAndDyingClientsHurtNoOne) {
    {
        CClient holder;
        std::uint32_t ctx = 0, card = 0;
        ASSERT_EQ(0u, holder.Establish(ctx));
        ASSERT_EQ(0u, holder.Connect(ctx, 1 /* exclusive */, card));
        CClient other;
        std::uint32_t ctx2 = 0, card2 = 0;
        ASSERT_EQ(0u, other.Establish(ctx2));
        EXPECT_EQ(0x8010000Bu, other.Connect(ctx2, 2, card2)); // sharing violation while held
        // A client that dies in the middle of a call.
        CWireWriter w;
        w.U8(OP_TRANSMIT);
        w.U32(card);
        w.U32(0);
        w.U32(512);
        const std::uint8_t challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
        w.Bytes(challenge, sizeof challenge);
        const auto &msg = w.Finish();
        ASSERT_TRUE(holder.SendRaw(msg.data(), msg.size()));
    }
    CClient next;
    std::uint32_t ctx = 0, card = 0;
    ASSERT_EQ(0u, next.Establish(ctx));
    std::uint32_t rc = ~0u;
    for (int i = 0; i < 40 && rc != 0; ++i) {
        rc = next.Connect(ctx, 1, card);
        if (rc)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(0u, rc);
    std::vector<std::uint8_t> rsp;
    ASSERT_EQ(0u, next.Transmit(card, {0x00, 0x84, 0x00, 0x00, 0x08}, rsp));
    EXPECT_EQ(10u, rsp.size());
    EXPECT_TRUE(Alive(RigPid("bridge")));
}

TEST(BridgeE2ETest, FailsFastWithoutPcscdAndRecoversTheSameContext) {
    CClient c;
    std::uint32_t ctx = 0;
    ASSERT_EQ(0u, c.Establish(ctx));
    int pcscd = RigPid("pcscd");
    ASSERT_TRUE(Alive(pcscd));
    ::kill(pcscd, SIGTERM);
    for (int i = 0; i < 100 && Alive(pcscd); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    auto start = std::chrono::steady_clock::now();
    std::string names;
    EXPECT_EQ(0x8010001Du, c.List(ctx, names)); // SCARD_E_NO_SERVICE
    std::uint32_t other = 0;
    EXPECT_EQ(0x8010001Du, c.Establish(other));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    ASSERT_EQ(0, Rig("swap-reader-set two"));
    ASSERT_EQ(0u, c.List(ctx, names));
    EXPECT_EQ(0u, names.find("Virtual PCD 00 00"));
}

} // namespace
