#include "console/MainFrame.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>
#include "console/ApduCommandDlg.h"
#include "console/ApduScriptRunner.h"
#include "text/HexText.h"
#include "text/StringEdit.h"
#include "console/TraceLine.h"
#include "framework/CmdUI.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkIds.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "reader/PcscApi.h"
#include "reader/QXCCIDINT.h"
#include "res/console/resource.h"
#include "skin/SkinEngine.h"
#include "trace/TraceMessages.h"

namespace {
const UINT kPollTimerId = 1;
const UINT kPollPeriodMs = 1000;
const UINT kReaderCommands[2] = {ID_READER_CONNECT, ID_READER_DISCONNECT};
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const DWORD kBarStyle =
    WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
// The largest script file read into memory; a bigger one ends the command like an unreadable file.
const DWORD kMaxScriptBytes = 64u * 1024u * 1024u;

// The skin menu's commands: the embedded resource each loads (names match without regard to case) and its number.
// Corona's and Xpsteel's ids run opposite to their menu order.
const struct {
    UINT nID;
    const char *pszResource;
    int nSkin;
} kSkinCommands[] = {{ID_SKIN_DEVIOR, "DEVIOR", 1},
                     {ID_SKIN_FUTURA, "futuraIII", 2},
                     {ID_SKIN_KROMO, "Kromo", 3},
                     {ID_SKIN_CORONA, "corona", 4},
                     {ID_SKIN_XPSTEEL, "xpsteel", 5}};
const char kSkinType[] = "SKINWEAVE";
} // namespace

CMainFrame::CMainFrame() {
    MapCommand(ID_READER_CONNECT, &CMainFrame::OnReaderConnect);
    MapCommand(ID_READER_DISCONNECT, &CMainFrame::OnReaderDisconnect);
    MapCommand(ID_READER_ATR, &CMainFrame::OnReaderAtr);
    MapCommand(ID_READER_APDU, &CMainFrame::OnReaderApdu);
    MapCommand(ID_READER_SCRIPT, &CMainFrame::OnReaderScript);
    MapCommand(ID_LOG_CLEAR, &CMainFrame::OnLogClear);
    static const UINT updated[] = {ID_READER_CONNECT, ID_READER_DISCONNECT, ID_READER_ATR,     ID_READER_APDU,
                                   ID_READER_SCRIPT,  ID_LOG_CLEAR,         ID_VIEW_HIGHLIGHT, ID_VIEW_GRID};
    for (UINT id : updated)
        MapUpdateUI(id, &CMainFrame::OnUpdateReaderCommands);
    MapCommand(ID_SKIN_DEVIOR, &CMainFrame::OnSkinDevior);
    MapCommand(ID_SKIN_FUTURA, &CMainFrame::OnSkinFutura);
    MapCommand(ID_SKIN_KROMO, &CMainFrame::OnSkinKromo);
    MapCommand(ID_SKIN_CORONA, &CMainFrame::OnSkinCorona);
    MapCommand(ID_SKIN_XPSTEEL, &CMainFrame::OnSkinXpsteel);
    for (const auto &skin : kSkinCommands)
        MapUpdateUI(skin.nID, &CMainFrame::OnUpdateSkin);
}

CMainFrame::~CMainFrame() {
    m_bLogged = FALSE;
    m_bConnected = FALSE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kBarStyle) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(sizeof(kIndicators) / sizeof(kIndicators[0]))))
        return -1;

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    m_nTimer = SetTimer(kPollTimerId, kPollPeriodMs);

    if (CreateCommandBar(m_wndConnectBar, IDW_CONNECTBAR, IDR_CONNECTBAR, 0, "连接设备") != 1)
        return -1;
    if (CreateCommandBar(m_wndDisconnectBar, IDW_DISCONNECTBAR, IDR_DISCONNECTBAR, 1, "断开设备") != 1)
        return -1;

    // The two command bars join the standard tool bar's row.
    RecalcLayout(FALSE);
    RECT rc = {};
    m_wndToolBar.GetWindowRect(&rc);
    DockControlBar(&m_wndDisconnectBar, AFX_IDW_DOCKBAR_TOP, &rc);
    m_wndDisconnectBar.GetWindowRect(&rc);
    DockControlBar(&m_wndConnectBar, AFX_IDW_DOCKBAR_TOP, &rc);
    RecalcLayout(TRUE);
    return 0;
}

int CMainFrame::CreateCommandBar(CToolBar &bar, UINT nID, UINT nIDResource, int nCommandIndex,
                                 const std::string &strText) {
    if (nCommandIndex < 0 || nCommandIndex > 1)
        return 0;
    BOOL rc = bar.CreateEx(this, TBSTYLE_FLAT, kBarStyle, RECT{0, 0, 0, 0}, nID);
    if (rc != 1)
        return rc;
    rc = bar.LoadToolBar(nIDResource);
    if (rc != 1)
        return rc;
    rc = bar.SetButtons(&kReaderCommands[nCommandIndex], 1);
    if (rc != 1)
        return rc;
    rc = bar.SetButtonText(0, strText);
    if (rc != 1)
        return rc;
    bar.SetSizes(SIZE{23, 22}, SIZE{16, 16});
    bar.EnableDocking(CBRS_ALIGN_TOP);
    EnableDocking(CBRS_ALIGN_TOP);
    DockControlBar(&bar);
    return 1;
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
    PollReaders();
    CMDIFrameWnd::OnTimer(nIDEvent);
}

LONG CMainFrame::PollReaders() {
    const PcscApi &pcsc = Pcsc();
    if (!m_hContext) {
        SCARDCONTEXT hContext = 0;
        LONG rc = pcsc.EstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &hContext);
        if (rc != SCARD_S_SUCCESS)
            return rc;
        m_hContext = hContext;
    }
    LPSTR pList = nullptr;
    DWORD cchList = SCARD_AUTOALLOCATE;
    LONG rc = pcsc.ListReadersA(m_hContext, nullptr, reinterpret_cast<LPSTR>(&pList), &cchList);
    if (rc != SCARD_S_SUCCESS)
        return rc;
    if (!pList || cchList == 0) {
        if (pList)
            pcsc.FreeMemory(m_hContext, pList);
        return -1;
    }
    if (!m_pReaderList) {
        char *copy = new (std::nothrow) char[static_cast<size_t>(cchList) + 1];
        if (!copy) {
            pcsc.FreeMemory(m_hContext, pList);
            return -1;
        }
        std::memset(copy, 0, static_cast<size_t>(cchList) + 1);
        std::memcpy(copy, pList, cchList);
        m_pReaderList.reset(copy);
        m_nReaderListLen = cchList;
        pcsc.FreeMemory(m_hContext, pList);
        return 0;
    }
    // Lists of different lengths always differ within the shorter one, so the length decides.
    bool changed = cchList != m_nReaderListLen;
    pcsc.FreeMemory(m_hContext, pList);
    if (changed && !m_bReaderWarningOpen) {
        m_bReaderWarningOpen = true;
        AfxMessageBox("请重新连接读卡器！", MB_OK);
        m_bReaderWarningOpen = false;
    }
    return 0;
}

int CMainFrame::AddTrace(const char *pszText) {
    m_bLogged = TRUE;
    return PostTraceLine(pszText, -1);
}

void CMainFrame::OnReaderConnect() {
    if (!m_hContext || !m_pReaderList) {
        theMessage = "请插入读卡器！";
    } else {
        m_dlgConnect.SetReaders(m_hContext, m_pReaderList.get(), m_nReaderListLen + 1);
        theMessage = m_dlgConnect.DoModal() == IDOK ? "连接成功！" : "连接失败！";
    }
    AddTrace(theMessage.c_str());
}

void CMainFrame::OnReaderDisconnect() {
    theMessage = theReader.Disconnect() ? "断开设备成功！" : "断开设备失败！";
    AddTrace(theMessage.c_str());
}

void CMainFrame::OnReaderAtr() {
    BYTE atr[CCardReader::ATR_CAPACITY] = {};
    DWORD cbAtr = 0;
    if (!theReader.GetAtr(atr, &cbAtr)) {
        char buf[64];
        std::snprintf(buf, sizeof(buf), "获取ATR失败！错误码为 = 0x%x", static_cast<unsigned>(::GetLastError()));
        theMessage = buf;
        AddTrace(theMessage.c_str());
        return;
    }
    theMessage = "获取ATR成功！";
    AddTrace(theMessage.c_str());
    char text[100] = {};
    DWORD cchText = 0;
    BytesToHexText(atr, cbAtr, text, &cchText); // learns the length
    if (cchText < sizeof(text) && BytesToHexText(atr, cbAtr, text, &cchText))
        theMessage.assign(text, cchText);
    else
        theMessage = "转换字符串失败！";
    AddTrace(theMessage.c_str());
}

void CMainFrame::OnReaderApdu() {
    CApduCommandDlg dlg(this);
    dlg.DoModal();
}

void CMainFrame::OnReaderScript() {
    CFileDialog dlg(TRUE, "脚本", "*.txt", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    "testscript (*.txt)|*.log|All Files (*.*)|*.*||", nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    CFile file;
    if (!file.Open(dlg.GetPathName(), CFile::modeRead | CFile::shareDenyWrite))
        return;
    DWORD length = 0;
    if (!file.GetLength(length) || length == 0 || length > kMaxScriptBytes)
        return;
    std::vector<char> buffer;
    try {
        buffer.assign(static_cast<size_t>(length) + 1, '\0');
    } catch (const std::bad_alloc &) {
        return;
    }
    DWORD got = 0;
    while (got < length) {
        DWORD n = file.Read(buffer.data() + got, length - got);
        if (n == 0)
            break;
        got += n;
    }
    file.Close();
    if (got == 0)
        return;
    RunScript(buffer.data(), got);
}

DWORD CMainFrame::RunScript(const char *pszText, DWORD cbText) {
    return RunApduScript(
        pszText, cbText,
        [](const BYTE *command, DWORD length, BYTE *data, DWORD *dataLength, WORD *status) {
            return theReader.Transmit(command, length, data, dataLength, status);
        },
        [](const std::string &line) {
            theMessage = line;
            PostTraceLine(theMessage.c_str(), -1);
        });
}

void CMainFrame::OnLogClear() {
    HWND hView = FindActiveTraceView();
    if (!hView) {
        AddTrace("清除log失败！");
        return;
    }
    ::SendNotifyMessageA(hView, WM_TRACE_CLEAR, 0, 0);
}

void CMainFrame::OnUpdateReaderCommands(CCmdUI *pCmdUI) {
    switch (pCmdUI->m_nID) {
    case ID_READER_CONNECT:
        m_bConnected = theReader.m_hCard != 0;
        pCmdUI->Enable(!m_bConnected);
        break;
    case ID_READER_DISCONNECT:
    case ID_READER_ATR:
    case ID_READER_APDU:
    case ID_READER_SCRIPT:
        pCmdUI->Enable(m_bConnected);
        break;
    case ID_LOG_CLEAR:
        pCmdUI->Enable(m_bLogged);
        break;
    default:
        pCmdUI->Enable(TRUE);
        break;
    }
}

void CMainFrame::OnSkinDevior() {
    ChooseSkin(ID_SKIN_DEVIOR);
}

void CMainFrame::OnSkinFutura() {
    ChooseSkin(ID_SKIN_FUTURA);
}

void CMainFrame::OnSkinKromo() {
    ChooseSkin(ID_SKIN_KROMO);
}

void CMainFrame::OnSkinCorona() {
    ChooseSkin(ID_SKIN_CORONA);
}

void CMainFrame::OnSkinXpsteel() {
    ChooseSkin(ID_SKIN_XPSTEEL);
}

void CMainFrame::ChooseSkin(UINT nID) {
    for (const auto &skin : kSkinCommands) {
        if (skin.nID != nID)
            continue;
        // A skin that cannot be loaded leaves the one in force, and so the check mark, where they are.
        if (SkinLoadResource(AfxGetApp()->m_hInstance, skin.pszResource, kSkinType))
            m_nSkin = skin.nSkin;
        return;
    }
}

void CMainFrame::OnUpdateSkin(CCmdUI *pCmdUI) {
    for (const auto &skin : kSkinCommands)
        if (skin.nID == pCmdUI->m_nID)
            pCmdUI->SetCheck(skin.nSkin == m_nSkin ? 1 : 0);
}
