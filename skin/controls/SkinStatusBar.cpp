#include "skin/controls/SkinStatusBar.h"

#include <commctrl.h>

#include <cwchar>

#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

CSkinStatusBar::CSkinStatusBar(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

CSkinObject *CSkinStatusBar::GetKindSkinObject() {
    CSkinObject *pObject = FindKindObject(SKIN_KIND_STATUSBAR);
    return pObject ? pObject : &m_default;
}

CSkinObject *CSkinStatusBar::SetSkinObject(CSkinObject *pObject) {
    return CSkinControl::SetSkinObject(pObject ? pObject : &m_default);
}

BOOL CSkinStatusBar::Attach(HWND hWnd) {
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    ReadTexts();
    const BOOL bSubclassed = SubclassWindow(hWnd);
    if (bSubclassed)
        SetSkinObject(GetKindSkinObject());
    return bSubclassed;
}

void CSkinStatusBar::ReadTexts() {
    m_texts.clear();
    const LRESULT nParts = ::SendMessageA(m_hWnd, SB_GETPARTS, 0, 0);
    for (LRESULT i = 0; i < nParts && i < 256; ++i) {
        const WORD nLength = LOWORD(::SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, static_cast<WPARAM>(i), 0));
        std::string text;
        if (nLength) {
            std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
            ::SendMessageA(m_hWnd, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
            buffer.back() = '\0';
            text = buffer.data();
        }
        m_texts.push_back(text);
    }
}

std::string CSkinStatusBar::TextArgument(LPARAM lParam, bool bWide) const {
    if (!lParam)
        return std::string();
    if (!bWide)
        return reinterpret_cast<const char *>(lParam);
    const wchar_t *pszWide = reinterpret_cast<const wchar_t *>(lParam);
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 1)
        return std::string();
    std::string text(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, pszWide, -1, &text[0], nBytes, nullptr, nullptr);
    text.resize(static_cast<size_t>(nBytes) - 1);
    return text;
}

LRESULT CSkinStatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        switch (message) {
        case WM_SETTEXT: return OnSetText(wParam, lParam);
        case SB_SETTEXTA: return OnSetPaneText(message, wParam, lParam);
        case SB_SETTEXTW: return OnSetPaneText(message, wParam, lParam);
        case SB_SETPARTS: return OnSetParts(message, wParam, lParam);
        }
    }
    // WM_DESTROY goes on to the control like everything else: kept from it, the bar would never free its parts, texts
    // and font.
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    if (!m_texts.empty())
        m_texts[0] = TextArgument(lParam, m_subclass.IsUnicode());
    InvalidateNow(TRUE);
    return 1;
}

LRESULT CSkinStatusBar::OnSetPaneText(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (!Survives(hWnd))
        return result;
    // The painter draws what the control was told, so the framework's pane texts (prompts, indicators) show.
    const size_t nPart = LOBYTE(LOWORD(wParam));
    const bool bOwnerDraw = (wParam & SBT_OWNERDRAW) != 0;
    if (result && nPart < m_texts.size())
        m_texts[nPart] = bOwnerDraw ? std::string() : TextArgument(lParam, message == SB_SETTEXTW);
    InvalidateNow(TRUE);
    return result;
}

LRESULT CSkinStatusBar::OnSetParts(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (!Survives(hWnd))
        return result;
    ReadTexts();
    InvalidateNow(TRUE);
    return result;
}

void CSkinStatusBar::Draw(HDC hDC) {
    const CSkinStatusBarObject *pObject = dynamic_cast<const CSkinStatusBarObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    DrawNineGrid(hDC, rc, pObject->m_header.frame, crFace, TRUE);
    CSkinTextScope scope(hDC, pObject->m_header.font);
    const RECT &m = pObject->m_pane.rcMargins;
    for (size_t i = 0; i < m_texts.size(); ++i) {
        RECT rcPane = {0, 0, 0, 0};
        if (!::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rcPane)))
            continue;
        DrawNineGrid(hDC, rcPane, pObject->m_pane, crFace, TRUE);
        RECT rcText = {rcPane.left + m.left, rcPane.top + m.top, rcPane.right - m.right, rcPane.bottom - m.bottom};
        ::DrawTextA(hDC, m_texts[i].c_str(), static_cast<int>(m_texts[i].size()), &rcText,
                    DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
    }
}
