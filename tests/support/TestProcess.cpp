#include "tests/support/TestProcess.h"

#include <tlhelp32.h>

#include <vector>

CTestProcess::CTestProcess() : m_nProcessId(0), m_nThreadId(0) {}

CTestProcess::~CTestProcess() {
    if (IsRunning())
        Terminate();
    Close();
}

void CTestProcess::Close() {
    m_hThread.Close();
    m_hProcess.Close();
    m_nProcessId = m_nThreadId = 0;
}

bool CTestProcess::Start(const std::string &strExe, const std::string &strArgs, const std::string &strDir) {
    if (IsRunning())
        Terminate();
    Close();
    std::string strCommand = "\"" + strExe + "\"";
    if (!strArgs.empty())
        strCommand += " " + strArgs;
    std::vector<char> command(strCommand.begin(), strCommand.end());
    command.push_back('\0');
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!::CreateProcessA(strExe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL,
                          strDir.empty() ? NULL : strDir.c_str(), &si, &pi))
        return false;
    m_hProcess.Attach(pi.hProcess);
    m_hThread.Attach(pi.hThread);
    m_nProcessId = pi.dwProcessId;
    m_nThreadId = pi.dwThreadId;
    return true;
}

bool CTestProcess::IsRunning() const {
    return m_hProcess && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CTestProcess::WaitForExit(DWORD timeoutMs) const {
    return m_hProcess && ::WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool CTestProcess::WaitForInputIdle(DWORD timeoutMs) const {
    return m_hProcess && ::WaitForInputIdle(m_hProcess, timeoutMs) == 0;
}

DWORD CTestProcess::GetExitCode() const {
    DWORD nCode = STILL_ACTIVE;
    if (m_hProcess)
        ::GetExitCodeProcess(m_hProcess, &nCode);
    return nCode;
}

void CTestProcess::Terminate(UINT nExitCode) {
    if (!m_hProcess)
        return;
    ::TerminateProcess(m_hProcess, nExitCode);
    ::WaitForSingleObject(m_hProcess, 5000);
}

std::vector<DWORD> CTestProcess::FindByImageName(const std::string &strImage) {
    std::vector<DWORD> ids;
    CKernelObject hSnap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnap.IsValid())
        return ids;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32First(hSnap, &entry); bMore; bMore = ::Process32Next(hSnap, &entry)) {
        const char *pszName = entry.szExeFile;
        for (const char *p = entry.szExeFile; *p; ++p) {
            if (*p == '\\' || *p == '/')
                pszName = p + 1;
        }
        if (::lstrcmpiA(pszName, strImage.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

bool CTestProcess::TerminateById(DWORD nProcessId, DWORD timeoutMs) {
    CKernelObject hProcess(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nProcessId));
    if (!hProcess.IsValid())
        return false;
    ::TerminateProcess(hProcess, 1);
    const bool bGone = ::WaitForSingleObject(hProcess, timeoutMs) == WAIT_OBJECT_0;
    return bGone;
}
