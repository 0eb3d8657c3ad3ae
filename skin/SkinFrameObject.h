// Frame objects (kind 1, "MainFrame" and "Dialog"): nine-part borders, caption font and the menu bar.
#pragma once

#include "skin/SkinMenuBarObject.h"
#include "skin/SkinObject.h"

class CSkinFrameObject : public CSkinObject {
public:
    CSkinFrameObject();

    SkinFramedRecord m_framed;
    DWORD m_dwMenuBarKind; // stored before the menu bar; read and ignored
    CSkinMenuBarObject m_menuBar;

protected:
    void TransferRecord(CSkinArchive &archive) override;
};
