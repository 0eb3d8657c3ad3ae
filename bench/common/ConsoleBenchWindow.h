// The console's main frame with one empty trace window, set up in a benchmark process (no poll timer).
#pragma once

#include <windows.h>

#include <cstdio>

#include "console/ChildFrame.h"
#include "console/MainFrame.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "res/console/resource.h"
#include "skin/SkinEngine.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

class CConsoleBenchApp : public CWinApp {
public:
    CConsoleBenchApp() : CWinApp("QXReader_CCID") {}

    // Registers the trace template, creates and shows the main frame and opens one trace window.
    // Returns the frame (owned by its window), or null when it could not be created.
    CMainFrame* OpenConsoleWindow() {
        InitApplication(::GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        EnableControlContainer();
        AddDocTemplate(CMultiDocTemplate::Make<CQXReader_CCIDDoc, CChildFrame, CQXReader_CCIDView>(IDR_TRACETYPE));
        CMainFrame* frame = new CMainFrame;
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
            std::printf("the main frame could not be created\n");
            return nullptr;
        }
        m_pMainWnd = frame;
        frame->KillTimer(1); // no reader poll while measuring
        frame->ShowWindow(SW_SHOWNORMAL);
        OnFileNew();
        return frame;
    }

    // The same as the console starts: the skin engine running in Devior and the dialogs' object named first.
    CMainFrame* OpenSkinnedConsoleWindow() {
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        if (!SkinEngineInit(instance, "QXReader_CCID", 0, 0) || !SkinLoadResource(instance, "Devior", "SKINWEAVE")) {
            std::printf("the skin engine did not start\n");
            return nullptr;
        }
        SkinSetDialogObjectName("QXReader_CCID");
        return OpenConsoleWindow();
    }
};
