#include "skin/SkinContainer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<BYTE> Sample(size_t size) {
    std::vector<BYTE> data(size);
    unsigned seed = 12345;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Runs and noise, like skin files with their bitmaps.
        data[i] = (i / 64) % 3 == 0 ? static_cast<BYTE>(seed >> 24) : static_cast<BYTE>(i / 97);
    }
    return data;
}

CSkinStream Pack(const std::vector<BYTE> &data) {
    CSkinStream container;
    EXPECT_TRUE(CSkinContainer::Compress(data.data(), static_cast<DWORD>(data.size()), container));
    return container;
}

void SetDeclared(CSkinStream &container, DWORD length) {
    BYTE *p = container.GetBuffer();
    p[0] = static_cast<BYTE>(length);
    p[1] = static_cast<BYTE>(length >> 8);
    p[2] = static_cast<BYTE>(length >> 16);
    p[3] = static_cast<BYTE>(length >> 24);
}

} // namespace

TEST(SkinContainer, PacksAndUnpacksLosslessly) {
    std::vector<BYTE> data = Sample(100000);
    CSkinStream container = Pack(data);
    EXPECT_EQ(100000u, CSkinContainer::DeclaredLength(container));
    EXPECT_LT(container.GetLength(), 100000u);
    CSkinStream file;
    ASSERT_TRUE(CSkinContainer::Decompress(container, file));
    ASSERT_EQ(data.size(), file.GetLength());
    EXPECT_EQ(0, std::memcmp(data.data(), file.GetBuffer(), data.size()));
    EXPECT_EQ(CSkinStream::DEFAULT_GROWTH, file.GetGrowth());
}

TEST(SkinContainer, DeclaredLengthMustMatchExactly) {
    std::vector<BYTE> data = Sample(5000);
    CSkinStream file;
    for (DWORD declared : {5001u, 4999u, 0u}) {
        CSkinStream container = Pack(data);
        SetDeclared(container, declared);
        EXPECT_FALSE(CSkinContainer::Decompress(container, file)) << declared;
        EXPECT_EQ(0u, file.GetLength());
    }
}

TEST(SkinContainer, HugeDeclaredLengthsAreRefusedBeforeAllocating) {
    CSkinStream container = Pack(Sample(100));
    CSkinStream file;
    SetDeclared(container, CSkinContainer::MAX_DECLARED_LENGTH + 1);
    EXPECT_FALSE(CSkinContainer::Decompress(container, file));
    SetDeclared(container, 0xFFFFFFFFu);
    EXPECT_FALSE(CSkinContainer::Decompress(container, file));
}

TEST(SkinContainer, BrokenContainersFail) {
    std::vector<BYTE> data = Sample(3000);
    CSkinStream file;

    CSkinStream tooShort;
    tooShort.Create("\x10\0\0", 3);
    EXPECT_FALSE(CSkinContainer::Decompress(tooShort, file));
    EXPECT_FALSE(CSkinContainer::Decompress(CSkinStream(), file));

    CSkinStream truncated = Pack(data);
    CSkinStream cut;
    cut.Create(truncated.GetBuffer(), truncated.GetLength() - 3);
    EXPECT_FALSE(CSkinContainer::Decompress(cut, file));

    CSkinStream trailing = Pack(data);
    trailing.Seek(0, 2);
    trailing.Write("xyz", 3);
    EXPECT_FALSE(CSkinContainer::Decompress(trailing, file));

    CSkinStream garbage = Pack(data);
    for (DWORD i = 4; i < garbage.GetLength(); i += 7)
        garbage.GetBuffer()[i] ^= 0x5A;
    EXPECT_FALSE(CSkinContainer::Decompress(garbage, file));
    EXPECT_EQ(0u, file.GetLength());
}
