#include "tests/console/ConsoleTestHarness.h"

#include <commctrl.h>
#include <cstring>

#include "console/TraceLine.h"
#include "framework/CmdUI.h"
#include "framework/MessageBox.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkIds.h"
#include "res/console/resource.h"
#include "console/ChildFrame.h"
#include "reader/QXCCIDINT.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

namespace {
FakeCard g_card;
const SCARDCONTEXT kContext = 0x5C;
const SCARDHANDLE kCard = 0xCA7D;

LONG WINAPI FakeEstablish(DWORD, LPCVOID, LPCVOID, LPSCARDCONTEXT ph) {
    ++g_card.establishCalls;
    if (g_card.establishRc != SCARD_S_SUCCESS)
        return g_card.establishRc;
    *ph = kContext;
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeList(SCARDCONTEXT, LPCSTR, LPSTR out, LPDWORD pcch) {
    if (g_card.readerList.empty())
        return static_cast<LONG>(SCARD_E_NO_READERS_AVAILABLE);
    char *copy = static_cast<char *>(::HeapAlloc(::GetProcessHeap(), 0, g_card.readerList.size()));
    std::memcpy(copy, g_card.readerList.data(), g_card.readerList.size());
    *reinterpret_cast<char **>(out) = copy;
    *pcch = static_cast<DWORD>(g_card.readerList.size());
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeFree(SCARDCONTEXT, LPCVOID p) {
    ::HeapFree(::GetProcessHeap(), 0, const_cast<LPVOID>(p));
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeConnect(SCARDCONTEXT, LPCSTR name, DWORD, DWORD, LPSCARDHANDLE ph, LPDWORD proto) {
    g_card.connectedNames.push_back(name ? name : "");
    if (g_card.connectRc != SCARD_S_SUCCESS)
        return g_card.connectRc;
    *ph = kCard;
    if (proto)
        *proto = SCARD_PROTOCOL_T1;
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeReconnect(SCARDHANDLE, DWORD, DWORD, DWORD, LPDWORD) {
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeDisconnect(SCARDHANDLE, DWORD) {
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeStatus(SCARDHANDLE, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD) {
    return static_cast<LONG>(SCARD_E_UNSUPPORTED_FEATURE);
}
LONG WINAPI FakeGetAttrib(SCARDHANDLE, DWORD, LPBYTE pb, LPDWORD pcb) {
    if (pb) {
        if (*pcb < g_card.atr.size())
            return static_cast<LONG>(SCARD_E_INSUFFICIENT_BUFFER);
        std::memcpy(pb, g_card.atr.data(), g_card.atr.size());
    }
    *pcb = static_cast<DWORD>(g_card.atr.size());
    return SCARD_S_SUCCESS;
}
LONG WINAPI FakeTransmit(SCARDHANDLE, LPCSCARD_IO_REQUEST, LPCBYTE pb, DWORD cb, LPSCARD_IO_REQUEST, LPBYTE out,
                         LPDWORD pcbOut) {
    g_card.commands.emplace_back(reinterpret_cast<const char *>(pb), cb);
    std::string answer("\x6F\x00", 2);
    if (!g_card.responses.empty()) {
        answer = g_card.responses.front();
        g_card.responses.erase(g_card.responses.begin());
    }
    std::memcpy(out, answer.data(), answer.size());
    *pcbOut = static_cast<DWORD>(answer.size());
    return SCARD_S_SUCCESS;
}
VOID WINAPI FakeSleep(DWORD) {}

const PcscApi kFakeApi = {FakeEstablish,  FakeList,   FakeFree,      FakeConnect,  FakeReconnect,
                          FakeDisconnect, FakeStatus, FakeGetAttrib, FakeTransmit, FakeSleep};

struct DialogSearch {
    HWND found = nullptr;
};
BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
    char cls[16] = {};
    ::GetClassNameA(h, cls, sizeof(cls));
    if (::IsWindowVisible(h) && std::strcmp(cls, "#32770") == 0) {
        reinterpret_cast<DialogSearch *>(lp)->found = h;
        return FALSE;
    }
    return TRUE;
}

std::function<void(HWND)> *g_pAct = nullptr;
bool g_bActed = false;
UINT_PTR g_nActTimer = 0;
int g_nTicks = 0;

VOID CALLBACK ActTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogSearch search;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found && ++g_nTicks < 200)
        return;
    ::KillTimer(nullptr, g_nActTimer);
    g_nActTimer = 0;
    if (search.found && g_pAct && !g_bActed) {
        g_bActed = true;
        (*g_pAct)(search.found);
    }
}
} // namespace

FakeCard &Card() {
    return g_card;
}

void ResetCard() {
    static bool installed = false;
    if (!installed) {
        SetPcscApi(&kFakeApi);
        installed = true;
    }
    g_card = FakeCard();
}

CConsoleTestApp::CConsoleTestApp() : CWinApp("QXReader_CCID") {}

CConsoleTestApp &TestApp() {
    static CConsoleTestApp app;
    return app;
}

CMainFrame *CConsoleTestApp::Frame() {
    if (m_pFrame)
        return m_pFrame;
    ResetCard();
    InitApplication(::GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    EnableControlContainer();
    AddDocTemplate(CMultiDocTemplate::Make<CQXReader_CCIDDoc, CChildFrame, CQXReader_CCIDView>(IDR_TRACETYPE));
    m_pFrame = new CMainFrame;
    if (!m_pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete m_pFrame;
        m_pFrame = nullptr;
        return nullptr;
    }
    m_pMainWnd = m_pFrame;
    // The poll is driven by the tests themselves.
    m_pFrame->KillTimer(1);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    return m_pFrame;
}

void CConsoleTestApp::FreshWindow() {
    Frame();
    CloseAllDocuments(FALSE);
    OnFileNew();
}

CQXReader_CCIDView *CConsoleTestApp::ActiveView() {
    HWND h = FindActiveTraceView();
    return dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(h));
}

CQXReader_CCIDDoc *CConsoleTestApp::ActiveDoc() {
    CQXReader_CCIDView *v = ActiveView();
    return v ? v->GetDocument() : nullptr;
}

std::vector<std::pair<std::string, std::string>> CConsoleTestApp::Rows() {
    std::vector<std::pair<std::string, std::string>> rows;
    CQXReader_CCIDView *v = ActiveView();
    if (!v)
        return rows;
    CListCtrl list = v->GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i)
        rows.emplace_back(list.GetItemText(i, 0), list.GetItemText(i, 1));
    return rows;
}

bool WithModalDialog(const std::function<void()> &launch, const std::function<void(HWND)> &act) {
    std::function<void(HWND)> copy = act;
    g_pAct = &copy;
    g_bActed = false;
    g_nTicks = 0;
    g_nActTimer = ::SetTimer(nullptr, 0, 20, ActTimer);
    launch();
    if (g_nActTimer)
        ::KillTimer(nullptr, g_nActTimer);
    g_nActTimer = 0;
    g_pAct = nullptr;
    return g_bActed;
}

std::string WindowText(HWND hWnd) {
    char buf[2048] = {};
    ::GetWindowTextA(hWnd, buf, sizeof(buf));
    return buf;
}

std::string ComboItem(HWND hCombo, int index) {
    char buf[512] = {};
    if (::SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf)) == CB_ERR)
        return std::string();
    return buf;
}

void TypeText(HWND hDlg, int nId, const std::string &text) {
    HWND h = ::GetDlgItem(hDlg, nId);
    ::SendMessageA(h, EM_SETSEL, 0, -1);
    ::SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND hDlg, int nId) {
    ::SendMessageA(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

CMessageBoxCapture::CMessageBoxCapture() {
    CMessageBox::SetHandler([this](const std::string &text, UINT) {
        texts.push_back(text);
        if (during)
            during();
        return IDOK;
    });
}

CMessageBoxCapture::~CMessageBoxCapture() {
    CMessageBox::SetHandler(CMessageBox::Handler());
}

namespace {
class CRecordingCmdUI : public CCmdUI {
public:
    int check = -1;
    int enabled = -1;
    void Enable(BOOL bOn) override {
        enabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { check = nCheck; }
    void SetText(const std::string &) override {}
};
} // namespace

int CheckOf(UINT nID) {
    CRecordingCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(TestApp().Frame(), FALSE);
    return ui.check;
}

int EnabledOf(UINT nID) {
    CRecordingCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(TestApp().Frame(), TRUE);
    return ui.enabled;
}
