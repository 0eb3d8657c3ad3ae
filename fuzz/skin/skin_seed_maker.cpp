// Writes seed inputs for the skin reader fuzzer: small skins of every kind, as containers and as plain files.
#include "skin/Skin.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinImageObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinWriter.h"
#include "skin/controls/MemoryStream.h"
#include "skin/controls/SkinImage.h"

#include <cstdio>
#include <string>

namespace {

bool Save(const std::string &path, BYTE mode, const CSkinStream &bytes) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(&mode, 1, 1, f) == 1 &&
              std::fwrite(bytes.GetBuffer(), 1, bytes.GetLength(), f) == bytes.GetLength();
    return std::fclose(f) == 0 && ok;
}

void AddEveryKind(CSkinWriter &writer) {
    static const DWORD kinds[] = {1, 2, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 17, 23, 24, 25, 26, 27};
    int n = 0;
    for (DWORD kind : kinds) {
        auto object = CSkinObject::Create(kind);
        std::string name = "Object" + std::to_string(n++);
        object->SetName(name.c_str());
        if (kind == SKIN_KIND_FRAME) {
            auto button = CSkinObject::Create(SKIN_KIND_CAPTION_BUTTON);
            button->SetName("Close");
            object->AddChild(SKIN_KIND_CAPTION_BUTTON, std::move(button));
            object->AddChild(9, nullptr);
        }
        writer.AddObject(*object);
    }
    CSkinImage picture;
    CMemoryStream encoded;
    CSkinImageObject image;
    image.SetName("tiny.bmp");
    if (picture.Create(3, 2, 24, CSkinImage::FORMAT_BMP) && picture.Encode(encoded, CSkinImage::FORMAT_BMP))
        image.SetData(CSkinImage::FORMAT_BMP, encoded.GetBuffer(), encoded.Size());
    writer.AddImage(image);
    CSkinObject plain(SKIN_KIND_PLAIN);
    plain.SetName("Plain");
    writer.AddPlain(plain);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_seed_maker <directory>\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = true;
    for (BYTE minor : {1, 3, 5}) {
        CSkinWriter writer(minor);
        writer.SetAuthor("seed");
        AddEveryKind(writer);
        CSkinStream file, container;
        ok = writer.FinishFile(file) && ok;
        ok = writer.FinishContainer(container) && ok;
        std::string stem = dir + "/every_kind_minor" + std::to_string(minor);
        ok = Save(stem + ".file", 0, file) && ok;
        ok = Save(stem + ".container", 1, container) && ok;
    }
    return ok ? 0 : 1;
}
