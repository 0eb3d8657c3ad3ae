// Reads and writes the ICO format for CSkinImage.
#pragma once

#include "skin/controls/MemoryStream.h"
#include "skin/controls/SkinImage.h"

class CIcoCodec {
public:
    // Decodes from the stream's position into a fresh image; failures return false and leave no error text.
    static bool Decode(CMemoryStream &stream, CSkinImage &image);
    // Appends the image in this format to the stream; on failure sets the image's error text and returns false.
    static bool Encode(CMemoryStream &stream, CSkinImage &image);
};
