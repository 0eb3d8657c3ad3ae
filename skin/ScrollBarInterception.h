// Interception of the system's eight scroll-bar functions: windows with skinned bars get the skinned answers.
#pragma once

#include <windows.h>

// The skinned scroll bars' operations, each with the arguments of the system function it stands for. The scroll-bar
// module registers itself here (CScrollBarInterception::SetSkinnedBars) and answers every call made for a window
// that carries its property. It must reach the system through CScrollBarInterception::System* (never the plain
// functions, which would come back to it). A null member leaves that function to the system.
struct ScrollSkinFunctions {
    BOOL (*ScrollSkinEnable)(HWND hWnd, UINT bar, UINT arrows);
    BOOL (*ScrollSkinGetInfo)(HWND hWnd, int bar, LPSCROLLINFO info);
    int (*ScrollSkinGetPos)(HWND hWnd, int bar);
    BOOL (*ScrollSkinGetRange)(HWND hWnd, int bar, LPINT minPos, LPINT maxPos);
    int (*ScrollSkinSetInfo)(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw);
    int (*ScrollSkinSetPos)(HWND hWnd, int bar, int pos, BOOL redraw);
    BOOL (*ScrollSkinSetRange)(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw);
    BOOL (*ScrollSkinShow)(HWND hWnd, int bar, BOOL show);
};

// Process-wide, like the code it patches: installed once at engine start (the caller decides by platform code) and
// removed at engine exit, on the user-interface thread.
class CScrollBarInterception {
public:
    enum Function {
        ENABLE_SCROLL_BAR,
        GET_SCROLL_INFO,
        GET_SCROLL_POS,
        GET_SCROLL_RANGE,
        SET_SCROLL_INFO,
        SET_SCROLL_POS,
        SET_SCROLL_RANGE,
        SHOW_SCROLL_BAR,
        FUNCTION_COUNT
    };

    // The window property that marks a window with skinned scroll bars.
    static const char *const SKINNED_BARS_PROPERTY;

    // Intercepts every function not yet intercepted; one that cannot be leaves the system function untouched.
    // Returns how many are intercepted afterwards; the last error is that of the last refusal (ERROR_SUCCESS if none).
    static int InstallAll();
    // Takes out every interception; returns how many were taken out. One that fails stays (see CCodeHook).
    static int RemoveAll();
    static bool IsInstalled(Function function);
    static int InstalledCount();

    // nullptr unregisters: then every window is answered by the system.
    static void SetSkinnedBars(const ScrollSkinFunctions *functions);

    static const char *FunctionName(Function function);
    // The replacement that an intercepted function's entry leads to, and the code it patched (nullptr when not).
    static void *Replacement(Function function);
    static void *PatchedEntry(Function function);

    // The system functions themselves: through the trampolines while intercepted, directly otherwise.
    static BOOL SystemEnableScrollBar(HWND hWnd, UINT bar, UINT arrows);
    static BOOL SystemGetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info);
    static int SystemGetScrollPos(HWND hWnd, int bar);
    static BOOL SystemGetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos);
    static int SystemSetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw);
    static int SystemSetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw);
    static BOOL SystemSetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw);
    static BOOL SystemShowScrollBar(HWND hWnd, int bar, BOOL show);
};
