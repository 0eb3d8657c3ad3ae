#include "reader/QXCCIDINT.h"

#include "reader/MutexLock.h"
#include "reader/PcscApi.h"

#include <cstring>

QXCCIDINT theReader;

namespace {
const DWORD kShareMode = SCARD_SHARE_SHARED;
const DWORD kProtocols = SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1;
const DWORD kStatusNameChars = 512;
const DWORD kStatusAtrBytes = 256;
const WORD kStatusOk = 0x9000;
const BYTE kSw1MoreData = 0x61;
} // namespace

QXCCIDINT::QXCCIDINT() = default;

QXCCIDINT::~QXCCIDINT() {
    Disconnect();
}

BOOL QXCCIDINT::Init(SCARDCONTEXT hContext, LPCSTR pszReader, LPCSTR pszMutex) {
    m_strReader = pszReader ? pszReader : "";
    m_hContext = hContext;
    return m_mutex.Create(FALSE, pszMutex);
}

BOOL QXCCIDINT::ConnectFresh(SCARDHANDLE &hCard) {
    // A reader that has just been powered often refuses the first connect; a second one at once
    // usually succeeds, and a pause would hold every other process's sequence for nothing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCARDHANDLE hNew = 0;
        DWORD dwProtocol = 0;
        if (Pcsc().ConnectA(m_hContext, m_strReader.c_str(), kShareMode, kProtocols, &hNew, &dwProtocol) ==
            SCARD_S_SUCCESS) {
            hCard = hNew;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL QXCCIDINT::Connect() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    if (m_hCard) {
        // Connecting again means "start over with this card": a cold reset keeps the handle.
        DWORD dwProtocol = 0;
        if (Pcsc().Reconnect(m_hCard, kShareMode, kProtocols, SCARD_UNPOWER_CARD, &dwProtocol) == SCARD_S_SUCCESS)
            return TRUE;
        Pcsc().Disconnect(m_hCard, SCARD_LEAVE_CARD);
        m_hCard = 0;
    }
    if (ConnectFresh(m_hCard))
        return TRUE;
    m_hCard = 0;
    return FALSE;
}

BOOL QXCCIDINT::Disconnect() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    if (!m_hCard)
        return TRUE;
    if (Pcsc().Disconnect(m_hCard, SCARD_LEAVE_CARD) != SCARD_S_SUCCESS)
        return FALSE;
    m_hCard = 0;
    return TRUE;
}

BOOL QXCCIDINT::ReadAtr() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    if (!m_hCard) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD cbNeeded = 0;
    if (Pcsc().GetAttrib(m_hCard, SCARD_ATTR_ATR_STRING, nullptr, &cbNeeded) != SCARD_S_SUCCESS)
        return FALSE;
    if (cbNeeded > ATR_CAPACITY) {
        ::SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }
    // The length travels through a local so that m_cbAtr never describes more than the buffer holds,
    // whatever a failing or misbehaving service writes there.
    DWORD cbAtr = ATR_CAPACITY;
    if (Pcsc().GetAttrib(m_hCard, SCARD_ATTR_ATR_STRING, m_pbAtr, &cbAtr) != SCARD_S_SUCCESS)
        return FALSE;
    if (cbAtr > ATR_CAPACITY) {
        ::SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }
    m_cbAtr = cbAtr;
    return TRUE;
}

LONG QXCCIDINT::Exchange(const BYTE *pbCommand, DWORD cbCommand, BYTE *pbResponse, DWORD &cbReceived) {
    // Protocol field 0 with an 8-byte header, whatever the card negotiated: the service fills in the
    // active protocol itself.
    SCARD_IO_REQUEST sendPci;
    sendPci.dwProtocol = 0;
    sendPci.cbPciLength = sizeof(SCARD_IO_REQUEST);
    cbReceived = RESPONSE_CAPACITY;
    return Pcsc().Transmit(m_hCard, &sendPci, pbCommand, cbCommand, nullptr, pbResponse, &cbReceived);
}

BOOL QXCCIDINT::Transmit(const BYTE *pbCommand, DWORD cbCommand, BYTE *pbData, DWORD *pcbData, WORD *pwStatus) {
    // Checked before the lock: a bad call must not wait behind another process's sequence.
    if (!m_hCard || !pbCommand || cbCommand == 0) {
        ::SetLastError(RC_BAD_ARGUMENT);
        return FALSE;
    }
    CMutexLock lock(&m_mutex);
    lock.Lock();

    BYTE response[RESPONSE_CAPACITY];
    std::memset(response, 0, sizeof(response));
    DWORD cbReceived = 0;
    const LONG rc = Exchange(pbCommand, cbCommand, response, cbReceived);
    if (rc != SCARD_S_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(rc));
        return FALSE;
    }

    if (cbReceived >= 2 && cbReceived <= RESPONSE_CAPACITY && response[cbReceived - 2] == kSw1MoreData) {
        const BYTE getResponse[5] = {0x00, 0xC0, 0x00, 0x00, response[cbReceived - 1]};
        if (Exchange(getResponse, sizeof(getResponse), response, cbReceived) != SCARD_S_SUCCESS)
            return FALSE;
    }

    // A "successful" answer without a status word (or longer than the buffer it was read into) carries
    // nothing trustworthy: report it as a failed exchange with status 0 and no data.
    if (cbReceived < 2 || cbReceived > RESPONSE_CAPACITY) {
        if (pcbData)
            *pcbData = 0;
        if (pwStatus)
            *pwStatus = 0;
        ::SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }

    const DWORD cbData = cbReceived - 2;
    const WORD wStatus = static_cast<WORD>(response[cbData] << 8 | response[cbData + 1]);
    if (pcbData) {
        if (pbData)
            std::memcpy(pbData, response, cbData);
        *pcbData = cbData;
    }
    if (pwStatus)
        *pwStatus = wStatus;
    return wStatus == kStatusOk;
}

BOOL QXCCIDINT::IsReaderPresent() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    if (!m_hContext)
        return FALSE;

    LPSTR pszList = nullptr;
    DWORD cchList = SCARD_AUTOALLOCATE;
    LONG rc = Pcsc().ListReadersA(m_hContext, nullptr, reinterpret_cast<LPSTR>(&pszList), &cchList);
    if (rc != SCARD_S_SUCCESS) {
        if (pszList) {
            Pcsc().FreeMemory(m_hContext, pszList);
            pszList = nullptr;
        }
        if (rc == static_cast<LONG>(SCARD_E_NO_READERS_AVAILABLE)) {
            // The service has just lost its last reader (often a re-plug): give it time to settle, then
            // start over with a fresh system context; the old one is left to the process's end.
            Pcsc().Sleep(100);
            SCARDCONTEXT hContext = 0;
            if (Pcsc().EstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &hContext) != SCARD_S_SUCCESS)
                return FALSE;
            m_hContext = hContext;
        }
        cchList = SCARD_AUTOALLOCATE;
        rc = Pcsc().ListReadersA(m_hContext, nullptr, reinterpret_cast<LPSTR>(&pszList), &cchList);
        if (rc != SCARD_S_SUCCESS) {
            if (pszList)
                Pcsc().FreeMemory(m_hContext, pszList);
            return FALSE;
        }
    }
    if (!pszList)
        return FALSE;

    // Names separated by one zero byte, ended by an empty name; the walk also stops at the length the
    // service reported, so a list without its final terminator is never read past its end.
    BOOL bFound = FALSE;
    const char *p = pszList;
    const char *const pEnd = pszList + cchList;
    while (p < pEnd && *p) {
        const void *pZero = std::memchr(p, 0, static_cast<size_t>(pEnd - p));
        const size_t cch = pZero ? static_cast<const char *>(pZero) - p : static_cast<size_t>(pEnd - p);
        if (pZero && m_strReader.size() == cch && std::memcmp(p, m_strReader.data(), cch) == 0) {
            bFound = TRUE;
            break;
        }
        p += cch + 1;
    }
    Pcsc().FreeMemory(m_hContext, pszList);
    return bFound;
}

BOOL QXCCIDINT::EnsureConnected() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    char szName[kStatusNameChars];
    BYTE atr[kStatusAtrBytes];
    DWORD cchName = kStatusNameChars;
    DWORD cbAtr = kStatusAtrBytes;
    DWORD dwState = 0;
    DWORD dwProtocol = 0;
    if (Pcsc().StatusA(m_hCard, szName, &cchName, &dwState, &dwProtocol, atr, &cbAtr) == SCARD_S_SUCCESS)
        return TRUE;
    // The old handle is dead already; a disconnect on it would only fail.
    return ConnectFresh(m_hCard);
}

BOOL QXCCIDINT::Reset() {
    CMutexLock lock(&m_mutex);
    lock.Lock();

    if (!m_hCard)
        return FALSE;
    DWORD dwProtocol = 0;
    return Pcsc().Reconnect(m_hCard, kShareMode, kProtocols, SCARD_UNPOWER_CARD, &dwProtocol) == SCARD_S_SUCCESS;
}
