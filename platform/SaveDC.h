// SaveDC on construction, RestoreDC of exactly that state on scope exit: every selection, mode, origin and clip
// region changed in between is undone at once.
#pragma once

#include <windows.h>

class CSaveDC {
public:
    explicit CSaveDC(HDC hDC) : m_hDC(hDC), m_nSaved(hDC ? ::SaveDC(hDC) : 0) {}
    ~CSaveDC() {
        if (m_nSaved)
            ::RestoreDC(m_hDC, m_nSaved);
    }
    CSaveDC(const CSaveDC &) = delete;
    CSaveDC &operator=(const CSaveDC &) = delete;

    bool IsSaved() const { return m_nSaved != 0; }

private:
    HDC m_hDC;
    int m_nSaved;
};
