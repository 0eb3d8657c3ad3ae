#include "skin/SkinHook.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/Skin.h"
#include "skin/SkinDialogWnd.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"

namespace {

// The call-window-procedure hook is in place only while a window of this thread is being created: the creation hook
// (WH_CBT, called for window events only) puts it in place when a window is about to be created and it takes itself
// out once every such window has had its WM_CREATE. Some systems charge a call-window-procedure hook on every message
// sent in the thread (under Wine about 90 microseconds each, against half a microsecond without), which would
// otherwise weigh on every paint and every skin switch.
HHOOK g_hCreationHook = nullptr;
HHOOK g_hHook = nullptr;
// The windows created whose WM_CREATE has not come yet (nested creations stack up here).
std::vector<HWND> g_pending;
char g_szDialogName[CSkinHook::DIALOG_NAME_SIZE] = "";

void Forget(HWND hWnd) {
    g_pending.erase(std::remove(g_pending.begin(), g_pending.end(), hWnd), g_pending.end());
}

LRESULT CALLBACK CreationProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallNextHookEx(g_hCreationHook, nCode, wParam, lParam);
    const HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (nCode == HCBT_CREATEWND && result == 0 && hWnd) {
        // Windows whose creation failed before WM_CREATE and that never reached WM_NCDESTROY are dropped here.
        g_pending.erase(std::remove_if(g_pending.begin(), g_pending.end(), [](HWND h) { return !::IsWindow(h); }),
                        g_pending.end());
        g_pending.push_back(hWnd);
        if (!g_hHook)
            g_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CSkinHook::HookProc, nullptr, ::GetCurrentThreadId());
    } else if (nCode == HCBT_DESTROYWND) {
        Forget(hWnd);
    }
    return result;
}

} // namespace

BOOL CSkinHook::Install() {
    if (g_hCreationHook)
        return FALSE;
    g_hCreationHook = ::SetWindowsHookExA(WH_CBT, &CreationProc, nullptr, ::GetCurrentThreadId());
    return g_hCreationHook ? TRUE : FALSE;
}

void CSkinHook::Remove() {
    if (g_hHook)
        ::UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
    if (g_hCreationHook)
        ::UnhookWindowsHookEx(g_hCreationHook);
    g_hCreationHook = nullptr;
    g_pending.clear();
}

bool CSkinHook::IsInstalled() {
    return g_hCreationHook != nullptr;
}

bool CSkinHook::IsWatchingMessages() {
    return g_hHook != nullptr;
}

void CSkinHook::SetDialogObjectName(const char *pszName) {
    std::memset(g_szDialogName, 0, sizeof(g_szDialogName));
    if (pszName)
        std::strncpy(g_szDialogName, pszName, DIALOG_NAME_MAX);
}

void CSkinHook::ClearDialogObjectName() {
    std::memset(g_szDialogName, 0, sizeof(g_szDialogName));
}

const char *CSkinHook::GetDialogObjectName() {
    return g_szDialogName;
}

LRESULT CALLBACK CSkinHook::HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam) {
        const CWPSTRUCT *pMsg = reinterpret_cast<const CWPSTRUCT *>(lParam);
        if (pMsg->message == WM_CREATE) {
            Forget(pMsg->hwnd);
            try {
                OnCreateWindow(pMsg->hwnd);
            } catch (...) {
                // Nothing unwinds through the system's hook chain; the window stays unskinned.
            }
        } else if (pMsg->message == WM_NCDESTROY) {
            Forget(pMsg->hwnd); // its creation failed before WM_CREATE
        }
    }
    const LRESULT result = ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    if (g_pending.empty() && g_hHook) {
        ::UnhookWindowsHookEx(g_hHook);
        g_hHook = nullptr;
    }
    return result;
}

void CSkinHook::OnCreateWindow(HWND hWnd) {
    char szClass[CSkinWnd::CLASS_NAME_SIZE];
    if (!hWnd || ::GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return;
    if (std::strcmp(szClass, "#32770") == 0 && g_szDialogName[0]) {
        // A dialog without an object of that name is not attached to its parent either: its controls find the
        // owner chain when they are created.
        AttachDialog(hWnd);
        return;
    }
    HWND hParent = ::GetParent(hWnd);
    if (!hParent)
        return;
    if (CSkinWnd *pOwner = CSkinRegistry::Instance().FindWindowOrAncestor(hParent))
        pOwner->AttachChild(hWnd);
}

BOOL CSkinHook::AttachDialog(HWND hDlg) {
    CSkinRegistry &registry = CSkinRegistry::Instance();
    CSkinLock::Guard guard(registry.GetLock());
    if (registry.FindWindow(hDlg) || !g_szDialogName[0])
        return FALSE;
    CSkinObject *pObject = registry.GetSkin().FindObject(g_szDialogName);
    if (!pObject)
        return FALSE;
    std::unique_ptr<CSkinWnd> pDialog(new CSkinDialogWnd);
    CSkinWnd *pWnd = pDialog.get();
    if (!registry.AddWindow(std::move(pDialog), hDlg))
        return FALSE;
    pWnd->SetSkinObject(pObject);
    if (!pWnd->Attach(hDlg)) {
        registry.RemoveWindow(hDlg);
        return FALSE;
    }
    return TRUE;
}
