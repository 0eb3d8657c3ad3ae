#include "skin/ScrollBarInterception.h"

#include "skin/CodeHook.h"

namespace {

const ScrollSkinFunctions *g_pSkinnedBars = nullptr;
CCodeHook g_hooks[CScrollBarInterception::FUNCTION_COUNT];
void *g_exports[CScrollBarInterception::FUNCTION_COUNT];

// The registered skinned bars when the window carries them.
const ScrollSkinFunctions *SkinnedBarsOf(HWND hWnd) {
    const ScrollSkinFunctions *bars = g_pSkinnedBars;
    return bars && hWnd && ::GetPropA(hWnd, CScrollBarInterception::SKINNED_BARS_PROPERTY) ? bars : nullptr;
}

// The address that reaches the system function now: its trampoline while intercepted, else its export.
void *SystemAddress(CScrollBarInterception::Function function) {
    if (void *trampoline = g_hooks[function].GetTrampoline())
        return trampoline;
    if (!g_exports[function])
        g_exports[function] = reinterpret_cast<void *>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), CScrollBarInterception::FunctionName(function)));
    return g_exports[function];
}

template <class Result, class... Args> Result CallSystem(CScrollBarInterception::Function function, Args... args) {
    typedef Result(WINAPI * System)(Args...);
    void *address = SystemAddress(function);
    if (!address) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return Result();
    }
    return reinterpret_cast<System>(address)(args...);
}

// The replacements: the skinned bars for windows that carry them, the system for every other window.
BOOL WINAPI OnEnableScrollBar(HWND hWnd, UINT bar, UINT arrows) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinEnable ? bars->ScrollSkinEnable(hWnd, bar, arrows)
                                          : CScrollBarInterception::SystemEnableScrollBar(hWnd, bar, arrows);
}

BOOL WINAPI OnGetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinGetInfo ? bars->ScrollSkinGetInfo(hWnd, bar, info)
                                           : CScrollBarInterception::SystemGetScrollInfo(hWnd, bar, info);
}

int WINAPI OnGetScrollPos(HWND hWnd, int bar) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinGetPos ? bars->ScrollSkinGetPos(hWnd, bar)
                                          : CScrollBarInterception::SystemGetScrollPos(hWnd, bar);
}

BOOL WINAPI OnGetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinGetRange ? bars->ScrollSkinGetRange(hWnd, bar, minPos, maxPos)
                                            : CScrollBarInterception::SystemGetScrollRange(hWnd, bar, minPos, maxPos);
}

int WINAPI OnSetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinSetInfo ? bars->ScrollSkinSetInfo(hWnd, bar, info, redraw)
                                           : CScrollBarInterception::SystemSetScrollInfo(hWnd, bar, info, redraw);
}

int WINAPI OnSetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinSetPos ? bars->ScrollSkinSetPos(hWnd, bar, pos, redraw)
                                          : CScrollBarInterception::SystemSetScrollPos(hWnd, bar, pos, redraw);
}

BOOL WINAPI OnSetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinSetRange
               ? bars->ScrollSkinSetRange(hWnd, bar, minPos, maxPos, redraw)
               : CScrollBarInterception::SystemSetScrollRange(hWnd, bar, minPos, maxPos, redraw);
}

BOOL WINAPI OnShowScrollBar(HWND hWnd, int bar, BOOL show) {
    const ScrollSkinFunctions *bars = SkinnedBarsOf(hWnd);
    return bars && bars->ScrollSkinShow ? bars->ScrollSkinShow(hWnd, bar, show)
                                        : CScrollBarInterception::SystemShowScrollBar(hWnd, bar, show);
}

struct FunctionRow {
    const char *name;
    void *replacement;
};

// Function order.
const FunctionRow FUNCTIONS[CScrollBarInterception::FUNCTION_COUNT] = {
    {"EnableScrollBar", reinterpret_cast<void *>(&OnEnableScrollBar)},
    {"GetScrollInfo", reinterpret_cast<void *>(&OnGetScrollInfo)},
    {"GetScrollPos", reinterpret_cast<void *>(&OnGetScrollPos)},
    {"GetScrollRange", reinterpret_cast<void *>(&OnGetScrollRange)},
    {"SetScrollInfo", reinterpret_cast<void *>(&OnSetScrollInfo)},
    {"SetScrollPos", reinterpret_cast<void *>(&OnSetScrollPos)},
    {"SetScrollRange", reinterpret_cast<void *>(&OnSetScrollRange)},
    {"ShowScrollBar", reinterpret_cast<void *>(&OnShowScrollBar)},
};

} // namespace

const char *const CScrollBarInterception::SKINNED_BARS_PROPERTY = "SkinSBSubclassPtr";

int CScrollBarInterception::InstallAll() {
    DWORD lastError = ERROR_SUCCESS;
    for (int f = 0; f < FUNCTION_COUNT; ++f) {
        if (g_hooks[f].IsInstalled())
            continue;
        // The export, resolved before any entry is patched.
        void *system = SystemAddress(static_cast<Function>(f));
        if (!system || !g_hooks[f].Install(system, FUNCTIONS[f].replacement))
            lastError = system ? ::GetLastError() : ERROR_PROC_NOT_FOUND;
    }
    ::SetLastError(lastError);
    return InstalledCount();
}

int CScrollBarInterception::RemoveAll() {
    int removed = 0;
    DWORD lastError = ERROR_SUCCESS;
    for (int f = 0; f < FUNCTION_COUNT; ++f) {
        if (!g_hooks[f].IsInstalled())
            continue;
        if (g_hooks[f].Remove())
            ++removed;
        else
            lastError = ::GetLastError();
    }
    ::SetLastError(lastError);
    return removed;
}

bool CScrollBarInterception::IsInstalled(Function function) {
    return function >= 0 && function < FUNCTION_COUNT && g_hooks[function].IsInstalled();
}

int CScrollBarInterception::InstalledCount() {
    int count = 0;
    for (const CCodeHook &hook : g_hooks)
        count += hook.IsInstalled() ? 1 : 0;
    return count;
}

void CScrollBarInterception::SetSkinnedBars(const ScrollSkinFunctions *functions) {
    g_pSkinnedBars = functions;
}

const char *CScrollBarInterception::FunctionName(Function function) {
    return function >= 0 && function < FUNCTION_COUNT ? FUNCTIONS[function].name : nullptr;
}

void *CScrollBarInterception::Replacement(Function function) {
    return function >= 0 && function < FUNCTION_COUNT ? FUNCTIONS[function].replacement : nullptr;
}

void *CScrollBarInterception::PatchedEntry(Function function) {
    return IsInstalled(function) ? g_hooks[function].GetEntry() : nullptr;
}

BOOL CScrollBarInterception::SystemEnableScrollBar(HWND hWnd, UINT bar, UINT arrows) {
    return CallSystem<BOOL>(ENABLE_SCROLL_BAR, hWnd, bar, arrows);
}

BOOL CScrollBarInterception::SystemGetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info) {
    return CallSystem<BOOL>(GET_SCROLL_INFO, hWnd, bar, info);
}

int CScrollBarInterception::SystemGetScrollPos(HWND hWnd, int bar) {
    return CallSystem<int>(GET_SCROLL_POS, hWnd, bar);
}

BOOL CScrollBarInterception::SystemGetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos) {
    return CallSystem<BOOL>(GET_SCROLL_RANGE, hWnd, bar, minPos, maxPos);
}

int CScrollBarInterception::SystemSetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    return CallSystem<int>(SET_SCROLL_INFO, hWnd, bar, info, redraw);
}

int CScrollBarInterception::SystemSetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw) {
    return CallSystem<int>(SET_SCROLL_POS, hWnd, bar, pos, redraw);
}

BOOL CScrollBarInterception::SystemSetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw) {
    return CallSystem<BOOL>(SET_SCROLL_RANGE, hWnd, bar, minPos, maxPos, redraw);
}

BOOL CScrollBarInterception::SystemShowScrollBar(HWND hWnd, int bar, BOOL show) {
    return CallSystem<BOOL>(SHOW_SCROLL_BAR, hWnd, bar, show);
}
