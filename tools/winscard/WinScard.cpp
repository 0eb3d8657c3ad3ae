// The test rig's winscard.dll: Windows' PC/SC entry points (32-bit signatures and semantics),
// answered by the rig's bridge daemon on the host. Built for tests and `make run` only.
// Before any system header: <windows.h> pulls in <winscard.h> with import declarations otherwise.
#define WINSCARDAPI __declspec(dllexport)
#define WINSCARDDATA __declspec(dllexport)
#include <winsock2.h>
#include <windows.h>
#include <winscard.h>

#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"
#include "tools/winscard/BridgeClient.h"
#include "tools/winscard/CriticalSection.h"

#include <cstring>
#include <new>
#include <set>
#include <string>
#include <vector>

using namespace BridgeProtocol;

extern "C" {
const SCARD_IO_REQUEST g_rgSCardT0Pci = {SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardT1Pci = {SCARD_PROTOCOL_T1, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardRawPci = {SCARD_PROTOCOL_RAW, sizeof(SCARD_IO_REQUEST)};
}

namespace {

CBridgeClient *g_pBridge = nullptr;
CCriticalSection *g_pAllocLock = nullptr;
std::set<void *> *g_pAllocations = nullptr; // blocks handed out for SCARD_AUTOALLOCATE

// Windows' winscard leaves a failure's code as the thread's last error too; callers such as the
// console's ATR reader rely on finding it there.
LONG Done(LONG rv) {
    if (rv != SCARD_S_SUCCESS)
        SetLastError(DWORD(rv));
    return rv;
}

// Sends one request and checks the answer's result code; `in` then reads the rest of the answer.
struct CAnswer {
    std::vector<std::uint8_t> payload;
    LONG rv = SCARD_S_SUCCESS;
};

LONG Exchange(CWireWriter &request, CAnswer &answer, CWireReader *&in) {
    LONG rv = g_pBridge->Call(request.Finish(), answer.payload);
    if (rv != SCARD_S_SUCCESS)
        return rv;
    in = new (std::nothrow) CWireReader(answer.payload.data(), answer.payload.size());
    std::uint32_t code = 0;
    if (!in || !in->U32(code))
        return SCARD_F_COMM_ERROR;
    return LONG(code);
}

struct CReaderHolder {
    CWireReader *p = nullptr;
    ~CReaderHolder() { delete p; }
};

void *Allocate(size_t size) {
    void *p = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (p) {
        CCriticalSection::CLock lock(*g_pAllocLock);
        g_pAllocations->insert(p);
    }
    return p;
}

// Hands a result to the caller with Windows' buffer rules: a null buffer asks for the length,
// SCARD_AUTOALLOCATE returns a block to be released with SCardFreeMemory, a short buffer fails
// with SCARD_E_INSUFFICIENT_BUFFER and the length needed.
LONG Deliver(const std::uint8_t *data, std::uint32_t size, void *buffer, LPDWORD pcb) {
    if (!pcb)
        return SCARD_E_INVALID_PARAMETER;
    if (*pcb == SCARD_AUTOALLOCATE) {
        if (!buffer)
            return SCARD_E_INVALID_PARAMETER;
        void *block = Allocate(size);
        if (!block)
            return SCARD_E_NO_MEMORY;
        std::memcpy(block, data, size);
        *static_cast<void **>(buffer) = block;
    } else if (buffer) {
        if (*pcb < size) {
            *pcb = size;
            return SCARD_E_INSUFFICIENT_BUFFER;
        }
        std::memcpy(buffer, data, size);
    }
    *pcb = size;
    return SCARD_S_SUCCESS;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_pBridge = new (std::nothrow) CBridgeClient;
        g_pAllocLock = new (std::nothrow) CCriticalSection;
        g_pAllocations = new (std::nothrow) std::set<void *>;
        return g_pBridge && g_pAllocLock && g_pAllocations;
    }
    // At process exit (reserved non-null) other threads are gone and the bridge notices the
    // closed connection by itself; only an explicit unload tidies up.
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        delete g_pBridge;
        delete g_pAllocations;
        delete g_pAllocLock;
    }
    return TRUE;
}

LONG WINAPI SCardEstablishContext(DWORD dwScope, LPCVOID, LPCVOID, LPSCARDCONTEXT phContext) {
    if (!phContext)
        return Done(SCARD_E_INVALID_PARAMETER);
    CWireWriter req;
    req.U8(OP_ESTABLISH);
    req.U32(dwScope);
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    std::uint32_t id = 0;
    if (rv == SCARD_S_SUCCESS && !in.p->U32(id))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS)
        *phContext = id;
    return Done(rv);
}

LONG WINAPI SCardReleaseContext(SCARDCONTEXT hContext) {
    CWireWriter req;
    req.U8(OP_RELEASE);
    req.U32(std::uint32_t(hContext));
    CAnswer a;
    CReaderHolder in;
    return Done(Exchange(req, a, in.p));
}

LONG WINAPI SCardIsValidContext(SCARDCONTEXT hContext) {
    CWireWriter req;
    req.U8(OP_IS_VALID);
    req.U32(std::uint32_t(hContext));
    CAnswer a;
    CReaderHolder in;
    return Done(Exchange(req, a, in.p));
}

LONG WINAPI SCardListReadersA(SCARDCONTEXT hContext, LPCSTR, LPSTR mszReaders, LPDWORD pcchReaders) {
    if (!pcchReaders)
        return Done(SCARD_E_INVALID_PARAMETER);
    CWireWriter req;
    req.U8(OP_LIST_READERS);
    req.U32(std::uint32_t(hContext));
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    const std::uint8_t *list = nullptr;
    std::uint32_t size = 0;
    if (rv == SCARD_S_SUCCESS && !in.p->Bytes(list, size, kMaxReaderList))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS)
        rv = Deliver(list, size, mszReaders, pcchReaders);
    return Done(rv);
}

LONG WINAPI SCardFreeMemory(SCARDCONTEXT, LPCVOID pvMem) {
    if (!pvMem)
        return SCARD_S_SUCCESS;
    void *p = const_cast<void *>(pvMem);
    {
        CCriticalSection::CLock lock(*g_pAllocLock);
        // Only blocks that this library handed out are released; anything else would corrupt the heap.
        if (!g_pAllocations->erase(p))
            return Done(SCARD_E_INVALID_PARAMETER);
    }
    HeapFree(GetProcessHeap(), 0, p);
    return SCARD_S_SUCCESS;
}

LONG WINAPI SCardConnectA(SCARDCONTEXT hContext, LPCSTR szReader, DWORD dwShareMode, DWORD dwPreferredProtocols,
                          LPSCARDHANDLE phCard, LPDWORD pdwActiveProtocol) {
    if (!szReader || !phCard || !pdwActiveProtocol)
        return Done(SCARD_E_INVALID_PARAMETER);
    size_t n = strnlen(szReader, kMaxReaderName + 1);
    if (n > kMaxReaderName)
        return Done(SCARD_E_UNKNOWN_READER);
    CWireWriter req;
    req.U8(OP_CONNECT);
    req.U32(std::uint32_t(hContext));
    req.U32(dwShareMode);
    req.U32(dwPreferredProtocols);
    req.Bytes(szReader, n);
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    std::uint32_t card = 0, protocol = 0;
    if (rv == SCARD_S_SUCCESS && !(in.p->U32(card) && in.p->U32(protocol)))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS) {
        *phCard = card;
        *pdwActiveProtocol = protocol;
    }
    return Done(rv);
}

LONG WINAPI SCardReconnect(SCARDHANDLE hCard, DWORD dwShareMode, DWORD dwPreferredProtocols, DWORD dwInitialization,
                           LPDWORD pdwActiveProtocol) {
    if (!pdwActiveProtocol)
        return Done(SCARD_E_INVALID_PARAMETER);
    CWireWriter req;
    req.U8(OP_RECONNECT);
    req.U32(std::uint32_t(hCard));
    req.U32(dwShareMode);
    req.U32(dwPreferredProtocols);
    req.U32(dwInitialization);
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    std::uint32_t protocol = 0;
    if (rv == SCARD_S_SUCCESS && !in.p->U32(protocol))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS)
        *pdwActiveProtocol = protocol;
    return Done(rv);
}

LONG WINAPI SCardDisconnect(SCARDHANDLE hCard, DWORD dwDisposition) {
    CWireWriter req;
    req.U8(OP_DISCONNECT);
    req.U32(std::uint32_t(hCard));
    req.U32(dwDisposition);
    CAnswer a;
    CReaderHolder in;
    return Done(Exchange(req, a, in.p));
}

LONG WINAPI SCardStatusA(SCARDHANDLE hCard, LPSTR szReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState,
                         LPDWORD pdwProtocol, LPBYTE pbAtr, LPDWORD pcbAtrLen) {
    CWireWriter req;
    req.U8(OP_STATUS);
    req.U32(std::uint32_t(hCard));
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    std::uint32_t state = 0, protocol = 0, namesSize = 0, atrSize = 0;
    const std::uint8_t *names = nullptr;
    const std::uint8_t *atr = nullptr;
    if (rv == SCARD_S_SUCCESS &&
        !(in.p->U32(state) && in.p->U32(protocol) && in.p->Bytes(names, namesSize, kMaxReaderName + 2) &&
          in.p->Bytes(atr, atrSize, kMaxAttrib)))
        rv = SCARD_F_COMM_ERROR;
    if (rv != SCARD_S_SUCCESS)
        return Done(rv);
    if (pdwState)
        *pdwState = state;
    if (pdwProtocol)
        *pdwProtocol = protocol;
    LONG rvName = SCARD_S_SUCCESS, rvAtr = SCARD_S_SUCCESS;
    bool nameAllocated = pcchReaderLen && *pcchReaderLen == SCARD_AUTOALLOCATE;
    if (pcchReaderLen)
        rvName = Deliver(names, namesSize, szReaderName, pcchReaderLen);
    if (pcbAtrLen)
        rvAtr = Deliver(atr, atrSize, pbAtr, pcbAtrLen);
    if (rvAtr != SCARD_S_SUCCESS && rvName == SCARD_S_SUCCESS && nameAllocated) {
        // Do not leave the caller a block it will not know to free.
        SCardFreeMemory(hCard, *reinterpret_cast<LPSTR *>(szReaderName));
        *reinterpret_cast<LPSTR *>(szReaderName) = nullptr;
    }
    return Done(rvName != SCARD_S_SUCCESS ? rvName : rvAtr);
}

LONG WINAPI SCardGetAttrib(SCARDHANDLE hCard, DWORD dwAttrId, LPBYTE pbAttr, LPDWORD pcbAttrLen) {
    if (!pcbAttrLen)
        return Done(SCARD_E_INVALID_PARAMETER);
    CWireWriter req;
    req.U8(OP_GET_ATTRIB);
    req.U32(std::uint32_t(hCard));
    req.U32(dwAttrId);
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    const std::uint8_t *value = nullptr;
    std::uint32_t size = 0;
    if (rv == SCARD_S_SUCCESS && !in.p->Bytes(value, size, kMaxAttrib))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS)
        rv = Deliver(value, size, pbAttr, pcbAttrLen);
    return Done(rv);
}

LONG WINAPI SCardTransmit(SCARDHANDLE hCard, LPCSCARD_IO_REQUEST pioSendPci, LPCBYTE pbSendBuffer, DWORD cbSendLength,
                          LPSCARD_IO_REQUEST pioRecvPci, LPBYTE pbRecvBuffer, LPDWORD pcbRecvLength) {
    if (!pioSendPci || !pbSendBuffer || cbSendLength == 0 || !pbRecvBuffer || !pcbRecvLength ||
        *pcbRecvLength == SCARD_AUTOALLOCATE)
        return Done(SCARD_E_INVALID_PARAMETER);
    if (cbSendLength > kMaxApdu)
        return Done(SCARD_E_INVALID_PARAMETER);
    CWireWriter req;
    req.U8(OP_TRANSMIT);
    req.U32(std::uint32_t(hCard));
    req.U32(pioSendPci->dwProtocol);
    req.U32(*pcbRecvLength);
    req.Bytes(pbSendBuffer, cbSendLength);
    CAnswer a;
    CReaderHolder in;
    LONG rv = Exchange(req, a, in.p);
    std::uint32_t protocol = 0, size = 0;
    const std::uint8_t *response = nullptr;
    if (rv == SCARD_S_SUCCESS && !(in.p->U32(protocol) && in.p->Bytes(response, size, kMaxResponse)))
        rv = SCARD_F_COMM_ERROR;
    if (rv == SCARD_S_SUCCESS && size > *pcbRecvLength)
        rv = SCARD_F_COMM_ERROR; // the bridge was told the limit; more means a broken answer
    if (rv == SCARD_S_SUCCESS) {
        std::memcpy(pbRecvBuffer, response, size);
        *pcbRecvLength = size;
        if (pioRecvPci && pioRecvPci->cbPciLength >= sizeof(SCARD_IO_REQUEST))
            pioRecvPci->dwProtocol = protocol;
    }
    return Done(rv);
}
