// Scripted stand-in for the PC/SC seam: each call takes the next scripted reply and is recorded.
#pragma once

#include "reader/PcscApi.h"
#include "reader/ScopedPcscApi.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

enum class PcscCall {
    EstablishContext,
    ListReaders,
    FreeMemory,
    Connect,
    Reconnect,
    Disconnect,
    Status,
    GetAttrib,
    Transmit,
    Sleep
};

const char *PcscCallName(PcscCall call);

// What one call answers. Unused fields are ignored by calls that have no such output.
struct PcscReply {
    PcscReply() = default;
    PcscReply(LONG result, ULONG_PTR outValue = 0) : rc(result), value(outValue) {}

    LONG rc = SCARD_S_SUCCESS;
    ULONG_PTR value = 0;      // card handle (connect), context (establish), length (attribute length query)
    std::string bytes;        // received bytes (transmit), attribute (read), reader list (list)
    long reportedLength = -1; // reported instead of bytes.size() when not negative
    DWORD lastError = 0;      // last-error value the PC/SC layer leaves behind, when non-zero
};

// The arguments one call received.
struct PcscRecord {
    PcscCall call = PcscCall::Sleep;
    ULONG_PTR handle = 0;      // card handle or context
    DWORD a = 0, b = 0, c = 0; // share mode / protocols / initialisation, disposition, scope, attribute, milliseconds
    std::string text;          // reader name (connect), command bytes (transmit)
    DWORD inLength = 0;        // value of the in/out length on entry (reader-name length for status)
    DWORD inLength2 = 0;       // ATR length on entry (status)
    bool bufferGiven = false;  // the output buffer (list pointer, attribute, receive, ATR) was present
    bool extraGiven = false;   // group filter (list), receive header (transmit)
    DWORD pciProtocol = 0, pciLength = 0;
    bool lockHeld = false; // the probed mutex was owned by someone else's view during the call
    std::chrono::steady_clock::time_point when;
};

class CPcscFake {
public:
    CPcscFake();
    ~CPcscFake();
    CPcscFake(const CPcscFake &) = delete;
    CPcscFake &operator=(const CPcscFake &) = delete;

    void Script(PcscCall call, PcscReply reply);
    void Script(PcscCall call, LONG rc) { Script(call, PcscReply{rc}); }
    // From now on each call checks, from another thread, whether this mutex is held.
    void ProbeMutex(const std::string &name) { m_strProbe = name; }
    // Runs inside every call, after it was recorded (for cross-process timing checks).
    std::function<void(const PcscRecord &)> m_onCall;

    const std::vector<PcscRecord> &Calls() const { return m_calls; }
    std::vector<PcscRecord> CallsOf(PcscCall call) const;
    std::vector<PcscCall> Sequence() const;
    size_t UnusedReplies() const;
    size_t OutstandingLists() const { return m_lists.size(); }

private:
    static LONG WINAPI EstablishContext(DWORD, LPCVOID, LPCVOID, LPSCARDCONTEXT);
    static LONG WINAPI ListReadersA(SCARDCONTEXT, LPCSTR, LPSTR, LPDWORD);
    static LONG WINAPI FreeMemory(SCARDCONTEXT, LPCVOID);
    static LONG WINAPI ConnectA(SCARDCONTEXT, LPCSTR, DWORD, DWORD, LPSCARDHANDLE, LPDWORD);
    static LONG WINAPI Reconnect(SCARDHANDLE, DWORD, DWORD, DWORD, LPDWORD);
    static LONG WINAPI Disconnect(SCARDHANDLE, DWORD);
    static LONG WINAPI StatusA(SCARDHANDLE, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    static LONG WINAPI GetAttrib(SCARDHANDLE, DWORD, LPBYTE, LPDWORD);
    static LONG WINAPI Transmit(SCARDHANDLE, LPCSCARD_IO_REQUEST, LPCBYTE, DWORD, LPSCARD_IO_REQUEST, LPBYTE, LPDWORD);
    static VOID WINAPI Sleep(DWORD);

    PcscRecord &Record(PcscCall call);
    void Finish(const PcscRecord &record);
    PcscReply Next(PcscCall call);
    bool IsProbeHeld() const;
    // A reader list placed at the very end of a committed page, right before an inaccessible one,
    // so that reading past the reported length faults instead of passing unnoticed.
    LPSTR AllocateList(const std::string &bytes);

    static CPcscFake *s_pInstance;
    std::map<PcscCall, std::deque<PcscReply>> m_replies;
    std::vector<PcscRecord> m_calls;
    std::map<const void *, void *> m_lists; // list pointer -> allocation base
    std::string m_strProbe;
    PcscApi m_api;
    std::unique_ptr<CScopedPcscApi> m_pScope;
};
