// Kind-2 objects: a piece with two rectangles and three values whose use no painter settles; kept in step.
#pragma once

#include "skin/SkinObject.h"

class CSkinPanelObject : public CSkinObject {
public:
    CSkinPanelObject();

    SkinPiece m_piece;
    RECT m_rect1;
    RECT m_rect2;
    BYTE m_byValue;
    COLORREF m_crColor;
    DWORD m_dwValue2;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
