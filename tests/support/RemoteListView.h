// Reads the rows of a list view that belongs to another process, through memory allocated in that process.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

#include <string>
#include <vector>

class CRemoteListView {
public:
    explicit CRemoteListView(HWND hListView);
    ~CRemoteListView();
    CRemoteListView(const CRemoteListView &) = delete;
    CRemoteListView &operator=(const CRemoteListView &) = delete;

    bool IsValid() const { return m_pRemote != NULL; }
    int GetItemCount() const;
    int GetColumnCount() const;
    // The text of one cell; empty when the cell does not exist.
    std::string GetItemText(int nRow, int nColumn) const;
    // Every cell of the row, one string per column.
    std::vector<std::string> GetRow(int nRow) const;

private:
    static const SIZE_T kTextCapacity = 4096;

    HWND m_hListView;
    CKernelObject m_hProcess;
    void *m_pRemote; // an LVITEMA followed by the text buffer
};
