// A copy of the screen or of one window's area, kept as RGB pixels for checks and saved as PNG for review.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CScreenshot {
public:
    // Copies the given screen rectangle (what is shown there, other windows included).
    bool CaptureScreenRect(const RECT &rcScreen);
    bool CaptureScreen();
    // The window's area as it appears on the screen.
    bool CaptureWindow(HWND hWnd);
    // The window's area once its painting has settled: captures every pollMs until two captures in a row are
    // equal (false when that does not happen within timeoutMs; the last capture is kept).
    bool CaptureSettledWindow(HWND hWnd, DWORD timeoutMs = 5000, DWORD pollMs = 100);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // The colour at a point relative to the captured area; 0xFFFFFFFF outside.
    COLORREF GetPixel(int x, int y) const;
    // How many pixels of the area (relative to the capture) have exactly this colour.
    int CountColour(const RECT &rc, COLORREF cr) const;
    // How many pixels of the area are "close" to the colour (each channel within nTolerance).
    int CountNear(const RECT &rc, COLORREF cr, int nTolerance) const;

    // Saves as PNG; a relative name goes into the artifacts folder.
    bool SavePng(const std::string &strPath) const;

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint8_t> m_rgb;
};
