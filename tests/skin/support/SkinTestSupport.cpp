#include "tests/skin/support/SkinTestSupport.h"

#include <cstring>

#include "skin/SkinImageObject.h"
#include "skin/controls/MemoryStream.h"

CSkinImage MakeImage(LONG width, LONG height, const std::function<COLORREF(LONG x, LONG y)> &color) {
    CSkinImage image;
    image.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24, CSkinImage::FORMAT_BMP);
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x) {
            COLORREF c = color(x, y);
            image.SetPixelColor(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0});
        }
    return image;
}

void AddImage(CSkin &skin, const char *name, const CSkinImage &image) {
    CSkinImage copy(image);
    CMemoryStream encoded;
    copy.Encode(encoded, CSkinImage::FORMAT_BMP);
    std::unique_ptr<CSkinImageObject> record(new CSkinImageObject);
    record->SetName(name);
    record->SetData(CSkinImage::FORMAT_BMP, encoded.GetBuffer(), encoded.Size());
    skin.AddImage(std::move(record));
}

SkinPiece MakePiece(const char *image, RECT source, DWORD mode) {
    SkinPiece piece;
    std::memset(&piece, 0, sizeof(piece));
    std::strncpy(piece.szImage, image, sizeof(piece.szImage) - 1);
    piece.rcSource = source;
    piece.dwMode = mode;
    return piece;
}

SkinImageRef MakeRef(const char *image, RECT source, RECT margins, DWORD fillMode) {
    SkinImageRef ref;
    std::memset(&ref, 0, sizeof(ref));
    std::strncpy(ref.szImage, image, sizeof(ref.szImage) - 1);
    ref.rcSource = source;
    ref.rcMargins = margins;
    ref.dwFillMode = fillMode;
    return ref;
}

CTestCanvas::CTestCanvas(LONG width, LONG height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pBits = nullptr;
    m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    m_pBits = static_cast<DWORD *>(pBits);
    m_dc.Attach(::CreateCompatibleDC(nullptr));
    m_hOld = ::SelectObject(m_dc.Get(), m_bitmap.Get());
    Fill(fill);
}

CTestCanvas::~CTestCanvas() {
    ::SelectObject(m_dc.Get(), m_hOld);
}

COLORREF CTestCanvas::Pixel(LONG x, LONG y) const {
    ::GdiFlush();
    DWORD v = m_pBits[y * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void CTestCanvas::Fill(COLORREF color) {
    ::GdiFlush();
    const DWORD v = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (LONG i = 0; i < m_width * m_height; ++i)
        m_pBits[i] = v;
}

bool RegionContains(HRGN hRgn, LONG x, LONG y) {
    return ::PtInRegion(hRgn, x, y) != FALSE;
}

long RegionArea(HRGN hRgn, const RECT &box) {
    long area = 0;
    for (LONG y = box.top; y < box.bottom; ++y)
        for (LONG x = box.left; x < box.right; ++x)
            area += RegionContains(hRgn, x, y) ? 1 : 0;
    return area;
}

#include "skin/SkinInfoObject.h"

int CProbeWnd::s_nLive = 0;
bool CProbeWnd::s_bAttach = true;

CProbeWnd::CProbeWnd() {
    ++s_nLive;
}

CProbeWnd::~CProbeWnd() {
    --s_nLive;
}

CSkinObject *CProbeWnd::SetSkinObject(CSkinObject *pObject) {
    objects.push_back(pObject);
    return CSkinWnd::SetSkinObject(pObject);
}

void CProbeWnd::OnShowWindow(BOOL bShow, UINT) {
    shows.push_back(bShow);
}

BOOL CProbeWnd::Attach(HWND hWnd) {
    return s_bAttach ? CSkinWnd::Attach(hWnd) : FALSE;
}

std::unique_ptr<CSkinWnd> CProbeWnd::Create(CSkinWnd *) {
    return std::unique_ptr<CSkinWnd>(new CProbeWnd);
}

HWND CreateTestWindow(HWND hParent, DWORD dwStyle, const char *pszClass) {
    static const char kClass[] = "QxSkinTestWnd";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        registered = ::RegisterClassA(&wc) != 0;
    }
    const DWORD style = dwStyle | (hParent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPED);
    return ::CreateWindowExA(0, pszClass ? pszClass : kClass, "", style, 0, 0, 200, 150, hParent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

namespace {
const char *KindObjectName(DWORD kind) {
    switch (kind) {
    case SKIN_KIND_FRAME:
        return "MainFrame";
    case SKIN_KIND_BUTTON:
        return "Button";
    case SKIN_KIND_CHECKBOX:
        return "CheckBox";
    case SKIN_KIND_COMBOBOX:
        return "ComboBox";
    case SKIN_KIND_GROUPBOX:
        return "GroupBox";
    case SKIN_KIND_PROGRESS:
        return "ProgressBar";
    case SKIN_KIND_RADIO:
        return "Radio";
    case SKIN_KIND_SCROLLBAR:
        return "ScrollBar";
    case SKIN_KIND_SLIDER:
        return "Slider";
    case SKIN_KIND_STATIC:
        return "Static";
    case SKIN_KIND_STATUSBAR:
        return "StatusBar";
    case SKIN_KIND_POPUPMENU:
        return "PopupMenu";
    case SKIN_KIND_TOOLBAR:
        return "ToolBar";
    case SKIN_KIND_SCROLLCONTROL:
        return "ScrollControl";
    case SKIN_KIND_SPIN:
        return "Spin";
    default:
        return "Other";
    }
}
} // namespace

CSkinObject *AddObject(CSkin &skin, DWORD kind, const char *name) {
    std::unique_ptr<CSkinObject> object = CSkinObject::Create(kind);
    if (!object)
        return nullptr;
    object->SetName(name);
    skin.AddObject(std::move(object));
    return skin.FindObject(name);
}

std::unique_ptr<CSkin> MakeKindSkin(const std::vector<DWORD> &kinds, COLORREF crKey, DWORD dwRegions) {
    std::unique_ptr<CSkin> skin(new CSkin);
    CSkinInfoObject *info = static_cast<CSkinInfoObject *>(AddObject(*skin, SKIN_KIND_INFO, "Application"));
    info->m_crKey = crKey;
    info->m_dwRegions = dwRegions;
    for (DWORD kind : kinds)
        AddObject(*skin, kind, KindObjectName(kind));
    return skin;
}
