// The trace window's frame inside the main frame's MDI client.
#pragma once

#include "framework/MDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
public:
    CChildFrame() = default;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA &cs) override;
};
