// The launcher's application object: runs the dialog and ends the program when it closes.
#pragma once

#include <windows.h>

class CLauncherApp {
public:
    explicit CLauncherApp(HINSTANCE hInstance);

    // Runs the dialog modally; returns FALSE, as no message loop is to run after it.
    BOOL InitInstance();

private:
    HINSTANCE m_hInstance;
};
