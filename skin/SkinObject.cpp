#include "skin/SkinObject.h"

#include "skin/SkinKinds.h"
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
    const CSkinKindInfo *info = CSkinKinds::Find(kind);
    return info ? info->create(kind) : nullptr;
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
