#include "framework/WinApp.h"

#include <commctrl.h>
#include <commdlg.h>
#include <vector>
#include "framework/CmdUI.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkIds.h"
#include "framework/MessageBox.h"
#include "framework/RecentFileList.h"

namespace {
CWinApp *g_pApp = nullptr;

// Longest registry value the settings read; longer values are treated as absent.
const DWORD kMaxProfileValue = 32 * 1024;

bool IsIdleMessage(const MSG &msg) {
    static POINT lastPos = {-1, -1};
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == lastPos.x && msg.pt.y == lastPos.y)
            return false;
        lastPos = msg.pt;
        return true;
    }
    // Painting and the caret's blink do not change any command's state.
    return msg.message != WM_PAINT && msg.message != 0x0118;
}
} // namespace

std::string FormatPrintError(const std::string &what, DWORD err) {
    char code[16];
    ::wsprintfA(code, "%x", static_cast<unsigned>(err));
    return what + "（错误码 0x" + code + "）。";
}

CWinApp *AfxGetApp() {
    return g_pApp;
}

CWnd *AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

bool AfxLoadString(UINT nID, std::string &text) {
    // String-table entries are at most 4,095 characters; GBK needs two bytes for most of them.
    std::vector<char> buf(8192);
    int n = ::LoadStringA(::GetModuleHandleA(nullptr), nID, buf.data(), static_cast<int>(buf.size()));
    if (n <= 0)
        return false;
    text.assign(buf.data(), static_cast<size_t>(n));
    return true;
}

CWinApp::CWinApp(const char *lpszAppName) {
    if (lpszAppName)
        m_strAppName = lpszAppName;
    g_pApp = this;
    // Exit and the recent-file entries are the application's own commands in every program.
    MapCommand(ID_APP_EXIT, &CWinApp::OnAppExit);
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, &CWinApp::OnOpenRecentFile);
    MapUpdateUI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu);
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication(HINSTANCE hInstance, const char *lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance;
    m_strCmdLine = lpCmdLine ? lpCmdLine : "";
    m_nCmdShow = nCmdShow;
    if (m_strAppName.empty() && !AfxLoadString(AFX_IDS_APP_TITLE, m_strAppName)) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string p = path;
        size_t slash = p.find_last_of("\\/");
        m_strAppName = p.substr(slash == std::string::npos ? 0 : slash + 1);
        size_t dot = m_strAppName.rfind('.');
        if (dot != std::string::npos)
            m_strAppName.resize(dot);
    }
    return TRUE;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return m_nExitCode;
}

void CWinApp::EnableControlContainer() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
}

void CWinApp::Enable3dControlsStatic() {
    EnableControlContainer();
}

BOOL CWinApp::PreTranslateMessage(MSG *pMsg) {
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd *pWnd = CWnd::FromHandlePermanent(h)) {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0) {
        if (CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(m_pMainWnd)) {
            if (pFrame->m_hWnd && ::IsWindowVisible(pFrame->m_hWnd))
                pFrame->OnIdleUpdateCmdUI();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CWinApp::PumpWaitingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    for (LONG n = 0; OnIdle(n); ++n) {
    }
    return TRUE;
}

int CWinApp::Run() {
    for (;;) {
        MSG msg;
        while (!m_bIdleDone && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(m_lIdleCount++))
                m_bIdleDone = true;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            return ExitInstance();
        }
        if (got == -1)
            continue;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg)) {
            m_bIdleDone = false;
            m_lIdleCount = 0;
        }
    }
}

// ---- settings

void CWinApp::SetRegistryKey(const std::string &key) {
    m_strRegistryKey = key;
}

std::string CWinApp::GetAppRegistryPath() const {
    if (m_strRegistryKey.empty())
        return std::string();
    return "Software\\" + m_strRegistryKey + "\\" + m_strAppName;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU == 0)
        return;
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    m_pRecentFileList.reset(
        new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", static_cast<int>(nMaxMRU)));
    m_pRecentFileList->ReadList(*this);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList && !m_strRegistryKey.empty())
        m_pRecentFileList->WriteList(*this);
}

CRegKey CWinApp::OpenSectionKey(const std::string &section, bool write) {
    CRegKey key;
    const std::string path = GetAppRegistryPath();
    if (path.empty())
        return key;
    const std::string name = path + "\\" + section;
    HKEY raw = nullptr;
    LONG rc = write ? ::RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr)
                    : ::RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &raw);
    if (rc == ERROR_SUCCESS)
        key.Attach(raw);
    return key;
}

std::string CWinApp::GetProfileString(const std::string &section, const std::string &entry,
                                      const std::string &defaultValue) {
    CRegKey key = OpenSectionKey(section, false);
    if (!key.IsValid())
        return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxProfileValue)
        return defaultValue;
    std::vector<char> buf(size + 1, '\0');
    if (::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(buf.data()), &size) !=
        ERROR_SUCCESS)
        return defaultValue;
    // The stored value may or may not carry its terminating zero.
    return std::string(buf.data());
}

BOOL CWinApp::WriteProfileString(const std::string &section, const std::string &entry, const std::string *value) {
    CRegKey key = OpenSectionKey(section, true);
    if (!key.IsValid())
        return FALSE;
    if (!value) {
        LONG rc = ::RegDeleteValueA(key.Get(), entry.c_str());
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    return ::RegSetValueExA(key.Get(), entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value->c_str()),
                            static_cast<DWORD>(value->size() + 1)) == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(const std::string &section, const std::string &entry, int defaultValue) {
    CRegKey key = OpenSectionKey(section, false);
    if (!key.IsValid())
        return static_cast<UINT>(defaultValue);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key.Get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CWinApp::WriteProfileInt(const std::string &section, const std::string &entry, int value) {
    CRegKey key = OpenSectionKey(section, true);
    if (!key.IsValid())
        return FALSE;
    DWORD v = static_cast<DWORD>(value);
    return ::RegSetValueExA(key.Get(), entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&v), sizeof(v)) ==
           ERROR_SUCCESS;
}

// ---- documents

void CWinApp::AddDocTemplate(CMultiDocTemplate *pTemplate) {
    if (!pTemplate)
        return;
    pTemplate->LoadTemplate();
    m_templates.emplace_back(pTemplate);
}

CMultiDocTemplate *CWinApp::GetFirstDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

CDocument *CWinApp::OpenDocumentFile(const std::string &path) {
    CMultiDocTemplate *pTemplate = GetFirstDocTemplate();
    if (!pTemplate)
        return nullptr;
    // A file already open only gets its window brought forward.
    if (CDocument *pOpen = pTemplate->FindOpenDocument(path)) {
        pOpen->ActivateFirstFrame();
        return pOpen;
    }
    return pTemplate->OpenDocumentFile(path.c_str());
}

void CWinApp::AddToRecentFileList(const std::string &path) {
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(path);
        // Written at once so that the list survives a program that does not end normally.
        SaveStdProfileSettings();
    }
}

BOOL CWinApp::DoPromptFileName(std::string &fileName, BOOL bOpenFileDialog, CMultiDocTemplate *pTemplate) {
    std::string filter;
    std::string ext;
    if (pTemplate) {
        std::string name;
        if (pTemplate->GetDocString(name, CMultiDocTemplate::filterName) &&
            pTemplate->GetDocString(ext, CMultiDocTemplate::filterExt) && !name.empty() && !ext.empty())
            filter = name + "|*" + ext + "|";
    }
    filter += "所有文件(*.*)|*.*||";
    std::string defExt = (!ext.empty() && ext[0] == '.') ? ext.substr(1) : ext;
    DWORD flags = OFN_HIDEREADONLY | (bOpenFileDialog ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    CFileDialog dlg(bOpenFileDialog, defExt.empty() ? nullptr : defExt.c_str(),
                    fileName.empty() ? nullptr : fileName.c_str(), flags, filter.c_str(), m_pMainWnd);
    dlg.m_strTitle = bOpenFileDialog ? "打开" : "另存为";
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

BOOL CWinApp::SaveAllModified() {
    for (auto &t : m_templates) {
        if (!t->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (auto &t : m_templates)
        t->CloseAllDocuments(bEndSession);
}

void CWinApp::ParseCommandLine(CCommandLineInfo &info) {
    info.ParseParameters(m_strCmdLine);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo &info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnFileNew() {
    if (CMultiDocTemplate *pTemplate = GetFirstDocTemplate())
        pTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    std::string name;
    if (!DoPromptFileName(name, TRUE, GetFirstDocTemplate()))
        return;
    OpenDocumentFile(name);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList)
        return;
    int index = static_cast<int>(nID) - ID_FILE_MRU_FILE1;
    if (index < 0 || index >= m_pRecentFileList->GetSize())
        return;
    // A file that cannot be opened is reported by the open itself; its entry stays.
    std::string path = (*m_pRecentFileList)[index];
    OpenDocumentFile(path);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI *pCmdUI) {
    if (m_pRecentFileList) {
        m_pRecentFileList->UpdateMenu(pCmdUI);
    } else {
        pCmdUI->Enable(FALSE);
    }
}

// ---- printing

bool CWinApp::GetPrinterDeviceDefaults(PRINTDLGA &pd) {
    if (!m_hDevNames.IsValid()) {
        PRINTDLGA probe = {};
        probe.lStructSize = sizeof(probe);
        probe.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&probe))
            return false;
        m_hDevMode.Attach(probe.hDevMode);
        m_hDevNames.Attach(probe.hDevNames);
    }
    pd.hDevMode = m_hDevMode.Get();
    pd.hDevNames = m_hDevNames.Get();
    return true;
}

void CWinApp::UpdatePrinterSelection(PRINTDLGA &pd) {
    if (pd.hDevMode != m_hDevMode.Get())
        m_hDevMode.Attach(pd.hDevMode);
    if (pd.hDevNames != m_hDevNames.Get())
        m_hDevNames.Attach(pd.hDevNames);
}

void CWinApp::OnFilePrintSetup() {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (!GetPrinterDeviceDefaults(pd)) {
        AfxMessageBox("没有安装打印机。\n请先在系统中安装打印机，再设置打印。", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    pd.Flags = PD_PRINTSETUP;
    if (::PrintDlgA(&pd)) {
        UpdatePrinterSelection(pd);
        return;
    }
    DWORD err = ::CommDlgExtendedError();
    if (err == PDERR_NODEFAULTPRN || err == PDERR_NODEVICES || err == PDERR_PRINTERNOTFOUND)
        AfxMessageBox("没有安装打印机。\n请先在系统中安装打印机，再设置打印。", MB_OK | MB_ICONEXCLAMATION);
    else if (err != 0)
        AfxMessageBox(FormatPrintError("打印设置失败", err), MB_OK | MB_ICONEXCLAMATION);
}

int AfxWinMain(HINSTANCE hInstance, const char *lpCmdLine, int nCmdShow) {
    CWinApp *app = AfxGetApp();
    if (!app || !app->InitApplication(hInstance, lpCmdLine, nCmdShow))
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            ::DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}
