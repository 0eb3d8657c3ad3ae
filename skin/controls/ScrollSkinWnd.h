// The skinned scroll bars of one window: the record kept under the window property "SkinSBSubclassPtr", the layer
// that takes over the bars' non-client size, hit testing and painting, and the mouse interaction (arrows with
// auto-repeat, page areas, thumb dragging, hover) that one bar at a time holds for the whole process.
#pragma once

#include <windows.h>

#include "platform/Subclass.h"
#include "skin/controls/ScrollBarGeometry.h"
#include "skin/controls/ScrollSkinBar.h"

class CScrollSkinWnd : public CSubclass {
public:
    // Timers on the window: the first auto-repeat, the following ones, and the hover check.
    static const UINT_PTR TIMER_FIRST_REPEAT = 0xFFFD;
    static const UINT_PTR TIMER_REPEAT = 0xFFFE;
    static const UINT_PTR TIMER_HOVER = static_cast<UINT_PTR>(-14);
    enum : UINT { FIRST_REPEAT_DELAY = 300, REPEAT_DELAY = 55, HOVER_DELAY = 20 };

    // The record of a window with skinned bars, or none.
    static CScrollSkinWnd *FromHandle(HWND hWnd);
    // Takes over the window's bars with the system's scroll information; null when the window has them already or
    // cannot be subclassed.
    static CScrollSkinWnd *Attach(HWND hWnd);
    // Gives the bars back to the system (with the information they hold now) and deletes the record.
    void Detach();

    // The operations of the skinned bars; bar selectors other than SB_HORZ, SB_VERT (and SB_BOTH where it is
    // allowed) go to the system.
    BOOL Enable(UINT nBar, UINT nArrows);
    BOOL GetInfo(int nBar, LPSCROLLINFO pInfo);
    int GetPos(int nBar);
    BOOL GetRange(int nBar, LPINT pMin, LPINT pMax);
    int SetInfo(int nBar, LPCSCROLLINFO pInfo, BOOL bRedraw);
    int SetPos(int nBar, int nPos, BOOL bRedraw);
    BOOL SetRange(int nBar, int nMin, int nMax, BOOL bRedraw);
    BOOL Show(int nBar, BOOL bShow);
    BOOL SetArrowSize(int nBar, int nLength, int nWidth);
    BOOL SetStyle(int nBar, int nStyle);
    BOOL SetMinThumb(int nBar, int nSize);

    const ScrollSkinBar &GetBar(int nBar) const { return m_bars[nBar == SB_VERT ? 1 : 0]; }
    // The bar's rectangle on the screen (empty across when the bar is not shown).
    RECT GetBarRect(int nBar) const;
    // The part of the bar under a screen point.
    int HitTest(int nBar, POINT ptScreen) const;
    bool IsThumbTracking() const { return m_bThumbTracking; }
    bool IsLeftScrollBar() const { return m_bLeftScrollBar; }
    HWND GetToolTip() const { return m_hToolTip; }
    // The part of the clicked bar shown pressed, and the hot part of the hovered bar (PART_NONE when this window
    // has none).
    static int GetShownPressedPart(HWND hWnd, int nBar);
    static int GetHotPart(HWND hWnd, int nBar);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    CScrollSkinWnd();
    ~CScrollSkinWnd() override;

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcOtherButton(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnStyleChange(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);

    // The previous procedure's answer with WS_HSCROLL and WS_VSCROLL taken out of the style meanwhile, so that it
    // neither sizes nor paints bars of its own.
    LRESULT CallWithoutScrollStyles(UINT message, WPARAM wParam, LPARAM lParam);
    // The previous procedure's WM_NCPAINT, with a region that leaves out the client area, the bars and the corner.
    LRESULT CallPreviousNcPaint(WPARAM wParam, LPARAM lParam);
    // The square between two shown bars, on the screen.
    RECT GetCornerRect() const;
    // Sets or clears style bits without the window's own procedure hearing of it (as the system's bars do).
    void ChangeStyleQuietly(LONG_PTR dwRemove, LONG_PTR dwAdd);
    void RecalcFrame();
    void RepaintNonClient();
    void RedrawBar(int nBar, bool bTrackOnly = false);
    // Draws the bar on a window DC (rcWindow: the window on the screen); true when the skin drew it.
    bool DrawBarOn(HDC hDC, int nBar, const RECT &rcWindow, bool bTrackOnly);
    void BeginThumbDrag(int nBar, const RECT &rcBar, POINT ptScreen);
    void TrackThumb(POINT ptScreen);
    // The pressed part is shown pressed while the pointer is over it; redraws when the part under it changed.
    void FollowPressedPart(POINT ptScreen);
    void SendScroll(int nRequest, int nPos = 0);
    // Ends a click or drag: capture, timers, the closing scroll requests, the bar redrawn as released.
    void EndInteraction();
    // Forgets whatever the process-wide state holds of this window (it goes away).
    void ForgetInteraction();
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateToolTip();
    // Fills out the bars the selector names; returns how many (0 for a selector of the system's).
    int SelectBars(int nBar, ScrollSkinBar *bars[2], bool bAllowBoth);

    ScrollSkinBar m_bars[2] = {};
    RECT m_rcBorder = {};        // non-client widths the previous procedure reported: left, top, right, bottom
    bool m_bLeftScrollBar = false;
    HWND m_hToolTip = nullptr;
    bool m_bThumbTracking = false;
    int m_nStyleGuard = 0;       // > 0 while this layer itself changes WS_HSCROLL / WS_VSCROLL
};
