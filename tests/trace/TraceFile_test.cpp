// The .trace file image and the loader's scan: byte-exact saving, the cases stored files produce, damaged and
// hand-edited files, and the linear scan against the literal loop.
#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"
#include "tests/trace/TraceReference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Records = std::vector<std::string>;

std::string Image(const Records &records) {
    std::string image = "stale";
    EXPECT_EQ(WriteTraceFile(records, image), 0u);
    return image;
}

Records Parse(const std::string &text) {
    Records records;
    EXPECT_EQ(ParseTraceText(text, records), 0u);
    return records;
}

std::string Record(int number, const std::string &text) {
    std::string record;
    EXPECT_EQ(FormatTraceRecord(number, text, record), 0u);
    return record;
}

TEST(TraceFile, WritesPrefixedRecordsOnly) {
    EXPECT_EQ(Image({}), "") << "no records: a 0-byte file";
    const std::string a = Record(0, "连接成功！"), b = Record(1, "ABC");
    const std::string image = Image({a, b});
    EXPECT_EQ(image, "\x1E" + a + "\x16" + b);

    const std::string r254 = "<--" + std::string(248, 'x') + "-->", r255 = r254 + "!";
    EXPECT_EQ(Image({r254}), "\xFE" + r254);
    EXPECT_EQ(Image({r255}), std::string("\xFF\xFF\x00", 3) + r255);
}

TEST(TraceFile, EmptyTextKeepsTheRecordsAndPairlessTextEmptiesThem) {
    Records records = {"<--old-->"};
    ASSERT_EQ(ParseTraceText("", records), 0u);
    EXPECT_EQ(records, Records({"<--old-->"}));
    ASSERT_EQ(ParseTraceText(std::string("no markers\0here", 15), records), 0u);
    EXPECT_TRUE(records.empty());
    EXPECT_TRUE(Parse("<-- never closed").empty());
}

TEST(TraceFile, ScanCases) {
    struct Case {
        std::string text;
        Records records;
    };
    const Case cases[] = {
        {"x<--a-->y<--b-->", {"<--a-->", "<--b-->"}},
        {"<--a-->\nstray bytes", {"<--a-->"}},
        {"<--a-->\n<--unclosed", {"<--a-->"}},
        {"<--a-->\n", {"<--a-->"}},
        {"<-->", {"<-->"}},
        {"<--a<--b-->c-->", {"<--a<--b-->", "c-->"}},
        {std::string("\0<--a\0b-->\0\0<--c-->", 19), {std::string("<--a\0b-->", 9), "<--c-->"}},
        // A line text holding "-->": the record ends there; what follows up to the next "<--" is skipped, and after
        // the last record it is loaded on its own.
        {"\x1E<--第0条 a-->b @@ 4 -->\n\x12<--第1条 c @@ 1 -->\n", {"<--第0条 a-->", "<--第1条 c @@ 1 -->"}},
        {"\x1E<--第0条 a-->b @@ 4 -->\n", {"<--第0条 a-->", "b @@ 4 -->"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Parse(c.text), c.records) << ::testing::PrintToString(c.text);
    }
}

// Records whose prefixes hold zero bytes (255, 256, 512, 65534 ...) or bytes that look like marker characters
// ('-' 45, '<' 60, '>' 62) must neither hide nor split records.
TEST(TraceFile, SaveOpenSaveKeepsEveryRecordOneByteShorter) {
    const size_t recordSizes[] = {19, 45, 60, 62, 254, 255, 256, 512, 65533, 65534, 65535, 70000};
    Records saved;
    for (size_t size : recordSizes) {
        // Number 0 and a text of n bytes give 18 + n + digits(n) bytes.
        size_t n = size - 19;
        while (18 + n + std::to_string(n).size() > size) {
            --n;
        }
        saved.push_back(Record(0, std::string(n, 'T')));
        ASSERT_EQ(saved.back().size(), size);
    }
    saved.push_back(Record(1, "after the long ones"));

    const std::string first = Image(saved);
    const size_t at255 = 1 + 19 + 1 + 45 + 1 + 60 + 1 + 62 + 1 + 254;
    EXPECT_EQ(first.substr(at255, 3), std::string("\xFF\xFF\x00", 3));
    const Records opened = Parse(first);
    ASSERT_EQ(opened.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(opened[i] + "\n", saved[i]) << i;
    }

    // One byte less per record, two more from 255 -> 254 (prefix 3 -> 1 byte), four from 65534 -> 65533 (7 -> 3).
    const std::string second = Image(opened);
    EXPECT_EQ(first.size() - second.size(), saved.size() + 2 + 4);
    EXPECT_EQ(second.substr(at255 - 5, 1), "\xFE");
    EXPECT_EQ(Parse(second), opened) << "a second round changes nothing";
}

TEST(TraceFile, RowsComeBackFromAnOpenedFile) {
    const char *texts[] = {"连接成功！", "获取ATR成功！", "3B9F958011FE", "断开设备成功！"};
    Records saved;
    for (int i = 0; i < 4; ++i) {
        saved.push_back(Record(i, texts[i]));
    }
    const Records opened = Parse(Image(saved));
    ASSERT_EQ(opened.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        TraceRow row;
        ASSERT_EQ(ExtractTraceRow(opened[i], row), 0u);
        EXPECT_EQ(row.nNumber, i);
        EXPECT_EQ(row.strText, texts[i]);
    }
}

TEST(TraceFile, LargeDocumentRoundTrip) {
    Records saved;
    for (int i = 0; i < 100000; ++i) {
        saved.push_back(Record(i, "00A4040007A0000000031010 9000"));
    }
    const std::string image = Image(saved);
    const Records opened = Parse(image);
    ASSERT_EQ(opened.size(), saved.size());
    EXPECT_EQ(opened.back() + "\n", saved.back());
}

// Many "-->" and no further "<--": each step must not search the rest of the text again.
TEST(TraceFile, ManyClosingMarkersWithoutOpeningOnes) {
    std::string text = "<--a-->";
    for (int i = 0; i < 200000; ++i) {
        text += "x-->";
    }
    const Records records = Parse(text);
    ASSERT_EQ(records.size(), 200001u);
    EXPECT_EQ(records[1], "x-->");
}

TEST(TraceFile, DifferentialAgainstTheLiteralLoop) {
    std::mt19937 rng(11);
    const char alphabet[] = {'<', '-', '>', 'a', '\0', '\n'};
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 24, ' ');
        for (char &ch : text) {
            ch = alphabet[rng() % sizeof alphabet];
        }
        const Records previous = {"<--previous-->"};
        Records records = previous;
        ASSERT_EQ(ParseTraceText(text, records), 0u);
        ASSERT_EQ(records, reference::ParseTraceText(text, previous)) << ::testing::PrintToString(text);
    }
}

} // namespace
