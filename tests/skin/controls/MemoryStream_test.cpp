#include "skin/controls/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(MemoryStream, WriteGrowsInWholePagesOf4096) {
    CMemoryStream stream;
    BYTE b = 7;
    EXPECT_EQ(1u, stream.Write(&b, 1, 1));
    EXPECT_EQ(4096u, stream.Capacity());
    EXPECT_EQ(1u, stream.Size());
    EXPECT_EQ(1, stream.Tell());

    std::vector<BYTE> block(4095, 1);
    EXPECT_EQ(1u, stream.Write(block.data(), block.size(), 1));
    EXPECT_EQ(4096u, stream.Capacity());
    EXPECT_EQ(1u, stream.Write(&b, 1, 1));
    EXPECT_EQ(8192u, stream.Capacity());
    EXPECT_EQ(4097u, stream.Size());

    // Growth goes to the next page above the required size, also when that size is a whole page.
    CMemoryStream exact;
    std::vector<BYTE> page(4096, 3);
    EXPECT_EQ(1u, exact.Write(page.data(), page.size(), 1));
    EXPECT_EQ(8192u, exact.Capacity());
    EXPECT_EQ(1u, exact.Write(page.data(), page.size(), 1));
    EXPECT_EQ(8192u, exact.Capacity());
    EXPECT_EQ(1u, exact.Write(&b, 1, 1));
    EXPECT_EQ(12288u, exact.Capacity());
}

TEST(MemoryStream, ReadCopiesWhatIsLeftAndCountsWholeItems) {
    BYTE data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    CMemoryStream stream(data, sizeof(data), false);
    BYTE out[16] = {};
    EXPECT_EQ(2u, stream.Read(out, 4, 2));
    EXPECT_EQ(8, stream.Tell());
    // Two bytes left: a partial item is copied but not counted.
    EXPECT_EQ(0u, stream.Read(out, 4, 1));
    EXPECT_EQ(8, out[0]);
    EXPECT_EQ(9, out[1]);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_FALSE(stream.IsError());
    EXPECT_EQ(0u, stream.Read(out, 1, 1));
    EXPECT_EQ(-1, stream.GetByte());

    ASSERT_TRUE(stream.Seek(20, 0));
    EXPECT_TRUE(stream.IsError());
    EXPECT_EQ(0u, stream.Read(out, 1, 1));
    EXPECT_EQ(0u, stream.Remaining());
}

TEST(MemoryStream, SeekOrigins) {
    BYTE data[8] = {};
    CMemoryStream stream(data, sizeof(data), false);
    EXPECT_TRUE(stream.Seek(3, 0));
    EXPECT_EQ(3, stream.Tell());
    EXPECT_TRUE(stream.Seek(2, 1));
    EXPECT_EQ(5, stream.Tell());
    EXPECT_TRUE(stream.Seek(-1, 2));
    EXPECT_EQ(7, stream.Tell());
    EXPECT_TRUE(stream.Seek(100, 2));
    EXPECT_EQ(108, stream.Tell());
    EXPECT_FALSE(stream.Seek(-1, 0));
    EXPECT_FALSE(stream.Seek(-200, 1));
    EXPECT_FALSE(stream.Seek(0, 3));
    EXPECT_EQ(108, stream.Tell());
}

TEST(MemoryStream, WriteAfterSeekBeyondEndZeroFillsTheGap) {
    CMemoryStream stream;
    ASSERT_TRUE(stream.PutByte(0xAA));
    ASSERT_TRUE(stream.Seek(4, 0));
    ASSERT_TRUE(stream.PutByte(0xBB));
    ASSERT_EQ(5u, stream.Size());
    const BYTE expected[5] = {0xAA, 0, 0, 0, 0xBB};
    EXPECT_EQ(0, std::memcmp(expected, stream.GetBuffer(), 5));
    ASSERT_TRUE(stream.Seek(0, 0));
    EXPECT_EQ(0xAA, stream.GetByte());
    EXPECT_EQ(0, stream.GetByte());
}

TEST(MemoryStream, ForeignBufferIsCopiedNotResizedWhenWritingPastItsEnd) {
    BYTE data[4] = {1, 2, 3, 4};
    CMemoryStream stream(data, sizeof(data), false);
    ASSERT_TRUE(stream.Seek(2, 0));
    BYTE more[4] = {9, 9, 9, 9};
    EXPECT_EQ(4u, stream.Write(more, 1, 4));
    EXPECT_NE(data, stream.GetBuffer());
    EXPECT_EQ(6u, stream.Size());
    const BYTE expected[6] = {1, 2, 9, 9, 9, 9};
    EXPECT_EQ(0, std::memcmp(expected, stream.GetBuffer(), 6));
    // The caller's bytes are untouched.
    EXPECT_EQ(3, data[2]);

    BYTE inside[4] = {5, 6, 7, 8};
    CMemoryStream overwrite(inside, sizeof(inside), false);
    EXPECT_TRUE(overwrite.PutByte(0));
    EXPECT_EQ(inside, overwrite.GetBuffer());
    EXPECT_EQ(0, inside[0]);
}

TEST(MemoryStream, OwnedBufferIsReleasedAndGrown) {
    BYTE *data = static_cast<BYTE *>(std::malloc(3));
    ASSERT_NE(nullptr, data);
    std::memcpy(data, "abc", 3);
    CMemoryStream stream(data, 3, true);
    ASSERT_TRUE(stream.Seek(0, 2));
    EXPECT_EQ(1u, stream.Write("d", 1, 1));
    EXPECT_EQ(4096u, stream.Capacity());
    EXPECT_EQ(0, std::memcmp("abcd", stream.GetBuffer(), 4));
}

TEST(MemoryStream, RefusesWritesWhoseSizeOverflows) {
    CMemoryStream stream;
    BYTE b = 0;
    EXPECT_EQ(0u, stream.Write(&b, static_cast<size_t>(-1), 2));
    EXPECT_EQ(0u, stream.Write(&b, 0x40000000, 4));
    EXPECT_EQ(0u, stream.Size());
}
