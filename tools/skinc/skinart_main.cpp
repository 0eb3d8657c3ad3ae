// skinart: draws a skin's artwork (BMP atlases) from its theme palette, reproducibly, at build time.
#include "tools/skinc/SkinArt.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinart <theme.txt> <output folder>\n");
        return 2;
    }
    CSkinArt art;
    std::string error;
    if (!art.LoadTheme(argv[1], &error) || !art.WriteAll(argv[2], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
