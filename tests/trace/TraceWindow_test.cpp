// The trace document and list view inside a running main frame: numbering, clearing, saving and opening.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "console/TraceLine.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkIds.h"
#include "platform/Handle.h"
#include "res/console/resource.h"
#include "tests/console/ConsoleTestHarness.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

namespace {
typedef std::vector<std::pair<std::string, std::string>> Rows;

// The archive's string form written out independently: 1, 3 or 7 prefix bytes, little-endian.
std::string Encode(const std::vector<std::string> &records) {
    std::string out;
    for (const std::string &r : records) {
        size_t n = r.size();
        if (n < 255) {
            out += static_cast<char>(n);
        } else if (n < 0xFFFE) {
            out += '\xFF';
            out += static_cast<char>(n & 0xFF);
            out += static_cast<char>(n >> 8);
        } else {
            out += "\xFF\xFF\xFF";
            for (int i = 0; i < 4; ++i)
                out += static_cast<char>((n >> (8 * i)) & 0xFF);
        }
        out += r;
    }
    return out;
}

std::string Record(int n, const std::string &text) {
    return "<--第" + std::to_string(n) + "条 " + text + " @@ " + std::to_string(text.size()) + " -->\n";
}

std::string TempPath(const std::string &name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

bool WriteBytes(const std::string &path, const std::string &bytes) {
    CKernelObject h(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.IsValid())
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::string &path) {
    CKernelObject h(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.IsValid())
        return "<missing>";
    std::string data(::GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    if (!data.empty())
        ::ReadFile(h, &data[0], static_cast<DWORD>(data.size()), &got, nullptr);
    data.resize(got);
    return data;
}

// Opens a file into a new trace window the way the open command does.
Rows OpenRows(const std::string &bytes) {
    std::string path = TempPath("qx_open_case.trace");
    EXPECT_TRUE(WriteBytes(path, bytes));
    CConsoleTestApp &app = TestApp();
    app.CloseAllDocuments(FALSE);
    EXPECT_NE(app.OpenDocumentFile(path), nullptr);
    return app.Rows();
}

class TraceWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(TestApp().Frame(), nullptr);
        TestApp().FreshWindow();
        ASSERT_NE(TestApp().ActiveView(), nullptr);
    }
};
} // namespace

TEST_F(TraceWindowTest, LinesBecomeNumberedRowsAndExactRecords) {
    CQXReader_CCIDView *view = TestApp().ActiveView();
    EXPECT_EQ(view->GetListCtrl().GetColumnWidth(0), 96);
    RECT rc = {};
    view->GetClientRect(&rc);
    EXPECT_EQ(view->GetListCtrl().GetColumnWidth(1), (rc.right - rc.left) - 96);

    EXPECT_EQ(PostTraceLine("连接成功！", -1), 0);
    EXPECT_EQ(PostTraceLine("ABC", -1), 0);
    EXPECT_EQ(PostTraceLine("", -1), 0);
    EXPECT_EQ(TestApp().Rows(), (Rows{{"0000", "连接成功！"}, {"0001", "ABC"}, {"0002", ""}}));

    const std::vector<std::string> &records = TestApp().ActiveDoc()->m_arrRecords;
    ASSERT_EQ(records.size(), 3u);
    // 30 bytes: the GBK text is 10 bytes long.
    EXPECT_EQ(records[0], "<--第0条 连接成功！ @@ 10 -->\n");
    EXPECT_EQ(records[0].size(), 30u);
    EXPECT_EQ(records[1], "<--第1条 ABC @@ 3 -->\n");
    EXPECT_EQ(records[2], "<--第2条  @@ 0 -->\n");
    EXPECT_FALSE(TestApp().ActiveDoc()->IsModified());
}

TEST_F(TraceWindowTest, ClearRestartsNumberingWhileTheDocumentKeepsEverything) {
    PostTraceLine("one", -1);
    PostTraceLine("two", -1);
    TestApp().Frame()->OnLogClear();
    EXPECT_TRUE(TestApp().Rows().empty());
    PostTraceLine("three", -1);
    EXPECT_EQ(TestApp().Rows(), (Rows{{"0000", "three"}}));
    EXPECT_EQ(TestApp().ActiveDoc()->m_arrRecords,
              (std::vector<std::string>{Record(0, "one"), Record(1, "two"), Record(0, "three")}));
}

TEST_F(TraceWindowTest, WithoutATraceWindowLinesAreDropped) {
    TestApp().CloseAllDocuments(FALSE);
    EXPECT_EQ(FindActiveTraceView(), nullptr);
    EXPECT_EQ(PostTraceLine("lost", -1), -1);
    TestApp().Frame()->OnLogClear(); // must not crash; nothing to clear
}

TEST_F(TraceWindowTest, SaveWritesTheArchiveStringFormByteForByte) {
    CQXReader_CCIDDoc *doc = TestApp().ActiveDoc();
    std::string path = TempPath("qx_save_case.trace");

    // No records: an empty file.
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(path), "");

    // 21 bytes of record around the text: 234 bytes of text make a 255-byte record (prefix FF FF 00), 233 a
    // 254-byte one (prefix FE).
    std::string t254(233, 'x'), t255(234, 'y'), tLong(70000, 'z');
    PostTraceLine("ABC", -1);
    PostTraceLine(t254.c_str(), -1);
    PostTraceLine(t255.c_str(), -1);
    PostTraceLine("after", -1);
    PostTraceLine(tLong.c_str(), -1);
    ASSERT_EQ(doc->m_arrRecords.size(), 5u);
    EXPECT_EQ(doc->m_arrRecords[1].size(), 254u);
    EXPECT_EQ(doc->m_arrRecords[2].size(), 255u);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, Encode(doc->m_arrRecords));
    EXPECT_EQ(bytes.substr(0, 23), std::string("\x16") + Record(0, "ABC"));
    size_t at255 = 23 + 1 + 254;
    EXPECT_EQ(bytes.substr(at255, 3), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(doc->m_arrRecords.size(), 5u); // saving never changes the records

    // Opening what was saved keeps every record, also those after the prefix with a zero byte, and the
    // numbering goes on after the last row.
    TestApp().CloseAllDocuments(FALSE);
    ASSERT_NE(TestApp().OpenDocumentFile(path), nullptr);
    Rows rows = TestApp().Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2], (std::pair<std::string, std::string>("0002", t255)));
    EXPECT_EQ(rows[3], (std::pair<std::string, std::string>("0003", "after")));
    EXPECT_EQ(rows[4].second, tLong);
    PostTraceLine("next", -1);
    EXPECT_EQ(TestApp().Rows().back(), (std::pair<std::string, std::string>("0005", "next")));

    // Saved again: each loaded record is one byte shorter (no line feed).
    CQXReader_CCIDDoc *reopened = TestApp().ActiveDoc();
    EXPECT_EQ(reopened->m_arrRecords[0], "<--第0条 ABC @@ 3 -->");
    std::string path2 = TempPath("qx_save_case2.trace");
    ASSERT_TRUE(reopened->OnSaveDocument(path2));
    EXPECT_EQ(ReadBytes(path2), Encode(reopened->m_arrRecords));
    EXPECT_EQ(ReadBytes(path2)[0], '\x15');
}

TEST_F(TraceWindowTest, OpeningTheEdgeCaseFilesGivesTheStatedRows) {
    // A 0-byte file: an empty window.
    EXPECT_TRUE(OpenRows("").empty());
    // Gaps: 0, 1, then 5 lands at the end with an empty text and the reload stops.
    EXPECT_EQ(OpenRows(Encode({Record(0, "a"), Record(1, "b"), Record(5, "c"), Record(6, "d")})),
              (Rows{{"0000", "a"}, {"0001", "b"}, {"0005", ""}}));
    // Repeated numbers after a clear: the later records are inserted above the earlier ones.
    EXPECT_EQ(OpenRows(Encode({Record(0, "a"), Record(1, "b"), Record(2, "c"), Record(0, "d"), Record(1, "e")})),
              (Rows{{"0000", "d"}, {"0001", "e"}, {"0000", "a"}, {"0001", "b"}, {"0002", "c"}}));
    // " @@" inside a text: cut before it, or empty when what follows is no number.
    EXPECT_EQ(OpenRows(Encode({Record(0, "x @@ 1y"), Record(1, "p @@ q")})), (Rows{{"0000", "x"}, {"0001", ""}}));
    // "条 " inside a text is removed.
    EXPECT_EQ(OpenRows(Encode({Record(0, "一条 二")})), (Rows{{"0000", "一二"}}));
    // Bytes between and after records; a final "<--" never closed is not a record.
    EXPECT_EQ(OpenRows("x<--第0条 a @@ 1 -->y\n<--第1条 b @@ 1 -->\n<--第2条 never closed"),
              (Rows{{"0000", "a"}, {"0001", "b"}}));
    // A negative length from a hand-edited file keeps the whole text.
    EXPECT_EQ(OpenRows("<--第0条 whole @@ -3 -->"), (Rows{{"0000", "whole"}}));
    // A negative number places no row.
    EXPECT_TRUE(OpenRows("<--第-1条 neg @@ 3 -->").empty());
}

TEST_F(TraceWindowTest, OpeningAMissingFileKeepsNoWindow) {
    TestApp().CloseAllDocuments(FALSE);
    CMessageBoxCapture capture;
    EXPECT_EQ(TestApp().OpenDocumentFile(TempPath("qx_no_such_file.trace")), nullptr);
    EXPECT_EQ(FindActiveTraceView(), nullptr);
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0].rfind("打开文档失败。", 0), 0u);
}

TEST_F(TraceWindowTest, DisplaySwitchesSetTheExtendedStyleAndCheckMarks) {
    CQXReader_CCIDView *view = TestApp().ActiveView();
    DWORD base = view->m_dwBaseExStyle;
    CListCtrl list = view->GetListCtrl();
    EXPECT_EQ(list.GetExtendedStyle(), base | 0x31);

    TestApp().Frame()->SendMessage(WM_COMMAND, ID_VIEW_HIGHLIGHT, 0);
    EXPECT_EQ(list.GetExtendedStyle(), base | 0x01); // no full-row select, no header drag-and-drop
    EXPECT_EQ(CheckOf(ID_VIEW_HIGHLIGHT), 0);
    EXPECT_EQ(CheckOf(ID_VIEW_GRID), 1);
    TestApp().Frame()->SendMessage(WM_COMMAND, ID_VIEW_GRID, 0);
    EXPECT_EQ(list.GetExtendedStyle(), base);
    EXPECT_EQ(CheckOf(ID_VIEW_GRID), 0);
    TestApp().Frame()->SendMessage(WM_COMMAND, ID_VIEW_HIGHLIGHT, 0);
    TestApp().Frame()->SendMessage(WM_COMMAND, ID_VIEW_GRID, 0);
    EXPECT_EQ(list.GetExtendedStyle(), base | 0x21); // header dragging stays off
    EXPECT_EQ(CheckOf(ID_VIEW_HIGHLIGHT), 1);
}

TEST_F(TraceWindowTest, TwoWindowsHaveIndependentDocuments) {
    CQXReader_CCIDDoc *first = TestApp().ActiveDoc();
    PostTraceLine("first", -1);
    TestApp().OnFileNew();
    CQXReader_CCIDDoc *second = TestApp().ActiveDoc();
    ASSERT_NE(first, second);
    PostTraceLine("second", -1);
    EXPECT_EQ(first->m_arrRecords, (std::vector<std::string>{Record(0, "first")}));
    EXPECT_EQ(second->m_arrRecords, (std::vector<std::string>{Record(0, "second")}));
}
