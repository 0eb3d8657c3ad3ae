// Watches another process's window through a hook library that the system loads into that process: counts how often
// the window is sent one message (for example WM_SETTEXT), tells which cursor its thread shows and which items of its
// last popup menu carry a check mark.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

#include <string>
#include <utility>
#include <vector>

struct SMessageWatchData;

class CMessageWatch {
public:
    CMessageWatch();
    ~CMessageWatch();
    CMessageWatch(const CMessageWatch &) = delete;
    CMessageWatch &operator=(const CMessageWatch &) = delete;

    // Starts counting nMessage sent to hTarget; strHookDll is the hook library (qx_testhook.dll). nCursorResId names
    // a cursor resource of the watched executable that GetCursorKind recognises.
    bool Start(const std::string &strHookDll, HWND hTarget, UINT nMessage, UINT nCursorResId = 0);
    void Stop();
    LONG GetCount() const;
    // An ECursorKind of MessageWatchData.h: the cursor after the thread last handled WM_SETCURSOR.
    LONG GetCursorKind() const;
    // How many WM_SETCURSOR the thread handled since Start.
    LONG GetSetCursorCount() const;
    // How many popup menus the thread prepared since Start, and the command ids and check marks of the last one.
    LONG GetMenuPopupCount() const;
    std::vector<std::pair<UINT, bool>> GetLastPopupItems() const;

private:
    HOOKPROC HookProc(const char *pszName) const;

    CKernelObject m_hMapping;
    SMessageWatchData *m_pData;
    HMODULE m_hDll;
    HHOOK m_hHook;
    HHOOK m_hCursorHook;
};
