// A static text control bound to a dialog item.
#pragma once

#include <windows.h>
#include "framework/Wnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon);
};
