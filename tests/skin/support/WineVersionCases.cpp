#include "tests/skin/support/WineVersionCases.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "platform/Handle.h"

namespace {
const char kChildVariable[] = "QX_WINE_VERSION_CASE";

std::string ModulePath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string AppDefaultsKey() {
    const std::string path = ModulePath();
    return "Software\\Wine\\AppDefaults\\" + path.substr(path.find_last_of("\\/") + 1);
}

bool SetVersionKey(const std::string &version) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, AppDefaultsKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return false;
    CRegKey key(hKey);
    return ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version.c_str()),
                            static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS;
}

// Runs this program with the filter in a child under the version; its output goes to ours. The child's exit code.
DWORD RunChild(const std::string &version, const std::string &filter) {
    if (!SetVersionKey(version)) {
        std::printf("[  FAILED  ] cannot set the Windows version %s for the child\n", version.c_str());
        return 1;
    }
    ::SetEnvironmentVariableA(kChildVariable, version.c_str());
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    ::CreatePipe(&hRead, &hWrite, &sa, 0);
    CKernelObject read(hRead), write(hWrite);
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = write;
    PROCESS_INFORMATION pi = {};
    const std::string exe = ModulePath();
    std::string command = "\"" + exe + "\" --gtest_color=no \"--gtest_filter=" + filter + "\"";
    const BOOL started =
        ::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableA(kChildVariable, nullptr);
    write.Close();
    DWORD exitCode = 1;
    if (started) {
        CKernelObject process(pi.hProcess), thread(pi.hThread);
        char buffer[512];
        DWORD got = 0;
        while (::ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            std::fwrite(buffer, 1, got, stdout);
            std::fflush(stdout);
        }
        ::WaitForSingleObject(process, INFINITE);
        ::GetExitCodeProcess(process, &exitCode);
    } else {
        std::printf("[  FAILED  ] the child for %s did not start (%lu)\n", version.c_str(), ::GetLastError());
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, AppDefaultsKey().c_str());
    return exitCode;
}
} // namespace

std::string WineVersionOfThisCase() {
    char value[32] = "";
    return ::GetEnvironmentVariableA(kChildVariable, value, sizeof(value)) ? value : "";
}

std::string ReportedWindowsVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
}

int RunTestsWithWineVersions(int argc, char **argv, const std::vector<std::string> &versions) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!WineVersionOfThisCase().empty())
        return RUN_ALL_TESTS();
    // Here: every case but the versions' suites, then the children.
    std::string filter = ::testing::GTEST_FLAG(filter);
    std::string excluded;
    for (const std::string &version : versions)
        excluded += (excluded.empty() ? "" : ":") + std::string("*_") + version + ".*";
    ::testing::GTEST_FLAG(filter) = filter + (filter.find('-') == std::string::npos ? "-" : ":") + excluded;
    int result = RUN_ALL_TESTS();
    for (const std::string &version : versions) {
        std::printf("[----------] the cases for Windows version %s, in a child process\n", version.c_str());
        std::fflush(stdout);
        if (RunChild(version, "*_" + version + ".*") != 0)
            result = 1;
    }
    return result;
}
