// A call-window-procedure hook that the system loads into the watched program's process: counts the messages of
// one kind sent to one window and publishes the count in the shared block.
#include <windows.h>

#include "tests/support/MessageWatchData.h"

namespace {

SMessageWatchData *g_pData = NULL;

SMessageWatchData *Data() {
    if (!g_pData) {
        // Kept open for the life of the process: the hook may run until the program ends.
        HANDLE hMap = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, QX_MESSAGE_WATCH_MAPPING);
        if (hMap)
            g_pData = static_cast<SMessageWatchData *>(
                ::MapViewOfFile(hMap, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SMessageWatchData)));
    }
    return g_pData;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK QxMessageWatchProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam) {
        const CWPSTRUCT *pMsg = reinterpret_cast<const CWPSTRUCT *>(lParam);
        SMessageWatchData *pData = Data();
        if (pData && pData->hTarget == static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pMsg->hwnd)) &&
            pData->nMessage == pMsg->message)
            ::InterlockedIncrement(&pData->nCount);
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

namespace {

// Menu handles are per process too: the items of a popup that the program has just prepared are read here.
void RecordPopup(SMessageWatchData *pData, HMENU hMenu) {
    const int count = ::GetMenuItemCount(hMenu);
    LONG n = 0;
    for (int i = 0; i < count && n < SMessageWatchData::MAX_MENU_ITEMS; ++i, ++n) {
        const UINT state = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        pData->aMenuIds[n] = ::GetMenuItemID(hMenu, i);
        pData->aMenuChecked[n] = (state != static_cast<UINT>(-1) && (state & MF_CHECKED)) ? 1 : 0;
    }
    pData->nMenuItems = n;
    ::InterlockedIncrement(&pData->nMenuPopups);
}

} // namespace

// Cursor handles are per process, so only code inside the watched program can tell which cursor it shows.
extern "C" __declspec(dllexport) LRESULT CALLBACK QxCursorWatchProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam) {
        const CWPRETSTRUCT *pMsg = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
        SMessageWatchData *pData = Data();
        if (pData && pMsg->message == WM_INITMENUPOPUP && pMsg->wParam)
            RecordPopup(pData, reinterpret_cast<HMENU>(pMsg->wParam));
        if (pData && pMsg->message == WM_SETCURSOR) {
            const HCURSOR hShown = ::GetCursor();
            LONG nKind = CURSOR_OTHER;
            if (hShown == ::LoadCursor(NULL, IDC_ARROW))
                nKind = CURSOR_ARROW;
            else if (pData->nCursorResId &&
                     hShown == ::LoadCursorA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(pData->nCursorResId)))
                nKind = CURSOR_RESOURCE;
            ::InterlockedExchange(&pData->nCursorKind, nKind);
            ::InterlockedIncrement(&pData->nSetCursors);
        }
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
