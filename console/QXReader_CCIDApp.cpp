#include "console/QXReader_CCIDApp.h"

#include "console/AboutDlg.h"
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

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    SkinAttachFrame(pMainFrame->m_hWnd, "MainFrame");
    pMainFrame->ShowWindow(m_nCmdShow);
    pMainFrame->UpdateWindow();
    return TRUE;
}

int CQXReader_CCIDApp::ExitInstance() {
    SkinEngineExit();
    return CWinApp::ExitInstance();
}

void CQXReader_CCIDApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
