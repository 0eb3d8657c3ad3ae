#include "skin/SkinImageObject.h"

CSkinImageObject::CSkinImageObject() : CSkinObject(SKIN_KIND_IMAGE), m_dwLength(0), m_dwFormat(0) {}

bool CSkinImageObject::SetData(DWORD format, const BYTE *data, DWORD size) {
    m_dwFormat = format;
    m_dwLength = size;
    m_data.assign(data, data + size);
    Decode();
    return m_image.IsValid();
}

void CSkinImageObject::Decode() {
    m_image.Destroy();
    if (!m_data.empty())
        m_image.Decode(m_data.data(), static_cast<DWORD>(m_data.size()), m_dwFormat);
}

void CSkinImageObject::TransferRecord(CSkinArchive &archive) {
    if (!archive.IsLoading()) {
        m_dwLength = static_cast<DWORD>(m_data.size());
        archive.Value(m_dwLength);
        archive.Value(m_dwFormat);
        if (!m_data.empty())
            archive.Bytes(m_data.data(), m_dwLength);
        return;
    }
    archive.Value(m_dwLength);
    archive.Value(m_dwFormat);
    // A stored length beyond the end of the file only gets the bytes that are there; the decoder then
    // fails on the truncated image instead of the reader allocating what the length claims.
    DWORD available = archive.Remaining();
    DWORD take = m_dwLength < available ? m_dwLength : available;
    m_data.assign(take, 0);
    if (take != 0)
        archive.Bytes(m_data.data(), take);
    Decode();
}
