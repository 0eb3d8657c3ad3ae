#include "launcher/LauncherPath.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

bool CLauncherPath::IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

std::string CLauncherPath::BaseDirFromModulePath(const std::string &strModulePath, LeadBytePredicate pfnIsLead) {
    // Same split as the runtime's path splitter: a drive is a letter and a colon at the start; the folder runs up to
    // and including the last separator; the file name after it is dropped. Trailing separators are then cut, so the
    // base folder ends at its last character that is not a separator.
    std::string::size_type nStart = 0;
    if (strModulePath.size() >= 2 && strModulePath[1] == ':')
        nStart = 2;

    std::string::size_type nFolderEnd = nStart;  // one past the last separator
    std::string::size_type nContentEnd = nStart; // one past the last character that is not a separator
    std::string::size_type nContentEndAtSep = nStart;
    std::string::size_type i = nStart;
    while (i < strModulePath.size()) {
        const unsigned char c = static_cast<unsigned char>(strModulePath[i]);
        std::string::size_type nLen = 1;
        if (pfnIsLead && pfnIsLead(c) && i + 1 < strModulePath.size())
            nLen = 2;
        if (nLen == 1 && IsSeparator(static_cast<char>(c))) {
            nFolderEnd = i + 1;
            nContentEndAtSep = nContentEnd;
        } else {
            nContentEnd = i + nLen;
        }
        i += nLen;
    }
    // The folder part ends at the last separator; its content ends at the last non-separator before it.
    const std::string::size_type nKeep = (nFolderEnd > nStart) ? nContentEndAtSep : nStart;
    return strModulePath.substr(0, nKeep);
}

std::string CLauncherPath::Compose(const std::string &strBaseDir, const char *pszRelative) {
    std::string strPath = strBaseDir;
    if (pszRelative)
        strPath += pszRelative;
    return strPath;
}
