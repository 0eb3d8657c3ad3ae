#include "skin/SkinStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(SkinStream, WritesGrowInWholeStepsPastWhatIsNeeded) {
    std::vector<BYTE> block(10240, 0xAB);
    CSkinStream stream(10240);
    ASSERT_EQ(10240u, stream.Write(block.data(), 10240));
    EXPECT_EQ(10240u, stream.GetCapacity()); // the first write allocates exactly its size
    BYTE one = 1;
    ASSERT_EQ(1u, stream.Write(&one, 1));
    EXPECT_EQ(20480u, stream.GetCapacity());
    EXPECT_EQ(10241u, stream.GetLength());
    EXPECT_EQ(0xAB, stream.GetBuffer()[10239]);
    EXPECT_EQ(1, stream.GetBuffer()[10240]);

    // Needing exactly one more step's worth still adds a step beyond it (integer division + 1).
    std::vector<BYTE> more(20480 - 10241 + 10240, 2);
    ASSERT_EQ(more.size(), stream.Write(more.data(), static_cast<DWORD>(more.size())));
    EXPECT_EQ(40960u, stream.GetCapacity());
}

TEST(SkinStream, OverwritingInsideKeepsTheLength) {
    CSkinStream stream;
    const char text[] = "abcdef";
    stream.Write(text, 6);
    stream.Seek(2, 0);
    stream.Write("XY", 2);
    EXPECT_EQ(6u, stream.GetLength());
    EXPECT_EQ(4u, stream.GetPosition());
    EXPECT_EQ(0, std::memcmp(stream.GetBuffer(), "abXYef", 6));
}

TEST(SkinStream, ShortReadsCopyWhatIsLeftAndLeaveTheRest) {
    BYTE data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CSkinStream stream;
    ASSERT_TRUE(stream.Create(data, sizeof data, 10240));
    stream.Seek(4, 0);
    BYTE dst[10];
    std::memset(dst, 0xEE, sizeof dst);
    EXPECT_EQ(4u, stream.Read(dst, 10));
    EXPECT_EQ(8u, stream.GetPosition());
    EXPECT_EQ(5, dst[0]);
    EXPECT_EQ(8, dst[3]);
    EXPECT_EQ(0xEE, dst[4]);
    EXPECT_EQ(0u, stream.Read(dst, 1));
}

TEST(SkinStream, SeeksAreClampedToTheData) {
    BYTE data[16] = {};
    CSkinStream stream;
    stream.Create(data, sizeof data, 10240);
    EXPECT_EQ(16u, stream.Seek(100, 0));
    EXPECT_EQ(10u, stream.Seek(-6, 2));
    EXPECT_EQ(12u, stream.Seek(2, 1));
    EXPECT_EQ(16u, stream.Seek(5, 1));
    EXPECT_EQ(16u, stream.Seek(4, 2));
    EXPECT_EQ(0u, stream.Seek(-100, 1));
    stream.Seek(3, 0);
    stream.Rewind();
    EXPECT_EQ(0u, stream.GetPosition());
}

TEST(SkinStream, EmptyStreamsReadNothingAndDestroyZeroesEverything) {
    CSkinStream stream;
    BYTE b = 7;
    EXPECT_EQ(0u, stream.Read(&b, 1));
    EXPECT_EQ(7, b);
    EXPECT_FALSE(stream.Create(nullptr, 5, 10240));
    EXPECT_EQ(0u, stream.GetLength());

    stream.Write("abc", 3);
    stream.Destroy();
    EXPECT_EQ(nullptr, stream.GetBuffer());
    EXPECT_EQ(0u, stream.GetLength());
    EXPECT_EQ(0u, stream.GetPosition());
    EXPECT_EQ(0u, stream.GetCapacity());
}

TEST(SkinStream, ZeroGrowthStepGrowsByWhatIsNeeded) {
    CSkinStream stream(0);
    stream.Write("ab", 2);
    stream.Write("cde", 3);
    EXPECT_EQ(5u, stream.GetLength());
    EXPECT_EQ(5u, stream.GetCapacity());
    EXPECT_EQ(0, std::memcmp(stream.GetBuffer(), "abcde", 5));
}
