#include "framework/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!h)
        Fail();
    m_hWndLastControl = h;
    return h;
}

namespace {
std::string ControlText(HWND h) {
    int n = ::GetWindowTextLengthA(h);
    if (n <= 0)
        return std::string();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(h, buf.data(), n + 1);
    return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

// The control an exchange works on; null when an earlier exchange of this pass failed, or the control is
// missing (which fails the pass).
HWND ControlToExchange(CDataExchange *pDX, int nIDC) {
    return pDX->m_bFail ? nullptr : pDX->PrepareCtrl(nIDC);
}

bool IsComboBox(HWND h) {
    char cls[32] = {};
    ::GetClassNameA(h, cls, sizeof(cls));
    return ::lstrcmpiA(cls, "ComboBox") == 0;
}
} // namespace

void DDX_Text(CDataExchange *pDX, int nIDC, std::string &value) {
    HWND h = ControlToExchange(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ControlText(h);
    else
        ::SetWindowTextA(h, value.c_str());
}

void DDX_Text(CDataExchange *pDX, int nIDC, int &value) {
    HWND h = ControlToExchange(pDX, nIDC);
    if (!h)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(h, std::to_string(value).c_str());
        return;
    }
    std::string text = ControlText(h);
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (text.empty() || !end || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        AfxMessageBox("请输入一个整数。", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    value = static_cast<int>(v);
}

void DDV_MaxChars(CDataExchange *pDX, const std::string &value, int nChars) {
    if (pDX->m_bFail || !pDX->m_hWndLastControl || nChars < 0)
        return;
    if (!pDX->m_bSaveAndValidate) {
        if (IsComboBox(pDX->m_hWndLastControl))
            ::SendMessageA(pDX->m_hWndLastControl, CB_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        else
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.size() > static_cast<size_t>(nChars)) {
        AfxMessageBox("输入的内容太长，最多 " + std::to_string(nChars) + " 个字符。", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl) {
    if (pDX->m_bFail || rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (h && !rControl.SubclassWindow(h))
        pDX->Fail();
}

void DDX_CBIndex(CDataExchange *pDX, int nIDC, int &index) {
    HWND h = ControlToExchange(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
