// Paths of end-to-end tests under Wine: the build's Unix paths as Windows paths, the artifacts folder, temporary
// folders and file copies.
#pragma once

#include <string>

class CTestPaths {
public:
    // A Unix absolute path as Wine shows it (drive Z: is the Unix root); other paths are returned unchanged.
    static std::string FromUnix(const std::string &strUnixPath);
    // Where screenshots go: QX_ARTIFACTS_DIR of the build (build/artifacts), as a Windows path.
    static std::string ArtifactsDir();
    // Creates every missing folder of the path; true when it exists afterwards.
    static bool MakeDirs(const std::string &strPath);
    // Copies a file, creating the target's folders.
    static bool CopyFileTo(const std::string &strFrom, const std::string &strTo);
    static bool Exists(const std::string &strPath);
    static std::string ReadFile(const std::string &strPath);
    static bool WriteFile(const std::string &strPath, const std::string &strData);
};
