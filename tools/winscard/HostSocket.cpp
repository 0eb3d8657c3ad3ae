#include "tools/winscard/HostSocket.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

// Linux system calls made straight from the Windows program. Results of -4095..-1 are negated errno values.
// i386: number in eax, arguments in ebx, ecx, edx; the socket operations share one entry point, socketcall,
// that takes an operation and an array of arguments. x86_64: number in rax, arguments in rdi, rsi, rdx, r10,
// r8; every socket operation has its own number; the instruction clobbers rcx and r11.
using HostWord = std::intptr_t;

#if defined(__i386__)
HostWord HostCall(HostWord number, HostWord a, HostWord b, HostWord c) {
    HostWord result;
    __asm__ volatile("int $0x80" : "=a"(result) : "0"(number), "b"(a), "c"(b), "d"(c) : "memory");
    return result;
}
#elif defined(__x86_64__)
HostWord HostCall(HostWord number, HostWord a, HostWord b, HostWord c, HostWord d = 0, HostWord e = 0) {
    HostWord result;
    register HostWord r10 __asm__("r10") = d;
    register HostWord r8 __asm__("r8") = e;
    __asm__ volatile("syscall"
                     : "=a"(result)
                     : "0"(number), "D"(a), "S"(b), "d"(c), "r"(r10), "r"(r8)
                     : "rcx", "r11", "memory");
    return result;
}
#else
HostWord HostCall(HostWord, HostWord, HostWord, HostWord, HostWord = 0, HostWord = 0) {
    return -38; // ENOSYS
}
#endif

constexpr HostWord kEintr = -4;
constexpr HostWord kAfInet = 2;
constexpr HostWord kSockStream = 1;
constexpr HostWord kSockCloexec = 0x80000; // never inherited by programs the process starts
constexpr HostWord kSolSocket = 1;
constexpr HostWord kSoRcvtimeo = 20;       // with the timeval of the calling ABI (below)
constexpr HostWord kIpprotoTcp = 6;
constexpr HostWord kTcpNodelay = 1;
constexpr HostWord kMsgNosignal = 0x4000;  // a peer that went away is an error, not a signal

#if defined(__x86_64__)
constexpr HostWord kSysRead = 0;
constexpr HostWord kSysClose = 3;
constexpr HostWord kSysSocket = 41;
constexpr HostWord kSysConnect = 42;
constexpr HostWord kSysSendto = 44;
constexpr HostWord kSysSetsockopt = 54;

struct HostTimeval {
    std::int64_t seconds;
    std::int64_t microseconds;
};
static_assert(sizeof(HostTimeval) == 16, "struct timeval of x86_64 Linux");
#else
constexpr HostWord kSysRead = 3;
constexpr HostWord kSysClose = 6;
constexpr HostWord kSysSocketcall = 102;
// socketcall's operations.
constexpr HostWord kSocket = 1;
constexpr HostWord kConnect = 3;
constexpr HostWord kSend = 9;
constexpr HostWord kSetsockopt = 14;

struct HostTimeval {
    std::int32_t seconds;
    std::int32_t microseconds;
};
static_assert(sizeof(HostTimeval) == 8, "struct timeval of i386 Linux");
#endif

// Repeats a call that a signal interrupted.
template <typename Call> HostWord Retrying(Call call) {
    HostWord rv;
    do
        rv = call();
    while (rv == kEintr);
    return rv;
}

template <typename T> HostWord Word(T *pointer) { return reinterpret_cast<HostWord>(pointer); }

// The socket operations the connection needs, one per ABI.
#if defined(__x86_64__)
HostWord HostSocket(HostWord family, HostWord type) {
    return Retrying([&] { return HostCall(kSysSocket, family, type, 0); });
}
HostWord HostConnect(HostWord fd, const void *addr, HostWord size) {
    return Retrying([&] { return HostCall(kSysConnect, fd, Word(addr), size); });
}
HostWord HostSetsockopt(HostWord fd, HostWord level, HostWord name, const void *value, HostWord size) {
    return Retrying([&] { return HostCall(kSysSetsockopt, fd, level, name, Word(value), size); });
}
HostWord HostSend(HostWord fd, const void *data, HostWord size, HostWord flags) {
    return Retrying([&] { return HostCall(kSysSendto, fd, Word(data), size, flags, 0); });
}
#else
HostWord SocketCall(HostWord op, const HostWord *args) {
    return Retrying([&] { return HostCall(kSysSocketcall, op, Word(args), 0); });
}
HostWord HostSocket(HostWord family, HostWord type) {
    const HostWord args[] = {family, type, 0};
    return SocketCall(kSocket, args);
}
HostWord HostConnect(HostWord fd, const void *addr, HostWord size) {
    const HostWord args[] = {fd, Word(addr), size};
    return SocketCall(kConnect, args);
}
HostWord HostSetsockopt(HostWord fd, HostWord level, HostWord name, const void *value, HostWord size) {
    const HostWord args[] = {fd, level, name, Word(value), size};
    return SocketCall(kSetsockopt, args);
}
HostWord HostSend(HostWord fd, const void *data, HostWord size, HostWord flags) {
    const HostWord args[] = {fd, Word(data), size, flags};
    return SocketCall(kSend, args);
}
#endif

struct HostSockaddrIn {
    std::uint16_t family;
    std::uint8_t port[2]; // network order
    std::uint8_t addr[4];
    std::uint8_t zero[8];
};
static_assert(sizeof(HostSockaddrIn) == 16, "struct sockaddr_in");

} // namespace

bool CHostSocket::Available() {
#if defined(__i386__) || defined(__x86_64__)
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
    HostWord fd = HostSocket(kAfInet, kSockStream | kSockCloexec);
    if (fd < 0)
        return false;
    m_fd = int(fd);
    HostSockaddrIn addr = {};
    addr.family = kAfInet;
    addr.port[0] = std::uint8_t(port >> 8);
    addr.port[1] = std::uint8_t(port);
    addr.addr[0] = 127;
    addr.addr[3] = 1;
    if (HostConnect(fd, &addr, HostWord(sizeof addr)) != 0) {
        Close();
        return false;
    }
    int one = 1;
    HostSetsockopt(fd, kIpprotoTcp, kTcpNodelay, &one, HostWord(sizeof one));
    HostTimeval timeout = {};
    timeout.seconds = timeoutMs / 1000;
    timeout.microseconds = timeoutMs % 1000 * 1000;
    HostSetsockopt(fd, kSolSocket, kSoRcvtimeo, &timeout, HostWord(sizeof timeout));
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
        HostWord n = HostSend(m_fd, data, HostWord(size), kMsgNosignal);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

int CHostSocket::Receive(std::uint8_t *data, size_t size) {
    HostWord n = Retrying([&] { return HostCall(kSysRead, m_fd, Word(data), HostWord(size)); });
    return n > 0 ? int(n) : -1;
}
