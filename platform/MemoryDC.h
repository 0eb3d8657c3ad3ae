// Off-screen drawing for one rectangle of a target DC: draw into it with the target's coordinates, and the
// rectangle is copied to the target when it goes out of scope (one BitBlt, no flicker).
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class CMemoryDC {
public:
    // rc is in the target's logical coordinates; the memory DC uses the same ones (its viewport origin is moved).
    // The memory bitmap starts undefined: paint all of it, or call CopyFromTarget() first.
    CMemoryDC(HDC hTarget, const RECT &rc) : m_hTarget(hTarget), m_rc(rc) {
        int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
        if (!hTarget || cx <= 0 || cy <= 0)
            return;
        m_dc.Attach(::CreateCompatibleDC(hTarget));
        m_bitmap.Attach(::CreateCompatibleBitmap(hTarget, cx, cy));
        if (!m_dc.IsValid() || !m_bitmap.IsValid()) {
            m_dc.Close();
            m_bitmap.Close();
            return;
        }
        m_hOldBitmap = ::SelectObject(m_dc.Get(), m_bitmap.Get());
        ::SetViewportOrgEx(m_dc.Get(), -rc.left, -rc.top, nullptr);
    }
    ~CMemoryDC() {
        if (!m_dc.IsValid())
            return;
        if (!m_bCancelled)
            ::BitBlt(m_hTarget, m_rc.left, m_rc.top, m_rc.right - m_rc.left, m_rc.bottom - m_rc.top, m_dc.Get(),
                     m_rc.left, m_rc.top, SRCCOPY);
        ::SelectObject(m_dc.Get(), m_hOldBitmap);
        // m_bitmap, then m_dc, are deleted by their owners.
    }
    CMemoryDC(const CMemoryDC &) = delete;
    CMemoryDC &operator=(const CMemoryDC &) = delete;

    // False when the DC or its bitmap could not be made (or the rectangle is empty): then draw to the target.
    bool IsValid() const { return m_dc.IsValid(); }
    HDC GetSafeHdc() const { return m_dc.Get(); }
    operator HDC() const { return m_dc.Get(); }
    const RECT &GetRect() const { return m_rc; }
    // Starts from what the target shows under the rectangle (for drawing that keeps parts of it).
    void CopyFromTarget() {
        if (IsValid())
            ::BitBlt(m_dc.Get(), m_rc.left, m_rc.top, m_rc.right - m_rc.left, m_rc.bottom - m_rc.top, m_hTarget,
                     m_rc.left, m_rc.top, SRCCOPY);
    }
    // Nothing is copied to the target on scope exit.
    void Cancel() { m_bCancelled = true; }

private:
    HDC m_hTarget;
    RECT m_rc;
    CBitmap m_bitmap; // declared before m_dc, so deleted after the DC (it is deselected first)
    CDC m_dc;
    HGDIOBJ m_hOldBitmap = nullptr;
    bool m_bCancelled = false;
};
