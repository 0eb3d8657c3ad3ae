// The skin engine's private window messages between popup menus and the frames that own them.
#pragma once

#include <windows.h>

enum : UINT {
    // Posted by a popup menu to its owner. The second parameter is a screen point: x in the low, y in the high
    // 16 bits (signed).
    WM_SKIN_MENU_LBUTTONDOWN = 6024, // left button pressed outside the menu
    WM_SKIN_MENU_RBUTTONDOWN = 6025, // right button pressed outside the menu
    WM_SKIN_MENU_MOUSEMOVE = 6026,   // pointer over the owner while a menu-bar popup is open
    WM_SKIN_MENU_END = 6027,         // the menu closed
    // Between the popup windows of one menu.
    WM_SKIN_POPUP_CLOSECHILD = 1324, // close the open submenu popup
    WM_SKIN_POPUP_EXECUTE = 1325,    // carry out the command in the first parameter
};
