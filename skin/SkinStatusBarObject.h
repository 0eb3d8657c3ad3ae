// Status-bar objects (kind 15): the pane image and a piece.
#pragma once

#include "skin/SkinControlObject.h"

class CSkinStatusBarObject : public CSkinControlObject {
public:
    CSkinStatusBarObject();

    SkinImageRef m_pane;
    SkinPiece m_piece;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
