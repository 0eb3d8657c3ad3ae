// A 1,000-command batch run against the same run made through the dialogs: connect, the script command with the
// script file, and Save into a .trace file. Both sides run the console's own code in one process, into a fresh
// trace window each round, on the same card: the batch side is exactly what the console does with
// /reader /script /save (file checks, connect, script, save, summary line and log), the other side what the connect
// button, the script command once its file is chosen, and Save once the name is given do. Then the real console
// runs the same batch as its own process, start to exit, for the whole cost under Wine.
// Run it on the rig: scripts/rig.sh wine build/win32/bench/rig/console_batch_bench.exe (build/win64 on machines
// that run no 32-bit code)
#include <windows.h>
#include <winscard.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/common/ConsoleBenchWindow.h"
#include "console/BatchCommandLineInfo.h"
#include "console/BatchRun.h"
#include "console/ConnectReaderDlg.h"
#include "console/MainFrame.h"
#include "console/TraceLine.h"
#include "framework/ListCtrl.h"
#include "platform/Handle.h"
#include "reader/QXCCIDINT.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

namespace {

const int kCommands = 1000;
// Best of several rounds on each side, in alternating order: the machine is shared, and slow rounds measure the
// neighbours.
const int kRounds = 5;
// The connect line, four lines per command (GET CHALLENGE answers data with 90 00).
const int kRows = 1 + 4 * kCommands;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

CQXReader_CCIDView *ActiveView() {
    return dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(FindActiveTraceView()));
}

// A fresh trace window and no connection, outside the clock.
void Prepare(CConsoleBenchApp &app) {
    app.CloseAllDocuments(FALSE);
    app.OnFileNew();
    app.PumpWaitingMessages();
    theReader.Disconnect();
}

// The rows of the active window, as both sides must leave them.
bool RowsComplete(const char *side) {
    CQXReader_CCIDView *view = ActiveView();
    const int rows = view ? view->GetListCtrl().GetItemCount() : 0;
    // The batch adds its summary line after the run's rows.
    if (rows < kRows) {
        std::printf("%s: %d rows, expected %d\n", side, rows, kRows);
        return false;
    }
    return true;
}

// Connect button, script command, Save: the same work through the dialogs' code.
bool DialogRound(CConsoleBenchApp &app, CMainFrame *frame, const std::string &reader, const std::string &script,
                 const std::string &out, double &best) {
    Prepare(app);
    auto t0 = Clock::now();
    if (!CConnectReaderDlg::ConnectTheReader(frame->m_hContext, reader))
        return false;
    frame->AddTrace("连接成功！");
    DWORD rc = 0;
    if (!frame->RunScriptFile(script, nullptr, &rc) || rc != 0)
        return false;
    app.PumpWaitingMessages(); // the view's deferred repaint belongs to the run
    CQXReader_CCIDView *view = ActiveView();
    if (!view || !view->GetDocument()->OnSaveDocument(out))
        return false;
    best = std::min(best, Since(t0));
    return RowsComplete("dialogs");
}

bool BatchRound(CConsoleBenchApp &app, CMainFrame *frame, const std::string &args, double &best) {
    Prepare(app);
    CBatchCommandLineInfo options;
    options.ParseParameters(args);
    auto t0 = Clock::now();
    int code = 0;
    {
        CBatchRun run(options);
        code = run.Run(*frame);
    }
    app.PumpWaitingMessages();
    best = std::min(best, Since(t0));
    if (code != CBatchRun::kExitPassed) {
        std::printf("the batch run ended with %d\n", code);
        return false;
    }
    return RowsComplete("batch");
}

std::string WindowsPath(const std::string &unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The real console as its own process with the batch switches: start to exit, and its exit code.
bool ProcessRound(const std::string &args, double &best) {
    std::string line = "\"" + WindowsPath(QX_CONSOLE_EXE) + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    auto t0 = Clock::now();
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("the console could not be started\n");
        return false;
    }
    CKernelObject thread(pi.hThread), process(pi.hProcess);
    DWORD code = STILL_ACTIVE;
    const bool ended = ::WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
    best = std::min(best, Since(t0));
    ::GetExitCodeProcess(pi.hProcess, &code);
    if (!ended)
        ::TerminateProcess(pi.hProcess, 1);
    if (code != 0)
        std::printf("the console ended with %lu\n", static_cast<unsigned long>(code));
    return ended && code == 0;
}

// The run's own time from the last summary line of the log ("用时 <seconds> 秒"); -1 when there is none.
double LoggedSeconds(const std::string &path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    std::string line, last;
    while (std::getline(f, line))
        if (!line.empty())
            last = line;
    const char mark[] = "用时 ";
    const size_t at = last.rfind(mark);
    double seconds = -1;
    if (at != std::string::npos)
        std::sscanf(last.c_str() + at + sizeof(mark) - 1, "%lf", &seconds);
    return seconds;
}

} // namespace

int main(int argc, char **argv) {
    const std::string reader = argc > 1 ? argv[1] : "Virtual PCD 00 00";
    CConsoleBenchApp app;
    CMainFrame *frame = app.OpenConsoleWindow();
    if (!frame)
        return 1;
    if (frame->PollReaders() != 0 || !frame->m_pReaderList) {
        std::printf("no readers (run this on the rig)\n");
        return 1;
    }

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string dir = temp;
    const std::string script = dir + "qx_batch_bench.txt";
    const std::string dialogsOut = dir + "qx_batch_bench_dialogs.trace";
    const std::string batchOut = dir + "qx_batch_bench.trace";
    {
        // GET CHALLENGE: eight random bytes and 90 00 for every command, on both sides.
        std::ofstream f(script.c_str(), std::ios::binary);
        for (int i = 0; i < kCommands; ++i)
            f << "0084000008\r\n";
    }
    const std::string args = "/reader \"" + reader + "\" /script \"" + script + "\" /save \"" + batchOut + "\" /exit";

    double dialogs = 1e9, batch = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const bool batchFirst = round % 2 == 1;
        if ((batchFirst && !BatchRound(app, frame, args, batch)) ||
            !DialogRound(app, frame, reader, script, dialogsOut, dialogs) ||
            (!batchFirst && !BatchRound(app, frame, args, batch))) {
            std::printf("round %d failed\n", round);
            return 1;
        }
    }
    theReader.Disconnect();
    app.CloseAllDocuments(FALSE);
    frame->DestroyWindow();

    double process = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        if (!ProcessRound(args, process))
            return 1;
    }
    std::printf("through the dialogs' code  %8.1f APDU/s  (%d in %.3f s: connect, script command, save)\n",
                kCommands / dialogs, kCommands, dialogs);
    std::printf("batch run                  %8.1f APDU/s  (%d in %.3f s: the same, plus checks, summary and log)\n",
                kCommands / batch, kCommands, batch);
    std::printf("batch / dialogs time       %8.2fx  (goal: within 1.1x)\n", batch / dialogs);
    std::printf("the console as a process with the same switches: %.3f s from start to exit, of which the run\n"
                "  itself (its summary's time) %.3f s\n",
                process, LoggedSeconds(CBatchRun::LogPathFor(batchOut)));
    return 0;
}
