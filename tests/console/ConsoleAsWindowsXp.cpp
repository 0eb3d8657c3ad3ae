// Linked into a second build of an end-to-end test program: every console that the program starts runs as Windows
// XP, the version under which the skin engine intercepts the scroll-bar functions and gives scrolling controls
// skinned bars. Wine reads a program's version from its AppDefaults key when the program starts.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Handle.h"

namespace {
const char kKey[] = "Software\\Wine\\AppDefaults\\QXReader_CCID.exe";

class CConsoleAsWindowsXp : public ::testing::Environment {
public:
    void SetUp() override {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                                   &hKey, nullptr));
        CRegKey key(hKey);
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("winxp"), 6));
    }
    void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
};

const ::testing::Environment *const g_environment = ::testing::AddGlobalTestEnvironment(new CConsoleAsWindowsXp);
} // namespace
