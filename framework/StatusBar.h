// The status bar: a stretching message pane and fixed panes for indicators, refreshed at idle.
#pragma once

#include <windows.h>
#include <string>
#include <vector>
#include "framework/ControlBar.h"

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR is the message pane (it stretches); other ids are indicators whose text is
    // their string resource ("CAP", "NUM", "SCRL" built in for the key indicators).
    BOOL SetIndicators(const UINT *lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, const std::string &text, BOOL bUpdate = TRUE);
    std::string GetPaneText(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nID) const;

    SIZE CalcFixedLayout() override;
    void OnUpdateCmdUI(CFrameWnd *pTarget, BOOL bDisableIfNoHandler) override;
    // Recomputes the pane edges for the current width.
    void UpdatePanes();
    // The text an indicator shows when on.
    static std::string IndicatorText(UINT nID);

protected:
    void OnSize(UINT nType, int cx, int cy) override;

private:
    struct Pane {
        UINT id;
        std::string onText; // indicators: the text shown while on
        std::string text;   // what the pane shows now
        int width;
    };
    std::vector<Pane> m_panes;
};
