#include "skin/SysColor.h"

COLORREF CSysColor::Get(int index) {
#ifdef _WIN32
    return GetSysColor(index);
#else
    switch (index) {
    case WINDOW:
        return RGB(255, 255, 255);
    case WINDOWTEXT:
    case BTNTEXT:
        return RGB(0, 0, 0);
    case BTNFACE:
        return RGB(240, 240, 240);
    case BTNSHADOW:
        return RGB(160, 160, 160);
    case BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    default:
        return RGB(0, 0, 0);
    }
#endif
}
