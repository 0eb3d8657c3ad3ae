// The shim's connection through the host kernel's sockets, against a Winsock listener in the same
// Wine process (both ends meet in the host's TCP stack).
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "tools/winscard/HostSocket.h"

namespace {

class HostSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA wsa;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_NE(INVALID_SOCKET, m_listener);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(0, bind(m_listener, reinterpret_cast<sockaddr *>(&addr), sizeof addr));
        ASSERT_EQ(0, listen(m_listener, 1));
        int length = sizeof addr;
        ASSERT_EQ(0, getsockname(m_listener, reinterpret_cast<sockaddr *>(&addr), &length));
        m_port = ntohs(addr.sin_port);
    }
    void TearDown() override {
        if (m_peer != INVALID_SOCKET)
            closesocket(m_peer);
        closesocket(m_listener);
        WSACleanup();
    }
    // Connects the host socket and accepts its peer.
    void Connect(CHostSocket &socket, unsigned timeoutMs) {
        ASSERT_TRUE(socket.Connect(m_port, timeoutMs));
        m_peer = accept(m_listener, nullptr, nullptr);
        ASSERT_NE(INVALID_SOCKET, m_peer);
    }

    SOCKET m_listener = INVALID_SOCKET;
    SOCKET m_peer = INVALID_SOCKET;
    unsigned short m_port = 0;
};

TEST_F(HostSocketTest, IsAvailableUnderWineOnLinux) {
    // The tests run under Wine on Linux; elsewhere the shim keeps to Winsock.
    EXPECT_TRUE(CHostSocket::Available());
}

TEST_F(HostSocketTest, CarriesLargeMessagesBothWaysAndReportsThePeerLeaving) {
    CHostSocket socket;
    Connect(socket, 5000);
    EXPECT_TRUE(socket.IsOpen());

    // Larger than a socket buffer, so both sides see partial transfers.
    std::vector<std::uint8_t> out(300000);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    // The peer reads everything, then echoes it back.
    int peerResult = -1;
    std::thread peer([this, &peerResult, size = out.size()] {
        std::vector<char> in(size);
        size_t got = 0;
        while (got < in.size()) {
            int n = recv(m_peer, in.data() + got, int(in.size() - got), 0);
            if (n <= 0) {
                peerResult = 1;
                return;
            }
            got += size_t(n);
        }
        size_t sent = 0;
        while (sent < in.size()) {
            int n = send(m_peer, in.data() + sent, int(in.size() - sent), 0);
            if (n <= 0) {
                peerResult = 2;
                return;
            }
            sent += size_t(n);
        }
        peerResult = 0;
    });
    EXPECT_TRUE(socket.SendAll(out.data(), out.size()));
    std::vector<std::uint8_t> back(out.size());
    size_t got = 0;
    while (got < back.size()) {
        int n = socket.Receive(back.data() + got, back.size() - got);
        if (n <= 0)
            break;
        got += size_t(n);
    }
    peer.join();
    EXPECT_EQ(0, peerResult);
    EXPECT_EQ(out, back);

    closesocket(m_peer);
    m_peer = INVALID_SOCKET;
    std::uint8_t byte = 0;
    EXPECT_EQ(-1, socket.Receive(&byte, 1));
    // Sending to a peer that left fails (sooner or later) instead of raising a signal.
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i)
        failed = !socket.SendAll(out.data(), 4096);
    EXPECT_TRUE(failed);
    socket.Close();
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(HostSocketTest, ASilentPeerEndsTheReceiveAfterTheTimeout) {
    CHostSocket socket;
    Connect(socket, 300);
    auto t0 = std::chrono::steady_clock::now();
    std::uint8_t byte = 0;
    EXPECT_EQ(-1, socket.Receive(&byte, 1));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(seconds, 0.25);
    EXPECT_LT(seconds, 5.0);
}

TEST_F(HostSocketTest, NobodyListeningMeansNoConnection) {
    const unsigned short port = m_port;
    closesocket(m_listener);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); // for TearDown
    CHostSocket socket;
    EXPECT_FALSE(socket.Connect(port, 1000));
    EXPECT_FALSE(socket.IsOpen());
}

} // namespace
