// The seam through which the reader object reaches PC/SC (and its one pause), replaceable by tests.
#pragma once

#include <windows.h>
#include <winscard.h>

// Windows' own 32-bit signatures, so that the default table points straight at winscard.dll.
struct PcscApi {
    LONG(WINAPI *EstablishContext)(DWORD dwScope, LPCVOID pvReserved1, LPCVOID pvReserved2, LPSCARDCONTEXT phContext);
    LONG(WINAPI *ListReadersA)(SCARDCONTEXT hContext, LPCSTR mszGroups, LPSTR mszReaders, LPDWORD pcchReaders);
    LONG(WINAPI *FreeMemory)(SCARDCONTEXT hContext, LPCVOID pvMem);
    LONG(WINAPI *ConnectA)
    (SCARDCONTEXT hContext, LPCSTR szReader, DWORD dwShareMode, DWORD dwPreferredProtocols, LPSCARDHANDLE phCard,
     LPDWORD pdwActiveProtocol);
    LONG(WINAPI *Reconnect)
    (SCARDHANDLE hCard, DWORD dwShareMode, DWORD dwPreferredProtocols, DWORD dwInitialization,
     LPDWORD pdwActiveProtocol);
    LONG(WINAPI *Disconnect)(SCARDHANDLE hCard, DWORD dwDisposition);
    LONG(WINAPI *StatusA)
    (SCARDHANDLE hCard, LPSTR szReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState, LPDWORD pdwProtocol, LPBYTE pbAtr,
     LPDWORD pcbAtrLen);
    LONG(WINAPI *GetAttrib)(SCARDHANDLE hCard, DWORD dwAttrId, LPBYTE pbAttr, LPDWORD pcbAttrLen);
    LONG(WINAPI *Transmit)
    (SCARDHANDLE hCard, LPCSCARD_IO_REQUEST pioSendPci, LPCBYTE pbSendBuffer, DWORD cbSendLength,
     LPSCARD_IO_REQUEST pioRecvPci, LPBYTE pbRecvBuffer, LPDWORD pcbRecvLength);
    // The reader object's only pause (waiting for a reader to settle) goes through here too.
    VOID(WINAPI *Sleep)(DWORD dwMilliseconds);
};

// The table bound to the system's winscard.dll and kernel32.
const PcscApi &SystemPcscApi();

// The table in use now: the system's unless a test replaced it.
const PcscApi &Pcsc();

// Replaces the table in use (nullptr restores the system's); returns the previous replacement or nullptr.
// Not synchronised: swap it only while no reader operation runs.
const PcscApi *SetPcscApi(const PcscApi *pApi);
