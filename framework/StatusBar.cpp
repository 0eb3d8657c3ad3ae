#include "framework/StatusBar.h"

#include <commctrl.h>
#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkIds.h"
#include "framework/WinApp.h"
#include "platform/ClientDC.h"
#include "platform/SelectObject.h"

namespace {
// An indicator's state: on shows its text, off leaves the pane empty.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        CStatusBar *bar = static_cast<CStatusBar *>(m_pOther);
        bar->SetPaneText(static_cast<int>(m_nIndex), bOn ? onText : std::string());
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(const std::string &text) override {
        static_cast<CStatusBar *>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), text);
    }
    std::string onText;
};
} // namespace

std::string CStatusBar::IndicatorText(UINT nID) {
    std::string text;
    if (AfxLoadString(nID, text))
        return text;
    switch (nID) {
    case ID_INDICATOR_CAPS:
        return "CAP";
    case ID_INDICATOR_NUM:
        return "NUM";
    case ID_INDICATOR_SCRL:
        return "SCRL";
    }
    return std::string();
}

BOOL CStatusBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    const DWORD barBits = 0x0040FFFF;
    m_dwStyle = dwStyle & barBits;
    DWORD style = (dwStyle & ~barBits) | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (::GetWindowLongA(pParentWnd->m_hWnd, GWL_STYLE) & WS_THICKFRAME)
        style |= SBARS_SIZEGRIP;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, "", style, 0, 0, 0, 0, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    AttachToFrame(pParentWnd);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT *lpIDArray, int nIDCount) {
    if (!m_hWnd || nIDCount < 1 || nIDCount > 255)
        return FALSE;
    m_panes.clear();
    CClientDC dc(m_hWnd);
    CSelectObject select(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    for (int i = 0; i < nIDCount; ++i) {
        Pane p = {lpIDArray[i], std::string(), std::string(), 0};
        if (p.id != ID_SEPARATOR) {
            p.onText = IndicatorText(p.id);
            SIZE ext = {0, 0};
            ::GetTextExtentPoint32A(dc, p.onText.c_str(), static_cast<int>(p.onText.size()), &ext);
            p.width = ext.cx + 12;
        }
        m_panes.push_back(p);
    }
    UpdatePanes();
    return TRUE;
}

void CStatusBar::UpdatePanes() {
    if (!m_hWnd || m_panes.empty())
        return;
    RECT rc;
    GetClientRect(&rc);
    int right = rc.right;
    if (GetStyle() & SBARS_SIZEGRIP)
        right -= ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges(m_panes.size());
    int fixed = 0;
    for (const Pane &p : m_panes)
        fixed += p.width;
    // The message panes share what the indicators leave.
    int x = 0;
    int stretch = 0;
    for (const Pane &p : m_panes)
        stretch += p.id == ID_SEPARATOR ? 1 : 0;
    int free = right - fixed;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        int w = m_panes[i].id == ID_SEPARATOR ? (stretch ? free / stretch : 0) : m_panes[i].width;
        x += w < 0 ? 0 : w;
        edges[i] = x;
    }
    edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panes.size(); ++i)
        SendMessage(SB_SETTEXTA, i, reinterpret_cast<LPARAM>(m_panes[i].text.c_str()));
}

BOOL CStatusBar::SetPaneText(int nIndex, const std::string &text, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane &p = m_panes[static_cast<size_t>(nIndex)];
    if (p.text == text)
        return TRUE;
    p.text = text;
    if (bUpdate && m_hWnd)
        SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(p.text.c_str()));
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return std::string();
    return m_panes[static_cast<size_t>(nIndex)].text;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return (nIndex < 0 || nIndex >= GetCount()) ? 0 : m_panes[static_cast<size_t>(nIndex)].id;
}

int CStatusBar::CommandToIndex(UINT nID) const {
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == nID)
            return static_cast<int>(i);
    }
    return -1;
}

SIZE CStatusBar::CalcFixedLayout() {
    TEXTMETRICA tm = {};
    {
        CClientDC dc(m_hWnd);
        CSelectObject select(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
        ::GetTextMetricsA(dc, &tm);
    }
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return SIZE{32767, tm.tmHeight + 2 * borders[1] + 6};
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdatePanes();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd *pTarget, BOOL bDisableIfNoHandler) {
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == ID_SEPARATOR)
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = m_panes[i].id;
        state.onText = m_panes[i].onText;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
