// Names, types and locations of every stored field of each skin object kind, for the compiler and the dump.
#pragma once

#include "platform/WinCompat.h"
#include "skin/SkinObject.h"

#include <functional>
#include <string>
#include <vector>

class CSkinFieldTable {
public:
    enum Type { COLOR, INT, BYTE_VALUE, TEXT, RECTANGLE, PIECE, IMAGE_REF, FONT, COLOR_RECORD16, COLOR_RECORD32 };

    struct Field {
        std::string name;
        Type type;
        DWORD size; // bytes of the member (TEXT: stored size without the extra NUL)
        std::function<void *(CSkinObject &)> at;
    };

    // The fields of a kind, header fields first; empty for kinds without a layout.
    static const std::vector<Field> &Fields(DWORD kind);
    static const Field *Find(DWORD kind, const std::string &name);

    // Kind numbers by keyword ("frame", "button", ...) and back, from the skin engine's table (skin/SkinKinds).
    static bool KindFromName(const std::string &name, DWORD *kind);
    static const char *KindName(DWORD kind);
};
