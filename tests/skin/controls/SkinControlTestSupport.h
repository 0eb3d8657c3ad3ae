// Real controls in real dialogs for the painter tests: a skin of solid colour blocks with one object of every control
// kind, a skinned owner frame that the dialogs' controls attach to (as the console's dialogs do), dialogs built from
// templates in memory, and the pixels of a window read back from its own device context.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/GdiCounter.h"
#include "platform/Handle.h"
#include "platform/Subclass.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "tests/skin/support/SkinTestSupport.h"

namespace skincontrols {

// Solid 8 x 8 blocks of the test image "blocks.bmp", one colour each.
enum Block : int {
    B_BUTTON_NORMAL,
    B_BUTTON_PRESSED,
    B_BUTTON_DEFAULT,
    B_BUTTON_FOCUSED,
    B_BUTTON_FIFTH,
    B_BUTTON_DISABLED,
    B_CHECK_BG0,
    B_CHECK_MARK0,
    B_CHECK_BG1,
    B_CHECK_MARK1,
    B_CHECK_BG2,
    B_CHECK_MARK2,
    B_GROUP_FRAME,
    B_GROUP_CAPTION,
    B_PROGRESS_FRAME,
    B_SLIDER_FRAME,
    B_SLIDER_CHANNEL,
    B_SLIDER_THUMB,
    B_SPIN_UP_NORMAL,
    B_SPIN_DOWN_NORMAL,
    B_SPIN_UP_HOT,
    B_SPIN_DOWN_HOT,
    B_SPIN_UP_PRESSED,
    B_SPIN_DOWN_PRESSED,
    B_SPIN_UP_DISABLED,
    B_SPIN_DOWN_DISABLED,
    B_STATIC_FRAME,
    B_COMBO_FRAME,
    B_COMBO_NORMAL,
    B_COMBO_PRESSED,
    B_COMBO_HOT,
    B_COMBO_DISABLED,
    B_STATUS_FRAME,
    B_STATUS_PANE,
    B_TOOL_NORMAL,
    B_TOOL_PRESSED,
    B_TOOL_HOT,
    B_TOOL_DISABLED,
    B_COUNT
};
COLORREF BlockColor(int block);
RECT BlockRect(int block);
// A reference to one block, stretched over its destination (no margins).
SkinImageRef BlockRef(int block);
SkinPiece BlockPiece(int block);

// "halves.bmp": 20 x 8, the left half kHalfLeft and the right half kHalfRight; its reference is stretched whole.
extern const COLORREF kHalfLeft, kHalfRight;
SkinImageRef HalvesRef();

// Colours of the objects' texts and the group box's caption fill.
extern const COLORREF kButtonText, kCheckText0, kCheckText1, kCheckText2, kGroupText, kStaticText, kStatusText;
extern const COLORREF kCaptionFill;

// The skin of blocks: "Application" (no window regions to cut), "MainFrame" and one object of each control kind,
// each drawn from its blocks. Kinds left out of `omit` only.
std::unique_ptr<CSkin> MakeControlSkin(const std::vector<DWORD> &omit = {});

// A dialog template in memory; controls in dialog units, created at pixel positions with Place afterwards.
class CDialogBuilder {
public:
    CDialogBuilder(DWORD style, short cx, short cy, const char *pszTitle = "Test");
    void Add(const char *pszClass, const char *pszText, DWORD style, WORD id, short x = 0, short y = 0, short cx = 40,
             short cy = 12);
    // A modeless dialog owned by hOwner, shown at the screen point without activation.
    HWND Create(HWND hOwner, int x, int y) const;

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Text(const char *psz);
    void Align();

    std::vector<WORD> m_words;
    size_t m_nCountAt = 0;
};

// Moves a control of a dialog to a client rectangle in pixels.
HWND Place(HWND hDlg, WORD id, int x, int y, int cx, int cy);

// The dialog's background colour (answered to WM_CTLCOLORDLG), and the owner-draw requests the dialogs got.
extern const COLORREF kDialogBackground;
int OwnerDrawRequests();

// The pixels of a window's client area, read from the window's own device context after it has painted.
class CWindowPixels {
public:
    explicit CWindowPixels(HWND hWnd);
    COLORREF At(LONG x, LONG y) const;
    LONG Width() const { return m_nWidth; }
    LONG Height() const { return m_nHeight; }
    // Pixels of the rectangle (client co-ordinates, clipped) for which the test holds.
    int Count(const RECT &rc, const std::function<bool(COLORREF)> &test) const;
    int Count(const RECT &rc, COLORREF color) const {
        return Count(rc, [color](COLORREF c) { return c == color; });
    }
    // The leftmost, rightmost, topmost and bottommost pixel with the colour ({-1...} when there is none).
    RECT Extent(COLORREF color) const;
    // The bounding box of the pixels in rc that are not the colour ({-1...} when there is none).
    RECT ExtentNot(const RECT &rc, COLORREF background) const;
    // Saves the pixels as a PNG among the test artifacts (to look at what a test saw).
    bool Save(const std::string &name) const;

private:
    LONG m_nWidth = 0;
    LONG m_nHeight = 0;
    std::vector<COLORREF> m_pixels;
};

// Dispatches this thread's pending messages (and posted ones that arrive meanwhile) for a short while.
void Pump(DWORD ms = 30);

// Counts WM_PAINT and the redraws of a window from a layer of its own above the skin's.
class CPaintCounter : public CSubclass {
public:
    int paints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The painter tests' common ground: the engine started, the skin of blocks installed, an owner frame skinned with
// "MainFrame"; afterwards the window map, subclass layers and GDI objects are back where they were.
class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A dialog owned by the frame, at a place of its own on the screen (dialogs do not overlap).
    HWND CreateDialogFrom(const CDialogBuilder &builder);
    HWND Owner() const { return m_hOwner; }
    CSkinWnd *Find(HWND hWnd) const { return CSkinRegistry::Instance().FindWindow(hWnd); }
    template <class T> T *Painter(HWND hWnd) const { return dynamic_cast<T *>(Find(hWnd)); }

    HWND m_hOwner = nullptr;
    std::vector<HWND> m_dialogs;
    std::unique_ptr<CGdiCounterSnapshot> m_pGdi;
    size_t m_nWindows = 0;
    long m_nLayers = 0;
};

} // namespace skincontrols
