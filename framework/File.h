// Byte file opened through the platform's file API, closed by its destructor; failures keep the system error code.
#pragma once

#include <windows.h>
#include <string>
#include "platform/Handle.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000, // create or truncate
    };

    CFile() = default;
    CFile(const CFile &) = delete;
    CFile &operator=(const CFile &) = delete;

    // Non-zero on success; on failure GetError() (and the thread's last error) hold the system error code.
    BOOL Open(const std::string &path, UINT flags);
    void Close();
    bool IsOpen() const { return m_hFile.IsValid(); }

    // Reads up to count bytes; returns the number read (0 at end of file or on failure, see GetError()).
    DWORD Read(void *buffer, DWORD count);
    // Writes all count bytes; non-zero on success.
    BOOL Write(const void *buffer, DWORD count);
    BOOL Flush();
    // File length in bytes; false when it cannot be taken or does not fit 32 bits.
    bool GetLength(DWORD &length) const;

    const std::string &GetFilePath() const { return m_strPath; }
    DWORD GetError() const { return m_dwError; }

private:
    BOOL Fail();

    CKernelObject m_hFile;
    std::string m_strPath;
    DWORD m_dwError = 0;
};
