// Base of the frame's bars: bar style (CBRS_*), where it may dock, its size and its command-state refresh.
#pragma once

#include <windows.h>
#include "framework/FrameworkIds.h"
#include "framework/Wnd.h"

class CDockBar;
class CFrameWnd;

class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Sides (CBRS_ALIGN_*) this bar may dock at.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    BOOL IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE); }

    // Size the bar needs when laid out horizontally.
    virtual SIZE CalcFixedLayout() = 0;
    // Asks pTarget's command route for the state of each item.
    virtual void OnUpdateCmdUI(CFrameWnd *pTarget, BOOL bDisableIfNoHandler) = 0;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CDockBar *m_pDockBar = nullptr;
    CFrameWnd *m_pDockSite = nullptr;

protected:
    // Registers with the frame once created; leaves it (and its dock row) when destroyed.
    void AttachToFrame(CWnd *pParent);
    void OnDestroy() override;
};
