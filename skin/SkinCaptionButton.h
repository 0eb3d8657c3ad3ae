// One button in a skinned window's caption (close, maximise, minimise, system menu or a command): where it sits,
// which state it shows, its hover timer and what a click does.
#pragma once

#include <windows.h>

#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinRecords.h"

class CSkinWnd;

class CSkinCaptionButton {
public:
    enum : int { STATE_HOVER = 0, STATE_PRESSED = 1, STATE_THIRD = 2, STATE_NORMAL = 3 };
    enum : UINT { HOVER_TIMER_MS = 100 };

    // The button of the record (a caption-button child of the owner's skin object) in the owner's caption.
    CSkinCaptionButton(CSkinWnd *pOwner, const CSkinCaptionButtonObject *pRecord);
    ~CSkinCaptionButton();
    CSkinCaptionButton(const CSkinCaptionButton &) = delete;
    CSkinCaptionButton &operator=(const CSkinCaptionButton &) = delete;

    // Places the button for a window nWidth wide by the frame's layout rule.
    void SetPosition(const SkinFramedRecord &framed, LONG nWidth);
    const RECT &GetRect() const { return m_rc; }
    const CSkinCaptionButtonObject *GetRecord() const { return m_pRecord; }

    // Draws the button in its state into a DC in window coordinates.
    void Draw(HDC hDC) const;
    // Draws it onto the owner's window now.
    void Redraw() const;

    // Non-client pointer messages at window points. TRUE when the point is on the button: the message is the
    // button's and goes no further.
    BOOL OnMouseMove(POINT pt);
    BOOL OnLButtonDown(POINT pt);
    BOOL OnLButtonUp(POINT pt);
    BOOL OnLButtonDblClk(POINT pt);

    int GetState() const { return m_nState; }
    bool IsToggledOn() const { return m_bToggle; }
    bool IsHoverTimerRunning() const { return m_bTimer; }

private:
    static void CALLBACK HoverTimerProc(HWND hWnd, UINT message, UINT_PTR nID, DWORD dwTime);
    void OnHoverTimer();
    void StartHoverTimer();
    void StopHoverTimer();
    HWND GetOwnerWindow() const;
    // The state the button shows when the pointer is elsewhere.
    int GetRestingState() const;
    void SetState(int nState);
    void Perform();
    void TrackSystemMenu();

    CSkinWnd *m_pOwner;
    const CSkinCaptionButtonObject *m_pRecord;
    RECT m_rc = {0, 0, 0, 0};
    bool m_bToggle = false;
    bool m_bPressed = false; // pressed on this button and not yet released
    int m_nState = STATE_NORMAL;
    bool m_bTimer = false;
    HWND m_hTimerWnd = nullptr;
};
