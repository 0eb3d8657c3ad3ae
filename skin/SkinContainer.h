// The skin container: a 4-byte declared length followed by the skin file as one LZO1X stream.
#pragma once

#include "platform/WinCompat.h"
#include "skin/SkinStream.h"

class CSkinContainer {
public:
    // No embedded skin comes near this; a larger declared length is refused before anything is allocated.
    enum : DWORD { MAX_DECLARED_LENGTH = 64u * 1024u * 1024u, HEADER_SIZE = 4 };

    // Unpacks the container in source into dest (emptied first, growth 10240). On failure dest stays empty.
    static bool Decompress(const CSkinStream &source, CSkinStream &dest);
    // Packs size bytes of a skin file with LZO1X-1 into dest (emptied first).
    static bool Compress(const void *data, DWORD size, CSkinStream &dest);
    // The declared length of a container, or 0 when it is shorter than its length field.
    static DWORD DeclaredLength(const CSkinStream &source);
};
