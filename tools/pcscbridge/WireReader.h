// Bounds-checked reader of one bridge message payload.
#pragma once

#include <cstddef>
#include <cstdint>

class CWireReader {
public:
    CWireReader(const std::uint8_t *data, std::size_t size) : m_pData(data), m_cbSize(size) {}

    bool U8(std::uint8_t &value);
    bool U32(std::uint32_t &value);
    // A length-prefixed byte string of at most maxSize bytes; points into the payload.
    bool Bytes(const std::uint8_t *&data, std::uint32_t &size, std::uint32_t maxSize);
    bool AtEnd() const { return m_cbPos == m_cbSize; }

private:
    const std::uint8_t *m_pData;
    std::size_t m_cbSize;
    std::size_t m_cbPos = 0;
};
