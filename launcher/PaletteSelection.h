// Selects and realises a palette in a device context and selects the previous palette back when it goes out of scope.
#pragma once

#include <windows.h>

class CPaletteSelection {
public:
    CPaletteSelection(HDC hdc, HPALETTE hPal) : m_hdc(hdc), m_hOld(NULL) {
        if (hPal) {
            m_hOld = ::SelectPalette(hdc, hPal, FALSE);
            ::RealizePalette(hdc);
        }
    }
    ~CPaletteSelection() {
        if (m_hOld)
            ::SelectPalette(m_hdc, m_hOld, TRUE);
    }
    CPaletteSelection(const CPaletteSelection &) = delete;
    CPaletteSelection &operator=(const CPaletteSelection &) = delete;

private:
    HDC m_hdc;
    HPALETTE m_hOld;
};
