// What the command line asks for, and the pure text parsers the framework reads resources with.
#include <windows.h>
#include <gtest/gtest.h>
#include "framework/CommandLineInfo.h"
#include "framework/DocTemplate.h"
#include "framework/FileDialog.h"
#include "framework/ToolBar.h"

namespace {

TEST(CommandLineInfo, NoArgumentMeansNewAndAPathMeansOpen) {
    struct Case {
        const char *line;
        CCommandLineInfo::ShellCommand command;
        const char *file;
    } cases[] = {
        {"", CCommandLineInfo::FileNew, ""},
        {"   ", CCommandLineInfo::FileNew, ""},
        {"C:\\logs\\a.trace", CCommandLineInfo::FileOpen, "C:\\logs\\a.trace"},
        {"\"C:\\my logs\\a b.trace\"", CCommandLineInfo::FileOpen, "C:\\my logs\\a b.trace"},
        {"/p -x first.trace second.trace", CCommandLineInfo::FileOpen, "first.trace"},
        {"/dde", CCommandLineInfo::FileNew, ""},
    };
    for (const Case &c : cases) {
        CCommandLineInfo info;
        info.ParseParameters(c.line);
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.line;
        EXPECT_EQ(info.m_strFileName, c.file) << c.line;
    }
}

TEST(DocumentString, SevenFieldsAndMissingOnes) {
    const std::string doc =
        "\nQXReader\nQXReader.trace\nTrace File(*.trace)\n.trace\nQXReader.Document\nQXRead Document";
    const char *expected[] = {"",       "QXReader",          "QXReader.trace", "Trace File(*.trace)",
                              ".trace", "QXReader.Document", "QXRead Document"};
    std::string field;
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(CMultiDocTemplate::GetDocStringField(doc, i, field));
        EXPECT_EQ(field, expected[i]);
    }
    EXPECT_FALSE(CMultiDocTemplate::GetDocStringField(doc, 7, field));
    EXPECT_TRUE(field.empty());
    EXPECT_TRUE(CMultiDocTemplate::GetDocStringField("Only title", 0, field));
    EXPECT_EQ(field, "Only title");
    EXPECT_FALSE(CMultiDocTemplate::GetDocStringField("Only title", 1, field));
}

TEST(FileDialogFilter, BarsBecomeZerosWithDoubleEnd) {
    EXPECT_EQ(CFileDialog::ConvertFilter("Trace File(*.trace)|*.trace||"),
              std::string("Trace File(*.trace)\0*.trace\0\0", 29));
    // A filter written without the closing bars still ends properly.
    EXPECT_EQ(CFileDialog::ConvertFilter("A|*.a"), std::string("A\0*.a\0\0", 7));
}

TEST(ToolBarResource, ParsesAndRefusesDamagedData) {
    const BYTE good[] = {1, 0, 16, 0, 15, 0, 3, 0, 0x00, 0xE1, 0, 0, 0x01, 0xE1};
    CToolBar::ResourceData data;
    ASSERT_TRUE(CToolBar::ParseToolBarResource(good, sizeof(good), data));
    EXPECT_EQ(data.width, 16);
    EXPECT_EQ(data.height, 15);
    EXPECT_EQ(data.ids, (std::vector<UINT>{0xE100, 0, 0xE101}));

    EXPECT_FALSE(CToolBar::ParseToolBarResource(good, sizeof(good) - 1, data)); // last id cut
    EXPECT_FALSE(CToolBar::ParseToolBarResource(good, 7, data));                // header cut
    EXPECT_FALSE(CToolBar::ParseToolBarResource(nullptr, 0, data));
    const BYTE version2[] = {2, 0, 16, 0, 15, 0, 0, 0};
    EXPECT_FALSE(CToolBar::ParseToolBarResource(version2, sizeof(version2), data));
    const BYTE hugeCount[] = {1, 0, 16, 0, 15, 0, 0xFF, 0xFF, 1, 0};
    EXPECT_FALSE(CToolBar::ParseToolBarResource(hugeCount, sizeof(hugeCount), data));
    const BYTE zeroSize[] = {1, 0, 0, 0, 15, 0, 0, 0};
    EXPECT_FALSE(CToolBar::ParseToolBarResource(zeroSize, sizeof(zeroSize), data));
}

} // namespace
