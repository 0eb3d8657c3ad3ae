#include "tests/support/Screenshot.h"

#include <cstdlib>

#include "platform/ClientDC.h"
#include "platform/Handle.h"
#include "platform/SelectObject.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntil.h"

bool CScreenshot::CaptureScreenRect(const RECT &rcScreen) {
    const int cx = rcScreen.right - rcScreen.left;
    const int cy = rcScreen.bottom - rcScreen.top;
    if (cx <= 0 || cy <= 0 || cx > 16384 || cy > 16384)
        return false;
    CScreenDC screen;
    if (!screen.GetSafeHdc())
        return false;
    CDC mem(::CreateCompatibleDC(screen));
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy; // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void *pBits = NULL;
    CBitmap dib(mem.IsValid() ? ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0) : NULL);
    bool bOk = false;
    if (dib.IsValid() && pBits) {
        CSelectObject select(mem, dib);
        bOk = ::BitBlt(mem, 0, 0, cx, cy, screen, rcScreen.left, rcScreen.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        if (bOk) {
            m_nWidth = cx;
            m_nHeight = cy;
            m_rgb.resize(static_cast<size_t>(cx) * cy * 3);
            const uint8_t *pSrc = static_cast<const uint8_t *>(pBits);
            for (size_t i = 0, n = static_cast<size_t>(cx) * cy; i < n; ++i) {
                m_rgb[i * 3 + 0] = pSrc[i * 4 + 2];
                m_rgb[i * 3 + 1] = pSrc[i * 4 + 1];
                m_rgb[i * 3 + 2] = pSrc[i * 4 + 0];
            }
        }
    }
    return bOk;
}

bool CScreenshot::CaptureScreen() {
    RECT rc = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return CaptureScreenRect(rc);
}

bool CScreenshot::CaptureWindow(HWND hWnd) {
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc))
        return false;
    return CaptureScreenRect(rc);
}

bool CScreenshot::CaptureSettledWindow(HWND hWnd, DWORD timeoutMs, DWORD pollMs) {
    if (!CaptureWindow(hWnd))
        return false;
    return CWaitUntil::Condition(
        [&]() {
            const std::vector<uint8_t> previous = m_rgb;
            const int nPrevWidth = m_nWidth, nPrevHeight = m_nHeight;
            if (!CaptureWindow(hWnd))
                return false;
            return m_nWidth == nPrevWidth && m_nHeight == nPrevHeight && m_rgb == previous;
        },
        timeoutMs, pollMs);
}

COLORREF CScreenshot::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0xFFFFFFFF;
    const size_t i = (static_cast<size_t>(y) * m_nWidth + x) * 3;
    return RGB(m_rgb[i], m_rgb[i + 1], m_rgb[i + 2]);
}

int CScreenshot::CountColour(const RECT &rc, COLORREF cr) const {
    return CountNear(rc, cr, 0);
}

int CScreenshot::CountNear(const RECT &rc, COLORREF cr, int nTolerance) const {
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF c = GetPixel(x, y);
            if (c == 0xFFFFFFFF)
                continue;
            if (std::abs(GetRValue(c) - GetRValue(cr)) <= nTolerance &&
                std::abs(GetGValue(c) - GetGValue(cr)) <= nTolerance &&
                std::abs(GetBValue(c) - GetBValue(cr)) <= nTolerance)
                ++nCount;
        }
    }
    return nCount;
}

bool CScreenshot::SavePng(const std::string &strPath) const {
    if (m_rgb.empty())
        return false;
    std::string strFull = strPath;
    const bool bAbsolute = strPath.size() > 1 && (strPath[1] == ':' || strPath[0] == '\\');
    if (!bAbsolute) {
        const std::string strDir = CTestPaths::ArtifactsDir();
        CTestPaths::MakeDirs(strDir);
        strFull = strDir + "\\" + strPath;
    }
    return CPngWriter::Write(strFull, static_cast<unsigned>(m_nWidth), static_cast<unsigned>(m_nHeight), m_rgb);
}
