// Growable byte buffer with a position through which all skin data is read and written.
#pragma once

#include "platform/WinCompat.h"

class CSkinStream {
public:
    enum : DWORD { DEFAULT_GROWTH = 10240 };

    explicit CSkinStream(DWORD growth = DEFAULT_GROWTH);
    ~CSkinStream();
    CSkinStream(const CSkinStream &) = delete;
    CSkinStream &operator=(const CSkinStream &) = delete;
    CSkinStream(CSkinStream &&other) noexcept;
    CSkinStream &operator=(CSkinStream &&other) noexcept;

    // Replaces the contents with a copy of size bytes; without data or memory the stream stays empty.
    bool Create(const void *data, DWORD size, DWORD growth = DEFAULT_GROWTH);
    // Copies up to count bytes; a short read leaves the rest of dst untouched.
    DWORD Read(void *dst, DWORD count);
    // Returns count, or 0 when memory runs out (the stream is then unchanged).
    DWORD Write(const void *src, DWORD count);
    // origin 0 start, 1 current, 2 end; the result never passes the length.
    DWORD Seek(LONG offset, int origin);
    void Rewind() { Seek(0, 0); }
    void Destroy();

    const BYTE *GetBuffer() const { return m_pBuffer; }
    BYTE *GetBuffer() { return m_pBuffer; }
    DWORD GetLength() const { return m_dwLength; }
    DWORD GetPosition() const { return m_dwPosition; }
    DWORD GetCapacity() const { return m_dwCapacity; }
    DWORD GetGrowth() const { return m_dwGrowth; }
    DWORD GetRemaining() const { return m_dwLength - m_dwPosition; }
    bool IsAtEnd() const { return m_dwPosition >= m_dwLength; }

private:
    BYTE *m_pBuffer;
    DWORD m_dwLength;
    DWORD m_dwPosition;
    DWORD m_dwCapacity;
    DWORD m_dwGrowth;
};
