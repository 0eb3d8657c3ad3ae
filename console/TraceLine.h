// The console's way into the trace log: theMessage and PostTraceLine, which sends a line to the active trace view.
#pragma once

#include <windows.h>
#include <string>

// The one string into which the frame, the APDU dialog and the script runner compose each message.
extern std::string theMessage;

// Sends the line to the active view of the main frame's active trace window. 0 when delivered, the system error
// code when the send failed, -1 when no trace view is active (the line is dropped).
int PostTraceLine(const char *pszText, int nRow = -1);
// Finds the view PostTraceLine would use; null when there is none.
HWND FindActiveTraceView();
