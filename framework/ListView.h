// A view that is a list-view control (report mode is the derived view's choice in PreCreateWindow).
#pragma once

#include <windows.h>
#include "framework/ListCtrl.h"
#include "framework/View.h"

class CListView : public CView {
public:
    CListCtrl GetListCtrl() const { return CListCtrl(m_hWnd); }

protected:
    // Uses the list-view window class; derived views add their LVS_ styles and call this.
    BOOL PreCreateWindow(CREATESTRUCTA &cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The control paints itself.
    void OnPaint() override;
};

// The non-client paint of a window whose frame is a client edge at most, when the area to paint leaves its scroll
// bars alone (a few pixels of the edge uncovered by a window above): draws the edge and returns TRUE. Returns FALSE,
// drawing nothing, when the system's own paint is needed: the whole frame or any part of a scroll bar or the size box
// to paint, another kind of frame, or a visual theme on the window. The system's paint draws the scroll bars whatever
// the area, and under some systems that costs milliseconds per window.
BOOL PaintClientEdgeOnly(HWND hWnd, HRGN hUpdate);
