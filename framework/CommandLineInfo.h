// What the program's command line asks for: a new document, or opening the file it names.
#pragma once

#include <string>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    // Reads a command line without the program name; quoted arguments may hold spaces, switches (/x, -x) are
    // ignored, the first other argument is the file to open.
    void ParseParameters(const std::string &parameters);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};
