// Serialises skin objects, images and plain records into a skin file and a skin container.
#pragma once

#include "platform/WinCompat.h"
#include "skin/Skin.h"
#include "skin/SkinObject.h"
#include "skin/SkinStream.h"

#include <string>

class CSkinWriter {
public:
    // Writes the layout of the given minor version (major is always 1).
    explicit CSkinWriter(BYTE minor = SKIN_NEWEST_MINOR_VERSION);

    void SetAuthor(const char *author);
    // Records in the order given; the objects are written at once.
    bool AddObject(const CSkinObject &object);
    // A bare kind value in the object list (no record follows); readers count it as one record.
    bool AddRawKind(DWORD kind);
    bool AddImage(const CSkinImageObject &image);
    bool AddPlain(const CSkinObject &plain);
    // Every table of a skin: objects, images and plain records, each in name order.
    bool AddSkin(const CSkin &skin);

    // The decompressed skin file: header, objects, images, plain records.
    bool FinishFile(CSkinStream &file);
    // The same packed as a skin container.
    bool FinishContainer(CSkinStream &container);

private:
    bool Store(CSkinStream &stream, DWORD kind, const CSkinObject &object);

    BYTE m_nMinor;
    std::string m_author;
    DWORD m_dwObjects;
    DWORD m_dwImages;
    DWORD m_dwPlain;
    CSkinStream m_objects;
    CSkinStream m_images;
    CSkinStream m_plain;
    bool m_bFailed;
};
