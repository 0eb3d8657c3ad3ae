// A window object bound to one HWND through the handle map; messages reach virtual handlers through WindowProc.
#pragma once

#include <windows.h>
#include <string>
#include "framework/CmdTarget.h"

class CFrameWnd;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Destroys a window it created that is still alive; a window it only subclassed is handed back.
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }
    // The object attached to a window, or null for windows the framework does not own.
    static CWnd *FromHandlePermanent(HWND hWnd);

    // Creates a window of a class registered by the framework or the system. Non-zero on success.
    BOOL CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle,
                  const RECT &rect, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, const char *lpszClassName, const char *lpszWindowName, DWORD dwStyle, int x, int y,
                  int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    // Takes over an existing window (a dialog control, a common control) until it is destroyed.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd *pParent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    // Gives a window a look at a message before it is dispatched; non-zero when consumed.
    virtual BOOL PreTranslateMessage(MSG *pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    virtual BOOL PreCreateWindow(CREATESTRUCTA &cs);
    // Called after the window is gone; frames and views delete themselves here.
    virtual void PostNcDestroy();

    // Handlers; the base versions do the default processing.
    virtual int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    virtual void OnDestroy();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnClose();
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnPaint();

    // Thin helpers.
    std::string GetWindowText() const;
    void SetWindowText(const std::string &text);
    CWnd *GetDlgItem(int nID) const; // only windows the framework owns
    HWND GetDlgItemHwnd(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void GetClientRect(RECT *r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT *r) const { ::GetWindowRect(m_hWnd, r); }
    void MoveWindow(const RECT &r, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, bRepaint);
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    // The frame that holds this window (for a frame's child, the nearest; null for a top-level frame).
    CFrameWnd *GetParentFrame() const;
    // The outermost frame (the application's main frame for its windows).
    CFrameWnd *GetTopLevelFrame() const;

    HWND m_hWnd = nullptr;

protected:
    // Registers (once) a framework window class with the shared window procedure.
    static const char *RegisterFrameworkClass(const char *name, UINT style, HBRUSH background, HICON icon = nullptr);
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds this object to a window: the first message of a window created by CreateEx lands here.
    void Attach(HWND hWnd);
    HWND Detach();
    // For windows created by someone else's call (MDI children): the next new framework window binds to pWnd.
    static void SetPendingWindow(CWnd *pWnd) { WndInit() = pWnd; }

    WNDPROC m_pfnSuper = nullptr; // the window's own procedure when subclassed
    bool m_bOwnsWindow = false;   // created by this object (CreateEx, a modeless dialog's Create)

private:
    static CWnd *&WndInit();
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);
};
