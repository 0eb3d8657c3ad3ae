// The width and height of a rectangle, for the portable core and the Windows code alike.
#pragma once

#include "platform/WinCompat.h"

inline LONG Width(const RECT &rc) {
    return rc.right - rc.left;
}

inline LONG Height(const RECT &rc) {
    return rc.bottom - rc.top;
}
