// The bytes of a saved log depend on nothing but its lines: the console's save path (Windows builds of both
// architectures) and the portable file image (native) both produce the reference image that
// reference/make_reference.py builds from the file format alone.
#ifdef _WIN32
#include <windows.h>
#endif

#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"

#ifdef _WIN32
#include "framework/Archive.h"
#include "framework/File.h"
#include "tests/support/TempDir.h"
#include "trace/QXReader_CCIDDoc.h"
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// The log of reference/make_reference.py: GBK text, an empty line, a record longer than 254 bytes (3-byte
// prefix), a large number and the record markers inside a line.
const std::vector<std::pair<int, std::string>> kLines = {
    {1, "连接成功！"},
    {2, "ATR: 3B8F8001804F0CA000000306030001000000006A"},
    {3, ""},
    {4, "发送: 00A4040007A0000000031010"},
    {5, "接收: 6F1A840E315041592E5359532E4444463031A5088801025F2D027A689000"},
    {6, [] {
         std::string s;
         for (int i = 0; i < 19; ++i)
             s += "0123456789ABCDEF";
         return s;
     }()},
    {123456, "结束 @@ 〇"},
};

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Reference() {
    std::string bytes = ReadBytes(QX_TRACE_REFERENCE);
    EXPECT_EQ(bytes.size(), 619u) << "reference image missing or changed: " << QX_TRACE_REFERENCE;
    return bytes;
}

// Where the images differ, for a readable failure.
std::string FirstDifference(const std::string &a, const std::string &b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return "first difference at byte " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" +
           std::to_string(b.size());
}

TEST(TraceBytes, PortableImageEqualsTheReference) {
    std::vector<std::string> records;
    for (const auto &line : kLines) {
        std::string record;
        ASSERT_EQ(FormatTraceRecord(line.first, line.second, record), 0u);
        records.push_back(record);
    }
    std::string image;
    ASSERT_EQ(WriteTraceFile(records, image), 0u);
    const std::string reference = Reference();
    EXPECT_TRUE(image == reference) << FirstDifference(image, reference);
}

#ifdef _WIN32
// The console's own save: the document's records through the framework's archive into a file.
TEST(TraceBytes, SavedDocumentEqualsTheReference) {
    CQXReader_CCIDDoc doc;
    for (const auto &line : kLines)
        doc.AppendRecord(line.first, line.second);
    CTempDir dir;
    ASSERT_TRUE(dir.IsValid());
    const std::string path = dir / "saved.trace";
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
        ASSERT_TRUE(ar.Close());
    }
    const std::string saved = ReadBytes(path);
    const std::string reference = Reference();
    EXPECT_TRUE(saved == reference) << FirstDifference(saved, reference) << " (" << 8 * sizeof(void *)
                                    << "-bit build)";
}
#endif

} // namespace
