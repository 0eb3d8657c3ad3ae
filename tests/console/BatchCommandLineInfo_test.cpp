// The console's command line: batch switches beside the file argument, values, order, unknown and faulty switches.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "console/BatchCommandLineInfo.h"

namespace {

CBatchCommandLineInfo Parse(const std::string &line) {
    CBatchCommandLineInfo info;
    info.ParseParameters(line);
    return info;
}

TEST(BatchCommandLine, QuotedValuesInAnyOrder) {
    const char *lines[] = {
        "/reader \"Virtual PCD 00 00\" /script s.txt /save \"C:\\my runs\\out.trace\" /expect ref.trace /exit",
        "/EXIT -Save \"C:\\my runs\\out.trace\" /expect ref.trace /Script s.txt /READER \"Virtual PCD 00 00\"",
    };
    for (const char *line : lines) {
        const CBatchCommandLineInfo info = Parse(line);
        EXPECT_TRUE(info.IsBatch()) << line;
        EXPECT_EQ(info.m_strError, "") << line;
        EXPECT_EQ(info.m_strReader, "Virtual PCD 00 00") << line;
        EXPECT_EQ(info.m_strScript, "s.txt") << line;
        EXPECT_EQ(info.m_strSave, "C:\\my runs\\out.trace") << line;
        EXPECT_EQ(info.m_strExpect, "ref.trace") << line;
        EXPECT_TRUE(info.m_bExit) << line;
        // Values are never taken for the file to open.
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew) << line;
        EXPECT_EQ(info.m_strFileName, "") << line;
    }
}

TEST(BatchCommandLine, TheFileArgumentAndUnknownSwitchesKeepTheirMeaning) {
    CBatchCommandLineInfo info = Parse("/p a.trace /script s.txt b.trace /reader R");
    EXPECT_TRUE(info.IsBatch());
    EXPECT_EQ(info.m_strError, "");
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "a.trace");
    EXPECT_EQ(info.m_strScript, "s.txt");
    EXPECT_EQ(info.m_strReader, "R");
    EXPECT_FALSE(info.m_bExit);

    // Without batch switches the start is today's: no batch, the file opened, unknown switches ignored.
    info = Parse("/dde -x \"C:\\logs\\a b.trace\" /readers x");
    EXPECT_FALSE(info.IsBatch());
    EXPECT_EQ(info.m_strError, "");
    EXPECT_EQ(info.m_strFileName, "C:\\logs\\a b.trace");
    EXPECT_FALSE(Parse("").IsBatch());
    EXPECT_EQ(Parse("").m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(BatchCommandLine, MissingAndRepeatedValuesAreFaults) {
    struct Case {
        const char *line;
        const char *error;
    } cases[] = {
        {"/script s.txt /reader", "/reader 缺少值"},
        {"/reader /script s.txt /exit", "/reader 缺少值"},
        {"/reader \"\" /exit", "/reader 缺少值"},
        {"/save -exit", "/save 缺少值"},
        {"/expect", "/expect 缺少值"},
        {"/script a.txt /script b.txt", "/script 重复"},
    };
    for (const Case &c : cases) {
        const CBatchCommandLineInfo info = Parse(c.line);
        EXPECT_TRUE(info.IsBatch()) << c.line;
        EXPECT_EQ(info.m_strError, c.error) << c.line;
    }
    // The switch that stood where a value belonged still counts, and the first fault is the one reported.
    const CBatchCommandLineInfo info = Parse("/reader /script s.txt /save /exit");
    EXPECT_EQ(info.m_strScript, "s.txt");
    EXPECT_TRUE(info.m_bExit);
    EXPECT_EQ(info.m_strError, "/reader 缺少值");
}

} // namespace
