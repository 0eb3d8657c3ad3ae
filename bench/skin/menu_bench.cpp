// What the skinned menus cost under Wine: from a press on a menu-bar entry to its popup painted (the items updated
// and read, the window made, shaped, shown and painted), and one repaint of an open popup.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "skin/Skin.h"
#include "bench/skin/SkinnedBenchFrame.h"
#include "skin/SkinEngine.h"
#include "skin/SkinFrameWnd.h"
#include "skin/SkinPopupMenuWnd.h"
#include "skin/SkinRegistry.h"

namespace {

typedef std::chrono::steady_clock Clock;

HMENU ConsoleLikeMenu() {
    HMENU bar = ::CreateMenu();
    for (const char *entry : {"日志文件(&F)", "查看(&V)", "读卡器测试(&T)", "视图(&D)", "皮肤(&P)", "帮助(&H)"}) {
        HMENU popup = ::CreatePopupMenu();
        for (const char *item : {"Devior", "FuturaIII", "Kromo", "Corona", "Xpsteel"})
            ::AppendMenuA(popup, MF_STRING, 100, item);
        ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(popup, MF_STRING | MF_CHECKED, 101, "打开(&O)...\tCtrl+O");
        ::AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), entry);
    }
    return bar;
}

// The end of the first paint of a popup window, caught as the popup's WM_PAINT returns.
Clock::time_point g_painted;
bool g_bPainted = false;

LRESULT CALLBACK AfterPaint(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT *p = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (nCode == HC_ACTION && p->message == WM_PAINT && !g_bPainted) {
        char cls[64] = {};
        ::GetClassNameA(p->hwnd, cls, sizeof(cls));
        if (std::strcmp(cls, CSkinEngine::POPUP_MENU_CLASS) == 0) {
            g_painted = Clock::now();
            g_bPainted = true;
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

int main() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND frame = CreateSkinnedBenchFrame(instance, "menu_bench", ConsoleLikeMenu());
    if (!frame)
        return 1;
    ::RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    CSkinFrameWnd *pFrame = dynamic_cast<CSkinFrameWnd *>(SkinFindWindow(frame));
    if (!pFrame || pFrame->GetMenuBar().GetEntries().size() < 5) {
        std::printf("no menu bar\n");
        return 1;
    }
    const RECT entry = pFrame->GetMenuBar().GetEntries()[4].rc;
    RECT wr;
    ::GetWindowRect(frame, &wr);
    const LPARAM at = MAKELPARAM(wr.left + (entry.left + entry.right) / 2, wr.top + (entry.top + entry.bottom) / 2);
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterPaint, nullptr, ::GetCurrentThreadId());

    // Each press opens the entry's popup; the Escape waiting in the queue closes it once it has been painted.
    const int kOpens = 200;
    double total = 0;
    int counted = 0;
    for (int i = 0; i < kOpens; ++i) {
        g_bPainted = false;
        ::PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
        const Clock::time_point start = Clock::now();
        ::SendMessageA(frame, WM_NCLBUTTONDOWN, HTMENU, at);
        if (g_bPainted) {
            total += std::chrono::duration<double, std::micro>(g_painted - start).count();
            ++counted;
        }
    }
    ::UnhookWindowsHookEx(hook);
    if (counted == 0) {
        std::printf("no popup was painted\n");
        return 1;
    }
    std::printf("%-44s %10.1f us  (%d of %d presses)\n", "menu-bar press to popup painted", total / counted, counted,
                kOpens);

    // One repaint of an open popup with seven items.
    CSkinPopupMenuWnd popup(frame, nullptr, CSkinPopupMenuWnd::MODE_OTHER);
    if (!popup.Create())
        return 1;
    popup.LoadItems(::GetSubMenu(pFrame->GetMenuBar().GetMenu(), 4));
    popup.SetSkinObject(CSkinRegistry::Instance().GetSkin().FindObjectByKind(SKIN_KIND_POPUPMENU));
    popup.ShowAt(POINT{100, 100});
    popup.SetHover(2, false);
    const int kPaints = 2000;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPaints; ++i)
        ::RedrawWindow(popup.GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const double repaint = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kPaints;
    std::printf("%-44s %10.1f us  (%d repaints)\n", "one popup repaint (client area)", repaint, kPaints);
    popup.Close();
    ::DestroyWindow(frame);
    SkinEngineExit();
    return 0;
}
