// Popup menu objects (kind 17): a framed window plus item colours, separator, selection, arrow and check art.
#pragma once

#include "skin/SkinObject.h"

class CSkinPopupMenuObject : public CSkinObject {
public:
    CSkinPopupMenuObject();

    SkinFramedRecord m_framed;
    SkinColorRecord m_normalText;
    SkinColorRecord m_disabledText;
    SkinColorRecord m_highlightText;
    COLORREF m_crHighlightFill;
    COLORREF m_crSeparatorFill;
    SkinImageRef m_separator;
    SkinImageRef m_selection; // its margins are the item insets
    SkinPiece m_submenuArrow;
    SkinPiece m_check; // from minor version 3

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
