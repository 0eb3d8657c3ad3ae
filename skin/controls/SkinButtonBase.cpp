#include "skin/controls/SkinButtonBase.h"

#include <initializer_list>

#include "platform/ClientDC.h"
#include "platform/MemoryDC.h"
#include "skin/SkinCheckObject.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

namespace {

// The longest caption drawn.
const int kMaxText = 199;

const SkinImageRef *FirstBackground(const CSkinCheckObject &object, std::initializer_list<int> blocks) {
    for (int block : blocks)
        if (!CNineGrid::IsEmpty(object.m_blocks[block].background))
            return &object.m_blocks[block].background;
    return &object.m_blocks[*(blocks.end() - 1)].background;
}

const SkinPiece *FirstMark(const CSkinCheckObject &object, std::initializer_list<int> blocks) {
    for (int block : blocks)
        if (!CNineGrid::IsEmpty(object.m_blocks[block].mark))
            return &object.m_blocks[block].mark;
    return &object.m_blocks[*(blocks.end() - 1)].mark;
}

} // namespace

BOOL CSkinButtonBase::Attach(HWND hWnd) {
    CSkinObject *pObject = GetKindSkinObject();
    if (!pObject || !hWnd)
        return FALSE;
    if ((static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE)) & OWNER_DRAWN) == OWNER_DRAWN)
        return FALSE;
    m_hWnd = hWnd;
    // Subclassed before the redraw, so that the first paint after attaching is already the skin's.
    const BOOL bSubclassed = SubclassWindow(hWnd);
    if (bSubclassed)
        SetSkinObject(pObject);
    return bSubclassed;
}

bool CSkinButtonBase::ChangesLook(UINT message) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    // Buttons also paint themselves when the focus and accelerator cues change.
    case WM_UPDATEUISTATE:
        return true;
    }
    return false;
}

LRESULT CSkinButtonBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        if (message == WM_MOUSEMOVE)
            return OnMouseMove(message, wParam, lParam);
        if (ChangesLook(message))
            return PassOnAndRedraw(message, wParam, lParam);
    }
    return CSkinControl::HandleMessage(message, wParam, lParam);
}

CSkinObject *CSkinButtonBase::GetKindSkinObject() {
    return FindKindObject(GetKind());
}

void CSkinButtonBase::RedrawNow() {
    if (!IsAlive() || !m_pSkinObject)
        return;
    CClientDC dc(m_hWnd);
    if (dc.GetSafeHdc())
        DrawBuffered(dc);
}

LRESULT CSkinButtonBase::PassOnAndRedraw(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd))
        RedrawNow();
    return result;
}

LRESULT CSkinButtonBase::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd) && StoreCursor(pt))
        RedrawNow();
    return result;
}

bool CSkinButtonBase::StoreCursor(POINT pt) {
    if (pt.x == m_ptLastCursor.x && pt.y == m_ptLastCursor.y)
        return false;
    m_ptLastCursor = pt;
    return true;
}

CSkinButtonBase::CheckLook CSkinButtonBase::ChooseCheckLook(const CSkinCheckObject &object, BOOL bEnabled,
                                                            LRESULT nButtonState) {
    typedef CSkinCheckObject O;
    const bool bChecked = (nButtonState & BST_CHECKED) != 0;
    if (bEnabled) {
        if (!bChecked && !(nButtonState & BST_PUSHED)) {
            const SkinCheckBlock &b = object.m_blocks[O::BLOCK_NORMAL];
            return CheckLook{&b.background, &b.mark, b.color.GetTextColor()};
        }
        const SkinCheckBlock &b = object.m_blocks[O::BLOCK_CHECKED];
        return CheckLook{FirstBackground(object, {O::BLOCK_CHECKED, O::BLOCK_NORMAL}), &b.mark, b.color.GetTextColor()};
    }
    if (bChecked)
        return CheckLook{FirstBackground(object, {O::BLOCK_DISABLED_CHECKED, O::BLOCK_DISABLED, O::BLOCK_NORMAL}),
                         FirstMark(object, {O::BLOCK_DISABLED_CHECKED, O::BLOCK_DISABLED, O::BLOCK_CHECKED}),
                         object.m_blocks[O::BLOCK_DISABLED_CHECKED].color.GetTextColor()};
    return CheckLook{FirstBackground(object, {O::BLOCK_DISABLED_UNCHECKED, O::BLOCK_DISABLED, O::BLOCK_NORMAL}),
                     FirstMark(object, {O::BLOCK_DISABLED_UNCHECKED, O::BLOCK_DISABLED, O::BLOCK_NORMAL}),
                     object.m_blocks[O::BLOCK_DISABLED_UNCHECKED].color.GetTextColor()};
}

CSkinButtonBase::CheckLayout CSkinButtonBase::LayoutCheck(const RECT &rc, DWORD dwStyle, LONG w, LONG h, LONG t) {
    CheckLayout layout;
    RECT &mark = layout.rcMark;
    RECT &text = layout.rcText;
    if (dwStyle & BS_BOTTOM) {
        mark.top = rc.bottom - h;
        text.top = rc.bottom - t;
        layout.nFormat = DT_BOTTOM | DT_SINGLELINE;
    } else if (dwStyle & BS_TOP) {
        mark.top = rc.top;
        text.top = rc.top;
        layout.nFormat = DT_SINGLELINE;
    } else {
        mark.top = rc.top + (rc.bottom - rc.top - h) / 2;
        text.top = rc.top + (rc.bottom - rc.top - t) / 2;
        layout.nFormat = DT_VCENTER | DT_SINGLELINE;
    }
    mark.bottom = mark.top + h;
    text.bottom = text.top + t;
    if (dwStyle & BS_LEFTTEXT) {
        mark.left = rc.right - w;
        mark.right = rc.right;
        text.left = rc.left;
        text.right = mark.left;
    } else {
        mark.left = rc.left;
        mark.right = rc.left + w;
        text.left = rc.left + w + 2;
        text.right = rc.right;
    }
    if ((dwStyle & BS_CENTER) == BS_CENTER)
        layout.nFormat |= DT_CENTER;
    else if (dwStyle & BS_RIGHT)
        layout.nFormat |= DT_RIGHT;
    return layout;
}

void CSkinButtonBase::DrawCheckOrRadio(HDC hDC) {
    const CSkinCheckObject *pObject = dynamic_cast<const CSkinCheckObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const LRESULT nState = ::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0);
    const CheckLook look = ChooseCheckLook(*pObject, ::IsWindowEnabled(m_hWnd), nState);

    SetNineGridRegion(*look.pBackground, rc);
    DrawNineGrid(hDC, rc, *look.pBackground, ::GetSysColor(COLOR_BTNFACE), TRUE);
    const RECT &m = look.pBackground->rcMargins;
    const RECT inner = {rc.left + m.left, rc.top + m.top, rc.right - m.right, rc.bottom - m.bottom};

    CSkinTextScope scope(hDC, pObject->m_header.font, look.crText);
    SIZE abc = {0, 0};
    ::GetTextExtentPoint32A(hDC, "ABC", 3, &abc);
    const RECT &source = look.pMark->rcSource;
    const CheckLayout layout =
        LayoutCheck(inner, GetStyle(), source.right - source.left, source.bottom - source.top, abc.cy);
    DrawPiece(hDC, layout.rcMark, *look.pMark, 0, FALSE);

    char text[kMaxText + 1] = "";
    ::GetWindowTextA(m_hWnd, text, sizeof(text));
    RECT rcText = layout.rcText;
    ::DrawTextA(hDC, text, -1, &rcText, layout.nFormat);
}
