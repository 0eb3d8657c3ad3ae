#include "tests/skin/controls/SkinControlTestSupport.h"

#include <cstring>

#include "platform/ClientDC.h"
#include "skin/SkinButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinComboBoxObject.h"
#include "skin/SkinEngine.h"
#include "skin/SkinGroupBoxObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinProgressObject.h"
#include "skin/SkinSliderObject.h"
#include "skin/SkinSpinObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinToolBarObject.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntil.h"

namespace skincontrols {

const COLORREF kHalfLeft = RGB(230, 120, 20), kHalfRight = RGB(20, 120, 230);
const COLORREF kButtonText = RGB(1, 2, 3), kCheckText0 = RGB(0, 0, 90), kCheckText1 = RGB(0, 90, 0),
               kCheckText2 = RGB(90, 0, 0), kGroupText = RGB(2, 60, 2), kStaticText = RGB(3, 3, 80),
               kStatusText = RGB(80, 3, 3);
const COLORREF kCaptionFill = RGB(250, 250, 100);
const COLORREF kDialogBackground = RGB(40, 160, 160);

namespace {
const int kBlockSize = 8;
const int kBlocksPerRow = 16;
int g_nOwnerDraws = 0;

CSkinObject *Add(CSkin &skin, DWORD kind, const char *name) {
    return AddObject(skin, kind, name);
}

SkinImageRef WithMargins(SkinImageRef ref, LONG m) {
    ref.rcMargins = RECT{m, m, m, m};
    return ref;
}
} // namespace

COLORREF BlockColor(int block) {
    return RGB(10 + block * 6, 250 - block * 5, 30 + (block * 53) % 200);
}

RECT BlockRect(int block) {
    const LONG x = (block % kBlocksPerRow) * kBlockSize, y = (block / kBlocksPerRow) * kBlockSize;
    return RECT{x, y, x + kBlockSize, y + kBlockSize};
}

SkinImageRef BlockRef(int block) {
    return MakeRef("blocks.bmp", BlockRect(block), RECT{0, 0, 0, 0}, 1);
}

SkinPiece BlockPiece(int block) {
    return MakePiece("blocks.bmp", BlockRect(block), PIECE_STRETCH);
}

SkinImageRef HalvesRef() {
    return MakeRef("halves.bmp", RECT{0, 0, 20, 8}, RECT{0, 0, 0, 0}, 1);
}

std::unique_ptr<CSkin> MakeControlSkin(const std::vector<DWORD> &omit) {
    auto wanted = [&](DWORD kind) {
        for (DWORD k : omit)
            if (k == kind)
                return false;
        return true;
    };
    std::unique_ptr<CSkin> pSkin = MakeKindSkin({SKIN_KIND_FRAME}, RGB(255, 0, 255), 0);
    CSkin &skin = *pSkin;
    const int rows = (B_COUNT + kBlocksPerRow - 1) / kBlocksPerRow;
    AddImage(skin, "blocks.bmp", MakeImage(kBlocksPerRow * kBlockSize, rows * kBlockSize, [](LONG x, LONG y) {
                 return BlockColor(static_cast<int>((y / kBlockSize) * kBlocksPerRow + x / kBlockSize));
             }));
    AddImage(skin, "halves.bmp", MakeImage(20, 8, [](LONG x, LONG) { return x < 10 ? kHalfLeft : kHalfRight; }));

    if (wanted(SKIN_KIND_BUTTON)) {
        CSkinButtonObject *p = static_cast<CSkinButtonObject *>(Add(skin, SKIN_KIND_BUTTON, "Button"));
        for (int i = 0; i < CSkinButtonObject::STATE_COUNT; ++i)
            p->m_states[i].image = BlockRef(B_BUTTON_NORMAL + i);
        p->m_font.crText = kButtonText;
    }
    for (DWORD kind : {SKIN_KIND_CHECKBOX, SKIN_KIND_RADIO}) {
        if (!wanted(kind))
            continue;
        CSkinCheckObject *p =
            static_cast<CSkinCheckObject *>(Add(skin, kind, kind == SKIN_KIND_CHECKBOX ? "CheckBox" : "Radio"));
        // Blocks 0 to 2 filled; 3 and 4 (the disabled states) empty, so block 2 answers for both.
        const int bg[] = {B_CHECK_BG0, B_CHECK_BG1, B_CHECK_BG2};
        const int mark[] = {B_CHECK_MARK0, B_CHECK_MARK1, B_CHECK_MARK2};
        const COLORREF text[] = {kCheckText0, kCheckText1, kCheckText2};
        for (int i = 0; i < 3; ++i) {
            p->m_blocks[i].background = BlockRef(bg[i]);
            p->m_blocks[i].mark = BlockPiece(mark[i]);
            p->m_blocks[i].color.SetTextColor(text[i]);
        }
        p->m_blocks[CSkinCheckObject::BLOCK_DISABLED_UNCHECKED].color.SetTextColor(kCheckText2);
        p->m_blocks[CSkinCheckObject::BLOCK_DISABLED_CHECKED].color.SetTextColor(kCheckText2);
    }
    if (wanted(SKIN_KIND_GROUPBOX)) {
        CSkinGroupBoxObject *p = static_cast<CSkinGroupBoxObject *>(Add(skin, SKIN_KIND_GROUPBOX, "GroupBox"));
        p->m_header.frame = WithMargins(BlockRef(B_GROUP_FRAME), 2);
        p->m_caption = BlockRef(B_GROUP_CAPTION);
        p->m_caption.rcMargins = RECT{3, 1, 3, 1};
        p->m_crCaptionFill = kCaptionFill;
        p->m_textColor.SetTextColor(kGroupText);
    }
    if (wanted(SKIN_KIND_PROGRESS)) {
        CSkinProgressObject *p = static_cast<CSkinProgressObject *>(Add(skin, SKIN_KIND_PROGRESS, "ProgressBar"));
        p->m_header.frame = WithMargins(BlockRef(B_PROGRESS_FRAME), 2);
        p->m_bar = HalvesRef();
        p->m_dwReveal = 0;
    }
    if (wanted(SKIN_KIND_SLIDER)) {
        CSkinSliderObject *p = static_cast<CSkinSliderObject *>(Add(skin, SKIN_KIND_SLIDER, "Slider"));
        p->m_header.frame = BlockRef(B_SLIDER_FRAME);
        p->m_channel = BlockRef(B_SLIDER_CHANNEL);
        p->m_thumb = BlockRef(B_SLIDER_THUMB);
    }
    if (wanted(SKIN_KIND_SPIN)) {
        CSkinSpinObject *p = static_cast<CSkinSpinObject *>(Add(skin, SKIN_KIND_SPIN, "Spin"));
        for (int i = 0; i < CSkinSpinObject::BLOCK_COUNT; ++i) {
            p->m_blocks[i].up = BlockPiece(B_SPIN_UP_NORMAL + 2 * i);
            p->m_blocks[i].down = BlockPiece(B_SPIN_DOWN_NORMAL + 2 * i);
        }
    }
    if (wanted(SKIN_KIND_STATIC)) {
        CSkinStaticObject *p = static_cast<CSkinStaticObject *>(Add(skin, SKIN_KIND_STATIC, "Static"));
        p->m_header.frame = BlockRef(B_STATIC_FRAME);
        p->m_header.font.crText = kStaticText;
        p->m_dwTransparent = 1;
    }
    if (wanted(SKIN_KIND_COMBOBOX)) {
        CSkinComboBoxObject *p = static_cast<CSkinComboBoxObject *>(Add(skin, SKIN_KIND_COMBOBOX, "ComboBox"));
        p->m_header.frame = WithMargins(BlockRef(B_COMBO_FRAME), 2);
        for (int i = 0; i < CSkinComboBoxObject::BUTTON_COUNT; ++i)
            p->m_buttons[i] = BlockRef(B_COMBO_NORMAL + i);
        p->m_crFocusFill = RGB(255, 255, 0);
    }
    if (wanted(SKIN_KIND_STATUSBAR)) {
        CSkinStatusBarObject *p = static_cast<CSkinStatusBarObject *>(Add(skin, SKIN_KIND_STATUSBAR, "StatusBar"));
        p->m_header.frame = BlockRef(B_STATUS_FRAME);
        p->m_header.font.crText = kStatusText;
        p->m_pane = WithMargins(BlockRef(B_STATUS_PANE), 1);
    }
    if (wanted(SKIN_KIND_TOOLBAR)) {
        CSkinToolBarObject *p = static_cast<CSkinToolBarObject *>(Add(skin, SKIN_KIND_TOOLBAR, "ToolBar"));
        p->m_header.frame = HalvesRef();
        for (int i = 0; i < 4; ++i)
            p->m_buttons[i] = BlockRef(B_TOOL_NORMAL + i);
    }
    return pSkin;
}

CDialogBuilder::CDialogBuilder(DWORD style, short cx, short cy, const char *pszTitle) {
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy; then menu, class and title.
    Word(LOWORD(style));
    Word(HIWORD(style));
    Word(0);
    Word(0);
    m_nCountAt = m_words.size();
    Word(0);
    Word(0);
    Word(0);
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);
    Word(0);
    Text(pszTitle);
}

void CDialogBuilder::Text(const char *psz) {
    for (; *psz; ++psz)
        Word(static_cast<WORD>(static_cast<unsigned char>(*psz)));
    Word(0);
}

void CDialogBuilder::Align() {
    if (m_words.size() % 2)
        Word(0);
}

void CDialogBuilder::Add(const char *pszClass, const char *pszText, DWORD style, WORD id, short x, short y, short cx,
                         short cy) {
    Align();
    style |= WS_CHILD | WS_VISIBLE;
    Word(LOWORD(style));
    Word(HIWORD(style));
    Word(0);
    Word(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Text(pszClass);
    Text(pszText);
    Word(0); // no creation data
    ++m_words[m_nCountAt];
}

namespace {
INT_PTR CALLBACK TestDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_CTLCOLORDLG:
        ::SetDCBrushColor(reinterpret_cast<HDC>(wParam), kDialogBackground);
        return reinterpret_cast<INT_PTR>(::GetStockObject(DC_BRUSH));
    case WM_DRAWITEM:
        ++g_nOwnerDraws;
        return TRUE;
    }
    return FALSE;
}
} // namespace

int OwnerDrawRequests() {
    return g_nOwnerDraws;
}

HWND CDialogBuilder::Create(HWND hOwner, int x, int y) const {
    std::vector<WORD> words = m_words;
    HWND hDlg = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE *>(words.data()), hOwner,
                                             TestDialogProc, 0);
    if (hDlg)
        ::SetWindowPos(hDlg, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return hDlg;
}

HWND Place(HWND hDlg, WORD id, int x, int y, int cx, int cy) {
    HWND hCtrl = ::GetDlgItem(hDlg, id);
    if (hCtrl)
        ::SetWindowPos(hCtrl, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return hCtrl;
}

CWindowPixels::CWindowPixels(HWND hWnd) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rc;
    if (!::GetClientRect(hWnd, &rc) || rc.right <= 0 || rc.bottom <= 0)
        return;
    m_nWidth = rc.right;
    m_nHeight = rc.bottom;
    CTestCanvas canvas(m_nWidth, m_nHeight, RGB(0, 0, 0));
    {
        CClientDC dc(hWnd);
        ::BitBlt(canvas.GetDC(), 0, 0, m_nWidth, m_nHeight, dc, 0, 0, SRCCOPY);
    }
    m_pixels.resize(static_cast<size_t>(m_nWidth) * m_nHeight);
    for (LONG y = 0; y < m_nHeight; ++y)
        for (LONG x = 0; x < m_nWidth; ++x)
            m_pixels[static_cast<size_t>(y) * m_nWidth + x] = canvas.Pixel(x, y);
}

COLORREF CWindowPixels::At(LONG x, LONG y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * m_nWidth + x];
}

int CWindowPixels::Count(const RECT &rc, const std::function<bool(COLORREF)> &test) const {
    int n = 0;
    for (LONG y = rc.top < 0 ? 0 : rc.top; y < rc.bottom && y < m_nHeight; ++y)
        for (LONG x = rc.left < 0 ? 0 : rc.left; x < rc.right && x < m_nWidth; ++x)
            n += test(At(x, y)) ? 1 : 0;
    return n;
}

RECT CWindowPixels::Extent(COLORREF color) const {
    RECT rc = {-1, -1, -1, -1};
    for (LONG y = 0; y < m_nHeight; ++y)
        for (LONG x = 0; x < m_nWidth; ++x) {
            if (At(x, y) != color)
                continue;
            if (rc.left < 0 || x < rc.left)
                rc.left = x;
            if (x > rc.right)
                rc.right = x;
            if (rc.top < 0)
                rc.top = y;
            rc.bottom = y;
        }
    return rc;
}

RECT CWindowPixels::ExtentNot(const RECT &rc, COLORREF background) const {
    RECT box = {-1, -1, -1, -1};
    for (LONG y = rc.top < 0 ? 0 : rc.top; y < rc.bottom && y < m_nHeight; ++y)
        for (LONG x = rc.left < 0 ? 0 : rc.left; x < rc.right && x < m_nWidth; ++x) {
            if (At(x, y) == background)
                continue;
            box.left = box.left < 0 || x < box.left ? x : box.left;
            box.right = x > box.right ? x : box.right;
            box.top = box.top < 0 ? y : box.top;
            box.bottom = y;
        }
    return box;
}

bool CWindowPixels::Save(const std::string &name) const {
    std::vector<uint8_t> rgb;
    rgb.reserve(m_pixels.size() * 3);
    for (COLORREF c : m_pixels) {
        rgb.push_back(GetRValue(c));
        rgb.push_back(GetGValue(c));
        rgb.push_back(GetBValue(c));
    }
    return CPngWriter::Write(CTestPaths::ArtifactsDir() + "\\" + name, static_cast<unsigned>(m_nWidth),
                             static_cast<unsigned>(m_nHeight), rgb);
}

void Pump(DWORD ms) {
    CWaitUntil::Condition([] { return false; }, ms, 5);
}

LRESULT CPaintCounter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT)
        ++paints;
    return Default(message, wParam, lParam);
}

void SkinControlTest::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                 ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_nWindows = CSkinRegistry::Instance().GetWindowCount();
    m_nLayers = CSubclass::GetLiveStateCount();
    m_pGdi.reset(new CGdiCounterSnapshot);
    ASSERT_EQ(1, SkinEngineInit(::GetModuleHandleA(nullptr), "QXReader_CCID", 0, 0));
    CSkinRegistry::Instance().InstallSkin(MakeControlSkin());
    m_hOwner = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(nullptr, m_hOwner);
    ::SetWindowPos(m_hOwner, nullptr, 900, 700, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    std::unique_ptr<CSkinWnd> pOwner(new CSkinWnd);
    CSkinWnd *pWnd = pOwner.get();
    ASSERT_TRUE(CSkinRegistry::Instance().AddWindow(std::move(pOwner), m_hOwner));
    pWnd->SetSkinObject(CSkinRegistry::Instance().GetSkin().FindObject("MainFrame"));
    ASSERT_TRUE(pWnd->Attach(m_hOwner));
}

void SkinControlTest::TearDown() {
    for (HWND hDlg : m_dialogs)
        if (::IsWindow(hDlg))
            ::DestroyWindow(hDlg);
    if (m_hOwner)
        ::DestroyWindow(m_hOwner);
    Pump(10);
    CSkinRegistry::Instance().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
    SkinEngineExit();
    EXPECT_EQ(m_nWindows, CSkinRegistry::Instance().GetWindowCount());
    EXPECT_EQ(m_nLayers, CSubclass::GetLiveStateCount());
    EXPECT_EQ("", m_pGdi->ChangesSince());
}

HWND SkinControlTest::CreateDialogFrom(const CDialogBuilder &builder) {
    const int n = static_cast<int>(m_dialogs.size());
    HWND hDlg = builder.Create(m_hOwner, 10 + (n % 3) * 300, 10 + (n / 3) * 330);
    if (hDlg) {
        ::SetWindowPos(hDlg, nullptr, 0, 0, 290, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_dialogs.push_back(hDlg);
        Pump();
    }
    return hDlg;
}

} // namespace skincontrols
