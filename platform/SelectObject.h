// Selects a GDI object (or a palette) into a DC and selects the previous one back when it goes out of scope.
#pragma once

#include <windows.h>

class CSelectObject {
public:
    // A null DC or object selects nothing (and restores nothing).
    CSelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(nullptr) {
        if (!hDC || !hObject)
            return;
        HGDIOBJ hOld = ::SelectObject(hDC, hObject);
        // Selecting a region sets the clip region and answers a region type, not an object to put back: clip regions
        // go through CClipRegion.
        if (hOld != HGDI_ERROR && ::GetObjectType(hObject) != OBJ_REGION)
            m_hOld = hOld;
    }
    ~CSelectObject() {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject &) = delete;
    CSelectObject &operator=(const CSelectObject &) = delete;

    // The object that was selected before (what the destructor puts back); null when nothing was selected.
    HGDIOBJ GetOld() const { return m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Selects and realises a palette, and selects the previous one back (as a background palette) on scope exit.
class CSelectPalette {
public:
    CSelectPalette(HDC hDC, HPALETTE hPalette, BOOL bForceBackground = FALSE) : m_hDC(hDC), m_hOld(nullptr) {
        if (hDC && hPalette) {
            m_hOld = ::SelectPalette(hDC, hPalette, bForceBackground);
            ::RealizePalette(hDC);
        }
    }
    ~CSelectPalette() {
        if (m_hOld)
            ::SelectPalette(m_hDC, m_hOld, TRUE);
    }
    CSelectPalette(const CSelectPalette &) = delete;
    CSelectPalette &operator=(const CSelectPalette &) = delete;

private:
    HDC m_hDC;
    HPALETTE m_hOld;
};
