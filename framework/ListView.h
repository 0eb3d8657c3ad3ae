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
    // The control paints itself.
    void OnPaint() override;
};
