#include "skin/controls/IcoCodec.h"

bool CIcoCodec::Decode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}

bool CIcoCodec::Encode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}
