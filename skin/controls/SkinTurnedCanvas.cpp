#include "skin/controls/SkinTurnedCanvas.h"

#include <cstring>

#include "skin/controls/SkinImage.h"

CSkinTurnedCanvas::CSkinTurnedCanvas(HDC hReference, const RECT &rcTarget) : m_rcTarget(rcTarget) {
    m_nWidth = rcTarget.bottom - rcTarget.top;
    m_nHeight = rcTarget.right - rcTarget.left;
    if (m_nWidth <= 0 || m_nHeight <= 0)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = m_nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap.Attach(::CreateDIBSection(hReference, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
    m_dc.Attach(::CreateCompatibleDC(hReference));
    if (!m_bitmap.IsValid() || !m_pBits || !m_dc.IsValid()) {
        m_dc.Close();
        m_bitmap.Close();
        return;
    }
    m_hOld = ::SelectObject(m_dc.Get(), m_bitmap.Get());
}

CSkinTurnedCanvas::~CSkinTurnedCanvas() {
    if (m_dc.IsValid())
        ::SelectObject(m_dc.Get(), m_hOld);
}

RECT CSkinTurnedCanvas::GetRect() const {
    return RECT{0, 0, m_nWidth, m_nHeight};
}

RECT CSkinTurnedCanvas::ToCanvas(const RECT &rcOnTarget) const {
    // A target point (x, y), relative to the target's corner, comes from canvas point (width - 1 - y, x).
    const LONG left = rcOnTarget.left - m_rcTarget.left, right = rcOnTarget.right - m_rcTarget.left;
    const LONG top = rcOnTarget.top - m_rcTarget.top, bottom = rcOnTarget.bottom - m_rcTarget.top;
    return RECT{m_nWidth - bottom, left, m_nWidth - top, right};
}

bool CSkinTurnedCanvas::CopyTo(HDC hTarget) const {
    if (!IsValid() || !hTarget)
        return false;
    ::GdiFlush();
    CSkinImage canvas;
    if (!canvas.Create(static_cast<DWORD>(m_nWidth), static_cast<DWORD>(m_nHeight), 24, CSkinImage::FORMAT_BMP))
        return false;
    // Both are bottom-up 24-bit rows padded to four bytes.
    std::memcpy(canvas.GetBits(), m_pBits, static_cast<size_t>(canvas.GetEffWidth()) * canvas.GetHeight());
    CSkinImage turned;
    if (!canvas.Turn(270, &turned))
        return false;
    return ::SetDIBitsToDevice(hTarget, m_rcTarget.left, m_rcTarget.top, turned.GetWidth(), turned.GetHeight(), 0, 0, 0,
                               turned.GetHeight(), turned.GetBits(), turned.GetDIB(), DIB_RGB_COLORS) != 0;
}
