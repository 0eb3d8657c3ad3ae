#include "launcher/LauncherApp.h"

#include <objbase.h>

#include "launcher/LauncherDlg.h"

namespace {

// The shell and the picture loader want COM on this thread; DDE conversations of the shell want it without OLE1 DDE.
class CComApartment {
public:
    CComApartment()
        : m_bInitialised(SUCCEEDED(::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~CComApartment() {
        if (m_bInitialised)
            ::CoUninitialize();
    }
    CComApartment(const CComApartment &) = delete;
    CComApartment &operator=(const CComApartment &) = delete;

private:
    bool m_bInitialised;
};

} // namespace

CLauncherApp::CLauncherApp(HINSTANCE hInstance) : m_hInstance(hInstance) {}

BOOL CLauncherApp::InitInstance() {
    CComApartment apartment;
    CLauncherDlg dlg(m_hInstance);
    dlg.DoModal();
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CLauncherApp app(hInstance);
    app.InitInstance();
    return 0;
}
