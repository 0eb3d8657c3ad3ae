#include "skin/SkinEngine.h"

#include <memory>

#include "skin/ScrollBarInterception.h"
#include "skin/Skin.h"
#include "skin/SkinFrameWnd.h"
#include "skin/SkinHook.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"

const char CSkinEngine::POPUP_MENU_CLASS[] = "SkinWeavePopupMenuWnd";

namespace {

HINSTANCE g_hInstance = nullptr;
int g_nPlatformCode = 6;

// The popup menus' window procedure comes with the skinned menus; until then the class answers like a plain window.
LRESULT CALLBACK PopupMenuWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

BOOL RegisterPopupMenuClass(HINSTANCE hInstance) {
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS | CS_CLASSDC;
    wc.lpfnWndProc = &PopupMenuWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    wc.lpszClassName = CSkinEngine::POPUP_MENU_CLASS;
    return ::RegisterClassA(&wc) ? TRUE : FALSE;
}

bool IsWin95Family(int nCode) {
    return nCode >= 0 && nCode <= 4 && nCode != 1;
}

} // namespace

int CSkinEngine::PlatformCode(DWORD packed, const OSVERSIONINFOA *pInfo) {
    const bool bWin95 = (packed & 0x80000000u) != 0;
    if (!pInfo)
        return bWin95 ? 2 : 1;
    const DWORD major = pInfo->dwMajorVersion, minor = pInfo->dwMinorVersion;
    if (bWin95) {
        if (major < 4)
            return 0;
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

int CSkinEngine::GetPlatformCode() {
    return g_nPlatformCode;
}

HINSTANCE CSkinEngine::GetModuleInstance() {
    return g_hInstance;
}

int SkinEngineInit(HINSTANCE hInstance, const char *, int, int) {
    g_hInstance = hInstance;
    if (!RegisterPopupMenuClass(hInstance))
        return 0;
    if (!CSkinHook::Install()) {
        ::UnregisterClassA(CSkinEngine::POPUP_MENU_CLASS, hInstance);
        return 0;
    }
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const DWORD packed = ::GetVersion();
    const BOOL bInfo = ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    g_nPlatformCode = CSkinEngine::PlatformCode(packed, bInfo ? &info : nullptr);
    if (CSkinEngine::UsesScrollBarInterception(g_nPlatformCode) && !IsWin95Family(g_nPlatformCode))
        CScrollBarInterception::InstallAll();
    return 1;
}

int SkinEngineExit() {
    CSkinHook::ClearDialogObjectName();
    ::UnregisterClassA(CSkinEngine::POPUP_MENU_CLASS, g_hInstance);
    CSkinHook::Remove();
    {
        // The images' drawing sections go now; the skin stays until the process ends, and a window painted after
        // this makes again only the sections it draws from.
        CSkinRegistry &registry = CSkinRegistry::Instance();
        CSkinLock::Guard guard(registry.GetLock());
        for (const auto &entry : registry.GetSkin().GetImages())
            if (const CSkinImage *pImage = entry.second->GetImage())
                pImage->ReleaseSection();
    }
    if (!CSkinEngine::UsesScrollBarInterception(g_nPlatformCode))
        return g_nPlatformCode;
    if (IsWin95Family(g_nPlatformCode))
        return 0;
    CScrollBarInterception::RemoveAll();
    return 1;
}

int SkinLoadResource(HINSTANCE hInstance, const char *pszName, const char *pszType) {
    if (!pszName || !pszType)
        return 0;
    HRSRC hFound = ::FindResourceA(hInstance, pszName, pszType);
    HGLOBAL hLoaded = hFound ? ::LoadResource(hInstance, hFound) : nullptr;
    const void *pBytes = hLoaded ? ::LockResource(hLoaded) : nullptr;
    const DWORD size = hFound ? ::SizeofResource(hInstance, hFound) : 0;
    if (!pBytes || size == 0)
        return 0;
    CSkinStream stream;
    if (!stream.Create(pBytes, size, CSkinStream::DEFAULT_GROWTH))
        return 0;
    // Read into a skin of its own: reading clears the skin first, so the one in force is only replaced once the new
    // one has been read whole.
    std::unique_ptr<CSkin> pSkin(new CSkin);
    if (!pSkin->Read(stream))
        return 0;
    CSkinRegistry::Instance().InstallSkin(std::move(pSkin));
    return 1;
}

int SkinSetDialogObjectName(const char *pszName) {
    CSkinHook::SetDialogObjectName(pszName);
    return 1;
}

int SkinClearDialogObjectName() {
    CSkinHook::ClearDialogObjectName();
    return 1;
}

int SkinAttachFrame(HWND hWnd, const char *pszObjectName) {
    CSkinRegistry &registry = CSkinRegistry::Instance();
    CSkinLock::Guard guard(registry.GetLock());
    if (!hWnd || registry.FindWindow(hWnd))
        return 0;
    CSkin &skin = registry.GetSkin();
    CSkinObject *pObject = pszObjectName ? skin.FindObject(pszObjectName) : skin.FindObjectByKind(SKIN_KIND_FRAME);
    if (!pObject || pObject->GetKind() != SKIN_KIND_FRAME)
        return 0;
    std::unique_ptr<CSkinWnd> pFrame(new CSkinFrameWnd);
    CSkinWnd *pWnd = pFrame.get();
    if (!registry.AddWindow(std::move(pFrame), hWnd))
        return 0;
    pWnd->SetSkinObject(pObject);
    // A frame that cannot be subclassed would stay registered without ever seeing its destruction.
    if (!pWnd->Attach(hWnd)) {
        registry.RemoveWindow(hWnd);
        return 0;
    }
    return 1;
}

CSkinWnd *SkinFindWindow(HWND hWnd) {
    return CSkinRegistry::Instance().FindWindow(hWnd);
}
