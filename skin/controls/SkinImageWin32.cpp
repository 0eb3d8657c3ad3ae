// The two conversions between CSkinImage and the platform's device-dependent bitmaps.
#include "skin/controls/SkinImage.h"

#include <cstring>
#include <utility>

#include "platform/ClientDC.h"

bool CSkinImage::FromBitmap(HBITMAP bitmap) {
    BITMAP bm;
    if (!bitmap || ::GetObjectA(bitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        SetLastError("GetDIBits failed");
        return false;
    }
    CSkinImage fresh;
    if (!fresh.Create(static_cast<DWORD>(bm.bmWidth), static_cast<DWORD>(bm.bmHeight),
                      static_cast<DWORD>(bm.bmBitsPixel) * bm.bmPlanes, m_dwType)) {
        SetLastError(fresh.GetLastError());
        return false;
    }
    CScreenDC screen;
    int lines = screen.GetSafeHdc() ? ::GetDIBits(screen.GetSafeHdc(), bitmap, 0, static_cast<UINT>(bm.bmHeight), fresh.GetBits(),
                                           reinterpret_cast<BITMAPINFO *>(fresh.m_pDib), DIB_RGB_COLORS)
                             : 0;
    // GetDIBits may rewrite header fields; the block keeps the layout that Create gave it.
    std::memcpy(fresh.m_pDib, &fresh.m_head, sizeof(fresh.m_head));
    if (lines == 0) {
        SetLastError("GetDIBits failed");
        return false;
    }
    fresh.m_nXDpi = m_nXDpi;
    fresh.m_nYDpi = m_nYDpi;
    fresh.m_nTransIndex = m_nTransIndex;
    fresh.m_nAlphaMax = m_nAlphaMax;
    *this = std::move(fresh);
    return true;
}

HBITMAP CSkinImage::ToBitmap(HDC dc) const {
    if (!m_pDib || !dc)
        return nullptr;
    return ::CreateDIBitmap(dc, &m_head, CBM_INIT, GetBits(), reinterpret_cast<const BITMAPINFO *>(m_pDib),
                            DIB_RGB_COLORS);
}

HDC CSkinImage::GetSectionDC() const {
    if (m_sectionDC.IsValid() || !m_pDib)
        return m_sectionDC.Get();
    // The block's header and colour table describe the section; the rows are copied into it once.
    void *pBits = nullptr;
    CBitmap section(::CreateDIBSection(nullptr, GetDIB(), DIB_RGB_COLORS, &pBits, nullptr, 0));
    CDC dc(::CreateCompatibleDC(nullptr));
    if (!section.IsValid() || !pBits || !dc.IsValid())
        return nullptr;
    std::memcpy(pBits, GetBits(), static_cast<size_t>(m_dwEffWidth) * GetHeight());
    HGDIOBJ hOld = ::SelectObject(dc, section);
    if (!hOld || hOld == HGDI_ERROR)
        return nullptr;
    m_section = std::move(section);
    m_sectionDC = std::move(dc);
    m_hOldSectionBitmap = hOld;
    return m_sectionDC.Get();
}

void CSkinImage::ReleaseSection() const {
    if (m_sectionDC.IsValid())
        ::SelectObject(m_sectionDC, m_hOldSectionBitmap);
    m_sectionDC.Close();
    m_section.Close();
    m_hOldSectionBitmap = nullptr;
}
