// A push button, check box or radio button bound to a dialog item.
#pragma once

#include <windows.h>
#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
};
