#include "skin/controls/SkinTextScope.h"

CSkinTextScope::CSkinTextScope(HDC hDC, const SkinFontRecord &font) : CSkinTextScope(hDC, font, font.crText) {}

CSkinTextScope::CSkinTextScope(HDC hDC, const SkinFontRecord &font, COLORREF crText) : m_hDC(hDC) {
    const LOGFONTA lf = DrawingFont(font);
    m_font.Attach(::CreateFontIndirectA(&lf));
    Select(m_font.Get(), crText);
}

CSkinTextScope::CSkinTextScope(HDC hDC, HFONT hFont, COLORREF crText) : m_hDC(hDC) {
    Select(hFont, crText);
}

CSkinTextScope::~CSkinTextScope() {
    if (!m_hDC)
        return;
    if (m_nOldMode)
        ::SetBkMode(m_hDC, m_nOldMode);
    if (m_crOldText != CLR_INVALID)
        ::SetTextColor(m_hDC, m_crOldText);
    // Deselected before the font is deleted with m_font.
    if (m_hOldFont)
        ::SelectObject(m_hDC, m_hOldFont);
}

LOGFONTA CSkinTextScope::DrawingFont(const SkinFontRecord &font) {
    LOGFONTA lf = font.lf;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    if (lf.lfCharSet == ANSI_CHARSET)
        lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

void CSkinTextScope::Select(HFONT hFont, COLORREF crText) {
    if (!m_hDC)
        return;
    if (hFont) {
        HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
        m_hOldFont = hOld != HGDI_ERROR ? hOld : nullptr;
    }
    m_crOldText = ::SetTextColor(m_hDC, crText);
    m_nOldMode = ::SetBkMode(m_hDC, TRANSPARENT);
}
