// Brings the menu keys typed anywhere inside a skinned frame (Alt+letter, Alt alone, F10, Alt+Space) to that frame,
// whose menu bar answers them: the system would look for a menu on the window itself and find none.
#pragma once

#include <windows.h>

class CSkinMenuKeys {
public:
    // A message hook on this thread (WH_GETMESSAGE). Non-zero on success, also when already installed.
    static BOOL Install();
    static void Remove();
    static bool IsInstalled();

    // The window that should see this message instead of msg.hwnd, or null to leave it where it is: a menu key
    // typed in a child window of a skinned top-level frame that shows a menu bar goes to that frame.
    static HWND Redirect(const MSG &msg);

private:
    static LRESULT CALLBACK GetMessageProc(int nCode, WPARAM wParam, LPARAM lParam);
};
