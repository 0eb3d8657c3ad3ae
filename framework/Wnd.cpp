#include "framework/Wnd.h"

#include <map>
#include <vector>
#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"

namespace {

std::map<HWND, CWnd *> &HandleMap() {
    static std::map<HWND, CWnd *> map;
    return map;
}

// The message being dispatched, for Default(); nested dispatches save and restore it.
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current = {};

// A subclassed window keeps its own procedure here too, so that messages still reach it after the object let go
// of a window that somebody else subclassed later.
const char kSuperProp[] = "QXFrameworkSuperProc";

} // namespace

CWnd *&CWnd::WndInit() {
    static CWnd *pending = nullptr;
    return pending;
}

CWnd::~CWnd() {
    HWND h = m_hWnd;
    if (!h)
        return;
    bool owns = m_bOwnsWindow;
    // The object goes first: the window must no longer reach it, whatever happens to the window.
    if (m_pfnSuper)
        UnsubclassWindow();
    else
        Detach();
    // Windows this object created die with it; windows it only took over (dialog items) belong to their owner.
    if (owns && ::IsWindow(h))
        ::DestroyWindow(h);
}

CWnd *CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    HandleMap()[hWnd] = this;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        auto it = HandleMap().find(h);
        if (it != HandleMap().end() && it->second == this)
            HandleMap().erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

const char *CWnd::RegisterFrameworkClass(const char *name, UINT style, HBRUSH background, HICON icon) {
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    WNDCLASSA existing = {};
    if (::GetClassInfoA(hInst, name, &existing))
        return name;
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) ? name : nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA &) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle,
                    const RECT &rect, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, hWndParent, nIDorHMenu, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle, int x, int y,
                    int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = ::GetModuleHandleA(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;
    WNDCLASSA info = {};
    bool ours = ::GetClassInfoA(cs.hInstance, cs.lpszClass, &info) && info.lpfnWndProc == &CWnd::StaticWndProc;
    if (ours)
        WndInit() = this;
    HWND h = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    WndInit() = nullptr;
    if (!h)
        return FALSE;
    if (!ours)
        SubclassWindow(h);
    if (m_hWnd != h)
        return FALSE;
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    if (!old)
        return FALSE;
    m_pfnSuper = old;
    ::SetPropA(hWnd, kSuperProp, reinterpret_cast<HANDLE>(old));
    Attach(hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd *pParent) {
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd || !m_pfnSuper)
        return nullptr;
    // Only undo our own subclassing: if someone subclassed after us, leave the chain as it is.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &CWnd::StaticWndProc) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropA(m_hWnd, kSuperProp);
    }
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd *pWnd = FromHandlePermanent(hWnd);
    if (!pWnd && WndInit()) {
        pWnd = WndInit();
        WndInit() = nullptr;
        pWnd->Attach(hWnd);
    }
    if (!pWnd) {
        WNDPROC super = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProp));
        if (message == WM_NCDESTROY)
            ::RemovePropA(hWnd, kSuperProp);
        return super ? ::CallWindowProcA(super, hWnd, message, wParam, lParam)
                     : ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    CurrentMessage saved = g_current;
    g_current = CurrentMessage{hWnd, message, wParam, lParam};
    LRESULT result = 0;
    try {
        if (message == WM_NCDESTROY)
            result = pWnd->OnNcDestroy(wParam, lParam);
        else
            result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatcher.
        result = 0;
    }
    g_current = saved;
    return result;
}

LRESULT CWnd::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    WNDPROC super = m_pfnSuper;
    HWND h = m_hWnd;
    if (super && reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(h, GWLP_WNDPROC)) == &CWnd::StaticWndProc)
        ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    ::RemovePropA(h, kSuperProp);
    m_pfnSuper = nullptr;
    LRESULT r = super ? ::CallWindowProcA(super, h, WM_NCDESTROY, wParam, lParam)
                      : ::DefWindowProcA(h, WM_NCDESTROY, wParam, lParam);
    Detach();
    m_bOwnsWindow = false;
    PostNcDestroy();
    return r;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    }
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG *) {
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0 && nCode <= 1) {
        // Menu items and accelerators: a command that its update handler disables now is refused, as the user sees
        // it; commands nobody handles go on to the default processing (the MDI window list, for example).
        struct Probe : CCmdUI {
            BOOL enabled = TRUE;
            void Enable(BOOL on) override {
                enabled = on;
                m_bEnableChanged = TRUE;
            }
            void SetCheck(int) override {}
            void SetText(const std::string &) override {}
        } probe;
        probe.m_nID = nID;
        probe.DoUpdate(this, FALSE);
        if (probe.m_bHandled && !probe.enabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT *) {
    return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCTA) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnSetFocus(HWND) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}

std::string CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    if (n <= 0)
        return std::string();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, buf.data(), n + 1);
    return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void CWnd::SetWindowText(const std::string &text) {
    ::SetWindowTextA(m_hWnd, text.c_str());
}

CWnd *CWnd::GetDlgItem(int nID) const {
    return FromHandlePermanent(::GetDlgItem(m_hWnd, nID));
}

CFrameWnd *CWnd::GetParentFrame() const {
    HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    while (h) {
        if (CFrameWnd *f = dynamic_cast<CFrameWnd *>(FromHandlePermanent(h)))
            return f;
        h = ::GetParent(h);
    }
    return nullptr;
}

CFrameWnd *CWnd::GetTopLevelFrame() const {
    CFrameWnd *top = dynamic_cast<CFrameWnd *>(const_cast<CWnd *>(this));
    for (CFrameWnd *f = GetParentFrame(); f; f = f->GetParentFrame())
        top = f;
    return top;
}
