// The five skins embedded as "SKINWEAVE" resources read back through the module's resource functions.
#include <windows.h>

#include "skin/Skin.h"
#include "skin/SkinVersion.h"
#include "skin/SkinWriter.h"

#include <cstring>

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
        EXPECT_EQ(5, g_nSkinMinorVersion);
    }
    CSkin none;
    DWORD size = 0;
    EXPECT_FALSE(LoadResourceSkin("NOSUCHSKIN", none, &size));
}

// The skin files that a Windows build writes do not depend on its architecture: each embedded container (written
// by the native skin compiler) read and written again by this build gives back exactly the same bytes.
TEST(SkinResources, EverySkinWritesBackItsOwnBytes) {
    for (const char *name : {"CORONA", "DEVIOR", "FUTURAIII", "KROMO", "XPSTEEL"}) {
        SCOPED_TRACE(name);
        HRSRC found = FindResourceA(nullptr, name, "SKINWEAVE");
        ASSERT_NE(nullptr, found);
        HGLOBAL loaded = LoadResource(nullptr, found);
        const BYTE *bytes = static_cast<const BYTE *>(LockResource(loaded));
        const DWORD size = SizeofResource(nullptr, found);
        ASSERT_NE(nullptr, bytes);
        CSkinStream resource;
        ASSERT_TRUE(resource.Create(bytes, size));
        CSkin skin;
        ASSERT_TRUE(skin.Read(resource));

        CSkinWriter writer(skin.GetMinorVersion());
        writer.SetAuthor(skin.GetAuthor());
        CSkinStream written;
        ASSERT_TRUE(writer.AddSkin(skin));
        ASSERT_TRUE(writer.FinishContainer(written));
        ASSERT_EQ(size, written.GetLength()) << 8 * sizeof(void *) << "-bit build";
        EXPECT_EQ(0, std::memcmp(bytes, written.GetBuffer(), size)) << 8 * sizeof(void *) << "-bit build";
    }
}
