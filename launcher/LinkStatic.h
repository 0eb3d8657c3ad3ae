// A static text control drawn as a link: own colours and font, a hand cursor, and a hover notice to its parent.
#pragma once

#include <windows.h>

#include "platform/Handle.h"
#include "platform/Subclass.h"

// Posted to the parent on every mouse move over the control; lParam is the control's window handle.
#define WM_LINK_HOVER (WM_USER + 0x320)

class CLinkStatic : private CSubclass {
public:
    CLinkStatic();
    ~CLinkStatic();
    CLinkStatic(const CLinkStatic &) = delete;
    CLinkStatic &operator=(const CLinkStatic &) = delete;

    // Binds the object to the dialog's control with this id and routes its messages here first.
    BOOL SubclassDlgItem(UINT nId, HWND hParent);
    HWND GetSafeHwnd() const { return GetHwnd(); }

    void SetForeColor(COLORREF crText);
    void SetBkColor(COLORREF crBack);
    void SetFontHeight(int nHeight);
    void SetUnderline(bool bUnderline);
    void SetNotify(bool bNotify);
    void SetLinkCursor(HCURSOR hCursor);

    // The parent passes its static-colour request back to the control: returns the brush to paint with.
    HBRUSH OnCtlColor(HDC hdc);

private:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    void RebuildFont();
    void ApplyFont();
    void RedrawNow();

    COLORREF m_crText;
    CBrush m_hBkBrush;
    LOGFONTA m_logFont;
    CFont m_font;
    HCURSOR m_hLinkCursor;
};
