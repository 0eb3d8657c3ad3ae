#include "tools/winscard/BridgeClient.h"

#include "tools/pcscbridge/BridgeProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr LONG kNoService = LONG(0x8010001D);
constexpr LONG kCommError = LONG(0x80100013);
// A slow card may take a while; a bridge that says nothing for this long is treated as gone.
constexpr DWORD kReceiveTimeoutMs = 120000;

} // namespace

CBridgeClient::~CBridgeClient() {
    Close();
    if (m_bWsa)
        WSACleanup();
}

unsigned short CBridgeClient::BridgePort() {
    char value[64] = {};
    if (GetEnvironmentVariableA(BridgeProtocol::kPortEnv, value, sizeof value) - 1 < sizeof value - 1)
        return static_cast<unsigned short>(std::strtoul(value, nullptr, 10));
    // Test runs only know the rig's folder in advance; the bridge writes its port there.
    char dir[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA(BridgeProtocol::kRigDirEnv, dir, sizeof dir);
    if (n == 0 || n >= sizeof dir)
        return 0;
    std::string path = dir;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path; // a Unix path, seen through Wine's drive for the root
    path += "/";
    path += BridgeProtocol::kPortFile;
    FILE *f = std::fopen(path.c_str(), "r");
    if (!f)
        return 0;
    unsigned long port = 0;
    if (std::fscanf(f, "%lu", &port) != 1 || port > 65535)
        port = 0;
    std::fclose(f);
    return static_cast<unsigned short>(port);
}

bool CBridgeClient::UseHostSockets() {
    static const bool use = [] {
        char value[16] = {};
        DWORD n = GetEnvironmentVariableA("QX_BRIDGE_TRANSPORT", value, sizeof value);
        if (n > 0 && n < sizeof value && lstrcmpiA(value, "winsock") == 0)
            return false;
        return CHostSocket::Available();
    }();
    return use;
}

bool CBridgeClient::Connect() {
    if (IsOpen())
        return true;
    unsigned short port = BridgePort();
    if (port == 0)
        return false;
    if (UseHostSockets())
        return m_host.Connect(port, kReceiveTimeoutMs);
    return ConnectWinsock(port);
}

bool CBridgeClient::ConnectWinsock(unsigned short port) {
    if (!m_bWsa) {
        WSADATA wsa;
        if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
            return false;
        m_bWsa = true;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return false;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        closesocket(s);
        return false;
    }
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&one), sizeof one);
    DWORD timeout = kReceiveTimeoutMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
    m_socket = s;
    return true;
}

void CBridgeClient::Close() {
    m_inbox.clear();
    m_inboxPos = 0;
    m_host.Close();
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

bool CBridgeClient::SendAll(const std::uint8_t *data, size_t size) {
    if (m_host.IsOpen())
        return m_host.SendAll(data, size);
    while (size) {
        int n = send(m_socket, reinterpret_cast<const char *>(data), int(size), 0);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool CBridgeClient::RecvAll(std::uint8_t *data, size_t size) {
    const size_t kChunk = 4096;
    while (size) {
        if (m_inboxPos == m_inbox.size()) {
            m_inbox.resize(kChunk);
            int n = ReceiveSome(m_inbox.data(), kChunk);
            if (n <= 0) {
                m_inbox.clear();
                m_inboxPos = 0;
                return false;
            }
            m_inbox.resize(size_t(n));
            m_inboxPos = 0;
        }
        size_t take = m_inbox.size() - m_inboxPos;
        if (take > size)
            take = size;
        std::memcpy(data, m_inbox.data() + m_inboxPos, take);
        m_inboxPos += take;
        data += take;
        size -= take;
    }
    return true;
}

int CBridgeClient::ReceiveSome(std::uint8_t *data, size_t size) {
    if (m_host.IsOpen())
        return m_host.Receive(data, size);
    int n = recv(m_socket, reinterpret_cast<char *>(data), int(size), 0);
    return n > 0 ? n : -1;
}

LONG CBridgeClient::Call(const std::vector<std::uint8_t> &request, std::vector<std::uint8_t> &payload) {
    CCriticalSection::CLock lock(m_lock);
    DWORD savedError = GetLastError();
    LONG rv = 0;
    if (!Connect()) {
        rv = kNoService;
    } else {
        std::uint8_t header[BridgeProtocol::kHeaderSize];
        if (!SendAll(request.data(), request.size()) || !RecvAll(header, sizeof header)) {
            rv = kCommError;
        } else {
            std::uint32_t n = std::uint32_t(header[0]) | std::uint32_t(header[1]) << 8 |
                              std::uint32_t(header[2]) << 16 | std::uint32_t(header[3]) << 24;
            if (n < 4 || n > BridgeProtocol::kMaxPayload) {
                rv = kCommError;
            } else {
                payload.resize(n);
                if (!RecvAll(payload.data(), n))
                    rv = kCommError;
            }
        }
        // After a broken exchange the stream is out of step; start afresh next time.
        if (rv != 0)
            Close();
    }
    // Socket calls must not disturb the caller's last-error value.
    SetLastError(savedError);
    return rv;
}
