#include "framework/Archive.h"

#include <algorithm>
#include <cstring>

CArchive::CArchive(CFile *pFile, Mode mode, DWORD bufferSize)
    : m_pFile(pFile), m_mode(mode), m_buffer(std::max<DWORD>(bufferSize, 16)) {}

size_t CArchive::EncodeLength(size_t length, BYTE prefix[kMaxPrefixBytes]) {
    if (length < 0xFF) {
        prefix[0] = static_cast<BYTE>(length);
        return 1;
    }
    prefix[0] = 0xFF;
    if (length < 0xFFFE) {
        prefix[1] = static_cast<BYTE>(length & 0xFF);
        prefix[2] = static_cast<BYTE>((length >> 8) & 0xFF);
        return 3;
    }
    prefix[1] = 0xFF;
    prefix[2] = 0xFF;
    for (int i = 0; i < 4; ++i)
        prefix[3 + i] = static_cast<BYTE>((static_cast<unsigned long long>(length) >> (8 * i)) & 0xFF);
    return 7;
}

void CArchive::SetFailed(Status status, DWORD error) {
    if (m_status == statusOk) {
        m_status = status;
        m_dwError = error;
    }
}

BOOL CArchive::Write(const void *data, size_t count) {
    if (m_mode != store || m_bClosed) {
        SetFailed(statusIoError, ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (IsFailed())
        return FALSE;
    const BYTE *p = static_cast<const BYTE *>(data);
    while (count > 0) {
        if (m_nPos == m_buffer.size() && !Flush())
            return FALSE;
        size_t n = std::min(count, m_buffer.size() - m_nPos);
        std::memcpy(m_buffer.data() + m_nPos, p, n);
        m_nPos += n;
        p += n;
        count -= n;
    }
    return TRUE;
}

BOOL CArchive::WriteString(const std::string &text) {
    // The reader refuses longer strings (0xFFFFFFFF is also other writers' escape to longer forms).
    if (text.size() > kMaxStringLength) {
        SetFailed(statusBadPrefix, ERROR_BAD_LENGTH);
        return FALSE;
    }
    BYTE prefix[kMaxPrefixBytes];
    size_t n = EncodeLength(text.size(), prefix);
    return Write(prefix, n) && Write(text.data(), text.size());
}

BOOL CArchive::Flush() {
    if (m_mode != store)
        return TRUE;
    if (IsFailed())
        return FALSE;
    if (m_nPos > 0) {
        if (!m_pFile->Write(m_buffer.data(), static_cast<DWORD>(m_nPos))) {
            SetFailed(statusIoError, m_pFile->GetError());
            return FALSE;
        }
        m_nPos = 0;
    }
    return TRUE;
}

bool CArchive::Fill() {
    if (m_bEof || IsFailed())
        return false;
    DWORD got = m_pFile->Read(m_buffer.data(), static_cast<DWORD>(m_buffer.size()));
    if (got == 0) {
        if (m_pFile->GetError() != 0 && m_pFile->GetError() != ERROR_HANDLE_EOF)
            SetFailed(statusIoError, m_pFile->GetError());
        m_bEof = true;
        return false;
    }
    m_nPos = 0;
    m_nLimit = got;
    return true;
}

size_t CArchive::Read(void *data, size_t count) {
    if (m_mode != load || m_bClosed) {
        SetFailed(statusIoError, ERROR_INVALID_FUNCTION);
        return 0;
    }
    BYTE *p = static_cast<BYTE *>(data);
    size_t done = 0;
    while (done < count) {
        if (m_nPos == m_nLimit && !Fill())
            break;
        size_t n = std::min(count - done, m_nLimit - m_nPos);
        std::memcpy(p + done, m_buffer.data() + m_nPos, n);
        m_nPos += n;
        done += n;
    }
    return done;
}

BOOL CArchive::ReadString(std::string &text) {
    text.clear();
    if (IsFailed())
        return FALSE;
    BYTE b[4];
    if (Read(b, 1) != 1) {
        SetFailed(statusEndOfFile, ERROR_HANDLE_EOF);
        return FALSE;
    }
    unsigned long long length = b[0];
    if (b[0] == 0xFF) {
        if (Read(b, 2) != 2) {
            SetFailed(statusEndOfFile, ERROR_HANDLE_EOF);
            return FALSE;
        }
        length = b[0] | (b[1] << 8);
        if (length == 0xFFFE) {
            // Marks a wide-character string in other writers of this form; not ours to read.
            SetFailed(statusBadPrefix, ERROR_INVALID_DATA);
            return FALSE;
        }
        if (length == 0xFFFF) {
            if (Read(b, 4) != 4) {
                SetFailed(statusEndOfFile, ERROR_HANDLE_EOF);
                return FALSE;
            }
            length = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned long long>(b[3]) << 24);
            if (length == 0xFFFFFFFFull) {
                // Other writers' escape to a 64-bit length; never written by this form.
                SetFailed(statusBadPrefix, ERROR_INVALID_DATA);
                return FALSE;
            }
        }
    }
    if (length > kMaxStringLength) {
        SetFailed(statusBadPrefix, ERROR_BAD_LENGTH);
        return FALSE;
    }
    // Grow with the data actually present rather than trusting the prefix.
    const size_t chunk = 64 * 1024;
    size_t remaining = static_cast<size_t>(length);
    while (remaining > 0) {
        size_t want = std::min(remaining, chunk);
        size_t old = text.size();
        text.resize(old + want);
        size_t got = Read(&text[old], want);
        if (got != want) {
            text.clear();
            SetFailed(statusEndOfFile, ERROR_HANDLE_EOF);
            return FALSE;
        }
        remaining -= want;
    }
    return TRUE;
}

bool CArchive::AtEnd() {
    if (m_mode != load)
        return false;
    return m_nPos == m_nLimit && !Fill();
}

BOOL CArchive::Close() {
    if (m_bClosed)
        return !IsFailed();
    BOOL ok = Flush();
    m_bClosed = true;
    return ok && !IsFailed();
}
