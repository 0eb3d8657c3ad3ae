#include "skin/SkinFrameObject.h"

CSkinFrameObject::CSkinFrameObject() : CSkinObject(SKIN_KIND_FRAME), m_dwMenuBarKind(SKIN_KIND_MENUBAR) {
    SkinInitFramed(m_framed, false);
}

void CSkinFrameObject::TransferRecord(CSkinArchive &archive) {
    archive.Framed(m_framed);
    archive.Value(m_dwMenuBarKind);
    m_menuBar.Transfer(archive);
}
