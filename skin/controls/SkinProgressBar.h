// Painter of progress bars (skin kind 10, "ProgressBar"): once attached it takes over the control's range, position and
// step and answers the progress-bar messages itself; draws the frame, and the bar squeezed into the filled part or
// uncovered up to it (the reveal flag). Vertical bars are drawn turned.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinProgressBar : public CSkinControl {
public:
    // Posted to the control when attaching; handling it takes the control's value over.
    enum : UINT { WM_SKIN_TAKE_OVER = 0x52C };

    explicit CSkinProgressBar(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    void Draw(HDC hDC) override;
    // The kind's object (none: 0); posts the take-over message and subclasses.
    BOOL Attach(HWND hWnd) override;
    // Puts the control's procedure back and hands the painter's value back to it.
    void Detach() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    bool IsEmulating() const { return m_bEmulating; }
    int GetPos() const { return m_nPos; }
    int GetLower() const { return m_nLower; }
    int GetUpper() const { return m_nUpper; }
    int GetStep() const { return m_nStep; }
    // The filled length of a bar of the given inner width: (position - lower) x width / (upper - lower), truncated,
    // 0 when the range is empty, never outside 0 to width.
    static LONG FilledLength(int nPos, int nLower, int nUpper, LONG nWidth);

private:
    LRESULT OnTakeOver(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRange(int nLower, int nUpper);
    LRESULT OnSetPos(int nPos);
    LRESULT OnAdvance(int nDelta);
    LRESULT OnSetStep(int nStep);
    LRESULT OnGetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint();
    // Draws frame and bar over a rectangle of a horizontal canvas.
    void DrawHorizontal(HDC hDC, const RECT &rc);
    int Clamp(int nPos) const;
    // After a change of value: invalidate with erase, paint now.
    LRESULT Changed(LRESULT result);

    bool m_bEmulating = false;
    int m_nStep = 1;
    int m_nPos = 0;
    int m_nLower = 0;
    int m_nUpper = 0;
};
