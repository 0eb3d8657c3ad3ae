#include "tests/support/TestPaths.h"

#include <windows.h>

#include <cstdio>

#ifndef QX_ARTIFACTS_DIR
#define QX_ARTIFACTS_DIR "/tmp"
#endif

std::string CTestPaths::FromUnix(const std::string &strUnixPath) {
    if (strUnixPath.empty() || strUnixPath[0] != '/')
        return strUnixPath;
    std::string strPath = "Z:" + strUnixPath;
    for (char &c : strPath) {
        if (c == '/')
            c = '\\';
    }
    return strPath;
}

std::string CTestPaths::ArtifactsDir() {
    return FromUnix(QX_ARTIFACTS_DIR);
}

bool CTestPaths::MakeDirs(const std::string &strPath) {
    for (size_t i = 3; i <= strPath.size(); ++i) {
        if (i == strPath.size() || strPath[i] == '\\' || strPath[i] == '/')
            ::CreateDirectoryA(strPath.substr(0, i).c_str(), NULL);
    }
    const DWORD nAttr = ::GetFileAttributesA(strPath.c_str());
    return nAttr != INVALID_FILE_ATTRIBUTES && (nAttr & FILE_ATTRIBUTE_DIRECTORY);
}

bool CTestPaths::CopyFileTo(const std::string &strFrom, const std::string &strTo) {
    const size_t nSep = strTo.find_last_of("\\/");
    if (nSep != std::string::npos)
        MakeDirs(strTo.substr(0, nSep));
    return ::CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE) != FALSE;
}

bool CTestPaths::Exists(const std::string &strPath) {
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CTestPaths::ReadFile(const std::string &strPath) {
    std::string strData;
    FILE *pFile = std::fopen(strPath.c_str(), "rb");
    if (!pFile)
        return strData;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        strData.append(buffer, n);
    std::fclose(pFile);
    return strData;
}

bool CTestPaths::WriteFile(const std::string &strPath, const std::string &strData) {
    FILE *pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile)
        return false;
    const bool bOk = std::fwrite(strData.data(), 1, strData.size(), pFile) == strData.size();
    return std::fclose(pFile) == 0 && bOk;
}
