// The engine's call-window-procedure hook on the user-interface thread: each new window is handed to the painter of
// its nearest skinned ancestor, and new dialogs are skinned under the dialog object name. The hook is in place while
// windows are being created (a creation hook puts it there), so that other messages do not pass through it.
#pragma once

#include <windows.h>

class CSkinHook {
public:
    // The dialog object name keeps at most this many characters (in a 51-byte buffer).
    enum : size_t { DIALOG_NAME_MAX = 49, DIALOG_NAME_SIZE = 51 };

    // Hooks the calling thread's window creation (WH_CBT), which brings the call-window-procedure hook (WH_CALLWNDPROC)
    // for each window created. FALSE when the system refuses or the hook is installed already.
    static BOOL Install();
    // Unhooks both; nothing when no hook is installed.
    static void Remove();
    static bool IsInstalled();
    // Whether the call-window-procedure hook is in place now (only while a window's creation has not reached
    // WM_CREATE).
    static bool IsWatchingMessages();

    // At most DIALOG_NAME_MAX characters of the name (none: empty).
    static void SetDialogObjectName(const char *pszName);
    static void ClearDialogObjectName();
    static const char *GetDialogObjectName();

    // Only WM_CREATE (action code 0) is looked at: a dialog ("#32770") while the dialog object name is set gets the
    // dialog attachment; any other window is attached by its parent's nearest registered ancestor. Always passes the
    // call on.
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    // The dialog attachment: a dialog window skinned with the object under the dialog object name, when the current
    // skin holds one and the dialog is not registered yet. TRUE when attached.
    static BOOL AttachDialog(HWND hDlg);

private:
    static void OnCreateWindow(HWND hWnd);
};
