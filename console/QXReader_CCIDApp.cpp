#include "console/QXReader_CCIDApp.h"

#include <memory>

#include "console/AboutDlg.h"
#include "console/BatchCommandLineInfo.h"
#include "console/BatchRun.h"
#include "console/ChildFrame.h"
#include "console/MainFrame.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkIds.h"
#include "res/console/resource.h"
#include "skin/SkinEngine.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

CQXReader_CCIDApp theApp;

CQXReader_CCIDApp::CQXReader_CCIDApp() {
    MapCommand(ID_APP_ABOUT, &CQXReader_CCIDApp::OnAppAbout);
    MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
    MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
    MapCommand(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup);
    // The recent-file entries and Exit, which our framework leaves to the application's table.
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, &CWinApp::OnOpenRecentFile);
    MapUpdateUI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu);
    MapCommand(ID_APP_EXIT, &CWinApp::OnAppExit);
}

BOOL CQXReader_CCIDApp::InitInstance() {
    EnableControlContainer();
    // The skin engine: results are not used; without it the console keeps the system's look.
    SkinEngineInit(m_hInstance, "QXReader_CCID", 0, 0);
    SkinLoadResource(m_hInstance, "Devior", "SKINWEAVE");
    SkinSetDialogObjectName("QXReader_CCID");
    Enable3dControlsStatic();
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    AddDocTemplate(CMultiDocTemplate::Make<CQXReader_CCIDDoc, CChildFrame, CQXReader_CCIDView>(IDR_TRACETYPE));

    CMainFrame *pMainFrame = new CMainFrame;
    if (!pMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete pMainFrame;
        return FALSE;
    }
    m_pMainWnd = pMainFrame;

    CBatchCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // With batch switches nobody waits at the screen: from here on no message box is shown.
    std::unique_ptr<CBatchRun> batch;
    if (cmdInfo.IsBatch())
        batch.reset(new CBatchRun(cmdInfo));
    if (!ProcessShellCommand(cmdInfo)) {
        if (batch) {
            m_nBatchExitCode = batch->Abandon();
            m_bBatchExitCode = true;
        }
        return FALSE;
    }

    SkinAttachFrame(pMainFrame->m_hWnd, "MainFrame");
    pMainFrame->ShowWindow(m_nCmdShow);
    pMainFrame->UpdateWindow();
    if (batch) {
        // The frame and its trace window are drawn before the run holds the thread.
        ::RedrawWindow(pMainFrame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_nBatchExitCode = batch->Run(*pMainFrame);
        if (batch->WantsExit()) {
            m_bBatchExitCode = true;
            pMainFrame->PostMessage(WM_CLOSE);
        }
    }
    return TRUE;
}

int CQXReader_CCIDApp::ExitInstance() {
    SkinEngineExit();
    int rc = CWinApp::ExitInstance();
    return m_bBatchExitCode ? m_nBatchExitCode : rc;
}

void CQXReader_CCIDApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
