#include "skin/controls/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {
const DWORD kGrowthStep = 4096;
// Positions stay representable as a non-negative long on every platform.
const std::uint64_t kMaxPosition = 0x7FFFFFFF;
} // namespace

CMemoryStream::CMemoryStream() : m_pBuffer(nullptr), m_dwSize(0), m_dwPos(0), m_dwCapacity(0), m_bOwnsBuffer(true) {}

CMemoryStream::CMemoryStream(BYTE *data, DWORD size, bool ownsBuffer)
    : m_pBuffer(data), m_dwSize(data ? size : 0), m_dwPos(0), m_dwCapacity(data ? size : 0), m_bOwnsBuffer(ownsBuffer) {
    if (!data)
        m_bOwnsBuffer = true;
}

CMemoryStream::~CMemoryStream() {
    if (m_bOwnsBuffer)
        std::free(m_pBuffer);
}

bool CMemoryStream::Reserve(DWORD required) {
    if (required <= m_dwCapacity)
        return true;
    // The next whole page above what is required, so a write that fills its pages exactly leaves room.
    std::uint64_t capacity = (static_cast<std::uint64_t>(required) / kGrowthStep + 1) * kGrowthStep;
    if (capacity > kMaxPosition + 1)
        return false;
    BYTE *grown;
    if (m_bOwnsBuffer) {
        grown = static_cast<BYTE *>(std::realloc(m_pBuffer, static_cast<size_t>(capacity)));
    } else {
        // A caller's buffer is never resized in place: the contents move into a buffer of our own.
        grown = static_cast<BYTE *>(std::malloc(static_cast<size_t>(capacity)));
        if (grown && m_dwSize)
            std::memcpy(grown, m_pBuffer, m_dwSize);
    }
    if (!grown)
        return false;
    m_pBuffer = grown;
    m_dwCapacity = static_cast<DWORD>(capacity);
    m_bOwnsBuffer = true;
    return true;
}

size_t CMemoryStream::Read(void *dst, size_t itemSize, size_t count) {
    if (!dst || itemSize == 0 || count == 0 || m_dwPos >= m_dwSize)
        return 0;
    size_t available = m_dwSize - m_dwPos;
    size_t wanted = count <= available / itemSize ? itemSize * count : available;
    std::memcpy(dst, m_pBuffer + m_dwPos, wanted);
    m_dwPos += static_cast<DWORD>(wanted);
    return wanted / itemSize;
}

size_t CMemoryStream::Write(const void *src, size_t itemSize, size_t count) {
    if (!src || itemSize == 0 || count == 0)
        return 0;
    if (count > std::numeric_limits<size_t>::max() / itemSize)
        return 0;
    std::uint64_t bytes = static_cast<std::uint64_t>(itemSize) * count;
    std::uint64_t end = m_dwPos + bytes;
    if (bytes > kMaxPosition || end > kMaxPosition)
        return 0;
    if (!Reserve(static_cast<DWORD>(end)))
        return 0;
    // A position that was sought beyond the data leaves a gap; it reads back as zeros.
    if (m_dwPos > m_dwSize)
        std::memset(m_pBuffer + m_dwSize, 0, m_dwPos - m_dwSize);
    std::memcpy(m_pBuffer + m_dwPos, src, static_cast<size_t>(bytes));
    m_dwPos = static_cast<DWORD>(end);
    if (m_dwPos > m_dwSize)
        m_dwSize = m_dwPos;
    return count;
}

bool CMemoryStream::Seek(long offset, int origin) {
    std::int64_t base;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = m_dwPos;
        break;
    case 2:
        base = m_dwSize;
        break;
    default:
        return false;
    }
    std::int64_t target = base + offset;
    if (target < 0 || target > static_cast<std::int64_t>(kMaxPosition))
        return false;
    m_dwPos = static_cast<DWORD>(target);
    return true;
}

bool CMemoryStream::PutByte(BYTE value) {
    return Write(&value, 1, 1) == 1;
}

int CMemoryStream::GetByte() {
    if (m_dwPos >= m_dwSize)
        return -1;
    return m_pBuffer[m_dwPos++];
}
