// One full repaint of the console's APDU dialog with every control skinned (Devior) against the same dialog with no
// painter, measured in the same run in alternating rounds. Prints microseconds and the ratio; not a test.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/common/Stats.h"
#include "res/console/resource.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"

namespace {
typedef std::chrono::steady_clock Clock;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HWND CreateOwner(int x) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QxBenchOwner";
        registered = ::RegisterClassA(&wc) != 0;
    }
    return ::CreateWindowExA(0, "QxBenchOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 600, 200, 100, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

// The dialog as it looks after a send: a command and a response in the edits, the byte counts in the statics.
HWND CreateApduDialog(HWND hOwner, int x) {
    HWND hDlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_APDU_COMMAND), hOwner,
                                     DialogProc, 0);
    if (!hDlg)
        return nullptr;
    ::SetDlgItemTextA(hDlg, IDC_COMMAND_EDIT, "00A4040000");
    ::SetDlgItemTextA(hDlg, IDC_RESPONSE_EDIT, "6F108408A000000003000000A5049F6501FF9000");
    ::SetDlgItemTextA(hDlg, IDC_COMMAND_COUNT, "（字节数：5）");
    ::SetWindowPos(hDlg, nullptr, x, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return hDlg;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double RepaintMicros(HWND hDlg) {
    const Clock::time_point start = Clock::now();
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    const HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    if (!SkinEngineInit(hInstance, "QXReader_CCID", 0, 0) || !SkinLoadResource(hInstance, "DEVIOR", "SKINWEAVE")) {
        std::printf("the skin engine could not start\n");
        return 1;
    }
    // The skinned dialog's controls attach to its owner, a window registered with the skin (as the console's main
    // frame is); the other dialog's owner is a plain window.
    HWND hSkinnedOwner = CreateOwner(10), hPlainOwner = CreateOwner(400);
    CSkinWnd *pOwner = new CSkinWnd;
    CSkinRegistry::Instance().AddWindow(std::unique_ptr<CSkinWnd>(pOwner), hSkinnedOwner);
    pOwner->SetSkinObject(CSkinRegistry::Instance().GetSkin().FindObject("MainFrame"));
    pOwner->Attach(hSkinnedOwner);
    HWND hSkinned = CreateApduDialog(hSkinnedOwner, 10);
    HWND hPlain = CreateApduDialog(hPlainOwner, 420);
    if (!hSkinned || !hPlain) {
        std::printf("the dialogs could not be created\n");
        return 1;
    }
    int painters = 0;
    for (HWND h = ::GetWindow(hSkinned, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        painters += SkinFindWindow(h) ? 1 : 0;
    Pump();

    const int rounds = 300;
    std::vector<double> skinned, plain;
    for (int i = 0; i < 20; ++i) { // warm-up
        RepaintMicros(hSkinned);
        RepaintMicros(hPlain);
    }
    for (int i = 0; i < rounds; ++i) {
        if (i % 2) {
            plain.push_back(RepaintMicros(hPlain));
            skinned.push_back(RepaintMicros(hSkinned));
        } else {
            skinned.push_back(RepaintMicros(hSkinned));
            plain.push_back(RepaintMicros(hPlain));
        }
        Pump();
    }
    const double s = Median(skinned), p = Median(plain);
    std::printf("APDU dialog, full repaint, %d rounds (%d-bit), %d of its controls skinned\n", rounds,
                int(sizeof(void *) * 8), painters);
    std::printf("%-12s median %9.1f us  best %9.1f us\n", "unskinned", p,
                *std::min_element(plain.begin(), plain.end()));
    std::printf("%-12s median %9.1f us  best %9.1f us\n", "skinned", s,
                *std::min_element(skinned.begin(), skinned.end()));
    std::printf("ratio skinned / unskinned: %.2f (goal: at most 3)\n", s / p);
    ::DestroyWindow(hSkinned);
    ::DestroyWindow(hPlain);
    ::DestroyWindow(hSkinnedOwner);
    ::DestroyWindow(hPlainOwner);
    SkinEngineExit();
    return 0;
}
