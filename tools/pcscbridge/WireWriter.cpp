#include "tools/pcscbridge/WireWriter.h"

void CWireWriter::U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_buffer.push_back(std::uint8_t(value >> (8 * i)));
}

void CWireWriter::Bytes(const void *data, std::size_t size) {
    U32(std::uint32_t(size));
    const std::uint8_t *p = static_cast<const std::uint8_t *>(data);
    if (size)
        m_buffer.insert(m_buffer.end(), p, p + size);
}

const std::vector<std::uint8_t> &CWireWriter::Finish() {
    std::uint32_t n = std::uint32_t(m_buffer.size() - 4);
    for (int i = 0; i < 4; ++i)
        m_buffer[i] = std::uint8_t(n >> (8 * i));
    return m_buffer;
}
