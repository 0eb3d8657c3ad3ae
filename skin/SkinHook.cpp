#include "skin/SkinHook.h"

#include <cstring>

#include "skin/Skin.h"
#include "skin/SkinDialogWnd.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"

namespace {

HHOOK g_hHook = nullptr;
char g_szDialogName[CSkinHook::DIALOG_NAME_SIZE] = "";

} // namespace

BOOL CSkinHook::Install() {
    if (g_hHook)
        return FALSE;
    g_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CSkinHook::HookProc, nullptr, ::GetCurrentThreadId());
    return g_hHook ? TRUE : FALSE;
}

void CSkinHook::Remove() {
    if (!g_hHook)
        return;
    ::UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
}

bool CSkinHook::IsInstalled() {
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
            try {
                OnCreateWindow(pMsg->hwnd);
            } catch (...) {
                // Nothing unwinds through the system's hook chain; the window stays unskinned.
            }
        }
    }
    return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
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
