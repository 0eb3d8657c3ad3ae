// A skin whose "ScrollBar" object draws every piece in a colour of its own, so that tests can tell from a pixel which
// piece of which state block was drawn where.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/Skin.h"

namespace ScrollTestColor {
const COLORREF ARROW1 = RGB(200, 0, 0);
const COLORREF ARROW1_MARK = RGB(0, 0, 200); // the top-left quarter of the first arrow (shows how it is turned)
const COLORREF ARROW2 = RGB(0, 160, 0);
const COLORREF TRACK = RGB(190, 190, 190);
const COLORREF THUMB = RGB(230, 200, 0);
const COLORREF PRESSED_ARROW = RGB(120, 0, 120);
const COLORREF PRESSED_THUMB = RGB(240, 120, 0);
const COLORREF HOT_ARROW = RGB(0, 200, 200);
const COLORREF HOT_THUMB = RGB(0, 120, 120);
const COLORREF DISABLED_ARROW = RGB(90, 90, 90);
const COLORREF SIZE_BOX = RGB(120, 70, 20);
} // namespace ScrollTestColor

// Objects "Application", "ScrollBar" and "ScrollControl". Arrows are nArrow x nArrow pieces (stretched), the thumb
// image is nThumbWidth wide, the track has top and bottom margins of TRACK_MARGIN. The pressed, hot and disabled
// blocks carry arrows (and the first two a thumb) of their own; their tracks are empty, so the normal track stands in.
const int TRACK_MARGIN = 2;
std::unique_ptr<CSkin> MakeScrollBarSkin(int nArrow = 16, int nThumbWidth = 24);
