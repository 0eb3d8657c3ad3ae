// What skinned frames, dialogs and popup menus share in their non-client area: the client rectangle inside the
// borders, the window region rebuilt when the size changes, and the paint that draws off screen and copies only the
// border bands to the window.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/Handle.h"
#include "skin/SkinRecords.h"

class CSkinOffscreen;
class CSkinWnd;

class CSkinNonClient {
public:
    enum : int { PART_COUNT = SkinFramedRecord::PART_COUNT };

    // The client rectangle inside a window rectangle: the left part's width, the right part's, the top-left part's
    // height plus nTopExtra (a menu bar) and the bottom-left part's height come off (templates of the record). Never
    // inverted. Without a record, the window rectangle.
    static RECT ClientRect(const SkinFramedRecord *pFramed, const RECT &rcWindow, LONG nTopExtra);

    // When the window's size differs from rcSaved's: stores the window rectangle in rcSaved, gives the window the
    // object's region (none when the skin asks for none) with a redraw, and answers true; the redraw brings the next
    // paint. Otherwise false.
    static bool UpdateRegion(CSkinWnd &wnd, RECT &rcSaved);

    // Draws the whole window into the off-screen bitmap (of the window's size) and copies to the window only the
    // border bands: the top band from the top-left part down to nTopBottom (caption and menu bar), the left and right
    // parts and the bottom row. parts are the laid-out placements in window coordinates.
    static void PaintBands(HWND hWnd, CSkinOffscreen &offscreen, const RECT (&parts)[PART_COUNT], LONG nTopBottom,
                           const std::function<void(HDC)> &draw);

    // The window's text as the system keeps it (at most nMaxChars characters) in the caption font and colour, transparent, single line,
    // vertically centred and left-aligned in rc.
    static void DrawCaptionText(HDC hDC, HWND hWnd, const RECT &rc, HFONT hFont, COLORREF crText, int nMaxChars);

    // The caption font of a record (none without one).
    static CFont CreateCaptionFont(const SkinFramedRecord *pFramed);

    // Whether the piece can be drawn from the current skin: a source rectangle and an image of that name.
    static bool CanDrawPiece(const SkinPiece &piece);
};
