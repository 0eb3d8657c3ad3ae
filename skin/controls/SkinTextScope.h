// A skin font record's font and a text colour selected into a device context, with a transparent background, for one
// scope; the previous font, colour and background mode come back and the font is deleted when it ends.
#pragma once

#include <windows.h>

#include "platform/Handle.h"
#include "skin/SkinRecords.h"

class CSkinTextScope {
public:
    // The record's own text colour.
    CSkinTextScope(HDC hDC, const SkinFontRecord &font);
    CSkinTextScope(HDC hDC, const SkinFontRecord &font, COLORREF crText);
    // A font the caller owns or names (none: the context's current font stays).
    CSkinTextScope(HDC hDC, HFONT hFont, COLORREF crText);
    ~CSkinTextScope();
    CSkinTextScope(const CSkinTextScope &) = delete;
    CSkinTextScope &operator=(const CSkinTextScope &) = delete;

    // The font of a record as the painters draw with it: the texts they draw are in the program's code page, so a
    // record that asks for the Western character set is given the default one, under which the code page's
    // characters (Chinese among them) keep their glyphs.
    static LOGFONTA DrawingFont(const SkinFontRecord &font);

private:
    void Select(HFONT hFont, COLORREF crText);

    HDC m_hDC;
    CFont m_font;
    HGDIOBJ m_hOldFont = nullptr;
    COLORREF m_crOldText = CLR_INVALID;
    int m_nOldMode = 0;
};
