// The console's main window: menus and bars, the one-second reader poll, and every reader and log command.
#pragma once

#include <windows.h>
#include <winscard.h>
#include <memory>
#include <string>
#include <vector>
#include "console/ConnectReaderDlg.h"
#include "framework/MDIFrameWnd.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"

class CCmdUI;

// What a script run did, counted as it went: commands handed to the reader, those that did not end with 9000, and
// those that got no answer at all (the exchange failed, so the status stayed 0).
struct ScriptRunCounts {
    DWORD nCommands = 0;
    DWORD nFailures = 0;
    DWORD nUnsent = 0;
};

class CMainFrame : public CMDIFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Sets m_bLogged and sends the line to the active trace view; PostTraceLine's result.
    int AddTrace(const char *pszText);
    // One look at the PC/SC reader list: 0, -1 (no list) or the PC/SC error (the timer ignores it).
    LONG PollReaders();
    // A one-button text tool bar for the command at nCommandIndex of {connect, disconnect}; 1 on success.
    int CreateCommandBar(CToolBar &bar, UINT nID, UINT nIDResource, int nCommandIndex, const std::string &strText);
    // Runs script text against theReader, every step traced; 0 after a complete run, else the code that stopped it.
    // The counts, when asked for, are added to.
    DWORD RunScript(const char *pszText, DWORD cbText, ScriptRunCounts *pCounts = nullptr);
    // The script command once its file is chosen: reads the file and runs it. False when the file could not be read
    // (or is empty), with nothing run; else true whatever the run's result, which goes to pResult when given.
    bool RunScriptFile(const std::string &strPath, ScriptRunCounts *pCounts = nullptr, DWORD *pResult = nullptr);
    // The whole of a script file plus one zero byte; false when it cannot be opened or read, or is empty.
    static bool ReadScriptFile(const std::string &strPath, std::vector<char> &text);
    // The connect dialog's connect for a named reader, with the frame's lines: "请插入读卡器！" before any reader
    // list (one poll is made first), else "连接成功！" or "连接失败！". Non-zero when connected.
    BOOL ConnectReaderByName(const std::string &strReader);

    void OnReaderConnect();
    void OnReaderDisconnect();
    void OnReaderAtr();
    void OnReaderApdu();
    void OnReaderScript();
    void OnLogClear();
    void OnUpdateReaderCommands(CCmdUI *pCmdUI);

    // The skin menu: each command loads its embedded skin; the check mark shows the skin in force.
    void OnSkinDevior();
    void OnSkinFutura();
    void OnSkinKromo();
    void OnSkinCorona();
    void OnSkinXpsteel();
    void OnUpdateSkin(CCmdUI *pCmdUI);
    // Loads the skin of the command; m_nSkin takes its number only when the skin was loaded and is in force.
    void ChooseSkin(UINT nID);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    UINT_PTR m_nTimer = 0;
    std::unique_ptr<char[]> m_pReaderList;
    DWORD m_nReaderListLen = 0;
    CConnectReaderDlg m_dlgConnect;
    SCARDCONTEXT m_hContext = 0;
    BOOL m_bLogged = FALSE;
    BOOL m_bConnected = FALSE;
    CToolBar m_wndConnectBar;
    CToolBar m_wndDisconnectBar;
    // The reader-list warning is up: later ticks keep polling but raise no second box.
    bool m_bReaderWarningOpen = false;
    // An unattended run is going on: nobody is there to answer a box, so the reader-list warning becomes one trace
    // line (once per run) instead.
    bool m_bBatchActive = false;
    bool m_bReaderWarningLogged = false;
    // The skin in force: 1 Devior (the start-up skin), 2 FuturaIII, 3 Kromo, 4 Corona, 5 Xpsteel.
    int m_nSkin = 1;

protected:
    int OnCreate(LPCREATESTRUCTA lpCreateStruct) override;
    void OnTimer(UINT_PTR nIDEvent) override;
};
