// An edit control bound to a dialog item.
#pragma once

#include <windows.h>
#include "framework/Wnd.h"

class CEdit : public CWnd {
public:
    // Typing limit in characters; 0 removes the limit.
    void LimitText(int nChars);
    UINT GetLimitText() const;
    void SetSel(int nStart, int nEnd);
    void ReplaceSel(const std::string &text);
};
