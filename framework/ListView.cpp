#include "framework/ListView.h"

#include <commctrl.h>

BOOL CListView::PreCreateWindow(CREATESTRUCTA &cs) {
    cs.lpszClass = WC_LISTVIEWA;
    cs.style |= LVS_SHAREIMAGELISTS;
    return TRUE;
}

void CListView::OnPaint() {
    Default();
}
