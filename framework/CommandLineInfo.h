// What the program's command line asks for: a new document, or opening the file it names.
#pragma once

#include <string>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;

    // Reads a command line without the program name; quoted arguments may hold spaces. Each argument goes to
    // ParseParam in order.
    void ParseParameters(const std::string &parameters);

    // One argument: bFlag when it began with '/' or '-' (pszParam is then the rest), bLast for the final one. The
    // base ignores switches and takes the first other argument as the file to open; a program with switches of
    // its own derives and passes on what it does not know.
    virtual void ParseParam(const std::string &param, bool bFlag, bool bLast);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};
