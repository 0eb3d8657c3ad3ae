// Non-owning access to a list-view control's rows, columns and extended style.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>

class CListCtrl {
public:
    explicit CListCtrl(HWND hWnd = nullptr) : m_hWnd(hWnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Returns the index of the new column, -1 on failure.
    int InsertColumn(int nCol, const std::string &heading, int nFormat = LVCFMT_LEFT, int nWidth = -1) const;
    int GetColumnWidth(int nCol) const;
    // Inserts a row with a text in column 0; returns its index, -1 on failure.
    int InsertItem(int nItem, const std::string &text) const;
    BOOL SetItemText(int nItem, int nSubItem, const std::string &text) const;
    std::string GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const;
    BOOL DeleteAllItems() const;
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwNewStyle) const;

private:
    HWND m_hWnd;
};
