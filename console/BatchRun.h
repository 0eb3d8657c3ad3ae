// An unattended run started from the command line: connect, script, comparison with a reference trace, save, and a
// summary line for the trace window and for QXReader_CCID.log; the exit code tells a build script the outcome.
#pragma once

#include <windows.h>
#include <string>
#include <vector>
#include "console/BatchCommandLineInfo.h"
#include "framework/MessageBox.h"

class CMainFrame;
class CQXReader_CCIDDoc;

class CBatchRun {
public:
    // 0: the script ran to its end (and matched the reference); 1: it stopped early, a command could not be sent,
    // or the trace differed; 2: bad arguments, a file that cannot be read or written, no reader connected.
    enum ExitCode { kExitPassed = 0, kExitFailed = 1, kExitBadSetup = 2 };

    // From here until the object goes, nobody is asked anything: the framework's message boxes are not shown, their
    // texts become trace lines (kept until the run has a trace window to write to).
    explicit CBatchRun(const CBatchCommandLineInfo &options);
    ~CBatchRun();
    CBatchRun(const CBatchRun &) = delete;
    CBatchRun &operator=(const CBatchRun &) = delete;

    // Carries the run out in the frame's active trace window; returns the exit code.
    int Run(CMainFrame &frame);
    // The start failed before any run (the file argument could not be opened): the summary goes to the log alone.
    int Abandon();

    bool WantsExit() const { return m_options.m_bExit; }
    int GetExitCode() const { return m_nExitCode; }
    const std::string &GetSummary() const { return m_strSummary; }

    // How every summary line begins; a reference trace's own summary lines are left out of a comparison.
    static const char kSummaryMark[];
    // The log beside a saved trace: QXReader_CCID.log in the folder of `strSavePath`.
    static std::string LogPathFor(const std::string &strSavePath);

private:
    void Execute(CMainFrame &frame, CQXReader_CCIDDoc *pDoc, size_t nFirstRecord, int nFirstNumber);
    // Reads the reference's line texts without its summary lines; false when the file cannot be read.
    bool ReadReference(std::vector<std::string> &lines) const;
    void Compare(CQXReader_CCIDDoc &doc, size_t nFirstRecord, int nFirstNumber,
                 const std::vector<std::string> &reference);
    // Adds a reason; the exit code is the gravest one met.
    void Note(int nExitCode, const std::string &strReason);
    void Finish(double seconds);
    void ShowLastRow();
    void AppendToLog();
    int OnMessageBox(const std::string &text, UINT type);

    CBatchCommandLineInfo m_options;
    CMessageBox::Handler m_previousHandler;
    CMainFrame *m_pFrame = nullptr;
    std::vector<std::string> m_arrPendingMessages;
    std::vector<std::string> m_arrReasons;
    std::string m_strComparison;
    DWORD m_nCommands = 0;
    DWORD m_nFailures = 0;
    int m_nExitCode = kExitPassed;
    std::string m_strSummary;
};
