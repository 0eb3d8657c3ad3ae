// A uniquely named temporary folder that is removed with everything in it when the object goes.
#pragma once

#include <string>

class CTempDir {
public:
    explicit CTempDir(const std::string &strPrefix = "qx");
    ~CTempDir();
    CTempDir(const CTempDir &) = delete;
    CTempDir &operator=(const CTempDir &) = delete;

    const std::string &GetPath() const { return m_strPath; }
    bool IsValid() const { return !m_strPath.empty(); }
    // The path of a file or folder inside.
    std::string operator/(const std::string &strRelative) const { return m_strPath + "\\" + strRelative; }

    // Removes a folder tree; true when it is gone.
    static bool RemoveTree(const std::string &strPath);

private:
    std::string m_strPath;
};
