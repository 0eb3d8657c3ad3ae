// skinpreview: renders a compiled skin's pieces into a PNG for review.
#include "skin/Skin.h"
#include "tools/skinc/SkinPreview.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool SavePng(const CSkinCanvas &canvas, const char *path) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.Width());
    image.height = static_cast<png_uint_32>(canvas.Height());
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rows(static_cast<size_t>(canvas.Width()) * canvas.Height() * 3);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            COLORREF c = canvas.Get(x, y);
            png_byte *p = &rows[(static_cast<size_t>(y) * canvas.Width() + x) * 3];
            p[0] = GetRValue(c), p[1] = GetGValue(c), p[2] = GetBValue(c);
        }
    return png_image_write_to_file(&image, path, 0, rows.data(), 0, nullptr) != 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinpreview <container.skin> <output.png>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CSkinStream container;
    CSkin skin;
    if (!container.Create(bytes.data(), static_cast<DWORD>(bytes.size())) || !skin.Read(container)) {
        std::fprintf(stderr, "%s: not a readable skin container\n", argv[1]);
        return 1;
    }
    CSkinPreview preview(skin);
    if (!SavePng(preview.Render(), argv[2])) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
