// Subclasses a window as one layer of its chain of window procedures: chains with any other subclasser above or
// below, keeps a Unicode window Unicode, leaves the chain cleanly, frees its state on WM_NCDESTROY and lets no
// exception out of the window procedure.
#pragma once

#include <windows.h>

struct CSubclassLayer;
struct CSubclassCall;
struct CSubclassChain;

// Derive and override WindowProc; pass what you do not consume to Default. One object subclasses at most one
// window at a time; a window may carry up to kMaxLayers of these layers at once, from any number of objects, with
// foreign subclassers (SetWindowLongPtr, comctl32's SetWindowSubclass, the framework) anywhere in between.
class CSubclass {
public:
    static const int kMaxLayers = 16;

    CSubclass() = default;
    // Leaves the window, as Unsubclass does.
    virtual ~CSubclass();
    CSubclass(const CSubclass &) = delete;
    CSubclass &operator=(const CSubclass &) = delete;

    // Puts this object's layer on top of the window's chain. The layer keeps the window's character set: a
    // Unicode window stays Unicode and its messages reach WindowProc as Unicode messages. Non-zero on success;
    // fails for no window, another process's window, an object already attached, or a full chain.
    BOOL Subclass(HWND hWnd);
    // Leaves the window. When the layer is on top, the previous procedure is put back now; when another subclasser
    // came later, the layer stays in the chain passing everything on (the chain above it stays intact) until it
    // comes on top or the window is destroyed. Non-zero when the object was attached.
    BOOL Unsubclass();

    HWND GetHwnd() const { return m_hWnd; }
    bool IsAttached() const { return m_hWnd != nullptr; }
    // The window's character set at the time of subclassing, which is also the form of WindowProc's messages.
    bool IsUnicode() const;

    // Passes a message to the procedure below this layer (the one that was there when it subclassed).
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Layers and per-window records alive in the process: a test seam to show that destroyed windows free all.
    static long GetLiveStateCount();

protected:
    // Every message of the window reaches this layer here first (the base passes it on). WM_NCDESTROY too: after
    // it is handled (and passed on, if WindowProc did not), the layer is freed and the object detached.
    // An exception thrown here is caught: the message then goes on to the layer below unless it already went.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY went down the chain and the object was detached; an object that deletes itself
    // with its window does it here.
    virtual void OnFinalMessage(HWND hWnd);

private:
    friend struct CSubclassChain;

    HWND m_hWnd = nullptr;
    CSubclassLayer *m_pLayer = nullptr;
    CSubclassCall *m_pCall = nullptr; // the innermost message being handled by this object
};
