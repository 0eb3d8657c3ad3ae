// The archive's length-prefixed string form, byte for byte, and its reading of truncated and hostile data.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "text/PrefixedString.h"
#include "framework/Archive.h"
#include "framework/File.h"

namespace {

// A temporary folder of the test's own, removed with its files afterwards.
class TempDir {
public:
    TempDir() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "qx_archive_test_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempDir() {
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((m_path + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name != "." && name != "..")
                    ::DeleteFileA((m_path + "\\" + name).c_str());
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }
    std::string File(const std::string &name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::vector<BYTE> ReadAll(const std::string &path) {
    CFile f;
    EXPECT_TRUE(f.Open(path, CFile::modeRead));
    std::vector<BYTE> data;
    BYTE buf[4096];
    for (DWORD n; (n = f.Read(buf, sizeof(buf))) > 0;)
        data.insert(data.end(), buf, buf + n);
    return data;
}

void WriteAll(const std::string &path, const std::vector<BYTE> &data) {
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(f.Write(data.data(), static_cast<DWORD>(data.size())));
}

// Written independently of the archive: the prefix bytes for a length, as the file format defines them.
std::vector<BYTE> ExpectedPrefix(size_t n) {
    if (n <= 254)
        return {static_cast<BYTE>(n)};
    if (n <= 65533)
        return {0xFF, static_cast<BYTE>(n % 256), static_cast<BYTE>(n / 256)};
    return {0xFF,
            0xFF,
            0xFF,
            static_cast<BYTE>(n % 256),
            static_cast<BYTE>((n >> 8) % 256),
            static_cast<BYTE>((n >> 16) % 256),
            static_cast<BYTE>((n >> 24) % 256)};
}

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('a' + i % 26);
    return s;
}

const size_t kLengths[] = {0, 1, 254, 255, 256, 65533, 65534, 65535, 70000};

TEST(ArchiveStringForm, PrefixesAtEveryBoundary) {
    for (size_t n : kLengths) {
        unsigned char prefix[kMaxPrefixBytes];
        size_t size = EncodeLengthPrefix(n, prefix); // the codec the archive writes with
        EXPECT_EQ(std::vector<BYTE>(prefix, prefix + size), ExpectedPrefix(n)) << "length " << n;
    }
}

TEST(ArchiveStringForm, StoredFileIsPrefixAndBytesOnly) {
    TempDir dir;
    std::string path = dir.File("strings.bin");
    std::vector<BYTE> expected;
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&f, CArchive::store, 1000); // a small buffer makes long strings cross it
        for (size_t n : kLengths) {
            std::string s = Pattern(n);
            ASSERT_TRUE(ar.WriteString(s));
            std::vector<BYTE> p = ExpectedPrefix(n);
            expected.insert(expected.end(), p.begin(), p.end());
            expected.insert(expected.end(), s.begin(), s.end());
        }
        ASSERT_TRUE(ar.Close());
    }
    EXPECT_EQ(ReadAll(path), expected);

    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead));
    CArchive ar(&f, CArchive::load, 777);
    for (size_t n : kLengths) {
        std::string s;
        ASSERT_TRUE(ar.ReadString(s)) << "length " << n;
        EXPECT_EQ(s, Pattern(n));
    }
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_FALSE(ar.IsFailed());
}

TEST(ArchiveStringForm, EveryTruncationFailsCleanly) {
    TempDir dir;
    // One string of each prefix size; cut the file at every byte inside prefixes and near the ends.
    for (size_t n : {size_t(3), size_t(300), size_t(70000)}) {
        std::vector<BYTE> whole = ExpectedPrefix(n);
        std::string s = Pattern(n);
        whole.insert(whole.end(), s.begin(), s.end());
        std::vector<size_t> cuts;
        for (size_t c = 0; c < 10 && c < whole.size(); ++c)
            cuts.push_back(c);
        cuts.push_back(whole.size() - 1);
        for (size_t cut : cuts) {
            std::string path = dir.File("cut.bin");
            WriteAll(path, std::vector<BYTE>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)));
            CFile f;
            ASSERT_TRUE(f.Open(path, CFile::modeRead));
            CArchive ar(&f, CArchive::load);
            std::string got = "unchanged";
            EXPECT_FALSE(ar.ReadString(got)) << "length " << n << " cut at " << cut;
            EXPECT_TRUE(got.empty());
            EXPECT_EQ(ar.GetStatus(), CArchive::statusEndOfFile);
            // A failed archive stays failed.
            EXPECT_FALSE(ar.ReadString(got));
        }
    }
}

TEST(ArchiveStringForm, HostileLengthsCostNothing) {
    TempDir dir;
    std::string path = dir.File("hostile.bin");
    // 32-bit 0xFFFFFFFF is other writers' escape to a longer form; 0x7FFFFFFF and 0x40FFFFFF are beyond the
    // longest string, in 32-bit and 64-bit builds alike.
    for (BYTE top : {BYTE(0xFF), BYTE(0x7F), BYTE(0x40)}) {
        WriteAll(path, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, top, 'a', 'b'});
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeRead));
        CArchive ar(&f, CArchive::load);
        std::string s;
        EXPECT_FALSE(ar.ReadString(s));
        EXPECT_EQ(ar.GetStatus(), CArchive::statusBadPrefix);
    }
    // Announces 0x0FFFFFFF bytes (256 MB), or exactly the longest string, and holds four: memory grows only with
    // what is read.
    for (BYTE top : {BYTE(0x0F), BYTE(0x3F)}) {
        WriteAll(path, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, top, 'a', 'b', 'c', 'd'});
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeRead));
        CArchive ar(&f, CArchive::load);
        std::string s;
        EXPECT_FALSE(ar.ReadString(s));
        EXPECT_EQ(ar.GetStatus(), CArchive::statusEndOfFile);
    }
    // The 16-bit value 0xFFFE announces a form this archive does not read.
    WriteAll(path, {0xFF, 0xFE, 0xFF, 0x02, 'a', 'b'});
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead));
    CArchive ar(&f, CArchive::load);
    std::string s;
    EXPECT_FALSE(ar.ReadString(s));
    EXPECT_EQ(ar.GetStatus(), CArchive::statusBadPrefix);
}

TEST(ArchiveModes, WrongDirectionFails) {
    TempDir dir;
    std::string path = dir.File("mode.bin");
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&f, CArchive::store);
    BYTE b;
    EXPECT_EQ(ar.Read(&b, 1), 0u);
    EXPECT_TRUE(ar.IsFailed());
    EXPECT_FALSE(ar.WriteString("x"));
}

TEST(FileErrors, ReportSystemCodes) {
    TempDir dir;
    CFile f;
    EXPECT_FALSE(f.Open(dir.File("absent.trace"), CFile::modeRead));
    EXPECT_EQ(f.GetError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(f.Open(dir.File("no_folder\\x.trace"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(f.GetError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.Write("x", 1));
}

} // namespace
