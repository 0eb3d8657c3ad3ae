// The skinned scroll bars' operations on a window. Each takes the window handle; a window without skinned bars (and,
// for the get and set operations, any selector other than SB_HORZ and SB_VERT) is answered by the system function of
// the same name. While the scroll-bar interception is installed, the system's own eight functions lead here for every
// window that carries the bars.
#pragma once

#include <windows.h>

// Gives the window skinned bars (subclass, tool tip, frame recalculated): 1, or 0 when it has them already.
int ScrollSkinAttach(HWND hWnd);
// Hands the bars back to the system: 0, or E_FAIL when the window has none.
HRESULT ScrollSkinDetach(HWND hWnd);
BOOL ScrollSkinIsAttached(HWND hWnd);

// The system functions' counterparts.
BOOL ScrollSkinEnable(HWND hWnd, UINT bar, UINT arrows);
BOOL ScrollSkinGetInfo(HWND hWnd, int bar, LPSCROLLINFO info);
int ScrollSkinGetPos(HWND hWnd, int bar);
BOOL ScrollSkinGetRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos);
int ScrollSkinSetInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw);
int ScrollSkinSetPos(HWND hWnd, int bar, int pos, BOOL redraw);
BOOL ScrollSkinSetRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL ScrollSkinShow(HWND hWnd, int bar, BOOL show);

// Arrow length and bar thickness (pixels, or -n for n times the system metric; each non-zero within -8..256).
BOOL ScrollSkinSetArrowSize(HWND hWnd, int bar, int length, int width);
// 0 normal, 1 flat, 2 flat with hot tracking.
BOOL ScrollSkinSetStyle(HWND hWnd, int bar, int style);
// -1 selects the system's default.
BOOL ScrollSkinSetMinThumb(HWND hWnd, int bar, int size);
