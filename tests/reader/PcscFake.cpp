#include "tests/reader/PcscFake.h"

#include "reader/NamedMutex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

CPcscFake *CPcscFake::s_pInstance = nullptr;

const char *PcscCallName(PcscCall call) {
    switch (call) {
    case PcscCall::EstablishContext:
        return "EstablishContext";
    case PcscCall::ListReaders:
        return "ListReaders";
    case PcscCall::FreeMemory:
        return "FreeMemory";
    case PcscCall::Connect:
        return "Connect";
    case PcscCall::Reconnect:
        return "Reconnect";
    case PcscCall::Disconnect:
        return "Disconnect";
    case PcscCall::Status:
        return "Status";
    case PcscCall::GetAttrib:
        return "GetAttrib";
    case PcscCall::Transmit:
        return "Transmit";
    case PcscCall::Sleep:
        return "Sleep";
    }
    return "?";
}

CPcscFake::CPcscFake() {
    s_pInstance = this;
    m_api = {&EstablishContext, &ListReadersA, &FreeMemory, &ConnectA, &Reconnect,
             &Disconnect,       &StatusA,      &GetAttrib,  &Transmit, &Sleep};
    m_pScope.reset(new CScopedPcscApi(m_api));
}

CPcscFake::~CPcscFake() {
    m_pScope.reset();
    for (auto &list : m_lists)
        ::VirtualFree(list.second, 0, MEM_RELEASE);
    s_pInstance = nullptr;
}

void CPcscFake::Script(PcscCall call, PcscReply reply) {
    m_replies[call].push_back(std::move(reply));
}

std::vector<PcscRecord> CPcscFake::CallsOf(PcscCall call) const {
    std::vector<PcscRecord> out;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out),
                 [call](const PcscRecord &r) { return r.call == call; });
    return out;
}

std::vector<PcscCall> CPcscFake::Sequence() const {
    std::vector<PcscCall> out;
    for (const auto &r : m_calls)
        out.push_back(r.call);
    return out;
}

size_t CPcscFake::UnusedReplies() const {
    size_t n = 0;
    for (const auto &q : m_replies)
        n += q.second.size();
    return n;
}

bool CPcscFake::IsProbeHeld() const {
    if (m_strProbe.empty())
        return false;
    // Ownership is per thread, so only another thread can tell whether the caller holds it.
    bool bHeld = false;
    std::thread probe([&] {
        CNamedMutex mutex;
        mutex.Attach(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, m_strProbe.c_str()));
        if (!mutex.GetHandle())
            return;
        const DWORD wait = ::WaitForSingleObject(mutex.GetHandle(), 0);
        if (wait == WAIT_TIMEOUT)
            bHeld = true;
        else if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
            mutex.Unlock();
    });
    probe.join();
    return bHeld;
}

PcscRecord &CPcscFake::Record(PcscCall call) {
    PcscRecord record;
    record.call = call;
    record.when = std::chrono::steady_clock::now();
    // The probe's thread calls must not show through as the service's last error.
    const DWORD lastError = ::GetLastError();
    record.lockHeld = IsProbeHeld();
    ::SetLastError(lastError);
    m_calls.push_back(record);
    return m_calls.back();
}

void CPcscFake::Finish(const PcscRecord &record) {
    if (m_onCall)
        m_onCall(record);
}

PcscReply CPcscFake::Next(PcscCall call) {
    auto &queue = m_replies[call];
    if (queue.empty()) {
        ADD_FAILURE() << "unscripted PC/SC call " << PcscCallName(call);
        return PcscReply{LONG(SCARD_F_INTERNAL_ERROR)};
    }
    PcscReply reply = queue.front();
    queue.pop_front();
    return reply;
}

LPSTR CPcscFake::AllocateList(const std::string &bytes) {
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t pages = (bytes.size() + page - 1) / page + 1;
    BYTE *base = static_cast<BYTE *>(::VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!base)
        return nullptr;
    DWORD old = 0;
    ::VirtualProtect(base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    BYTE *p = base + (pages - 1) * page - bytes.size();
    std::memcpy(p, bytes.data(), bytes.size());
    m_lists[p] = base;
    return reinterpret_cast<LPSTR>(p);
}

static DWORD ReportedLength(const PcscReply &reply) {
    return reply.reportedLength >= 0 ? DWORD(reply.reportedLength) : DWORD(reply.bytes.size());
}

static LONG Answer(const PcscReply &reply) {
    if (reply.lastError)
        ::SetLastError(reply.lastError);
    return reply.rc;
}

LONG WINAPI CPcscFake::EstablishContext(DWORD dwScope, LPCVOID, LPCVOID, LPSCARDCONTEXT phContext) {
    PcscRecord &r = s_pInstance->Record(PcscCall::EstablishContext);
    r.a = dwScope;
    r.bufferGiven = phContext != nullptr;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::EstablishContext);
    if (reply.rc == SCARD_S_SUCCESS && phContext)
        *phContext = reply.value;
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::ListReadersA(SCARDCONTEXT hContext, LPCSTR mszGroups, LPSTR mszReaders, LPDWORD pcchReaders) {
    PcscRecord &r = s_pInstance->Record(PcscCall::ListReaders);
    r.handle = hContext;
    r.extraGiven = mszGroups != nullptr;
    r.bufferGiven = mszReaders != nullptr;
    r.inLength = pcchReaders ? *pcchReaders : 0;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::ListReaders);
    if (reply.rc == SCARD_S_SUCCESS) {
        EXPECT_EQ(copy.inLength, DWORD(SCARD_AUTOALLOCATE)) << "only the service-allocated form is faked";
        if (mszReaders && pcchReaders) {
            *reinterpret_cast<LPSTR *>(mszReaders) = s_pInstance->AllocateList(reply.bytes);
            *pcchReaders = ReportedLength(reply);
        }
    }
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::FreeMemory(SCARDCONTEXT hContext, LPCVOID pvMem) {
    PcscRecord &r = s_pInstance->Record(PcscCall::FreeMemory);
    r.handle = hContext;
    const PcscRecord copy = r;
    auto it = s_pInstance->m_lists.find(pvMem);
    if (it == s_pInstance->m_lists.end()) {
        ADD_FAILURE() << "SCardFreeMemory on memory the service never gave out";
        return LONG(SCARD_E_INVALID_PARAMETER);
    }
    ::VirtualFree(it->second, 0, MEM_RELEASE);
    s_pInstance->m_lists.erase(it);
    s_pInstance->Finish(copy);
    return SCARD_S_SUCCESS;
}

LONG WINAPI CPcscFake::ConnectA(SCARDCONTEXT hContext, LPCSTR szReader, DWORD dwShareMode, DWORD dwPreferredProtocols,
                                LPSCARDHANDLE phCard, LPDWORD pdwActiveProtocol) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Connect);
    r.handle = hContext;
    r.text = szReader ? szReader : "<null>";
    r.a = dwShareMode;
    r.b = dwPreferredProtocols;
    r.bufferGiven = phCard != nullptr && pdwActiveProtocol != nullptr;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::Connect);
    if (reply.rc == SCARD_S_SUCCESS) {
        if (phCard)
            *phCard = reply.value;
        if (pdwActiveProtocol)
            *pdwActiveProtocol = SCARD_PROTOCOL_T1;
    }
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::Reconnect(SCARDHANDLE hCard, DWORD dwShareMode, DWORD dwPreferredProtocols,
                                 DWORD dwInitialization, LPDWORD pdwActiveProtocol) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Reconnect);
    r.handle = hCard;
    r.a = dwShareMode;
    r.b = dwPreferredProtocols;
    r.c = dwInitialization;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::Reconnect);
    if (reply.rc == SCARD_S_SUCCESS && pdwActiveProtocol)
        *pdwActiveProtocol = SCARD_PROTOCOL_T0;
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::Disconnect(SCARDHANDLE hCard, DWORD dwDisposition) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Disconnect);
    r.handle = hCard;
    r.a = dwDisposition;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::Disconnect);
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::StatusA(SCARDHANDLE hCard, LPSTR szReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState,
                               LPDWORD pdwProtocol, LPBYTE pbAtr, LPDWORD pcbAtrLen) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Status);
    r.handle = hCard;
    r.inLength = pcchReaderLen ? *pcchReaderLen : 0;
    r.inLength2 = pcbAtrLen ? *pcbAtrLen : 0;
    r.bufferGiven = szReaderName != nullptr && pbAtr != nullptr;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::Status);
    if (reply.rc == SCARD_S_SUCCESS) {
        // Fill the whole of what the caller said it has, to catch a buffer smaller than its stated size.
        if (szReaderName && pcchReaderLen)
            std::memset(szReaderName, 'R', *pcchReaderLen);
        if (pbAtr && pcbAtrLen)
            std::memset(pbAtr, 0x3B, *pcbAtrLen);
        if (pdwState)
            *pdwState = SCARD_SPECIFIC;
        if (pdwProtocol)
            *pdwProtocol = SCARD_PROTOCOL_T1;
    }
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::GetAttrib(SCARDHANDLE hCard, DWORD dwAttrId, LPBYTE pbAttr, LPDWORD pcbAttrLen) {
    PcscRecord &r = s_pInstance->Record(PcscCall::GetAttrib);
    r.handle = hCard;
    r.a = dwAttrId;
    r.bufferGiven = pbAttr != nullptr;
    r.inLength = pcbAttrLen ? *pcbAttrLen : 0;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::GetAttrib);
    if (reply.rc == SCARD_S_SUCCESS && pcbAttrLen) {
        if (!pbAttr) {
            *pcbAttrLen = DWORD(reply.value);
        } else {
            // A well-behaved service never writes more than the caller's buffer.
            EXPECT_LE(reply.bytes.size(), copy.inLength) << "attribute larger than the buffer offered";
            std::memcpy(pbAttr, reply.bytes.data(), std::min<size_t>(reply.bytes.size(), copy.inLength));
            *pcbAttrLen = ReportedLength(reply);
        }
    }
    s_pInstance->Finish(copy);
    return Answer(reply);
}

LONG WINAPI CPcscFake::Transmit(SCARDHANDLE hCard, LPCSCARD_IO_REQUEST pioSendPci, LPCBYTE pbSendBuffer,
                                DWORD cbSendLength, LPSCARD_IO_REQUEST pioRecvPci, LPBYTE pbRecvBuffer,
                                LPDWORD pcbRecvLength) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Transmit);
    r.handle = hCard;
    if (pbSendBuffer)
        r.text.assign(reinterpret_cast<const char *>(pbSendBuffer), cbSendLength);
    if (pioSendPci) {
        r.pciProtocol = pioSendPci->dwProtocol;
        r.pciLength = pioSendPci->cbPciLength;
    }
    r.extraGiven = pioRecvPci != nullptr;
    r.bufferGiven = pbRecvBuffer != nullptr;
    r.inLength = pcbRecvLength ? *pcbRecvLength : 0;
    const PcscRecord copy = r;
    const PcscReply reply = s_pInstance->Next(PcscCall::Transmit);
    if (reply.rc == SCARD_S_SUCCESS && pbRecvBuffer && pcbRecvLength) {
        EXPECT_LE(reply.bytes.size(), copy.inLength) << "response larger than the buffer offered";
        std::memcpy(pbRecvBuffer, reply.bytes.data(), std::min<size_t>(reply.bytes.size(), copy.inLength));
        *pcbRecvLength = ReportedLength(reply);
    }
    s_pInstance->Finish(copy);
    return Answer(reply);
}

VOID WINAPI CPcscFake::Sleep(DWORD dwMilliseconds) {
    PcscRecord &r = s_pInstance->Record(PcscCall::Sleep);
    r.a = dwMilliseconds;
    s_pInstance->Finish(r);
}
