// Feeds arbitrary bytes to the skin reader: the first byte chooses a container or a decompressed skin file.
#include "skin/Skin.h"
#include "skin/SkinStream.h"

#include <cstddef>
#include <cstdint>

static const DWORD kKinds[] = {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20, 23, 24, 25, 26, 27};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1 || size > 0x1000000)
        return 0;
    CSkinStream stream;
    stream.Create(data + 1, static_cast<DWORD>(size - 1));
    CSkin skin;
    bool ok = (data[0] & 1) != 0 ? skin.Read(stream) : skin.ReadFile(stream);
    if (!ok)
        return 0;
    // Every lookup walks what the reader built.
    for (DWORD kind : kKinds)
        skin.FindObjectByKind(kind);
    for (const auto &entry : skin.GetObjects()) {
        skin.FindObject(entry.first.c_str());
        for (const auto &child : entry.second->GetChildren()) {
            if (child.object)
                skin.FindObject(child.object->GetName());
        }
    }
    for (const auto &entry : skin.GetImages()) {
        if (const CSkinImage *image = skin.FindImage(entry.first.c_str()))
            (void)image->GetWidth();
    }
    skin.FindObject("MainFrame");
    return 0;
}
