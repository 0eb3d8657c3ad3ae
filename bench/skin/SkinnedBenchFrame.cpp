#include "bench/skin/SkinnedBenchFrame.h"

#include <cstdio>

#include "skin/SkinEngine.h"

namespace {
LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
} // namespace

HWND CreateSkinnedBenchFrame(HINSTANCE hInstance, const char *pszApp, HMENU hMenu) {
    if (!SkinEngineInit(hInstance, pszApp, 0, 0) || !SkinLoadResource(hInstance, "DEVIOR", "SKINWEAVE")) {
        std::printf("the skin engine did not start\n");
        return nullptr;
    }
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kSkinBenchFrameClass;
    ::RegisterClassA(&wc);
    HWND frame = ::CreateWindowExA(0, wc.lpszClassName, "QXReader1 - QXReader_CCID", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   20, 20, 800, 600, nullptr, hMenu, hInstance, nullptr);
    if (!frame || !SkinAttachFrame(frame, "MainFrame")) {
        std::printf("no skinned frame\n");
        return nullptr;
    }
    return frame;
}
