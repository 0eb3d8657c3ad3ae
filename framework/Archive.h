// Buffered binary archive over a CFile: raw bytes and the 8-bit length-prefixed string form (text/PrefixedString,
// the codec of .trace records too), stored or loaded.
#pragma once

#include <windows.h>
#include <string>
#include <vector>
#include "framework/File.h"

class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    enum Status {
        statusOk = 0,
        statusEndOfFile, // the data ended inside a length prefix or inside a string
        statusBadPrefix, // a prefix that announces a form this archive does not read
        statusIoError,   // the file reported an error; see GetError()
    };

    // Longest string read or written, the same in 32-bit and 64-bit builds: what a 32-bit process's string can
    // hold. Longer prefixes are refused as bad prefixes before anything is allocated.
    static const size_t kMaxStringLength = 0x3FFFFFFF;

    CArchive(CFile *pFile, Mode mode, DWORD bufferSize = 64 * 1024);
    ~CArchive() = default;
    CArchive(const CArchive &) = delete;
    CArchive &operator=(const CArchive &) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    CFile *GetFile() const { return m_pFile; }

    // Store mode. Every call after a failure does nothing and fails.
    BOOL Write(const void *data, size_t count);
    BOOL WriteString(const std::string &text);
    // Store mode: writes what is buffered; non-zero when everything reached the file.
    BOOL Flush();

    // Load mode: reads up to count bytes, returns how many were read.
    size_t Read(void *data, size_t count);
    // Load mode: reads one length-prefixed string. Memory grows only with bytes actually read, so a hostile
    // length costs nothing. On failure text is left empty and GetStatus() tells why.
    BOOL ReadString(std::string &text);
    // Load mode: true when no byte is left to read.
    bool AtEnd();

    // Flushes in store mode; the archive is unusable afterwards. Non-zero when no step failed.
    BOOL Close();

    bool IsFailed() const { return m_status != statusOk; }
    Status GetStatus() const { return m_status; }
    DWORD GetError() const { return m_dwError; }

    CDocument *m_pDocument = nullptr;

private:
    bool Fill();
    void SetFailed(Status status, DWORD error);

    CFile *m_pFile;
    Mode m_mode;
    std::vector<BYTE> m_buffer;
    size_t m_nPos = 0;   // load: next byte to hand out; store: bytes buffered
    size_t m_nLimit = 0; // load: bytes valid in the buffer
    bool m_bEof = false;
    bool m_bClosed = false;
    Status m_status = statusOk;
    DWORD m_dwError = 0;
};
