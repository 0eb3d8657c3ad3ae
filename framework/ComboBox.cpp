#include "framework/ComboBox.h"

#include <vector>

int CComboBox::AddString(const std::string &text) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void CComboBox::ResetContent() {
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::GetCount() const {
    return static_cast<int>(SendMessage(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const {
    return static_cast<int>(SendMessage(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

bool CComboBox::GetLBText(int nIndex, std::string &text) const {
    text.clear();
    LRESULT n = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex));
    if (n == CB_ERR || n < 0)
        return false;
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    LRESULT got = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buf.data()));
    if (got == CB_ERR || got < 0)
        return false;
    text.assign(buf.data(),
                static_cast<size_t>(got) <= static_cast<size_t>(n) ? static_cast<size_t>(got) : static_cast<size_t>(n));
    return true;
}

int CComboBox::FindStringExact(int nIndexStart, const std::string &text) const {
    return static_cast<int>(
        SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(text.c_str())));
}

BOOL CComboBox::LimitText(int nMaxChars) {
    return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
}
