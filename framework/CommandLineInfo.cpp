#include "framework/CommandLineInfo.h"

#include <vector>

void CCommandLineInfo::ParseParameters(const std::string &parameters) {
    std::vector<std::string> args;
    std::string current;
    bool inQuotes = false;
    bool have = false;
    for (char c : parameters) {
        if (c == '"') {
            inQuotes = !inQuotes;
            have = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (have)
                args.push_back(current);
            current.clear();
            have = false;
        } else {
            current += c;
            have = true;
        }
    }
    if (have)
        args.push_back(current);
    for (const std::string &a : args) {
        if (!a.empty() && (a[0] == '/' || a[0] == '-'))
            continue;
        if (m_strFileName.empty() && !a.empty()) {
            m_strFileName = a;
            m_nShellCommand = FileOpen;
        }
    }
}
