#include "skin/controls/BmpCodec.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {
const char kNotBmp[] = "Not a BMP";
const char kBadInfo[] = "Error reading BMP info";
const char kNoMemory[] = "Can't allocate memory";
const char kCancelled[] = "Cancelled";
const char kCompressionNotSupported[] = "compression type not supported";
const char kUnknownCompression[] = "unknown compression";
const char kNoMemoryLower[] = "can't allocate memory";
const char kCorrupted[] = "corrupted BMP";

DWORD Le32(const BYTE *p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}
WORD Le16(const BYTE *p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

bool Fail(CSkinImage &image, const char *text) {
    image.SetLastError(text);
    return false;
}

// The information header as this decoder uses it; core headers are widened.
struct InfoHeader {
    DWORD size;
    long width;
    long height;
    WORD bitCount;
    DWORD compression;
    DWORD sizeImage;
    long xPelsPerMeter;
    long yPelsPerMeter;
    DWORD clrUsed;
    bool core;
    DWORD masks[3];
    bool hasMasks; // masks carried inside a header longer than 40 bytes
};

bool ReadInfoHeader(CMemoryStream &stream, InfoHeader &info) {
    BYTE raw[40];
    long headerStart = stream.Tell();
    size_t got = stream.Read(raw, 1, sizeof(raw));
    if (got < 4)
        return false;
    info = InfoHeader();
    info.size = Le32(raw);
    if (info.size == 12) {
        if (got < 12)
            return false;
        info.core = true;
        info.width = Le16(raw + 4);
        info.height = Le16(raw + 6);
        info.bitCount = Le16(raw + 10);
        // Stand right after the 12-byte header.
        return stream.Seek(headerStart + 12, 0);
    }
    if (got < 40 || info.size < 40)
        return false;
    info.width = static_cast<std::int32_t>(Le32(raw + 4));
    info.height = static_cast<std::int32_t>(Le32(raw + 8));
    info.bitCount = Le16(raw + 14);
    info.compression = Le32(raw + 16);
    info.sizeImage = Le32(raw + 20);
    info.xPelsPerMeter = static_cast<std::int32_t>(Le32(raw + 24));
    info.yPelsPerMeter = static_cast<std::int32_t>(Le32(raw + 28));
    info.clrUsed = Le32(raw + 32);
    if (info.size > 40) {
        // Later header versions carry the colour masks and more; the colour table follows the whole header.
        if (info.size > stream.Size() || static_cast<DWORD>(headerStart) > stream.Size() - info.size)
            return false;
        if (info.size >= 52) {
            BYTE masks[12];
            if (stream.Read(masks, 1, sizeof(masks)) != sizeof(masks))
                return false;
            for (int i = 0; i < 3; ++i)
                info.masks[i] = Le32(masks + 4 * i);
            info.hasMasks = true;
        }
        if (!stream.Seek(headerStart + static_cast<long>(info.size), 0))
            return false;
    }
    return true;
}

// Shifts a masked field so that its top bit lands on bit 7 of the channel.
BYTE Channel(DWORD value, DWORD mask) {
    if (!mask)
        return 0;
    int top = 31;
    while (!(mask & (1u << top)))
        --top;
    DWORD field = value & mask;
    return static_cast<BYTE>(top >= 7 ? field >> (top - 7) : field << (7 - top));
}

// Writes one RLE pixel run position by position; positions outside the block are dropped.
class CRleTarget {
public:
    CRleTarget(CSkinImage &image) : m_bits(image.GetBits()), m_stride(image.GetEffWidth()), m_rows(image.GetHeight()) {}
    bool RowInside(DWORD row) const { return row < m_rows; }
    void PutByte(DWORD row, DWORD column, BYTE value) {
        if (row < m_rows && column < m_stride)
            m_bits[static_cast<size_t>(row) * m_stride + column] = value;
    }
    void PutNibble(DWORD row, DWORD x, BYTE nibble) {
        DWORD column = x / 2;
        if (row >= m_rows || column >= m_stride)
            return;
        BYTE &cell = m_bits[static_cast<size_t>(row) * m_stride + column];
        if (x % 2 == 0)
            cell = static_cast<BYTE>((cell & 0x0F) | (nibble << 4));
        else
            cell = static_cast<BYTE>((cell & 0xF0) | (nibble & 0x0F));
    }

private:
    BYTE *m_bits;
    DWORD m_stride;
    DWORD m_rows;
};

// RLE8 (Bits 8) and RLE4 (Bits 4). Rows are counted from the bottom; x counts pixels, so at 4 bits an even x
// is a high nibble and every row starts at the high nibble. Within a run or an absolute group the pixels take
// the data's units in order (at 4 bits the high nibble first) whatever the output phase, as the format
// defines. The stream running dry ends the bitmap like the end escape.
template <int Bits>
void DecodeRle(CMemoryStream &stream, CSkinImage &image) {
    static_assert(Bits == 8 || Bits == 4, "RLE8 or RLE4");
    constexpr int kPerByte = 8 / Bits;
    CRleTarget target(image);
    auto put = [&target](DWORD row, DWORD x, int value, int i) {
        if (Bits == 8)
            target.PutByte(row, x, static_cast<BYTE>(value));
        else
            target.PutNibble(row, x, static_cast<BYTE>(i % 2 == 0 ? value >> 4 : value & 0x0F));
    };
    DWORD row = 0, x = 0;
    while (target.RowInside(row)) {
        int count = stream.GetByte();
        if (count < 0)
            return;
        if (count > 0) {
            int value = stream.GetByte();
            if (value < 0)
                return;
            for (int i = 0; i < count; ++i)
                put(row, x++, value, i);
            continue;
        }
        int escape = stream.GetByte();
        if (escape < 0 || escape == 1)
            return;
        if (escape == 0) {
            ++row;
            x = 0;
        } else if (escape == 2) {
            int dx = stream.GetByte();
            int dy = stream.GetByte();
            if (dx < 0 || dy < 0)
                return;
            x += static_cast<DWORD>(dx);
            row += static_cast<DWORD>(dy);
        } else {
            // The group's data bytes, then one padding byte when their count is odd.
            const int dataBytes = (escape + kPerByte - 1) / kPerByte;
            int value = 0;
            for (int i = 0; i < escape; ++i) {
                if (i % kPerByte == 0) {
                    value = stream.GetByte();
                    if (value < 0)
                        return;
                }
                put(row, x++, value, i);
            }
            if (dataBytes & 1)
                stream.GetByte();
        }
    }
}

long DotsPerInch(long pelsPerMeter) {
    return static_cast<long>(std::floor(pelsPerMeter * 0.0254 + 0.5));
}
} // namespace

bool CBmpCodec::Decode(CMemoryStream &stream, CSkinImage &image) {
    const long start = stream.Tell();
    BYTE fileHeader[14];
    if (stream.Read(fileHeader, 1, sizeof(fileHeader)) != sizeof(fileHeader))
        return Fail(image, kNotBmp);
    DWORD dataOffset = Le32(fileHeader + 10);
    if (Le16(fileHeader) != 0x4D42) {
        // The stream begins with the information header.
        stream.Seek(start, 0);
        dataOffset = 0;
    }

    InfoHeader info;
    if (!ReadInfoHeader(stream, info))
        return Fail(image, kBadInfo);
    bool topDown = false;
    if (info.height < 0) {
        if (info.height == LONG_MIN)
            return Fail(image, kBadInfo);
        info.height = -info.height;
        topDown = true;
    }
    const WORD bits = info.bitCount;
    if (info.width <= 0 || info.height == 0 || info.width > static_cast<long>(CSkinImage::MAX_DIMENSION) ||
        info.height > static_cast<long>(CSkinImage::MAX_DIMENSION))
        return Fail(image, kBadInfo);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(image, kBadInfo);
    // A compression the pixels cannot have is reported as such however much data follows.
    if (bits <= 8 && info.compression != BI_RGB && info.compression != BI_RLE8 && info.compression != BI_RLE4)
        return Fail(image, kCompressionNotSupported);
    if ((bits == 24 && info.compression != BI_RGB) ||
        (bits == 32 && info.compression != BI_RGB && info.compression != BI_BITFIELDS))
        return Fail(image, kUnknownCompression);
    const DWORD width = static_cast<DWORD>(info.width);
    const DWORD height = static_cast<DWORD>(info.height);
    // Below the dimension limit these products fit easily in 64 bits (and the row size in 32).
    const DWORD fileStride = ((bits * width + 31) / 32) * 4;
    if (info.sizeImage == 0)
        info.sizeImage = fileStride * height;
    const DWORD headerColors = bits <= 8 ? (info.clrUsed ? info.clrUsed : (1u << bits)) : 0;

    // Where the pixels start, so that missing pixel data is refused before any allocation.
    const DWORD paletteEntries = bits <= 8 ? (headerColors < (1u << bits) ? headerColors : (1u << bits)) : 0;
    const DWORD entrySize = info.core ? 3 : 4;
    bool masksFollow = info.compression == BI_BITFIELDS && !info.hasMasks && !info.core && (bits == 16 || bits == 32);
    std::uint64_t dataStart;
    if (dataOffset != 0) {
        dataStart = static_cast<std::uint64_t>(start) + dataOffset;
        if (dataStart > stream.Size())
            return Fail(image, kCorrupted);
    } else {
        dataStart = static_cast<std::uint64_t>(stream.Tell()) + paletteEntries * entrySize + (masksFollow ? 12 : 0);
    }
    const std::uint64_t available = dataStart < stream.Size() ? stream.Size() - dataStart : 0;
    const bool compressed = bits <= 8 && (info.compression == BI_RLE8 || info.compression == BI_RLE4);
    if (!compressed) {
        DWORD rowBytes = (bits == 16) ? width * 2 : (bits == 32 ? width * 4 : (bits * width + 7) / 8);
        DWORD stride = (bits == 16) ? ((width + 1) / 2) * 4 : (bits == 32 ? width * 4 : fileStride);
        // The last row may lack its padding.
        std::uint64_t needed = static_cast<std::uint64_t>(height - 1) * stride + rowBytes;
        if (available < needed)
            return Fail(image, kCorrupted);
    }

    if (!image.Create(width, height, bits, CSkinImage::FORMAT_BMP))
        return Fail(image, kNoMemory);
    image.SetXDPI(DotsPerInch(info.xPelsPerMeter));
    image.SetYDPI(DotsPerInch(info.yPelsPerMeter));
    if (image.IsCancelled())
        return Fail(image, kCancelled);

    if (bits <= 8) {
        RGBQUAD *palette = image.GetPalette();
        for (DWORD i = 0; i < paletteEntries; ++i) {
            BYTE entry[4] = {0, 0, 0, 0};
            if (stream.Read(entry, 1, entrySize) != entrySize)
                break;
            palette[i].rgbBlue = entry[0];
            palette[i].rgbGreen = entry[1];
            palette[i].rgbRed = entry[2];
            palette[i].rgbReserved = 0;
        }
        if (image.IsCancelled())
            return Fail(image, kCancelled);
    }

    DWORD masks[3] = {0x7C00, 0x3E0, 0x1F};
    if (info.hasMasks && info.compression == BI_BITFIELDS) {
        std::memcpy(masks, info.masks, sizeof(masks));
    } else if (masksFollow) {
        // The masks sit between the header and the colour data, wherever the pixels start.
        BYTE raw[12];
        if (stream.Read(raw, 1, sizeof(raw)) != sizeof(raw))
            return Fail(image, kCorrupted);
        for (int i = 0; i < 3; ++i)
            masks[i] = Le32(raw + 4 * i);
    }
    if (!stream.Seek(static_cast<long>(dataStart), 0))
        return Fail(image, kCorrupted);

    switch (bits) {
    case 1:
    case 4:
    case 8:
        if (info.compression == BI_RGB) {
            DWORD size = info.sizeImage < image.GetImageSize() ? info.sizeImage : image.GetImageSize();
            stream.Read(image.GetBits(), 1, size);
        } else if (info.compression == BI_RLE8) {
            DecodeRle<8>(stream, image);
        } else if (info.compression == BI_RLE4) {
            DecodeRle<4>(stream, image);
        } else {
            return Fail(image, kCompressionNotSupported);
        }
        break;
    case 16: {
        std::vector<BYTE> row(((width + 1) / 2) * 4);
        for (DWORD y = 0; y < height; ++y) {
            if (stream.Read(row.data(), 1, row.size()) == 0)
                break;
            // Rows are stored bottom first like the pixel block.
            BYTE *out = image.GetScanLine(height - 1 - y);
            for (DWORD x = 0; x < width; ++x) {
                DWORD value = Le16(&row[x * 2]);
                out[x * 3] = Channel(value, masks[2]);
                out[x * 3 + 1] = Channel(value, masks[1]);
                out[x * 3 + 2] = Channel(value, masks[0]);
            }
        }
        break;
    }
    case 24:
        if (info.compression != BI_RGB)
            return Fail(image, kUnknownCompression);
        stream.Read(image.GetBits(), 1, info.sizeImage < image.GetImageSize() ? info.sizeImage : image.GetImageSize());
        break;
    case 32: {
        if (info.compression != BI_RGB && info.compression != BI_BITFIELDS)
            return Fail(image, kUnknownCompression);
        std::vector<BYTE> row;
        try {
            row.resize(static_cast<size_t>(width) * 4);
        } catch (...) {
            return Fail(image, kNoMemoryLower);
        }
        for (DWORD y = 0; y < height; ++y) {
            if (stream.Read(row.data(), 1, row.size()) == 0)
                break;
            BYTE *out = image.GetScanLine(height - 1 - y);
            for (DWORD x = 0; x < width; ++x)
                std::memcpy(out + x * 3, &row[x * 4], 3);
        }
        break;
    }
    default:
        return Fail(image, kBadInfo);
    }

    if (topDown)
        image.Flip();
    return true;
}

bool CBmpCodec::Encode(CMemoryStream &stream, CSkinImage &image) {
    const BITMAPINFO *dib = image.GetDIB();
    if (!dib) {
        image.SetLastError("Image is empty");
        return false;
    }
    const DWORD paletteBytes = image.GetNumColors() * 4;
    BITMAPFILEHEADER fileHeader;
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = 14 + static_cast<DWORD>(sizeof(BITMAPINFOHEADER)) + paletteBytes + image.GetImageSize();
    fileHeader.bfReserved1 = 0;
    fileHeader.bfReserved2 = 0;
    fileHeader.bfOffBits = 14 + static_cast<DWORD>(sizeof(BITMAPINFOHEADER)) + paletteBytes;
    // The block holds header, colour table and rows exactly as the file stores them after its header.
    if (stream.Write(&fileHeader, sizeof(fileHeader), 1) != 1 || stream.Write(dib, image.GetDIBSize(), 1) != 1) {
        image.SetLastError(kNoMemory);
        return false;
    }
    return true;
}
