// Narrows (or replaces) a DC's clip region for a scope and puts the previous clip region back afterwards.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class CClipRegion {
public:
    // Combines hRgn with the current clip region by nMode (RGN_AND narrows, RGN_COPY replaces, ...). The DC takes
    // a copy: the caller keeps hRgn.
    CClipRegion(HDC hDC, HRGN hRgn, int nMode = RGN_AND) : m_hDC(hDC) {
        if (Save())
            ::ExtSelectClipRgn(m_hDC, hRgn, nMode);
    }
    // Narrows the clip region to a rectangle in logical coordinates.
    CClipRegion(HDC hDC, const RECT &rc) : m_hDC(hDC) {
        if (Save())
            ::IntersectClipRect(m_hDC, rc.left, rc.top, rc.right, rc.bottom);
    }
    ~CClipRegion() {
        if (m_bSaved)
            ::SelectClipRgn(m_hDC, m_previous.Get()); // null: no clip region, as before
    }
    CClipRegion(const CClipRegion &) = delete;
    CClipRegion &operator=(const CClipRegion &) = delete;

private:
    bool Save() {
        if (!m_hDC)
            return false;
        CRgn previous(::CreateRectRgn(0, 0, 0, 0));
        if (!previous.IsValid())
            return false;
        int got = ::GetClipRgn(m_hDC, previous.Get()); // 1: copied, 0: the DC had none, -1: error
        if (got < 0)
            return false;
        if (got == 1)
            m_previous = static_cast<CRgn &&>(previous);
        m_bSaved = true;
        return true;
    }

    HDC m_hDC;
    CRgn m_previous;
    bool m_bSaved = false;
};
