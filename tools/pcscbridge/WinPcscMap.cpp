#include "tools/pcscbridge/WinPcscMap.h"

#include "tools/pcscbridge/BridgeProtocol.h"

#include <PCSC/winscard.h>

namespace {

struct ResultPair {
    std::uint32_t lite;
    std::uint32_t win;
};

// pcsc-lite shares Windows' numbers except these. 0x8010001F is both SCARD_E_UNEXPECTED and
// SCARD_E_UNSUPPORTED_FEATURE in pcsc-lite; on the calls the bridge makes it only ever means the
// latter (for example an attribute the driver does not know), which Windows numbers 0x80100022.
const ResultPair kResults[] = {
    {0x8010001F, 0x80100022},
};

} // namespace

std::uint32_t CWinPcscMap::Result(long rv) {
    std::uint32_t code = std::uint32_t(rv);
    for (const ResultPair &p : kResults) {
        if (p.lite == code)
            return p.win;
    }
    return code;
}

unsigned long CWinPcscMap::ProtocolsToLite(std::uint32_t winProtocols) {
    unsigned long lite = winProtocols & (BridgeProtocol::kProtocolT0 | BridgeProtocol::kProtocolT1);
    if (winProtocols & BridgeProtocol::kProtocolRawWin)
        lite |= SCARD_PROTOCOL_RAW;
    return lite;
}

std::uint32_t CWinPcscMap::ProtocolToWin(unsigned long liteProtocol) {
    std::uint32_t win = std::uint32_t(liteProtocol & (SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1));
    if (liteProtocol & SCARD_PROTOCOL_RAW)
        win |= BridgeProtocol::kProtocolRawWin;
    return win;
}

std::uint32_t CWinPcscMap::StateToWin(unsigned long liteState, unsigned long liteProtocol) {
    if ((liteState & (SCARD_NEGOTIABLE | SCARD_SPECIFIC)) && liteProtocol)
        return 6;
    static const struct {
        unsigned long bit;
        std::uint32_t win;
    } kStates[] = {{SCARD_SPECIFIC, 6},  {SCARD_NEGOTIABLE, 5}, {SCARD_POWERED, 4},
                   {SCARD_SWALLOWED, 3}, {SCARD_PRESENT, 2},    {SCARD_ABSENT, 1}};
    for (const auto &s : kStates) {
        if (liteState & s.bit)
            return s.win;
    }
    return 0;
}
