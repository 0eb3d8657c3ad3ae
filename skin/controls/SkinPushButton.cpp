#include "skin/controls/SkinPushButton.h"

#include "skin/SkinButtonObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTextScope.h"

namespace {

// Takes WS_VISIBLE off a window for one scope and puts it back (only that bit: the message handled meanwhile may
// change others, such as the default-button type) when the window still exists.
class CHiddenScope {
public:
    explicit CHiddenScope(HWND hWnd) : m_hWnd(hWnd) {
        const LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
        m_bWasVisible = (style & WS_VISIBLE) != 0;
        if (m_bWasVisible)
            ::SetWindowLongPtrA(hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }
    ~CHiddenScope() { Restore(); }
    void Restore() {
        if (!m_bWasVisible)
            return;
        m_bWasVisible = false;
        if (::IsWindow(m_hWnd))
            ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    }
    CHiddenScope(const CHiddenScope &) = delete;
    CHiddenScope &operator=(const CHiddenScope &) = delete;

private:
    HWND m_hWnd;
    bool m_bWasVisible;
};

} // namespace

DWORD CSkinPushButton::GetKind() const {
    return SKIN_KIND_BUTTON;
}

int CSkinPushButton::ChooseState(BOOL bEnabled, LRESULT nButtonState, DWORD dwStyle) {
    if (!bEnabled)
        return CSkinButtonObject::STATE_DISABLED;
    if (nButtonState & BST_PUSHED)
        return CSkinButtonObject::STATE_PRESSED;
    if (nButtonState & BST_FOCUS)
        return CSkinButtonObject::STATE_FOCUSED;
    if (nButtonState & BST_CHECKED)
        return CSkinButtonObject::STATE_PRESSED;
    if ((dwStyle & OWNER_DRAWN) == BS_DEFPUSHBUTTON)
        return CSkinButtonObject::STATE_DEFAULT;
    return CSkinButtonObject::STATE_NORMAL;
}

void CSkinPushButton::Draw(HDC hDC) {
    const CSkinButtonObject *pObject = dynamic_cast<const CSkinButtonObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const BOOL bEnabled = ::IsWindowEnabled(m_hWnd);
    const LRESULT nState = bEnabled ? ::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0) : 0;
    const SkinImageRef &image = pObject->m_states[ChooseState(bEnabled, nState, GetStyle())].image;
    SetNineGridRegion(image, rc);
    DrawNineGrid(hDC, rc, image, ::GetSysColor(COLOR_BTNFACE), TRUE);

    char text[MAX_TEXT + 1] = "";
    ::GetWindowTextA(m_hWnd, text, sizeof(text));
    CSkinTextScope scope(hDC, pObject->m_font);
    ::DrawTextA(hDC, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

LRESULT CSkinPushButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pSkinObject) {
        if (message == WM_MOUSEMOVE)
            return OnMouseMoveHidden(message, wParam, lParam);
        if (ChangesLook(message))
            return PassOnHidden(message, wParam, lParam);
    }
    return CSkinButtonBase::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinPushButton::PassOnHidden(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    CHiddenScope hidden(hWnd);
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    hidden.Restore();
    if (Survives(hWnd))
        RedrawNow();
    return result;
}

LRESULT CSkinPushButton::OnMouseMoveHidden(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    if (!StoreCursor(pt))
        return CSkinControl::HandleMessage(message, wParam, lParam);
    CHiddenScope hidden(hWnd);
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    hidden.Restore();
    if (Survives(hWnd))
        RedrawNow();
    return result;
}
