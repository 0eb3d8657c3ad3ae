// Parses a readable skin source (objects, fields, caption buttons, menu bar, images) into a skin to be written.
#pragma once

#include "skin/Skin.h"

#include <string>
#include <vector>

class CSkinSource {
public:
    CSkinSource();

    // Reads the source; image files are looked up in the given folders in order.
    bool Load(const std::string &path, const std::vector<std::string> &imageFolders);
    bool Parse(std::istream &input, const std::vector<std::string> &imageFolders);

    const CSkin &GetSkin() const { return m_skin; }
    BYTE GetMinor() const { return m_nMinor; }
    const std::string &GetAuthor() const { return m_author; }
    // "file:line: message" of the first error.
    const std::string &GetError() const { return m_error; }

private:
    bool Fail(const std::string &message);
    bool LoadImage(const std::string &name, const std::string &file, const std::vector<std::string> &folders);

    CSkin m_skin;
    BYTE m_nMinor;
    std::string m_author;
    std::string m_path;
    int m_nLine;
    std::string m_error;
};
