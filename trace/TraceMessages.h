// The trace view's two private window messages: the console's only way to write to and clear a trace log.
#pragma once

#include <windows.h>

// wParam: the zero-terminated line text (valid for the call only); lParam: the row, or -1 to append.
#define WM_TRACE_ADDLINE (WM_USER + 1)
// wParam and lParam: 0.
#define WM_TRACE_CLEAR (WM_USER + 2)
