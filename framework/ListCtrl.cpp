#include "framework/ListCtrl.h"

#include <vector>

int CListCtrl::InsertColumn(int nCol, const std::string &heading, int nFormat, int nWidth) const {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = nFormat;
    col.pszText = const_cast<char *>(heading.c_str());
    col.iSubItem = nCol;
    if (nWidth >= 0) {
        col.mask |= LVCF_WIDTH;
        col.cx = nWidth;
    }
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::GetColumnWidth(int nCol) const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol), 0));
}

int CListCtrl::InsertItem(int nItem, const std::string &text) const {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<char *>(text.c_str());
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string &text) const {
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<char *>(text.c_str());
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer's size; grow until the text fits.
    for (size_t size = 256; size <= (1u << 20); size *= 4) {
        std::vector<char> buf(size, '\0');
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = buf.data();
        item.cchTextMax = static_cast<int>(size);
        LRESULT n =
            ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
        if (n < 0)
            return std::string();
        if (static_cast<size_t>(n) < size - 2)
            return std::string(buf.data(), static_cast<size_t>(n));
    }
    return std::string();
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CListCtrl::DeleteAllItems() const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0));
}

DWORD CListCtrl::GetExtendedStyle() const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) const {
    // A zero mask means "all bits": the whole extended style is replaced.
    return static_cast<DWORD>(::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}
