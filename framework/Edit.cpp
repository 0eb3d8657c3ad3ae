#include "framework/Edit.h"

void CEdit::LimitText(int nChars) {
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
}

UINT CEdit::GetLimitText() const {
    return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
}

void CEdit::SetSel(int nStart, int nEnd) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStart), nEnd);
}

void CEdit::ReplaceSel(const std::string &text) {
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}
