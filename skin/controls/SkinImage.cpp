#include "skin/controls/SkinImage.h"

#include "skin/controls/BmpCodec.h"
#include "skin/controls/IcoCodec.h"
#include "skin/controls/TgaCodec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {
const char kUnsupportedFormat[] = "Unsupported operation for this format";
const char kNoMemory[] = "Can't allocate memory";
const char kTooLarge[] = "Image too large: more than 4194304 pixels";

bool IsKnownFormat(DWORD format) {
    return format == CSkinImage::FORMAT_BMP || format == CSkinImage::FORMAT_ICO || format == CSkinImage::FORMAT_TGA;
}
} // namespace

CSkinImage::CSkinImage()
    : m_pDib(nullptr), m_head(), m_dwEffWidth(0), m_pAlpha(nullptr), m_nAlphaMax(255), m_nTransIndex(-1),
      m_dwType(FORMAT_BMP), m_nFrame(0), m_nNumFrames(0), m_nXDpi(72), m_nYDpi(72), m_bCancel(false), m_szLastError() {}

CSkinImage::~CSkinImage() {
    Destroy();
}

CSkinImage::CSkinImage(const CSkinImage &other) : CSkinImage() {
    CopyFrom(other);
}

CSkinImage &CSkinImage::operator=(const CSkinImage &other) {
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CSkinImage::CSkinImage(CSkinImage &&other) noexcept : CSkinImage() {
    MoveFrom(other);
}

CSkinImage &CSkinImage::operator=(CSkinImage &&other) noexcept {
    if (this != &other)
        MoveFrom(other);
    return *this;
}

void CSkinImage::CopySettingsFrom(const CSkinImage &other) {
    m_nAlphaMax = other.m_nAlphaMax;
    m_nTransIndex = other.m_nTransIndex;
    m_dwType = other.m_dwType;
    m_nFrame = other.m_nFrame;
    m_nNumFrames = other.m_nNumFrames;
    m_nXDpi = other.m_nXDpi;
    m_nYDpi = other.m_nYDpi;
    m_bCancel = other.m_bCancel;
    std::memcpy(m_szLastError, other.m_szLastError, sizeof(m_szLastError));
}

// A copy that cannot get memory ends up empty with the error text set, like a failed Create.
void CSkinImage::CopyFrom(const CSkinImage &other) {
    Destroy();
    CopySettingsFrom(other);
    if (!other.m_pDib)
        return;
    DWORD size = other.GetDIBSize();
    m_pDib = static_cast<BYTE *>(std::malloc(size));
    if (!m_pDib) {
        SetLastError(kNoMemory);
        return;
    }
    std::memcpy(m_pDib, other.m_pDib, size);
    m_head = other.m_head;
    m_dwEffWidth = other.m_dwEffWidth;
    if (other.m_pAlpha) {
        size_t alphaSize = static_cast<size_t>(GetWidth()) * GetHeight();
        m_pAlpha = static_cast<BYTE *>(std::malloc(alphaSize));
        if (m_pAlpha)
            std::memcpy(m_pAlpha, other.m_pAlpha, alphaSize);
    }
}

void CSkinImage::MoveFrom(CSkinImage &other) noexcept {
    Destroy();
    CopySettingsFrom(other);
    m_pDib = other.m_pDib;
    m_head = other.m_head;
    m_dwEffWidth = other.m_dwEffWidth;
    m_pAlpha = other.m_pAlpha;
    other.m_pDib = nullptr;
    other.m_pAlpha = nullptr;
    other.m_head = BITMAPINFOHEADER();
    other.m_dwEffWidth = 0;
    other.PixelsChanged();
}

void CSkinImage::Destroy() {
    PixelsChanged();
    std::free(m_pDib);
    std::free(m_pAlpha);
    m_pDib = nullptr;
    m_pAlpha = nullptr;
    m_head = BITMAPINFOHEADER();
    m_dwEffWidth = 0;
}

bool CSkinImage::Create(DWORD width, DWORD height, DWORD bits, DWORD format) {
    Destroy();
    if (!IsKnownFormat(format)) {
        SetLastError(kUnsupportedFormat);
        return false;
    }
    if (width == 0 || height == 0 || width > MAX_DIMENSION || height > MAX_DIMENSION) {
        SetLastError(kNoMemory);
        return false;
    }
    if (static_cast<std::uint64_t>(width) * height > MAX_PIXELS) {
        SetLastError(kTooLarge);
        return false;
    }
    if (bits < 2)
        bits = 1;
    else if (bits <= 4)
        bits = 4;
    else if (bits < 9)
        bits = 8;
    else
        bits = 24;
    DWORD colors = bits <= 8 ? (1u << bits) : 0;
    // At most 16384 * 24 + 31 bits per row and 16384 rows: the products stay below 2^32.
    DWORD stride = ((width * bits + 31) / 32) * 4;
    DWORD imageSize = stride * height;
    DWORD blockSize = static_cast<DWORD>(sizeof(BITMAPINFOHEADER)) + colors * 4 + imageSize;
    m_pDib = static_cast<BYTE *>(std::calloc(blockSize, 1));
    if (!m_pDib) {
        SetLastError(kNoMemory);
        return false;
    }
    m_head = BITMAPINFOHEADER();
    m_head.biSize = sizeof(BITMAPINFOHEADER);
    m_head.biWidth = static_cast<LONG>(width);
    m_head.biHeight = static_cast<LONG>(height);
    m_head.biPlanes = 1;
    m_head.biBitCount = static_cast<WORD>(bits);
    m_head.biCompression = BI_RGB;
    m_head.biSizeImage = imageSize;
    m_head.biClrUsed = colors;
    m_dwEffWidth = stride;
    m_dwType = format;
    std::memcpy(m_pDib, &m_head, sizeof(m_head));
    SetXDPI(m_nXDpi);
    SetYDPI(m_nYDpi);
    return true;
}

DWORD CSkinImage::GetDIBSize() const {
    if (!m_pDib)
        return 0;
    return static_cast<DWORD>(sizeof(BITMAPINFOHEADER)) + m_head.biClrUsed * 4 + m_head.biSizeImage;
}

// The writable accessors hand out pixels that the caller may change; the read-only ones leave the section alone.
RGBQUAD *CSkinImage::GetPalette() {
    PixelsChanged();
    return const_cast<RGBQUAD *>(static_cast<const CSkinImage *>(this)->GetPalette());
}

const RGBQUAD *CSkinImage::GetPalette() const {
    return m_pDib && m_head.biClrUsed ? reinterpret_cast<const RGBQUAD *>(m_pDib + sizeof(BITMAPINFOHEADER))
                                      : nullptr;
}

BYTE *CSkinImage::GetBits() {
    PixelsChanged();
    return const_cast<BYTE *>(static_cast<const CSkinImage *>(this)->GetBits());
}

const BYTE *CSkinImage::GetBits() const {
    return m_pDib ? m_pDib + sizeof(BITMAPINFOHEADER) + m_head.biClrUsed * 4 : nullptr;
}

BYTE *CSkinImage::GetScanLine(DWORD y) {
    PixelsChanged();
    return const_cast<BYTE *>(static_cast<const CSkinImage *>(this)->GetScanLine(y));
}

const BYTE *CSkinImage::GetScanLine(DWORD y) const {
    if (!m_pDib || y >= GetHeight())
        return nullptr;
    return GetBits() + static_cast<size_t>(GetHeight() - 1 - y) * m_dwEffWidth;
}

void CSkinImage::SetXDPI(long dpi) {
    if (dpi < 0 || dpi > 100000)
        dpi = 72;
    m_nXDpi = dpi;
    // Pixels per metre, rounded, as the header stores them.
    m_head.biXPelsPerMeter = static_cast<LONG>(dpi * 10000 / 254 + ((dpi * 10000 % 254) * 2 >= 254 ? 1 : 0));
    if (m_pDib)
        reinterpret_cast<BITMAPINFOHEADER *>(m_pDib)->biXPelsPerMeter = m_head.biXPelsPerMeter;
}

void CSkinImage::SetYDPI(long dpi) {
    if (dpi < 0 || dpi > 100000)
        dpi = 72;
    m_nYDpi = dpi;
    m_head.biYPelsPerMeter = static_cast<LONG>(dpi * 10000 / 254 + ((dpi * 10000 % 254) * 2 >= 254 ? 1 : 0));
    if (m_pDib)
        reinterpret_cast<BITMAPINFOHEADER *>(m_pDib)->biYPelsPerMeter = m_head.biYPelsPerMeter;
}

void CSkinImage::SetLastError(const char *text) {
    if (!text)
        text = "";
    size_t n = 0;
    while (n < MAX_ERROR_TEXT && text[n])
        ++n;
    std::memmove(m_szLastError, text, n);
    m_szLastError[n] = '\0';
}

bool CSkinImage::SetPaletteColor(DWORD index, BYTE red, BYTE green, BYTE blue) {
    RGBQUAD *palette = GetPalette();
    if (!palette || index >= m_head.biClrUsed)
        return false;
    palette[index].rgbRed = red;
    palette[index].rgbGreen = green;
    palette[index].rgbBlue = blue;
    palette[index].rgbReserved = 0;
    return true;
}

BYTE CSkinImage::GetPixelIndex(DWORD x, DWORD y) const {
    const BYTE *row = GetScanLine(y);
    if (!row || x >= GetWidth())
        return 0;
    switch (m_head.biBitCount) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8:
        return row[x];
    default:
        return 0;
    }
}

void CSkinImage::SetPixelIndex(DWORD x, DWORD y, BYTE index) {
    BYTE *row = GetScanLine(y);
    if (!row || x >= GetWidth())
        return;
    switch (m_head.biBitCount) {
    case 1: {
        BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<BYTE>((index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
        break;
    }
    case 4: {
        BYTE &cell = row[x >> 1];
        cell = (x & 1) ? static_cast<BYTE>((cell & 0xF0) | (index & 0x0F))
                       : static_cast<BYTE>((cell & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    case 8:
        row[x] = index;
        break;
    default:
        break;
    }
}

RGBQUAD CSkinImage::GetPixelColor(DWORD x, DWORD y) const {
    RGBQUAD color = {0, 0, 0, 0};
    const BYTE *row = GetScanLine(y);
    if (!row || x >= GetWidth())
        return color;
    if (m_head.biBitCount == 24) {
        color.rgbBlue = row[x * 3];
        color.rgbGreen = row[x * 3 + 1];
        color.rgbRed = row[x * 3 + 2];
        return color;
    }
    BYTE index = GetPixelIndex(x, y);
    const RGBQUAD *palette = GetPalette();
    if (palette && index < m_head.biClrUsed)
        color = palette[index];
    color.rgbReserved = 0;
    return color;
}

void CSkinImage::SetPixelColor(DWORD x, DWORD y, RGBQUAD color) {
    BYTE *row = GetScanLine(y);
    if (!row || x >= GetWidth())
        return;
    if (m_head.biBitCount == 24) {
        row[x * 3] = color.rgbBlue;
        row[x * 3 + 1] = color.rgbGreen;
        row[x * 3 + 2] = color.rgbRed;
        return;
    }
    // Indexed images take the nearest colour-table entry.
    const RGBQUAD *palette = GetPalette();
    DWORD best = 0;
    long bestDistance = -1;
    for (DWORD i = 0; i < m_head.biClrUsed; ++i) {
        long db = static_cast<long>(palette[i].rgbBlue) - color.rgbBlue;
        long dg = static_cast<long>(palette[i].rgbGreen) - color.rgbGreen;
        long dr = static_cast<long>(palette[i].rgbRed) - color.rgbRed;
        long distance = db * db + dg * dg + dr * dr;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    SetPixelIndex(x, y, static_cast<BYTE>(best));
}

bool CSkinImage::AlphaCreate() {
    if (!m_pDib)
        return false;
    if (!m_pAlpha) {
        size_t size = static_cast<size_t>(GetWidth()) * GetHeight();
        m_pAlpha = static_cast<BYTE *>(std::malloc(size));
        if (!m_pAlpha)
            return false;
        std::memset(m_pAlpha, 255, size);
    }
    return true;
}

void CSkinImage::AlphaDelete() {
    std::free(m_pAlpha);
    m_pAlpha = nullptr;
}

BYTE CSkinImage::AlphaGet(DWORD x, DWORD y) const {
    if (!m_pAlpha || x >= GetWidth() || y >= GetHeight())
        return 0;
    return m_pAlpha[static_cast<size_t>(GetHeight() - 1 - y) * GetWidth() + x];
}

void CSkinImage::AlphaSet(DWORD x, DWORD y, BYTE value) {
    if (!m_pAlpha || x >= GetWidth() || y >= GetHeight())
        return;
    m_pAlpha[static_cast<size_t>(GetHeight() - 1 - y) * GetWidth() + x] = value;
}

bool CSkinImage::Decode(CMemoryStream &stream, DWORD format) {
    CSkinImage fresh;
    fresh.m_nFrame = m_nFrame;
    fresh.m_bCancel = m_bCancel;
    bool ok = false;
    // Skins load inside window procedures: an allocation failure in a codec must not escape as an exception.
    try {
        switch (format) {
        case FORMAT_BMP:
            ok = CBmpCodec::Decode(stream, fresh);
            break;
        case FORMAT_ICO:
            ok = CIcoCodec::Decode(stream, fresh);
            break;
        case FORMAT_TGA:
            ok = CTgaCodec::Decode(stream, fresh);
            break;
        default:
            fresh.SetLastError(kUnsupportedFormat);
            break;
        }
    } catch (const std::bad_alloc &) {
        fresh.SetLastError(kNoMemory);
        ok = false;
    }
    if (!ok || !fresh.IsValid()) {
        SetLastError(fresh.m_szLastError);
        return false;
    }
    fresh.m_dwType = format;
    *this = std::move(fresh);
    return true;
}

bool CSkinImage::Decode(const BYTE *data, DWORD size, DWORD format) {
    CMemoryStream stream(const_cast<BYTE *>(data), size, false);
    return Decode(stream, format);
}

bool CSkinImage::Encode(CMemoryStream &stream, DWORD format) {
    if (!m_pDib) {
        SetLastError("Image is empty");
        return false;
    }
    try {
        switch (format) {
        case FORMAT_BMP:
            return CBmpCodec::Encode(stream, *this);
        case FORMAT_ICO:
            return CIcoCodec::Encode(stream, *this);
        case FORMAT_TGA:
            return CTgaCodec::Encode(stream, *this);
        default:
            SetLastError(kUnsupportedFormat);
            return false;
        }
    } catch (const std::bad_alloc &) {
        SetLastError(kNoMemory);
        return false;
    }
}

bool CSkinImage::Crop(long left, long top, long right, long bottom, CSkinImage *target) {
    if (!m_pDib)
        return false;
    long width = static_cast<long>(GetWidth());
    long height = static_cast<long>(GetHeight());
    auto clamp = [](long v, long hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
    left = clamp(left, width);
    right = clamp(right, width);
    top = clamp(top, height);
    bottom = clamp(bottom, height);
    if (left == right || top == bottom)
        return false;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);

    CSkinImage cut;
    cut.CopySettingsFrom(*this);
    if (!cut.Create(static_cast<DWORD>(right - left), static_cast<DWORD>(bottom - top), GetBpp(), m_dwType))
        return false;
    // Read through the const accessors: cutting leaves this image's pixels as they are.
    const CSkinImage &source = *this;
    if (m_head.biClrUsed)
        std::memcpy(cut.GetPalette(), source.GetPalette(), m_head.biClrUsed * 4);
    DWORD bpp = GetBpp();
    for (long y = top; y < bottom; ++y) {
        DWORD dy = static_cast<DWORD>(y - top);
        if (bpp == 8 || bpp == 24) {
            DWORD bytes = bpp / 8;
            std::memcpy(cut.GetScanLine(dy), source.GetScanLine(static_cast<DWORD>(y)) + left * bytes,
                        static_cast<size_t>(right - left) * bytes);
        } else {
            for (long x = left; x < right; ++x)
                cut.SetPixelIndex(static_cast<DWORD>(x - left), dy,
                                  GetPixelIndex(static_cast<DWORD>(x), static_cast<DWORD>(y)));
        }
    }
    if (m_pAlpha && cut.AlphaCreate()) {
        for (long y = top; y < bottom; ++y)
            for (long x = left; x < right; ++x)
                cut.AlphaSet(static_cast<DWORD>(x - left), static_cast<DWORD>(y - top),
                             AlphaGet(static_cast<DWORD>(x), static_cast<DWORD>(y)));
    }
    if (target)
        *target = std::move(cut);
    else
        *this = std::move(cut);
    return true;
}

bool CSkinImage::Turn(long angle, CSkinImage *target) {
    if (!m_pDib)
        return false;
    angle %= 360;
    if (angle < 0)
        angle += 360;
    if (angle % 90 != 0) {
        SetLastError("Unsupported angle");
        return false;
    }
    DWORD width = GetWidth();
    DWORD height = GetHeight();
    bool quarter = angle == 90 || angle == 270;
    CSkinImage turned;
    turned.CopySettingsFrom(*this);
    if (!turned.Create(quarter ? height : width, quarter ? width : height, GetBpp(), m_dwType))
        return false;
    if (m_head.biClrUsed)
        std::memcpy(turned.GetPalette(), GetPalette(), m_head.biClrUsed * 4);
    if (m_pAlpha && !turned.AlphaCreate())
        return false;
    if (quarter) {
        turned.SetXDPI(m_nYDpi);
        turned.SetYDPI(m_nXDpi);
    }
    DWORD bytes = GetBpp() / 8; // 0 for 1- and 4-bit images
    for (DWORD y = 0; y < height; ++y) {
        const BYTE *row = GetScanLine(y);
        for (DWORD x = 0; x < width; ++x) {
            DWORD tx, ty;
            switch (angle) {
            case 90: // clockwise: the left edge becomes the top edge
                tx = height - 1 - y;
                ty = x;
                break;
            case 180:
                tx = width - 1 - x;
                ty = height - 1 - y;
                break;
            case 270: // counter-clockwise: the left edge becomes the bottom edge
                tx = y;
                ty = width - 1 - x;
                break;
            default:
                tx = x;
                ty = y;
                break;
            }
            if (bytes)
                std::memcpy(turned.GetScanLine(ty) + tx * bytes, row + x * bytes, bytes);
            else
                turned.SetPixelIndex(tx, ty, GetPixelIndex(x, y));
            if (m_pAlpha)
                turned.AlphaSet(tx, ty, AlphaGet(x, y));
        }
    }
    if (target)
        *target = std::move(turned);
    else
        *this = std::move(turned);
    return true;
}

bool CSkinImage::Mirror() {
    if (!m_pDib)
        return false;
    DWORD width = GetWidth();
    DWORD height = GetHeight();
    DWORD bytes = GetBpp() / 8;
    for (DWORD y = 0; y < height; ++y) {
        BYTE *row = GetScanLine(y);
        for (DWORD x = 0; x < width / 2; ++x) {
            DWORD o = width - 1 - x;
            if (bytes) {
                for (DWORD b = 0; b < bytes; ++b)
                    std::swap(row[x * bytes + b], row[o * bytes + b]);
            } else {
                BYTE a = GetPixelIndex(x, y);
                SetPixelIndex(x, y, GetPixelIndex(o, y));
                SetPixelIndex(o, y, a);
            }
            if (m_pAlpha) {
                BYTE a = AlphaGet(x, y);
                AlphaSet(x, y, AlphaGet(o, y));
                AlphaSet(o, y, a);
            }
        }
    }
    return true;
}

bool CSkinImage::Flip() {
    if (!m_pDib)
        return false;
    DWORD height = GetHeight();
    DWORD width = GetWidth();
    for (DWORD y = 0; y < height / 2; ++y) {
        BYTE *a = GetScanLine(y);
        BYTE *b = GetScanLine(height - 1 - y);
        for (DWORD i = 0; i < m_dwEffWidth; ++i)
            std::swap(a[i], b[i]);
        if (m_pAlpha) {
            BYTE *aa = m_pAlpha + static_cast<size_t>(y) * width;
            BYTE *ab = m_pAlpha + static_cast<size_t>(height - 1 - y) * width;
            for (DWORD i = 0; i < width; ++i)
                std::swap(aa[i], ab[i]);
        }
    }
    return true;
}
