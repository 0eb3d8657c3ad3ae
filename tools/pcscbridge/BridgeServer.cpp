#include "tools/pcscbridge/BridgeServer.h"

#include "tools/pcscbridge/BridgeSession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <system_error>
#include <thread>

namespace {

// One connection per Windows process; more than this many at once means something is wrong.
constexpr int kMaxSessions = 64;
std::atomic<int> g_sessions{0};

} // namespace

bool CBridgeServer::Listen(std::uint16_t port, std::string &error) {
    m_listener.Attach(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!m_listener.Valid()) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    int one = 1;
    ::setsockopt(m_listener.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listener.Get(), reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        ::listen(m_listener.Get(), 16) != 0) {
        error = std::string("bind/listen: ") + std::strerror(errno);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listener.Get(), reinterpret_cast<sockaddr *>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    return true;
}

void CBridgeServer::Serve() {
    while (!m_bStop) {
        pollfd pfd{m_listener.Get(), POLLIN, 0};
        int r = ::poll(&pfd, 1, 200);
        if (r <= 0)
            continue;
        CUniqueFd client(::accept4(m_listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.Valid())
            continue;
        if (g_sessions.load() >= kMaxSessions) {
            std::fprintf(stderr, "bridge: too many connections, refusing one\n");
            continue;
        }
        int one = 1;
        // Each answer is one write; do not hold it back waiting for more.
        ::setsockopt(client.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ++g_sessions;
        int fd = client.Detach();
        try {
            std::thread([fd]() {
                {
                    CBridgeSession session{CUniqueFd(fd)};
                    session.Run();
                }
                --g_sessions;
            }).detach();
        } catch (const std::system_error &) {
            // No thread to be had: refuse this client, keep serving the others.
            ::close(fd);
            --g_sessions;
        }
    }
}
