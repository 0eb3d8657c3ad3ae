// The real console as the end-to-end tests drive it: its own process, its main frame found by title, its trace read
// back from the list control in the console's process, its dialogs closed and its file dialogs answered the way a
// user types a path. Compiled into each end-to-end program, which names the console's executable (QX_CONSOLE_EXE).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestProcess.h"

namespace console_e2e {

const char kMainTitle[] = "QXReader1 - QXReader_CCID";
const DWORD kStartTimeout = 30000;
const DWORD kUiTimeout = 10000;

// The first descendant window that accept takes, or none.
HWND FindDescendantWhere(HWND parent, std::function<bool(HWND)> accept);
// The first descendant of the class (and with the control id, unless it is -1).
HWND FindDescendant(HWND parent, const char *cls, int id = -1);

// Presses a dialog's button by its command and waits until the dialog has gone.
bool CloseDialog(HWND dlg, int id);

// A file name in the system's temporary folder.
std::string TempFile(const std::string &name);

class CConsoleDriver {
public:
    CConsoleDriver() = default;
    virtual ~CConsoleDriver() { Close(); }
    CConsoleDriver(const CConsoleDriver &) = delete;
    CConsoleDriver &operator=(const CConsoleDriver &) = delete;

    // Starts the console with the command line and waits for its main frame of that title.
    bool Start(const std::string &args = std::string(), const std::string &title = kMainTitle);
    // Asks the console to close and waits for its process.
    void Close();

    HWND Main() const { return m_hMain; }
    DWORD Pid() const { return m_process.GetProcessId(); }
    void Command(int id);

    // The trace window's list, its rows (every column) and its text column.
    HWND List();
    std::vector<std::vector<std::string>> AllRows();
    std::vector<std::string> Column(int column);
    std::vector<std::string> Texts() { return Column(1); }
    std::vector<std::string> Numbers() { return Column(0); }
    bool WaitForRows(size_t atLeast, DWORD timeoutMs = kUiTimeout);
    bool WaitForExactly(size_t rows);
    bool WaitForLast(const std::string &text);

    HWND WaitForDialog(const std::string &title);
    // The state of a command's button on the bar with the given window id: 1 enabled, 0 disabled, -1 no button.
    int ButtonEnabled(int barId, int command);
    bool WaitForButton(int barId, int command, int enabled);
    // Opens the connect dialog and presses its connect button on the preselected reader; true once the log says
    // "连接成功！" and the frame has enabled the reader commands (it samples the connection at idle).
    bool ConnectWithButton();
    // Answers the system's open or save dialog that the console shows with the path, typed and confirmed.
    bool ChooseFile(const std::string &path);

private:
    CTestProcess m_process;
    HWND m_hMain = nullptr;
};

} // namespace console_e2e
