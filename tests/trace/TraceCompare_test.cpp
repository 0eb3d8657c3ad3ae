// The comparison of a run's trace with a reference trace: line texts only, the first difference, GBK text.
#include "trace/TraceCompare.h"
#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Records as the view appends them (numbered, each ending in a line feed).
std::vector<std::string> Records(int firstNumber, const Lines &texts) {
    std::vector<std::string> records;
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string record;
        EXPECT_EQ(FormatTraceRecord(firstNumber + static_cast<int>(i), texts[i], record), 0u);
        records.push_back(record);
    }
    return records;
}

Lines LinesOf(const std::vector<std::string> &records) {
    Lines lines = {"stale"};
    EXPECT_EQ(TraceLinesOfRecords(records, lines), 0u);
    return lines;
}

// The records of a .trace file as a run reads its reference: saved, then scanned back.
std::vector<std::string> ThroughFile(const std::vector<std::string> &records) {
    std::string image;
    EXPECT_EQ(WriteTraceFile(records, image), 0u);
    std::vector<std::string> loaded;
    EXPECT_EQ(ParseTraceText(image.data(), image.size(), loaded), 0u);
    return loaded;
}

const Lines kRun = {"连接成功！", "下发的命令为：", "00A4040000", "响应的结果： 0x9000",
                    "6F0E8408A000000333010101A5028801"};

TEST(TraceCompare, RecordNumbersAndTheFileFormAreIgnored) {
    // The reference was saved after a clear (numbers start again at 0 in the middle) and read back from its file
    // (no line feeds); the run numbers its lines from 12.
    std::vector<std::string> reference = Records(3, {kRun[0], kRun[1]});
    const std::vector<std::string> rest = Records(0, {kRun[2], kRun[3], kRun[4]});
    reference.insert(reference.end(), rest.begin(), rest.end());
    const Lines ran = LinesOf(Records(12, kRun));
    EXPECT_EQ(ran, kRun);
    const TraceDifference diff = CompareTraceLines(ran, LinesOf(ThroughFile(reference)));
    EXPECT_EQ(diff.nKind, TraceDifference::kNone);
    EXPECT_TRUE(diff.strExpected.empty() && diff.strActual.empty());
    EXPECT_EQ(CompareTraceLines({}, {}).nKind, TraceDifference::kNone);
}

TEST(TraceCompare, TheFirstDifferenceIsReportedWithBothTexts) {
    Lines other = kRun;
    other[3] = "响应的结果： 0x6a82";
    other[4] = "6F00";
    TraceDifference diff = CompareTraceLines(other, kRun);
    EXPECT_EQ(diff.nKind, TraceDifference::kChanged);
    EXPECT_EQ(diff.nIndex, 3u);
    EXPECT_EQ(diff.strExpected, "响应的结果： 0x9000");
    EXPECT_EQ(diff.strActual, "响应的结果： 0x6a82");

    // One response byte: the last character of a long line.
    other = kRun;
    other[4].back() = '2';
    diff = CompareTraceLines(other, kRun);
    EXPECT_EQ(diff.nKind, TraceDifference::kChanged);
    EXPECT_EQ(diff.nIndex, 4u);

    // Case and trailing spaces are differences too: the texts are compared byte for byte.
    other = kRun;
    other[2] = "00a4040000";
    EXPECT_EQ(CompareTraceLines(other, kRun).nIndex, 2u);
    other[2] = "00A4040000 ";
    EXPECT_EQ(CompareTraceLines(other, kRun).nKind, TraceDifference::kChanged);
}

TEST(TraceCompare, AMissingOrAnExtraLine) {
    const Lines shorter(kRun.begin(), kRun.end() - 2);
    TraceDifference diff = CompareTraceLines(shorter, kRun);
    EXPECT_EQ(diff.nKind, TraceDifference::kMissing);
    EXPECT_EQ(diff.nIndex, 3u);
    EXPECT_EQ(diff.strExpected, kRun[3]);
    EXPECT_TRUE(diff.strActual.empty());

    diff = CompareTraceLines(kRun, shorter);
    EXPECT_EQ(diff.nKind, TraceDifference::kExtra);
    EXPECT_EQ(diff.nIndex, 3u);
    EXPECT_EQ(diff.strActual, kRun[3]);
    EXPECT_TRUE(diff.strExpected.empty());

    // A line dropped in the middle shows where the two first part, not at the end.
    Lines dropped = kRun;
    dropped.erase(dropped.begin() + 1);
    diff = CompareTraceLines(dropped, kRun);
    EXPECT_EQ(diff.nKind, TraceDifference::kChanged);
    EXPECT_EQ(diff.nIndex, 1u);

    // An empty reference (a 0-byte file) against a run; an empty run against a reference.
    EXPECT_EQ(CompareTraceLines(kRun, LinesOf(ThroughFile({}))).nKind, TraceDifference::kExtra);
    EXPECT_EQ(CompareTraceLines({}, kRun).nIndex, 0u);
}

TEST(TraceCompare, GbkLinesDifferInEitherByteAndAreQuotedWhole) {
    // 啊 (B0 A1) and 阿 (B0 A2) share their lead byte; the comparison sees the trail byte.
    const Lines a = {"\xB0\xA1"}, b = {"\xB0\xA2"};
    EXPECT_EQ(CompareTraceLines(a, b).nKind, TraceDifference::kChanged);
    EXPECT_EQ(CompareTraceLines(LinesOf(ThroughFile(Records(0, a))), a).nKind, TraceDifference::kNone);

    // A long GBK line is cut between characters, never inside one.
    const std::string text = "连接成功！"; // 10 bytes, five characters
    EXPECT_EQ(ClipGbkText(text, 10), text);
    EXPECT_EQ(ClipGbkText(text, 9), "连接成功…");
    EXPECT_EQ(ClipGbkText(text, 1), "…");
    EXPECT_EQ(ClipGbkText("A" + text, 4), "A连…");
    EXPECT_EQ(ClipGbkText("0123456789", 4), "0123…");
    // A lead byte takes the next byte with it, whatever it is (B0 43 is one character).
    EXPECT_EQ(ClipGbkText(std::string("\xB0", 1) + "CD", 1), "…");
    EXPECT_EQ(ClipGbkText(std::string("\xB0", 1) + "CD", 2), std::string("\xB0", 1) + "C…");
}

TEST(TraceCompare, AnEmptyRecordIsRefused) {
    Lines lines = {"kept"};
    std::vector<std::string> records = Records(0, {"A"});
    records.push_back("");
    EXPECT_EQ(TraceLinesOfRecords(records, lines), RC_BAD_ARGUMENT);
    EXPECT_EQ(lines, Lines{"kept"});
}

} // namespace
