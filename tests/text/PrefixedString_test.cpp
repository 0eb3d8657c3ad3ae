// Byte layout of the length-prefixed string form and its bounded reading of damaged data.
#include "text/PrefixedString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Prefixed(size_t length) {
    std::string out;
    const std::string body(length, 'r');
    EXPECT_EQ(AppendPrefixedString(out, body.data(), body.size()), PS_OK);
    EXPECT_EQ(out.size(), PrefixSize(length) + length);
    return out;
}

TEST(PrefixedString, PrefixBytesAtEveryBoundary) {
    struct Case {
        size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string(1, '\0')},
        {30, "\x1E"},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {256, std::string("\xFF\x00\x01", 3)},
        {512, std::string("\xFF\x00\x02", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {65535, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const Case &c : cases) {
        const std::string bytes = Prefixed(c.length);
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.substr(c.prefix.size()), std::string(c.length, 'r')) << c.length;
    }
}

TEST(PrefixedString, ReadsBackASequence) {
    const size_t lengths[] = {0, 1, 254, 255, 256, 65533, 65534, 65535, 70000};
    std::string all;
    for (size_t length : lengths) {
        all += Prefixed(length);
    }
    size_t pos = 0;
    for (size_t length : lengths) {
        std::string text;
        ASSERT_EQ(ReadPrefixedString(all.data(), all.size(), pos, text), PS_OK) << length;
        EXPECT_EQ(text, std::string(length, 'r'));
    }
    EXPECT_EQ(pos, all.size());
    std::string text = "untouched";
    EXPECT_EQ(ReadPrefixedString(all.data(), all.size(), pos, text), PS_TRUNCATED);
    EXPECT_EQ(text, "untouched");
}

TEST(PrefixedString, DamagedBytesFailWithoutReadingPastThem) {
    struct Case {
        std::string bytes;
        PrefixedStringStatus status;
    };
    const Case cases[] = {
        {"", PS_TRUNCATED},
        {"\x05"
         "abcd",
         PS_TRUNCATED},
        {"\xFF", PS_TRUNCATED},
        {"\xFF\x01", PS_TRUNCATED},
        {std::string("\xFF\x00\x01", 3) + std::string(255, 'x'), PS_TRUNCATED},
        {"\xFF\xFF\xFF\x01\x00\x01", PS_TRUNCATED},
        {std::string("\xFF\xFF\xFF\x00\x00\x00\x01", 7), PS_TRUNCATED}, // 16 MB announced, none there
        {std::string("\xFF\xFE\xFF\x00", 4), PS_BAD_PREFIX},
        {std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7), PS_BAD_PREFIX},
    };
    for (const Case &c : cases) {
        // A copy of exactly the bytes, so that ASan sees any read beyond them.
        std::string exact = c.bytes;
        exact.shrink_to_fit();
        size_t pos = 0;
        std::string text = "untouched";
        EXPECT_EQ(ReadPrefixedString(exact.data(), exact.size(), pos, text), c.status)
            << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(pos, 0u);
        EXPECT_EQ(text, "untouched");
    }
}

TEST(PrefixedString, CallerLimitIsCheckedBeforeTheBytes) {
    const std::string bytes = Prefixed(300);
    size_t pos = 0;
    std::string text;
    EXPECT_EQ(ReadPrefixedString(bytes.data(), bytes.size(), pos, text, 299), PS_TOO_LONG);
    EXPECT_EQ(ReadPrefixedString(bytes.data(), bytes.size(), pos, text, 300), PS_OK);
    EXPECT_EQ(text.size(), 300u);
}

} // namespace
