// Horizontal artwork shown in a vertical control: a memory canvas of the target's size with width and height swapped,
// turned by 270 degrees (counter-clockwise: the canvas's left edge becomes the bottom edge) onto the target.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class CSkinTurnedCanvas {
public:
    // rcTarget: where the turned result goes, in the target's coordinates.
    CSkinTurnedCanvas(HDC hReference, const RECT &rcTarget);
    ~CSkinTurnedCanvas();
    CSkinTurnedCanvas(const CSkinTurnedCanvas &) = delete;
    CSkinTurnedCanvas &operator=(const CSkinTurnedCanvas &) = delete;

    // False when the canvas could not be made (an empty target, no memory): draw nothing turned then.
    bool IsValid() const { return m_dc.IsValid(); }
    HDC GetDC() const { return m_dc.Get(); }
    // The whole canvas: (0, 0, target height, target width).
    RECT GetRect() const;
    // Where on the canvas to draw so that it lands on a rectangle of the target (in the target's coordinates).
    RECT ToCanvas(const RECT &rcOnTarget) const;
    // Turns the canvas and copies it to the target rectangle. False when nothing was copied.
    bool CopyTo(HDC hTarget) const;

private:
    RECT m_rcTarget;
    LONG m_nWidth = 0;  // canvas width: the target's height
    LONG m_nHeight = 0; // canvas height: the target's width
    CBitmap m_bitmap;   // 24-bit, bottom-up, the layout of CSkinImage's pixels
    CDC m_dc;
    void *m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};
