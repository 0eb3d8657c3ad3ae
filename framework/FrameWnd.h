// A frame window: menu, accelerators, control bars around a client area, command routing and status prompts.
#pragma once

#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "framework/FrameworkIds.h"
#include "framework/Wnd.h"

class CControlBar;
class CCreateContext;
class CDockBar;
class CDocument;
class CView;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame with the menu, accelerators, icon and title (first field of the string) of nIDResource.
    // On failure the object is left for the caller to delete; once created, it deletes itself with its window.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr);

    // The frame of the active document window: the active MDI child for an MDI frame, else this frame.
    virtual CFrameWnd *GetActiveFrame();
    CView *GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView *pView, BOOL bNotify = TRUE);
    virtual CDocument *GetActiveDocument();

    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void InitialUpdateFrame(CDocument *pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Refreshes the bars' command states, the indicators and the title; the application calls it at idle.
    virtual void OnIdleUpdateCmdUI();

    // Docking: dock rows for the given sides (CBRS_ALIGN_*); bars then dock into the row of their side.
    void EnableDocking(DWORD dwDockStyle);
    // Docks a bar on a new row of the side it allows (or nDockBarID's side). With a screen rectangle, the bar
    // goes into the row under the rectangle's middle, before the first bar that does not start left of it.
    void DockControlBar(CControlBar *pBar, UINT nDockBarID = 0, const RECT *lpRect = nullptr);
    void ShowControlBar(CControlBar *pBar, BOOL bShow, BOOL bDelay);
    CControlBar *GetControlBar(UINT nID) const;
    void AddControlBar(CControlBar *pBar);
    void RemoveControlBar(CControlBar *pBar);
    CDockBar *GetDockBar(DWORD dwAlign) const;

    // Status-bar message pane.
    void SetMessageText(const std::string &text);
    void SetMessageText(UINT nID);
    // The prompt of a command: its string before the "\n" (bTip: the part after it).
    static std::string GetCommandPrompt(UINT nID, bool bTip);
    // "就绪" unless the program's string table has its own idle message.
    static std::string GetIdleMessage();

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe = FALSE) override;
    BOOL PreTranslateMessage(MSG *pMsg) override;
    BOOL IsDestroying() const { return m_bDestroying; }

    // Standard handlers of the frame.
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI *pCmdUI);
    void OnUpdateKeyIndicator(CCmdUI *pCmdUI);

    std::string m_strTitle;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    DWORD m_dwFrameStyle = 0; // FWS_ADDTOTITLE

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    BOOL PreCreateWindow(CREATESTRUCTA &cs) override;
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCTA lpCreateStruct) override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnClose() override;
    void OnSetFocus(HWND hWndOld) override;

    // Builds what fills the client area: the view from the context (MDI frames make their MDI client).
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext *pContext);
    CView *CreateView(CCreateContext *pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // The window that takes the client area left by the bars.
    virtual HWND GetClientPane() const;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    virtual const char *GetFrameClassName();

    CCreateContext *m_pCreateContext = nullptr;
    std::vector<CControlBar *> m_listControlBars;
    std::unique_ptr<CDockBar> m_dockBars[4]; // top, bottom, left, right
    CView *m_pViewActive = nullptr;
    bool m_bInCreate = false;
    bool m_bDestroying = false;
    UINT m_nMenuSelectID = 0;    // menu item under the pointer (0 when no menu is open)
    UINT m_nFlyByID = 0;         // tool-bar button under the pointer
    std::string m_strTitleShown; // caption text set last
    std::string m_strTipText;
    std::wstring m_wstrTipText;
};
