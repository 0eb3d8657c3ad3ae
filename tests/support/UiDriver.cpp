#include "tests/support/UiDriver.h"

#include <vector>

#include "tests/support/WaitUntil.h"

namespace {

struct FindData {
    DWORD nProcessId;
    const std::string *pClass;
    const std::string *pTitle;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam) {
    FindData *pData = reinterpret_cast<FindData *>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    if (nPid != pData->nProcessId || !::IsWindowVisible(hWnd))
        return TRUE;
    if (!pData->pClass->empty() && CUiDriver::GetClassName(hWnd) != *pData->pClass)
        return TRUE;
    if (!pData->pTitle->empty() && CUiDriver::GetText(hWnd) != *pData->pTitle)
        return TRUE;
    pData->hFound = hWnd;
    return FALSE;
}

const DWORD kPointerSettleMs = 60;

bool SendMouse(DWORD nFlags, LONG dx = 0, LONG dy = 0) {
    INPUT input;
    ZeroMemory(&input, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = nFlags;
    return ::SendInput(1, &input, sizeof(input)) == 1;
}

} // namespace

HWND CUiDriver::FindTopLevelWindow(DWORD nProcessId, const std::string &strClass, const std::string &strTitle) {
    FindData data = {nProcessId, &strClass, &strTitle, NULL};
    ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&data));
    return data.hFound;
}

HWND CUiDriver::WaitForTopLevelWindow(DWORD nProcessId, const std::string &strClass, const std::string &strTitle,
                                      DWORD timeoutMs) {
    HWND hFound = NULL;
    CWaitUntil::Condition(
        [&]() {
            hFound = FindTopLevelWindow(nProcessId, strClass, strTitle);
            return hFound != NULL;
        },
        timeoutMs);
    return hFound;
}

std::string CUiDriver::GetText(HWND hWnd) {
    DWORD_PTR nLen = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &nLen))
        return std::string();
    std::vector<char> buffer(nLen + 2, '\0');
    DWORD_PTR nGot = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                               5000, &nGot))
        return std::string();
    return std::string(&buffer[0], nGot < buffer.size() ? nGot : buffer.size() - 1);
}

std::string CUiDriver::GetClassName(HWND hWnd) {
    char szClass[256] = {0};
    const int nLen = ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return std::string(szClass, nLen > 0 ? static_cast<size_t>(nLen) : 0);
}

RECT CUiDriver::GetWindowRectOnScreen(HWND hWnd) {
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

RECT CUiDriver::GetClientRectOnScreen(HWND hWnd) {
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, NULL, reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

POINT CUiDriver::CentreOf(const RECT &rc) {
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return pt;
}

bool CUiDriver::Activate(HWND hWnd, DWORD timeoutMs) {
    return CWaitUntil::Condition(
        [&]() {
            if (::GetForegroundWindow() == hWnd)
                return true;
            ::SetForegroundWindow(hWnd);
            return ::GetForegroundWindow() == hWnd;
        },
        timeoutMs, 50);
}

bool CUiDriver::MovePointerTo(POINT ptScreen) {
    // Absolute input is in 0..65535 across the primary screen.
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    if (cx <= 1 || cy <= 1)
        return false;
    const LONG dx = static_cast<LONG>((ptScreen.x * 65535LL + (cx - 1) / 2) / (cx - 1));
    const LONG dy = static_cast<LONG>((ptScreen.y * 65535LL + (cy - 1) / 2) / (cy - 1));
    const auto at = [&]() {
        const POINT pt = GetPointer();
        return pt.x == ptScreen.x && pt.y == ptScreen.y;
    };
    // Under Wine the X server can still report an earlier pointer position to the window beneath after the move
    // (measured: up to 30 ms later on a loaded machine), which puts the pointer back and replaces the pending move
    // message. A move counts once the pointer has stayed where it was sent; otherwise it is sent again.
    for (int nAttempt = 0; nAttempt < 5; ++nAttempt) {
        if (!SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy))
            return false;
        if (!CWaitUntil::Condition(at, 2000, 5))
            continue;
        const DWORD nSince = ::GetTickCount();
        bool bStayed = true;
        while (bStayed && ::GetTickCount() - nSince < kPointerSettleMs) {
            ::Sleep(5);
            bStayed = at();
        }
        if (bStayed)
            return true;
    }
    return false;
}

bool CUiDriver::LeftButton(bool bDown) {
    return SendMouse(bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

bool CUiDriver::ClickAt(POINT ptScreen) {
    return MovePointerTo(ptScreen) && LeftButton(true) && LeftButton(false);
}

bool CUiDriver::PressKey(WORD nVirtualKey) {
    INPUT inputs[2];
    ZeroMemory(inputs, sizeof(inputs));
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = nVirtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool CUiDriver::PressChord(WORD nModifier, WORD nVirtualKey) {
    INPUT inputs[4];
    ZeroMemory(inputs, sizeof(inputs));
    const WORD keys[4] = {nModifier, nVirtualKey, nVirtualKey, nModifier};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    return ::SendInput(4, inputs, sizeof(INPUT)) == 4;
}

POINT CUiDriver::GetPointer() {
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    return pt;
}

void CUiDriver::PostClick(HWND hWnd, POINT ptClient) {
    const LPARAM lParam = MAKELPARAM(ptClient.x, ptClient.y);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, lParam);
}

HCURSOR CUiDriver::GetShownCursor() {
    CURSORINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (!::GetCursorInfo(&info))
        return NULL;
    return info.hCursor;
}

bool CUiDriver::IsInMoveSize(HWND hWnd) {
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, NULL), &info))
        return false;
    return (info.flags & GUI_INMOVESIZE) != 0;
}
