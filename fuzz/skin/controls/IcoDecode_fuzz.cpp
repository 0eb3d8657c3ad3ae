// Feeds arbitrary bytes to the ICO decoder and works the decoded image through the other image operations.
#include "skin/controls/SkinImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > 0x7FFFFFFF)
        return 0;
    CSkinImage image;
    // The last byte picks the frame, so that later directory entries are reached too.
    if (size > 0)
        image.SetFrame(data[size - 1] % 4);
    if (!image.Decode(data, static_cast<DWORD>(size), CSkinImage::FORMAT_ICO))
        return 0;
    CMemoryStream out;
    if (image.GetWidth() * image.GetHeight() <= 256 * 256) {
        image.Encode(out, CSkinImage::FORMAT_ICO);
        CSkinImage turned;
        image.Turn(90, &turned);
        image.Crop(1, 1, static_cast<long>(image.GetWidth()) - 1, static_cast<long>(image.GetHeight()) - 1);
    }
    return 0;
}
