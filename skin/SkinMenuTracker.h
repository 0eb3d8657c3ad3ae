// Tracks one skinned popup menu: shows its root popup, runs the thread's messages until the menu closes and tells
// the owner what the framework's frames expect of a menu (the menu loop, the items' update and the selection).
#pragma once

#include <windows.h>

#include <memory>

#include "skin/SkinPopupMenuWnd.h"

class CSkinMenuTracker {
public:
    // Shows hMenu's root popup with its top-left corner at the screen point (x, y) for hOwner and returns once the
    // menu has closed: how it ended (CSkinPopupMenuWnd::EEnd). bSelectFirst highlights the first item that is not a
    // separator (menus opened from the keyboard). END_NONE when nothing could be shown.
    static int Track(HMENU hMenu, int x, int y, HWND hOwner, CSkinPopupMenuWnd::EMode mode, bool bSelectFirst);

    // Closes the innermost menu that this thread is tracking, as Escape at its root would. FALSE when none is open.
    static BOOL EndActive();
    // The root popup of the innermost menu being tracked, or none.
    static CSkinPopupMenuWnd *GetActiveRoot();

    // The system's states of a window's system-menu items (restore, move, size, minimise, maximise, close), set as
    // the system sets them before the menu shows.
    static void UpdateSystemMenu(HMENU hMenu, HWND hWnd);

private:
    CSkinMenuTracker(HWND hOwner, CSkinPopupMenuWnd::EMode mode);
    ~CSkinMenuTracker();
    CSkinMenuTracker(const CSkinMenuTracker &) = delete;
    CSkinMenuTracker &operator=(const CSkinMenuTracker &) = delete;

    void Run();
    // Keyboard input that went elsewhere (the window that had the focus) is the open popup's.
    void RouteKeyboard(MSG &msg) const;

    HWND m_hOwner;
    CSkinPopupMenuWnd::EMode m_mode;
    std::unique_ptr<CSkinPopupMenuWnd> m_pRoot;
    CSkinMenuTracker *m_pOuter;
};

// Shows a popup menu for a window at the screen point (x, y) and returns 0 once it has closed. Commands reach the
// owner as WM_COMMAND, or as WM_SYSCOMMAND for a system menu.
int TrackSkinnedPopupMenu(HMENU hMenu, int x, int y, HWND hOwner, BOOL bSystemMenu);
