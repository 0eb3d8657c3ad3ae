#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ClientDC.h"
#include "platform/Handle.h"
#include "platform/SelectObject.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/MessageWatchData.h"
#include "tests/support/PngWriter.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

namespace {

uint32_t Be32(const std::vector<uint8_t> &v, size_t i) {
    return (uint32_t(v[i]) << 24) | (uint32_t(v[i + 1]) << 16) | (uint32_t(v[i + 2]) << 8) | v[i + 3];
}

TEST(PngWriterTest, ChecksumsMatchTheirStandardCheckValues) {
    const char *pszCheck = "123456789";
    EXPECT_EQ(0xCBF43926u, CPngWriter::Crc32(reinterpret_cast<const uint8_t *>(pszCheck), 9));
    const char *pszWiki = "Wikipedia";
    EXPECT_EQ(0x11E60398u, CPngWriter::Adler32(reinterpret_cast<const uint8_t *>(pszWiki), 9));
}

TEST(PngWriterTest, EncodesHeaderAndStoredPixelRows) {
    // 2 x 2: red, green / blue, white.
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::vector<uint8_t> png = CPngWriter::Encode(2, 2, rgb);
    ASSERT_GT(png.size(), 8u + 25u + 12u);
    EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(13u, Be32(png, 8));
    EXPECT_EQ(0, std::memcmp(&png[12], "IHDR", 4));
    EXPECT_EQ(2u, Be32(png, 16));
    EXPECT_EQ(2u, Be32(png, 20));
    EXPECT_EQ(8, png[24]);
    EXPECT_EQ(2, png[25]);
    EXPECT_EQ(CPngWriter::Crc32(&png[12], 17), Be32(png, 29));
    // IDAT: zlib header, one final stored block of the 2 * (1 + 6) filtered bytes, Adler-32.
    const size_t nIdat = 33;
    ASSERT_EQ(0, std::memcmp(&png[nIdat + 4], "IDAT", 4));
    const size_t nData = nIdat + 8;
    EXPECT_EQ(0x78, png[nData]);
    EXPECT_EQ(1, png[nData + 2]);
    EXPECT_EQ(14, png[nData + 3] | (png[nData + 4] << 8));
    const std::vector<uint8_t> raw = {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(0, std::memcmp(&png[nData + 7], raw.data(), raw.size()));
    EXPECT_EQ(CPngWriter::Adler32(raw.data(), raw.size()), Be32(png, nData + 7 + raw.size()));
    // The file ends with the fixed IEND chunk.
    EXPECT_EQ(0xAE426082u, Be32(png, png.size() - 4));
    // Wrong pixel counts are refused, not read past.
    EXPECT_TRUE(CPngWriter::Encode(3, 2, rgb).empty());
    EXPECT_TRUE(CPngWriter::Encode(0, 0, std::vector<uint8_t>()).empty());
}

TEST(PngWriterTest, SplitsLargeImagesIntoStoredBlocks) {
    const unsigned w = 200, h = 200; // 120,200 filtered bytes: two stored blocks
    const std::vector<uint8_t> rgb(w * h * 3, 7);
    const std::vector<uint8_t> png = CPngWriter::Encode(w, h, rgb);
    const size_t nData = 33 + 8;
    ASSERT_EQ(0, png[nData + 2]); // first block not final
    EXPECT_EQ(65535, png[nData + 3] | (png[nData + 4] << 8));
    const size_t nSecond = nData + 2 + 5 + 65535;
    EXPECT_EQ(1, png[nSecond]);
    EXPECT_EQ(static_cast<int>((1 + w * 3) * h - 65535), png[nSecond + 1] | (png[nSecond + 2] << 8));
}

TEST(TestPathsTest, UnixPathsBecomeDriveZ) {
    EXPECT_EQ("Z:\\work\\main\\build", CTestPaths::FromUnix("/work/main/build"));
    EXPECT_EQ("C:\\x", CTestPaths::FromUnix("C:\\x"));
    CTempDir dir("qxpaths");
    ASSERT_TRUE(dir.IsValid());
    const std::string strFile = dir / "a\\b\\c.txt";
    ASSERT_TRUE(CTestPaths::MakeDirs(dir / "a\\b"));
    ASSERT_TRUE(CTestPaths::WriteFile(strFile, "abc"));
    EXPECT_EQ("abc", CTestPaths::ReadFile(strFile));
    const std::string strPath = dir.GetPath();
    EXPECT_TRUE(CTempDir::RemoveTree(strPath));
    EXPECT_FALSE(CTestPaths::Exists(strPath));
}

// The test prefix has what the screenshots rely on: the caption buttons' symbol font and a CJK font
// behind the dialog font "宋体".
TEST(TestPrefixTest, HasTheCaptionSymbolFontAndAChineseDialogFont) {
    CScreenDC screen;
    HDC dc = screen.GetSafeHdc();
    ASSERT_TRUE(dc != nullptr);
    auto selected = [dc](const char *face, BYTE charset) {
        LOGFONTA lf = {};
        lf.lfHeight = -13;
        lf.lfCharSet = charset;
        std::strcpy(lf.lfFaceName, face);
        CFont font(::CreateFontIndirectA(&lf));
        CSelectObject select(dc, font);
        char name[LF_FACESIZE] = {};
        ::GetTextFaceA(dc, sizeof name, name);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        return std::make_pair(std::string(name), static_cast<int>(tm.tmCharSet));
    };
    auto marlett = selected("Marlett", SYMBOL_CHARSET);
    EXPECT_EQ("Marlett", marlett.first);
    EXPECT_EQ(SYMBOL_CHARSET, marlett.second);
    EXPECT_EQ(GB2312_CHARSET, selected("宋体", DEFAULT_CHARSET).second);
}

// One probe program exercises the cross-process helpers together.
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.IsValid());
        m_strLog = m_dir / "probe.log";
        ::SetEnvironmentVariableA("QX_PROBE_LOG", m_strLog.c_str());
        ASSERT_TRUE(m_probe.Start(CTestPaths::FromUnix(QX_PROBE_EXE)));
        m_hWnd = CUiDriver::WaitForTopLevelWindow(m_probe.GetProcessId(), "QxProbeWindow", "QxProbe", 20000);
        ASSERT_TRUE(m_hWnd != NULL);
    }
    void TearDown() override { ::SetEnvironmentVariableA("QX_PROBE_LOG", NULL); }

    CTempDir m_dir{"qxprobe"};
    std::string m_strLog;
    CTestProcess m_probe;
    HWND m_hWnd = NULL;
};

TEST_F(ProbeTest, LogsItselfAndIsFoundByImageName) {
    const std::string strLog = CTestPaths::ReadFile(m_strLog);
    EXPECT_NE(std::string::npos, strLog.find("pid=" + std::to_string(m_probe.GetProcessId()) + "\t")) << strLog;
    EXPECT_NE(std::string::npos, strLog.find("qx_probe.exe")) << strLog;
    const std::vector<DWORD> ids = CTestProcess::FindByImageName("QX_PROBE.EXE");
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), m_probe.GetProcessId()));
    EXPECT_TRUE(CTestProcess::TerminateById(m_probe.GetProcessId()));
    EXPECT_TRUE(m_probe.WaitForExit(5000));
}

TEST_F(ProbeTest, ReadsListViewRowsOfAnotherProcess) {
    CRemoteListView list(CUiDriver::GetControl(m_hWnd, 100));
    ASSERT_TRUE(list.IsValid());
    ASSERT_EQ(3, list.GetItemCount());
    EXPECT_EQ(2, list.GetColumnCount());
    EXPECT_EQ((std::vector<std::string>{"1", "00A4040000"}), list.GetRow(0));
    EXPECT_EQ((std::vector<std::string>{"3", "连接成功！"}), list.GetRow(2));
    EXPECT_EQ("", list.GetItemText(7, 0));
}

TEST_F(ProbeTest, CountsMessagesSentToAnotherProcessWindow) {
    CMessageWatch watch;
    ASSERT_TRUE(watch.Start(CTestPaths::FromUnix(QX_TESTHOOK_DLL), m_hWnd, WM_SETTEXT));
    EXPECT_EQ(0, watch.GetCount());
    ::SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("一"));
    ::SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("二"));
    ::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0); // another message: not counted
    EXPECT_TRUE(CWaitUntil::Condition([&]() { return watch.GetCount() == 2; }, 5000)) << watch.GetCount();
    EXPECT_EQ("二", CUiDriver::GetText(m_hWnd));
    // The probe's window shows the arrow, which only the hook inside the probe can tell.
    ASSERT_TRUE(CUiDriver::MovePointerTo(CUiDriver::CentreOf(CUiDriver::GetClientRectOnScreen(m_hWnd))));
    EXPECT_TRUE(CWaitUntil::Condition([&]() { return watch.GetCursorKind() == CURSOR_ARROW; }, 5000))
        << watch.GetCursorKind();
    EXPECT_GT(watch.GetSetCursorCount(), 0);
}

TEST_F(ProbeTest, ScreenshotShowsTheWindowAndPointerMoves) {
    const RECT rcList = CUiDriver::GetClientRectOnScreen(CUiDriver::GetControl(m_hWnd, 100));
    POINT pt = CUiDriver::CentreOf(rcList);
    ASSERT_TRUE(CUiDriver::MovePointerTo(pt));
    EXPECT_EQ(pt.x, CUiDriver::GetPointer().x);
    CScreenshot shot;
    // The list view's empty lower part is painted in the window colour.
    ASSERT_TRUE(CWaitUntil::Condition(
        [&]() {
            if (!shot.CaptureWindow(m_hWnd))
                return false;
            const RECT rcWin = CUiDriver::GetWindowRectOnScreen(m_hWnd);
            RECT rcLow = {rcList.left - rcWin.left + 4, rcList.bottom - rcWin.top - 30, rcList.right - rcWin.left - 4,
                          rcList.bottom - rcWin.top - 4};
            return shot.CountColour(rcLow, ::GetSysColor(COLOR_WINDOW)) > (rcLow.right - rcLow.left) * 20;
        },
        10000, 100));
    EXPECT_TRUE(shot.SavePng("testsupport_probe.png"));
    EXPECT_TRUE(CTestPaths::Exists(CTestPaths::ArtifactsDir() + "\\testsupport_probe.png"));
}

} // namespace
