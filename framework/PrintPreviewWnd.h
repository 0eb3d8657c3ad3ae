// The print preview: a window showing the view's pages as the printer would print them, over the disabled frame.
#pragma once

#include <windows.h>
#include "framework/PrintInfo.h"
#include "platform/Handle.h"
#include "framework/Wnd.h"

class CView;

class CPrintPreviewWnd : public CWnd {
public:
    // Opens the preview of pView's pages for the printer behind printerDC; the frame stays disabled until the
    // preview closes. The window deletes itself.
    static bool Show(CView *pView, CDC printerDC, const CPrintInfo &info);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    CPrintPreviewWnd(CView *pView, CDC printerDC, const CPrintInfo &info);
    RECT PageRect() const;

    enum { IDC_PREVIEW_PRINT = 1, IDC_PREVIEW_CLOSE = 2 };
    static const int kToolHeight = 32;

    CView *m_pView;
    CDC m_printerDC;
    CPrintInfo m_info;
    HWND m_hWndOwner = nullptr;
    HWND m_hWndPrint = nullptr;
    HWND m_hWndClose = nullptr;
    bool m_bPrintAfterClose = false;
};
