#include "tools/pcscbridge/WireReader.h"

bool CWireReader::U8(std::uint8_t &value) {
    if (m_cbSize - m_cbPos < 1)
        return false;
    value = m_pData[m_cbPos++];
    return true;
}

bool CWireReader::U32(std::uint32_t &value) {
    if (m_cbSize - m_cbPos < 4)
        return false;
    const std::uint8_t *p = m_pData + m_cbPos;
    value = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    m_cbPos += 4;
    return true;
}

bool CWireReader::Bytes(const std::uint8_t *&data, std::uint32_t &size, std::uint32_t maxSize) {
    std::uint32_t n = 0;
    std::size_t start = m_cbPos;
    if (!U32(n) || n > maxSize || m_cbSize - m_cbPos < n) {
        m_cbPos = start;
        return false;
    }
    data = m_pData + m_cbPos;
    size = n;
    m_cbPos += n;
    return true;
}
