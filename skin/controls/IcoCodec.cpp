#include "skin/controls/IcoCodec.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
DWORD Le32(const BYTE *p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}
WORD Le16(const BYTE *p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}
void PutLe16(BYTE *p, DWORD v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}
void PutLe32(BYTE *p, DWORD v) {
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

const size_t kDirectorySize = 6;
const size_t kEntrySize = 16;

// Bits per pixel of a directory entry: from its colour count, else from its bit count.
DWORD EntryBits(BYTE colorCount, WORD bitCount) {
    if (colorCount >= 1 && colorCount <= 2)
        return 1;
    if (colorCount >= 3 && colorCount <= 16)
        return 4;
    if (colorCount >= 17)
        return 8;
    return bitCount >= 9 ? bitCount : 8;
}
} // namespace

// Failures carry no error text.
bool CIcoCodec::Decode(CMemoryStream &stream, CSkinImage &image) {
    image.SetLastError("");
    const std::uint64_t start = static_cast<std::uint64_t>(stream.Tell());
    BYTE directory[kDirectorySize];
    if (stream.Read(directory, 1, sizeof(directory)) != sizeof(directory))
        return false;
    if (Le16(directory) != 0 || Le16(directory + 2) != 1)
        return false;
    const DWORD count = Le16(directory + 4);
    if (count == 0 || static_cast<std::uint64_t>(count) * kEntrySize > stream.Remaining())
        return false;
    std::vector<BYTE> entries(count * kEntrySize);
    if (stream.Read(entries.data(), kEntrySize, count) != count)
        return false;
    const long frame = image.GetFrame();
    if (frame < 0 || static_cast<DWORD>(frame) >= count)
        return false;
    image.SetNumFrames(static_cast<long>(count));

    const BYTE *entry = &entries[static_cast<size_t>(frame) * kEntrySize];
    // A width or height byte of 0 stands for 256 pixels.
    const DWORD width = entry[0] ? entry[0] : 256;
    const DWORD height = entry[1] ? entry[1] : 256;
    const DWORD bits = EntryBits(entry[2], Le16(entry + 6));
    const DWORD bytesInRes = Le32(entry + 8);
    const std::uint64_t offset = start + Le32(entry + 12);
    // The entry's image must lie inside the stream.
    if (offset + bytesInRes > stream.Size() || offset + 40 > stream.Size())
        return false;

    if (!image.Create(width, height, bits, CSkinImage::FORMAT_ICO))
        return false;
    image.SetNumFrames(static_cast<long>(count));
    if (!stream.Seek(static_cast<long>(offset + 40), 0))
        return false;
    if (image.GetNumColors()) {
        size_t paletteBytes = image.GetNumColors() * 4;
        if (stream.Read(image.GetPalette(), 1, paletteBytes) != paletteBytes)
            return false;
        for (DWORD i = 0; i < image.GetNumColors(); ++i)
            image.GetPalette()[i].rgbReserved = 0;
    }

    if (bits > 24) {
        std::vector<BYTE> row(static_cast<size_t>(width) * 4);
        if (!image.AlphaCreate())
            return false;
        BYTE *alpha = image.GetAlpha();
        // File rows are bottom first, like the pixel block and the alpha channel.
        for (DWORD r = 0; r < height; ++r) {
            if (stream.Read(row.data(), 1, row.size()) != row.size())
                return false;
            BYTE *out = image.GetBits() + static_cast<size_t>(r) * image.GetEffWidth();
            for (DWORD x = 0; x < width; ++x) {
                std::memcpy(out + x * 3, &row[x * 4], 3);
                alpha[static_cast<size_t>(r) * width + x] = row[x * 4 + 3];
            }
        }
    } else {
        if (stream.Read(image.GetBits(), 1, image.GetImageSize()) != image.GetImageSize())
            return false;
    }

    // The AND mask: a set bit makes its pixel transparent.
    const DWORD maskStride = ((width + 31) / 32) * 4;
    std::vector<BYTE> mask(static_cast<size_t>(maskStride) * height);
    if (stream.Read(mask.data(), 1, mask.size()) != mask.size())
        return false;
    const bool createdHere = !image.HasAlpha();
    if (!image.AlphaCreate())
        return false;
    BYTE *alpha = image.GetAlpha();
    bool anySet = false;
    for (DWORD r = 0; r < height; ++r) {
        const BYTE *maskRow = &mask[static_cast<size_t>(r) * maskStride];
        for (DWORD x = 0; x < width; ++x) {
            if (maskRow[x >> 3] & (0x80 >> (x & 7))) {
                alpha[static_cast<size_t>(r) * width + x] = 0;
                anySet = true;
            }
        }
    }
    if (!anySet && createdHere)
        image.AlphaDelete();
    return true;
}

bool CIcoCodec::Encode(CMemoryStream &stream, CSkinImage &image) {
    const DWORD width = image.GetWidth();
    const DWORD height = image.GetHeight();
    if (!image.IsValid() || width > 255 || height > 255) {
        image.SetLastError("Can't save this image as icon");
        return false;
    }
    const DWORD colors = image.GetNumColors();
    if (image.GetBpp() <= 8 && (!colors || !image.GetPalette())) {
        image.SetLastError("Can't save this image as icon");
        return false;
    }
    const bool alpha32 = image.HasAlpha() && colors == 0;
    const DWORD bitCount = alpha32 ? 32 : image.GetBpp();
    const DWORD pixelBytes = alpha32 ? width * height * 4 : image.GetImageSize();
    const DWORD maskStride = ((width + 31) / 32) * 4;
    const DWORD maskBytes = maskStride * height;
    const DWORD imageBytes = 40 + colors * 4 + pixelBytes + maskBytes;

    std::vector<BYTE> out;
    out.reserve(kDirectorySize + kEntrySize + imageBytes);
    out.resize(kDirectorySize + kEntrySize + 40, 0);
    BYTE *p = out.data();
    PutLe16(p + 2, 1); // type: icon
    PutLe16(p + 4, 1); // one entry
    BYTE *e = p + kDirectorySize;
    e[0] = static_cast<BYTE>(width);
    e[1] = static_cast<BYTE>(height);
    e[2] = static_cast<BYTE>(colors < 256 ? colors : 0);
    PutLe16(e + 4, 1);
    PutLe16(e + 6, bitCount);
    PutLe32(e + 8, imageBytes);
    PutLe32(e + 12, static_cast<DWORD>(kDirectorySize + kEntrySize));
    BYTE *h = e + kEntrySize;
    // The header's height counts the pixel rows and the mask rows.
    PutLe32(h, 40);
    PutLe32(h + 4, width);
    PutLe32(h + 8, height * 2);
    PutLe16(h + 12, 1);
    PutLe16(h + 14, bitCount);
    PutLe32(h + 20, pixelBytes + maskBytes);

    if (colors) {
        const BYTE *palette = reinterpret_cast<const BYTE *>(image.GetPalette());
        out.insert(out.end(), palette, palette + colors * 4);
    }
    const BYTE *alpha = image.GetAlpha();
    if (alpha32) {
        for (DWORD r = 0; r < height; ++r) {
            const BYTE *row = image.GetBits() + static_cast<size_t>(r) * image.GetEffWidth();
            for (DWORD x = 0; x < width; ++x) {
                out.insert(out.end(), row + x * 3, row + x * 3 + 3);
                out.push_back(alpha[static_cast<size_t>(r) * width + x]);
            }
        }
    } else {
        out.insert(out.end(), image.GetBits(), image.GetBits() + pixelBytes);
    }
    const long trans = image.GetTransIndex();
    for (DWORD r = 0; r < height; ++r) {
        std::vector<BYTE> maskRow(maskStride, 0);
        for (DWORD x = 0; x < width; ++x) {
            DWORD y = height - 1 - r; // rows bottom first; pixel access counts from the top
            bool clear = (alpha && alpha[static_cast<size_t>(r) * width + x] == 0) ||
                         (trans >= 0 && colors && image.GetPixelIndex(x, y) == static_cast<DWORD>(trans));
            if (clear)
                maskRow[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
        }
        out.insert(out.end(), maskRow.begin(), maskRow.end());
    }
    if (stream.Write(out.data(), out.size(), 1) != 1) {
        image.SetLastError("Can't allocate memory");
        return false;
    }
    return true;
}
