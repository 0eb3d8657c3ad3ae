#include "framework/ToolBar.h"

#include <vector>
#include <utility>
#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkIds.h"
#include "platform/ClientDC.h"
#include "platform/SelectObject.h"

namespace {
// The state of one button as an update handler sets it.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        HWND h = m_pOther->m_hWnd;
        LRESULT state = ::SendMessageA(h, TB_GETSTATE, m_nID, 0);
        bool enabled = state != -1 && (state & TBSTATE_ENABLED);
        if (state != -1 && enabled != (bOn != FALSE))
            ::SendMessageA(h, TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override {
        HWND h = m_pOther->m_hWnd;
        LRESULT state = ::SendMessageA(h, TB_GETSTATE, m_nID, 0);
        bool checked = state != -1 && (state & TBSTATE_CHECKED);
        if (state != -1 && checked != (nCheck != 0))
            ::SendMessageA(h, TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck ? TRUE : FALSE, 0));
    }
    void SetText(const std::string &text) override {
        CToolBar *bar = static_cast<CToolBar *>(m_pOther);
        if (bar->GetButtonText(static_cast<int>(m_nIndex)) != text)
            bar->SetButtonText(static_cast<int>(m_nIndex), text);
    }
};
} // namespace

CToolBar::~CToolBar() {
    if (m_hWnd)
        DestroyWindow(); // the image list (m_images) goes after the control that borrowed it
}

BOOL CToolBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, RECT{0, 0, 0, 0}, nID);
}

BOOL CToolBar::CreateEx(CWnd *pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, RECT, UINT nID) {
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    // Bar styles live in the object; only window and tool-bar styles go to the control.
    const DWORD barBits = 0x0040FFFF;
    m_dwStyle = dwStyle & barBits;
    DWORD style = (dwStyle & ~barBits) | (dwCtrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (m_dwStyle & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETMAXTEXTROWS, 1);
    AttachToFrame(pParentWnd);
    return TRUE;
}

bool CToolBar::ParseToolBarResource(const BYTE *data, size_t size, ResourceData &out) {
    out = ResourceData();
    if (!data || size < 8)
        return false;
    auto word = [data](size_t i) { return static_cast<UINT>(data[2 * i] | (data[2 * i + 1] << 8)); };
    if (word(0) != 1)
        return false;
    size_t count = word(3);
    if (count > (size - 8) / 2)
        return false;
    out.width = static_cast<int>(word(1));
    out.height = static_cast<int>(word(2));
    if (out.width <= 0 || out.height <= 0 || out.width > 256 || out.height > 256)
        return false;
    for (size_t i = 0; i < count; ++i)
        out.ids.push_back(word(4 + i));
    return true;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    if (!m_hWnd)
        return FALSE;
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(RT_TOOLBAR_ID));
    if (!res)
        return FALSE;
    HGLOBAL mem = ::LoadResource(hInst, res);
    const BYTE *data = mem ? static_cast<const BYTE *>(::LockResource(mem)) : nullptr;
    ResourceData parsed;
    if (!ParseToolBarResource(data, ::SizeofResource(hInst, res), parsed))
        return FALSE;
    // Light grey is the strip's background, shown as the button face.
    CImageList images(ImageList_LoadImageA(hInst, MAKEINTRESOURCEA(nIDResource), parsed.width, 0, RGB(192, 192, 192),
                                           IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (!images.IsValid())
        return FALSE;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    m_images = std::move(images);
    SetSizes(SIZE{parsed.width + 7, parsed.height + 7}, SIZE{parsed.width, parsed.height});
    return SetButtons(parsed.ids.data(), static_cast<int>(parsed.ids.size()));
}

BOOL CToolBar::SetButtons(const UINT *lpIDArray, int nIDCount) {
    if (!m_hWnd || nIDCount < 0)
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON b = {};
        if (lpIDArray[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = 6;
        } else {
            b.idCommand = static_cast<int>(lpIDArray[i]);
            b.iBitmap = image++;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        b.iString = -1;
        buttons.push_back(b);
    }
    if (!buttons.empty() && !SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

BOOL CToolBar::SetButtonText(int nIndex, const std::string &text) {
    if (!m_hWnd || nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<char *>(text.c_str());
    if (!SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info)))
        return FALSE;
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

std::string CToolBar::GetButtonText(int nIndex) const {
    if (!m_hWnd || nIndex < 0 || nIndex >= GetCount())
        return std::string();
    char buf[256] = {};
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = buf;
    info.cchText = sizeof(buf) - 1;
    if (SendMessage(TB_GETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info)) < 0)
        return std::string();
    return buf;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeImage = sizeImage;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    // A button that carries a text grows to hold it below its image: the size asked for is a minimum,
    // as the common control itself treats it on Windows (the connect bars ask for 23 x 22).
    const SIZE fit = FitButtonText(sizeImage);
    sizeButton.cx = sizeButton.cx > fit.cx ? sizeButton.cx : fit.cx;
    sizeButton.cy = sizeButton.cy > fit.cy ? sizeButton.cy : fit.cy;
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    SendMessage(TB_AUTOSIZE);
}

SIZE CToolBar::FitButtonText(SIZE sizeImage) const {
    SIZE fit = {0, 0};
    if (!m_hWnd)
        return fit;
    CClientDC dc(m_hWnd);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    CSelectObject select(dc.GetSafeHdc(), font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < GetCount(); ++i) {
        const std::string text = GetButtonText(i);
        SIZE ext = {0, 0};
        if (text.empty() || !::GetTextExtentPoint32A(dc.GetSafeHdc(), text.c_str(), static_cast<int>(text.size()), &ext))
            continue;
        const LONG cx = (ext.cx > sizeImage.cx ? ext.cx : sizeImage.cx) + 8;
        const LONG cy = sizeImage.cy + ext.cy + 8;
        fit.cx = fit.cx > cx ? fit.cx : cx;
        fit.cy = fit.cy > cy ? fit.cy : cy;
    }
    return fit;
}

int CToolBar::GetCount() const {
    return m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON b = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&b)))
        return 0;
    return (b.fsStyle & BTNS_SEP) ? ID_SEPARATOR : static_cast<UINT>(b.idCommand);
}

int CToolBar::CommandToIndex(UINT nID) const {
    return m_hWnd ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID)) : -1;
}

SIZE CToolBar::CalcFixedLayout() {
    SIZE size = {0, 0};
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        RECT rc = {};
        if (SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc))) {
            if (rc.right > size.cx)
                size.cx = rc.right;
            if (rc.bottom > size.cy)
                size.cy = rc.bottom;
        }
    }
    if (count == 0)
        size.cy = m_sizeImage.cy + 7;
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd *pTarget, BOOL bDisableIfNoHandler) {
    CToolCmdUI state;
    state.m_pOther = this;
    int count = GetCount();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        UINT id = GetItemID(i);
        if (id == ID_SEPARATOR)
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = id;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
