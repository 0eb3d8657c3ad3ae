// The application object: start-up and shut-down, the message loop with idle updates, settings, documents.
#pragma once

#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"
#include "framework/CommandLineInfo.h"
#include "platform/Handle.h"

class CDocument;
class CMultiDocTemplate;
class CRecentFileList;
class CWnd;

class CWinApp : public CCmdTarget {
public:
    // The one application object registers itself; AfxGetApp() finds it.
    explicit CWinApp(const char *lpszAppName = nullptr);
    ~CWinApp() override;

    // Reads the title (string 57344 unless given) and the command line; called before InitInstance.
    virtual BOOL InitApplication(HINSTANCE hInstance, const char *lpCmdLine, int nCmdShow);
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result when WM_QUIT arrives.
    virtual int Run();
    // Idle-time work; non-zero asks for more idle calls. Count 0 refreshes the main frame's bars and title.
    virtual BOOL OnIdle(LONG lCount);
    // Offers a message to its window's chain of framework windows (accelerators, dialog keys).
    virtual BOOL PreTranslateMessage(MSG *pMsg);
    // One pass of the loop's body for messages already waiting (tests pump with it); FALSE after WM_QUIT.
    BOOL PumpWaitingMessages();

    // Common controls for the frame's bars and views. Both calls are kept for the start-up order of the programs.
    void EnableControlContainer();
    void Enable3dControlsStatic();

    // Settings under HKCU\Software\<key>\<application title>.
    void SetRegistryKey(const std::string &key);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    std::string GetProfileString(const std::string &section, const std::string &entry,
                                 const std::string &defaultValue = std::string());
    // A null value deletes the entry.
    BOOL WriteProfileString(const std::string &section, const std::string &entry, const std::string *value);
    UINT GetProfileInt(const std::string &section, const std::string &entry, int defaultValue);
    BOOL WriteProfileInt(const std::string &section, const std::string &entry, int value);
    // HKCU\Software\<key>\<title> as a path below HKEY_CURRENT_USER (empty without a registry key).
    std::string GetAppRegistryPath() const;
    // The settings key of a section (created when writing); empty when there is none or it cannot be had.
    CRegKey OpenSectionKey(const std::string &section, bool write);

    // Documents.
    void AddDocTemplate(CMultiDocTemplate *pTemplate); // takes ownership
    CMultiDocTemplate *GetFirstDocTemplate() const;
    virtual CDocument *OpenDocumentFile(const std::string &path);
    virtual void AddToRecentFileList(const std::string &path);
    CRecentFileList *GetRecentFileList() const { return m_pRecentFileList.get(); }
    // Asks for a file name with the template's filter; tests replace it. Non-zero when a name was chosen.
    virtual BOOL DoPromptFileName(std::string &fileName, BOOL bOpenFileDialog, CMultiDocTemplate *pTemplate);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);

    void ParseCommandLine(CCommandLineInfo &info);
    BOOL ProcessShellCommand(CCommandLineInfo &info);

    // Printer defaults shared by print setup and printing; false when no printer is installed.
    bool GetPrinterDeviceDefaults(PRINTDLGA &pd);
    HGLOBAL GetDevMode() const { return m_hDevMode.Get(); }
    HGLOBAL GetDevNames() const { return m_hDevNames.Get(); }
    void UpdatePrinterSelection(PRINTDLGA &pd);

    // Standard command handlers; an application maps the ones it offers (New, Open, Print Setup) itself.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI *pCmdUI);

    std::string m_strAppName;
    HINSTANCE m_hInstance = nullptr;
    std::string m_strCmdLine;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd *m_pMainWnd = nullptr;
    std::string m_strRegistryKey;

private:
    std::vector<std::unique_ptr<CMultiDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    CGlobalMemory m_hDevMode;
    CGlobalMemory m_hDevNames;
    int m_nExitCode = 0;
    bool m_bIdleDone = false;
    LONG m_lIdleCount = 0;
};

CWinApp *AfxGetApp();
CWnd *AfxGetMainWnd();
// Loads a string resource of the program; false when there is none.
bool AfxLoadString(UINT nID, std::string &text);
// A printing failure for the user: what failed and the common-dialog error code.
std::string FormatPrintError(const std::string &what, DWORD err);
// The program's entry: InitApplication, InitInstance, Run.
int AfxWinMain(HINSTANCE hInstance, const char *lpCmdLine, int nCmdShow);
