// Growable in-memory byte stream that encoded skin images are read from and written to.
#pragma once

#include "platform/WinCompat.h"

#include <cstddef>

class CMemoryStream {
public:
    // An empty stream that owns a buffer growing on write.
    CMemoryStream();
    // A stream over existing bytes. With ownsBuffer the stream frees `data` with free(), so it must come from
    // malloc(). A buffer that is not owned is never freed or resized: writing past its end moves the contents
    // into a new, owned buffer.
    CMemoryStream(BYTE *data, DWORD size, bool ownsBuffer);
    ~CMemoryStream();

    CMemoryStream(const CMemoryStream &) = delete;
    CMemoryStream &operator=(const CMemoryStream &) = delete;

    // Copies whole and partial items up to the end of the data; returns the number of whole items copied.
    size_t Read(void *dst, size_t itemSize, size_t count);
    // Returns count on success, 0 when the stream cannot hold the data (overflow or out of memory).
    size_t Write(const void *src, size_t itemSize, size_t count);
    // origin: 0 start, 1 current, 2 end (SEEK_SET, SEEK_CUR, SEEK_END). Positions beyond the end are allowed.
    bool Seek(long offset, int origin);
    long Tell() const { return static_cast<long>(m_dwPos); }
    DWORD Size() const { return m_dwSize; }
    DWORD Capacity() const { return m_dwCapacity; }
    // Bytes left between the position and the end of the data (0 beyond the end).
    DWORD Remaining() const { return m_dwPos < m_dwSize ? m_dwSize - m_dwPos : 0; }
    BYTE *GetBuffer() { return m_pBuffer; }
    const BYTE *GetBuffer() const { return m_pBuffer; }
    bool IsEof() const { return m_dwPos >= m_dwSize; }
    bool IsError() const { return m_dwPos > m_dwSize; }
    bool PutByte(BYTE value);
    // The next byte, or -1 at the end.
    int GetByte();

private:
    bool Reserve(DWORD required);

    BYTE *m_pBuffer;
    DWORD m_dwSize;
    DWORD m_dwPos;
    DWORD m_dwCapacity;
    bool m_bOwnsBuffer;
};
