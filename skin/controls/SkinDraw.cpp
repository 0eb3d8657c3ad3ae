#include "skin/controls/SkinDraw.h"

#include <cstring>
#include <vector>

#include "platform/ClientDC.h"
#include "platform/SelectObject.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinImage.h"

namespace {

LONG Width(const RECT &rc) {
    return rc.right - rc.left;
}

LONG Height(const RECT &rc) {
    return rc.bottom - rc.top;
}

CSkinImage *FindPieceImage(CSkin &skin, const SkinPiece &piece) {
    // Names are terminated when a skin is loaded; pieces built elsewhere get the same bound here.
    char name[SKIN_IMAGE_NAME_SIZE];
    std::memcpy(name, piece.szImage, sizeof(name));
    name[SKIN_IMAGE_NAME_SIZE - 1] = '\0';
    return name[0] ? skin.FindImage(name) : nullptr;
}

// The piece's source rectangle cut out of the image (clamped into it); false when nothing is left of it.
bool CutPiece(const CSkinImage *pImage, const SkinPiece &piece, CSkinImage &cut) {
    if (!pImage || !pImage->IsValid() || CNineGrid::IsRectEmpty(piece.rcSource))
        return false;
    return const_cast<CSkinImage *>(pImage)->Crop(piece.rcSource.left, piece.rcSource.top, piece.rcSource.right,
                                                  piece.rcSource.bottom, &cut);
}

// A device-independent section holding the cut, selectable into any memory DC.
CBitmap MakeSection(HDC hDC, const CSkinImage &cut) {
    void *pBits = nullptr;
    CBitmap section(::CreateDIBSection(hDC, cut.GetDIB(), DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (section.IsValid() && pBits)
        std::memcpy(pBits, cut.GetBits(), static_cast<size_t>(cut.GetEffWidth()) * cut.GetHeight());
    else
        section.Close();
    return section;
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

// The opaque pixels of the cut, in its own coordinates, as the window's device would show them.
CRgn CutRegion(HWND hWnd, const CSkinImage &cut, COLORREF crTransparent) {
    CClientDC window(hWnd);
    if (!window.GetSafeHdc())
        return CRgn();
    const int cx = static_cast<int>(cut.GetWidth()), cy = static_cast<int>(cut.GetHeight());
    CDC memory(::CreateCompatibleDC(window));
    CBitmap bitmap(::CreateCompatibleBitmap(window, cx, cy));
    CDC sourceDC(::CreateCompatibleDC(window));
    CBitmap section = MakeSection(window, cut);
    if (!memory.IsValid() || !bitmap.IsValid() || !sourceDC.IsValid() || !section.IsValid())
        return CRgn();
    {
        CSelectObject target(memory, bitmap);
        CSelectObject source(sourceDC, section);
        ::BitBlt(memory, 0, 0, cx, cy, sourceDC, 0, 0, SRCCOPY);
    }
    return RegionFromBitmap(bitmap, crTransparent);
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
    CSkinImage cut;
    if (!CutPiece(pImage, piece, cut)) {
        if (bFill)
            FillSolid(hDC, rcDest, crFallback);
        return FALSE;
    }
    // Straight from the cut's pixels onto the target: no section or DC per piece, which cost a frame's paint several
    // milliseconds under Wine. The cut's rows run bottom up, so a source y counts from its bottom row.
    const LONG cx = static_cast<LONG>(cut.GetWidth()), cy = static_cast<LONG>(cut.GetHeight());
    const BITMAPINFO *pInfo = cut.GetDIB();
    const void *pBits = cut.GetBits();
    auto copyTopLeft = [&](const RECT &rc) {
        ::SetDIBitsToDevice(hDC, rc.left, rc.top, static_cast<DWORD>(Width(rc)), static_cast<DWORD>(Height(rc)), 0,
                            cy - Height(rc), 0, static_cast<UINT>(cy), pBits, pInfo, DIB_RGB_COLORS);
    };
    // A stretch to the cut's own size is a copy, and far cheaper.
    const bool bSameSize = Width(rcDest) == cx && Height(rcDest) == cy;
    switch (bSameSize ? static_cast<DWORD>(PIECE_COPY) : piece.dwMode) {
    case PIECE_COPY:
        copyTopLeft(CNineGrid::CopyRect(rcDest, cx, cy));
        break;
    case PIECE_TILE:
        CNineGrid::ForEachTile(rcDest, cx, cy, copyTopLeft);
        break;
    default: {
        int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
        ::StretchDIBits(hDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), 0, 0, cx, cy, pBits, pInfo,
                        DIB_RGB_COLORS, SRCCOPY);
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
    CSkinImage cut;
    const CSkinImage *pImage = CNineGrid::IsEmpty(piece) ? nullptr : FindPieceImage(skin, piece);
    if (!CutPiece(pImage, piece, cut))
        return RectRegion(rcDest);
    CRgn natural = CutRegion(hWnd, cut, crTransparent);
    if (!natural.IsValid())
        return RectRegion(rcDest);
    const LONG cx = static_cast<LONG>(cut.GetWidth()), cy = static_cast<LONG>(cut.GetHeight());
    CRgn clip = RectRegion(rcDest);
    switch (piece.dwMode) {
    case PIECE_COPY:
        // Drawing copies at most the destination's size: the region stops there too.
        ::OffsetRgn(natural, rcDest.left, rcDest.top);
        ::CombineRgn(natural, natural, clip, RGN_AND);
        return natural;
    case PIECE_TILE: {
        CRgn tiles(::CreateRectRgn(0, 0, 0, 0));
        CRgn tile(::CreateRectRgn(0, 0, 0, 0));
        if (!tiles.IsValid() || !tile.IsValid())
            return RectRegion(rcDest);
        CNineGrid::ForEachTile(rcDest, cx, cy, [&](const RECT &rc) {
            ::CombineRgn(tile, natural, nullptr, RGN_COPY);
            ::OffsetRgn(tile, rc.left, rc.top);
            ::CombineRgn(tiles, tiles, tile, RGN_OR);
        });
        ::CombineRgn(tiles, tiles, clip, RGN_AND);
        return tiles;
    }
    default: {
        // Every rectangle scaled as StretchBlt scales the pixels it covers.
        std::vector<RECT> rects = RegionRects(natural);
        if (rects.empty() && ::GetRegionData(natural, 0, nullptr) < sizeof(RGNDATAHEADER))
            return RectRegion(rcDest);
        for (RECT &rc : rects)
            rc = CNineGrid::ScaleRect(rc, cx, cy, rcDest);
        CRgn scaled = RegionFromRects(rects);
        return scaled.IsValid() ? std::move(scaled) : RectRegion(rcDest);
    }
    }
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
    auto opaque = [&](const BYTE *row, LONG x) -> bool {
        switch (bits) {
        case 8:
            return opaqueIndex[row[x]];
        case 16:
            return static_cast<DWORD>(row[2 * x] | (row[2 * x + 1] << 8)) != key16;
        case 24:
            return static_cast<DWORD>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16)) != key24;
        default: // the fourth byte carries no colour
            return static_cast<DWORD>(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16)) != key24;
        }
    };

    std::vector<RECT> runs;
    runs.reserve(static_cast<size_t>(bm.bmHeight));
    for (LONG y = 0; y < bm.bmHeight; ++y) {
        const BYTE *row = pixels.data() + stride * static_cast<size_t>(y);
        LONG x = 0;
        while (x < bm.bmWidth) {
            while (x < bm.bmWidth && !opaque(row, x))
                ++x;
            if (x == bm.bmWidth)
                break;
            LONG start = x;
            while (x < bm.bmWidth && opaque(row, x))
                ++x;
            if (runs.size() == runs.capacity())
                runs.reserve(runs.capacity() + 40);
            runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    return RegionFromRects(runs);
}
