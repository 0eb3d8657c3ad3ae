// What a skinned frame's non-client area costs under Wine: one paint of an 800 x 600 main frame with its menu bar
// and caption buttons (drawn off screen, border bands copied), and one resize, which also rebuilds the window region.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <initializer_list>

#include "bench/skin/SkinnedBenchFrame.h"
#include "skin/SkinEngine.h"
#include "skin/SkinFrameWnd.h"

namespace {

HMENU ConsoleLikeMenu() {
    HMENU bar = ::CreateMenu();
    for (const char *entry : {"文件(&F)", "编辑(&E)", "查看(&V)", "读卡器测试(&T)", "窗口(&W)", "皮肤(&P)", "帮助(&H)"}) {
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuA(popup, MF_STRING, 100, "Item");
        ::AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), entry);
    }
    return bar;
}

double MicrosecondsPer(int count, std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - since).count() / count;
}

} // namespace

int main() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND frame = CreateSkinnedBenchFrame(instance, "frame_bench", ConsoleLikeMenu());
    if (!frame)
        return 1;
    ::UpdateWindow(frame);
    ::SendMessageA(frame, WM_NCPAINT, 1, 0);

    const int kPaints = 2000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPaints; ++i)
        ::SendMessageA(frame, WM_NCPAINT, 1, 0);
    const double paint = MicrosecondsPer(kPaints, start);
    std::printf("%-44s %10.1f us  (goal under 1000 us; %d paints)\n", "non-client paint, 800 x 600 frame", paint,
                kPaints);
    // What of that is the drawing itself, and what any message to a skinned window costs on its way (the engine's
    // thread hook and the subclass layer, each a wineserver round trip under Wine).
    CSkinFrameWnd *pFrame = dynamic_cast<CSkinFrameWnd *>(SkinFindWindow(frame));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPaints; ++i)
        pFrame->NcPaint();
    std::printf("%-44s %10.1f us\n", "  of which the paint itself", MicrosecondsPer(kPaints, start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPaints; ++i)
        ::SendMessageA(frame, WM_NULL, 0, 0);
    std::printf("%-44s %10.1f us\n", "  a message to the skinned frame (WM_NULL)", MicrosecondsPer(kPaints, start));

    const int kResizes = 100;
    // The same resizes of a window without the skin, for comparison: what the system itself spends.
    HWND plain = ::CreateWindowExA(0, kSkinBenchFrameClass, "plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 800, 600,
                                   nullptr, ConsoleLikeMenu(), instance, nullptr);
    // Each resize alternates the width by 10 pixels and paints the non-client area.
    const auto timeResizes = [&](HWND hWnd, const char *pszLabel) {
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < kResizes; ++i) {
            ::SetWindowPos(hWnd, nullptr, 0, 0, 800 - i % 2 * 10, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::SendMessageA(hWnd, WM_NCPAINT, 1, 0);
        }
        std::printf("%-44s %10.1f us  (%d resizes)\n", pszLabel, MicrosecondsPer(kResizes, begin), kResizes);
    };
    timeResizes(plain, "resize of a window without the skin");
    ::DestroyWindow(plain);
    timeResizes(frame, "resize with region rebuild and paint");
    ::DestroyWindow(frame);
    SkinEngineExit();
    return 0;
}
