#include "framework/File.h"

BOOL CFile::Open(const std::string &path, UINT flags) {
    Close();
    m_strPath = path;
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    else if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (flags & shareDenyWrite)
        share = FILE_SHARE_READ;
    DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = ::CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail();
    m_hFile.Attach(h);
    m_dwError = 0;
    return TRUE;
}

void CFile::Close() {
    m_hFile.Close();
}

DWORD CFile::Read(void *buffer, DWORD count) {
    DWORD done = 0;
    if (!m_hFile.IsValid()) {
        m_dwError = ERROR_INVALID_HANDLE;
        return 0;
    }
    if (!::ReadFile(m_hFile.Get(), buffer, count, &done, nullptr)) {
        Fail();
        return 0;
    }
    return done;
}

BOOL CFile::Write(const void *buffer, DWORD count) {
    if (!m_hFile.IsValid()) {
        m_dwError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    const BYTE *p = static_cast<const BYTE *>(buffer);
    while (count > 0) {
        DWORD done = 0;
        if (!::WriteFile(m_hFile.Get(), p, count, &done, nullptr))
            return Fail();
        if (done == 0) {
            m_dwError = ERROR_WRITE_FAULT;
            ::SetLastError(m_dwError);
            return FALSE;
        }
        p += done;
        count -= done;
    }
    return TRUE;
}

BOOL CFile::Flush() {
    if (!m_hFile.IsValid() || !::FlushFileBuffers(m_hFile.Get()))
        return Fail();
    return TRUE;
}

bool CFile::GetLength(DWORD &length) const {
    DWORD high = 0;
    DWORD low = ::GetFileSize(m_hFile.Get(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return false;
    if (high != 0)
        return false;
    length = low;
    return true;
}

BOOL CFile::Fail() {
    m_dwError = ::GetLastError();
    if (m_dwError == 0)
        m_dwError = ERROR_GEN_FAILURE;
    ::SetLastError(m_dwError);
    return FALSE;
}
