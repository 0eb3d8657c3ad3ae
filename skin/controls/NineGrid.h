// Portable nine-grid geometry: cells of an image reference, piece modes from fill modes, and tile placement.
#pragma once

#include "platform/WinCompat.h"
#include "skin/controls/SkinPiece.h"

#include <vector>

class CNineGrid {
public:
    enum : int { CELL_COUNT = 9, CENTRE = 4 };

    // Row order: top-left, top, top-right, left, centre, right, bottom-left, bottom, bottom-right.
    struct Cell {
        SkinPiece piece; // image name, source cell and piece mode
        RECT rcDest;
    };

    // Piece mode that a reference's fill mode gives to the cell (0..8).
    static DWORD PieceMode(DWORD fillMode, int cell);
    static bool IsRectEmpty(const RECT &rc);
    // Empty when the source rectangle is empty or the name is "".
    static bool IsEmpty(const SkinImageRef &ref);
    static bool IsEmpty(const SkinPiece &piece);

    // Cuts the reference's source and the destination into nine cells; margins keep their pixel size.
    static void Layout(const SkinImageRef &ref, const RECT &dest, Cell cells[CELL_COUNT]);

    // Calls visit(const RECT&) for every tile of a cut of tileWidth x tileHeight over dest, rows top down and
    // columns left to right; the last row and column are cut short, every tile shows the top-left part of the
    // cut. Nothing for empty input. Painters walk the tiles without storing them.
    template <typename Visit> static void ForEachTile(const RECT &dest, LONG tileWidth, LONG tileHeight, Visit visit) {
        if (tileWidth <= 0 || tileHeight <= 0 || IsRectEmpty(dest))
            return;
        for (LONG y = dest.top; y < dest.bottom; y = dest.bottom - y <= tileHeight ? dest.bottom : y + tileHeight) {
            LONG y2 = dest.bottom - y <= tileHeight ? dest.bottom : y + tileHeight;
            for (LONG x = dest.left; x < dest.right; x = dest.right - x <= tileWidth ? dest.right : x + tileWidth) {
                LONG x2 = dest.right - x <= tileWidth ? dest.right : x + tileWidth;
                visit(RECT{x, y, x2, y2});
            }
        }
    }
    // The same tiles collected, for small destinations and tools.
    static std::vector<RECT> TileRects(const RECT &dest, LONG tileWidth, LONG tileHeight);
    // A natural-size copy at dest's top-left corner, clipped to dest.
    static RECT CopyRect(const RECT &dest, LONG width, LONG height);
    // A rectangle of a width x height cut, stretched over dest: where the cut's pixels land in a stretched copy
    // (edges scaled by dest's size over the cut's, rounded down). Adjacent rectangles stay adjacent.
    static RECT ScaleRect(const RECT &rc, LONG width, LONG height, const RECT &dest);
};
