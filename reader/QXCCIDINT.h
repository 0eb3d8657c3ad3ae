// The console's reader: one PC/SC connection whose every sequence is serialised by a named mutex.
#pragma once

#include "reader/CardReader.h"
#include "reader/NamedMutex.h"

class QXCCIDINT : public CCardReader {
public:
    enum { RESPONSE_CAPACITY = 512 };
    // The last-error value of a call with a bad argument (the original program's private code).
    enum : DWORD { RC_BAD_ARGUMENT = 0x800006 };

    QXCCIDINT();
    ~QXCCIDINT() override;

    // Takes the caller's context and reader name; the mutex is created by the first call only.
    // Non-zero when a mutex handle is held.
    BOOL Init(SCARDCONTEXT hContext, LPCSTR pszReader, LPCSTR pszMutex);

    BOOL Connect() override;
    BOOL Disconnect() override;
    BOOL ReadAtr() override;
    BOOL Transmit(const BYTE *pbCommand, DWORD cbCommand, BYTE *pbData, DWORD *pcbData, WORD *pwStatus) override;
    BOOL IsReaderPresent() override;
    BOOL EnsureConnected() override;
    BOOL Reset() override;

    CNamedMutex m_mutex;
    SCARDCONTEXT m_hContext = 0;

private:
    // Two connect attempts, one right after the other; hCard receives the new handle, untouched if both fail.
    BOOL ConnectFresh(SCARDHANDLE &hCard);
    // One exchange into the shared response buffer; cbReceived is the received length.
    LONG Exchange(const BYTE *pbCommand, DWORD cbCommand, BYTE *pbResponse, DWORD &cbReceived);
};

// The process's one reader object.
extern QXCCIDINT theReader;
