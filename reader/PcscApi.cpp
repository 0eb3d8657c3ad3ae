#include "reader/PcscApi.h"

namespace {
const PcscApi *g_pOverride = nullptr;
}

const PcscApi &SystemPcscApi() {
    // Built on first use: the imported addresses are only known once the loader has run.
    static const PcscApi s_system = {
        &::SCardEstablishContext, &::SCardListReadersA, &::SCardFreeMemory, &::SCardConnectA, &::SCardReconnect,
        &::SCardDisconnect,       &::SCardStatusA,      &::SCardGetAttrib,  &::SCardTransmit, &::Sleep,
    };
    return s_system;
}

const PcscApi &Pcsc() {
    return g_pOverride ? *g_pOverride : SystemPcscApi();
}

const PcscApi *SetPcscApi(const PcscApi *pApi) {
    const PcscApi *pPrevious = g_pOverride;
    g_pOverride = pApi;
    return pPrevious;
}
