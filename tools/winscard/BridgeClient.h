// The process's one connection to the rig's PC/SC bridge: sends a request, returns the answer.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "tools/winscard/CriticalSection.h"

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
    void Close();
    bool SendAll(const std::uint8_t *data, size_t size);
    bool RecvAll(std::uint8_t *data, size_t size);
    static unsigned short BridgePort();

    CCriticalSection m_lock;
    SOCKET m_socket = INVALID_SOCKET;
    // Each read asks for as much as is there, so an answer usually arrives in one call (every
    // socket call is a trip through Wine's server).
    std::vector<std::uint8_t> m_inbox;
    size_t m_inboxPos = 0;
    bool m_bWsa = false;
};
