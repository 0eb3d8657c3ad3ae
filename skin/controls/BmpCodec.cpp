#include "skin/controls/BmpCodec.h"

bool CBmpCodec::Decode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}

bool CBmpCodec::Encode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}
