// Checks the resources linked into Tarvik.exe against the dialog's table: the template of dialog 102 read byte by
// byte, the background picture and the icons and cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launcher/Resource.h"
#include "tests/support/TestPaths.h"

namespace {

// A bounds-checked reader over the bytes of a resource.
class CTemplateReader {
public:
    CTemplateReader(const BYTE *pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}

    bool Ok() const { return m_bOk; }
    size_t Pos() const { return m_nPos; }
    void AlignDword() { m_nPos = (m_nPos + 3) & ~static_cast<size_t>(3); }

    template <class T> T Read() {
        T value = T();
        if (!m_bOk || m_nPos + sizeof(T) > m_nSize) {
            m_bOk = false;
            return value;
        }
        std::memcpy(&value, m_pData + m_nPos, sizeof(T));
        m_nPos += sizeof(T);
        return value;
    }
    std::wstring ReadString() {
        std::wstring str;
        for (WCHAR c; m_bOk && (c = Read<WCHAR>()) != 0;)
            str += c;
        return str;
    }
    // A name-or-ordinal field: 0xFFFF and an ordinal, or a string. Returns the ordinal, or -1 with the string.
    int ReadNameOrOrdinal(std::wstring &str) {
        str.clear();
        const WORD first = Read<WORD>();
        if (first == 0xFFFF)
            return Read<WORD>();
        if (first == 0)
            return -1;
        str += static_cast<WCHAR>(first);
        str += ReadString();
        return -1;
    }

private:
    const BYTE *m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
    bool m_bOk = true;
};

std::wstring Wide(const char *pszGbk) {
    const int n = ::MultiByteToWideChar(936, 0, pszGbk, -1, NULL, 0);
    std::vector<WCHAR> buffer(n > 0 ? n : 1);
    ::MultiByteToWideChar(936, 0, pszGbk, -1, &buffer[0], n);
    return std::wstring(&buffer[0]);
}

struct Item {
    DWORD nStyle;
    DWORD nExStyle;
    short x, y, cx, cy;
    DWORD nId;
    int nClassOrdinal;
    std::wstring strClass;
    int nTitleOrdinal;
    std::wstring strTitle;
};

class LauncherResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hModule = ::LoadLibraryExA(CTestPaths::FromUnix(QX_TARVIK_EXE).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(m_hModule != NULL);
    }
    void TearDown() override {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }
    // The bytes of a resource; empty when it is missing.
    std::vector<BYTE> Bytes(LPCSTR pszName, LPCSTR pszType) const {
        HRSRC hRes = ::FindResourceA(m_hModule, pszName, pszType);
        if (!hRes)
            return std::vector<BYTE>();
        HGLOBAL hData = ::LoadResource(m_hModule, hRes);
        const BYTE *p = static_cast<const BYTE *>(hData ? ::LockResource(hData) : NULL);
        return p ? std::vector<BYTE>(p, p + ::SizeofResource(m_hModule, hRes)) : std::vector<BYTE>();
    }

    HMODULE m_hModule = NULL;
};

TEST_F(LauncherResourcesTest, DialogTemplateMatchesTheTable) {
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEA(IDD_TARVIK_DIALOG), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_FALSE(bytes.empty());
    CTemplateReader r(bytes.data(), bytes.size());
    EXPECT_EQ(1, r.Read<WORD>());      // extended template version
    EXPECT_EQ(0xFFFF, r.Read<WORD>()); // signature
    r.Read<DWORD>();                   // help id
    EXPECT_EQ(0x00040000u, r.Read<DWORD>());
    EXPECT_EQ(0x900000C0u, r.Read<DWORD>());
    const WORD nItems = r.Read<WORD>();
    EXPECT_EQ(0, r.Read<short>());
    EXPECT_EQ(0, r.Read<short>());
    EXPECT_EQ(428, r.Read<short>());
    EXPECT_EQ(323, r.Read<short>());
    std::wstring str;
    EXPECT_EQ(-1, r.ReadNameOrOrdinal(str)); // no menu
    EXPECT_TRUE(str.empty());
    EXPECT_EQ(-1, r.ReadNameOrOrdinal(str)); // the dialog class
    EXPECT_TRUE(str.empty());
    EXPECT_EQ(L"", r.ReadString()); // empty title
    EXPECT_EQ(9, r.Read<WORD>());   // point size
    r.Read<WORD>();                 // weight
    r.Read<BYTE>();                 // italic
    r.Read<BYTE>();                 // character set
    EXPECT_EQ(Wide("宋体"), r.ReadString());
    ASSERT_TRUE(r.Ok());

    std::vector<Item> items;
    for (WORD i = 0; i < nItems && r.Ok(); ++i) {
        r.AlignDword();
        Item item;
        r.Read<DWORD>(); // help id
        item.nExStyle = r.Read<DWORD>();
        item.nStyle = r.Read<DWORD>();
        item.x = r.Read<short>();
        item.y = r.Read<short>();
        item.cx = r.Read<short>();
        item.cy = r.Read<short>();
        item.nId = r.Read<DWORD>();
        item.nClassOrdinal = r.ReadNameOrOrdinal(item.strClass);
        item.nTitleOrdinal = r.ReadNameOrOrdinal(item.strTitle);
        const WORD nExtra = r.Read<WORD>();
        for (WORD k = 0; k < nExtra; ++k)
            r.Read<BYTE>();
        items.push_back(item);
    }
    ASSERT_TRUE(r.Ok());
    ASSERT_EQ(15u, items.size());

    struct Expected {
        int nId; // -1: an icon picture
        const char *pszText;
        int nIcon;
        short x, y, cx, cy;
        bool bVisible;
    } expected[] = {
        {IDC_MANUAL, "用户手册", 0, 184, 94, 38, 20, true},
        {-1, NULL, IDI_MANUAL, 158, 94, 20, 20, true},
        {IDC_DRIVER, "安装QX740读卡器驱动", 0, 318, 94, 88, 20, true},
        {-1, NULL, IDI_DRIVER, 292, 94, 20, 20, true},
        {IDC_DEMO, "安装 应用DEMO", 0, 184, 138, 77, 20, true},
        {-1, NULL, IDI_DEMO, 158, 134, 20, 20, true},
        {IDC_TOOLS, "安装 应用工具", 0, 320, 138, 72, 20, true},
        {-1, NULL, IDI_TOOLS, 292, 136, 20, 20, true},
        {IDC_ACROBAT, "安装 Acrobat", 0, 183, 179, 93, 20, true},
        {-1, NULL, IDI_ACROBAT, 157, 179, 20, 20, true},
        {IDC_EXIT, "退出", 0, 317, 181, 23, 20, true},
        {-1, NULL, IDI_EXIT, 291, 180, 20, 20, true},
        {IDC_DOCGUARD, "安装 Office安全插件", 0, 238, 257, 88, 20, false},
        {-1, NULL, IDI_DOCGUARD, 210, 255, 20, 20, false},
        {IDC_DESCRIPTION, "", 0, 66, 283, 275, 37, true},
    };
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        const Item &item = items[i];
        const Expected &want = expected[i];
        // A static control, by the predefined class's ordinal or by its name.
        EXPECT_TRUE(item.nClassOrdinal == 0x0082 || ::lstrcmpiW(item.strClass.c_str(), L"Static") == 0);
        EXPECT_EQ(want.x, item.x);
        EXPECT_EQ(want.y, item.y);
        EXPECT_EQ(want.cx, item.cx);
        EXPECT_EQ(want.cy, item.cy);
        EXPECT_EQ(want.bVisible, (item.nStyle & WS_VISIBLE) != 0);
        EXPECT_NE(0u, item.nStyle & WS_CHILD);
        if (want.nId == -1) {
            EXPECT_EQ(static_cast<DWORD>(SS_ICON), item.nStyle & SS_TYPEMASK);
            EXPECT_EQ(want.nIcon, item.nTitleOrdinal);
        } else {
            EXPECT_EQ(static_cast<DWORD>(want.nId), item.nId);
            EXPECT_EQ(static_cast<DWORD>(SS_LEFT), item.nStyle & SS_TYPEMASK);
            EXPECT_EQ(Wide(want.pszText), item.strTitle);
            // Entries are vertically centred; the description line is plain text.
            EXPECT_EQ(want.nId != IDC_DESCRIPTION, (item.nStyle & SS_CENTERIMAGE) != 0);
            // Clicks and hovering are switched on at run time for available entries only.
            EXPECT_EQ(0u, item.nStyle & SS_NOTIFY);
        }
    }
}

TEST_F(LauncherResourcesTest, BackgroundIsA640By480Gif) {
    const std::vector<BYTE> gif = Bytes(MAKEINTRESOURCEA(IDR_PIC_BACKGROUND), RT_LAUNCHER_PIC);
    ASSERT_GE(gif.size(), 13u);
    EXPECT_TRUE(std::memcmp(gif.data(), "GIF89a", 6) == 0 || std::memcmp(gif.data(), "GIF87a", 6) == 0);
    EXPECT_EQ(640, gif[6] | (gif[7] << 8));
    EXPECT_EQ(480, gif[8] | (gif[9] << 8));
    EXPECT_EQ(0x3B, gif.back()); // trailer: the whole file was embedded
}

TEST_F(LauncherResourcesTest, IconsAndHandCursorArePresent) {
    for (int nId : {IDR_MAINFRAME, 133, 134, 135, 136, 138, 139, 140}) {
        SCOPED_TRACE(nId);
        const std::vector<BYTE> group = Bytes(MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
        ASSERT_GE(group.size(), 6u + 14u);
        EXPECT_GE(group[4] | (group[5] << 8), 1); // at least one image
        EXPECT_EQ(32, group[6]);                  // the first is 32 pixels wide
    }
    const std::vector<BYTE> cursor =
        Bytes(MAKEINTRESOURCEA(IDC_CURSOR_LINK), MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */);
    ASSERT_GE(cursor.size(), 6u + 14u);
    EXPECT_EQ(2, cursor[2] | (cursor[3] << 8)); // a cursor group
    // The hand's hot spot is the tip of the index finger, near the top left.
    HCURSOR hCursor = ::LoadCursorA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDC_CURSOR_LINK));
    EXPECT_TRUE(hCursor == NULL); // not in the test's own module
    const std::vector<BYTE> image = Bytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(1) /* RT_CURSOR */);
    ASSERT_GE(image.size(), 4u);
    const int nHotX = image[0] | (image[1] << 8), nHotY = image[2] | (image[3] << 8);
    EXPECT_LT(nHotX, 16);
    EXPECT_LT(nHotY, 8);
}

} // namespace
