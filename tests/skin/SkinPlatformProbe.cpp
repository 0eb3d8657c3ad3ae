// Started by skinengine_test under a given Windows version of the Wine prefix: starts and stops the engine and
// reports what it saw. Prints "<major>.<minor> <family> <platform code> <exit result> <functions intercepted while
// running> <after exit>"; the exit code is platform code * 10 + exit result.
#include <windows.h>

#include <cstdio>

#include "skin/ScrollBarInterception.h"
#include "skin/SkinEngine.h"

int main() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
    const DWORD packed = ::GetVersion();
#pragma GCC diagnostic pop
    if (!SkinEngineInit(::GetModuleHandleA(nullptr), "probe", 0, 0))
        return 99;
    const int code = CSkinEngine::GetPlatformCode();
    const int intercepted = CScrollBarInterception::InstalledCount();
    const int result = SkinEngineExit();
    std::printf("%lu.%lu %s %d %d %d %d\n", info.dwMajorVersion, info.dwMinorVersion,
                packed & 0x80000000u ? "95" : "NT", code, result, intercepted, CScrollBarInterception::InstalledCount());
    std::fflush(stdout);
    return code * 10 + result;
}
