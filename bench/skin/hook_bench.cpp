// What the engine's window hooks add to every message of the user-interface thread under Wine: a message sent to a
// window before and after SkinEngineInit, and a message posted and taken from the queue (a hook on the calling
// thread costs a round trip to the window server per message there).
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "skin/SkinEngine.h"

namespace {

const int kMessages = 20000;

double MicrosecondsPerSend(HWND hWnd) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kMessages; ++i)
        ::SendMessageA(hWnd, WM_NULL, 0, 0);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / kMessages;
}

double MicrosecondsPerPost(HWND hWnd) {
    const auto start = std::chrono::steady_clock::now();
    MSG msg;
    for (int i = 0; i < kMessages; ++i) {
        ::PostMessageA(hWnd, WM_NULL, 0, 0);
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / kMessages;
}

} // namespace

int main() {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!hWnd)
        return 1;
    const double sendBefore = MicrosecondsPerSend(hWnd), postBefore = MicrosecondsPerPost(hWnd);
    if (!SkinEngineInit(::GetModuleHandleA(nullptr), "QXReader_CCID", 0, 0)) {
        std::printf("the engine did not start\n");
        return 1;
    }
    const double sendAfter = MicrosecondsPerSend(hWnd), postAfter = MicrosecondsPerPost(hWnd);
    std::printf("%-52s %9.2f us  (%.2f us without the engine, %.2fx)\n", "message sent, engine started", sendAfter,
                sendBefore, sendBefore > 0 ? sendAfter / sendBefore : 0.0);
    std::printf("%-52s %9.2f us  (%.2f us without the engine, %.2fx)\n", "message posted and dispatched", postAfter,
                postBefore, postBefore > 0 ? postAfter / postBefore : 0.0);
    ::DestroyWindow(hWnd);
    SkinEngineExit();
    return 0;
}
