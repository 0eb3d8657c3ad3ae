// Brings the menu keys typed anywhere inside a skinned frame (Alt+letter, Alt alone, F10, Alt+Space) to that frame,
// whose menu bar answers them: the system would look for a menu on the window itself and find none.
#pragma once

#include <windows.h>

class CSkinMenuKeys {
public:
    // A keyboard hook on this thread (WH_KEYBOARD), which puts a message hook (WH_GETMESSAGE) in place from Alt or
    // F10 going down until it comes up. Non-zero on success, also when already installed.
    static BOOL Install();
    static void Remove();
    static bool IsInstalled();
    // Whether the message hook is in place now.
    static bool IsWatchingMessages();

    // The window that should see this message instead of msg.hwnd, or null to leave it where it is: a menu key
    // typed in a child window of a skinned top-level frame that shows a menu bar goes to that frame.
    static HWND Redirect(const MSG &msg);

    // The message hook's procedure (public for the keyboard hook that installs it).
    static LRESULT CALLBACK GetMessageProc(int nCode, WPARAM wParam, LPARAM lParam);
};
