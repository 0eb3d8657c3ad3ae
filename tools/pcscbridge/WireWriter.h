// Builds one bridge message (length prefix included) so that it goes out in a single write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CWireWriter {
public:
    CWireWriter() { m_buffer.assign(4, 0); }

    void U8(std::uint8_t value) { m_buffer.push_back(value); }
    void U32(std::uint32_t value);
    void Bytes(const void *data, std::size_t size);
    // Fills in the length prefix; the result is the complete message.
    const std::vector<std::uint8_t> &Finish();

private:
    std::vector<std::uint8_t> m_buffer;
};
