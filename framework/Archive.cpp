#include "framework/Archive.h"

#include <algorithm>
#include <cstring>

#include "text/PrefixedString.h"

CArchive::CArchive(CFile *pFile, Mode mode, DWORD bufferSize)
    : m_pFile(pFile), m_mode(mode), m_buffer(std::max<DWORD>(bufferSize, 16)) {}

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
    unsigned char prefix[kMaxPrefixBytes];
    size_t n = EncodeLengthPrefix(text.size(), prefix);
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
    // The prefix is fetched in the pieces the codec asks for (1, then up to 3, then up to 7 bytes).
    unsigned char prefix[kMaxPrefixBytes];
    size_t have = 0, header = 1;
    unsigned long length = 0;
    for (;;) {
        if (Read(prefix + have, header - have) != header - have) {
            SetFailed(statusEndOfFile, ERROR_HANDLE_EOF);
            return FALSE;
        }
        have = header;
        const PrefixedStringStatus status = DecodeLengthPrefix(prefix, have, &header, &length);
        if (status == PS_OK)
            break;
        if (status != PS_TRUNCATED || header <= have) {
            SetFailed(statusBadPrefix, ERROR_INVALID_DATA);
            return FALSE;
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
