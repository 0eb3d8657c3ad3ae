// The console's application object: settings, the trace document template, the main frame, the first window.
#pragma once

#include "framework/WinApp.h"

class CQXReader_CCIDApp : public CWinApp {
public:
    CQXReader_CCIDApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnAppAbout();
};

extern CQXReader_CCIDApp theApp;
