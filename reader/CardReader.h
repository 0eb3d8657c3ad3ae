// Abstract card reader: one PC/SC card connection, its reader's name and the card's last ATR.
#pragma once

#include <windows.h>
#include <winscard.h>

#include <string>

class CCardReader {
public:
    enum { ATR_CAPACITY = 32 };

    CCardReader();
    // The slot order below is part of the interface: destructor, then the seven operations.
    virtual ~CCardReader();
    virtual BOOL Connect() = 0;
    virtual BOOL Disconnect() = 0;
    // Reads the card's ATR into m_pbAtr; the reason for a failure is left in the last-error value.
    virtual BOOL ReadAtr() = 0;
    // pbData, pcbData and pwStatus may each be null. Non-zero only for a final status word 9000.
    virtual BOOL Transmit(const BYTE *pbCommand, DWORD cbCommand, BYTE *pbData, DWORD *pcbData, WORD *pwStatus) = 0;
    virtual BOOL IsReaderPresent() = 0;
    virtual BOOL EnsureConnected() = 0;
    virtual BOOL Reset() = 0;

    // Reads the ATR and copies it into pbAtr (room for ATR_CAPACITY bytes); pcbAtr receives its length.
    BOOL GetAtr(BYTE *pbAtr, DWORD *pcbAtr);

    CCardReader(const CCardReader &) = delete;
    CCardReader &operator=(const CCardReader &) = delete;

    std::string m_strReader;
    SCARDHANDLE m_hCard = 0;
    BYTE m_pbAtr[ATR_CAPACITY] = {};
    DWORD m_cbAtr = 0;
};
