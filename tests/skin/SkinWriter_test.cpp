#include "skin/Skin.h"
#include "skin/SkinArchive.h"
#include "skin/SkinButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinImageObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinSpinObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/SkinVersion.h"
#include "skin/SkinWriter.h"
#include "skin/SysColor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const DWORD kHeader = 51 + 4 + 4 + 4 + 51 + 4 + 4; // object header without children

DWORD ControlHeader(int minor) {
    return 64 + 88 + (minor >= 4 ? 16 : 0) + (minor >= 5 ? 4 : 0);
}

DWORD Framed(int minor) {
    return 18 * 72 + 9 * 16 + 64 + 5 * 4 + (minor >= 3 ? 16 : 0);
}

DWORD MenuBar(int minor) {
    return kHeader + 72 + 16 + 4 + 4 + 64 + 16 + 16 + 16 + 4 + 88 + 16 + 4 + 88 + (minor >= 2 ? 12 * 72 : 0) +
           (minor >= 3 ? 88 : 0);
}

// Stored size of a record after its kind, from the layout tables, for an object without children.
DWORD ExpectedSize(DWORD kind, int minor) {
    DWORD ch = ControlHeader(minor);
    switch (kind) {
    case 1:
        return kHeader + Framed(minor) + 4 + MenuBar(minor);
    case 2:
        return kHeader + 72 + 16 + 16 + 1 + 4 + 4;
    case 4:
        return kHeader + 6 * 120 + 50 + 4 + 64 + 4 + 4;
    case 5:
    case 11:
        return kHeader + ch + 7 * 192 + 50 + 4;
    case 6:
        return kHeader + ch + 4 * 88 + 4;
    case 8:
        return kHeader + ch + 88 + 4 + 16 + 4;
    case 10:
        return kHeader + ch + 88 + 3 * 4;
    case 12:
        return kHeader + ch + 4 * 320 + 72 + 5 * 4;
    case 13:
        return kHeader + ch + 88 + 5 * 4 + 88;
    case 14:
        return kHeader + ch + 4 + 16 + 51;
    case 15:
        return kHeader + ch + 88 + 72;
    case 17:
        return kHeader + Framed(minor) + 3 * 16 + 4 + 4 + 88 + 88 + 72 + (minor >= 3 ? 72 : 0);
    case 23:
        return kHeader + ch + 5 * 88;
    case 24:
    case 26:
        return kHeader + ch;
    case 25:
        return kHeader + 3 * 51 + 4 + (minor >= 4 ? 2 * 51 : 0);
    case 27:
        return kHeader + ch + 4 * 144;
    default:
        return 0;
    }
}

const DWORD kKinds[] = {1, 2, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 17, 23, 24, 25, 26, 27};

std::vector<BYTE> Noise(size_t size, unsigned seed) {
    std::vector<BYTE> bytes(size);
    for (BYTE &b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<BYTE>(seed >> 24);
    }
    return bytes;
}

// Loads an object of the kind from noise (no children), as if it were stored that way.
std::unique_ptr<CSkinObject> NoisyObject(DWORD kind, unsigned seed, DWORD *consumed) {
    std::vector<BYTE> bytes = Noise(20000, seed);
    std::memset(bytes.data() + 118, 0, 4); // child count
    if (kind == 1)                         // the menu bar's child count
        std::memset(bytes.data() + kHeader + Framed(g_nSkinMinorVersion) + 4 + 118, 0, 4);
    CSkinStream stream;
    stream.Create(bytes.data(), static_cast<DWORD>(bytes.size()));
    CSkinArchive archive(stream, CSkinArchive::LOADING);
    auto object = CSkinObject::Create(kind);
    object->Transfer(archive);
    *consumed = stream.GetPosition();
    return object;
}

std::vector<BYTE> Stored(CSkinObject &object) {
    CSkinStream stream;
    CSkinArchive archive(stream, CSkinArchive::STORING);
    object.Transfer(archive);
    EXPECT_FALSE(archive.HasFailed());
    return std::vector<BYTE>(stream.GetBuffer(), stream.GetBuffer() + stream.GetLength());
}

} // namespace

TEST(SkinLayout, EveryKindStoresTheSizeOfItsLayoutInEveryMinorVersion) {
    for (int minor = 1; minor <= 5; ++minor) {
        g_nSkinMinorVersion = static_cast<BYTE>(minor);
        for (DWORD kind : kKinds) {
            DWORD consumed = 0;
            auto object = NoisyObject(kind, kind * 31 + minor, &consumed);
            EXPECT_EQ(ExpectedSize(kind, minor), consumed) << "kind " << kind << " minor " << minor;
            std::vector<BYTE> once = Stored(*object);
            EXPECT_EQ(ExpectedSize(kind, minor), once.size()) << "kind " << kind << " minor " << minor;

            // Storing what was loaded and loading it again gives the same bytes: loader and storer agree.
            CSkinStream stream;
            stream.Create(once.data(), static_cast<DWORD>(once.size()));
            CSkinArchive archive(stream, CSkinArchive::LOADING);
            auto again = CSkinObject::Create(kind);
            again->Transfer(archive);
            EXPECT_EQ(once, Stored(*again)) << "kind " << kind << " minor " << minor;
        }
    }
    ResetSkinVersion();
}

TEST(SkinLayout, LoadedNoiseIsStoredBackByteForByteExceptForcedTextEnds) {
    g_nSkinMinorVersion = 5;
    for (DWORD kind : kKinds) {
        DWORD consumed = 0;
        auto object = NoisyObject(kind, kind * 7, &consumed);
        std::vector<BYTE> source = Noise(20000, kind * 7);
        std::memset(source.data() + 118, 0, 4);
        if (kind == 1)
            std::memset(source.data() + kHeader + Framed(5) + 4 + 118, 0, 4);
        std::vector<BYTE> stored = Stored(*object);
        // Only text ends differ: the last byte of each LOGFONT face name and of each image name is forced to NUL on
        // loading. A layout out of step would differ in bytes that are not zero.
        int differences = 0;
        for (size_t i = 0; i < stored.size(); ++i) {
            if (stored[i] != source[i]) {
                ++differences;
                EXPECT_EQ(0, stored[i]) << "kind " << kind << ", byte " << i;
            }
        }
        EXPECT_LE(differences, 64) << "kind " << kind;
    }
    ResetSkinVersion();
}

TEST(SkinWriter, WholeSkinsRoundTripThroughTheContainer) {
    CSkin source;
    auto info = std::make_unique<CSkinInfoObject>();
    info->SetName("Application");
    std::strcpy(info->m_szAuthor, "QX740 team");
    std::strcpy(info->m_szWeb, "example.invalid");
    info->m_crKey = 0x00FF00;
    source.AddObject(std::move(info));
    auto check = std::make_unique<CSkinCheckObject>(SKIN_KIND_RADIO);
    check->SetName("Radio");
    check->m_blocks[6].color.SetTextColor(0x112233);
    check->m_header.font.crText = 0x445566;
    source.AddObject(std::move(check));
    auto spin = std::make_unique<CSkinSpinObject>();
    spin->SetName("Spin");
    std::strcpy(spin->m_blocks[3].down.szImage, "spin.bmp");
    spin->m_blocks[3].down.rcSource = RECT{1, 2, 3, 4};
    source.AddObject(std::move(spin));
    auto stat = std::make_unique<CSkinStaticObject>();
    stat->SetName("Static");
    stat->m_dwTransparent = 0;
    std::strcpy(stat->m_szText, "static text");
    source.AddObject(std::move(stat));
    auto plain = std::make_unique<CSkinObject>(SKIN_KIND_PLAIN);
    plain->SetName("Plain");
    plain->m_dwValue = 42;
    source.AddPlain(std::move(plain));
    auto image = std::make_unique<CSkinImageObject>();
    image->SetName("art.bmp");
    const BYTE data[] = {9, 8, 7, 6, 5};
    image->SetData(2, data, sizeof data);
    source.AddImage(std::move(image));

    CSkinWriter writer(5);
    writer.SetAuthor("round trip");
    ASSERT_TRUE(writer.AddSkin(source));
    CSkinStream container;
    ASSERT_TRUE(writer.FinishContainer(container));

    CSkin read;
    ASSERT_TRUE(read.Read(container));
    EXPECT_STREQ("round trip", read.GetAuthor());
    ASSERT_EQ(4u, read.GetObjects().size());
    auto *readInfo = static_cast<CSkinInfoObject *>(read.FindObject("Application"));
    EXPECT_STREQ("QX740 team", readInfo->m_szAuthor);
    EXPECT_STREQ("example.invalid", readInfo->m_szWeb);
    EXPECT_EQ(0x00FF00u, readInfo->GetRegionColor());
    auto *readCheck = static_cast<CSkinCheckObject *>(read.FindObject("Radio"));
    EXPECT_EQ(SKIN_KIND_RADIO, readCheck->GetKind());
    EXPECT_EQ(0x112233u, readCheck->m_blocks[6].color.GetTextColor());
    EXPECT_EQ(0x445566u, readCheck->m_header.font.crText);
    EXPECT_EQ(1000u, readCheck->m_dwValue2);
    auto *readSpin = static_cast<CSkinSpinObject *>(read.FindObject("Spin"));
    EXPECT_STREQ("spin.bmp", readSpin->m_blocks[3].down.szImage);
    EXPECT_EQ(4, readSpin->m_blocks[3].down.rcSource.bottom);
    auto *readStatic = static_cast<CSkinStaticObject *>(read.FindObject("Static"));
    EXPECT_EQ(0u, readStatic->m_dwTransparent);
    EXPECT_STREQ("static text", readStatic->m_szText);
    EXPECT_EQ(42u, read.FindObject("Plain")->m_dwValue);
    auto *readImage = static_cast<CSkinImageObject *>(read.FindObject("art.bmp"));
    EXPECT_EQ(2u, readImage->GetFormat());
    EXPECT_EQ(std::vector<BYTE>(data, data + sizeof data), readImage->GetData());

    // Writing what was read gives the same skin file.
    CSkinWriter first(5), second(5);
    first.SetAuthor("round trip");
    second.SetAuthor("round trip");
    first.AddSkin(source);
    second.AddSkin(read);
    CSkinStream a, b;
    ASSERT_TRUE(first.FinishFile(a));
    ASSERT_TRUE(second.FinishFile(b));
    ASSERT_EQ(a.GetLength(), b.GetLength());
    EXPECT_EQ(0, std::memcmp(a.GetBuffer(), b.GetBuffer(), a.GetLength()));
}

TEST(SkinDefaults, NewObjectsCarryTheStoredDefaults) {
    CSkinInfoObject info;
    EXPECT_EQ(0xFF00FFu, info.m_crKey);
    EXPECT_EQ(1u, info.m_dwRegions);
    CSkinButtonObject button;
    EXPECT_EQ(255u, button.m_crKey);
    EXPECT_EQ(CSysColor::Get(CSysColor::BTNFACE), button.m_crBackground);
    EXPECT_EQ(CSysColor::Get(CSysColor::WINDOWTEXT), button.m_crText);
    EXPECT_EQ(0xFF00FFu, button.GetTransparentColor());
    EXPECT_EQ(1000u, button.m_dwValue3);
    EXPECT_EQ(400, button.m_font.lf.lfWeight);
    EXPECT_EQ(3, button.m_font.lf.lfOutPrecision);
    EXPECT_EQ(2, button.m_font.lf.lfClipPrecision);
    EXPECT_EQ(1, button.m_font.lf.lfQuality);

    CSkinFrameObject frame;
    EXPECT_EQ(0xFF0000u, frame.m_framed.crActiveBorder);
    EXPECT_EQ(0x727200u, frame.m_framed.crInactiveBorder);
    EXPECT_EQ(0xFFFFFFu, frame.m_framed.crBackground);
    EXPECT_EQ(173, frame.m_framed.placement[2].left);
    EXPECT_EQ(276, frame.m_framed.placement[8].right);
    EXPECT_EQ(160, frame.m_framed.placement[8].bottom);
    EXPECT_EQ(0x727272u, frame.m_menuBar.m_crHoverFill);
    EXPECT_EQ(0xE07272u, frame.m_menuBar.m_crOpenFill);
    CSkinPopupMenuObject popup;
    EXPECT_EQ(274, popup.m_framed.placement[4].right);
    EXPECT_EQ(152, popup.m_framed.placement[8].bottom);
    EXPECT_EQ(4, popup.m_framed.placement[0].right);

    CSkinScrollBarObject scroll;
    const DWORD values[] = {0, 100, 10, 1, 10};
    EXPECT_EQ(0, std::memcmp(values, scroll.m_values, sizeof values));
    CSkinStaticObject stat;
    EXPECT_EQ(1u, stat.m_dwTransparent);
    EXPECT_EQ(nullptr, CSkinObject::Create(7));
    EXPECT_EQ(nullptr, CSkinObject::Create(0));
}
