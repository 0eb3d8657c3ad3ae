// Polls a condition until it holds or a time limit passes: the one way end-to-end tests wait.
#pragma once

#include <windows.h>

#include <functional>

class CWaitUntil {
public:
    // Returns true as soon as condition() is true, false when timeoutMs passed without it. Between polls the
    // calling thread's own messages are dispatched, so a test that owns windows keeps them responsive.
    static bool Condition(const std::function<bool()> &condition, DWORD timeoutMs, DWORD pollMs = 15);
};
