#include "console/ChildFrame.h"

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA &cs) {
    return CMDIChildWnd::PreCreateWindow(cs);
}
