#include "skin/SkinMenuKeys.h"

#include "skin/SkinEngine.h"
#include "skin/SkinFrameWnd.h"

namespace {

HHOOK g_hHook = nullptr;

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
    if (g_hHook)
        return TRUE;
    g_hHook = ::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageProc, nullptr, ::GetCurrentThreadId());
    return g_hHook != nullptr;
}

void CSkinMenuKeys::Remove() {
    if (!g_hHook)
        return;
    ::UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
}

bool CSkinMenuKeys::IsInstalled() {
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
    if (nCode == HC_ACTION && wParam == PM_REMOVE && lParam) {
        try {
            MSG *pMsg = reinterpret_cast<MSG *>(lParam);
            if (const HWND hFrame = Redirect(*pMsg))
                pMsg->hwnd = hFrame;
        } catch (...) {
            // nothing leaves a hook
        }
    }
    return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
}
