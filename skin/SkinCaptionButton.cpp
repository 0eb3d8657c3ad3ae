#include "skin/SkinCaptionButton.h"

#include <set>

#include "platform/MemoryDC.h"
#include "platform/WindowDC.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinTrackPopupMenu.h"
#include "skin/SkinWnd.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"

namespace {

// Buttons alive now: a hover timer whose button has gone does nothing.
std::set<const CSkinCaptionButton *> &LiveButtons() {
    static std::set<const CSkinCaptionButton *> buttons;
    return buttons;
}

POINT CursorInWindow(HWND hWnd) {
    POINT pt = {-1, -1};
    RECT wr;
    if (::GetCursorPos(&pt) && ::GetWindowRect(hWnd, &wr)) {
        pt.x -= wr.left;
        pt.y -= wr.top;
    }
    return pt;
}

} // namespace

CSkinCaptionButton::CSkinCaptionButton(CSkinWnd *pOwner, const CSkinCaptionButtonObject *pRecord)
    : m_pOwner(pOwner), m_pRecord(pRecord) {
    LiveButtons().insert(this);
}

CSkinCaptionButton::~CSkinCaptionButton() {
    StopHoverTimer();
    LiveButtons().erase(this);
}

HWND CSkinCaptionButton::GetOwnerWindow() const {
    return m_pOwner ? m_pOwner->GetHwnd() : nullptr;
}

void CSkinCaptionButton::SetPosition(const SkinFramedRecord &framed, LONG nWidth) {
    if (m_pRecord)
        m_rc = CSkinFrameLayout::CaptionButtonRect(framed, *m_pRecord, nWidth);
}

int CSkinCaptionButton::GetRestingState() const {
    if (!m_pRecord)
        return STATE_NORMAL;
    const HWND hWnd = GetOwnerWindow();
    switch (m_pRecord->m_dwAction) {
    case CSkinCaptionButtonObject::ACTION_MAXIMIZE:
        return hWnd && ::IsZoomed(hWnd) ? STATE_PRESSED : STATE_NORMAL;
    case CSkinCaptionButtonObject::ACTION_MINIMIZE:
        return hWnd && ::IsIconic(hWnd) ? STATE_PRESSED : STATE_NORMAL;
    }
    return m_pRecord->m_dwToggle && m_bToggle ? STATE_PRESSED : STATE_NORMAL;
}

void CSkinCaptionButton::Draw(HDC hDC) const {
    if (!m_pRecord || ::IsRectEmpty(&m_rc))
        return;
    // Pieces by state; a missing one falls back to the normal piece, and without that to a plain push button.
    const SkinPiece *const pieces[4] = {&m_pRecord->m_hover, &m_pRecord->m_pressed, &m_pRecord->m_third,
                                        &m_pRecord->m_normal};
    const SkinPiece *piece = pieces[m_nState >= 0 && m_nState <= STATE_NORMAL ? m_nState : STATE_NORMAL];
    if (CNineGrid::IsEmpty(*piece))
        piece = &m_pRecord->m_normal;
    if (!CNineGrid::IsEmpty(*piece)) {
        DrawPiece(hDC, m_rc, *piece, 0, FALSE);
        return;
    }
    RECT rc = m_rc;
    ::DrawFrameControl(hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (m_nState == STATE_PRESSED ? DFCS_PUSHED : 0));
}

void CSkinCaptionButton::Redraw() const {
    const HWND hWnd = GetOwnerWindow();
    if (!hWnd || ::IsRectEmpty(&m_rc) || ::IsIconic(hWnd))
        return;
    CWindowDC dc(hWnd);
    CMemoryDC mem(dc, m_rc);
    if (!mem.IsValid()) {
        Draw(dc);
        return;
    }
    mem.CopyFromTarget(); // what the caption shows around a piece that does not cover the whole button
    Draw(mem);
}

void CSkinCaptionButton::SetState(int nState) {
    if (nState == m_nState)
        return;
    m_nState = nState;
    Redraw();
}

BOOL CSkinCaptionButton::OnMouseMove(POINT pt) {
    if (!m_pRecord || !::PtInRect(&m_rc, pt))
        return FALSE;
    const DWORD action = m_pRecord->m_dwAction;
    if (m_bPressed)
        SetState(STATE_PRESSED);
    else if (action == CSkinCaptionButtonObject::ACTION_MAXIMIZE || action == CSkinCaptionButtonObject::ACTION_MINIMIZE)
        SetState(GetRestingState());
    else
        SetState(STATE_HOVER);
    StartHoverTimer();
    return TRUE;
}

BOOL CSkinCaptionButton::OnLButtonDown(POINT pt) {
    if (!m_pRecord || !::PtInRect(&m_rc, pt))
        return FALSE;
    if (m_pRecord->m_dwAction == CSkinCaptionButtonObject::ACTION_SYSMENU) {
        SetState(STATE_PRESSED);
        TrackSystemMenu();
        return TRUE;
    }
    if (m_pRecord->m_dwToggle) {
        m_bToggle = !m_bToggle;
        SetState(m_bToggle ? STATE_PRESSED : STATE_NORMAL);
    } else {
        SetState(STATE_PRESSED);
    }
    m_bPressed = true;
    StartHoverTimer();
    return TRUE;
}

BOOL CSkinCaptionButton::OnLButtonUp(POINT pt) {
    if (!m_pRecord || !::PtInRect(&m_rc, pt)) {
        m_bPressed = false;
        return FALSE;
    }
    const DWORD action = m_pRecord->m_dwAction;
    const bool pressed = m_bPressed;
    m_bPressed = false;
    // Maximise and minimise act only on a click that began on them.
    if ((action == CSkinCaptionButtonObject::ACTION_MAXIMIZE || action == CSkinCaptionButtonObject::ACTION_MINIMIZE) &&
        !pressed)
        return TRUE;
    if (action == CSkinCaptionButtonObject::ACTION_SYSMENU)
        return TRUE; // its menu opened on the press
    SetState(m_pRecord->m_dwToggle ? GetRestingState() : STATE_HOVER);
    Perform();
    return TRUE;
}

BOOL CSkinCaptionButton::OnLButtonDblClk(POINT pt) {
    if (!m_pRecord || !::PtInRect(&m_rc, pt))
        return FALSE;
    if (m_pRecord->m_dwAction == CSkinCaptionButtonObject::ACTION_SYSMENU) {
        ::PostMessageA(GetOwnerWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
    }
    // The second press of a double click is a press like the first.
    return OnLButtonDown(pt);
}

void CSkinCaptionButton::Perform() {
    const HWND hWnd = GetOwnerWindow();
    if (!hWnd)
        return;
    switch (m_pRecord->m_dwAction) {
    case CSkinCaptionButtonObject::ACTION_COMMAND:
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(m_pRecord->m_dwCommand, 0), 0);
        break;
    case CSkinCaptionButtonObject::ACTION_CLOSE:
        ::PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case CSkinCaptionButtonObject::ACTION_MAXIMIZE:
        ::PostMessageA(hWnd, WM_SYSCOMMAND, ::IsZoomed(hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case CSkinCaptionButtonObject::ACTION_MINIMIZE:
        ::PostMessageA(hWnd, WM_SYSCOMMAND, ::IsIconic(hWnd) ? SC_RESTORE : SC_MINIMIZE, 0);
        break;
    }
}

void CSkinCaptionButton::TrackSystemMenu() {
    const HWND hWnd = GetOwnerWindow();
    HMENU menu = hWnd ? ::GetSystemMenu(hWnd, FALSE) : nullptr;
    POINT pt = {0, 0};
    if (!menu || !::GetCursorPos(&pt))
        return;
    SkinTrackPopupMenu(menu, pt.x + 2, pt.y, hWnd, SKIN_POPUP_SYSTEM);
    // The menu's command may have changed the skin, and this button with it.
    if (LiveButtons().count(this) && ::IsWindow(hWnd)) {
        m_nState = -1;
        SetState(::PtInRect(&m_rc, CursorInWindow(hWnd)) ? STATE_HOVER : GetRestingState());
    }
}

void CSkinCaptionButton::StartHoverTimer() {
    const HWND hWnd = GetOwnerWindow();
    if (m_bTimer || !hWnd)
        return;
    m_bTimer = ::SetTimer(hWnd, reinterpret_cast<UINT_PTR>(this), HOVER_TIMER_MS, HoverTimerProc) != 0;
    m_hTimerWnd = m_bTimer ? hWnd : nullptr;
}

void CSkinCaptionButton::StopHoverTimer() {
    if (!m_bTimer)
        return;
    ::KillTimer(m_hTimerWnd, reinterpret_cast<UINT_PTR>(this));
    m_bTimer = false;
    m_hTimerWnd = nullptr;
}

void CALLBACK CSkinCaptionButton::HoverTimerProc(HWND, UINT, UINT_PTR nID, DWORD) {
    CSkinCaptionButton *button = reinterpret_cast<CSkinCaptionButton *>(nID);
    if (LiveButtons().count(button))
        button->OnHoverTimer();
}

void CSkinCaptionButton::OnHoverTimer() {
    const HWND hWnd = GetOwnerWindow();
    if (hWnd && ::PtInRect(&m_rc, CursorInWindow(hWnd)))
        return;
    StopHoverTimer();
    m_bPressed = false;
    SetState(GetRestingState());
}
