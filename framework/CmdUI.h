// One user-interface item (menu item, tool-bar button, status-bar pane) whose state an update handler sets.
#pragma once

#include <windows.h>
#include <string>

class CCmdTarget;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 unchecked, 1 checked
    virtual void SetText(const std::string &text);
    // The handler leaves the item to the next target of the route (a document frame passing the main frame's
    // bars on to it).
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's route for an update handler; without one the item is enabled exactly when some target
    // handles the command (bDisableIfNoHandler), so commands nobody takes are never offered.
    void DoUpdate(CCmdTarget *pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;    // position of the item in its menu or bar
    UINT m_nIndexMax = 0; // number of items; a handler that inserts menu items adjusts both
    HMENU m_hMenu = nullptr;
    CWnd *m_pOther = nullptr; // tool bar or status bar for the non-menu kinds
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bHandled = FALSE;
    BOOL m_bContinueRouting = FALSE;
};
