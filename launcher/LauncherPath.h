// Composes the launcher's base folder and the medium paths of its entries from the executable's own path.
#pragma once

#include <string>

class CLauncherPath {
public:
    // Tells whether a byte starts a two-byte character of the ANSI code page in use.
    typedef bool (*LeadBytePredicate)(unsigned char byte);

    // Lead bytes of GBK (code page 936), the code page of the launcher's texts.
    static bool IsGbkLeadByte(unsigned char byte);

    // Drive followed by folder of a full module path, every trailing backslash removed, so that a launcher at the
    // root of drive E yields "E:" and one in E:\setup yields "E:\setup". Forward slashes count as separators too.
    // The trail byte of a two-byte character is never taken for a separator, even when it is 0x5C.
    static std::string BaseDirFromModulePath(const std::string &strModulePath,
                                             LeadBytePredicate pfnIsLead = &CLauncherPath::IsGbkLeadByte);

    // The base folder followed by an entry's relative path, which starts with a backslash.
    static std::string Compose(const std::string &strBaseDir, const char *pszRelative);
};
