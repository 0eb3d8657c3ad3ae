// Opens a popup menu for a skinned window: a menu-bar entry's menu, the caption's system menu, or any other menu.
#pragma once

#include <windows.h>

// Who opened the menu: the frame's menu bar, a system-menu button (commands arrive as WM_SYSCOMMAND), or other.
enum ESkinPopupMode { SKIN_POPUP_MENUBAR = 0, SKIN_POPUP_SYSTEM = 1, SKIN_POPUP_OTHER = 2 };

// Shows hMenu with its top-left corner at the screen point (x, y) for hOwner and returns 0 once it has closed.
// The owner receives WM_INITMENUPOPUP and WM_MENUSELECT on the way and the chosen command as WM_COMMAND, or as
// WM_SYSCOMMAND in SKIN_POPUP_SYSTEM mode. While a menu-bar menu is open the owner also hears of the pointer over
// it (WM_SKIN_MENU_MOUSEMOVE) and of presses outside the menu (WM_SKIN_MENU_LBUTTONDOWN, ..._RBUTTONDOWN), so that
// its bar can switch entries or close; a press on the owner's non-client area while its system menu is open
// closes the menu and reaches the owner as that non-client press.
int SkinTrackPopupMenu(HMENU hMenu, int x, int y, HWND hOwner, ESkinPopupMode mode);
