// A document window inside the MDI client: one view of one document, with the template's menu.
#pragma once

#include <windows.h>
#include "framework/FrameWnd.h"

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
public:
    // Creates the window through the main frame's MDI client; the template's menu and accelerators come with
    // the context. Failure leaves the object to the caller.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr) override;
    CMDIFrameWnd *GetMDIFrame() const;
    void MDIActivate();
    // Destroys the window through the MDI client, which then activates the next document window.
    BOOL DestroyWindow() override;
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL PreTranslateMessage(MSG *pMsg) override;

    HMENU m_hMenuShared = nullptr; // the template's; not owned

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;
    const char *GetFrameClassName() override;
    void OnMDIActivate(BOOL bActivate, HWND hActivated, HWND hDeactivated);

    CMDIFrameWnd *m_pMDIFrame = nullptr;
};
