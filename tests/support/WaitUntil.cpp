#include "tests/support/WaitUntil.h"

bool CWaitUntil::Condition(const std::function<bool()> &condition, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return condition();
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(pollMs);
    }
}
