// What the skinned scroll bars cost against the system's: a 10,000-row trace window scrolled from its first row to
// its last by dragging the vertical thumb with the pointer in 100 steps, each step waited for until the list has
// moved; first with the skinned bars, then with the same window's bars handed back to the system. The engine gives
// scrolling controls skinned bars only as Windows XP (or 2000, NT 4), so under another version the program runs
// itself again as Windows XP.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/common/ConsoleBenchWindow.h"
#include "console/TraceLine.h"
#include "framework/ListCtrl.h"
#include "platform/Handle.h"
#include "skin/SkinEngine.h"
#include "skin/controls/ScrollSkin.h"

namespace {

const int kRows = 10000;
const int kSteps = 100;
const char kChildVariable[] = "QX_BENCH_AS_WINXP";

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool IsWindowsXpOrEarlierNt() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && (info.dwMajorVersion == 4 || info.dwMajorVersion == 5);
}

// Runs this program again with Wine's per-program Windows version set to XP; its output goes to ours.
int RunAsWindowsXp() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe = path;
    const std::string key = "Software\\Wine\\AppDefaults\\" + exe.substr(exe.find_last_of("\\/") + 1);
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS) {
        std::printf("cannot ask for Windows XP\n");
        return 1;
    }
    {
        CRegKey owned(hKey);
        ::RegSetValueExA(owned, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("winxp"), 6);
    }
    ::SetEnvironmentVariableA(kChildVariable, "1");
    std::fflush(stdout);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + exe + "\"";
    DWORD exitCode = 1;
    if (::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CKernelObject process(pi.hProcess), thread(pi.hThread);
        ::WaitForSingleObject(process, INFINITE);
        ::GetExitCodeProcess(process, &exitCode);
    } else {
        std::printf("cannot start this program again as Windows XP\n");
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    return static_cast<int>(exitCode);
}

bool MovePointer(POINT pt) {
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((pt.x * 65535LL + (cx - 1) / 2) / (cx - 1));
    input.mi.dy = static_cast<LONG>((pt.y * 65535LL + (cy - 1) / 2) / (cy - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return ::SendInput(1, &input, sizeof(input)) == 1;
}

bool LeftButton(bool bDown) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    return ::SendInput(1, &input, sizeof(input)) == 1;
}

// One drag, driven from its own thread while the window's thread runs its messages (the system's bars track the
// thumb in a loop of their own).
struct Drag {
    HWND hList;
    double dMilliseconds;
    int nStalls; // steps after which the list did not move within a second
    bool bReachedEnd;
};

int TopRow(HWND hList) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hList, LVM_GETTOPINDEX, 0, 0, SMTO_NORMAL, 1000, &result);
    return static_cast<int>(result);
}

bool WaitForRow(HWND hList, bool (*done)(int, int), int nValue) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 1000) {
        if (done(TopRow(hList), nValue))
            return true;
        ::Sleep(0);
    }
    return false;
}

DWORD WINAPI DragThumb(void *pParam) {
    Drag &drag = *static_cast<Drag *>(pParam);
    HWND hList = drag.hList;
    RECT rcWindow, rcClient;
    ::GetWindowRect(hList, &rcWindow);
    ::GetClientRect(hList, &rcClient);
    ::MapWindowPoints(hList, nullptr, reinterpret_cast<POINT *>(&rcClient), 2);
    const LONG border = rcClient.left - rcWindow.left;
    const RECT rcBar = {rcClient.right, rcWindow.top + border, rcWindow.right - border, rcClient.bottom};
    const LONG arrow = rcBar.right - rcBar.left; // the skins' arrows are as long as the bar is thick, as are the system's
    const LONG x = (rcBar.left + rcBar.right) / 2;
    const LONG yStart = rcBar.top + arrow + 3;
    const LONG yEnd = rcBar.bottom - arrow + 10;
    const int nLast = kRows - static_cast<int>(::SendMessageA(hList, LVM_GETCOUNTPERPAGE, 0, 0));

    MovePointer(POINT{x, yStart});
    ::Sleep(100);
    const auto start = std::chrono::steady_clock::now();
    LeftButton(true);
    int nRow = TopRow(hList);
    for (int i = 1; i <= kSteps; ++i) {
        MovePointer(POINT{x, yStart + (yEnd - yStart) * i / kSteps});
        // Each step moves the list, except those past the end of the track, where it already shows the last row.
        const bool moved = nRow == nLast ? WaitForRow(hList, [](int row, int last) { return row == last; }, nLast)
                                         : WaitForRow(hList, [](int row, int previous) { return row != previous; }, nRow);
        drag.nStalls += moved ? 0 : 1;
        nRow = TopRow(hList);
    }
    LeftButton(false);
    drag.dMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    drag.bReachedEnd = nRow == nLast;
    return 0;
}

Drag RunDrag(HWND hList) {
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, 0, FALSE);
    Pump();
    Drag drag = {hList, 0, 0, false};
    DWORD id = 0;
    CKernelObject thread(::CreateThread(nullptr, 0, DragThumb, &drag, 0, &id));
    if (!thread.IsValid())
        return drag;
    HANDLE h = thread;
    while (::MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        Pump();
    Pump();
    return drag;
}

void Print(const char *pszName, const Drag &drag) {
    std::printf("%-30s %9.1f ms  (%.2f ms per step; %d steps did not move the list within 1 s%s)\n", pszName,
                drag.dMilliseconds, drag.dMilliseconds / kSteps, drag.nStalls,
                drag.bReachedEnd ? "" : ", DID NOT REACH THE LAST ROW");
}

} // namespace

int main() {
    if (!IsWindowsXpOrEarlierNt()) {
        char value[4] = "";
        if (::GetEnvironmentVariableA(kChildVariable, value, sizeof(value))) {
            std::printf("Wine did not give this program Windows XP: the skinned bars cannot be measured\n");
            return 1;
        }
        return RunAsWindowsXp();
    }
    CConsoleBenchApp app;
    CMainFrame *frame = app.OpenSkinnedConsoleWindow();
    if (!frame || !SkinAttachFrame(frame->m_hWnd, "MainFrame")) {
        std::printf("the main frame could not be made or skinned\n");
        return 1;
    }
    ::SetWindowPos(frame->m_hWnd, HWND_TOP, 0, 0, 1000, 700, SWP_NOZORDER);
    ::SetForegroundWindow(frame->m_hWnd);
    const std::string line = "下发的命令为:  00A4040000";
    for (int i = 0; i < kRows; ++i)
        PostTraceLine(line.c_str(), -1);
    Pump();
    CQXReader_CCIDView *view = dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(FindActiveTraceView()));
    if (!view) {
        std::printf("no trace window\n");
        return 1;
    }
    HWND hList = view->GetListCtrl().GetSafeHwnd();
    if (!ScrollSkinIsAttached(hList)) {
        std::printf("the trace list has no skinned bars\n");
        return 1;
    }

    RunDrag(hList); // first-use costs (skin pieces, fonts) are not measured
    const Drag skinned = RunDrag(hList);
    ScrollSkinDetach(hList);
    Pump();
    RunDrag(hList);
    const Drag system = RunDrag(hList);

    std::printf("%d-row trace window, thumb dragged from the first row to the last in %d steps\n", kRows, kSteps);
    Print("skinned scroll bars", skinned);
    Print("system scroll bars", system);
    if (system.dMilliseconds > 0)
        std::printf("%-30s %9.2f x  (goal: at most 1.5 x)\n", "skinned / system", skinned.dMilliseconds / system.dMilliseconds);
    frame->DestroyWindow();
    SkinEngineExit();
    return skinned.bReachedEnd && system.bReachedEnd ? 0 : 1;
}
