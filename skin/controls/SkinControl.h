// Base of every control painter: the owner that attached it, buffered painting, the generic control messages, the
// window region it gives its control, and handing the window back when the skin drops the control's kind.
#pragma once

#include <windows.h>

#include "platform/Handle.h"
#include "skin/SkinWnd.h"
#include "skin/controls/SkinPiece.h"

class CSkinControl : public CSkinWnd {
public:
    // The docking side that the framework's docking bars keep in their window style (left and right edges).
    enum : DWORD { BAR_ALIGN_LEFT = 0x1000, BAR_ALIGN_RIGHT = 0x4000 };

    explicit CSkinControl(CSkinWnd *pOwner);
    ~CSkinControl() override;

    // Takes the object and the skin-wide settings and, once a window is attached, redraws it whole. Given none while
    // attached, the painter hands its window back: it leaves its owner's child map and the registry, which detaches
    // and deletes it (the window draws itself again). The caller must not touch the painter after that.
    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    // Leaves the owner's child map, then the base's work (which deletes this).
    void OnFinalDestroy() override;
    // Takes back the window region it gave, leaves the chain and lets the control draw itself again.
    void Detach() override;
    // Stores the window and subclasses it; the owner has attached the control's children already.
    BOOL Attach(HWND hWnd) override;
    // WM_PAINT through PaintBuffered, WM_ERASEBKGND answered 1; everything else as the base. Without an object the
    // control keeps its own painting.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Operations added after those of CSkinWnd, in this order.
    // BeginPaint, Draw into a memory bitmap of the client size, one copy to the window, EndPaint.
    virtual void PaintBuffered();
    // The skin object of the painter's kind in the current skin; none here.
    virtual CSkinObject *GetKindSkinObject();
    // Draws at once through GetDC (and a memory bitmap); nothing here.
    virtual void RedrawNow();

    // The window that attached this painter, while it is still registered.
    CSkinWnd *GetOwner() const;

protected:
    // The object of a kind in the current skin.
    static CSkinObject *FindKindObject(DWORD kind);
    LRESULT OnPaint();
    // Draw straight into the paint DC, unbuffered (controls that let their parent show through).
    LRESULT OnPaintDirect();
    // Passes the message on, then repaints the parent's area under the control and the control itself at once.
    LRESULT PassOnAndRefresh(UINT message, WPARAM wParam, LPARAM lParam);
    // Draw into a memory bitmap of the client size and one copy to the target, clipped to the window region given.
    void DrawBuffered(HDC hTarget);
    // The client rectangle, cut to the window region this painter gave its window (in client coordinates).
    CRgn ClientClipRegion(const RECT &rcClient) const;
    // A new size repaints the whole client area.
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam);
    // The control's own procedure answers (through the base: WM_SHOWWINDOW and WM_NCDESTROY are seen on the way).
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    }
    // True while the window still exists (a message passed on may have destroyed it).
    bool IsAlive() const { return m_hWnd && ::IsWindow(m_hWnd) && !m_bFinal; }
    // After passing a message on: whether the window still exists and this painter still serves it (the message may
    // have destroyed the window, and this painter with it, or changed the skin). Reads no member of this object, so
    // it may be asked when the painter is gone.
    bool Survives(HWND hWnd) const;
    // Invalidates the client area (with or without erasing) and paints it at once.
    void InvalidateNow(BOOL bErase);
    // Invalidates (with erase) and updates the parent's area under the control, so that a transparent control shows
    // what lies beneath it.
    void RefreshParentArea();
    // Makes the nine-grid region of the reference over the rectangle the window region, without redrawing. The region
    // is rebuilt only when the reference or the size changes (or the skin does).
    void SetNineGridRegion(const SkinImageRef &ref, const RECT &rc);
    // The control's style bits.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    // Puts the control's own extended style back on detach: bits added at attach are taken away again.
    void AddExStyle(DWORD dwBits);

    bool m_bFinal = false; // WM_NCDESTROY has arrived

private:
    CSkinWnd *m_pOwner;
    HWND m_hOwner;
    // The last region given to the window and what it was built for.
    CRgn m_rgnWindow;
    const SkinImageRef *m_pRegionRef = nullptr;
    LONG m_nRegionWidth = -1;
    LONG m_nRegionHeight = -1;
    bool m_bRegionSet = false;
    DWORD m_dwAddedExStyle = 0;
};

// The factory row of a painter class: a new painter for the owner.
template <class TPainter> std::unique_ptr<CSkinWnd> CreateSkinPainter(CSkinWnd *pOwner) {
    return std::unique_ptr<CSkinWnd>(new TPainter(pOwner));
}
