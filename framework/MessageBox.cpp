#include "framework/MessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

CMessageBox::Handler &CMessageBox::Current() {
    static Handler handler;
    return handler;
}

CMessageBox::Handler CMessageBox::SetHandler(Handler handler) {
    Handler previous = Current();
    Current() = std::move(handler);
    return previous;
}

int CMessageBox::Show(const std::string &text, UINT type) {
    if (Current())
        return Current()(text, type);
    CWinApp *app = AfxGetApp();
    HWND owner = nullptr;
    std::string title;
    if (app) {
        title = app->m_strAppName;
        if (app->m_pMainWnd)
            owner = app->m_pMainWnd->GetSafeHwnd();
    }
    if (owner)
        owner = ::GetLastActivePopup(owner);
    return ::MessageBoxA(owner, text.c_str(), title.c_str(), type);
}
