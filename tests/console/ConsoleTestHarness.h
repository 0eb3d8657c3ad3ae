// Runs the console's windows inside a test process: an application object with the trace template and the main
// frame, a scripted PC/SC table behind theReader and the poll, and helpers to act inside modal dialogs.
#pragma once

#include <windows.h>
#include <winscard.h>

#include <functional>
#include <string>
#include <vector>

#include "console/MainFrame.h"
#include "framework/WinApp.h"
#include "reader/PcscApi.h"

class CQXReader_CCIDDoc;
class CQXReader_CCIDView;

// What the scripted PC/SC service answers and what it was asked.
struct FakeCard {
    LONG establishRc = SCARD_S_SUCCESS;
    std::string readerList; // multi-string including its final zeros; empty: no readers
    LONG connectRc = SCARD_S_SUCCESS;
    std::string atr;                    // answered through the ATR attribute
    std::vector<std::string> responses; // one per Transmit, in order; an exhausted list answers 6F 00
    std::vector<std::string> connectedNames;
    std::vector<std::string> commands;
    int establishCalls = 0;
};

FakeCard &Card();
// Installs the scripted table (once) and resets the card to its defaults.
void ResetCard();

class CConsoleTestApp : public CWinApp {
public:
    CConsoleTestApp();
    // Builds the template and the main frame once per process; later calls reuse them.
    CMainFrame *Frame();
    // Closes every trace window and opens one new untitled window.
    void FreshWindow();
    CQXReader_CCIDView *ActiveView();
    CQXReader_CCIDDoc *ActiveDoc();
    // Rows of the active view: "NO." and "log" of each.
    std::vector<std::pair<std::string, std::string>> Rows();

private:
    CMainFrame *m_pFrame = nullptr;
};

CConsoleTestApp &TestApp();

// Runs `launch` (which opens a modal dialog); once the dialog is up, `act` gets its window inside the dialog's own
// loop. `act` must end the dialog. Returns false when no dialog came up.
bool WithModalDialog(const std::function<void()> &launch, const std::function<void(HWND)> &act);

std::string WindowText(HWND hWnd);
std::string ComboItem(HWND hCombo, int index);
// Sets an edit's text the way typing does (the control reports the change).
void TypeText(HWND hDlg, int nId, const std::string &text);
void Click(HWND hDlg, int nId);

// Captures the framework's message boxes (answering OK) while it lives; `during` runs inside each box.
class CMessageBoxCapture {
public:
    CMessageBoxCapture();
    ~CMessageBoxCapture();
    std::vector<std::string> texts;
    std::function<void()> during;
};

// The state an update handler gives a command through the main frame's route: check mark (-1: untouched) and
// enabling (-1: untouched).
int CheckOf(UINT nID);
int EnabledOf(UINT nID);
