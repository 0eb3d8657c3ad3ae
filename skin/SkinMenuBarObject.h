// The menu bar of a frame object (kind 20): entry font, text colours, hover and open artwork, MDI child buttons.
#pragma once

#include "skin/SkinObject.h"

class CSkinMenuBarObject : public CSkinObject {
public:
    enum : int { CHILD_BUTTON_PIECES = 12 }; // minimise, restore, close, icon; normal, hover, pressed each

    CSkinMenuBarObject();

    SkinPiece m_piece;
    RECT m_rect;
    DWORD m_dwValue1;
    DWORD m_dwValue2;
    SkinFontRecord m_font;
    SkinColorRecord m_normalText;
    SkinColorRecord m_otherText;
    SkinColorRecord m_hoverText;
    COLORREF m_crHoverFill;
    SkinImageRef m_hoverImage;
    SkinColorRecord m_openText;
    COLORREF m_crOpenFill;
    SkinImageRef m_openImage;
    SkinPiece m_childButtons[CHILD_BUTTON_PIECES]; // from minor version 2
    SkinImageRef m_background;                     // from minor version 3

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
