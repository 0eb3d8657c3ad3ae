// The five skins embedded as "SKINWEAVE" resources read back through the module's resource functions.
#include <windows.h>

#include "skin/Skin.h"
#include "skin/SkinVersion.h"

#include <gtest/gtest.h>

namespace {

bool LoadResourceSkin(const char *name, CSkin &skin, DWORD *size) {
    HRSRC found = FindResourceA(nullptr, name, "SKINWEAVE");
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void *bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    *size = SizeofResource(nullptr, found);
    CSkinStream stream;
    return bytes != nullptr && stream.Create(bytes, *size) && skin.Read(stream);
}

} // namespace

TEST(SkinResources, EveryEmbeddedSkinReads) {
    const struct {
        const char *name;
        int minor;
        size_t objects;
    } skins[] = {{"CORONA", 5, 17}, {"DEVIOR", 5, 17}, {"FUTURAIII", 5, 17}, {"KROMO", 5, 17}, {"XPSTEEL", 1, 5}};
    for (const auto &expected : skins) {
        SCOPED_TRACE(expected.name);
        CSkin skin;
        DWORD size = 0;
        ASSERT_TRUE(LoadResourceSkin(expected.name, skin, &size));
        EXPECT_GT(size, 1000u);
        EXPECT_EQ(expected.minor, skin.GetMinorVersion());
        EXPECT_EQ(expected.objects, skin.GetObjects().size());
        ASSERT_NE(nullptr, skin.FindObject("MainFrame"));
        EXPECT_EQ(SKIN_KIND_FRAME, skin.FindObject("MainFrame")->GetKind());
        EXPECT_NE(nullptr, skin.FindImage("frame.bmp"));
    }
    CSkin none;
    DWORD size = 0;
    EXPECT_FALSE(LoadResourceSkin("NOSUCHSKIN", none, &size));
}
