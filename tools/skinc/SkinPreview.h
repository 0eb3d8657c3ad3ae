// Renders a skin's own pieces into one picture (frames, menus, buttons, bars) so its artwork can be judged
// before the engine draws it; text is shown as bars in the text colour.
#pragma once

#include "skin/Skin.h"
#include "skin/SkinFrameObject.h"
#include "tools/skinc/SkinCanvas.h"

class CSkinPreview {
public:
    explicit CSkinPreview(CSkin &skin);

    CSkinCanvas Render();

    // Piece drawing as the engine does it: 0 copy at natural size, 1 tile, anything else stretch. With keyed,
    // pixels of the transparent colour are left out, as a window region would.
    void DrawPiece(CSkinCanvas &canvas, const RECT &dest, const SkinPiece &piece, COLORREF fallback, bool fill,
                   bool keyed = false);
    void DrawNineGrid(CSkinCanvas &canvas, const RECT &dest, const SkinImageRef &ref, COLORREF fallback, bool fill,
                      bool keyed = false, bool skipCentre = false);

private:
    void Frame(CSkinCanvas &canvas, CSkinFrameObject &frame, const RECT &at, bool active, bool menu);
    void Popup(CSkinCanvas &canvas, const RECT &at);
    void Controls(CSkinCanvas &canvas, int left, int top);
    void Text(CSkinCanvas &canvas, int left, int centreY, int width, COLORREF color);

    CSkin &m_skin;
};
