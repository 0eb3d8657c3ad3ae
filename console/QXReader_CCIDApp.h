// The console's application object: settings, the trace document template, the main frame, the first window.
#pragma once

#include "framework/WinApp.h"

class CQXReader_CCIDApp : public CWinApp {
public:
    CQXReader_CCIDApp();

    BOOL InitInstance() override;
    // The framework's exit; after a batch run that asked to exit (or a batch start that failed), its exit code.
    int ExitInstance() override;
    void OnAppAbout();

private:
    bool m_bBatchExitCode = false;
    int m_nBatchExitCode = 0;
};

extern CQXReader_CCIDApp theApp;
