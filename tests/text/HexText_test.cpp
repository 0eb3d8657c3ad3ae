// Hexadecimal text conversion and the string helpers, against the cases the script format relies on and, on many
// random texts, against the literal repeat-from-start definitions.
#include "text/HexText.h"
#include "text/StringEdit.h"
#include "tests/text/HexTextReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> out;
    for (int v : values) {
        out.push_back(static_cast<BYTE>(v));
    }
    return out;
}

// Converts the whole string; nullopt-like result through `ok`.
std::vector<BYTE> ToBytes(const std::string &text, BOOL &ok) {
    std::vector<BYTE> out(text.size() + 1, 0xEE);
    DWORD count = 0xDEADu;
    ok = HexTextToBytes(text.data(), static_cast<DWORD>(text.size()), out.data(), &count);
    if (!ok) {
        EXPECT_EQ(count, 0xDEADu) << "a failed conversion must not report a count";
        return {};
    }
    out.resize(count);
    return out;
}

TEST(HexDigitValue, EveryByte) {
    for (int c = 0; c < 256; ++c) {
        BYTE expected = 0xFF;
        if (c >= '0' && c <= '9') {
            expected = static_cast<BYTE>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            expected = static_cast<BYTE>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            expected = static_cast<BYTE>(c - 'a' + 10);
        }
        EXPECT_EQ(HexDigitValue(static_cast<char>(c)), expected) << "byte " << c;
    }
}

TEST(HexTextToBytes, ConvertsPairsAndLineBreaks) {
    struct Case {
        const char *text;
        bool ok;
        std::vector<BYTE> bytes;
    };
    const Case cases[] = {
        {"00a4 0400 00", true, Bytes({0x00, 0xA4, 0x04, 0x00, 0x00})},
        {"00A4 0400 00", true, Bytes({0x00, 0xA4, 0x04, 0x00, 0x00})},
        {"00A40", false, {}},
        {"0G", false, {}},
        {"0 0", false, {}},
        {"GG", true, {}},
        {"", true, {}},
        {"0,0 A4", false, {}},
        {"00, A4;\t3bZ", true, Bytes({0x00, 0xA4, 0x3B})},
        {"AB\r\n\r\nCD", true, Bytes({0xAB, 0x0D, 0x0A, 0xCD})},
        {"AB\r\n\r\n\r\nCD", true, Bytes({0xAB, 0x0D, 0x0A, 0x0D, 0x0A, 0xCD})},
        {"AB\rCD\nEF", true, Bytes({0xAB, 0xCD, 0xEF})},
        {"\n\r\n", true, Bytes({0x0D, 0x0A})},
        {"\r\n0", false, {}},
        {"\r\nA", false, {}},
        {"\xB5\xDA 9000 \xCC\xF5", true, Bytes({0x90, 0x00})}, // GBK text around the digits is skipped
        {"\xA3\xB0\xA3\xB0", true, {}},                        // full-width digits are not digits
    };
    for (const Case &c : cases) {
        BOOL ok = 0;
        const std::vector<BYTE> bytes = ToBytes(c.text, ok);
        EXPECT_EQ(ok != 0, c.ok) << "text: " << c.text;
        EXPECT_EQ(bytes, c.bytes) << "text: " << c.text;
    }
}

TEST(HexTextToBytes, RunOfLineBreaksGivesHalfAsManyPairsRoundedUp) {
    for (int k = 0; k <= 9; ++k) {
        std::string text = "11";
        for (int i = 0; i < k; ++i) {
            text += "\r\n";
        }
        text += "22";
        BOOL ok = 0;
        const std::vector<BYTE> bytes = ToBytes(text, ok);
        ASSERT_TRUE(ok);
        std::vector<BYTE> expected = Bytes({0x11});
        for (int i = 0; i < (k + 1) / 2; ++i) {
            expected.push_back(0x0D);
            expected.push_back(0x0A);
        }
        expected.push_back(0x22);
        EXPECT_EQ(bytes, expected) << k << " line breaks";
    }
}

TEST(HexTextToBytes, StopsAtTheGivenLengthEvenInsideAPair) {
    const char text[] = "00A40400";
    BYTE out[8] = {};
    DWORD count = 0;
    EXPECT_FALSE(HexTextToBytes(text, 3, out, &count)) << "the buffer goes on with a digit, the text does not";
    ASSERT_TRUE(HexTextToBytes(text, 4, out, &count));
    EXPECT_EQ(count, 2u);
    const char crlf[] = "\r\n";
    ASSERT_TRUE(HexTextToBytes(crlf, 1, out, &count)) << "a CR at the end is not half of a line break";
    EXPECT_EQ(count, 0u);
}

TEST(HexTextToBytes, FailureAndSizeQueryLeaveTheOutputAlone) {
    BYTE out[4] = {1, 2, 3, 4};
    DWORD count = 77;
    EXPECT_FALSE(HexTextToBytes("11 22 3", 7, out, &count));
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[3], 4);
    EXPECT_FALSE(HexTextToBytes(nullptr, 4, out, &count));
    EXPECT_FALSE(HexTextToBytes("1122", 4, out, nullptr));
    EXPECT_EQ(count, 77u);

    ASSERT_TRUE(HexTextToBytes("11 22 33", 8, nullptr, &count));
    EXPECT_EQ(count, 3u);
}

// A buffer of as many bytes as the text has characters always suffices: nothing is written past it.
TEST(HexTextToBytes, NeverWritesMoreBytesThanTheTextHasCharacters) {
    std::mt19937 rng(7);
    const char alphabet[] = "0aF\r\n \r\n";
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 12, ' ');
        for (char &ch : text) {
            ch = alphabet[rng() % (sizeof alphabet - 1)];
        }
        std::vector<BYTE> out(text.size() + 8, 0xEE);
        DWORD count = 0;
        if (HexTextToBytes(text.data(), static_cast<DWORD>(text.size()), out.data(), &count)) {
            ASSERT_LE(count, text.size());
            for (size_t i = count; i < out.size(); ++i) {
                ASSERT_EQ(out[i], 0xEE) << "wrote past the produced bytes for " << text.size() << " characters";
            }
        }
    }
}

TEST(BytesToHexText, WritesUpperCasePairsWithinTheCapacity) {
    const BYTE bytes[] = {0x3B, 0x9F};
    char out[8];
    std::memset(out, '*', sizeof out);
    DWORD length = 4;
    ASSERT_TRUE(BytesToHexText(bytes, 2, out, &length));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(std::string(out, 5), "3B9F*") << "no terminating zero is written";

    std::memset(out, '*', sizeof out);
    length = 3;
    EXPECT_FALSE(BytesToHexText(bytes, 2, out, &length));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(std::string(out, 4), "****");

    length = 0;
    ASSERT_TRUE(BytesToHexText(bytes, 2, nullptr, &length));
    EXPECT_EQ(length, 4u);

    length = 8;
    EXPECT_FALSE(BytesToHexText(bytes, 0, out, &length));
    EXPECT_FALSE(BytesToHexText(nullptr, 2, out, &length));
    EXPECT_FALSE(BytesToHexText(bytes, 2, out, nullptr));
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(out[0], '*');
}

TEST(BytesToHexText, RefusesACountWhoseTextLengthOverflows) {
    const BYTE bytes[] = {0};
    DWORD length = 123;
    EXPECT_FALSE(BytesToHexText(bytes, 0x80000000u, nullptr, &length));
    EXPECT_EQ(length, 123u);
}

TEST(BytesToHexText, RoundTripsEveryByteValue) {
    std::vector<BYTE> all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<BYTE>(i);
    }
    std::string text(512, '\0');
    DWORD length = 512;
    ASSERT_TRUE(BytesToHexText(all.data(), 256, &text[0], &length));
    EXPECT_EQ(text.substr(0, 8), "00010203");
    EXPECT_EQ(text.substr(504), "FCFDFEFF");
    BOOL ok = 0;
    EXPECT_EQ(ToBytes(text, ok), all);
    EXPECT_TRUE(ok);
}

TEST(RemoveAll, DeletesEveryOccurrenceIncludingJoinedOnes) {
    struct Case {
        const char *text, *sub, *result;
    };
    const Case cases[] = {
        {"00 A4 04", " ", "00A404"}, {"aabb", "ab", ""}, {"aaabbbc", "ab", "c"}, {"abcabc", "abc", ""},
        {"xaabcbcy", "abc", "xy"},   {"aaaa", "aa", ""}, {"aaaaa", "aa", "a"},   {"no match", "zz", "no match"},
        {"ab", "abc", "ab"},
    };
    for (const Case &c : cases) {
        std::string s = c.text;
        EXPECT_EQ(RemoveAll(s, c.sub), 0u);
        EXPECT_EQ(s, c.result) << c.text << " without " << c.sub;
    }
}

TEST(RemoveAll, RejectsAnEmptyStringOrSubstring) {
    std::string empty;
    EXPECT_EQ(RemoveAll(empty, "a"), RC_BAD_ARGUMENT);
    std::string s = "abc";
    EXPECT_EQ(RemoveAll(s, ""), RC_BAD_ARGUMENT);
    EXPECT_EQ(RemoveAll(s, nullptr), RC_BAD_ARGUMENT);
    EXPECT_EQ(s, "abc");
}

TEST(RemoveAll, DeeplyNestedOccurrencesInOnePass) {
    const size_t n = 1u << 20;
    std::string s = std::string(n, 'a') + std::string(n, 'b');
    EXPECT_EQ(RemoveAll(s, "ab"), 0u);
    EXPECT_EQ(s, "");
    s = "x" + std::string(n, '(') + "y" + std::string(n, ')') + "z";
    EXPECT_EQ(RemoveAll(s, "(y)"), 0u);
    EXPECT_EQ(s, "x" + std::string(n - 1, '(') + std::string(n - 1, ')') + "z");
}

TEST(StripComments, RemovesCommentsWithTheirLineBreaks) {
    struct Case {
        const char *text, *marker, *result;
    };
    const Case cases[] = {
        {";head\r\n00A4040000\r\n", ";", "00A4040000\r\n"},
        {"A B ; x\r\nC D", ";", "A B C D"},
        {"00A4\r\n;last comment", ";", "00A4\r\n"}, // no line break after it: through the end
        {"00A4 ; a\nb\r\n9000", ";", "00A4 9000"},  // a lone LF does not end the comment
        {"aab x\r\nb y\r\nkeep", "ab", "keep"},     // the deletion joins "a" and "b" into a new marker
        {"// one\r\n//two\r\n80", "//", "80"},
        {"no comment\r\n", ";", "no comment\r\n"},
        {"x;\r\ny", ";\r", "xy"},           // the CR LF begins inside the marker
        {"x;\r\n\r\ny", ";\r\n", "x\r\ny"}, // the marker ends with the line break that ends it
        {"a\r\nb;\r\nc", "\r\n", "ab;c"},   // the marker is itself a line break
    };
    for (const Case &c : cases) {
        std::string s = c.text;
        EXPECT_EQ(StripComments(s, c.marker), 0u);
        EXPECT_EQ(s, c.result) << "marker " << c.marker;
    }
}

TEST(StripComments, RejectsAnEmptyStringOrMarker) {
    std::string empty;
    EXPECT_EQ(StripComments(empty, ";"), RC_BAD_ARGUMENT);
    std::string s = "a;b";
    EXPECT_EQ(StripComments(s, ""), RC_BAD_ARGUMENT);
    EXPECT_EQ(StripComments(s, nullptr), RC_BAD_ARGUMENT);
    EXPECT_EQ(s, "a;b");
}

TEST(ExtractBetween, CutsTheSourceAndCopiesThroughTheEndMarker) {
    std::string source = "x<--a-->y<--b-->";
    std::string out = "old";
    ASSERT_EQ(ExtractBetween(out, source, "<--", "-->", true), 0u);
    EXPECT_EQ(source, "<--a-->y<--b-->");
    EXPECT_EQ(out, "<--a-->");

    source = "x<--a-->y<--b-->";
    ASSERT_EQ(ExtractBetween(out, source, "<--", "-->", false), 0u);
    EXPECT_EQ(out, "a");

    source = "<--a<--b-->c-->";
    ASSERT_EQ(ExtractBetween(out, source, "<--", "-->", false), 0u);
    EXPECT_EQ(out, "ab") << "markers go wherever they stand";
}

TEST(ExtractBetween, MissingMarkers) {
    std::string source = "abc-->d";
    std::string out;
    ASSERT_EQ(ExtractBetween(out, source, "<--", "-->", true), 0u);
    EXPECT_EQ(source, "abc-->d") << "no begin marker: nothing removed";
    EXPECT_EQ(out, "abc-->");

    source = "z<--abc";
    ASSERT_EQ(ExtractBetween(out, source, "<--", "-->", true), 0u);
    EXPECT_EQ(source, "<--abc");
    EXPECT_EQ(out, "<-") << "no end marker: its length minus one";

    source = "z<--abc";
    ASSERT_EQ(ExtractBetween(out, source, "<--", "]", true), 0u);
    EXPECT_EQ(out, "") << "a one-byte end marker that is absent leaves nothing";
}

TEST(ExtractBetween, BadArgumentsChangeNothing) {
    std::string empty, out = "keep", source = "a<b>c";
    EXPECT_EQ(ExtractBetween(out, empty, "<", ">", true), RC_BAD_ARGUMENT);
    EXPECT_EQ(ExtractBetween(out, source, nullptr, ">", true), RC_BAD_ARGUMENT);
    EXPECT_EQ(ExtractBetween(out, source, "<", nullptr, true), RC_BAD_ARGUMENT);
    EXPECT_EQ(ExtractBetween(out, source, "", ">", true), RC_BAD_ARGUMENT);
    EXPECT_EQ(out, "keep");
    EXPECT_EQ(source, "a<b>c");
}

// Small alphabets make deletions join their neighbours into new occurrences as often as possible.
std::string RandomText(std::mt19937 &rng, const std::string &alphabet, size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char &ch : s) {
        ch = alphabet[rng() % alphabet.size()];
    }
    return s;
}

TEST(Differential, RemoveAllMatchesTheRepeatFromStartDefinition) {
    std::mt19937 rng(1);
    for (int round = 0; round < 20000; ++round) {
        const std::string alphabet = round % 2 ? "ab" : "abc";
        const std::string sub = RandomText(rng, alphabet, 4);
        const std::string text = RandomText(rng, alphabet, 24);
        if (sub.empty() || text.empty()) {
            continue;
        }
        std::string fast = text;
        ASSERT_EQ(RemoveAll(fast, sub.c_str()), 0u);
        ASSERT_EQ(fast, reference::RemoveAll(text, sub)) << "text " << text << " sub " << sub;
    }
}

TEST(Differential, StripCommentsMatchesTheRepeatFromStartDefinition) {
    std::mt19937 rng(2);
    const std::string alphabets[] = {";a\r\n", ";/a\r\n", "ab\r\n"};
    for (int round = 0; round < 30000; ++round) {
        const std::string &alphabet = alphabets[round % 3];
        const std::string marker = RandomText(rng, alphabet, 3);
        const std::string text = RandomText(rng, alphabet, 24);
        if (marker.empty() || text.empty()) {
            continue;
        }
        std::string fast = text;
        ASSERT_EQ(StripComments(fast, marker.c_str()), 0u);
        ASSERT_EQ(fast, reference::StripComments(text, marker))
            << "text " << ::testing::PrintToString(text) << " marker " << ::testing::PrintToString(marker);
    }
}

TEST(Differential, ExtractBetweenMatchesTheDefinition) {
    std::mt19937 rng(3);
    for (int round = 0; round < 20000; ++round) {
        const std::string begin = RandomText(rng, "<-", 3);
        const std::string end = RandomText(rng, "->", 3);
        const std::string text = RandomText(rng, "<->a", 16);
        if (begin.empty() || end.empty() || text.empty()) {
            continue;
        }
        const bool keep = round % 2 == 0;
        std::string fastSource = text, refSource = text, out = "x";
        ASSERT_EQ(ExtractBetween(out, fastSource, begin.c_str(), end.c_str(), keep), 0u);
        const std::string expected = reference::ExtractBetween(refSource, begin, end, keep);
        ASSERT_EQ(out, expected) << text << " " << begin << " " << end;
        ASSERT_EQ(fastSource, refSource) << text << " " << begin << " " << end;
    }
}

} // namespace
