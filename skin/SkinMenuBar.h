// The menu bar that a skinned frame draws below its caption in place of the system's: the entries of the frame's
// menu in wrapping rows, their hover and open states, and the buttons of a maximised document window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Handle.h"

class CSkinMenuBarObject;

class CSkinMenuBar {
public:
    enum : int { STATE_NORMAL = 0, STATE_HOVER = 1, STATE_OPEN = 2 };
    // The buttons of a maximised document window, in the order of the record's pieces (three each: normal,
    // hover, pressed).
    enum : int { CHILD_MINIMIZE = 0, CHILD_RESTORE = 1, CHILD_CLOSE = 2, CHILD_ICON = 3, CHILD_BUTTON_COUNT = 4 };
    enum : int { CHILD_BUTTON_SIZE = 16, CHILD_INDENT = 16, CHILD_ROW_ROOM = 48 };
    enum : UINT { HOVER_TIMER_MS = 100 };

    struct Entry {
        std::string strText;
        UINT nID;
        HMENU hSubMenu;
        RECT rc;     // window coordinates, once the bar has a rectangle
        SIZE size;   // text plus the entry margins
        int nState;  // STATE_NORMAL, STATE_HOVER, STATE_OPEN
    };

    CSkinMenuBar();
    ~CSkinMenuBar();
    CSkinMenuBar(const CSkinMenuBar &) = delete;
    CSkinMenuBar &operator=(const CSkinMenuBar &) = delete;

    // The frame that shows the bar and owns its menus.
    void SetWindow(HWND hFrame) { m_hWnd = hFrame; }
    HWND GetWindow() const { return m_hWnd; }

    // Rebuilds the entries from the menu's top-level items (items without text are left out). Null empties the bar.
    void SetMenu(HMENU hMenu);
    HMENU GetMenu() const { return m_hMenu; }
    // The frame object's menu-bar record (fonts, colours, artwork), or null for plain defaults.
    void SetSkinObject(const CSkinMenuBarObject *pObject);

    // Height of the bar over a client area nWidth wide: entries wrap into rows; 0 without entries.
    int GetHeight(int nWidth);
    // Places the bar (window coordinates) and lays its entries and buttons out in it.
    void SetRect(const RECT &rc);
    const RECT &GetRect() const { return m_rc; }
    // Draws the bar into a DC in window coordinates.
    void Draw(HDC hDC);
    // Draws the bar onto the frame now.
    void Redraw();

    // Pointer events at window points; TRUE when the point is on the bar.
    BOOL OnButtonDown(POINT pt);
    BOOL OnButtonUp(POINT pt);
    BOOL OnMouseMove(POINT pt);
    // Closes the open entry's menu (the bar then ends its tracking).
    void CloseMenu();
    // Keyboard access (the frame's WM_SYSCOMMAND SC_KEYMENU): 0 (F10 or Alt alone) marks the first entry and lets
    // Left and Right walk the bar until Enter, Down or an entry's letter opens one; a letter opens the entry whose
    // text names it after "&"; a space opens the frame's system menu and "-" a maximised document window's.
    // FALSE when the bar leaves the key to the system (no entries, or a menu is open).
    BOOL OnKeyMenu(UINT nChar);
    // True while F10 or Alt alone has the bar waiting for keys.
    bool IsKeyboardMode() const { return m_bKeyboardMode; }
    // The open entry's menu closed: its entry goes back to normal and the bar is redrawn.
    void EndTracking();
    // True while an entry's menu is open.
    BOOL IsTracking() const { return m_nOpen >= 0; }

    // For the frame and tests.
    const std::vector<Entry> &GetEntries() const { return m_entries; }
    int GetRowCount() const { return m_nRows; }
    int GetHoverEntry() const { return m_nHover; }
    int GetOpenEntry() const { return m_nOpen; }
    // The maximised document window whose buttons the bar shows (its frame tells the bar), or null; a window that has
    // gone or is no longer maximised counts as none.
    void SetMaximizedChild(HWND hChild) { m_hMaximizedChild = hChild; }
    HWND GetMaximizedChildHandle() const { return m_hMaximizedChild; }
    HWND GetMaximizedChild() const;
    RECT GetChildButtonRect(int nButton) const { return m_rcChild[nButton]; }
    int GetChildButtonState(int nButton) const { return m_nChildState[nButton]; }
    bool IsHoverTimerRunning() const { return m_bTimer; }

private:
    static void CALLBACK HoverTimerProc(HWND hWnd, UINT message, UINT_PTR nID, DWORD dwTime);
    void OnHoverTimer();
    void StartHoverTimer();
    void StopHoverTimer();

    void Measure();
    // Lays the entries out over a client width; rects relative to the bar's top-left corner. Returns the rows.
    int Layout(int nWidth, bool bChild, std::vector<RECT> *pRects, int *pRowHeight) const;
    RECT Insets() const;
    int EntryAt(POINT pt) const;
    int ChildButtonAt(POINT pt) const;
    void SetHover(int nEntry);
    // Opens an entry's menu through the skinned tracking, and the neighbouring entries' that Left and Right ask for;
    // from the keyboard the menu's first item is highlighted.
    void OpenEntry(int nEntry, bool bKeyboard = false);
    // The next entry with a menu from nFrom going nStep (1 or -1), wrapping; -1 when none.
    int NeighbourEntry(int nFrom, int nStep) const;
    int EntryForMnemonic(char cKey) const;
    // Opens the entry's menu, or sends its command when it has none.
    void ActivateEntry(int nEntry, bool bKeyboard);
    void TrackFrameSystemMenu();
    void TrackKeyboard();
    // The bar's keyboard mode: TRUE when the message was the bar's.
    bool OnKeyboardModeMessage(MSG &msg);
    bool OnKeyboardModeKey(MSG &msg);
    // Ends the keyboard mode, opening nOpen afterwards (-1: none). Without bAlways a -1 keeps the mode.
    bool LeaveKeyboardMode(int nOpen, bool bAlways);
    void TrackChildSystemMenu();
    void DrawEntry(HDC hDC, const Entry &entry) const;
    void DrawChildButtons(HDC hDC) const;
    HFONT GetFont() const;

    HWND m_hWnd = nullptr;
    HMENU m_hMenu = nullptr;
    const CSkinMenuBarObject *m_pObject = nullptr;
    CFont m_font;
    std::vector<Entry> m_entries;
    bool m_bMeasured = false;
    RECT m_rc = {0, 0, 0, 0};
    int m_nRows = 0;
    int m_nHover = -1;
    int m_nOpen = -1;
    int m_nNextOpen = -1; // an entry to open once the open menu has closed
    bool m_bNextKeyboard = false;
    bool m_bKeyboardMode = false;
    int m_nKeyboardOpen = -1;
    bool m_bTimer = false;
    HWND m_hMaximizedChild = nullptr;
    HWND m_hChild = nullptr; // the maximised document window at the last layout
    RECT m_rcChild[CHILD_BUTTON_COUNT] = {};
    int m_nChildState[CHILD_BUTTON_COUNT] = {};
};
