// The drawing layer every painter shares: pieces and nine-grid image references of the current skin copied, tiled or
// stretched onto a device context, and the window regions they cut out of the transparent colour.
#pragma once

#include <windows.h>

#include "platform/Handle.h"
#include "skin/controls/SkinPiece.h"

class CSkin;
class CSkinImage;

// The images come from the registry's current skin unless a skin is passed. Nothing here fails a paint: a missing
// image, an empty source rectangle or a cut without pixels draws nothing, or fills the destination with the
// fallback colour when bFill is set.

// All nine cells of the reference over rcDest, in row order.
void DrawNineGrid(HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill);
void DrawNineGrid(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill);
// The eight outer cells; the centre is left as it is (group-box borders and the like).
void DrawNineGridFrame(HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback, BOOL bFill);
void DrawNineGridFrame(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinImageRef &ref, COLORREF crFallback,
                       BOOL bFill);
// One piece: PIECE_COPY at natural size from the top-left corner, PIECE_TILE in whole tiles cut short at the right and
// bottom, anything else stretched (COLORONCOLOR). TRUE when image pixels were drawn.
BOOL DrawPiece(HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback, BOOL bFill);
BOOL DrawPiece(CSkin &skin, HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback, BOOL bFill);
// A piece whose image is at hand (painters that cut several pieces from one image look it up once).
BOOL DrawPiece(const CSkinImage *pImage, HDC hDC, const RECT &rcDest, const SkinPiece &piece, COLORREF crFallback,
               BOOL bFill);

// The window region of one piece laid over rcDest: the pixels that differ from the transparent colour, placed as the
// piece is drawn. A piece without an image (empty source, unknown image) gives the whole destination rectangle; so
// does a region that cannot be built. The caller owns the result (Detach it to hand it to SetWindowRgn). Without a
// colour, the window's own transparent colour (SkinFindWindow), or magenta for a window that is not skinned.
CRgn PieceRegion(HWND hWnd, const SkinPiece &piece, const RECT &rcDest);
CRgn PieceRegion(HWND hWnd, const SkinPiece &piece, const RECT &rcDest, COLORREF crTransparent);
CRgn PieceRegion(CSkin &skin, HWND hWnd, const SkinPiece &piece, const RECT &rcDest, COLORREF crTransparent);
// The union of the nine cell regions of the reference over rcDest.
CRgn NineGridRegion(HWND hWnd, const SkinImageRef &ref, const RECT &rcDest);
CRgn NineGridRegion(HWND hWnd, const SkinImageRef &ref, const RECT &rcDest, COLORREF crTransparent);
CRgn NineGridRegion(CSkin &skin, HWND hWnd, const SkinImageRef &ref, const RECT &rcDest, COLORREF crTransparent);

// The opaque pixels of a bitmap (those that differ from crTransparent, a COLORREF) as one region of row runs,
// in the bitmap's own coordinates. An all-transparent bitmap gives an empty region; failure an invalid CRgn.
CRgn RegionFromBitmap(HBITMAP hBitmap, COLORREF crTransparent);

// Fills the rectangle with a solid brush made for the call.
void FillSolid(HDC hDC, const RECT &rc, COLORREF cr);
