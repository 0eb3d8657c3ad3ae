#include "fuzz/rig/FakePcscLite.h"

#include <PCSC/winscard.h>

#include <cstring>
#include <map>

namespace {

struct State {
    // Handles carry the "pcscd instance" that issued them in their upper bits.
    long generation = 1;
    long next = 1;
    std::map<long, bool> contexts;       // handle -> live
    std::map<long, unsigned long> cards; // handle -> active protocol
};

State g_state;

const unsigned char kAtr[] = {0x3B, 0x8F, 0x80, 0x01, 0x80, 0x4F, 0x0C, 0xA0, 0x00, 0x00,
                              0x03, 0x06, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x6A};
const char kVendor[] = "QX test vendor";

long NewHandle() {
    return (g_state.generation << 20) | (g_state.next++ & 0xFFFFF);
}

bool Current(long h) {
    return (h >> 20) == g_state.generation;
}

// Copies a value the way pcsc-lite does: a null buffer asks for the length, a short one is refused.
LONG Deliver(const void *value, DWORD size, void *buffer, LPDWORD length) {
    if (!length)
        return SCARD_E_INVALID_PARAMETER;
    if (!buffer) {
        *length = size;
        return SCARD_S_SUCCESS;
    }
    if (*length < size) {
        *length = size;
        return SCARD_E_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, value, size);
    *length = size;
    return SCARD_S_SUCCESS;
}

LONG CardCheck(SCARDHANDLE h) {
    if (!g_state.cards.count(h))
        return Current(h) ? SCARD_E_INVALID_HANDLE : SCARD_E_NO_SERVICE;
    return SCARD_S_SUCCESS;
}

unsigned long Choose(DWORD protocols) {
    if (protocols & SCARD_PROTOCOL_T1)
        return SCARD_PROTOCOL_T1;
    if (protocols & SCARD_PROTOCOL_T0)
        return SCARD_PROTOCOL_T0;
    if (protocols & SCARD_PROTOCOL_RAW)
        return SCARD_PROTOCOL_RAW;
    return 0;
}

} // namespace

namespace FakePcsc {

void Reset() {
    g_state = State();
}
int OpenContexts() {
    return int(g_state.contexts.size());
}
int OpenCards() {
    return int(g_state.cards.size());
}

} // namespace FakePcsc

extern "C" {

LONG SCardEstablishContext(DWORD dwScope, LPCVOID, LPCVOID, LPSCARDCONTEXT phContext) {
    if (!phContext || dwScope > SCARD_SCOPE_SYSTEM)
        return SCARD_E_INVALID_VALUE;
    *phContext = NewHandle();
    g_state.contexts[*phContext] = true;
    return SCARD_S_SUCCESS;
}

LONG SCardReleaseContext(SCARDCONTEXT hContext) {
    return g_state.contexts.erase(hContext) ? SCARD_S_SUCCESS : SCARD_E_INVALID_HANDLE;
}

LONG SCardIsValidContext(SCARDCONTEXT hContext) {
    return g_state.contexts.count(hContext) ? SCARD_S_SUCCESS : SCARD_E_INVALID_HANDLE;
}

LONG SCardListReaders(SCARDCONTEXT hContext, LPCSTR, LPSTR mszReaders, LPDWORD pcchReaders) {
    if (!g_state.contexts.count(hContext))
        return Current(hContext) ? SCARD_E_INVALID_HANDLE : SCARD_E_NO_SERVICE;
    char list[sizeof FakePcsc::kCardReader + sizeof FakePcsc::kEmptyReader + 1] = {};
    std::memcpy(list, FakePcsc::kCardReader, sizeof FakePcsc::kCardReader);
    std::memcpy(list + sizeof FakePcsc::kCardReader, FakePcsc::kEmptyReader, sizeof FakePcsc::kEmptyReader);
    return Deliver(list, sizeof list, mszReaders, pcchReaders);
}

LONG SCardConnect(SCARDCONTEXT hContext, LPCSTR szReader, DWORD, DWORD dwPreferredProtocols, LPSCARDHANDLE phCard,
                  LPDWORD pdwActiveProtocol) {
    if (!g_state.contexts.count(hContext))
        return Current(hContext) ? SCARD_E_INVALID_HANDLE : SCARD_E_NO_SERVICE;
    if (std::strcmp(szReader, FakePcsc::kEmptyReader) == 0)
        return SCARD_E_NO_SMARTCARD;
    if (std::strcmp(szReader, FakePcsc::kCardReader) != 0)
        return SCARD_E_UNKNOWN_READER;
    unsigned long protocol = Choose(dwPreferredProtocols);
    if (!protocol)
        return SCARD_E_INVALID_VALUE;
    *phCard = NewHandle();
    *pdwActiveProtocol = protocol;
    g_state.cards[*phCard] = protocol;
    return SCARD_S_SUCCESS;
}

LONG SCardReconnect(SCARDHANDLE hCard, DWORD, DWORD dwPreferredProtocols, DWORD, LPDWORD pdwActiveProtocol) {
    LONG rv = CardCheck(hCard);
    if (rv != SCARD_S_SUCCESS)
        return rv;
    unsigned long protocol = Choose(dwPreferredProtocols);
    if (!protocol)
        return SCARD_E_INVALID_VALUE;
    g_state.cards[hCard] = protocol;
    *pdwActiveProtocol = protocol;
    return SCARD_S_SUCCESS;
}

LONG SCardDisconnect(SCARDHANDLE hCard, DWORD) {
    LONG rv = CardCheck(hCard);
    if (rv == SCARD_S_SUCCESS)
        g_state.cards.erase(hCard);
    return rv;
}

LONG SCardStatus(SCARDHANDLE hCard, LPSTR mszReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState, LPDWORD pdwProtocol,
                 LPBYTE pbAtr, LPDWORD pcbAtrLen) {
    LONG rv = CardCheck(hCard);
    if (rv != SCARD_S_SUCCESS)
        return rv;
    if (pdwState)
        *pdwState = SCARD_PRESENT | SCARD_POWERED | SCARD_NEGOTIABLE;
    if (pdwProtocol)
        *pdwProtocol = g_state.cards[hCard];
    if (pcchReaderLen && (rv = Deliver(FakePcsc::kCardReader, sizeof FakePcsc::kCardReader, mszReaderName,
                                       pcchReaderLen)) != SCARD_S_SUCCESS)
        return rv;
    if (pcbAtrLen)
        rv = Deliver(kAtr, sizeof kAtr, pbAtr, pcbAtrLen);
    return rv;
}

LONG SCardGetAttrib(SCARDHANDLE hCard, DWORD dwAttrId, LPBYTE pbAttr, LPDWORD pcbAttrLen) {
    LONG rv = CardCheck(hCard);
    if (rv != SCARD_S_SUCCESS)
        return rv;
    // Like vpcd: no ATR tag; pcsc-lite itself knows the vendor name.
    if (dwAttrId != FakePcsc::kAttrVendorName)
        return SCARD_E_UNSUPPORTED_FEATURE;
    return Deliver(kVendor, sizeof kVendor, pbAttr, pcbAttrLen);
}

LONG SCardTransmit(SCARDHANDLE hCard, const SCARD_IO_REQUEST *pioSendPci, LPCBYTE pbSendBuffer, DWORD cbSendLength,
                   SCARD_IO_REQUEST *, LPBYTE pbRecvBuffer, LPDWORD pcbRecvLength) {
    LONG rv = CardCheck(hCard);
    if (rv != SCARD_S_SUCCESS)
        return rv;
    if (!pioSendPci || pioSendPci->dwProtocol != g_state.cards[hCard])
        return SCARD_E_PROTO_MISMATCH;
    if (!pbSendBuffer || cbSendLength < 4 || cbSendLength > MAX_BUFFER_SIZE_EXTENDED || !pcbRecvLength)
        return SCARD_E_INVALID_PARAMETER;
    if (pbSendBuffer[0] == FakePcsc::kRestartCla && pbSendBuffer[1] == FakePcsc::kRestartIns) {
        g_state.contexts.clear();
        g_state.cards.clear();
        ++g_state.generation;
        return SCARD_F_COMM_ERROR;
    }
    if (*pcbRecvLength < cbSendLength + 2) {
        *pcbRecvLength = cbSendLength + 2;
        return SCARD_E_INSUFFICIENT_BUFFER;
    }
    std::memcpy(pbRecvBuffer, pbSendBuffer, cbSendLength);
    pbRecvBuffer[cbSendLength] = 0x90;
    pbRecvBuffer[cbSendLength + 1] = 0x00;
    *pcbRecvLength = cbSendLength + 2;
    return SCARD_S_SUCCESS;
}

} // extern "C"
