#include "skin/controls/TgaCodec.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
const char kNotTga[] = "Not a TGA";
const char kCreateFailed[] = "TGA Create failed";
const char kCancelled[] = "Cancelled";
const char kUnknownType[] = "Unknown TGA image type";
const char kCorrupted[] = "corrupted TGA";
const char kBadDepth[] = "Unsupported TGA bit depth";

WORD Le16(const BYTE *p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}
void PutLe16(BYTE *p, DWORD v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

bool Fail(CSkinImage &image, const char *text) {
    image.SetLastError(text);
    return false;
}

// Packet state survives the end of a row: writers may let a packet run on into the next row.
class CTgaRowReader {
public:
    CTgaRowReader(CMemoryStream &stream, CSkinImage &image, DWORD depth, bool compressed, bool attributeAlpha)
        : m_stream(stream), m_image(image), m_depth(depth), m_bytes((depth + 7) / 8), m_compressed(compressed),
          m_attributeAlpha(attributeAlpha), m_left(0), m_repeat(false), m_pixel() {}

    // A repeat packet still has pixels for the next row: that row needs no further bytes.
    bool HasPendingRun() const { return m_compressed && m_repeat && m_left != 0; }

    // Decodes one row into image row y (counted from the top); a read error ends the row.
    void ReadRow(DWORD y) {
        const DWORD width = m_image.GetWidth();
        m_out = m_image.GetScanLine(y);
        m_alpha = m_image.HasAlpha() ? m_image.GetAlpha() + static_cast<size_t>(m_image.GetHeight() - 1 - y) * width
                                     : nullptr;
        if (!m_compressed && (m_depth == 8 || m_depth == 24)) {
            // The file's pixels have the memory layout already.
            m_stream.Read(m_out, 1, static_cast<size_t>(width) * m_bytes);
            return;
        }
        if (!m_compressed) {
            m_row.resize(static_cast<size_t>(width) * m_bytes);
            size_t got = m_stream.Read(m_row.data(), 1, m_row.size());
            for (DWORD x = 0; x < got / m_bytes; ++x)
                Put(x, &m_row[static_cast<size_t>(x) * m_bytes]);
            return;
        }
        for (DWORD x = 0; x < width; ++x) {
            if (m_left == 0) {
                int header = m_stream.GetByte();
                if (header < 0)
                    return;
                m_repeat = header >= 128;
                m_left = m_repeat ? header - 127 : header + 1;
                if (m_repeat && !ReadPixel())
                    return;
            }
            if (!m_repeat && !ReadPixel())
                return;
            Put(x, m_pixel);
            --m_left;
        }
    }

private:
    bool ReadPixel() { return m_stream.Read(m_pixel, 1, m_bytes) == m_bytes; }

    void Put(DWORD x, const BYTE *p) {
        BYTE *row = m_out;
        switch (m_depth) {
        case 8:
            row[x] = p[0];
            break;
        case 15:
        case 16: {
            DWORD value = Le16(p);
            row[x * 3] = static_cast<BYTE>((value & 0x1F) * 8);
            row[x * 3 + 1] = static_cast<BYTE>((value / 4) & 0xF8);
            row[x * 3 + 2] = static_cast<BYTE>((value / 128) & 0xF8);
            // Bit 15 is the attribute bit; it means transparency only when the descriptor declares one.
            // 15-bit images have no alpha channel.
            if (m_alpha)
                m_alpha[x] = m_attributeAlpha && !(value & 0x8000) ? 0 : 255;
            break;
        }
        case 24:
            std::memcpy(row + x * 3, p, 3);
            break;
        case 32:
            std::memcpy(row + x * 3, p, 3);
            m_alpha[x] = p[3];
            break;
        default:
            break;
        }
    }

    CMemoryStream &m_stream;
    CSkinImage &m_image;
    DWORD m_depth;
    DWORD m_bytes;
    bool m_compressed;
    bool m_attributeAlpha;
    DWORD m_left;
    bool m_repeat;
    BYTE m_pixel[4];
    std::vector<BYTE> m_row;
    BYTE *m_out = nullptr;   // the row being decoded
    BYTE *m_alpha = nullptr; // its alpha row, for the depths that carry alpha
};
} // namespace

bool CTgaCodec::Decode(CMemoryStream &stream, CSkinImage &image) {
    BYTE header[18];
    if (stream.Read(header, 1, sizeof(header)) != sizeof(header))
        return Fail(image, kNotTga);
    const DWORD idLength = header[0];
    const DWORD colorMapType = header[1];
    const DWORD imageType = header[2];
    const DWORD mapFirst = Le16(header + 3);
    const DWORD mapLength = Le16(header + 5);
    const DWORD mapEntryBits = header[7];
    const DWORD width = Le16(header + 12);
    const DWORD height = Le16(header + 14);
    const DWORD depth = header[16];
    const BYTE descriptor = header[17];
    stream.Seek(static_cast<long>(idLength), 1);

    if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32)
        return Fail(image, kBadDepth);
    if (width == 0 || height == 0 || width > CSkinImage::MAX_DIMENSION || height > CSkinImage::MAX_DIMENSION)
        return Fail(image, kCreateFailed);
    if (image.IsCancelled())
        return Fail(image, kCancelled);
    const bool compressed = imageType >= 9 && imageType <= 11;
    if (!compressed && !(imageType >= 1 && imageType <= 3))
        return Fail(image, kUnknownType);

    // Every row but the last must be complete for the decoding to succeed, so a stream too short for that
    // is refused before the pixel block is allocated. Run-length packets cover at most 128 pixels each and
    // may run on into the next row, so the pixels of those rows need at least one packet per 128.
    const DWORD pixelBytes = (depth + 7) / 8;
    const DWORD mapEntryBytes = (mapEntryBits == 15 || mapEntryBits == 16) ? 2 : (mapEntryBits == 32 ? 4 : 3);
    const std::uint64_t mapBytes = colorMapType ? static_cast<std::uint64_t>(mapLength) * mapEntryBytes : 0;
    const std::uint64_t leadingPixels = static_cast<std::uint64_t>(height - 1) * width;
    std::uint64_t pixelMinimum =
        compressed ? (leadingPixels + 127) / 128 * (1 + pixelBytes) : leadingPixels * pixelBytes + 1;
    if (pixelMinimum == 0)
        pixelMinimum = 1; // the first row must find some data
    if (stream.Remaining() < mapBytes + pixelMinimum)
        return Fail(image, kCorrupted);

    if (!image.Create(width, height, depth, CSkinImage::FORMAT_TGA))
        return Fail(image, kCreateFailed);
    if (depth == 16 || depth == 32) {
        if (!image.AlphaCreate())
            return Fail(image, kCreateFailed);
    }
    if (image.IsCancelled())
        return Fail(image, kCancelled);

    if (colorMapType) {
        // Entries start at the map's first index, where the pixel values look for them, and take the map's
        // own entry size so that the pixels after the map are read in step. Entries that fall outside the
        // image's colour table are read and dropped.
        for (DWORD i = 0; i < mapLength; ++i) {
            BYTE entry[4];
            if (stream.Read(entry, 1, mapEntryBytes) != mapEntryBytes)
                return Fail(image, kCorrupted);
            BYTE blue, green, red;
            if (mapEntryBytes == 2) {
                DWORD value = Le16(entry);
                blue = static_cast<BYTE>((value & 0x1F) * 8);
                green = static_cast<BYTE>((value / 4) & 0xF8);
                red = static_cast<BYTE>((value / 128) & 0xF8);
            } else {
                blue = entry[0];
                green = entry[1];
                red = entry[2];
            }
            image.SetPaletteColor(mapFirst + i, red, green, blue);
        }
    }
    if ((imageType == 3 || imageType == 11) && image.GetNumColors() == 256) {
        for (DWORD i = 0; i < 256; ++i)
            image.SetPaletteColor(i, static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i));
    }

    CTgaRowReader reader(stream, image, depth, compressed, (descriptor & 0x0F) != 0);
    const bool topFirst = (descriptor & 0x20) != 0;
    for (DWORD i = 0; i < height; ++i) {
        if (image.IsCancelled())
            return Fail(image, kCancelled);
        if (stream.IsEof() && !reader.HasPendingRun())
            return Fail(image, kCorrupted);
        reader.ReadRow(topFirst ? i : height - 1 - i);
    }
    if (descriptor & 0x10)
        image.Mirror();
    return true;
}

bool CTgaCodec::Encode(CMemoryStream &stream, CSkinImage &image) {
    const DWORD bpp = image.GetBpp();
    if (!image.IsValid() || (bpp != 8 && bpp != 24)) {
        image.SetLastError("Bit depth must be 8 or 24");
        return false;
    }
    const DWORD width = image.GetWidth();
    const DWORD height = image.GetHeight();
    const bool withAlpha = bpp == 24 && image.HasAlpha();
    BYTE header[18] = {};
    if (bpp == 8) {
        header[1] = 1; // colour map present
        header[2] = 1; // colour-mapped
        PutLe16(header + 5, 256);
        header[7] = 24;
    } else {
        header[2] = 2; // true colour
    }
    PutLe16(header + 12, width);
    PutLe16(header + 14, height);
    header[16] = static_cast<BYTE>(bpp == 8 ? 8 : (withAlpha ? 32 : 24));

    std::vector<BYTE> out(header, header + sizeof(header));
    if (bpp == 8) {
        const RGBQUAD *palette = image.GetPalette();
        for (DWORD i = 0; i < 256; ++i) {
            RGBQUAD c = i < image.GetNumColors() ? palette[i] : RGBQUAD{0, 0, 0, 0};
            out.push_back(c.rgbBlue);
            out.push_back(c.rgbGreen);
            out.push_back(c.rgbRed);
        }
    }
    const BYTE alphaMax = image.GetAlphaMax();
    for (DWORD r = 0; r < height; ++r) {
        const BYTE *row = image.GetBits() + static_cast<size_t>(r) * image.GetEffWidth();
        if (bpp == 8) {
            out.insert(out.end(), row, row + width);
        } else if (!withAlpha) {
            out.insert(out.end(), row, row + static_cast<size_t>(width) * 3);
        } else {
            const BYTE *alpha = image.GetAlpha() + static_cast<size_t>(r) * width;
            for (DWORD x = 0; x < width; ++x) {
                out.insert(out.end(), row + x * 3, row + x * 3 + 3);
                out.push_back(static_cast<BYTE>(alpha[x] * alphaMax / 255));
            }
        }
    }
    if (stream.Write(out.data(), out.size(), 1) != 1) {
        image.SetLastError("Can't allocate memory");
        return false;
    }
    return true;
}
