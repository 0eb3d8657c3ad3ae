#include "skin/controls/NineGrid.h"

#include <cstring>

namespace {
// Which cells each fill mode stretches, one bit per cell in row order (bit 0 top-left ... bit 8 bottom-right).
DWORD StretchedCells(DWORD fillMode) {
    switch (fillMode) {
    case 1:
        return 0x1FF;
    case 2:
        return 1u << 7; // bottom
    case 3:
        return 1u << 4; // centre
    case 4:
        return 1u << 3; // left
    case 5:
        return (1u << 1) | (1u << 3) | (1u << 5) | (1u << 7); // the four edges
    case 6:
        return 1u << 5; // right
    case 7:
        return 1u << 1; // top
    default:
        return 0;
    }
}
// Skin records are untrusted: margins near the ends of the range saturate instead of overflowing.
LONG Offset(LONG base, long long delta) {
    long long v = static_cast<long long>(base) + delta;
    if (v > 0x7FFFFFFFLL)
        return 0x7FFFFFFF;
    if (v < -0x7FFFFFFFLL - 1)
        return -0x7FFFFFFF - 1;
    return static_cast<LONG>(v);
}
} // namespace

DWORD CNineGrid::PieceMode(DWORD fillMode, int cell) {
    if (cell < 0 || cell >= CELL_COUNT)
        return PIECE_TILE;
    return (StretchedCells(fillMode) >> cell) & 1 ? PIECE_STRETCH : PIECE_TILE;
}

bool CNineGrid::IsRectEmpty(const RECT &rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

bool CNineGrid::IsEmpty(const SkinImageRef &ref) {
    return IsRectEmpty(ref.rcSource) || ref.szImage[0] == '\0';
}

bool CNineGrid::IsEmpty(const SkinPiece &piece) {
    return IsRectEmpty(piece.rcSource) || piece.szImage[0] == '\0';
}

void CNineGrid::Layout(const SkinImageRef &ref, const RECT &dest, Cell cells[CELL_COUNT]) {
    const RECT &s = ref.rcSource;
    const RECT &m = ref.rcMargins;
    const LONG srcX[4] = {s.left, Offset(s.left, m.left), Offset(s.right, -static_cast<long long>(m.right)), s.right};
    const LONG srcY[4] = {s.top, Offset(s.top, m.top), Offset(s.bottom, -static_cast<long long>(m.bottom)), s.bottom};
    const LONG dstX[4] = {dest.left, Offset(dest.left, m.left), Offset(dest.right, -static_cast<long long>(m.right)),
                          dest.right};
    const LONG dstY[4] = {dest.top, Offset(dest.top, m.top), Offset(dest.bottom, -static_cast<long long>(m.bottom)),
                          dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            int i = row * 3 + col;
            Cell &cell = cells[i];
            std::memset(&cell.piece, 0, sizeof(cell.piece));
            // The name field may arrive without a terminator; at most 49 characters are taken.
            for (size_t n = 0; n < SKIN_IMAGE_NAME_SIZE - 1 && ref.szImage[n]; ++n)
                cell.piece.szImage[n] = ref.szImage[n];
            cell.piece.rcSource = {srcX[col], srcY[row], srcX[col + 1], srcY[row + 1]};
            cell.piece.dwMode = PieceMode(ref.dwFillMode, i);
            cell.rcDest = {dstX[col], dstY[row], dstX[col + 1], dstY[row + 1]};
        }
    }
}

std::vector<RECT> CNineGrid::TileRects(const RECT &dest, LONG tileWidth, LONG tileHeight) {
    std::vector<RECT> tiles;
    ForEachTile(dest, tileWidth, tileHeight, [&tiles](const RECT &tile) { tiles.push_back(tile); });
    return tiles;
}

RECT CNineGrid::CopyRect(const RECT &dest, LONG width, LONG height) {
    RECT rc = {dest.left, dest.top, dest.left, dest.top};
    if (IsRectEmpty(dest) || width <= 0 || height <= 0)
        return rc;
    rc.right = dest.right - dest.left < width ? dest.right : dest.left + width;
    rc.bottom = dest.bottom - dest.top < height ? dest.bottom : dest.top + height;
    return rc;
}

RECT CNineGrid::ScaleRect(const RECT &rc, LONG width, LONG height, const RECT &dest) {
    if (width <= 0 || height <= 0)
        return RECT{dest.left, dest.top, dest.left, dest.top};
    const long long dw = static_cast<long long>(dest.right) - dest.left;
    const long long dh = static_cast<long long>(dest.bottom) - dest.top;
    auto x = [&](LONG v) { return Offset(dest.left, static_cast<long long>(v) * dw / width); };
    auto y = [&](LONG v) { return Offset(dest.top, static_cast<long long>(v) * dh / height); };
    return RECT{x(rc.left), y(rc.top), x(rc.right), y(rc.bottom)};
}
