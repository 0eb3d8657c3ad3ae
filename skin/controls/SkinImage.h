// The skin engine's device-independent image (1, 4, 8 or 24 bits, optional alpha) and its BMP, ICO and TGA codecs.
#pragma once

#include "platform/WinCompat.h"
#include "skin/controls/MemoryStream.h"

#ifdef _WIN32
#include "platform/Handle.h"
#endif

class CSkinImage {
public:
    enum : DWORD { FORMAT_BMP = 0, FORMAT_ICO = 1, FORMAT_TGA = 2 };
    // No codec accepts larger images: it keeps a hostile header from asking for gigabytes. The area cap is far above
    // any skin's artwork (the embedded skins' largest image has 23,040 pixels; a full-screen bitmap has 2 million)
    // and keeps one 24-bit image with its alpha channel below 17 MB, which a 32-bit process can always spare.
    enum : DWORD { MAX_DIMENSION = 16384, MAX_PIXELS = 4u * 1024u * 1024u };
    enum : size_t { MAX_ERROR_TEXT = 255 };

    CSkinImage();
    ~CSkinImage();
    CSkinImage(const CSkinImage &other);
    CSkinImage &operator=(const CSkinImage &other);
    CSkinImage(CSkinImage &&other) noexcept;
    CSkinImage &operator=(CSkinImage &&other) noexcept;

    // Allocates a zeroed block: bits below 2 become 1, up to 4 become 4, below 9 become 8, else 24.
    // Fails for a zero or oversized width or height, more than MAX_PIXELS pixels, an unknown format or when memory
    // runs out.
    bool Create(DWORD width, DWORD height, DWORD bits, DWORD format);
    // Releases pixels and alpha; keeps settings such as the selected frame, the cancel flag and the error text.
    void Destroy();

    // Decodes into a fresh image and moves it here on success; on failure only the error text changes.
    bool Decode(CMemoryStream &stream, DWORD format);
    bool Decode(const BYTE *data, DWORD size, DWORD format);
    // Appends the encoded image to the stream; on failure the error text is set.
    bool Encode(CMemoryStream &stream, DWORD format);

    bool IsValid() const { return m_pDib != nullptr; }
    DWORD GetWidth() const { return m_head.biWidth > 0 ? static_cast<DWORD>(m_head.biWidth) : 0; }
    DWORD GetHeight() const { return m_head.biHeight > 0 ? static_cast<DWORD>(m_head.biHeight) : 0; }
    DWORD GetBpp() const { return m_head.biBitCount; }
    DWORD GetNumColors() const { return m_head.biClrUsed; }
    DWORD GetEffWidth() const { return m_dwEffWidth; }
    DWORD GetImageSize() const { return m_head.biSizeImage; }
    DWORD GetType() const { return m_dwType; }

    // The whole block (header, colour table, rows) for the platform's DIB calls, and its size in bytes.
    const BITMAPINFO *GetDIB() const { return reinterpret_cast<const BITMAPINFO *>(m_pDib); }
    DWORD GetDIBSize() const;
    RGBQUAD *GetPalette();
    const RGBQUAD *GetPalette() const;
    // Pixel rows bottom row first; each row is GetEffWidth() bytes.
    BYTE *GetBits();
    const BYTE *GetBits() const;
    // One pixel row; y counts from the top row. Null outside the image.
    BYTE *GetScanLine(DWORD y);
    const BYTE *GetScanLine(DWORD y) const;

    bool SetPaletteColor(DWORD index, BYTE red, BYTE green, BYTE blue);
    // Colour-table index of a pixel of a 1-, 4- or 8-bit image (0 outside or for 24-bit images); y from the top.
    BYTE GetPixelIndex(DWORD x, DWORD y) const;
    void SetPixelIndex(DWORD x, DWORD y, BYTE index);
    // A pixel's colour as blue, green, red (through the colour table for indexed images); y from the top.
    RGBQUAD GetPixelColor(DWORD x, DWORD y) const;
    void SetPixelColor(DWORD x, DWORD y, RGBQUAD color);

    bool HasAlpha() const { return m_pAlpha != nullptr; }
    // One byte per pixel, rows bottom first like the pixels, width bytes each; filled with 255.
    bool AlphaCreate();
    void AlphaDelete();
    BYTE *GetAlpha() { return m_pAlpha; }
    const BYTE *GetAlpha() const { return m_pAlpha; }
    BYTE AlphaGet(DWORD x, DWORD y) const;
    void AlphaSet(DWORD x, DWORD y, BYTE value);
    BYTE GetAlphaMax() const { return m_nAlphaMax; }
    void SetAlphaMax(BYTE value) { m_nAlphaMax = value; }

    long GetTransIndex() const { return m_nTransIndex; }
    void SetTransIndex(long index) { m_nTransIndex = index; }
    long GetFrame() const { return m_nFrame; }
    void SetFrame(long frame) { m_nFrame = frame; }
    long GetNumFrames() const { return m_nNumFrames; }
    long GetXDPI() const { return m_nXDpi; }
    long GetYDPI() const { return m_nYDpi; }
    void SetXDPI(long dpi);
    void SetYDPI(long dpi);
    // The number of frames a multi-image format holds (set by the ICO decoder).
    void SetNumFrames(long count) { m_nNumFrames = count; }
    // A decoder that sees the flag stops with "Cancelled".
    void SetCancel(bool cancel) { m_bCancel = cancel; }
    bool IsCancelled() const { return m_bCancel; }
    const char *GetLastError() const { return m_szLastError; }
    void SetLastError(const char *text);

    // Cuts [left, right) x [top, bottom) (y from the top row) into target, or into this image without one.
    bool Crop(long left, long top, long right, long bottom, CSkinImage *target = nullptr);
    // Quarter turns: 90 turns clockwise, 270 counter-clockwise, 180 and 0 as expected. Result into target or here.
    bool Turn(long angle, CSkinImage *target = nullptr);
    // Mirrors left and right (pixels and alpha).
    bool Mirror();
    // Swaps top and bottom rows (pixels and alpha).
    bool Flip();

#ifdef _WIN32
    // Copies a device-dependent bitmap through GetDIBits on the screen's device context.
    bool FromBitmap(HBITMAP bitmap);
    // A new device-dependent bitmap owned by the caller, or null.
    HBITMAP ToBitmap(HDC dc) const;
    // A memory device context holding the pixels as a device-independent section, for blitting from them. Made on
    // first use and kept with the image; any change of the pixels through this class releases it (the next call
    // makes it anew). Null when the image is empty or the section cannot be made. The image owns the DC: never
    // select anything else into it or delete it.
    HDC GetSectionDC() const;
    // The section's bits and the DC are released now (they come back on the next GetSectionDC).
    void ReleaseSection() const;
#endif

private:
    // The pixels or the colour table may change: a section made from them no longer shows them.
    void PixelsChanged() {
#ifdef _WIN32
        ReleaseSection();
#endif
    }
    void CopySettingsFrom(const CSkinImage &other);
    void CopyFrom(const CSkinImage &other);
    void MoveFrom(CSkinImage &other) noexcept;

    BYTE *m_pDib;            // header, colour table and rows in one block
    BITMAPINFOHEADER m_head; // copy of the block's header fields
    DWORD m_dwEffWidth;      // row stride in bytes
    BYTE *m_pAlpha;          // optional, one byte per pixel
    BYTE m_nAlphaMax;
    long m_nTransIndex;
    DWORD m_dwType;
    long m_nFrame;
    long m_nNumFrames;
    long m_nXDpi;
    long m_nYDpi;
    bool m_bCancel;
    char m_szLastError[MAX_ERROR_TEXT + 1];
#ifdef _WIN32
    // The section, then the DC it is selected into (released in the reverse order, the section deselected first).
    mutable CBitmap m_section;
    mutable CDC m_sectionDC;
    mutable HGDIOBJ m_hOldSectionBitmap = nullptr;
#endif
};
