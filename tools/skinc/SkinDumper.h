// Prints a skin's header, objects (fields that differ from their defaults), children, images and plain records.
#pragma once

#include "skin/Skin.h"

#include <ostream>

class CSkinDumper {
public:
    // Prints in the compiler's source syntax, so that a dump reads like a skin source.
    static void Dump(const CSkin &skin, std::ostream &out);

private:
    static void DumpObject(const CSkinObject &object, std::ostream &out, const std::string &indent);
};
