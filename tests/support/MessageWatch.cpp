#include "tests/support/MessageWatch.h"

#include "tests/support/MessageWatchData.h"

CMessageWatch::CMessageWatch() : m_pData(NULL), m_hDll(NULL), m_hHook(NULL), m_hCursorHook(NULL) {}

CMessageWatch::~CMessageWatch() {
    Stop();
}

bool CMessageWatch::Start(const std::string &strHookDll, HWND hTarget, UINT nMessage, UINT nCursorResId) {
    Stop();
    m_hMapping.Attach(::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(SMessageWatchData),
                                           QX_MESSAGE_WATCH_MAPPING));
    if (!m_hMapping)
        return false;
    m_pData = static_cast<SMessageWatchData *>(
        ::MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SMessageWatchData)));
    if (!m_pData) {
        Stop();
        return false;
    }
    m_pData->hTarget = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hTarget));
    m_pData->nMessage = nMessage;
    m_pData->nCount = 0;
    m_pData->nCursorResId = nCursorResId;
    m_pData->nCursorKind = CURSOR_UNKNOWN;
    m_pData->nSetCursors = 0;
    m_pData->nMenuPopups = 0;
    m_pData->nMenuItems = 0;
    m_hDll = ::LoadLibraryA(strHookDll.c_str());
    HOOKPROC pfnHook = HookProc("QxMessageWatchProc");
    HOOKPROC pfnCursorHook = HookProc("QxCursorWatchProc");
    const DWORD nThread = ::GetWindowThreadProcessId(hTarget, NULL);
    if (!pfnHook || !pfnCursorHook || !nThread) {
        Stop();
        return false;
    }
    m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, pfnHook, m_hDll, nThread);
    m_hCursorHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, pfnCursorHook, m_hDll, nThread);
    if (!m_hHook || !m_hCursorHook) {
        Stop();
        return false;
    }
    return true;
}

HOOKPROC CMessageWatch::HookProc(const char *pszName) const {
    if (!m_hDll)
        return NULL;
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void *>(::GetProcAddress(m_hDll, pszName)));
}

void CMessageWatch::Stop() {
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    m_hHook = NULL;
    if (m_hCursorHook)
        ::UnhookWindowsHookEx(m_hCursorHook);
    m_hCursorHook = NULL;
    if (m_pData)
        m_pData->hTarget = 0;
    if (m_hDll)
        ::FreeLibrary(m_hDll);
    m_hDll = NULL;
    if (m_pData)
        ::UnmapViewOfFile(m_pData);
    m_pData = NULL;
    m_hMapping.Close();
}

LONG CMessageWatch::GetCount() const {
    return m_pData ? m_pData->nCount : -1;
}

LONG CMessageWatch::GetCursorKind() const {
    return m_pData ? m_pData->nCursorKind : static_cast<LONG>(CURSOR_UNKNOWN);
}

LONG CMessageWatch::GetSetCursorCount() const {
    return m_pData ? m_pData->nSetCursors : 0;
}

LONG CMessageWatch::GetMenuPopupCount() const {
    return m_pData ? m_pData->nMenuPopups : 0;
}

std::vector<std::pair<UINT, bool>> CMessageWatch::GetLastPopupItems() const {
    std::vector<std::pair<UINT, bool>> items;
    if (!m_pData)
        return items;
    ::MemoryBarrier();
    for (LONG i = 0; i < m_pData->nMenuItems && i < SMessageWatchData::MAX_MENU_ITEMS; ++i)
        items.emplace_back(m_pData->aMenuIds[i], m_pData->aMenuChecked[i] != 0);
    return items;
}
