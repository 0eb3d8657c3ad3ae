// The most-recently-used file list: kept in the registry, shown in place of a menu's place-holder item.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

class CCmdUI;
class CWinApp;

class CRecentFileList {
public:
    // entryFormat holds one %d, numbered from 1 ("File%d").
    CRecentFileList(UINT nStartID, const std::string &section, const std::string &entryFormat, int nSize);

    // Puts a path first (moving it up if present); paths compare without regard to case, as the file system does.
    void Add(const std::string &path);
    void Remove(int nIndex);
    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    int GetMaxSize() const { return m_nSize; }
    const std::string &operator[](int nIndex) const { return m_arrNames[static_cast<size_t>(nIndex)]; }

    void ReadList(CWinApp &app);
    void WriteList(CWinApp &app) const;

    // Replaces the place-holder item (or the entries shown last time) with the current entries.
    void UpdateMenu(CCmdUI *pCmdUI);
    // Menu text of one entry: "&1 C:\path\name.trace", long paths shortened in the middle.
    std::string GetMenuText(int nIndex) const;

private:
    std::vector<std::string> m_arrNames;
    UINT m_nStartID;
    std::string m_strSection;
    std::string m_strEntryFormat;
    int m_nSize;
    std::string m_strOriginal; // the place holder's own text, shown while the list is empty
};
