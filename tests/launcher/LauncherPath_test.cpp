#include "launcher/LauncherPath.h"

#include <gtest/gtest.h>

namespace {

struct BaseDirCase {
    const char *pszModule;
    const char *pszBase;
};

class BaseDirTest : public ::testing::TestWithParam<BaseDirCase> {};

TEST_P(BaseDirTest, DriveAndFolderWithoutTrailingSeparators) {
    EXPECT_EQ(GetParam().pszBase, CLauncherPath::BaseDirFromModulePath(GetParam().pszModule));
}

INSTANTIATE_TEST_SUITE_P(ModulePaths, BaseDirTest,
                         ::testing::Values(BaseDirCase{"E:\\Tarvik.exe", "E:"},                 // drive root
                                           BaseDirCase{"E:\\setup\\Tarvik.exe", "E:\\setup"},   // one folder
                                           BaseDirCase{"E:\\a b\\c\\Tarvik.exe", "E:\\a b\\c"}, // nested, with a space
                                           BaseDirCase{"E:\\setup\\\\\\Tarvik.exe", "E:\\setup"}, // repeated separators
                                           BaseDirCase{"C:Tarvik.exe", "C:"},                     // drive-relative
                                           BaseDirCase{"Tarvik.exe", ""},                         // bare name
                                           BaseDirCase{"", ""},                                   // nothing at all
                                           BaseDirCase{"\\\\server\\share\\Tarvik.exe", "\\\\server\\share"}, // UNC
                                           BaseDirCase{"\\Tarvik.exe", ""}, // root of the current drive
                                           BaseDirCase{"Z:/tmp/medium/Tarvik.exe",
                                                       "Z:/tmp/medium"})); // forward slashes

TEST(LauncherPathTest, DriveRootComposesWithOneBackslash) {
    const std::string strBase = CLauncherPath::BaseDirFromModulePath("E:\\Tarvik.exe");
    EXPECT_EQ("E:\\resource\\Utilities\\QXReader_CCID.exe",
              CLauncherPath::Compose(strBase, "\\resource\\Utilities\\QXReader_CCID.exe"));
    EXPECT_EQ("E:\\setup\\resource\\Device Setup\\DeviceSetup.exe",
              CLauncherPath::Compose(CLauncherPath::BaseDirFromModulePath("E:\\setup\\Tarvik.exe"),
                                     "\\resource\\Device Setup\\DeviceSetup.exe"));
    EXPECT_EQ("E:", CLauncherPath::Compose("E:", nullptr));
}

TEST(LauncherPathTest, TrailByteThatLooksLikeBackslashIsNoSeparator) {
    // GBK 0x905C is one character whose trail byte equals '\'. A byte-wise splitter would cut the folder inside it
    // or strip half of it as a "trailing backslash".
    const std::string strFolder = std::string("E:\\\xC9\xE8\x90\x5C");
    EXPECT_EQ(strFolder, CLauncherPath::BaseDirFromModulePath(strFolder + "\\Tarvik.exe"));
    EXPECT_EQ(strFolder, CLauncherPath::BaseDirFromModulePath(strFolder + "\\\\Tarvik.exe"));
    // A file name ending in such a character is still dropped whole.
    EXPECT_EQ("E:\\setup", CLauncherPath::BaseDirFromModulePath("E:\\setup\\\x90\x5C"));
    // Without a lead-byte predicate the bytes are single characters.
    EXPECT_EQ("E:\\\xC9\xE8\x90", CLauncherPath::BaseDirFromModulePath(strFolder + "\\Tarvik.exe", nullptr));
}

TEST(LauncherPathTest, GbkLeadByteRange) {
    EXPECT_FALSE(CLauncherPath::IsGbkLeadByte(0x80));
    EXPECT_TRUE(CLauncherPath::IsGbkLeadByte(0x81));
    EXPECT_TRUE(CLauncherPath::IsGbkLeadByte(0xFE));
    EXPECT_FALSE(CLauncherPath::IsGbkLeadByte(0xFF));
    EXPECT_FALSE(CLauncherPath::IsGbkLeadByte('\\'));
}

} // namespace
