// Little-endian byte fixtures for codec tests.
#pragma once

#include "platform/WinCompat.h"

#include <initializer_list>
#include <vector>

class CByteBuilder {
public:
    CByteBuilder &U8(unsigned v) {
        m_bytes.push_back(static_cast<BYTE>(v));
        return *this;
    }
    CByteBuilder &U16(unsigned v) { return U8(v).U8(v >> 8); }
    CByteBuilder &U32(unsigned long v) {
        return U16(static_cast<unsigned>(v & 0xFFFF)).U16(static_cast<unsigned>(v >> 16));
    }
    CByteBuilder &Bytes(std::initializer_list<unsigned> list) {
        for (unsigned v : list)
            U8(v);
        return *this;
    }
    CByteBuilder &Fill(size_t count, unsigned v) {
        m_bytes.insert(m_bytes.end(), count, static_cast<BYTE>(v));
        return *this;
    }
    // A 40-byte information header.
    CByteBuilder &InfoHeader(long width, long height, unsigned bits, unsigned long compression = 0,
                             unsigned long sizeImage = 0, unsigned long clrUsed = 0, long ppm = 2835) {
        return U32(40)
            .U32(static_cast<unsigned long>(width))
            .U32(static_cast<unsigned long>(height))
            .U16(1)
            .U16(bits)
            .U32(compression)
            .U32(sizeImage)
            .U32(static_cast<unsigned long>(ppm))
            .U32(static_cast<unsigned long>(ppm))
            .U32(clrUsed)
            .U32(0);
    }
    // A 14-byte file header whose pixels start at dataOffset.
    CByteBuilder &FileHeader(unsigned long dataOffset, unsigned long fileSize = 0) {
        return U16(0x4D42).U32(fileSize).U16(0).U16(0).U32(dataOffset);
    }
    std::vector<BYTE> &Data() { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
};
