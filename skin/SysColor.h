// System colours for record defaults: the platform's in the Win32 build, Windows' standard scheme elsewhere.
#pragma once

#include "platform/WinCompat.h"

class CSysColor {
public:
    enum : int { WINDOW = 5, WINDOWTEXT = 8, BTNFACE = 15, BTNSHADOW = 16, BTNTEXT = 18, BTNHIGHLIGHT = 20 };

    static COLORREF Get(int index);
};
