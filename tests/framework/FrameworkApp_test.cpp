// A small MDI application on the framework, driven through its messages: document naming, menus, update
// handlers, open and save with their error messages, dialogs with data exchange, bars, recent files.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "platform/ClientDC.h"
#include "platform/SelectObject.h"
#include "framework/Archive.h"
#include "framework/CmdUI.h"
#include "framework/ComboBox.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/DockBar.h"
#include "framework/Document.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkIds.h"
#include "framework/ListView.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/RecentFileList.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "framework/WinApp.h"
#include "tests/framework/FrameworkTestIds.h"

namespace {

// ---- the test application

class CTestDoc : public CDocument {
public:
    CTestDoc() {
        MapCommand(ID_TEST_DOC_CMD, &CTestDoc::OnDocCommand);
        ++s_nLive;
    }
    ~CTestDoc() override { --s_nLive; }
    void Serialize(CArchive &ar) override {
        if (ar.IsStoring()) {
            for (const std::string &r : m_records)
                ar.WriteString(r);
            return;
        }
        m_records.clear();
        std::string s;
        while (!ar.AtEnd() && ar.ReadString(s))
            m_records.push_back(s);
    }
    void OnDocCommand() { ++m_nCommands; }

    std::vector<std::string> m_records;
    int m_nCommands = 0;
    static int s_nLive;
};
int CTestDoc::s_nLive = 0;

class CTestView : public CListView {
public:
    CTestView() {
        MapCommand(ID_TEST_CHECK, &CTestView::OnCheck);
        MapUpdateUI(ID_TEST_CHECK, &CTestView::OnUpdateCheck);
        MapCommand(ID_FILE_PRINT, &CView::OnFilePrint);
        MapCommand(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect);
        MapCommand(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview);
    }
    BOOL PreCreateWindow(CREATESTRUCTA &cs) override {
        cs.style |= LVS_REPORT;
        return CListView::PreCreateWindow(cs);
    }
    void OnInitialUpdate() override {
        CListView::OnInitialUpdate();
        GetListCtrl().InsertColumn(0, "NO.", LVCFMT_CENTER, 96);
        ++m_nInitialUpdates;
    }
    void OnCheck() { m_bChecked = !m_bChecked; }
    void OnUpdateCheck(CCmdUI *pCmdUI) { pCmdUI->SetCheck(m_bChecked ? 1 : 0); }

    BOOL m_bChecked = TRUE;
    int m_nInitialUpdates = 0;
};

class CTestChildFrame : public CMDIChildWnd {};

class CTestMainFrame : public CMDIFrameWnd {
public:
    CTestMainFrame() {
        MapCommand(ID_TEST_ENABLE, &CTestMainFrame::OnTestEnable);
        MapUpdateUI(ID_TEST_ENABLE, &CTestMainFrame::OnUpdateTestEnable);
        MapCommand(ID_TEST_CONNECT, &CTestMainFrame::OnConnect);
        MapCommand(ID_TEST_DISCONNECT, &CTestMainFrame::OnDisconnect);
        MapUpdateUIRange(ID_TEST_CONNECT, ID_TEST_DISCONNECT, &CTestMainFrame::OnUpdateConnection);
    }
    void OnTestEnable() { ++m_nEnableCommands; }
    void OnUpdateTestEnable(CCmdUI *pCmdUI) { pCmdUI->Enable(m_bEnable); }
    void OnConnect() { m_bConnected = TRUE; }
    void OnDisconnect() { m_bConnected = FALSE; }
    void OnUpdateConnection(CCmdUI *pCmdUI) {
        pCmdUI->Enable(pCmdUI->m_nID == ID_TEST_CONNECT ? !m_bConnected : m_bConnected);
    }

    BOOL CreateCommandBar(CToolBar &bar, UINT nID, UINT nIDResource, UINT nCommand, const std::string &text) {
        if (!bar.CreateEx(this, TBSTYLE_FLAT, kBarStyle, RECT{0, 0, 0, 0}, nID) || !bar.LoadToolBar(nIDResource) ||
            !bar.SetButtons(&nCommand, 1) || !bar.SetButtonText(0, text))
            return FALSE;
        bar.SetSizes(SIZE{23, 22}, SIZE{16, 16});
        bar.EnableDocking(CBRS_ALIGN_TOP);
        EnableDocking(CBRS_ALIGN_TOP);
        DockControlBar(&bar);
        return TRUE;
    }

    int OnCreate(LPCREATESTRUCTA lpcs) override {
        if (CMDIFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kBarStyle) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME) ||
            !m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4))
            return -1;
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        if (!CreateCommandBar(m_wndConnectBar, 1007, IDR_CONNECTBAR, ID_TEST_CONNECT, "连接设备") ||
            !CreateCommandBar(m_wndDisconnectBar, 1008, IDR_DISCONNECTBAR, ID_TEST_DISCONNECT, "断开设备"))
            return -1;
        RecalcLayout(FALSE);
        RECT rc;
        m_wndToolBar.GetWindowRect(&rc);
        DockControlBar(&m_wndDisconnectBar, AFX_IDW_DOCKBAR_TOP, &rc);
        m_wndDisconnectBar.GetWindowRect(&rc);
        DockControlBar(&m_wndConnectBar, AFX_IDW_DOCKBAR_TOP, &rc);
        RecalcLayout(TRUE);
        return 0;
    }

    static const DWORD kBarStyle =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndConnectBar;
    CToolBar m_wndDisconnectBar;
    BOOL m_bEnable = FALSE;
    BOOL m_bConnected = FALSE;
    int m_nEnableCommands = 0;
};

class CTestApp : public CWinApp {
public:
    explicit CTestApp(const std::string &registryKey) : m_strKey(registryKey) {
        MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
        MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
    }
    BOOL InitInstance() override {
        EnableControlContainer();
        SetRegistryKey(m_strKey);
        LoadStdProfileSettings(4);
        AddDocTemplate(CMultiDocTemplate::Make<CTestDoc, CTestChildFrame, CTestView>(IDR_TESTTYPE));
        CTestMainFrame *pFrame = new CTestMainFrame;
        if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
            delete pFrame;
            return FALSE;
        }
        m_pMainWnd = pFrame;
        pFrame->ShowWindow(SW_SHOW);
        pFrame->UpdateWindow();
        return TRUE;
    }
    BOOL DoPromptFileName(std::string &fileName, BOOL, CMultiDocTemplate *) override {
        m_strPromptGiven = fileName;
        if (m_strPromptAnswer.empty())
            return FALSE;
        fileName = m_strPromptAnswer;
        return TRUE;
    }

    std::string m_strKey;
    std::string m_strPromptAnswer;
    std::string m_strPromptGiven;
};

class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_TEST_DIALOG) { MapNotify(IDC_TEST_EDIT, EN_CHANGE, &CTestDialog::OnChangeText); }
    void OnChangeText() { ++m_nChanges; }
    int m_nChanges = 0;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_cbo.AddString("B-reader");
        m_cbo.AddString("A-reader");
        if (m_bAutoOK)
            PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
    void DoDataExchange(CDataExchange *pDX) override {
        DDX_Control(pDX, IDC_TEST_COMBO, m_cbo);
        DDX_Text(pDX, IDC_TEST_EDIT, m_strText);
        DDV_MaxChars(pDX, m_strText, 8);
    }
    CComboBox m_cbo;
    std::string m_strText = "init";
    bool m_bAutoOK = false;
};

void DeleteRegistryTree(HKEY root, const std::string &path) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS)
        return;
    for (;;) {
        char name[256];
        DWORD len = sizeof(name);
        if (::RegEnumKeyExA(raw, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteRegistryTree(raw, name);
    }
    ::RegCloseKey(raw);
    ::RegDeleteKeyA(root, path.c_str());
}

std::string ReadFileBytes(const std::string &path) {
    CFile f;
    if (!f.Open(path, CFile::modeRead))
        return "<missing>";
    std::string data;
    char buf[4096];
    for (DWORD n; (n = f.Read(buf, sizeof(buf))) > 0;)
        data.append(buf, n);
    return data;
}

void WriteFileBytes(const std::string &path, const std::string &data) {
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(f.Write(data.data(), static_cast<DWORD>(data.size())));
}

bool Contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// ---- fixture

class FrameworkApp : public ::testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        std::string pid = std::to_string(::GetCurrentProcessId());
        m_dir = std::string(base) + "qx_framework_app_" + pid;
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
        m_key = "QXFrameworkTest" + pid;
        CMessageBox::SetHandler([this](const std::string &text, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        m_app = new CTestApp(m_key);
        ASSERT_TRUE(m_app->InitApplication(::GetModuleHandleA(nullptr), "", SW_SHOW));
        ASSERT_TRUE(m_app->InitInstance());
        Pump();
    }
    void TearDown() override {
        if (m_app && m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
            m_app->m_pMainWnd->SendMessage(WM_CLOSE);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT)
                ::DispatchMessageA(&msg);
        }
        delete m_app;
        CMessageBox::SetHandler(nullptr);
        EXPECT_EQ(CTestDoc::s_nLive, 0);
        DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\" + m_key);
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((m_dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = m_dir + "\\" + fd.cFileName;
                ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(name.c_str());
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryA(m_dir.c_str());
    }

    void Pump() { m_app->PumpWaitingMessages(); }
    CTestMainFrame *Main() const { return static_cast<CTestMainFrame *>(m_app->m_pMainWnd); }
    CMultiDocTemplate *Template() const { return m_app->GetFirstDocTemplate(); }
    void Command(UINT nID) {
        Main()->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        Pump();
    }
    CTestDoc *ActiveDoc() const { return dynamic_cast<CTestDoc *>(Main()->GetActiveDocument()); }
    CTestView *ActiveView() const { return dynamic_cast<CTestView *>(Main()->GetActiveFrame()->GetActiveView()); }
    // Opens a menu of the main frame's current menu bar as the system would before showing it.
    HMENU OpenPopup(int index) {
        HMENU popup = ::GetSubMenu(::GetMenu(Main()->m_hWnd), index);
        Main()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, FALSE));
        return popup;
    }
    static UINT State(HMENU menu, UINT id) { return ::GetMenuState(menu, id, MF_BYCOMMAND); }
    static bool ButtonEnabled(CToolBar &bar, UINT id) { return bar.SendMessage(TB_ISBUTTONENABLED, id) != 0; }
    std::string File(const std::string &name) const { return m_dir + "\\" + name; }
    std::string StatusText() { return Main()->m_wndStatusBar.GetPaneText(0); }

    CTestApp *m_app = nullptr;
    std::vector<std::string> m_messages;
    std::string m_dir;
    std::string m_key;
};

TEST_F(FrameworkApp, UntitledDocumentsAreNumberedAndNameTheCaption) {
    EXPECT_EQ(Main()->GetWindowText(), "QXTestApp");
    Command(ID_FILE_NEW);
    Command(ID_FILE_NEW);
    ASSERT_EQ(Template()->GetDocuments().size(), 2u);
    EXPECT_EQ(Template()->GetDocuments()[0]->GetTitle(), "QXReader1");
    EXPECT_EQ(Template()->GetDocuments()[1]->GetTitle(), "QXReader2");
    EXPECT_EQ(Main()->GetWindowText(), "QXReader2 - QXTestApp");
    EXPECT_EQ(Main()->GetActiveFrame()->GetWindowText(), "QXReader2");
    ASSERT_NE(ActiveView(), nullptr);
    EXPECT_EQ(ActiveView()->m_nInitialUpdates, 1);
    EXPECT_EQ(ActiveView()->GetListCtrl().GetColumnWidth(0), 96);
    // Closing one keeps the numbering going: the next is QXReader3.
    Command(ID_FILE_CLOSE);
    Command(ID_FILE_NEW);
    EXPECT_EQ(ActiveDoc()->GetTitle(), "QXReader3");
}

TEST_F(FrameworkApp, MenuFollowsTheActiveDocumentWindow) {
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Main()->m_hMenuDefault);
    Command(ID_FILE_NEW);
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Template()->m_hMenuShared);
    Command(ID_FILE_NEW);
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Template()->m_hMenuShared);
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Template()->m_hMenuShared);
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Main()->m_hMenuDefault);
    EXPECT_EQ(Main()->GetWindowText(), "QXTestApp");
    EXPECT_EQ(CTestDoc::s_nLive, 0);
}

TEST_F(FrameworkApp, ExitClosesTheDocumentsAndEndsTheLoop) {
    Command(ID_FILE_NEW);
    Command(ID_FILE_NEW);
    Main()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    EXPECT_EQ(CTestDoc::s_nLive, 0);
    MSG msg;
    bool quit = false;
    while (!quit && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        quit = msg.message == WM_QUIT;
    EXPECT_TRUE(quit);
}

TEST_F(FrameworkApp, UpdateHandlersEnableAndCheckMenuItemsAndButtons) {
    Command(ID_FILE_NEW);
    HMENU test = OpenPopup(1);
    EXPECT_TRUE(State(test, ID_TEST_ENABLE) & MF_GRAYED);
    EXPECT_TRUE(State(test, ID_TEST_CHECK) & MF_CHECKED);
    EXPECT_TRUE(State(test, ID_TEST_NOHANDLER) & MF_GRAYED); // nobody handles it
    EXPECT_FALSE(State(test, ID_TEST_DOC_CMD) & MF_GRAYED);  // the document does
    Main()->m_bEnable = TRUE;
    ActiveView()->m_bChecked = FALSE;
    test = OpenPopup(1);
    EXPECT_FALSE(State(test, ID_TEST_ENABLE) & MF_GRAYED);
    EXPECT_FALSE(State(test, ID_TEST_CHECK) & MF_CHECKED);

    // Buttons follow at idle time.
    Main()->m_bEnable = FALSE;
    Pump();
    EXPECT_FALSE(ButtonEnabled(Main()->m_wndToolBar, ID_TEST_ENABLE));
    EXPECT_TRUE(ButtonEnabled(Main()->m_wndToolBar, ID_FILE_SAVE));
    EXPECT_TRUE(ButtonEnabled(Main()->m_wndConnectBar, ID_TEST_CONNECT));
    EXPECT_FALSE(ButtonEnabled(Main()->m_wndDisconnectBar, ID_TEST_DISCONNECT));
    Command(ID_TEST_CONNECT);
    EXPECT_FALSE(ButtonEnabled(Main()->m_wndConnectBar, ID_TEST_CONNECT));
    EXPECT_TRUE(ButtonEnabled(Main()->m_wndDisconnectBar, ID_TEST_DISCONNECT));
    // Without a document nothing handles Save.
    Command(ID_FILE_CLOSE);
    EXPECT_FALSE(ButtonEnabled(Main()->m_wndToolBar, ID_FILE_SAVE));
}

TEST_F(FrameworkApp, CommandsRouteToTheActiveDocumentAndDisabledOnesAreRefused) {
    Command(ID_FILE_NEW);
    Command(ID_TEST_DOC_CMD);
    EXPECT_EQ(ActiveDoc()->m_nCommands, 1);
    Command(ID_TEST_ENABLE); // disabled by its update handler: an accelerator must not reach it either
    EXPECT_EQ(Main()->m_nEnableCommands, 0);
    Main()->m_bEnable = TRUE;
    Command(ID_TEST_ENABLE);
    EXPECT_EQ(Main()->m_nEnableCommands, 1);
    Command(ID_TEST_CHECK);
    EXPECT_FALSE(ActiveView()->m_bChecked);
}

TEST_F(FrameworkApp, SaveThenOpenKeepsTheBytesAndTheRecords) {
    Command(ID_FILE_NEW);
    CTestDoc *doc = ActiveDoc();
    doc->m_records = {"<--第0条 连接成功！ @@ 10 -->\n", std::string(255, 'x'), ""};
    std::string path = File("round.trace");
    ASSERT_TRUE(doc->DoSave(path));
    EXPECT_TRUE(m_messages.empty());
    std::string expected = std::string(1, '\x1E') + doc->m_records[0] + std::string("\xFF\xFF\x00", 3) +
                           doc->m_records[1] + std::string(1, '\0');
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(doc->GetTitle(), "round.trace");
    EXPECT_EQ(Main()->GetWindowText(), "round.trace - QXTestApp");
    ASSERT_NE(m_app->GetRecentFileList(), nullptr);
    EXPECT_EQ(::lstrcmpiA((*m_app->GetRecentFileList())[0].c_str(), path.c_str()), 0);

    std::string copy = File("copy.trace");
    ASSERT_TRUE(::CopyFileA(path.c_str(), copy.c_str(), FALSE));
    CTestDoc *opened = dynamic_cast<CTestDoc *>(m_app->OpenDocumentFile(copy));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->m_records, doc->m_records);
    EXPECT_EQ(ActiveDoc(), opened);
    EXPECT_EQ(::lstrcmpiA((*m_app->GetRecentFileList())[0].c_str(), copy.c_str()), 0);
    // Opening an open file brings its window forward instead of a second copy.
    EXPECT_EQ(m_app->OpenDocumentFile(path), doc);
    EXPECT_EQ(Template()->GetDocuments().size(), 2u);
}

TEST_F(FrameworkApp, OpenFailuresAreReportedAndLeaveNoWindow) {
    EXPECT_EQ(m_app->OpenDocumentFile(File("absent.trace")), nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].find("打开文档失败。"), 0u);
    EXPECT_TRUE(Contains(m_messages[0], "找不到文件"));
    EXPECT_TRUE(Contains(m_messages[0], "absent.trace"));

    EXPECT_EQ(m_app->OpenDocumentFile(File("no_folder\\x.trace")), nullptr);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1].find("打开文档失败。"), 0u);
    EXPECT_TRUE(Contains(m_messages[1], "文件夹不存在"));
    EXPECT_TRUE(Template()->GetDocuments().empty());
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Main()->m_hMenuDefault);

    // A damaged file: the document's loader fails and the open reports it.
    WriteFileBytes(File("cut.trace"), std::string("\x05"
                                                  "ab",
                                                  3));
    EXPECT_EQ(m_app->OpenDocumentFile(File("cut.trace")), nullptr);
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_TRUE(Contains(m_messages[2], "不完整或格式不正确"));
}

TEST_F(FrameworkApp, SaveFailuresAreReportedAndKeepThePreviousFile) {
    Command(ID_FILE_NEW);
    CTestDoc *doc = ActiveDoc();
    doc->m_records = {"record"};
    EXPECT_FALSE(doc->DoSave(File("no_folder\\x.trace")));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].find("保存文档失败。"), 0u);
    EXPECT_TRUE(Contains(m_messages[0], "文件夹不存在"));
    EXPECT_EQ(doc->GetTitle(), "QXReader1");

    std::string locked = File("readonly.trace");
    WriteFileBytes(locked, "old");
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(doc->DoSave(locked));
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1].find("保存文档失败。"), 0u);
    EXPECT_TRUE(Contains(m_messages[1], "无法写入文件"));
    EXPECT_EQ(ReadFileBytes(locked), "old");
    EXPECT_TRUE(doc->GetPathName().empty());

    // Nothing of the failed saves is left behind in the folder.
    int files = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((m_dir + "\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    EXPECT_EQ(files, 1);
}

TEST_F(FrameworkApp, FirstSaveOfAnUntitledDocumentAsksForAName) {
    Command(ID_FILE_NEW);
    ActiveDoc()->m_records = {"a"};
    Command(ID_FILE_SAVE); // the user cancels
    EXPECT_EQ(m_app->m_strPromptGiven, "QXReader1.trace");
    EXPECT_TRUE(ActiveDoc()->GetPathName().empty());
    m_app->m_strPromptAnswer = File("named.trace");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(File("named.trace")), std::string("\x01"
                                                              "a",
                                                              2));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "named.trace");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FrameworkApp, DialogDataExchangeLimitsAndValidatesText) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG, Main()));
    HWND edit = dlg.GetDlgItemHwnd(IDC_TEST_EDIT);
    EXPECT_EQ(::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 8);
    EXPECT_EQ(dlg.GetWindowText(), "测试对话框");
    std::string text;
    ASSERT_NE(dlg.m_cbo.m_hWnd, nullptr);
    ASSERT_TRUE(dlg.m_cbo.GetLBText(0, text));
    EXPECT_EQ(text, "A-reader"); // the list sorts
    char got[32] = {};
    ::GetWindowTextA(edit, got, sizeof(got));
    EXPECT_STREQ(got, "init");
    int changesAfterInit = dlg.m_nChanges;
    EXPECT_GE(changesAfterInit, 1); // filling the edit is a change too
    ::SendMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_EQ(dlg.m_nChanges, changesAfterInit + 1);

    // Typing stops at the limit.
    ::SetWindowTextA(edit, "");
    for (int i = 0; i < 12; ++i)
        ::SendMessageA(edit, WM_CHAR, '0' + i % 10, 0);
    EXPECT_EQ(::GetWindowTextLengthA(edit), 8);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strText, "01234567");

    // Text set past the limit fails validation with a message; the focus goes back to that edit.
    ::SetWindowTextA(edit, "0123456789");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(Contains(m_messages[0], "8"));
    EXPECT_EQ(::GetFocus(), edit);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_cbo.m_hWnd, nullptr);
}

TEST_F(FrameworkApp, ModelessDialogGoesWithItsObject) {
    HWND dialog = nullptr;
    HWND combo = nullptr;
    {
        CTestDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG, Main()));
        dialog = dlg.m_hWnd;
        combo = dlg.m_cbo.m_hWnd;
        EXPECT_EQ(CWnd::FromHandlePermanent(combo), &dlg.m_cbo);
    }
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_FALSE(::IsWindow(combo));
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(combo), nullptr);
}

// Types a file name into the save dialog that is up and presses its OK button, as a user would.
std::string g_typedName;
VOID CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = ::FindWindowA(nullptr, "另存为");
    if (!dlg)
        return;
    ::KillTimer(nullptr, id);
    // The explorer-style dialog's name field (an editable combo box, or a plain edit in older layouts).
    HWND name = ::GetDlgItem(dlg, 1148);
    if (!name)
        name = ::GetDlgItem(dlg, 1152);
    ::SetWindowTextA(name, g_typedName.c_str());
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(FrameworkApp, SaveFileDialogAddsTheDefaultExtension) {
    g_typedName = File("typed");
    UINT_PTR timer = ::SetTimer(nullptr, 0, 200, &AnswerFileDialog);
    CFileDialog dlg(FALSE, "trace", "QXReader1.trace", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Trace File(*.trace)|*.trace|所有文件(*.*)|*.*||", Main());
    dlg.m_strTitle = "另存为";
    INT_PTR result = dlg.DoModal();
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(::lstrcmpiA(dlg.GetPathName().c_str(), File("typed.trace").c_str()), 0) << dlg.GetPathName();
    EXPECT_EQ(dlg.GetFileName(), "typed.trace");
    EXPECT_EQ(dlg.GetFileExt(), "trace");
}

TEST_F(FrameworkApp, StandardPromptTakesFilterAndExtensionFromTheTemplate) {
    g_typedName = File("fromtemplate");
    UINT_PTR timer = ::SetTimer(nullptr, 0, 200, &AnswerFileDialog);
    std::string name = "QXReader1.trace";
    BOOL chosen = m_app->CWinApp::DoPromptFileName(name, FALSE, Template());
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(::lstrcmpiA(name.c_str(), File("fromtemplate.trace").c_str()), 0) << name;
}

TEST_F(FrameworkApp, ModalDialogRunsItsLoopAndEndsWithOk) {
    CTestDialog dlg;
    dlg.m_bAutoOK = true;
    dlg.m_strText = "abc";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, "abc");
    // The same object runs again (controls are bound afresh).
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

namespace {
// Records where it stood while up; optionally places itself while initialising.
class CPlacedDialog : public CTestDialog {
public:
    CPlacedDialog() { m_bAutoOK = true; }
    BOOL OnInitDialog() override {
        BOOL result = CTestDialog::OnInitDialog();
        if (m_bPlaceItself)
            ::SetWindowPos(m_hWnd, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return result;
    }
    void OnOK() override {
        GetWindowRect(&m_rcShown);
        CTestDialog::OnOK();
    }
    bool m_bPlaceItself = false;
    RECT m_rcShown = {};
};

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}
} // namespace

TEST_F(FrameworkApp, ModalDialogsOpenOverTheirOwnerUnlessTheyPlacedThemselves) {
    ::SetWindowPos(Main()->m_hWnd, nullptr, 100, 80, 640, 480, SWP_NOZORDER);
    RECT owner = {};
    Main()->GetWindowRect(&owner);
    CPlacedDialog centred;
    ASSERT_EQ(centred.DoModal(), IDOK);
    EXPECT_NEAR(Centre(centred.m_rcShown).x, Centre(owner).x, 1);
    EXPECT_NEAR(Centre(centred.m_rcShown).y, Centre(owner).y, 1);

    CPlacedDialog placed;
    placed.m_bPlaceItself = true;
    ASSERT_EQ(placed.DoModal(), IDOK);
    EXPECT_EQ(placed.m_rcShown.left, 7);
    EXPECT_EQ(placed.m_rcShown.top, 9);

    // An owner hanging over the bottom-right corner: the dialog stays whole on the work area.
    RECT work = {};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    ::SetWindowPos(Main()->m_hWnd, nullptr, work.right - 150, work.bottom - 100, 640, 480, SWP_NOZORDER);
    CPlacedDialog clamped;
    ASSERT_EQ(clamped.DoModal(), IDOK);
    EXPECT_EQ(clamped.m_rcShown.right, work.right);
    EXPECT_EQ(clamped.m_rcShown.bottom, work.bottom);

    // A hidden owner: the middle of the work area.
    Main()->ShowWindow(SW_HIDE);
    CPlacedDialog alone;
    ASSERT_EQ(alone.DoModal(), IDOK);
    Main()->ShowWindow(SW_SHOW);
    EXPECT_NEAR(Centre(alone.m_rcShown).x, Centre(work).x, 1);
    EXPECT_NEAR(Centre(alone.m_rcShown).y, Centre(work).y, 1);
}

TEST_F(FrameworkApp, RecentFilesRoundTripThroughTheRegistryAndTheMenus) {
    CRecentFileList *mru = m_app->GetRecentFileList();
    ASSERT_NE(mru, nullptr);
    for (int i = 1; i <= 5; ++i)
        m_app->AddToRecentFileList(File("f" + std::to_string(i) + ".trace"));
    m_app->AddToRecentFileList(File("f3.trace")); // moves up, no duplicate
    ASSERT_EQ(mru->GetSize(), 4);
    EXPECT_EQ((*mru)[0], File("f3.trace"));
    EXPECT_EQ((*mru)[1], File("f5.trace"));
    EXPECT_EQ((*mru)[3], File("f2.trace"));

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\" + m_key + "\\QXTestApp\\Recent File List").c_str(), 0,
                              KEY_READ, &key),
              ERROR_SUCCESS);
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    EXPECT_EQ(::RegQueryValueExA(key, "File1", nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(value), File("f3.trace"));
    size = sizeof(value);
    EXPECT_NE(::RegQueryValueExA(key, "File5", nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size),
              ERROR_SUCCESS);
    ::RegCloseKey(key);

    CRecentFileList reread(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    reread.ReadList(*m_app);
    ASSERT_EQ(reread.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(reread[i], (*mru)[i]);

    // Both menus show the entries in place of the place holder.
    for (int round = 0; round < 2; ++round) {
        HMENU file = OpenPopup(0);
        char text[MAX_PATH * 2] = {};
        ::GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof(text), MF_BYCOMMAND);
        EXPECT_EQ(std::string(text), "&1 " + File("f3.trace"));
        EXPECT_FALSE(State(file, ID_FILE_MRU_FILE4) & MF_GRAYED);
        EXPECT_EQ(::GetMenuState(file, ID_FILE_MRU_FILE4 + 1, MF_BYCOMMAND), static_cast<UINT>(-1));
        Command(ID_FILE_NEW);
    }
}

TEST_F(FrameworkApp, MissingRecentFileIsReportedAndStaysInTheList) {
    m_app->AddToRecentFileList(File("gone.trace"));
    Command(ID_FILE_MRU_FILE1);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(Contains(m_messages[0], "找不到文件"));
    EXPECT_EQ(m_app->GetRecentFileList()->GetSize(), 1);
    EXPECT_TRUE(Template()->GetDocuments().empty());

    WriteFileBytes(File("gone.trace"), "");
    Command(ID_FILE_MRU_FILE1);
    ASSERT_NE(ActiveDoc(), nullptr);
    EXPECT_EQ(ActiveDoc()->GetTitle(), "gone.trace");
}

TEST_F(FrameworkApp, StatusBarShowsPromptsAndReadyAtIdle) {
    Pump();
    EXPECT_EQ(StatusText(), "就绪");
    HMENU file = ::GetSubMenu(::GetMenu(Main()->m_hWnd), 0);
    Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(), "新建一个日志");
    Pump(); // idle does not take the prompt away while the menu is open
    EXPECT_EQ(StatusText(), "新建一个日志");
    Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), "就绪");

    NMTBHOTITEM hot = {};
    hot.hdr.hwndFrom = Main()->m_wndConnectBar.m_hWnd;
    hot.hdr.idFrom = 1007;
    hot.hdr.code = TBN_HOTITEMCHANGE;
    hot.idNew = ID_TEST_CONNECT;
    hot.dwFlags = HICF_MOUSE;
    Main()->SendMessage(WM_NOTIFY, 1007, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(StatusText(), "连接读卡器");
    hot.dwFlags = HICF_LEAVING;
    Main()->SendMessage(WM_NOTIFY, 1007, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(StatusText(), "就绪");

    NMTTDISPINFOA tip = {};
    tip.hdr.code = TTN_GETDISPINFOA;
    tip.hdr.idFrom = ID_TEST_DISCONNECT;
    Main()->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ(tip.lpszText, "断开连接");
    EXPECT_EQ(Main()->m_wndStatusBar.GetCount(), 4);
}

TEST_F(FrameworkApp, PointerOverAButtonShowsItsPrompt) {
    Pump();
    CToolBar &bar = Main()->m_wndToolBar;
    RECT rc = {};
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)));
    // The tool bar itself reports the hot button to the frame, although it now lives in a dock row.
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    EXPECT_EQ(StatusText(), "新建一个日志");
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(StatusText(), "就绪");
}

TEST_F(FrameworkApp, ToolTipsAreThePromptsSecondPart) {
    CToolBar &bar = Main()->m_wndConnectBar;
    HWND tips = reinterpret_cast<HWND>(bar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(tips, nullptr);
    char text[80] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = bar.m_hWnd;
    tool.uId = ID_TEST_CONNECT;
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "连接");
}

TEST_F(FrameworkApp, ThreeBarsShareTheTopRowInDockingOrder) {
    CDockBar *top = Main()->GetDockBar(CBRS_ALIGN_TOP);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(top->GetRows().size(), 1u);
    const std::vector<CControlBar *> &row = top->GetRows()[0];
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0], &Main()->m_wndConnectBar);
    EXPECT_EQ(row[1], &Main()->m_wndDisconnectBar);
    EXPECT_EQ(row[2], &Main()->m_wndToolBar);
    RECT r0, r1, r2;
    row[0]->GetWindowRect(&r0);
    row[1]->GetWindowRect(&r1);
    row[2]->GetWindowRect(&r2);
    EXPECT_LT(r0.right, r1.left + 1);
    EXPECT_LT(r1.right, r2.left + 1);
    EXPECT_EQ(r0.top, r2.top);

    char cls[64] = {};
    ::GetClassNameA(::GetParent(Main()->m_wndToolBar.m_hWnd), cls, sizeof(cls));
    EXPECT_STREQ(cls, "AfxControlBar42s");
    EXPECT_TRUE(::GetWindowLongA(top->m_hWnd, GWL_STYLE) & CBRS_ALIGN_TOP);
    EXPECT_EQ(Main()->m_wndConnectBar.GetButtonText(0), "连接设备");
    EXPECT_EQ(Main()->m_wndToolBar.GetCount(), 5);
    EXPECT_EQ(Main()->m_wndToolBar.GetItemID(3), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_NE(Main()->m_wndToolBar.SendMessage(TB_GETIMAGELIST), 0);

    // The client area starts below the row and ends above the status bar.
    RECT client, status, dock;
    ::GetWindowRect(Main()->m_hWndMDIClient, &client);
    Main()->m_wndStatusBar.GetWindowRect(&status);
    top->GetWindowRect(&dock);
    EXPECT_EQ(client.top, dock.bottom);
    EXPECT_EQ(client.bottom, status.top);
}

TEST_F(FrameworkApp, AcceleratorsCommandTheMainFrameFromAnyWindow) {
    Command(ID_FILE_NEW);
    BYTE keys[256];
    ASSERT_TRUE(::GetKeyboardState(keys));
    keys[VK_CONTROL] = 0x80;
    ASSERT_TRUE(::SetKeyboardState(keys));
    // Ctrl+N typed into the document's view.
    MSG msg = {};
    msg.hwnd = ActiveView()->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = 'N';
    msg.lParam = 1;
    EXPECT_TRUE(m_app->PreTranslateMessage(&msg));
    Pump();
    EXPECT_EQ(ActiveDoc()->GetTitle(), "QXReader2");
    // A key without an accelerator goes on to the window.
    msg.wParam = 'Q';
    EXPECT_FALSE(m_app->PreTranslateMessage(&msg));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
}

TEST_F(FrameworkApp, ViewMenuHidesAndShowsTheToolBar) {
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(Main()->m_wndToolBar.IsVisible());
    HMENU view = OpenPopup(1);
    EXPECT_FALSE(State(view, ID_VIEW_TOOLBAR) & MF_CHECKED);
    EXPECT_TRUE(State(view, ID_VIEW_STATUS_BAR) & MF_CHECKED);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(Main()->m_wndToolBar.IsVisible());
    // With a document open its frame is asked first; the items and the commands still reach the main frame's bars.
    Command(ID_FILE_NEW);
    ASSERT_NE(ActiveDoc(), nullptr);
    view = OpenPopup(2);
    EXPECT_EQ(State(view, ID_VIEW_TOOLBAR) & (MF_CHECKED | MF_GRAYED), static_cast<UINT>(MF_CHECKED));
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(Main()->m_wndStatusBar.IsVisible());
    view = OpenPopup(2);
    EXPECT_EQ(State(view, ID_VIEW_STATUS_BAR) & (MF_CHECKED | MF_GRAYED), 0u);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(Main()->m_wndStatusBar.IsVisible());
}

TEST_F(FrameworkApp, CommandLineOpensTheFileItNames) {
    WriteFileBytes(File("start.trace"), std::string("\x01"
                                                    "z",
                                                    2));
    CCommandLineInfo info;
    info.ParseParameters("\"" + File("start.trace") + "\"");
    EXPECT_TRUE(m_app->ProcessShellCommand(info));
    ASSERT_NE(ActiveDoc(), nullptr);
    EXPECT_EQ(ActiveDoc()->m_records, std::vector<std::string>{"z"});
    CCommandLineInfo missing;
    missing.ParseParameters(File("nothing.trace"));
    EXPECT_FALSE(m_app->ProcessShellCommand(missing));
    CCommandLineInfo none;
    m_app->ParseCommandLine(none);
    EXPECT_TRUE(m_app->ProcessShellCommand(none));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "QXReader1");
}

TEST_F(FrameworkApp, PrintingWithoutAPrinterSaysSo) {
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
    if (needed != 0)
        GTEST_SKIP() << "this machine has printers; the dialogs would wait for a user";
    Command(ID_FILE_NEW);
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        m_messages.clear();
        Command(id);
        ASSERT_EQ(m_messages.size(), 1u) << id;
        EXPECT_TRUE(Contains(m_messages[0], "没有安装打印机")) << id;
    }
    m_messages.clear();
    m_app->OnFilePrintSetup();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(Contains(m_messages[0], "没有安装打印机"));
}

TEST_F(FrameworkApp, ClosingAModifiedDocumentAsksFirst) {
    Command(ID_FILE_NEW);
    ActiveDoc()->SetModifiedFlag();
    int answer = IDCANCEL;
    CMessageBox::SetHandler([&](const std::string &text, UINT type) {
        m_messages.push_back(text);
        EXPECT_EQ(type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
        return answer;
    });
    Command(ID_FILE_CLOSE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(Contains(m_messages[0], "QXReader1"));
    ASSERT_NE(ActiveDoc(), nullptr); // cancelled: still open
    Main()->SendMessage(WM_CLOSE);
    EXPECT_NE(m_app->m_pMainWnd, nullptr); // the program does not end either
    answer = IDYES;
    m_app->m_strPromptAnswer = File("kept.trace");
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(ActiveDoc(), nullptr);
    EXPECT_EQ(ReadFileBytes(File("kept.trace")), "");
    Command(ID_FILE_NEW);
    ActiveDoc()->SetModifiedFlag();
    answer = IDNO;
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(ActiveDoc(), nullptr);
}

TEST_F(FrameworkApp, KeyIndicatorsFollowTheLockKeys) {
    BYTE keys[256];
    ASSERT_TRUE(::GetKeyboardState(keys));
    keys[VK_CAPITAL] |= 1;
    keys[VK_NUMLOCK] &= ~1;
    keys[VK_SCROLL] |= 1;
    ASSERT_TRUE(::SetKeyboardState(keys));
    Pump();
    EXPECT_EQ(Main()->m_wndStatusBar.GetPaneText(1), "CAP");
    EXPECT_EQ(Main()->m_wndStatusBar.GetPaneText(2), "");
    EXPECT_EQ(Main()->m_wndStatusBar.GetPaneText(3), "SCRL");
    keys[VK_CAPITAL] &= ~1;
    keys[VK_SCROLL] &= ~1;
    ASSERT_TRUE(::SetKeyboardState(keys));
    Pump();
    EXPECT_EQ(Main()->m_wndStatusBar.GetPaneText(1), "");
}

TEST_F(FrameworkApp, MaximisedDocumentWindowKeepsMenuAndCaption) {
    Command(ID_FILE_NEW);
    HWND child = Main()->GetActiveFrame()->m_hWnd;
    ::SendMessageA(Main()->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    BOOL maximized = FALSE;
    Main()->MDIGetActive(&maximized);
    EXPECT_TRUE(maximized);
    std::string caption = Main()->GetWindowText();
    EXPECT_TRUE(Contains(caption, "QXReader1")) << caption;
    Pump();
    EXPECT_EQ(Main()->GetWindowText(), caption); // idle does not fight the MDI client over the caption
    // The document menu is still the one in force (the MDI client may add the child's system menu in front).
    HMENU bar = ::GetMenu(Main()->m_hWnd);
    EXPECT_EQ(bar, Template()->m_hMenuShared);
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(::GetMenu(Main()->m_hWnd), Main()->m_hMenuDefault);
    EXPECT_EQ(Main()->GetWindowText(), "QXTestApp");
}

} // namespace

TEST_F(FrameworkApp, CommandBarButtonIsWideEnoughForItsText) {
    CToolBar &bar = Main()->m_wndConnectBar;
    ASSERT_EQ(bar.GetButtonText(0), "连接设备");
    RECT rc = {};
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)));
    SIZE ext = {};
    {
        CClientDC dc(bar.m_hWnd);
        CSelectObject select(dc, reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT)));
        ::GetTextExtentPoint32A(dc, "连接设备", 8, &ext);
    }
    ASSERT_GT(ext.cx, 23) << "the text alone is wider than the 23-pixel button asked for";
    EXPECT_GE(rc.right - rc.left, ext.cx);
    EXPECT_GE(rc.bottom - rc.top, 16 + ext.cy);
}
