#include "skin/SkinObject.h"

#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinComboBoxObject.h"
#include "skin/SkinControlObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinGroupBoxObject.h"
#include "skin/SkinImageObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinMenuBarObject.h"
#include "skin/SkinPanelObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinProgressObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinSliderObject.h"
#include "skin/SkinSpinObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinToolBarObject.h"
#include "skin/SysColor.h"

#include <cstring>

CSkinObject::CSkinObject(DWORD kind)
    : m_crBackground(CSysColor::Get(CSysColor::BTNFACE)), m_crText(CSysColor::Get(CSysColor::WINDOWTEXT)), m_crKey(255),
      m_dwValue(0), m_nKind(kind) {
    std::memset(m_szName, 0, sizeof m_szName);
    std::memset(m_szName2, 0, sizeof m_szName2);
}

CSkinObject::~CSkinObject() = default;

std::unique_ptr<CSkinObject> CSkinObject::Create(DWORD kind) {
    switch (kind) {
    case SKIN_KIND_FRAME:
        return std::make_unique<CSkinFrameObject>();
    case SKIN_KIND_PANEL:
        return std::make_unique<CSkinPanelObject>();
    case SKIN_KIND_CAPTION_BUTTON:
        return std::make_unique<CSkinCaptionButtonObject>();
    case SKIN_KIND_BUTTON:
        return std::make_unique<CSkinButtonObject>();
    case SKIN_KIND_CHECKBOX:
    case SKIN_KIND_RADIO:
        return std::make_unique<CSkinCheckObject>(kind);
    case SKIN_KIND_COMBOBOX:
        return std::make_unique<CSkinComboBoxObject>();
    case SKIN_KIND_GROUPBOX:
        return std::make_unique<CSkinGroupBoxObject>();
    case SKIN_KIND_PROGRESS:
        return std::make_unique<CSkinProgressObject>();
    case SKIN_KIND_SCROLLBAR:
        return std::make_unique<CSkinScrollBarObject>();
    case SKIN_KIND_SLIDER:
        return std::make_unique<CSkinSliderObject>();
    case SKIN_KIND_STATIC:
        return std::make_unique<CSkinStaticObject>();
    case SKIN_KIND_STATUSBAR:
        return std::make_unique<CSkinStatusBarObject>();
    case SKIN_KIND_POPUPMENU:
        return std::make_unique<CSkinPopupMenuObject>();
    case SKIN_KIND_IMAGE:
        return std::make_unique<CSkinImageObject>();
    case SKIN_KIND_PLAIN:
        return std::make_unique<CSkinObject>(SKIN_KIND_PLAIN);
    case SKIN_KIND_MENUBAR:
        return std::make_unique<CSkinMenuBarObject>();
    case SKIN_KIND_TOOLBAR:
        return std::make_unique<CSkinToolBarObject>();
    case SKIN_KIND_CONTROLBAR:
    case SKIN_KIND_SCROLLCONTROL:
        return std::make_unique<CSkinControlObject>(kind);
    case SKIN_KIND_INFO:
        return std::make_unique<CSkinInfoObject>();
    case SKIN_KIND_SPIN:
        return std::make_unique<CSkinSpinObject>();
    default:
        return nullptr;
    }
}

void CSkinObject::SetName(const char *name) {
    std::memset(m_szName, 0, sizeof m_szName);
    if (name != nullptr)
        std::strncpy(m_szName, name, NAME_SIZE);
}

void CSkinObject::Transfer(CSkinArchive &archive) {
    if (archive.IsLoading() && !archive.Enter()) {
        archive.StopReading();
        return;
    }
    archive.Text(m_szName, NAME_SIZE);
    archive.Value(m_crBackground);
    archive.Value(m_crText);
    archive.Value(m_crKey);
    archive.Text(m_szName2, NAME_SIZE);
    archive.Value(m_dwValue);
    TransferChildren(archive);
    TransferRecord(archive);
    if (archive.IsLoading())
        archive.Leave();
}

void CSkinObject::TransferRecord(CSkinArchive &) {}

void CSkinObject::TransferChildren(CSkinArchive &archive) {
    if (!archive.IsLoading()) {
        LONG count = static_cast<LONG>(m_children.size());
        archive.Value(count);
        for (Child &child : m_children) {
            archive.Value(child.dwKind);
            if (child.object)
                child.object->Transfer(archive);
        }
        return;
    }
    LONG count = 0;
    archive.Value(count);
    // A hostile count must not build millions of entries: the list ends with the stream.
    for (LONG i = 0; i < count && !archive.IsAtEnd(); ++i) {
        DWORD kind = 0;
        archive.Value(kind);
        std::unique_ptr<CSkinObject> object;
        if (kind == SKIN_KIND_CAPTION_BUTTON) {
            object = Create(kind);
            object->Transfer(archive);
        }
        AddChild(kind, std::move(object));
    }
}

void CSkinObject::AddChild(DWORD kind, std::unique_ptr<CSkinObject> object) {
    if (object)
        m_childTable.emplace(object->GetName(), object.get());
    m_children.push_back(Child{kind, std::move(object)});
}

CSkinObject *CSkinObject::FindChild(const std::string &name) const {
    auto it = m_childTable.find(name);
    return it == m_childTable.end() ? nullptr : it->second;
}
