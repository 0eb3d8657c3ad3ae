// The skin information object (kind 25): author texts, the window-region flag and the transparent colour.
#pragma once

#include "skin/SkinObject.h"

class CSkinInfoObject : public CSkinObject {
public:
    CSkinInfoObject();

    // The object header's key colour is the transparent colour of window regions.
    COLORREF GetRegionColor() const { return m_crKey; }

    char m_szAuthor[TEXT_SIZE + 1];
    char m_szDescription[TEXT_SIZE + 1];
    char m_szComment[TEXT_SIZE + 1];
    DWORD m_dwRegions;             // non-zero: skinned windows get window regions
    char m_szEmail[TEXT_SIZE + 1]; // from minor version 4
    char m_szWeb[TEXT_SIZE + 1];   // from minor version 4

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
