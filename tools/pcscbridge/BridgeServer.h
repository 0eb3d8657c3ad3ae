// Listens on the loopback address and serves each connection in a thread of its own.
#pragma once

#include "tools/pcscbridge/UniqueFd.h"

#include <atomic>
#include <cstdint>
#include <string>

class CBridgeServer {
public:
    // Binds 127.0.0.1:port (0 picks a free port). Returns false with a message on failure.
    bool Listen(std::uint16_t port, std::string &error);
    std::uint16_t Port() const { return m_port; }
    // Accepts connections until Stop() or a fatal error.
    void Serve();
    void Stop() { m_bStop = true; }

private:
    CUniqueFd m_listener;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_bStop{false};
};
