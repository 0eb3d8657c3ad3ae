#include "skin/SkinInfoObject.h"

#include <cstring>

CSkinInfoObject::CSkinInfoObject() : CSkinObject(SKIN_KIND_INFO) {
    m_crKey = TRANSPARENT_COLOR;
    std::memset(m_szAuthor, 0, sizeof m_szAuthor);
    std::memset(m_szDescription, 0, sizeof m_szDescription);
    std::memset(m_szComment, 0, sizeof m_szComment);
    m_dwRegions = 1;
    std::memset(m_szEmail, 0, sizeof m_szEmail);
    std::memset(m_szWeb, 0, sizeof m_szWeb);
}

void CSkinInfoObject::TransferRecord(CSkinArchive &archive) {
    archive.Text(m_szAuthor, TEXT_SIZE);
    archive.Text(m_szDescription, TEXT_SIZE);
    archive.Text(m_szComment, TEXT_SIZE);
    archive.Value(m_dwRegions);
    if (archive.Minor() >= 4) {
        archive.Text(m_szEmail, TEXT_SIZE);
        archive.Text(m_szWeb, TEXT_SIZE);
    }
}
