// Selects a GDI object or a palette into a device context and restores the previous one when it goes out of scope.
#pragma once

#include <windows.h>

class CDcSelection {
public:
    CDcSelection(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hOld(hObject ? ::SelectObject(hdc, hObject) : NULL) {}
    ~CDcSelection() {
        if (m_hOld)
            ::SelectObject(m_hdc, m_hOld);
    }
    CDcSelection(const CDcSelection &) = delete;
    CDcSelection &operator=(const CDcSelection &) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};
