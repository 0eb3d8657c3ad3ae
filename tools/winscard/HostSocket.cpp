#include "tools/winscard/HostSocket.h"

#include <windows.h>

#include <cstring>

namespace {

// The i386 Linux system-call interface: number in eax, arguments in ebx, ecx, edx, result in eax
// (-4095..-1 is a negated errno).
#if defined(__i386__)
long HostCall(long number, long a, long b, long c) {
    long result;
    __asm__ volatile("int $0x80" : "=a"(result) : "0"(number), "b"(a), "c"(b), "d"(c) : "memory");
    return result;
}
#else
long HostCall(long, long, long, long) {
    return -38; // ENOSYS
}
#endif

constexpr long kSysRead = 3;
constexpr long kSysClose = 6;
constexpr long kSysSocketcall = 102;
// socketcall's operations (one entry point, arguments in an array).
constexpr long kSocket = 1;
constexpr long kConnect = 3;
constexpr long kSend = 9;
constexpr long kSetsockopt = 14;

constexpr long kEintr = -4;
constexpr long kAfInet = 2;
constexpr long kSockStream = 1;
constexpr long kSockCloexec = 0x80000; // never inherited by programs the process starts
constexpr long kSolSocket = 1;
constexpr long kSoRcvtimeo = 20;       // with the 32-bit timeval of this ABI
constexpr long kIpprotoTcp = 6;
constexpr long kTcpNodelay = 1;
constexpr long kMsgNosignal = 0x4000;  // a peer that went away is an error, not a signal

long SocketCall(long op, const long *args) {
    long rv;
    do
        rv = HostCall(kSysSocketcall, op, reinterpret_cast<long>(args), 0);
    while (rv == kEintr);
    return rv;
}

struct HostSockaddrIn {
    std::uint16_t family;
    std::uint8_t port[2]; // network order
    std::uint8_t addr[4];
    std::uint8_t zero[8];
};
static_assert(sizeof(HostSockaddrIn) == 16, "struct sockaddr_in");

struct HostTimeval {
    std::int32_t seconds;
    std::int32_t microseconds;
};

} // namespace

bool CHostSocket::Available() {
#if defined(__i386__)
    using HostVersionFn = void(__cdecl *)(const char **, const char **);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto hostVersion =
        ntdll ? reinterpret_cast<HostVersionFn>(reinterpret_cast<void *>(GetProcAddress(ntdll, "wine_get_host_version")))
              : nullptr;
    if (!hostVersion)
        return false;
    const char *sysname = nullptr;
    const char *release = nullptr;
    hostVersion(&sysname, &release);
    return sysname && std::strcmp(sysname, "Linux") == 0;
#else
    return false;
#endif
}

bool CHostSocket::Connect(unsigned short port, unsigned timeoutMs) {
    Close();
    const long socketArgs[] = {kAfInet, kSockStream | kSockCloexec, 0};
    long fd = SocketCall(kSocket, socketArgs);
    if (fd < 0)
        return false;
    m_fd = int(fd);
    HostSockaddrIn addr = {};
    addr.family = kAfInet;
    addr.port[0] = std::uint8_t(port >> 8);
    addr.port[1] = std::uint8_t(port);
    addr.addr[0] = 127;
    addr.addr[3] = 1;
    const long connectArgs[] = {fd, reinterpret_cast<long>(&addr), long(sizeof addr)};
    if (SocketCall(kConnect, connectArgs) != 0) {
        Close();
        return false;
    }
    int one = 1;
    const long nodelayArgs[] = {fd, kIpprotoTcp, kTcpNodelay, reinterpret_cast<long>(&one), long(sizeof one)};
    SocketCall(kSetsockopt, nodelayArgs);
    HostTimeval timeout = {std::int32_t(timeoutMs / 1000), std::int32_t(timeoutMs % 1000 * 1000)};
    const long timeoutArgs[] = {fd, kSolSocket, kSoRcvtimeo, reinterpret_cast<long>(&timeout), long(sizeof timeout)};
    SocketCall(kSetsockopt, timeoutArgs);
    return true;
}

void CHostSocket::Close() {
    if (m_fd >= 0) {
        HostCall(kSysClose, m_fd, 0, 0);
        m_fd = -1;
    }
}

bool CHostSocket::SendAll(const std::uint8_t *data, size_t size) {
    while (size) {
        const long args[] = {m_fd, reinterpret_cast<long>(data), long(size), kMsgNosignal};
        long n = SocketCall(kSend, args);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

int CHostSocket::Receive(std::uint8_t *data, size_t size) {
    long n;
    do
        n = HostCall(kSysRead, m_fd, reinterpret_cast<long>(data), long(size));
    while (n == kEintr);
    return n > 0 ? int(n) : -1;
}
