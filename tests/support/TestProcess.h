// A program started by a test: creation, waiting, exit code and termination, with its handles owned.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

#include <string>
#include <vector>

class CTestProcess {
public:
    CTestProcess();
    // Terminates the program if it still runs, so a failed test leaves nothing behind.
    ~CTestProcess();
    CTestProcess(const CTestProcess &) = delete;
    CTestProcess &operator=(const CTestProcess &) = delete;

    // Starts "strExe" strArgs (the executable quoted) in strDir (empty: the test's folder).
    bool Start(const std::string &strExe, const std::string &strArgs = std::string(),
               const std::string &strDir = std::string());

    bool IsRunning() const;
    // True when the program ended within timeoutMs.
    bool WaitForExit(DWORD timeoutMs) const;
    // True once the program waits for input with nothing left to handle (the first time after its start).
    bool WaitForInputIdle(DWORD timeoutMs) const;
    // The exit code, or STILL_ACTIVE.
    DWORD GetExitCode() const;
    void Terminate(UINT nExitCode = 1);

    DWORD GetProcessId() const { return m_nProcessId; }
    DWORD GetThreadId() const { return m_nThreadId; }
    HANDLE GetHandle() const { return m_hProcess; }

    // Ids of every running process whose executable file name (without folder) equals strImage, case-insensitively.
    static std::vector<DWORD> FindByImageName(const std::string &strImage);
    // Ends a process by id; true when it is gone.
    static bool TerminateById(DWORD nProcessId, DWORD timeoutMs = 5000);

private:
    void Close();

    CKernelObject m_hProcess;
    CKernelObject m_hThread;
    DWORD m_nProcessId;
    DWORD m_nThreadId;
};
