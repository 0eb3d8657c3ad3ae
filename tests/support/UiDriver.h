// Drives another process's user interface the way a person would: finds windows and controls, reads texts, moves
// the pointer, clicks and types.
#pragma once

#include <windows.h>

#include <string>

class CUiDriver {
public:
    // A visible top-level window of the process whose class and title match (either may be empty: any).
    static HWND FindTopLevelWindow(DWORD nProcessId, const std::string &strClass, const std::string &strTitle);
    // Waits up to timeoutMs for such a window.
    static HWND WaitForTopLevelWindow(DWORD nProcessId, const std::string &strClass, const std::string &strTitle,
                                      DWORD timeoutMs);

    static HWND GetControl(HWND hParent, int nId) { return ::GetDlgItem(hParent, nId); }
    // The window's text through WM_GETTEXT, which the system carries across processes.
    static std::string GetText(HWND hWnd);
    static std::string GetClassName(HWND hWnd);

    // Window and client rectangles in screen coordinates.
    static RECT GetWindowRectOnScreen(HWND hWnd);
    static RECT GetClientRectOnScreen(HWND hWnd);
    static POINT CentreOf(const RECT &rc);

    // Brings the window to the foreground so that keyboard and pointer input go to it.
    static bool Activate(HWND hWnd, DWORD timeoutMs = 3000);

    // Real input through SendInput: the pointer moves (and the system generates the mouse messages), buttons and
    // keys go down and up.
    static bool MovePointerTo(POINT ptScreen);
    static bool LeftButton(bool bDown);
    static bool ClickAt(POINT ptScreen);
    static bool PressKey(WORD nVirtualKey);
    // A key pressed while a modifier (VK_MENU, VK_CONTROL, VK_SHIFT) is held down.
    static bool PressChord(WORD nModifier, WORD nVirtualKey);
    static POINT GetPointer();

    // Messages, for where input does not matter: a button click, a posted click at a client point, a command.
    static void ClickButton(HWND hButton) { ::SendMessageA(hButton, BM_CLICK, 0, 0); }
    static void PostClick(HWND hWnd, POINT ptClient);
    static void PostCommand(HWND hWnd, int nId) { ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nId, 0), 0); }

    // True while the window's thread runs the system's move or size loop (a window being dragged).
    static bool IsInMoveSize(HWND hWnd);

    // The cursor that the system shows now, whichever process set it.
    static HCURSOR GetShownCursor();
};
