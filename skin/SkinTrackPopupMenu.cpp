#include "skin/SkinTrackPopupMenu.h"

#include <windowsx.h>

#include "skin/SkinMessages.h"

// The system's own popup menu draws these menus for now, inside its modal tracking loop; a message filter on that
// loop turns the pointer's moves and presses into the messages that the skinned popup window will post. That
// window and its tracking take this function's place once they exist, and the filter goes with them.

namespace {

struct CTrack {
    HWND hOwner;
    ESkinPopupMode mode;
};
CTrack *g_pTrack = nullptr;

bool IsMenuWindow(HWND hWnd) {
    char name[16] = {};
    return hWnd && ::GetClassNameA(hWnd, name, sizeof(name)) > 0 && lstrcmpA(name, "#32768") == 0;
}

// The owner's hit-test code at a screen point when the point lies on the owner (or one of its children), else
// HTNOWHERE.
LRESULT OwnerHitTest(HWND hOwner, POINT pt) {
    HWND at = ::WindowFromPoint(pt);
    if (!at || (at != hOwner && !::IsChild(hOwner, at)))
        return HTNOWHERE;
    return ::SendMessageA(hOwner, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

bool IsPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        return true;
    }
    return false;
}

bool IsRight(UINT message) {
    return message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK || message == WM_NCRBUTTONDOWN ||
           message == WM_NCRBUTTONDBLCLK;
}

bool IsDoubleClick(UINT message) {
    return message == WM_LBUTTONDBLCLK || message == WM_NCLBUTTONDBLCLK;
}

// Non-zero: the message was handled here and the menu loop drops it.
LRESULT FilterMenuMessage(const CTrack &track, const MSG &msg) {
    const POINT pt = msg.pt;
    const LPARAM lpt = MAKELPARAM(pt.x, pt.y);
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (track.mode == SKIN_POPUP_MENUBAR && !IsMenuWindow(::WindowFromPoint(pt)) &&
            OwnerHitTest(track.hOwner, pt) == HTMENU)
            ::SendMessageA(track.hOwner, WM_SKIN_MENU_MOUSEMOVE, 0, lpt);
        return 0;
    }
    if (!IsPress(msg.message) || IsMenuWindow(::WindowFromPoint(pt)))
        return 0;
    const LRESULT hit = OwnerHitTest(track.hOwner, pt);
    if (hit == HTNOWHERE || hit == HTERROR)
        return 0; // another window: the menu loop closes the menu as usual
    switch (track.mode) {
    case SKIN_POPUP_MENUBAR:
        if (hit == HTMENU) {
            // The bar itself decides: its open entry closes, another entry opens in its place.
            ::SendMessageA(track.hOwner, IsRight(msg.message) ? WM_SKIN_MENU_RBUTTONDOWN : WM_SKIN_MENU_LBUTTONDOWN, 0,
                           lpt);
            return 1;
        }
        ::EndMenu();
        ::PostMessageA(track.hOwner, IsRight(msg.message) ? WM_SKIN_MENU_RBUTTONDOWN : WM_SKIN_MENU_LBUTTONDOWN, 0,
                       lpt);
        return 1;
    case SKIN_POPUP_SYSTEM:
        if (hit == HTCLIENT || IsRight(msg.message))
            return 0;
        ::EndMenu();
        ::PostMessageA(track.hOwner, IsDoubleClick(msg.message) ? WM_NCLBUTTONDBLCLK : WM_NCLBUTTONDOWN,
                       static_cast<WPARAM>(hit), lpt);
        return 1;
    default:
        return 0;
    }
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && g_pTrack && lParam) {
        if (FilterMenuMessage(*g_pTrack, *reinterpret_cast<const MSG *>(lParam)))
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The message filter for the time of one menu.
class CMenuFilter {
public:
    explicit CMenuFilter(CTrack &track) : m_pPrevious(g_pTrack) {
        g_pTrack = &track;
        m_hHook = ::SetWindowsHookExA(WH_MSGFILTER, MenuFilterProc, nullptr, ::GetCurrentThreadId());
    }
    ~CMenuFilter() {
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
        g_pTrack = m_pPrevious;
    }
    CMenuFilter(const CMenuFilter &) = delete;
    CMenuFilter &operator=(const CMenuFilter &) = delete;

private:
    CTrack *m_pPrevious;
    HHOOK m_hHook;
};

} // namespace

int SkinTrackPopupMenu(HMENU hMenu, int x, int y, HWND hOwner, ESkinPopupMode mode) {
    if (!hMenu || !::IsWindow(hOwner))
        return 0;
    CTrack track = {hOwner, mode};
    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON;
    if (mode == SKIN_POPUP_SYSTEM)
        flags |= TPM_RETURNCMD;
    BOOL command;
    {
        CMenuFilter filter(track);
        command = ::TrackPopupMenuEx(hMenu, flags, x, y, hOwner, nullptr);
    }
    if (mode == SKIN_POPUP_SYSTEM && command)
        ::PostMessageA(hOwner, WM_SYSCOMMAND, static_cast<WPARAM>(command), MAKELPARAM(x, y));
    return 0;
}
