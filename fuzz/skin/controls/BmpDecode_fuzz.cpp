// Feeds arbitrary bytes to the BMP decoder and works the decoded image through the other image operations.
#include "skin/controls/SkinImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > 0x7FFFFFFF)
        return 0;
    CSkinImage image;
    if (!image.Decode(data, static_cast<DWORD>(size), CSkinImage::FORMAT_BMP))
        return 0;
    CMemoryStream out;
    if (image.GetWidth() * image.GetHeight() <= 256 * 256) {
        image.Encode(out, CSkinImage::FORMAT_BMP);
        CSkinImage turned;
        image.Turn(90, &turned);
        image.Crop(1, 1, static_cast<long>(image.GetWidth()) - 1, static_cast<long>(image.GetHeight()) - 1);
    }
    return 0;
}
