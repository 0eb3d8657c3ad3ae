// The multiple-document main frame: its MDI client holds the document windows; menu and caption follow the active one.
#pragma once

#include <windows.h>
#include "framework/FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
public:
    CFrameWnd *GetActiveFrame() override;
    CDocument *GetActiveDocument() override;
    CMDIChildWnd *MDIGetActive(BOOL *pbMaximized = nullptr) const;
    void MDIActivate(CWnd *pWndActivate);

    // Shows hMenuAlt, or the active child's document menu, or (no child) the frame's own menu.
    void OnUpdateFrameMenu(HMENU hMenuAlt);
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnIdleUpdateCmdUI() override;

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe = FALSE) override;
    BOOL PreTranslateMessage(MSG *pMsg) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    // The menu handed to the MDI client last. A skinned frame takes the menu off its window into a menu bar of its
    // own, so the window's menu cannot tell whether the right one is in place.
    HMENU m_hMenuShown = nullptr;

    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext *pContext) override;
    HWND GetClientPane() const override { return m_hWndMDIClient; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    const char *GetFrameClassName() override;
    // The popup that lists the document windows: the one holding a window-arrangement command, if any.
    static HMENU FindWindowMenu(HMENU hMenu);
};
