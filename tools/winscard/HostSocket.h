// A TCP connection made with the host kernel's own socket calls, for a Win32 program running under
// Wine on Linux. Wine passes every Winsock send and receive through its server process (several
// inter-process round trips per call); a rig exchange needs a few microseconds, so the shim talks
// to the bridge through the kernel directly where it can. Elsewhere Available() is false and the
// caller keeps to Winsock.
#pragma once

#include <cstddef>
#include <cstdint>

class CHostSocket {
public:
    CHostSocket() = default;
    ~CHostSocket() { Close(); }
    CHostSocket(const CHostSocket &) = delete;
    CHostSocket &operator=(const CHostSocket &) = delete;

    // True in a process under Wine on a Linux host (x86 or x86-64).
    static bool Available();

    // Connects to 127.0.0.1:port with Nagle off and a receive timeout.
    bool Connect(unsigned short port, unsigned timeoutMs);
    bool IsOpen() const { return m_fd >= 0; }
    void Close();
    // The whole buffer, or false.
    bool SendAll(const std::uint8_t *data, size_t size);
    // Up to size bytes as they arrive: the count, or -1 on error, timeout or end of stream.
    int Receive(std::uint8_t *data, size_t size);

private:
    int m_fd = -1;
};
