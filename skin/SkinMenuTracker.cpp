#include "skin/SkinMenuTracker.h"

#include "skin/Skin.h"
#include "skin/SkinObject.h"
#include "skin/SkinMessages.h"
#include "skin/SkinRegistry.h"

namespace {

// The innermost menu this thread tracks (menus only nest when a handler opens one while another is open).
CSkinMenuTracker *g_pInnermost = nullptr;

bool IsKeyboardMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

} // namespace

CSkinMenuTracker::CSkinMenuTracker(HWND hOwner, CSkinPopupMenuWnd::EMode mode)
    : m_hOwner(hOwner), m_mode(mode), m_pOuter(g_pInnermost) {
    g_pInnermost = this;
}

CSkinMenuTracker::~CSkinMenuTracker() {
    g_pInnermost = m_pOuter;
}

int CSkinMenuTracker::Track(HMENU hMenu, int x, int y, HWND hOwner, CSkinPopupMenuWnd::EMode mode,
                            bool bSelectFirst) {
    if (!::IsMenu(hMenu) || !::IsWindow(hOwner))
        return CSkinPopupMenuWnd::END_NONE;
    CSkinMenuTracker tracker(hOwner, mode);
    const BOOL bPopup = mode != CSkinPopupMenuWnd::MODE_MENUBAR;
    const BOOL bSystem = mode == CSkinPopupMenuWnd::MODE_SYSTEM;
    ::SendMessageA(hOwner, WM_ENTERMENULOOP, bPopup, 0);
    if (bSystem)
        UpdateSystemMenu(hMenu, hOwner);
    // The owner brings the items up to date (command updates, the recent-file list) before they are read.
    ::SendMessageA(hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, bSystem));

    int end = CSkinPopupMenuWnd::END_NONE;
    if (::IsWindow(hOwner) && ::IsMenu(hMenu) && ::GetMenuItemCount(hMenu) > 0) {
        tracker.m_pRoot.reset(new CSkinPopupMenuWnd(hOwner, nullptr, mode));
        CSkinPopupMenuWnd &root = *tracker.m_pRoot;
        if (root.Create()) {
            root.LoadItems(hMenu);
            root.SetSkinObject(CSkinRegistry::Instance().GetSkin().FindObjectByKind(SKIN_KIND_POPUPMENU));
            root.ShowAt(POINT{x, y});
            if (bSelectFirst)
                root.SetHover(root.GetItems().Next(-1, 1), false);
            tracker.Run();
            end = root.GetEnd() != CSkinPopupMenuWnd::END_NONE ? root.GetEnd() : CSkinPopupMenuWnd::END_CLOSED;
        }
    }
    if (::IsWindow(hOwner)) {
        ::SendMessageA(hOwner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        ::SendMessageA(hOwner, WM_EXITMENULOOP, bPopup, 0);
    }
    if (tracker.m_pRoot)
        tracker.m_pRoot->Close();
    return end;
}

void CSkinMenuTracker::Run() {
    CSkinPopupMenuWnd &root = *m_pRoot;
    MSG msg;
    for (;;) {
        // The menu's own end message is dispatched here when it is still waiting (the owner's bar then knows
        // before the next menu opens); once it has gone, or was dispatched elsewhere, the loop is over.
        if (!root.IsOpen() && !::PeekMessageA(&msg, m_hOwner, WM_SKIN_MENU_END, WM_SKIN_MENU_END, PM_NOREMOVE))
            break;
        if (!::IsWindow(m_hOwner))
            break;
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The application is quitting: the menu closes and the loop above sees the quit message too.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            root.Finish(CSkinPopupMenuWnd::END_CLOSED, 0);
            break;
        }
        if (root.IsOpen()) {
            RouteKeyboard(msg);
            // A press on the frame's non-client area while its system menu is open closes the menu first.
            if (m_mode == CSkinPopupMenuWnd::MODE_SYSTEM &&
                (msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCLBUTTONDBLCLK))
                root.Finish(CSkinPopupMenuWnd::END_CLOSED, 0);
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (msg.message == WM_SKIN_MENU_END && msg.hwnd == m_hOwner && !root.IsOpen())
            break;
    }
}

void CSkinMenuTracker::RouteKeyboard(MSG &msg) const {
    // Keys go to the deepest menu still open, also when they were queued for a submenu that is closing.
    if (!IsKeyboardMessage(msg.message))
        return;
    msg.hwnd = m_pRoot->GetDeepest()->GetHwnd();
}

BOOL CSkinMenuTracker::EndActive() {
    if (!g_pInnermost || !g_pInnermost->m_pRoot || !g_pInnermost->m_pRoot->IsOpen())
        return FALSE;
    g_pInnermost->m_pRoot->Finish(CSkinPopupMenuWnd::END_CLOSED, 0);
    return TRUE;
}

CSkinPopupMenuWnd *CSkinMenuTracker::GetActiveRoot() {
    return g_pInnermost ? g_pInnermost->m_pRoot.get() : nullptr;
}

void CSkinMenuTracker::UpdateSystemMenu(HMENU hMenu, HWND hWnd) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    const bool zoomed = ::IsZoomed(hWnd) != FALSE, iconic = ::IsIconic(hWnd) != FALSE;
    const bool noClose = (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_NOCLOSE) != 0;
    const struct {
        UINT nCommand;
        bool bEnabled;
    } states[] = {
        {SC_RESTORE, zoomed || iconic},
        {SC_MOVE, !zoomed},
        {SC_SIZE, !zoomed && !iconic && (style & WS_THICKFRAME)},
        {SC_MINIMIZE, !iconic && (style & WS_MINIMIZEBOX)},
        {SC_MAXIMIZE, !zoomed && (style & WS_MAXIMIZEBOX)},
        {SC_CLOSE, !noClose},
    };
    for (const auto &state : states)
        ::EnableMenuItem(hMenu, state.nCommand, MF_BYCOMMAND | (state.bEnabled ? MF_ENABLED : MF_GRAYED));
}

int TrackSkinnedPopupMenu(HMENU hMenu, int x, int y, HWND hOwner, BOOL bSystemMenu) {
    CSkinMenuTracker::Track(hMenu, x, y, hOwner,
                            bSystemMenu ? CSkinPopupMenuWnd::MODE_SYSTEM : CSkinPopupMenuWnd::MODE_OTHER, false);
    return 0;
}
