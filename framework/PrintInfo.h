// State of one print or preview job of a view.
#pragma once

#include <windows.h>

class CPrintInfo {
public:
    BOOL m_bDirect = FALSE;  // print to the default printer without the print dialog
    BOOL m_bPreview = FALSE; // pages go to the preview window
    UINT m_nFromPage = 1;
    UINT m_nToPage = 1;
    UINT m_nCurPage = 1;
    UINT m_nMaxPage = 1;  // pages in the document
    HDC m_hDC = nullptr;  // the printer's device context while printing (not owned)
    RECT m_rectDraw = {}; // printable area of the current page, device units
};
