// A 1,000-command script run by the console (parse, transmit through the reader object with its mutex and
// GET RESPONSE logic, hexadecimal text, four trace lines per command into a real trace window) against a
// plain loop of the same 1,000 SCardTransmit calls on the same card handle, through the same PC/SC stack.
// Run it on the rig: scripts/rig.sh wine build/win32/bench/rig/console_script_bench.exe (build/win64 on machines
// that run no 32-bit code)
#include <windows.h>
#include <winscard.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/common/ConsoleBenchWindow.h"
#include "console/ApduScriptRunner.h"
#include "console/MainFrame.h"
#include "console/TraceLine.h"
#include "framework/DocTemplate.h"
#include "framework/ListCtrl.h"
#include "framework/WinApp.h"
#include "reader/QXCCIDINT.h"
#include "res/console/resource.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

namespace {

const int kCommands = 1000;
const int kRounds = 3;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double PerCommand(double seconds) {
    return seconds * 1e6 / kCommands;
}

// Where a script run's time goes: the same run as the frame's RunScript, with a stopwatch around each
// of the runner's two callbacks (which do exactly what the frame's do).
struct Breakdown {
    double whole = 0, transmit = 0, lines = 0, repaint = 0;
};

Breakdown InstrumentedRun(CConsoleBenchApp& app, const std::string& script) {
    Breakdown b;
    auto t0 = Clock::now();
    RunApduScript(
        script.data(), static_cast<DWORD>(script.size()),
        [&b](const BYTE* command, DWORD length, BYTE* data, DWORD* dataLength, WORD* status) {
            auto t = Clock::now();
            BOOL ok = theReader.Transmit(command, length, data, dataLength, status);
            b.transmit += Since(t);
            return ok;
        },
        [&b](const std::string& line) {
            auto t = Clock::now();
            theMessage = line;
            PostTraceLine(theMessage.c_str(), -1);
            b.lines += Since(t);
        });
    auto t1 = Clock::now();
    app.PumpWaitingMessages();
    b.repaint = Since(t1);
    b.whole = Since(t0);
    return b;
}

const BYTE kCommand[] = {0x00, 0x84, 0x00, 0x00, 0x08};

// One round of the plain SCardTransmit loop on the reader's card handle; keeps the best time.
bool RawRound(double& best) {
    SCARD_IO_REQUEST pci = {0, sizeof(SCARD_IO_REQUEST)};
    BYTE response[512];
    auto t0 = Clock::now();
    for (int i = 0; i < kCommands; ++i) {
        DWORD length = sizeof response;
        if (SCardTransmit(theReader.m_hCard, &pci, kCommand, sizeof kCommand, nullptr, response, &length) !=
                SCARD_S_SUCCESS ||
            length != 10) {
            std::printf("raw exchange %d failed\n", i);
            return false;
        }
    }
    best = std::min(best, Since(t0));
    return true;
}

// One round of the console's script run into the trace window; keeps the best time.
bool ConsoleRound(CConsoleBenchApp& app, CMainFrame* frame, const std::string& script, double& best) {
    auto t0 = Clock::now();
    DWORD rc = frame->RunScript(script.data(), static_cast<DWORD>(script.size()));
    app.PumpWaitingMessages(); // the view's deferred repaint belongs to the run
    best = std::min(best, Since(t0));
    if (rc != 0) {
        std::printf("the script stopped with 0x%lx\n", static_cast<unsigned long>(rc));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const char* reader = argc > 1 ? argv[1] : "Virtual PCD 00 00";
    CConsoleBenchApp app;
    CMainFrame* frame = app.OpenConsoleWindow();
    if (!frame)
        return 1;

    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS ||
        !theReader.Init(context, reader, "QXCCIDINT") || !theReader.Connect()) {
        std::printf("no card in \"%s\" (run this on the rig)\n", reader);
        return 1;
    }

    // GET CHALLENGE (kCommand): eight random bytes and 90 00, the same answer on both sides.
    std::string script;
    for (int i = 0; i < kCommands; ++i)
        script += "0084000008\r\n";

    double raw = 1e9, console = 1e9, lock = 1e9;
    Breakdown parts;
    parts.whole = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        if (!RawRound(raw) || !ConsoleRound(app, frame, script, console))
            return 1;

        Breakdown b = InstrumentedRun(app, script);
        if (b.whole < parts.whole)
            parts = b;

        // The reader's cross-process lock on its own, taken and released back to back.
        auto t0 = Clock::now();
        for (int i = 0; i < kCommands; ++i) {
            theReader.m_mutex.Lock();
            theReader.m_mutex.Unlock();
        }
        lock = std::min(lock, Since(t0));
    }
    // The same comparison once more with the reader running unlocked (as it does when no mutex could be
    // made): the console's cost without the cross-process lock that every exchange takes.
    theReader.m_mutex.Close();
    double rawUnlocked = 1e9, consoleUnlocked = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        if (!RawRound(rawUnlocked) || !ConsoleRound(app, frame, script, consoleUnlocked))
            return 1;
    }
    auto* view = dynamic_cast<CQXReader_CCIDView*>(CWnd::FromHandlePermanent(FindActiveTraceView()));
    const int rows = view ? view->GetListCtrl().GetItemCount() : 0;
    std::printf("raw SCardTransmit loop   %8.1f APDU/s  (%d in %.3f s)\n", kCommands / raw, kCommands, raw);
    std::printf("console script run       %8.1f APDU/s  (%d in %.3f s, %d trace rows at the end)\n",
                kCommands / console, kCommands, console, rows);
    std::printf("console / raw time       %8.2fx  (goal: at most 1.25x)\n", console / raw);
    std::printf("per command (instrumented run): %.1f us = exchange through the reader object %.1f us (raw loop\n"
                "  %.1f us; the reader's lock alone %.1f us back to back), four trace lines %.1f us, the final\n"
                "  repaint %.1f us, parsing and hex text %.1f us\n",
                PerCommand(parts.whole), PerCommand(parts.transmit), PerCommand(raw), PerCommand(lock),
                PerCommand(parts.lines), PerCommand(parts.repaint),
                PerCommand(parts.whole - parts.transmit - parts.lines - parts.repaint));
    std::printf("console / raw time without the reader's lock %.2fx\n", consoleUnlocked / rawUnlocked);
    theReader.Disconnect();
    app.CloseAllDocuments(FALSE);
    frame->DestroyWindow();
    return rows == 12 * kCommands * kRounds ? 0 : 1;
}
