#include "framework/RecentFileList.h"

#include <cstdio>
#include "framework/CmdUI.h"
#include "framework/WinApp.h"

namespace {
const size_t kMaxMenuPath = 60;

std::string FullPath(const std::string &path) {
    char buf[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(path.c_str(), sizeof(buf), buf, nullptr);
    if (n == 0 || n >= sizeof(buf))
        return path;
    return std::string(buf, n);
}
} // namespace

CRecentFileList::CRecentFileList(UINT nStartID, const std::string &section, const std::string &entryFormat, int nSize)
    : m_nStartID(nStartID), m_strSection(section), m_strEntryFormat(entryFormat), m_nSize(nSize < 1 ? 1 : nSize) {}

void CRecentFileList::Add(const std::string &path) {
    if (path.empty())
        return;
    std::string full = FullPath(path);
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (::lstrcmpiA(m_arrNames[i].c_str(), full.c_str()) == 0) {
            m_arrNames.erase(m_arrNames.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_arrNames.insert(m_arrNames.begin(), full);
    if (m_arrNames.size() > static_cast<size_t>(m_nSize))
        m_arrNames.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < GetSize())
        m_arrNames.erase(m_arrNames.begin() + nIndex);
}

void CRecentFileList::ReadList(CWinApp &app) {
    m_arrNames.clear();
    char entry[64];
    for (int i = 0; i < m_nSize; ++i) {
        std::snprintf(entry, sizeof(entry), m_strEntryFormat.c_str(), i + 1);
        std::string name = app.GetProfileString(m_strSection, entry, "");
        if (!name.empty())
            m_arrNames.push_back(name);
    }
}

void CRecentFileList::WriteList(CWinApp &app) const {
    char entry[64];
    for (int i = 0; i < m_nSize; ++i) {
        std::snprintf(entry, sizeof(entry), m_strEntryFormat.c_str(), i + 1);
        if (i < GetSize())
            app.WriteProfileString(m_strSection, entry, &m_arrNames[static_cast<size_t>(i)]);
        else
            app.WriteProfileString(m_strSection, entry, nullptr);
    }
}

std::string CRecentFileList::GetMenuText(int nIndex) const {
    std::string path = m_arrNames[static_cast<size_t>(nIndex)];
    if (path.size() > kMaxMenuPath) {
        // Keep the root and the file name; drop the folders between.
        size_t name = path.find_last_of("\\/");
        size_t root = path.find_first_of("\\/");
        if (name != std::string::npos && root != std::string::npos && root < name)
            path = path.substr(0, root + 1) + "..." + path.substr(name);
    }
    std::string text = "&" + std::to_string(nIndex + 1) + " ";
    for (char c : path) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text;
}

void CRecentFileList::UpdateMenu(CCmdUI *pCmdUI) {
    HMENU hMenu = pCmdUI->m_hMenu;
    if (!hMenu)
        return;
    if (m_strOriginal.empty()) {
        char buf[256] = {};
        ::GetMenuStringA(hMenu, pCmdUI->m_nIndex, buf, sizeof(buf), MF_BYPOSITION);
        m_strOriginal = buf;
    }
    // Remove every entry shown before (they follow each other from the first one).
    UINT index = pCmdUI->m_nIndex;
    for (;;) {
        UINT id = ::GetMenuItemID(hMenu, static_cast<int>(index));
        if (id < m_nStartID || id >= m_nStartID + 16)
            break;
        ::DeleteMenu(hMenu, index, MF_BYPOSITION);
    }
    if (m_arrNames.empty()) {
        ::InsertMenuA(hMenu, index, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nStartID, m_strOriginal.c_str());
        pCmdUI->m_nIndex = index;
    } else {
        for (int i = 0; i < GetSize(); ++i)
            ::InsertMenuA(hMenu, index + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                          m_nStartID + static_cast<UINT>(i), GetMenuText(i).c_str());
        pCmdUI->m_nIndex = index + static_cast<UINT>(GetSize()) - 1;
    }
    pCmdUI->m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(hMenu));
    pCmdUI->m_bEnableChanged = TRUE;
}
