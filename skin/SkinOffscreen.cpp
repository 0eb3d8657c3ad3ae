#include "skin/SkinOffscreen.h"

HDC CSkinOffscreen::Get(HDC hReference, LONG cx, LONG cy) {
    if (cx <= 0 || cy <= 0 || !hReference)
        return nullptr;
    if (m_dc.IsValid() && m_size.cx == cx && m_size.cy == cy)
        return m_dc;
    Release();
    m_dc.Attach(::CreateCompatibleDC(hReference));
    m_bitmap.Attach(::CreateCompatibleBitmap(hReference, cx, cy));
    if (!m_dc.IsValid() || !m_bitmap.IsValid()) {
        Release();
        return nullptr;
    }
    m_hOldBitmap = ::SelectObject(m_dc, m_bitmap);
    m_size = SIZE{cx, cy};
    return m_dc;
}

void CSkinOffscreen::Release() {
    if (m_dc.IsValid() && m_hOldBitmap)
        ::SelectObject(m_dc, m_hOldBitmap);
    m_hOldBitmap = nullptr;
    m_dc.Close();
    m_bitmap.Close();
    m_size = SIZE{0, 0};
}
