// A combo box bound to a dialog item: list items, selection and the edit part's text.
#pragma once

#include <windows.h>
#include <string>
#include "framework/Wnd.h"

class CComboBox : public CWnd {
public:
    // Returns the index of the new item (its sorted place in a sorted list), CB_ERR or CB_ERRSPACE.
    int AddString(const std::string &text);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    // The text of list item nIndex; false (text empty) when there is no such item.
    bool GetLBText(int nIndex, std::string &text) const;
    int FindStringExact(int nIndexStart, const std::string &text) const;
    BOOL LimitText(int nMaxChars);
};
