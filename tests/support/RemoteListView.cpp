#include "tests/support/RemoteListView.h"

#include <commctrl.h>

CRemoteListView::CRemoteListView(HWND hListView) : m_hListView(hListView), m_pRemote(NULL) {
    DWORD nPid = 0;
    if (!::GetWindowThreadProcessId(hListView, &nPid))
        return;
    m_hProcess.Attach(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nPid));
    if (m_hProcess)
        m_pRemote = ::VirtualAllocEx(m_hProcess, NULL, sizeof(LVITEMA) + kTextCapacity, MEM_COMMIT | MEM_RESERVE,
                                     PAGE_READWRITE);
}

CRemoteListView::~CRemoteListView() {
    if (m_pRemote)
        ::VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
    m_hProcess.Close();
}

int CRemoteListView::GetItemCount() const {
    return static_cast<int>(::SendMessageA(m_hListView, LVM_GETITEMCOUNT, 0, 0));
}

int CRemoteListView::GetColumnCount() const {
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(m_hListView, LVM_GETHEADER, 0, 0));
    return hHeader ? static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string CRemoteListView::GetItemText(int nRow, int nColumn) const {
    if (!m_pRemote || nRow < 0 || nColumn < 0)
        return std::string();
    char *pRemoteText = static_cast<char *>(m_pRemote) + sizeof(LVITEMA);
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = nColumn;
    item.pszText = pRemoteText;
    item.cchTextMax = static_cast<int>(kTextCapacity);
    static const char kEmpty = '\0';
    if (!::WriteProcessMemory(m_hProcess, m_pRemote, &item, sizeof(item), NULL) ||
        !::WriteProcessMemory(m_hProcess, pRemoteText, &kEmpty, 1, NULL))
        return std::string();
    const LRESULT nLen =
        ::SendMessageA(m_hListView, LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(m_pRemote));
    if (nLen <= 0)
        return std::string();
    std::string strText(static_cast<size_t>(nLen) < kTextCapacity ? static_cast<size_t>(nLen) : kTextCapacity - 1,
                        '\0');
    if (!::ReadProcessMemory(m_hProcess, pRemoteText, &strText[0], strText.size(), NULL))
        return std::string();
    return strText;
}

std::vector<std::string> CRemoteListView::GetRow(int nRow) const {
    std::vector<std::string> cells;
    const int nColumns = GetColumnCount();
    for (int c = 0; c < nColumns; ++c)
        cells.push_back(GetItemText(nRow, c));
    return cells;
}
