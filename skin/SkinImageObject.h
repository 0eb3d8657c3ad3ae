// Image records (kind 18 in memory): an encoded image stored in the skin and its decoded form.
#pragma once

#include "skin/SkinObject.h"
#include "skin/controls/SkinImage.h"

#include <vector>

class CSkinImageObject : public CSkinObject {
public:
    CSkinImageObject();

    // Takes encoded bytes of the given format and decodes them; false when they do not decode.
    bool SetData(DWORD format, const BYTE *data, DWORD size);

    DWORD GetFormat() const { return m_dwFormat; }
    const std::vector<BYTE> &GetData() const { return m_data; }
    // The stored data length; more than GetData().size() when the file ended early.
    DWORD GetDeclaredLength() const { return m_dwLength; }
    const CSkinImage *GetImage() const { return m_image.IsValid() ? &m_image : nullptr; }
    CSkinImage *GetImage() { return m_image.IsValid() ? &m_image : nullptr; }

protected:
    void TransferRecord(CSkinArchive &archive) override;

private:
    void Decode();

    DWORD m_dwLength;
    DWORD m_dwFormat;
    std::vector<BYTE> m_data;
    CSkinImage m_image;
};
