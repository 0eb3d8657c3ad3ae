#include "skin/SkinStream.h"

#include <cstdlib>
#include <cstring>
#include <utility>

CSkinStream::CSkinStream(DWORD growth)
    : m_pBuffer(nullptr), m_dwLength(0), m_dwPosition(0), m_dwCapacity(0), m_dwGrowth(growth) {}

CSkinStream::~CSkinStream() {
    std::free(m_pBuffer);
}

CSkinStream::CSkinStream(CSkinStream &&other) noexcept
    : m_pBuffer(other.m_pBuffer), m_dwLength(other.m_dwLength), m_dwPosition(other.m_dwPosition),
      m_dwCapacity(other.m_dwCapacity), m_dwGrowth(other.m_dwGrowth) {
    other.m_pBuffer = nullptr;
    other.m_dwLength = other.m_dwPosition = other.m_dwCapacity = 0;
}

CSkinStream &CSkinStream::operator=(CSkinStream &&other) noexcept {
    if (this != &other) {
        std::free(m_pBuffer);
        m_pBuffer = std::exchange(other.m_pBuffer, nullptr);
        m_dwLength = std::exchange(other.m_dwLength, 0);
        m_dwPosition = std::exchange(other.m_dwPosition, 0);
        m_dwCapacity = std::exchange(other.m_dwCapacity, 0);
        m_dwGrowth = other.m_dwGrowth;
    }
    return *this;
}

bool CSkinStream::Create(const void *data, DWORD size, DWORD growth) {
    Destroy();
    m_dwGrowth = growth;
    if (data == nullptr || size == 0)
        return false;
    m_pBuffer = static_cast<BYTE *>(std::malloc(size));
    if (m_pBuffer == nullptr)
        return false;
    std::memcpy(m_pBuffer, data, size);
    m_dwLength = m_dwCapacity = size;
    m_dwPosition = 0;
    return true;
}

DWORD CSkinStream::Read(void *dst, DWORD count) {
    if (m_pBuffer == nullptr || dst == nullptr)
        return 0;
    DWORD n = count < GetRemaining() ? count : GetRemaining();
    if (n != 0)
        std::memcpy(dst, m_pBuffer + m_dwPosition, n);
    m_dwPosition += n;
    return n;
}

DWORD CSkinStream::Write(const void *src, DWORD count) {
    if (src == nullptr || count == 0)
        return 0;
    if (m_pBuffer == nullptr) {
        m_pBuffer = static_cast<BYTE *>(std::malloc(count));
        if (m_pBuffer == nullptr)
            return 0;
        m_dwCapacity = count;
        m_dwLength = m_dwPosition = 0;
    }
    if (m_dwCapacity - m_dwPosition < count) {
        // Grow in whole steps past what is needed. 64-bit arithmetic keeps a huge request from wrapping
        // into a small block; a zero step (which would divide by zero) grows by exactly what is needed.
        unsigned long long need = static_cast<unsigned long long>(count) + m_dwPosition - m_dwCapacity;
        unsigned long long grown = m_dwCapacity;
        if (m_dwGrowth == 0)
            grown += need;
        else
            grown += static_cast<unsigned long long>(m_dwGrowth) * (need / m_dwGrowth + 1);
        if (grown > 0xFFFFFFFFull)
            return 0;
        BYTE *p = static_cast<BYTE *>(std::realloc(m_pBuffer, static_cast<size_t>(grown)));
        if (p == nullptr)
            return 0;
        m_pBuffer = p;
        m_dwCapacity = static_cast<DWORD>(grown);
    }
    std::memcpy(m_pBuffer + m_dwPosition, src, count);
    m_dwPosition += count;
    if (m_dwPosition > m_dwLength)
        m_dwLength = m_dwPosition;
    return count;
}

DWORD CSkinStream::Seek(LONG offset, int origin) {
    long long base = 0;
    if (origin == 1)
        base = m_dwPosition;
    else if (origin == 2)
        base = m_dwLength;
    long long pos = base + offset;
    if (pos < 0)
        pos = 0;
    if (pos > m_dwLength)
        pos = m_dwLength;
    m_dwPosition = static_cast<DWORD>(pos);
    return m_dwPosition;
}

void CSkinStream::Destroy() {
    std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_dwLength = m_dwPosition = m_dwCapacity = 0;
}
