// The block that the message-watch hook library and its test share through a named file mapping.
#pragma once

#include <windows.h>

// Only one watch runs at a time in a test session (each session has its own wineserver, so its own namespace).
#define QX_MESSAGE_WATCH_MAPPING "Local\\QxTestMessageWatch"

// What the watched thread's cursor was after it last handled WM_SETCURSOR.
enum ECursorKind { CURSOR_UNKNOWN = 0, CURSOR_ARROW = 1, CURSOR_RESOURCE = 2, CURSOR_OTHER = 3 };

struct SMessageWatchData {
    DWORD hTarget;             // the watched window (0: none)
    UINT nMessage;             // the watched message
    volatile LONG nCount;      // how often the window was sent it
    UINT nCursorResId;         // a cursor resource of the watched program's executable (0: none)
    volatile LONG nCursorKind; // an ECursorKind
    volatile LONG nSetCursors; // how many WM_SETCURSOR the watched thread handled
    // The last popup menu that the watched thread prepared (WM_INITMENUPOPUP, after the program's own handling):
    // its first items' command ids and whether each carries a check mark.
    enum { MAX_MENU_ITEMS = 16 };
    volatile LONG nMenuPopups; // how many popups were prepared since Start
    LONG nMenuItems;
    UINT aMenuIds[MAX_MENU_ITEMS];
    LONG aMenuChecked[MAX_MENU_ITEMS];
};
