#include "tests/rig/RigControl.h"

#include "platform/Handle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string Env(const char *name) {
    char value[1024] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return (n && n < sizeof value) ? std::string(value) : std::string();
}

// With QX_RIG_SESSION_DIRS, the rig of this test session lies in a folder named after the session's
// Wine prefix, as scripts/rig.sh decides; settle it once for this process, the DLL and the agents.
struct CSessionRigDir {
    CSessionRigDir() {
        std::string prefix = Env("QX_WINEPREFIX");
        std::string base = Env("QX_RIG_DIR");
        if (Env("QX_RIG_SESSION_DIRS").empty() || prefix.empty() || base.empty())
            return;
        while (prefix.size() > 1 && prefix.back() == '/')
            prefix.pop_back();
        SetEnvironmentVariableA("QX_RIG_DIR", (base + "/" + prefix.substr(prefix.find_last_of('/') + 1)).c_str());
        SetEnvironmentVariableA("QX_RIG_SESSION_DIRS", nullptr);
    }
} g_sessionRigDir;

} // namespace

std::string CRigControl::RigDir() {
    return Env("QX_RIG_DIR");
}

std::string CRigControl::DosPath(const std::string &unixPath) {
    return "Z:" + unixPath;
}

int CRigControl::Run(const std::string &args) {
    const std::string rig = RigDir();
    const std::string root = Env("QX_ROOT");
    if (rig.empty() || root.empty())
        return -1;
    const std::string done = rig + "/ctl.done";
    DeleteFileA(DosPath(done).c_str());
    // Wine starts a host program named by its Unix path; it cannot wait for one, so the command
    // leaves its exit status in a file.
    std::string cmd = "/bin/sh -c \"QX_RIG_SESSION_DIRS= QX_RIG_DIR='" + rig + "' '" + root + "/scripts/rig.sh' " +
                      args + " >>'" + rig + "/ctl.out' 2>&1; echo $? >'" + done + ".tmp'; mv '" + done + ".tmp' '" +
                      done + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = cmd;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    CKernelObject thread(pi.hThread), process(pi.hProcess); // not waited for
    for (int i = 0; i < 1200; ++i) {
        std::ifstream f(DosPath(done));
        int status = -1;
        if (f >> status)
            return status;
        Sleep(25);
    }
    return -1;
}

void CRigControl::ClearLog(int slot) {
    std::ofstream(DosPath(RigDir() + "/card" + std::to_string(slot) + ".log"), std::ios::trunc);
}

std::vector<CRigControl::Event> CRigControl::ReadLog(int slot) {
    std::vector<Event> events;
    std::ifstream f(DosPath(RigDir() + "/card" + std::to_string(slot) + ".log"));
    std::string line;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        std::string stamp;
        Event e;
        if (in >> stamp >> e.kind) {
            in >> e.hex;
            events.push_back(e);
        }
    }
    return events;
}

std::vector<std::string> CRigControl::Commands(int slot) {
    std::vector<std::string> out;
    for (const Event &e : ReadLog(slot)) {
        if (e.kind == "CMD")
            out.push_back(e.hex);
    }
    return out;
}

bool CRigControl::Has(const std::vector<Event> &log, const std::string &kind) {
    for (const Event &e : log) {
        if (e.kind == kind)
            return true;
    }
    return false;
}
