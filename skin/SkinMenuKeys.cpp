#include "skin/SkinMenuKeys.h"

#include "skin/SkinEngine.h"
#include "skin/SkinFrameWnd.h"

namespace {

// The message hook that redirects the menu keys is in place only while a menu key may be under way: the keyboard
// hook (called for keyboard messages only) puts it there when Alt or F10 goes down, and it leaves once Alt or F10
// has come up again. Some systems charge a message hook on every message taken from the queue (under Wine about 95
// microseconds each, as much again as taking the message itself).
HHOOK g_hKeyboardHook = nullptr;
HHOOK g_hHook = nullptr;

// A key going down that may begin a menu key: Alt itself, F10, or any key with Alt held.
bool BeginsMenuKey(WPARAM vk, LPARAM flags) {
    const bool bUp = (static_cast<DWORD>(flags) & 0x80000000u) != 0;
    const bool bAlt = (static_cast<DWORD>(flags) & 0x20000000u) != 0;
    return !bUp && (vk == VK_MENU || vk == VK_F10 || bAlt);
}

// Alt or F10 coming up: the last message of a menu key.
bool EndsMenuKey(const MSG &msg) {
    return (msg.message == WM_SYSKEYUP || msg.message == WM_KEYUP) && (msg.wParam == VK_MENU || msg.wParam == VK_F10);
}

void RemoveMessageHook() {
    if (g_hHook)
        ::UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
}

LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallNextHookEx(g_hKeyboardHook, nCode, wParam, lParam);
    if ((nCode == HC_ACTION || nCode == HC_NOREMOVE) && !g_hHook && BeginsMenuKey(wParam, lParam))
        g_hHook = ::SetWindowsHookExA(WH_GETMESSAGE, &CSkinMenuKeys::GetMessageProc, nullptr, ::GetCurrentThreadId());
    return result;
}

// The keys whose default handling opens the window's menu: a character typed with Alt down, and the release of Alt
// or F10 pressed alone (the default procedure decides whether it was alone).
bool IsMenuKey(const MSG &msg) {
    if (msg.message == WM_SYSCHAR)
        return (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
    if (msg.message == WM_SYSKEYUP)
        return msg.wParam == VK_MENU || msg.wParam == VK_F10;
    return false;
}

} // namespace

BOOL CSkinMenuKeys::Install() {
    if (g_hKeyboardHook)
        return TRUE;
    g_hKeyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, &KeyboardProc, nullptr, ::GetCurrentThreadId());
    return g_hKeyboardHook != nullptr;
}

void CSkinMenuKeys::Remove() {
    RemoveMessageHook();
    if (g_hKeyboardHook)
        ::UnhookWindowsHookEx(g_hKeyboardHook);
    g_hKeyboardHook = nullptr;
}

bool CSkinMenuKeys::IsInstalled() {
    return g_hKeyboardHook != nullptr;
}

bool CSkinMenuKeys::IsWatchingMessages() {
    return g_hHook != nullptr;
}

HWND CSkinMenuKeys::Redirect(const MSG &msg) {
    if (!IsMenuKey(msg) || !msg.hwnd || !(::GetWindowLongPtrA(msg.hwnd, GWL_STYLE) & WS_CHILD))
        return nullptr;
    const HWND hRoot = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!hRoot || hRoot == msg.hwnd)
        return nullptr;
    CSkinFrameWnd *pFrame = dynamic_cast<CSkinFrameWnd *>(SkinFindWindow(hRoot));
    if (!pFrame || pFrame->GetMenuBar().GetEntries().empty())
        return nullptr;
    return hRoot;
}

LRESULT CALLBACK CSkinMenuKeys::GetMessageProc(int nCode, WPARAM wParam, LPARAM lParam) {
    bool bEnd = false;
    if (nCode == HC_ACTION && wParam == PM_REMOVE && lParam) {
        MSG *pMsg = reinterpret_cast<MSG *>(lParam);
        bEnd = EndsMenuKey(*pMsg);
        try {
            if (const HWND hFrame = Redirect(*pMsg))
                pMsg->hwnd = hFrame;
        } catch (...) {
            // nothing leaves a hook
        }
    }
    const LRESULT result = ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    if (bEnd)
        RemoveMessageHook();
    return result;
}
