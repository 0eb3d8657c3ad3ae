// Writes 24-bit RGB pixels as a PNG file (stored deflate blocks: no compressor needed, any viewer reads it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CPngWriter {
public:
    // rgb holds width * height * 3 bytes, top row first. Returns false when the file cannot be written.
    static bool Write(const std::string &strPath, unsigned nWidth, unsigned nHeight, const std::vector<uint8_t> &rgb);
    // The encoded file as bytes.
    static std::vector<uint8_t> Encode(unsigned nWidth, unsigned nHeight, const std::vector<uint8_t> &rgb);

    static uint32_t Crc32(const uint8_t *pData, size_t nSize, uint32_t nCrc = 0);
    static uint32_t Adler32(const uint8_t *pData, size_t nSize);
};
