#include "skin/controls/TgaCodec.h"

bool CTgaCodec::Decode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}

bool CTgaCodec::Encode(CMemoryStream& stream, CSkinImage& image) {
    image.SetLastError("Unsupported operation for this format");
    return false;
}
