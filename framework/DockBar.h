// One side's dock area of a frame: rows of control bars, laid out side by side with grippers.
#pragma once

#include <windows.h>
#include <vector>
#include "framework/Wnd.h"

class CControlBar;
class CFrameWnd;

class CDockBar : public CWnd {
public:
    // The window class of dock areas; the skin engine recognises the framework's control bars by it.
    static const char *const kClassName;

    explicit CDockBar(DWORD dwAlign) : m_dwAlign(dwAlign) {}

    // The alignment bit (CBRS_ALIGN_*) is also put in the window's style for whoever inspects the window.
    BOOL Create(CFrameWnd *pFrame, UINT nID);
    DWORD GetAlignment() const { return m_dwAlign; }
    bool IsHorizontal() const;

    // Without a rectangle the bar gets a new last row; with a screen rectangle see CFrameWnd::DockControlBar.
    void DockControlBar(CControlBar *pBar, const RECT *lpScreenRect);
    void RemoveControlBar(CControlBar *pBar);
    const std::vector<std::vector<CControlBar *>> &GetRows() const { return m_rows; }

    // Thickness the rows need (height when horizontal, width when vertical); 0 when no bar is visible.
    int CalcThickness() const;
    // Places the bars in the dock area's client area.
    void LayoutBars();

protected:
    void OnPaint() override;

private:
    static const int kGripper = 8; // room left of a bar with CBRS_GRIPPER
    static const int kGap = 2;
    int RowThickness(const std::vector<CControlBar *> &row) const;
    int Extent(CControlBar *pBar, bool bAlong) const;

    DWORD m_dwAlign;
    std::vector<std::vector<CControlBar *>> m_rows;
};
