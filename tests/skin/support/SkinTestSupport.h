// Skins built in memory for the engine's tests, and a canvas whose pixels the tests read back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "skin/Skin.h"
#include "skin/SkinWnd.h"
#include "skin/controls/SkinImage.h"
#include "skin/controls/SkinPiece.h"

// A 24-bit image whose pixel (x, y), y from the top row, has the colour the function gives.
CSkinImage MakeImage(LONG width, LONG height, const std::function<COLORREF(LONG x, LONG y)> &color);
// Enters the image in the skin under the name, as a stored BMP that the skin decodes.
void AddImage(CSkin &skin, const char *name, const CSkinImage &image);
SkinPiece MakePiece(const char *image, RECT source, DWORD mode);
SkinImageRef MakeRef(const char *image, RECT source, RECT margins, DWORD fillMode);

// A top-down 32-bit DIB section selected into a memory DC.
class CTestCanvas {
public:
    CTestCanvas(LONG width, LONG height, COLORREF fill);
    ~CTestCanvas();
    CTestCanvas(const CTestCanvas &) = delete;
    CTestCanvas &operator=(const CTestCanvas &) = delete;

    HDC GetDC() const { return m_dc.Get(); }
    HBITMAP GetBitmap() const { return m_bitmap.Get(); }
    COLORREF Pixel(LONG x, LONG y) const;
    void Fill(COLORREF color);
    LONG Width() const { return m_width; }
    LONG Height() const { return m_height; }

private:
    LONG m_width;
    LONG m_height;
    CBitmap m_bitmap;
    CDC m_dc;
    DWORD *m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

// The rectangles of a region, and whether a point lies in it.
bool RegionContains(HRGN hRgn, LONG x, LONG y);
// The number of pixels of the box that lie in the region.
long RegionArea(HRGN hRgn, const RECT &box);

// A skinned window that records what the engine does to it: the objects it is given and the show notifications.
// Real windows, real registry and subclassing; only the painting is left out.
class CProbeWnd : public CSkinWnd {
public:
    CProbeWnd();
    ~CProbeWnd() override;
    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    BOOL Attach(HWND hWnd) override;

    // Live probes in the process.
    static int s_nLive;
    // Whether Attach succeeds (a painter may decline its window).
    static bool s_bAttach;
    std::vector<CSkinObject *> objects; // every SetSkinObject, in order
    std::vector<BOOL> shows;            // every OnShowWindow
    // A factory for CSkinWnd::CScopedPainter.
    static std::unique_ptr<CSkinWnd> Create(CSkinWnd *pOwner);
};

// A window of a plain class (DefWindowProc) of this test process; top-level when hParent is null.
HWND CreateTestWindow(HWND hParent = nullptr, DWORD dwStyle = 0, const char *pszClass = nullptr);
// A skin with the information object "Application" (its key colour and region flag) and one object of each given
// kind, named by the class-name map's object names ("MainFrame" for frames, "Slider" for 13, ...).
std::unique_ptr<CSkin> MakeKindSkin(const std::vector<DWORD> &kinds, COLORREF crKey = 0xFF00FF, DWORD dwRegions = 1);
// An object of the kind with the name, entered in the skin; the object stays owned by the skin.
CSkinObject *AddObject(CSkin &skin, DWORD kind, const char *name);
