// A loaded skin: its objects, images and plain records in three name tables, read from a skin container.
#pragma once

#include "framework/WinCompat.h"
#include "skin/SkinImageObject.h"
#include "skin/SkinLock.h"
#include "skin/SkinObject.h"
#include "skin/SkinStream.h"

#include <map>
#include <memory>
#include <string>

class CSkin {
public:
    enum : DWORD { HEADER_SIZE = 188, MAGIC_SIZE = 20, MAGIC_COMPARED = 19, AUTHOR_SIZE = 154 };
    // Decoded pixels and alpha of all images of one skin. The embedded skins need about 1 MB; a skin that needs more
    // than this is refused rather than allowed to exhaust a 32-bit process with images below the per-image cap.
    enum : DWORD { MAX_DECODED_BYTES = 64u * 1024u * 1024u };
    static const char MAGIC[MAGIC_SIZE];

    // The 188-byte file header.
    struct FileHeader {
        char magic[MAGIC_SIZE];
        BYTE major;
        BYTE minor;
        char author[AUTHOR_SIZE];
        DWORD objectCount;
        BYTE unused[8];
    };

    typedef std::map<std::string, std::unique_ptr<CSkinObject>> ObjectTable;
    typedef std::map<std::string, std::unique_ptr<CSkinImageObject>> ImageTable;

    CSkin();
    ~CSkin();
    CSkin(const CSkin &) = delete;
    CSkin &operator=(const CSkin &) = delete;

    // Reads a skin container (the resource bytes). On failure the skin is left empty and GetError() says why.
    bool Read(const CSkinStream &resource);
    // Reads a decompressed skin file.
    bool ReadFile(CSkinStream &file);
    void Clear();

    // Object table, then each object's children (objects in name order), then images, then plain records.
    CSkinObject *FindObject(const char *name);
    // The first object of the kind in name order; kind 24 is answered by the first kind 23.
    CSkinObject *FindObjectByKind(DWORD kind);
    CSkinImage *FindImage(const char *name);

    // Kinds that the object list holds; any other kind value counts as a record with nothing after it.
    static bool IsObjectKind(DWORD kind);

    // For tools and tests: the tables in name order and what the header said.
    const ObjectTable &GetObjects() const { return m_objects; }
    const ImageTable &GetImages() const { return m_images; }
    const ObjectTable &GetPlainRecords() const { return m_plain; }
    BYTE GetMajorVersion() const { return m_header.major; }
    BYTE GetMinorVersion() const { return m_header.minor; }
    const char *GetAuthor() const { return m_szAuthor; }
    DWORD GetDeclaredObjectCount() const { return m_header.objectCount; }
    // Why the last read failed, or "" after a successful one.
    const char *GetError() const { return m_pszError; }

    // Builders for tools: an existing entry of the same name is replaced.
    void AddObject(std::unique_ptr<CSkinObject> object);
    void AddImage(std::unique_ptr<CSkinImageObject> image);
    void AddPlain(std::unique_ptr<CSkinObject> plain);

private:
    bool ReadLocked(CSkinStream &file);
    void ClearTables();

    CSkinLock m_lock;
    ObjectTable m_objects;
    ImageTable m_images;
    ObjectTable m_plain;
    FileHeader m_header;
    char m_szAuthor[AUTHOR_SIZE + 1];
    const char *m_pszError;
};
