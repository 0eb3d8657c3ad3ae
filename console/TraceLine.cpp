#include "console/TraceLine.h"

#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "trace/TraceMessages.h"

std::string theMessage;

HWND FindActiveTraceView() {
    CFrameWnd *pMain = dynamic_cast<CFrameWnd *>(AfxGetMainWnd());
    if (!pMain || !pMain->m_hWnd)
        return nullptr;
    CFrameWnd *pFrame = pMain->GetActiveFrame();
    // Without a document window the main frame answers for itself; it holds no trace view.
    if (!pFrame || pFrame == pMain)
        return nullptr;
    CView *pView = pFrame->GetActiveView();
    return pView ? pView->m_hWnd : nullptr;
}

int PostTraceLine(const char *pszText, int nRow) {
    HWND hView = FindActiveTraceView();
    if (!hView || !pszText)
        return -1;
    // Handled at once for our own thread's window, so the text only has to live for the call.
    if (!::SendNotifyMessageA(hView, WM_TRACE_ADDLINE, reinterpret_cast<WPARAM>(pszText), static_cast<LPARAM>(nRow))) {
        DWORD err = ::GetLastError();
        return err ? static_cast<int>(err) : -1;
    }
    return 0;
}
