#include "tests/console/ConsoleDriver.h"

#include <commctrl.h>

#include "res/console/resource.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

namespace console_e2e {

namespace {
struct ChildSearch {
    std::function<bool(HWND)> accept;
    HWND found;
};
BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
    ChildSearch *s = reinterpret_cast<ChildSearch *>(lp);
    if (s->accept(h)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindDescendantWhere(HWND parent, std::function<bool(HWND)> accept) {
    ChildSearch s = {std::move(accept), nullptr};
    ::EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindDescendant(HWND parent, const char *cls, int id) {
    return FindDescendantWhere(parent, [cls, id](HWND h) {
        return CUiDriver::GetClassName(h) == cls && (id < 0 || ::GetDlgCtrlID(h) == id);
    });
}

bool CloseDialog(HWND dlg, int id) {
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
    return CWaitUntil::Condition([&] { return !::IsWindow(dlg); }, kUiTimeout);
}

std::string TempFile(const std::string &name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

bool CConsoleDriver::Start(const std::string &args, const std::string &title) {
    if (!m_process.Start(CTestPaths::FromUnix(QX_CONSOLE_EXE), args))
        return false;
    m_hMain = CUiDriver::WaitForTopLevelWindow(m_process.GetProcessId(), "", title, kStartTimeout);
    return m_hMain != nullptr;
}

void CConsoleDriver::Close() {
    if (m_hMain && ::IsWindow(m_hMain))
        ::PostMessageA(m_hMain, WM_CLOSE, 0, 0);
    m_process.WaitForExit(10000);
}

void CConsoleDriver::Command(int id) {
    CUiDriver::PostCommand(m_hMain, id);
}

HWND CConsoleDriver::List() {
    return FindDescendant(m_hMain, "SysListView32");
}

std::vector<std::vector<std::string>> CConsoleDriver::AllRows() {
    std::vector<std::vector<std::string>> rows;
    HWND list = List();
    if (!list)
        return rows;
    CRemoteListView remote(list);
    for (int i = 0; i < remote.GetItemCount(); ++i)
        rows.push_back(remote.GetRow(i));
    return rows;
}

std::vector<std::string> CConsoleDriver::Column(int column) {
    std::vector<std::string> out;
    HWND list = List();
    if (!list)
        return out;
    CRemoteListView remote(list);
    for (int i = 0; i < remote.GetItemCount(); ++i)
        out.push_back(remote.GetItemText(i, column));
    return out;
}

bool CConsoleDriver::WaitForRows(size_t atLeast, DWORD timeoutMs) {
    return CWaitUntil::Condition([&] { return Texts().size() >= atLeast; }, timeoutMs, 50);
}

bool CConsoleDriver::WaitForExactly(size_t rows) {
    return CWaitUntil::Condition([&] { return Texts().size() == rows; }, kUiTimeout, 50);
}

bool CConsoleDriver::WaitForLast(const std::string &text) {
    return CWaitUntil::Condition(
        [&] {
            const std::vector<std::string> texts = Texts();
            return !texts.empty() && texts.back() == text;
        },
        kUiTimeout, 50);
}

HWND CConsoleDriver::WaitForDialog(const std::string &title) {
    return CUiDriver::WaitForTopLevelWindow(Pid(), "#32770", title, kUiTimeout);
}

int CConsoleDriver::ButtonEnabled(int barId, int command) {
    HWND bar = FindDescendant(m_hMain, TOOLBARCLASSNAMEA, barId);
    if (!bar)
        return -1;
    LRESULT state = ::SendMessageA(bar, TB_GETSTATE, static_cast<WPARAM>(command), 0);
    return state == -1 ? -1 : ((state & TBSTATE_ENABLED) ? 1 : 0);
}

bool CConsoleDriver::WaitForButton(int barId, int command, int enabled) {
    return CWaitUntil::Condition([&] { return ButtonEnabled(barId, command) == enabled; }, kUiTimeout, 50);
}

bool CConsoleDriver::ConnectWithButton() {
    Command(ID_READER_CONNECT);
    HWND dlg = WaitForDialog("连接读卡器");
    if (!dlg)
        return false;
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_CONNECT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CONNECT)));
    return WaitForRows(1) && Texts().back() == "连接成功！" &&
           WaitForButton(IDW_DISCONNECTBAR, ID_READER_DISCONNECT, 1);
}

bool CConsoleDriver::ChooseFile(const std::string &path) {
    HWND dlg = nullptr;
    CWaitUntil::Condition(
        [&] {
            dlg = CUiDriver::FindTopLevelWindow(Pid(), "#32770", "");
            return dlg && dlg != m_hMain;
        },
        kUiTimeout);
    if (!dlg)
        return false;
    HWND name = ::GetDlgItem(dlg, 0x47C); // the file-name combo box of the explorer-style dialog
    if (!name)
        name = ::GetDlgItem(dlg, 0x480); // the old-style file-name edit
    if (!name)
        return false;
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return CloseDialog(dlg, IDOK);
}

} // namespace console_e2e
