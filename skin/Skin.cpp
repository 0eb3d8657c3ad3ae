#include "skin/Skin.h"

#include "skin/SkinArchive.h"
#include "skin/SkinContainer.h"
#include "skin/SkinVersion.h"

#include <cstdint>
#include <cstring>
#include <new>

static_assert(sizeof(CSkin::FileHeader) == CSkin::HEADER_SIZE && offsetof(CSkin::FileHeader, objectCount) == 176,
              "the file header is stored byte for byte");

const char CSkin::MAGIC[MAGIC_SIZE] = "SKINWEAVE_SKIN_FILE";

namespace {

const char kBadContainer[] = "not a skin container, or its data does not decompress";
const char kBadHeader[] = "not a skin file of version 1";
const char kTooLarge[] = "the skin's images need more than 64 MB of memory";
const char kNoMemory[] = "not enough memory for the skin";

// The version globals describe the file being read only while it is read.
class CVersionScope {
public:
    CVersionScope(BYTE major, BYTE minor) {
        g_nSkinMajorVersion = major;
        g_nSkinMinorVersion = minor;
    }
    ~CVersionScope() { ResetSkinVersion(); }
};

} // namespace

CSkin::CSkin() : m_pszError("") {
    std::memset(&m_header, 0, sizeof m_header);
    std::memset(m_szAuthor, 0, sizeof m_szAuthor);
}

CSkin::~CSkin() = default;

bool CSkin::IsObjectKind(DWORD kind) {
    switch (kind) {
    case SKIN_KIND_FRAME:
    case SKIN_KIND_PANEL:
    case SKIN_KIND_BUTTON:
    case SKIN_KIND_CHECKBOX:
    case SKIN_KIND_COMBOBOX:
    case SKIN_KIND_GROUPBOX:
    case SKIN_KIND_PROGRESS:
    case SKIN_KIND_RADIO:
    case SKIN_KIND_SCROLLBAR:
    case SKIN_KIND_SLIDER:
    case SKIN_KIND_STATIC:
    case SKIN_KIND_STATUSBAR:
    case SKIN_KIND_POPUPMENU:
    case SKIN_KIND_TOOLBAR:
    case SKIN_KIND_CONTROLBAR:
    case SKIN_KIND_INFO:
    case SKIN_KIND_SCROLLCONTROL:
    case SKIN_KIND_SPIN:
        return true;
    default:
        return false;
    }
}

void CSkin::Clear() {
    CSkinLock::Guard guard(m_lock);
    ClearTables();
    std::memset(&m_header, 0, sizeof m_header);
    std::memset(m_szAuthor, 0, sizeof m_szAuthor);
    m_pszError = "";
}

void CSkin::ClearTables() {
    m_objects.clear();
    m_images.clear();
    m_plain.clear();
}

bool CSkin::Read(const CSkinStream &resource) {
    Clear();
    CSkinLock::Guard guard(m_lock);
    CSkinStream file;
    if (!CSkinContainer::Decompress(resource, file)) {
        m_pszError = kBadContainer;
        return false;
    }
    return ReadLocked(file);
}

bool CSkin::ReadFile(CSkinStream &file) {
    Clear();
    CSkinLock::Guard guard(m_lock);
    return ReadLocked(file);
}

bool CSkin::ReadLocked(CSkinStream &file) {
    file.Rewind();
    FileHeader header;
    if (file.Read(&header, HEADER_SIZE) != HEADER_SIZE ||
        std::memcmp(header.magic, MAGIC, MAGIC_COMPARED) != 0 || header.major != SKIN_MAJOR_VERSION) {
        m_pszError = kBadHeader;
        return false;
    }
    try {
        CVersionScope version(header.major, header.minor);
        CSkinArchive archive(file, CSkinArchive::LOADING);
        // Every list ends with the stream: a count of billions in a short file builds no billions of records.
        for (DWORD i = 0; i < header.objectCount && !archive.IsAtEnd(); ++i) {
            DWORD kind = 0;
            archive.Value(kind);
            if (!IsObjectKind(kind))
                continue; // counted as a record; the next 32 bits are taken as the next kind
            std::unique_ptr<CSkinObject> object = CSkinObject::Create(kind);
            object->Transfer(archive);
            std::string name = object->GetName();
            m_objects[name] = std::move(object);
        }
        DWORD imageCount = 0;
        archive.Value(imageCount);
        std::uint64_t decoded = 0;
        for (DWORD i = 0; i < imageCount && !archive.IsAtEnd(); ++i) {
            DWORD kind = 0;
            archive.Value(kind);
            auto image = std::make_unique<CSkinImageObject>();
            image->Transfer(archive);
            if (const CSkinImage *pixels = image->GetImage()) {
                decoded += pixels->GetDIBSize();
                if (pixels->HasAlpha())
                    decoded += static_cast<std::uint64_t>(pixels->GetWidth()) * pixels->GetHeight();
                if (decoded > MAX_DECODED_BYTES) {
                    ClearTables();
                    m_pszError = kTooLarge;
                    return false;
                }
            }
            std::string name = image->GetName();
            m_images[name] = std::move(image);
        }
        DWORD plainCount = 0;
        archive.Value(plainCount);
        for (DWORD i = 0; i < plainCount && !archive.IsAtEnd(); ++i) {
            DWORD kind = 0;
            archive.Value(kind);
            auto plain = std::make_unique<CSkinObject>(SKIN_KIND_PLAIN);
            plain->Transfer(archive);
            std::string name = plain->GetName();
            m_plain[name] = std::move(plain);
        }
    } catch (const std::bad_alloc &) {
        ClearTables();
        m_pszError = kNoMemory;
        return false;
    }
    m_header = header;
    std::memcpy(m_szAuthor, header.author, AUTHOR_SIZE);
    m_szAuthor[AUTHOR_SIZE] = '\0';
    return true;
}

CSkinObject *CSkin::FindObject(const char *name) {
    if (name == nullptr)
        return nullptr;
    CSkinLock::Guard guard(m_lock);
    std::string key(name);
    auto it = m_objects.find(key);
    if (it != m_objects.end())
        return it->second.get();
    for (auto &entry : m_objects) {
        if (CSkinObject *child = entry.second->FindChild(key))
            return child;
    }
    auto image = m_images.find(key);
    if (image != m_images.end())
        return image->second.get();
    auto plain = m_plain.find(key);
    if (plain != m_plain.end())
        return plain->second.get();
    return nullptr;
}

CSkinObject *CSkin::FindObjectByKind(DWORD kind) {
    if (kind == SKIN_KIND_CONTROLBAR)
        kind = SKIN_KIND_TOOLBAR;
    CSkinLock::Guard guard(m_lock);
    for (auto &entry : m_objects) {
        if (entry.second->GetKind() == kind)
            return entry.second.get();
    }
    return nullptr;
}

CSkinImage *CSkin::FindImage(const char *name) {
    if (name == nullptr)
        return nullptr;
    CSkinLock::Guard guard(m_lock);
    auto it = m_images.find(name);
    return it == m_images.end() ? nullptr : it->second->GetImage();
}

void CSkin::AddObject(std::unique_ptr<CSkinObject> object) {
    CSkinLock::Guard guard(m_lock);
    std::string name = object->GetName();
    m_objects[name] = std::move(object);
}

void CSkin::AddImage(std::unique_ptr<CSkinImageObject> image) {
    CSkinLock::Guard guard(m_lock);
    std::string name = image->GetName();
    m_images[name] = std::move(image);
}

void CSkin::AddPlain(std::unique_ptr<CSkinObject> plain) {
    CSkinLock::Guard guard(m_lock);
    std::string name = plain->GetName();
    m_plain[name] = std::move(plain);
}
