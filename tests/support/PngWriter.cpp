#include "tests/support/PngWriter.h"

#include <cstdio>

namespace {

void PutBe32(std::vector<uint8_t> &out, uint32_t n) {
    out.push_back(static_cast<uint8_t>(n >> 24));
    out.push_back(static_cast<uint8_t>(n >> 16));
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(n));
}

void PutChunk(std::vector<uint8_t> &out, const char *pszType, const std::vector<uint8_t> &data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(pszType, pszType + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, CPngWriter::Crc32(typed.data(), typed.size()));
}

} // namespace

uint32_t CPngWriter::Crc32(const uint8_t *pData, size_t nSize, uint32_t nCrc) {
    nCrc = ~nCrc;
    for (size_t i = 0; i < nSize; ++i) {
        nCrc ^= pData[i];
        for (int k = 0; k < 8; ++k)
            nCrc = (nCrc >> 1) ^ (0xEDB88320u & (0u - (nCrc & 1u)));
    }
    return ~nCrc;
}

uint32_t CPngWriter::Adler32(const uint8_t *pData, size_t nSize) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < nSize; ++i) {
        a = (a + pData[i]) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> CPngWriter::Encode(unsigned nWidth, unsigned nHeight, const std::vector<uint8_t> &rgb) {
    std::vector<uint8_t> out;
    if (nWidth == 0 || nHeight == 0 || rgb.size() != static_cast<size_t>(nWidth) * nHeight * 3)
        return out;
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.assign(kSignature, kSignature + sizeof(kSignature));

    std::vector<uint8_t> header;
    PutBe32(header, nWidth);
    PutBe32(header, nHeight);
    header.push_back(8); // bit depth
    header.push_back(2); // colour type: RGB
    header.push_back(0); // deflate
    header.push_back(0); // adaptive filtering
    header.push_back(0); // no interlace
    PutChunk(out, "IHDR", header);

    // Raw scan lines, each behind filter type 0.
    std::vector<uint8_t> raw;
    const size_t nStride = static_cast<size_t>(nWidth) * 3;
    raw.reserve((nStride + 1) * nHeight);
    for (unsigned y = 0; y < nHeight; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + y * nStride, rgb.begin() + (y + 1) * nStride);
    }
    // zlib stream of stored blocks of at most 65535 bytes.
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t nPos = 0;
    do {
        const size_t nLen = raw.size() - nPos > 65535 ? 65535 : raw.size() - nPos;
        const bool bLast = nPos + nLen == raw.size();
        z.push_back(bLast ? 1 : 0);
        z.push_back(static_cast<uint8_t>(nLen));
        z.push_back(static_cast<uint8_t>(nLen >> 8));
        z.push_back(static_cast<uint8_t>(~nLen));
        z.push_back(static_cast<uint8_t>(~nLen >> 8));
        z.insert(z.end(), raw.begin() + nPos, raw.begin() + nPos + nLen);
        nPos += nLen;
    } while (nPos < raw.size());
    PutBe32(z, Adler32(raw.data(), raw.size()));
    PutChunk(out, "IDAT", z);
    PutChunk(out, "IEND", std::vector<uint8_t>());
    return out;
}

bool CPngWriter::Write(const std::string &strPath, unsigned nWidth, unsigned nHeight, const std::vector<uint8_t> &rgb) {
    const std::vector<uint8_t> png = Encode(nWidth, nHeight, rgb);
    if (png.empty())
        return false;
    FILE *pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile)
        return false;
    const bool bOk = std::fwrite(png.data(), 1, png.size(), pFile) == png.size();
    return std::fclose(pFile) == 0 && bOk;
}
