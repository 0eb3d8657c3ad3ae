// The one table of skin object kinds: number, the compiler's keyword, whether a skin file lists it among its
// top-level objects, and how an object of it is made. Recognition (CSkin), creation (CSkinObject::Create) and the
// skin compiler's names all read it.
#pragma once

#include "platform/WinCompat.h"

#include <memory>
#include <string>

class CSkinObject;

struct CSkinKindInfo {
    DWORD kind;
    const char *name;                               // keyword in skin sources and dumps ("frame", "button", ...)
    bool bTopLevel;                                 // a record of the file's object list (others nest or stand apart)
    std::unique_ptr<CSkinObject> (*create)(DWORD); // a new object of the kind with its defaults
};

class CSkinKinds {
public:
    // Every kind with a record layout, in number order.
    static const CSkinKindInfo *Begin();
    static const CSkinKindInfo *End();
    // Null for a kind without a record layout, or a name of none.
    static const CSkinKindInfo *Find(DWORD kind);
    static const CSkinKindInfo *Find(const std::string &name);
};
