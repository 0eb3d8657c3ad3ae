#include "tests/support/TempDir.h"

#include <windows.h>

#include <cstdio>

CTempDir::CTempDir(const std::string &strPrefix) {
    char szTemp[MAX_PATH + 1] = {0};
    const DWORD nLen = ::GetTempPathA(sizeof(szTemp), szTemp);
    if (nLen == 0 || nLen > MAX_PATH)
        return;
    std::string strBase(szTemp, nLen);
    if (!strBase.empty() && strBase.back() != '\\')
        strBase += '\\';
    for (unsigned nTry = 0; nTry < 1000; ++nTry) {
        char szName[64];
        std::snprintf(szName, sizeof(szName), "%s-%lu-%lu-%u", strPrefix.c_str(), ::GetCurrentProcessId(),
                      ::GetTickCount(), nTry);
        const std::string strPath = strBase + szName;
        if (::CreateDirectoryA(strPath.c_str(), NULL)) {
            m_strPath = strPath;
            return;
        }
    }
}

CTempDir::~CTempDir() {
    if (!m_strPath.empty())
        RemoveTree(m_strPath);
}

bool CTempDir::RemoveTree(const std::string &strPath) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((strPath + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            const std::string strChild = strPath + "\\" + strName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(strChild);
            } else {
                ::SetFileAttributesA(strChild.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(strChild.c_str());
            }
        } while (::FindNextFileA(hFind, &data));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(strPath.c_str());
    return ::GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}
