// The off-screen bitmap a skinned window draws its non-client area into, kept between paints: a new bitmap the size
// of a window on every paint cost more than the whole drawing under Wine (its pages are fresh each time).
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class CSkinOffscreen {
public:
    CSkinOffscreen() = default;
    ~CSkinOffscreen() { Release(); }
    CSkinOffscreen(const CSkinOffscreen &) = delete;
    CSkinOffscreen &operator=(const CSkinOffscreen &) = delete;

    // A memory DC holding a bitmap of exactly cx x cy pixels compatible with hReference (made anew when the size
    // changed), or null when none can be had.
    HDC Get(HDC hReference, LONG cx, LONG cy);
    // Gives the bitmap and its DC back (the window is gone, or drawing moved elsewhere).
    void Release();

private:
    CBitmap m_bitmap; // declared before m_dc: deleted after the DC has let go of it
    CDC m_dc;
    HGDIOBJ m_hOldBitmap = nullptr;
    SIZE m_size = {0, 0};
};
