// The process's one connection to the rig's PC/SC bridge: sends a request, returns the answer.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "tools/winscard/CriticalSection.h"
#include "tools/winscard/HostSocket.h"

#include <cstdint>
#include <vector>

class CBridgeClient {
public:
    CBridgeClient() = default;
    ~CBridgeClient();
    CBridgeClient(const CBridgeClient &) = delete;
    CBridgeClient &operator=(const CBridgeClient &) = delete;

    // Sends one complete request message and receives the answer's payload. The first four bytes
    // of the payload are the result code. Returns a PC/SC error when the bridge cannot be reached.
    LONG Call(const std::vector<std::uint8_t> &request, std::vector<std::uint8_t> &payload);

private:
    bool Connect();
    bool ConnectWinsock(unsigned short port);
    bool IsOpen() const { return m_host.IsOpen() || m_socket != INVALID_SOCKET; }
    void Close();
    // One receive of whatever has arrived (up to size): the count, or -1.
    int ReceiveSome(std::uint8_t *data, size_t size);
    bool SendAll(const std::uint8_t *data, size_t size);
    bool RecvAll(std::uint8_t *data, size_t size);
    static unsigned short BridgePort();
    // The kernel's sockets under Wine on Linux unless QX_BRIDGE_TRANSPORT=winsock asks for Winsock.
    static bool UseHostSockets();

    CCriticalSection m_lock;
    CHostSocket m_host;
    SOCKET m_socket = INVALID_SOCKET;
    // Each read asks for as much as is there, so an answer usually arrives in one call.
    std::vector<std::uint8_t> m_inbox;
    size_t m_inboxPos = 0;
    bool m_bWsa = false;
};
