// The record text of a trace line and the row that the view reads back from a stored record.
#include "trace/TraceRecord.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string Format(int number, const std::string &text) {
    std::string record;
    EXPECT_EQ(FormatTraceRecord(number, text, record), 0u);
    return record;
}

TraceRow Row(const std::string &record) {
    TraceRow row;
    row.nNumber = -12345;
    EXPECT_EQ(ExtractTraceRow(record, row), 0u) << record;
    return row;
}

TEST(TraceRecord, FormatsNumberTextAndByteLength) {
    EXPECT_EQ(Format(7, "ABC"), "<--第7条 ABC @@ 3 -->\n");
    EXPECT_EQ(Format(7, "ABC").size(), 22u);
    const std::string connected = Format(0, "连接成功！");
    EXPECT_EQ(connected, "<--第0条 连接成功！ @@ 10 -->\n");
    EXPECT_EQ(connected.size(), 30u) << "GBK: two bytes per character";
    EXPECT_EQ(connected.substr(3, 2), "\xB5\xDA");
    EXPECT_EQ(Format(-3, ""), "<--第-3条  @@ 0 -->\n");
    EXPECT_EQ(Format(INT_MIN, "x"), "<--第-2147483648条 x @@ 1 -->\n");
}

TEST(TraceRecord, RowsOfWellFormedRecordsWithAndWithoutLineFeed) {
    const std::string texts[] = {"ABC", "连接成功！", "", "00A4040000 9000", "a @@ 5x", "-->"};
    int number = 0;
    for (const std::string &text : texts) {
        std::string record = Format(number, text);
        TraceRow row = Row(record);
        EXPECT_EQ(row.nNumber, number);
        record.pop_back(); // as loaded from a file
        row = Row(record);
        EXPECT_EQ(row.nNumber, number);
        if (text.find(" @@") == std::string::npos) {
            EXPECT_EQ(row.strText, text);
        }
        number += 9999;
    }
}

TEST(TraceRecord, MarkersInsideTheTextChangeWhatComesBack) {
    // Cut before the " @@" of the text; the length read after it is 5, not less than the 1 byte left.
    EXPECT_EQ(Row("<--第0条 a @@ 5x @@ 7 -->").strText, "a");
    // After " @@" no digit: the length reads as 0 and the text comes back empty.
    EXPECT_EQ(Row("<--第1条 a @@ b @@ 6 -->").strText, "");
    // "条 " goes wherever it stands.
    EXPECT_EQ(Row("<--第2条 x条 y @@ 5 -->").strText, "xy");
    // A line text with "-->" is split by the loader; its rest comes back as row 0 with the rest's text.
    TraceRow rest = Row("b @@ 4 -->");
    EXPECT_EQ(rest.nNumber, 0);
    EXPECT_EQ(rest.strText, "b");
}

TEST(TraceRecord, LengthCutsOnlyWhenNonNegativeAndShorter) {
    EXPECT_EQ(Row("<--第3条 abcdef @@ 2 -->").strText, "ab");
    EXPECT_EQ(Row("<--第3条 abcdef @@ 0 -->").strText, "");
    EXPECT_EQ(Row("<--第3条 abcdef @@ 6 -->").strText, "abcdef");
    EXPECT_EQ(Row("<--第3条 abcdef @@ 60 -->").strText, "abcdef");
    EXPECT_EQ(Row("<--第3条 abcdef @@ -2 -->").strText, "abcdef") << "a negative length is not a byte count";
    EXPECT_EQ(Row("<--第3条 abcdef @@ -2147483648 -->").strText, "abcdef");
    EXPECT_EQ(Row("<--第3条 abcdef @@ 99999999999999 -->").strText, "abcdef");
}

TEST(TraceRecord, NumbersAreReadLikeAtoi) {
    EXPECT_EQ(Row("<--第 +12x条 t @@ 1 -->").nNumber, 12);
    EXPECT_EQ(Row("<--第\t-7条 t @@ 1 -->").nNumber, -7);
    EXPECT_EQ(Row("<--第x条 t @@ 1 -->").nNumber, 0);
    EXPECT_EQ(Row("<--第99999999999条 t @@ 1 -->").nNumber, INT_MAX);
    EXPECT_EQ(Row("<--第-99999999999条 t @@ 1 -->").nNumber, INT_MIN);
    EXPECT_EQ(Row(std::string("<--第4\0"
                              "5条 t @@ 1 -->",
                              21))
                  .nNumber,
              4)
        << "a zero byte ends the digits";

    EXPECT_EQ(ReadDecimalLikeAtoi(""), 0);
    EXPECT_EQ(ReadDecimalLikeAtoi(" \r\n\v\f 42"), 42);
    EXPECT_EQ(ReadDecimalLikeAtoi("- 1"), 0);
    EXPECT_EQ(ReadDecimalLikeAtoi("2147483647"), INT_MAX);
    EXPECT_EQ(ReadDecimalLikeAtoi("-2147483648"), INT_MIN);
    EXPECT_EQ(ReadDecimalLikeAtoi("2147483648"), INT_MAX);
}

TEST(TraceRecord, EmptyRecordEndsTheReload) {
    TraceRow row;
    row.nNumber = 5;
    row.strText = "kept";
    EXPECT_EQ(ExtractTraceRow("", row), RC_BAD_ARGUMENT);
    EXPECT_EQ(row.nNumber, 5);
    EXPECT_EQ(row.strText, "kept");
}

} // namespace
