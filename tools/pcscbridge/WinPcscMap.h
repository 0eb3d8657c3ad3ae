// Where pcsc-lite's numbers differ from Windows': result codes, protocols, card states.
#pragma once

#include <cstdint>

class CWinPcscMap {
public:
    // pcsc-lite result -> the value Windows gives for the same condition.
    static std::uint32_t Result(long rv);
    // Protocol sets and active protocols, in either direction.
    static unsigned long ProtocolsToLite(std::uint32_t winProtocols);
    static std::uint32_t ProtocolToWin(unsigned long liteProtocol);
    // pcsc-lite reports the card state as a bit set; Windows as one value (SCARD_ABSENT 1 ... SCARD_SPECIFIC 6).
    // pcsc-lite leaves a connected card "negotiable" even once a protocol is in use, where Windows
    // says "specific"; the active protocol decides.
    static std::uint32_t StateToWin(unsigned long liteState, unsigned long liteProtocol);
};
