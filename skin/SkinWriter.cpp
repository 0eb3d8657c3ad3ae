#include "skin/SkinWriter.h"

#include "skin/SkinArchive.h"
#include "skin/SkinContainer.h"
#include "skin/SkinVersion.h"

#include <cstring>

namespace {


bool Append(CSkinStream &dest, const CSkinStream &source) {
    return source.GetLength() == 0 || dest.Write(source.GetBuffer(), source.GetLength()) == source.GetLength();
}

} // namespace

CSkinWriter::CSkinWriter(BYTE minor) : m_nMinor(minor), m_dwObjects(0), m_dwImages(0), m_dwPlain(0), m_bFailed(false) {}

void CSkinWriter::SetAuthor(const char *author) {
    m_author = author != nullptr ? author : "";
}

bool CSkinWriter::Store(CSkinStream &stream, DWORD kind, const CSkinObject &object) {
    CSkinArchive archive(stream, CSkinArchive::STORING, m_nMinor);
    archive.Value(kind);
    // Storing only reads the object's fields; the archive shares one code path with loading.
    const_cast<CSkinObject &>(object).Transfer(archive);
    if (archive.HasFailed())
        m_bFailed = true;
    return !archive.HasFailed();
}

bool CSkinWriter::AddObject(const CSkinObject &object) {
    ++m_dwObjects;
    return Store(m_objects, object.GetKind(), object);
}

bool CSkinWriter::AddRawKind(DWORD kind) {
    ++m_dwObjects;
    if (m_objects.Write(&kind, sizeof kind) != sizeof kind) {
        m_bFailed = true;
        return false;
    }
    return true;
}

bool CSkinWriter::AddImage(const CSkinImageObject &image) {
    ++m_dwImages;
    return Store(m_images, SKIN_KIND_IMAGE, image);
}

bool CSkinWriter::AddPlain(const CSkinObject &plain) {
    ++m_dwPlain;
    return Store(m_plain, SKIN_KIND_PLAIN, plain);
}

bool CSkinWriter::AddSkin(const CSkin &skin) {
    bool ok = true;
    for (const auto &entry : skin.GetObjects())
        ok = AddObject(*entry.second) && ok;
    for (const auto &entry : skin.GetImages())
        ok = AddImage(*entry.second) && ok;
    for (const auto &entry : skin.GetPlainRecords())
        ok = AddPlain(*entry.second) && ok;
    return ok;
}

bool CSkinWriter::FinishFile(CSkinStream &file) {
    file.Destroy();
    if (m_bFailed)
        return false;
    CSkin::FileHeader header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(header.magic, CSkin::MAGIC, CSkin::MAGIC_SIZE);
    header.major = SKIN_MAJOR_VERSION;
    header.minor = m_nMinor;
    std::strncpy(header.author, m_author.c_str(), CSkin::AUTHOR_SIZE - 1);
    header.objectCount = m_dwObjects;
    bool ok = file.Write(&header, sizeof header) == sizeof header && Append(file, m_objects) &&
              file.Write(&m_dwImages, sizeof m_dwImages) == sizeof m_dwImages && Append(file, m_images) &&
              file.Write(&m_dwPlain, sizeof m_dwPlain) == sizeof m_dwPlain && Append(file, m_plain);
    if (!ok)
        file.Destroy();
    return ok;
}

bool CSkinWriter::FinishContainer(CSkinStream &container) {
    CSkinStream file;
    if (!FinishFile(file))
        return false;
    return CSkinContainer::Compress(file.GetBuffer(), file.GetLength(), container);
}
