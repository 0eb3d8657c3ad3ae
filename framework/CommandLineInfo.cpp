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
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool flag = !a.empty() && (a[0] == '/' || a[0] == '-');
        ParseParam(flag ? a.substr(1) : a, flag, i + 1 == args.size());
    }
}

void CCommandLineInfo::ParseParam(const std::string &param, bool bFlag, bool) {
    if (bFlag || param.empty() || !m_strFileName.empty())
        return;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}
