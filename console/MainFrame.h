// The console's main window: menus and bars, the one-second reader poll, and every reader and log command.
#pragma once

#include <windows.h>
#include <winscard.h>
#include <memory>
#include <string>
#include "console/ConnectReaderDlg.h"
#include "framework/MDIFrameWnd.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"

class CCmdUI;

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
    DWORD RunScript(const char *pszText, DWORD cbText);

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
    // The skin in force: 1 Devior (the start-up skin), 2 FuturaIII, 3 Kromo, 4 Corona, 5 Xpsteel.
    int m_nSkin = 1;

protected:
    int OnCreate(LPCREATESTRUCTA lpCreateStruct) override;
    void OnTimer(UINT_PTR nIDEvent) override;
};
