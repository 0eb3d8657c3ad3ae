// The skinned-window base class on real windows: classification, the registry's window map, subclassing in chains
// with other subclassers, attaching child controls, skin objects, and drawing from a frame object read back in pixels.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/GdiCounter.h"
#include "platform/Subclass.h"
#include "skin/Skin.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "skin/controls/SkinDraw.h"
#include "tests/skin/support/SkinTestSupport.h"

namespace {

CSkinRegistry &Registry() {
    return CSkinRegistry::Instance();
}

// Registers the probe under the window and attaches it, as the engine does for a frame.
CProbeWnd *AttachProbe(HWND hWnd, CSkinObject *pObject = nullptr) {
    CProbeWnd *pProbe = new CProbeWnd;
    if (!Registry().AddWindow(std::unique_ptr<CSkinWnd>(pProbe), hWnd))
        return nullptr;
    pProbe->SetSkinObject(pObject);
    pProbe->Attach(hWnd);
    return pProbe;
}

// A layer of another subclasser that counts what passes through it.
class CCountingLayer : public CSubclass {
public:
    int settext = 0;
    int ncdestroy = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT)
            ++settext;
        if (message == WM_NCDESTROY)
            ++ncdestroy;
        return Default(message, wParam, lParam);
    }
};

class SkinWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES |
                                                     ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_nWindows = Registry().GetWindowCount();
        m_nLayers = CSubclass::GetLiveStateCount();
        CProbeWnd::s_bAttach = true;
    }
    void TearDown() override {
        Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
        EXPECT_EQ(m_nWindows, Registry().GetWindowCount());
        EXPECT_EQ(m_nLayers, CSubclass::GetLiveStateCount());
        EXPECT_EQ(0, CProbeWnd::s_nLive);
    }
    size_t m_nWindows = 0;
    long m_nLayers = 0;
};

} // namespace

TEST_F(SkinWndTest, EveryClassNameRowAndTheButtonStylesClassify) {
    // The 21 rows; "GroupBox", "Radio" and "CheckBox" are reached through button styles below.
    const struct {
        const char *pszClass;
        DWORD kind;
    } rows[] = {{"msctls_statusbar32", 15},
                {"ToolbarWindow32", 23},
                {"AfxControlBar42sd", 24},
                {"AfxControlBar42s", 24},
                {"AfxControlBar42", 24},
                {"AfxControlBar42d", 24},
                {"Static", 14},
                {"Button", 4},
                {"ScrollBar", 12},
                {"msctls_progress32", 10},
                {"msctls_updown32", 27},
                {"msctls_trackbar32", 13},
                {"ComboBox", 6},
                {"SysTabControl32", 16},
                {"Edit", 26},
                {"SysListView32", 26},
                {"ListBox", 26},
                {"SysTreeView32", 26}};
    EXPECT_EQ(21u, Registry().GetClassMap().size());
    for (const char *pszPseudo : {"GroupBox", "Radio", "CheckBox"})
        EXPECT_NE(0u, Registry().FindClassKind(pszPseudo)) << pszPseudo;
    EXPECT_EQ(0u, Registry().FindClassKind("button")); // case-sensitive

    HWND hParent = CreateTestWindow();
    for (const char *pszBar : {"AfxControlBar42sd", "AfxControlBar42s", "AfxControlBar42", "AfxControlBar42d"}) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = pszBar;
        ::RegisterClassA(&wc);
    }
    for (const auto &row : rows) {
        HWND hWnd = CreateTestWindow(hParent, 0, row.pszClass);
        ASSERT_NE(nullptr, hWnd) << row.pszClass;
        EXPECT_EQ(row.kind, CSkinWnd::ClassifyWindow(hWnd)) << row.pszClass;
        EXPECT_EQ(row.kind, Registry().FindClassKind(row.pszClass)) << row.pszClass;
    }

    // Buttons by the low four bits of their style: group box first, then check boxes, then radio buttons.
    const struct {
        DWORD style;
        const char *pszName;
        DWORD kind;
    } buttons[] = {{BS_PUSHBUTTON, "Button", 4},      {BS_DEFPUSHBUTTON, "Button", 4}, {BS_CHECKBOX, "CheckBox", 5},
                   {BS_AUTOCHECKBOX, "CheckBox", 5},  {BS_RADIOBUTTON, "Radio", 11},   {BS_3STATE, "CheckBox", 5},
                   {BS_AUTO3STATE, "CheckBox", 5},    {BS_GROUPBOX, "GroupBox", 8},    {8, "Button", 4},
                   {BS_AUTORADIOBUTTON, "Radio", 11}, {BS_OWNERDRAW, "CheckBox", 5}};
    for (const auto &b : buttons) {
        HWND hButton = CreateTestWindow(hParent, b.style, "Button");
        char name[CSkinWnd::CLASS_NAME_SIZE];
        ASSERT_TRUE(CSkinWnd::ClassifyName(hButton, name));
        EXPECT_STREQ(b.pszName, name) << "style " << b.style;
        EXPECT_EQ(b.kind, CSkinWnd::ClassifyWindow(hButton)) << "style " << b.style;
    }
    EXPECT_EQ(0u, CSkinWnd::ClassifyWindow(CreateTestWindow(hParent))); // not in the map
    EXPECT_EQ(0u, CSkinWnd::ClassifyWindow(nullptr));
    ::DestroyWindow(hParent);
}

TEST_F(SkinWndTest, TheWindowMapAddsOnceFindsAncestorsAndRemoves) {
    HWND hFrame = CreateTestWindow();
    HWND hChild = CreateTestWindow(hFrame);
    HWND hGrandChild = CreateTestWindow(hChild);
    HWND hOwned = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, hFrame, nullptr, nullptr, nullptr);
    HWND hAlone = CreateTestWindow();
    const LONG_PTR ownProc = ::GetWindowLongPtrA(hFrame, GWLP_WNDPROC);
    CProbeWnd *pFrame = AttachProbe(hFrame);
    ASSERT_NE(nullptr, pFrame);

    // A second object for a registered handle is refused and deleted.
    EXPECT_FALSE(Registry().AddWindow(std::unique_ptr<CSkinWnd>(new CProbeWnd), hFrame));
    EXPECT_EQ(1, CProbeWnd::s_nLive);
    EXPECT_EQ(pFrame, Registry().FindWindow(hFrame));

    // Exact lookups find only the handle; the ancestor walk goes through parents and owners.
    EXPECT_EQ(nullptr, Registry().FindWindow(hGrandChild));
    EXPECT_EQ(pFrame, Registry().FindWindowOrAncestor(hGrandChild));
    EXPECT_EQ(pFrame, Registry().FindWindowOrAncestor(hOwned));
    EXPECT_EQ(nullptr, Registry().FindWindowOrAncestor(hAlone));
    EXPECT_EQ(nullptr, Registry().FindWindowOrAncestor(nullptr));

    // Removing detaches: the window's own procedure is back, and the object is gone.
    EXPECT_NE(ownProc, ::GetWindowLongPtrA(hFrame, GWLP_WNDPROC));
    EXPECT_TRUE(Registry().RemoveWindow(hFrame));
    EXPECT_EQ(ownProc, ::GetWindowLongPtrA(hFrame, GWLP_WNDPROC));
    EXPECT_EQ(0, CProbeWnd::s_nLive);
    EXPECT_EQ(nullptr, Registry().FindWindow(hFrame));
    EXPECT_FALSE(Registry().RemoveWindow(hFrame));
    for (HWND h : {hOwned, hFrame, hAlone})
        ::DestroyWindow(h);
}

TEST_F(SkinWndTest, SubclassingChainsWithOtherLayersInEitherOrderAndLeavesOnDestroy) {
    for (bool bEngineFirst : {true, false}) {
        SCOPED_TRACE(bEngineFirst ? "engine below the other layer" : "engine above the other layer");
        HWND hWnd = CreateTestWindow();
        CCountingLayer other;
        if (!bEngineFirst) {
            ASSERT_TRUE(other.Subclass(hWnd));
        }
        CProbeWnd *pProbe = AttachProbe(hWnd);
        ASSERT_NE(nullptr, pProbe);
        ASSERT_TRUE(pProbe->HasPrevious());
        if (bEngineFirst) {
            ASSERT_TRUE(other.Subclass(hWnd));
        }

        // Messages go through both layers down to the window's own procedure.
        ::SetWindowTextA(hWnd, "skinned");
        EXPECT_EQ(1, other.settext);
        char text[16] = "";
        ::GetWindowTextA(hWnd, text, sizeof(text));
        EXPECT_STREQ("skinned", text);

        // WM_SHOWWINDOW reaches the object first, then the window shows.
        ::ShowWindow(hWnd, SW_SHOWNA);
        ASSERT_EQ(1u, pProbe->shows.size());
        EXPECT_TRUE(pProbe->shows[0]);
        EXPECT_TRUE(::IsWindowVisible(hWnd));

        // Destroying: every procedure below sees WM_NCDESTROY once, and the object leaves the map.
        ::DestroyWindow(hWnd);
        EXPECT_EQ(1, other.ncdestroy);
        EXPECT_EQ(nullptr, Registry().FindWindow(hWnd));
        EXPECT_EQ(0, CProbeWnd::s_nLive);
    }
}

TEST_F(SkinWndTest, DetachUnderAnotherLayerKeepsTheChainWorking) {
    HWND hWnd = CreateTestWindow();
    CProbeWnd *pProbe = AttachProbe(hWnd);
    CCountingLayer other;
    ASSERT_TRUE(other.Subclass(hWnd));
    EXPECT_TRUE(Registry().RemoveWindow(hWnd));
    ::SetWindowTextA(hWnd, "after");
    EXPECT_EQ(1, other.settext);
    char text[16] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    EXPECT_STREQ("after", text);
    (void)pProbe;
    ::DestroyWindow(hWnd);
}

TEST_F(SkinWndTest, SkinObjectsBringTheSkinWideSettingsAndThePlacements) {
    std::unique_ptr<CSkin> pSkin = MakeKindSkin({SKIN_KIND_FRAME}, RGB(0, 200, 0), 1);
    CSkinFrameObject *pFrameObject = static_cast<CSkinFrameObject *>(pSkin->FindObject("MainFrame"));
    pFrameObject->m_framed.placement[CSkinWnd::PART_COUNT - 1] = RECT{7, 8, 9, 10};
    Registry().InstallSkin(std::move(pSkin));
    HWND hWnd = CreateTestWindow();
    CProbeWnd *pProbe = AttachProbe(hWnd, pFrameObject);
    EXPECT_EQ(RGB(0, 200, 0), pProbe->GetTransparentColor());
    EXPECT_TRUE(pProbe->IsRegionEnabled());
    EXPECT_EQ(7, pProbe->GetPlacement(CSkinWnd::PART_COUNT - 1).left);
    EXPECT_EQ(10, pProbe->GetPlacement(CSkinWnd::PART_COUNT - 1).bottom);
    EXPECT_EQ(pFrameObject, pProbe->SetSkinObject(nullptr));

    // Without an information object: no regions, magenta.
    Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    pProbe->SetSkinObject(nullptr);
    EXPECT_EQ(RGB(255, 0, 255), pProbe->GetTransparentColor());
    EXPECT_FALSE(pProbe->IsRegionEnabled());
    EXPECT_FALSE(pProbe->CreateRegion().IsValid());
    ::DestroyWindow(hWnd);
}

namespace {
const COLORREF kA = RGB(200, 0, 0), kB = RGB(0, 200, 0), kC = RGB(0, 0, 200);
const COLORREF kActiveFill = RGB(1, 1, 250), kInactiveFill = RGB(250, 1, 1), kBackground = RGB(90, 90, 90);

// Parts of a 40 x 40 window in a 10-pixel grid; pieces from one image of three 10 x 10 colour blocks, the first with a
// magenta top-left pixel.
std::unique_ptr<CSkin> MakeDrawingSkin(bool bCentre) {
    std::unique_ptr<CSkin> pSkin = MakeKindSkin({SKIN_KIND_FRAME}, RGB(255, 0, 255), 1);
    AddImage(*pSkin, "parts.bmp", MakeImage(30, 10, [](LONG x, LONG y) {
        return x == 0 && y == 0 ? RGB(255, 0, 255) : x < 10 ? kA : x < 20 ? kB : kC;
    }));
    SkinFramedRecord &f = static_cast<CSkinFrameObject *>(pSkin->FindObject("MainFrame"))->m_framed;
    std::memset(f.pieces, 0, sizeof(f.pieces));
    for (int i = 0; i < CSkinWnd::PART_COUNT; ++i) {
        f.placement[i] = RECT{(i % 3) * 10 + (i % 3 == 2 ? 10 : 0), (i / 3) * 10 + (i / 3 == 2 ? 10 : 0),
                              (i % 3) * 10 + (i % 3 >= 1 ? 20 : 10), (i / 3) * 10 + (i / 3 >= 1 ? 20 : 10)};
        f.pieces[i] = MakePiece("parts.bmp", {0, 0, 10, 10}, PIECE_TILE);
    }
    f.pieces[4] = bCentre ? MakePiece("parts.bmp", {20, 0, 30, 10}, PIECE_TILE) : SkinPiece{};
    f.pieces[5] = MakePiece("nosuch.bmp", {0, 0, 10, 10}, PIECE_TILE);
    f.pieces[SkinFramedRecord::INACTIVE + 0] = MakePiece("parts.bmp", {10, 0, 20, 10}, PIECE_TILE);
    f.pieces[SkinFramedRecord::INACTIVE + 5] = MakePiece("nosuch.bmp", {0, 0, 10, 10}, PIECE_TILE);
    f.crActiveBorder = kActiveFill;
    f.crInactiveBorder = kInactiveFill;
    f.crBackground = kBackground;
    return pSkin;
}
} // namespace

TEST_F(SkinWndTest, BordersAndBackgroundDrawFromTheFrameObjectWithTheirFallbacks) {
    CGdiCounterSnapshot gdi;
    {
        std::unique_ptr<CSkin> pSkin = MakeDrawingSkin(true);
        CSkinObject *pObject = pSkin->FindObject("MainFrame");
        Registry().InstallSkin(std::move(pSkin));
        HWND hParent = CreateTestWindow();
        HWND hWnd = ::CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 40, 40, hParent, nullptr, nullptr, nullptr);
        CProbeWnd *pProbe = AttachProbe(hWnd, pObject);
        EXPECT_EQ(30, pProbe->GetPlacement(5).left);
        EXPECT_EQ(40, pProbe->GetPlacement(8).right);
        CTestCanvas canvas(40, 40, RGB(1, 2, 3));

        pProbe->DrawBorder(canvas.GetDC(), TRUE);
        EXPECT_EQ(kA, canvas.Pixel(5, 5));
        EXPECT_EQ(kA, canvas.Pixel(35, 35));
        EXPECT_EQ(kActiveFill, canvas.Pixel(35, 15));  // the right part's image is missing
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(15, 15)); // the centre is the background's
        pProbe->DrawBorder(canvas.GetDC(), FALSE);
        EXPECT_EQ(kB, canvas.Pixel(5, 5));  // the inactive top-left piece
        EXPECT_EQ(kA, canvas.Pixel(15, 5)); // no inactive top piece: the active one
        EXPECT_EQ(kInactiveFill, canvas.Pixel(35, 15));

        pProbe->DrawBackground(canvas.GetDC(), FALSE); // no inactive centre: the active one, over the client area
        EXPECT_EQ(kC, canvas.Pixel(15, 15));
        EXPECT_EQ(kC, canvas.Pixel(39, 39));

        // The region: every tile of the first block loses its magenta pixel; the missing right part counts whole.
        CRgn region = pProbe->CreateRegion();
        ASSERT_TRUE(region.IsValid());
        EXPECT_EQ(40 * 40 - 10, RegionArea(region, {0, 0, 40, 40}));
        EXPECT_FALSE(RegionContains(region, 0, 0));
        EXPECT_FALSE(RegionContains(region, 20, 0));
        EXPECT_TRUE(RegionContains(region, 30, 10));

        // Without a centre piece the background colour fills the client area.
        std::unique_ptr<CSkin> pBare = MakeDrawingSkin(false);
        pObject = pBare->FindObject("MainFrame");
        Registry().InstallSkin(std::move(pBare));
        EXPECT_EQ(pObject, pProbe->GetSkinObject()); // re-applied by name
        pProbe->DrawBackground(canvas.GetDC(), TRUE);
        EXPECT_EQ(kBackground, canvas.Pixel(20, 20));
        ::DestroyWindow(hParent);
    }
    Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    EXPECT_EQ("", gdi.ChangesSince());
}

TEST_F(SkinWndTest, ASkinChangeReachesEachPainterOnce) {
    CSkinWnd::CScopedPainter slider(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    HWND hFrame = CreateTestWindow();
    HWND hSlider = CreateTestWindow(hFrame, 0, TRACKBAR_CLASSA);
    AttachProbe(hFrame, Registry().GetSkin().FindObject("MainFrame"));
    CProbeWnd *pSlider = static_cast<CProbeWnd *>(Registry().FindWindow(hSlider));
    ASSERT_NE(nullptr, pSlider);
    const size_t before = pSlider->objects.size();
    // The frame's re-apply walks its children first; the registry's own pass leaves the slider as it found it.
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    EXPECT_EQ(before + 1, pSlider->objects.size());
    EXPECT_EQ(Registry().GetSkin().FindObject("Slider"), pSlider->GetSkinObject());
    ::DestroyWindow(hFrame);
}

TEST_F(SkinWndTest, ChildControlsTakeAndLosePaintersOfTheirKind) {
    CSkinWnd::CScopedPainter slider(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    CSkinWnd::CScopedPainter tab(SKIN_KIND_TAB, &CProbeWnd::Create);
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    HWND hFrame = CreateTestWindow();
    HWND hPanel = CreateTestWindow(hFrame);
    HWND hSlider = CreateTestWindow(hPanel, 0, TRACKBAR_CLASSA);
    HWND hTab = CreateTestWindow(hFrame, 0, WC_TABCONTROLA);
    HWND hPlain = CreateTestWindow(hFrame);

    // Attaching the frame attaches its existing children, depth first; a tab control has no object of its kind.
    CProbeWnd *pFrame = AttachProbe(hFrame, Registry().GetSkin().FindObject("MainFrame"));
    CProbeWnd *pSlider = static_cast<CProbeWnd *>(Registry().FindWindow(hSlider));
    ASSERT_NE(nullptr, pSlider);
    EXPECT_EQ(Registry().GetSkin().FindObject("Slider"), pSlider->GetSkinObject());
    EXPECT_TRUE(pSlider->HasPrevious());
    EXPECT_EQ(1u, pFrame->GetChildMap().count(hSlider));
    EXPECT_EQ(nullptr, Registry().FindWindow(hTab));
    EXPECT_EQ(nullptr, Registry().FindWindow(hPlain));
    EXPECT_EQ(nullptr, Registry().FindWindow(hPanel));

    // Attaching again re-applies the object to the painter it has.
    pFrame->AttachChild(hSlider);
    EXPECT_EQ(pSlider, Registry().FindWindow(hSlider));
    EXPECT_EQ(2u, pSlider->objects.size()); // when attached, and now
    // A child skinned elsewhere already keeps its painter: the new one is refused.
    HWND hOther = CreateTestWindow();
    CProbeWnd *pOther = AttachProbe(hOther);
    pOther->AttachChild(hSlider);
    EXPECT_EQ(pSlider, Registry().FindWindow(hSlider));
    EXPECT_EQ(0u, pOther->GetChildMap().count(hSlider));

    // A skin without a "Slider": the slider is detached and unregistered, and draws itself again.
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME}));
    EXPECT_EQ(nullptr, Registry().FindWindow(hSlider));
    EXPECT_EQ(0u, pFrame->GetChildMap().count(hSlider));
    EXPECT_EQ(2, CProbeWnd::s_nLive);

    // A painter that declines its window does not stay registered.
    CProbeWnd::s_bAttach = false;
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    EXPECT_EQ(nullptr, Registry().FindWindow(hSlider));
    CProbeWnd::s_bAttach = true;
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    ASSERT_NE(nullptr, Registry().FindWindow(hSlider));

    // A painter destroyed with its window leaves its owner's child map.
    ::DestroyWindow(hSlider);
    EXPECT_EQ(0u, pFrame->GetChildMap().count(hSlider));
    ::DestroyWindow(hOther);
    ::DestroyWindow(hFrame);
}
