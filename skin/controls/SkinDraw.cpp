#include "skin/controls/SkinDraw.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/ClientDC.h"
#include "platform/RectSize.h"
#include "platform/SelectObject.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinImage.h"

namespace {

CSkinImage *FindPieceImage(CSkin &skin, const SkinPiece &piece) {
    // Names are terminated when a skin is loaded; pieces built elsewhere get the same bound here.
    char name[SKIN_IMAGE_NAME_SIZE];
    std::memcpy(name, piece.szImage, sizeof(name));
    name[SKIN_IMAGE_NAME_SIZE - 1] = '\0';
    return name[0] ? skin.FindImage(name) : nullptr;
}

// The part of the image that the piece's source rectangle covers, clamped into the image and put in order as a cut
// of it would be; false when nothing is left of it.
bool SourceRect(const CSkinImage *pImage, const SkinPiece &piece, RECT &rc) {
    if (!pImage || !pImage->IsValid() || CNineGrid::IsRectEmpty(piece.rcSource))
        return false;
    const LONG width = static_cast<LONG>(pImage->GetWidth()), height = static_cast<LONG>(pImage->GetHeight());
    auto clamp = [](LONG v, LONG hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
    rc.left = clamp(piece.rcSource.left, width);
    rc.right = clamp(piece.rcSource.right, width);
    rc.top = clamp(piece.rcSource.top, height);
    rc.bottom = clamp(piece.rcSource.bottom, height);
    if (rc.left == rc.right || rc.top == rc.bottom)
        return false;
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    return true;
}

void DrawCells(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill,
               bool bCentre) {
    CNineGrid::Cell cells[CNineGrid::CELL_COUNT];
    CNineGrid::Layout(ref, rcDest, cells);
    for (int i = 0; i < CNineGrid::CELL_COUNT; ++i) {
        if (i == CNineGrid::CENTRE && !bCentre)
            continue;
        DrawPiece(skin, hDC, cells[i].rcDest, cells[i].piece, crFallback, bFill);
    }
}

COLORREF WindowTransparentColor(HWND hWnd) {
    CSkinWnd *pWnd = hWnd ? CSkinRegistry::Instance().FindWindow(hWnd) : nullptr;
    return pWnd ? pWnd->GetTransparentColor() : 0xFF00FF;
}

CRgn RectRegion(const RECT &rc) {
    return CRgn(::CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom));
}

// The region's rectangles, or none when it cannot be read.
std::vector<RECT> RegionRects(HRGN hRgn) {
    std::vector<RECT> rects;
    DWORD size = ::GetRegionData(hRgn, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return rects;
    std::vector<BYTE> buffer(size);
    RGNDATA *pData = reinterpret_cast<RGNDATA *>(buffer.data());
    if (::GetRegionData(hRgn, size, pData) != size)
        return rects;
    const RECT *p = reinterpret_cast<const RECT *>(pData->Buffer);
    rects.assign(p, p + pData->rdh.nCount);
    return rects;
}

// A region made of the rectangles in one call.
CRgn RegionFromRects(const std::vector<RECT> &rects) {
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATA *pData = reinterpret_cast<RGNDATA *>(buffer.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = static_cast<DWORD>(rects.size());
    pData->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    RECT bounds = {0, 0, 0, 0};
    for (size_t i = 0; i < rects.size(); ++i) {
        const RECT &rc = rects[i];
        if (i == 0) {
            bounds = rc;
        } else {
            bounds.left = rc.left < bounds.left ? rc.left : bounds.left;
            bounds.top = rc.top < bounds.top ? rc.top : bounds.top;
            bounds.right = rc.right > bounds.right ? rc.right : bounds.right;
            bounds.bottom = rc.bottom > bounds.bottom ? rc.bottom : bounds.bottom;
        }
    }
    pData->rdh.rcBound = bounds;
    if (!rects.empty())
        std::memcpy(pData->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return CRgn(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), pData));
}

// Collects rectangles handed over band by band (bands of equal top and bottom, from the top down, each from left to
// right without overlap) in the form a region keeps them: touching rectangles of a band joined, and a band that
// continues the one above it with the same spans merged into it. Regions made of fewer rectangles are made faster.
class CBandBuilder {
public:
    explicit CBandBuilder(std::vector<RECT> &rects) : m_rects(rects) { m_rects.clear(); }

    void Add(const RECT &rc) {
        if (rc.right <= rc.left || rc.bottom <= rc.top)
            return;
        if (m_nBand != kNone) {
            RECT &last = m_rects.back();
            if (rc.top == last.top && rc.bottom == last.bottom) {
                if (rc.left <= last.right)
                    last.right = rc.right > last.right ? rc.right : last.right;
                else
                    m_rects.push_back(rc);
                return;
            }
            Close();
        }
        m_nBand = m_rects.size();
        m_rects.push_back(rc);
    }

    std::vector<RECT> &Finish() {
        Close();
        return m_rects;
    }

private:
    enum : size_t { kNone = static_cast<size_t>(-1) };

    // Ends the band being collected, merging it into the band above when it continues that one with the same spans.
    void Close() {
        if (m_nBand == kNone)
            return;
        const size_t count = m_rects.size() - m_nBand;
        if (m_nPrevious != kNone && m_nBand - m_nPrevious == count && m_rects[m_nPrevious].bottom == m_rects[m_nBand].top) {
            bool same = true;
            for (size_t i = 0; i < count && same; ++i)
                same = m_rects[m_nPrevious + i].left == m_rects[m_nBand + i].left &&
                       m_rects[m_nPrevious + i].right == m_rects[m_nBand + i].right;
            if (same) {
                const LONG bottom = m_rects[m_nBand].bottom;
                for (size_t i = 0; i < count; ++i)
                    m_rects[m_nPrevious + i].bottom = bottom;
                m_rects.resize(m_nBand);
                m_nBand = kNone;
                return;
            }
        }
        m_nPrevious = m_nBand;
        m_nBand = kNone;
    }

    std::vector<RECT> &m_rects;
    size_t m_nBand = kNone;     // first rectangle of the band being collected
    size_t m_nPrevious = kNone; // first rectangle of the band above it
};

// The opaque pixels of rc (image coordinates, y from the top row) as row runs in rc's own coordinates, handed to
// the builder from the top row down. A pixel is opaque when its colour (through the colour table for indexed
// images) differs from crTransparent.
void ImageRuns(const CSkinImage &image, const RECT &rc, COLORREF crTransparent, CBandBuilder &builder) {
    const DWORD key = (GetRValue(crTransparent) << 16) | (GetGValue(crTransparent) << 8) | GetBValue(crTransparent);
    const DWORD bpp = image.GetBpp();
    bool opaqueIndex[256] = {};
    if (bpp <= 8) {
        const RGBQUAD *palette = image.GetPalette();
        const DWORD colours = image.GetNumColors() < 256 ? image.GetNumColors() : 256;
        for (DWORD i = 0; i < 256; ++i) {
            const DWORD c = palette && i < colours
                                ? (static_cast<DWORD>(palette[i].rgbRed) << 16) | (palette[i].rgbGreen << 8) |
                                      palette[i].rgbBlue
                                : 0;
            opaqueIndex[i] = c != key;
        }
    }
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        const BYTE *row = image.GetScanLine(static_cast<DWORD>(y));
        auto opaque = [&](LONG x) -> bool {
            switch (bpp) {
            case 24:
                return static_cast<DWORD>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16)) != key;
            case 8:
                return opaqueIndex[row[x]];
            default:
                return opaqueIndex[image.GetPixelIndex(static_cast<DWORD>(x), static_cast<DWORD>(y))];
            }
        };
        LONG x = rc.left;
        while (x < rc.right) {
            while (x < rc.right && !opaque(x))
                ++x;
            if (x == rc.right)
                break;
            const LONG start = x;
            while (x < rc.right && opaque(x))
                ++x;
            builder.Add(RECT{start - rc.left, y - rc.top, x - rc.left, y - rc.top + 1});
        }
    }
}

// True when the window's device shows every colour of an image as it is, so that the region can be read from the
// image's own pixels; at fewer bits per pixel the colours are first converted as the device would show them.
bool DeviceShowsTrueColour(HWND hWnd) {
    CClientDC window(hWnd);
    return window.GetSafeHdc() &&
           ::GetDeviceCaps(window, BITSPIXEL) * ::GetDeviceCaps(window, PLANES) >= 24;
}

// The opaque pixels of the image's rc as the window's device would show them, in rc's own coordinates, as
// rectangles in band order; false when they cannot be read.
bool PieceRuns(HWND hWnd, const CSkinImage &image, const RECT &rc, COLORREF crTransparent, std::vector<RECT> &runs) {
    if (DeviceShowsTrueColour(hWnd)) {
        CBandBuilder builder(runs);
        ImageRuns(image, rc, crTransparent, builder);
        builder.Finish();
        return true;
    }
    CClientDC window(hWnd);
    HDC hSource = image.GetSectionDC();
    if (!window.GetSafeHdc() || !hSource)
        return false;
    const int cx = static_cast<int>(Width(rc)), cy = static_cast<int>(Height(rc));
    CDC memory(::CreateCompatibleDC(window));
    CBitmap bitmap(::CreateCompatibleBitmap(window, cx, cy));
    if (!memory.IsValid() || !bitmap.IsValid())
        return false;
    {
        CSelectObject target(memory, bitmap);
        ::BitBlt(memory, 0, 0, cx, cy, hSource, rc.left, rc.top, SRCCOPY);
    }
    CRgn natural = RegionFromBitmap(bitmap, crTransparent);
    if (!natural.IsValid())
        return false;
    runs = RegionRects(natural);
    return !runs.empty() || ::GetRegionData(natural, 0, nullptr) >= sizeof(RGNDATAHEADER);
}

} // namespace

void FillSolid(HDC hDC, const RECT &rc, COLORREF cr) {
    CBrush brush(::CreateSolidBrush(cr));
    if (brush.IsValid())
        ::FillRect(hDC, &rc, brush);
}

BOOL DrawPiece(const CSkinImage *pImage, HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback,
               BOOL bFill) {
    if (!hDC || CNineGrid::IsRectEmpty(rcDest))
        return FALSE;
    // Straight from the image's own section: the source rectangle is never copied out of it.
    RECT src;
    HDC hSource = SourceRect(pImage, piece, src) ? pImage->GetSectionDC() : nullptr;
    if (!hSource) {
        if (bFill)
            FillSolid(hDC, rcDest, crFallback);
        return FALSE;
    }
    const LONG cx = Width(src), cy = Height(src);
    switch (piece.dwMode) {
    case PIECE_COPY: {
        RECT rc = CNineGrid::CopyRect(rcDest, cx, cy);
        ::BitBlt(hDC, rc.left, rc.top, Width(rc), Height(rc), hSource, src.left, src.top, SRCCOPY);
        break;
    }
    case PIECE_TILE:
        CNineGrid::ForEachTile(rcDest, cx, cy, [&](const RECT &tile) {
            ::BitBlt(hDC, tile.left, tile.top, Width(tile), Height(tile), hSource, src.left, src.top, SRCCOPY);
        });
        break;
    default: {
        int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
        ::StretchBlt(hDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), hSource, src.left, src.top, cx, cy,
                     SRCCOPY);
        if (nOldMode)
            ::SetStretchBltMode(hDC, nOldMode);
        break;
    }
    }
    return TRUE;
}

BOOL DrawPiece(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback, BOOL bFill) {
    const CSkinImage *pImage = CNineGrid::IsEmpty(piece) ? nullptr : FindPieceImage(skin, piece);
    return DrawPiece(pImage, hDC, rcDest, piece, crFallback, bFill);
}

BOOL DrawPiece(HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback, BOOL bFill) {
    return DrawPiece(CSkinRegistry::Instance().GetSkin(), hDC, rcDest, piece, crFallback, bFill);
}

void DrawNineGrid(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill) {
    DrawCells(skin, hDC, rcDest, ref, crFallback, bFill, true);
}

void DrawNineGrid(HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill) {
    DrawCells(CSkinRegistry::Instance().GetSkin(), hDC, rcDest, ref, crFallback, bFill, true);
}

void DrawNineGridFrame(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback,
                       BOOL bFill) {
    DrawCells(skin, hDC, rcDest, ref, crFallback, bFill, false);
}

void DrawNineGridFrame(HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill) {
    DrawCells(CSkinRegistry::Instance().GetSkin(), hDC, rcDest, ref, crFallback, bFill, false);
}

CRgn PieceRegion(CSkin &skin, HWND hWnd, const SkinPiece &piece, const RECT &rcDest, COLORREF crTransparent) {
    RECT src;
    const CSkinImage *pImage = CNineGrid::IsEmpty(piece) ? nullptr : FindPieceImage(skin, piece);
    std::vector<RECT> natural;
    if (!SourceRect(pImage, piece, src) || !PieceRuns(hWnd, *pImage, src, crTransparent, natural))
        return RectRegion(rcDest);
    // The piece's rectangles placed as drawing places its pixels, collected in band order and made a region at once.
    const LONG cx = Width(src), cy = Height(src);
    std::vector<RECT> rects;
    CBandBuilder builder(rects);
    auto clipped = [&rcDest](const RECT &rc, LONG dx, LONG dy) {
        RECT out = {rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy};
        out.left = out.left > rcDest.left ? out.left : rcDest.left;
        out.top = out.top > rcDest.top ? out.top : rcDest.top;
        out.right = out.right < rcDest.right ? out.right : rcDest.right;
        out.bottom = out.bottom < rcDest.bottom ? out.bottom : rcDest.bottom;
        return out;
    };
    switch (piece.dwMode) {
    case PIECE_COPY:
        // Drawing copies at most the destination's size: the region stops there too.
        for (const RECT &rc : natural)
            builder.Add(clipped(rc, rcDest.left, rcDest.top));
        break;
    case PIECE_TILE: {
        // Tile rows from the top, and within each the piece's bands across all tiles of the row.
        std::vector<RECT> tiles = CNineGrid::TileRects(rcDest, cx, cy);
        for (size_t row = 0; row < tiles.size();) {
            size_t end = row;
            while (end < tiles.size() && tiles[end].top == tiles[row].top)
                ++end;
            for (size_t band = 0; band < natural.size();) {
                size_t bandEnd = band;
                while (bandEnd < natural.size() && natural[bandEnd].top == natural[band].top)
                    ++bandEnd;
                for (size_t t = row; t < end; ++t)
                    for (size_t i = band; i < bandEnd; ++i)
                        builder.Add(clipped(natural[i], tiles[t].left, tiles[t].top));
                band = bandEnd;
            }
            row = end;
        }
        break;
    }
    default:
        // Every rectangle scaled as StretchBlt scales the pixels it covers.
        for (const RECT &rc : natural)
            builder.Add(CNineGrid::ScaleRect(rc, cx, cy, rcDest));
        break;
    }
    CRgn region = RegionFromRects(builder.Finish());
    return region.IsValid() ? std::move(region) : RectRegion(rcDest);
}

CRgn PieceRegion(HWND hWnd, const SkinPiece &piece, const RECT &rcDest, COLORREF crTransparent) {
    return PieceRegion(CSkinRegistry::Instance().GetSkin(), hWnd, piece, rcDest, crTransparent);
}

CRgn PieceRegion(HWND hWnd, const SkinPiece &piece, const RECT &rcDest) {
    return PieceRegion(hWnd, piece, rcDest, WindowTransparentColor(hWnd));
}

CRgn NineGridRegion(CSkin &skin, HWND hWnd, const SkinImageRef &ref, const RECT &rcDest, COLORREF crTransparent) {
    CRgn region(::CreateRectRgn(0, 0, 0, 0));
    if (!region.IsValid())
        return region;
    CNineGrid::Cell cells[CNineGrid::CELL_COUNT];
    CNineGrid::Layout(ref, rcDest, cells);
    for (const CNineGrid::Cell &cell : cells) {
        CRgn part = PieceRegion(skin, hWnd, cell.piece, cell.rcDest, crTransparent);
        if (part.IsValid())
            ::CombineRgn(region, region, part, RGN_OR);
    }
    return region;
}

CRgn NineGridRegion(HWND hWnd, const SkinImageRef &ref, const RECT &rcDest, COLORREF crTransparent) {
    return NineGridRegion(CSkinRegistry::Instance().GetSkin(), hWnd, ref, rcDest, crTransparent);
}

CRgn NineGridRegion(HWND hWnd, const SkinImageRef &ref, const RECT &rcDest) {
    return NineGridRegion(hWnd, ref, rcDest, WindowTransparentColor(hWnd));
}

CRgn RegionFromBitmap(HBITMAP hBitmap, COLORREF crTransparent) {
    BITMAP bm;
    if (!hBitmap || ::GetObjectA(hBitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return CRgn();
    const int depth = bm.bmBitsPixel * bm.bmPlanes;
    // Depths up to 8 are read as 8-bit indices with their colour table; 16-bit as 5-6-5.
    const int bits = depth <= 8 ? 8 : depth;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return CRgn();
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    std::memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = bm.bmWidth;
    info.header.biHeight = -bm.bmHeight; // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = bits == 16 ? BI_BITFIELDS : BI_RGB;
    if (bits == 16) {
        DWORD *masks = reinterpret_cast<DWORD *>(info.colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
    const size_t stride = ((static_cast<size_t>(bm.bmWidth) * bits + 31) / 32) * 4;
    std::vector<BYTE> pixels(stride * static_cast<size_t>(bm.bmHeight));
    CDC display(::CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    if (!display.IsValid())
        display.Attach(::CreateCompatibleDC(nullptr));
    if (!display.IsValid() || ::GetDIBits(display, hBitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.data(),
                                          reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS) == 0)
        return CRgn();

    // The transparent colour in each pixel form: blue in the lowest byte, red in the third.
    const DWORD key24 = (GetRValue(crTransparent) << 16) | (GetGValue(crTransparent) << 8) | GetBValue(crTransparent);
    const DWORD key16 = ((GetRValue(crTransparent) >> 3) << 11) | ((GetGValue(crTransparent) >> 2) << 5) |
                        (GetBValue(crTransparent) >> 3);
    bool opaqueIndex[256];
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD &q = info.colors[i];
        opaqueIndex[i] = ((static_cast<DWORD>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue) != key24;
    }
    // Runs of one row, with the test for one pixel made once per depth rather than once per pixel.
    std::vector<RECT> runs;
    CBandBuilder builder(runs);
    auto addRuns = [&](LONG y, auto opaque) {
        const LONG width = bm.bmWidth;
        LONG x = 0;
        while (x < width) {
            while (x < width && !opaque(x))
                ++x;
            if (x == width)
                break;
            const LONG start = x;
            while (x < width && opaque(x))
                ++x;
            builder.Add(RECT{start, y, x, y + 1});
        }
    };
    for (LONG y = 0; y < bm.bmHeight; ++y) {
        const BYTE *row = pixels.data() + stride * static_cast<size_t>(y);
        switch (bits) {
        case 8:
            addRuns(y, [&](LONG x) { return opaqueIndex[row[x]]; });
            break;
        case 16:
            addRuns(y, [&](LONG x) { return static_cast<DWORD>(row[2 * x] | (row[2 * x + 1] << 8)) != key16; });
            break;
        case 24:
            addRuns(y, [&](LONG x) {
                return static_cast<DWORD>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16)) != key24;
            });
            break;
        default: { // the fourth byte carries no colour
            addRuns(y, [&](LONG x) {
                return static_cast<DWORD>(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16)) != key24;
            });
            break;
        }
        }
    }
    return RegionFromRects(builder.Finish());
}
