#include "skin/SkinMenuBar.h"

#include <algorithm>
#include <set>

#include "platform/ClientDC.h"
#include "platform/MemoryDC.h"
#include "platform/RectSize.h"
#include "platform/SelectObject.h"
#include "platform/WindowDC.h"
#include "skin/SkinMenuBarObject.h"
#include "skin/SkinMenuItems.h"
#include "skin/SkinMenuTracker.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"

namespace {

// Bars alive now: a hover timer whose bar has gone does nothing.
std::set<const CSkinMenuBar *> &LiveBars() {
    static std::set<const CSkinMenuBar *> bars;
    return bars;
}

RECT Deflate(const RECT &rc, const RECT &margins) {
    return RECT{rc.left + margins.left, rc.top + margins.top, rc.right - margins.right, rc.bottom - margins.bottom};
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

const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

} // namespace

CSkinMenuBar::CSkinMenuBar() {
    LiveBars().insert(this);
}

CSkinMenuBar::~CSkinMenuBar() {
    StopHoverTimer();
    LiveBars().erase(this);
}

void CSkinMenuBar::SetMenu(HMENU hMenu) {
    m_entries.clear();
    m_nHover = m_nOpen = m_nNextOpen = -1;
    m_bMeasured = false;
    m_hMenu = ::IsMenu(hMenu) ? hMenu : nullptr;
    if (!m_hMenu)
        return;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        char text[400] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        if (!::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        // Separators, bitmaps and owner-drawn items (the document window's buttons) carry no text.
        if ((info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) || text[0] == '\0')
            continue;
        Entry entry = {};
        entry.strText = text;
        entry.nID = info.wID;
        entry.hSubMenu = info.hSubMenu;
        entry.nState = STATE_NORMAL;
        m_entries.push_back(entry);
    }
}

void CSkinMenuBar::SetSkinObject(const CSkinMenuBarObject *pObject) {
    m_pObject = pObject;
    m_font.Close();
    if (m_pObject)
        m_font.Attach(::CreateFontIndirectA(&m_pObject->m_font.lf));
    m_bMeasured = false;
}

HFONT CSkinMenuBar::GetFont() const {
    return m_font.IsValid() ? m_font.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

RECT CSkinMenuBar::Insets() const {
    return m_pObject ? m_pObject->m_background.rcMargins : RECT{0, 0, 0, 0};
}

void CSkinMenuBar::Measure() {
    if (m_bMeasured)
        return;
    RECT margins = {0, 0, 0, 0};
    if (m_pObject) {
        const RECT &h = m_pObject->m_hoverImage.rcMargins, &o = m_pObject->m_openImage.rcMargins;
        margins = RECT{std::max(h.left, o.left), std::max(h.top, o.top), std::max(h.right, o.right),
                       std::max(h.bottom, o.bottom)};
    } else {
        margins = RECT{6, 3, 6, 3};
    }
    CScreenDC dc;
    CSelectObject font(dc, GetFont());
    for (Entry &entry : m_entries) {
        RECT rc = {0, 0, 0, 0};
        ::DrawTextA(dc, entry.strText.c_str(), -1, &rc, DT_SINGLELINE | DT_CALCRECT);
        entry.size.cx = Width(rc) + margins.left + margins.right;
        entry.size.cy = Height(rc) + margins.top + margins.bottom;
    }
    m_bMeasured = true;
}

int CSkinMenuBar::Layout(int nWidth, bool bChild, std::vector<RECT> *pRects, int *pRowHeight) const {
    const RECT in = Insets();
    const LONG room = nWidth - in.left - in.right;
    LONG tallest = 0;
    for (const Entry &entry : m_entries)
        tallest = std::max(tallest, entry.size.cy);
    const LONG rowHeight = tallest + 2;
    if (pRowHeight)
        *pRowHeight = rowHeight;
    if (m_entries.empty())
        return 0;
    int row = 0;
    LONG rowStart = bChild ? CHILD_INDENT : 0;
    LONG x = rowStart;
    for (const Entry &entry : m_entries) {
        // An entry that does not fit starts a new row; one wider than the bar has a row of its own.
        if (x > rowStart && x + entry.size.cx > room) {
            ++row;
            rowStart = x = 0;
        }
        if (pRects) {
            const LONG top = in.top + row * rowHeight + 1;
            pRects->push_back(RECT{in.left + x, top, in.left + x + entry.size.cx, top + entry.size.cy});
        }
        x += entry.size.cx;
    }
    int rows = row + 1;
    if (bChild && room - x < CHILD_ROW_ROOM)
        ++rows; // the document window's buttons get a row of their own
    return rows;
}

HWND CSkinMenuBar::GetMaximizedChild() const {
    return m_hMaximizedChild && ::IsWindow(m_hMaximizedChild) && ::IsZoomed(m_hMaximizedChild) ? m_hMaximizedChild
                                                                                              : nullptr;
}

int CSkinMenuBar::GetHeight(int nWidth) {
    Measure();
    int rowHeight = 0;
    const int rows = Layout(nWidth, GetMaximizedChild() != nullptr, nullptr, &rowHeight);
    if (rows == 0)
        return 0;
    const RECT in = Insets();
    return rowHeight * rows + in.top + in.bottom;
}

void CSkinMenuBar::SetRect(const RECT &rc) {
    Measure();
    m_rc = rc;
    m_hChild = GetMaximizedChild();
    std::vector<RECT> rects;
    int rowHeight = 0;
    m_nRows = Layout(Width(rc), m_hChild != nullptr, &rects, &rowHeight);
    for (size_t i = 0; i < m_entries.size() && i < rects.size(); ++i)
        m_entries[i].rc = RECT{rc.left + rects[i].left, rc.top + rects[i].top, rc.left + rects[i].right,
                               rc.top + rects[i].bottom};
    for (RECT &button : m_rcChild)
        button = RECT{0, 0, 0, 0};
    if (!m_hChild || m_nRows == 0)
        return;
    const RECT in = Insets();
    const LONG firstTop = rc.top + in.top + (rowHeight - CHILD_BUTTON_SIZE) / 2;
    const LONG lastTop = firstTop + (m_nRows - 1) * rowHeight;
    m_rcChild[CHILD_ICON] = RECT{rc.left + 2, firstTop, rc.left + 2 + CHILD_BUTTON_SIZE, firstTop + CHILD_BUTTON_SIZE};
    const LONG closeLeft = rc.right - in.right - CHILD_BUTTON_SIZE;
    const LONG lefts[3] = {closeLeft - 36, closeLeft - 18, closeLeft}; // minimise, restore, close
    for (int b = CHILD_MINIMIZE; b <= CHILD_CLOSE; ++b)
        m_rcChild[b] = RECT{lefts[b], lastTop, lefts[b] + CHILD_BUTTON_SIZE, lastTop + CHILD_BUTTON_SIZE};
}

void CSkinMenuBar::DrawEntry(HDC hDC, const Entry &entry) const {
    RECT text = entry.rc;
    COLORREF color;
    if (!m_pObject) {
        if (entry.nState != STATE_NORMAL)
            FillSolid(hDC, entry.rc, ::GetSysColor(COLOR_HIGHLIGHT));
        color = ::GetSysColor(entry.nState == STATE_NORMAL ? COLOR_MENUTEXT : COLOR_HIGHLIGHTTEXT);
    } else if (entry.nState == STATE_NORMAL) {
        color = m_pObject->m_normalText.GetTextColor();
    } else {
        const bool open = entry.nState == STATE_OPEN;
        const SkinImageRef &art = open ? m_pObject->m_openImage : m_pObject->m_hoverImage;
        DrawNineGrid(hDC, entry.rc, art, open ? m_pObject->m_crOpenFill : m_pObject->m_crHoverFill, TRUE);
        color = (open ? m_pObject->m_openText : m_pObject->m_hoverText).GetTextColor();
        text = Deflate(entry.rc, art.rcMargins);
    }
    ::SetTextColor(hDC, color);
    ::DrawTextA(hDC, entry.strText.c_str(), -1, &text, kTextFormat);
}

void CSkinMenuBar::DrawChildButtons(HDC hDC) const {
    static const UINT kFallback[CHILD_BUTTON_COUNT] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE, 0};
    for (int b = 0; b < CHILD_BUTTON_COUNT; ++b) {
        RECT rc = m_rcChild[b];
        const int state = m_nChildState[b];
        const SkinPiece *piece = nullptr;
        if (m_pObject) {
            piece = &m_pObject->m_childButtons[b * 3 + state];
            if (CNineGrid::IsEmpty(*piece))
                piece = &m_pObject->m_childButtons[b * 3];
        }
        if (piece && !CNineGrid::IsEmpty(*piece)) {
            DrawPiece(hDC, rc, *piece, 0, FALSE);
        } else if (b == CHILD_ICON) {
            HICON icon = reinterpret_cast<HICON>(::SendMessageA(m_hChild, WM_GETICON, ICON_SMALL, 0));
            if (!icon)
                icon = reinterpret_cast<HICON>(::GetClassLongPtrA(m_hChild, GCLP_HICONSM));
            if (icon)
                ::DrawIconEx(hDC, rc.left, rc.top, icon, CHILD_BUTTON_SIZE, CHILD_BUTTON_SIZE, 0, nullptr, DI_NORMAL);
        } else {
            ::DrawFrameControl(hDC, &rc, DFC_CAPTION, kFallback[b] | (state == 2 ? DFCS_PUSHED : 0));
        }
    }
}

void CSkinMenuBar::Draw(HDC hDC) {
    if (m_entries.empty() || ::IsRectEmpty(&m_rc))
        return;
    if (m_pObject)
        DrawNineGrid(hDC, m_rc, m_pObject->m_background, m_pObject->m_crBackground, TRUE);
    else
        FillSolid(hDC, m_rc, ::GetSysColor(COLOR_MENU));
    CSelectObject font(hDC, GetFont());
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = ::GetTextColor(hDC);
    for (const Entry &entry : m_entries)
        DrawEntry(hDC, entry);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
    if (m_hChild)
        DrawChildButtons(hDC);
}

void CSkinMenuBar::Redraw() {
    if (!m_hWnd || ::IsRectEmpty(&m_rc))
        return;
    CWindowDC dc(m_hWnd);
    CMemoryDC mem(dc, m_rc);
    Draw(mem.IsValid() ? mem.GetSafeHdc() : dc.GetSafeHdc());
}

int CSkinMenuBar::EntryAt(POINT pt) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (::PtInRect(&m_entries[i].rc, pt))
            return static_cast<int>(i);
    return -1;
}

int CSkinMenuBar::ChildButtonAt(POINT pt) const {
    if (!m_hChild)
        return -1;
    for (int b = 0; b < CHILD_BUTTON_COUNT; ++b)
        if (::PtInRect(&m_rcChild[b], pt))
            return b;
    return -1;
}

void CSkinMenuBar::SetHover(int nEntry) {
    if (nEntry == m_nHover)
        return;
    if (m_nHover >= 0 && m_nHover < static_cast<int>(m_entries.size()) && m_nHover != m_nOpen)
        m_entries[m_nHover].nState = STATE_NORMAL;
    m_nHover = nEntry;
    if (m_nHover >= 0 && m_nHover != m_nOpen)
        m_entries[m_nHover].nState = STATE_HOVER;
    Redraw();
}

BOOL CSkinMenuBar::OnMouseMove(POINT pt) {
    if (!::PtInRect(&m_rc, pt))
        return FALSE;
    const int button = ChildButtonAt(pt);
    bool changed = false;
    for (int b = 0; b < CHILD_BUTTON_COUNT; ++b) {
        const int state = b == button ? (m_nChildState[b] == 2 ? 2 : 1) : (m_nChildState[b] == 2 ? 2 : 0);
        changed = changed || state != m_nChildState[b];
        m_nChildState[b] = state;
    }
    const int entry = EntryAt(pt);
    if (m_nOpen >= 0) {
        // While a menu is open, the pointer carries it along the bar.
        if (entry >= 0 && entry != m_nOpen && m_entries[entry].hSubMenu)
            OpenEntry(entry);
        return TRUE;
    }
    if (entry != m_nHover)
        SetHover(entry);
    else if (changed)
        Redraw();
    StartHoverTimer();
    return TRUE;
}

BOOL CSkinMenuBar::OnButtonDown(POINT pt) {
    if (!::PtInRect(&m_rc, pt))
        return FALSE;
    const int button = ChildButtonAt(pt);
    if (button == CHILD_ICON) {
        TrackChildSystemMenu();
        return TRUE;
    }
    if (button >= 0) {
        m_nChildState[button] = 2;
        Redraw();
        return TRUE;
    }
    const int entry = EntryAt(pt);
    if (entry < 0)
        return TRUE;
    if (entry == m_nOpen) {
        // A press on the open entry closes its menu; the entry stays hovered.
        CloseMenu();
        return TRUE;
    }
    if (m_entries[entry].hSubMenu)
        OpenEntry(entry);
    return TRUE;
}

BOOL CSkinMenuBar::OnButtonUp(POINT pt) {
    const bool inside = ::PtInRect(&m_rc, pt) != FALSE;
    const int button = inside ? ChildButtonAt(pt) : -1;
    const bool pressed = button >= 0 && m_nChildState[button] == 2;
    for (int &state : m_nChildState)
        state = 0;
    if (pressed && m_hChild) {
        const HWND child = m_hChild;
        Redraw();
        switch (button) {
        case CHILD_MINIMIZE:
            ::SendMessageA(child, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case CHILD_RESTORE:
            ::SendMessageA(::GetParent(child), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
            break;
        case CHILD_CLOSE:
            ::SendMessageA(child, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        return TRUE;
    }
    if (!inside)
        return FALSE;
    const int entry = EntryAt(pt);
    // An entry without a menu is a command of its own.
    if (entry >= 0 && !m_entries[entry].hSubMenu && m_entries[entry].nID)
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(m_entries[entry].nID, 0), 0);
    return TRUE;
}

void CSkinMenuBar::OpenEntry(int nEntry, bool bKeyboard) {
    m_nNextOpen = nEntry;
    m_bNextKeyboard = bKeyboard;
    if (m_nOpen >= 0) {
        // The open menu closes first; the loop below then opens this entry's.
        CSkinMenuTracker::EndActive();
        return;
    }
    const HWND hWnd = m_hWnd;
    while (m_nNextOpen >= 0 && m_nNextOpen < static_cast<int>(m_entries.size())) {
        const int open = m_nNextOpen;
        const bool keyboard = m_bNextKeyboard;
        m_nNextOpen = -1;
        Entry &entry = m_entries[open];
        if (!entry.hSubMenu)
            break;
        StopHoverTimer();
        if (m_nHover >= 0 && m_nHover != open && m_nHover < static_cast<int>(m_entries.size()))
            m_entries[m_nHover].nState = STATE_NORMAL;
        m_nHover = -1;
        m_nOpen = open;
        entry.nState = STATE_OPEN;
        Redraw();
        RECT wr = {0, 0, 0, 0};
        ::GetWindowRect(hWnd, &wr);
        const int end = CSkinMenuTracker::Track(entry.hSubMenu, wr.left + entry.rc.left, wr.top + entry.rc.bottom,
                                                hWnd, CSkinPopupMenuWnd::MODE_MENUBAR, keyboard);
        // The menu's commands may have closed the frame, and this bar with it.
        if (!::IsWindow(hWnd) || !LiveBars().count(this))
            return;
        if (m_nOpen == open && open < static_cast<int>(m_entries.size()))
            m_entries[open].nState = STATE_NORMAL;
        m_nOpen = -1;
        // Left and Right at the top of a menu move to the neighbouring entry's menu.
        if (end == CSkinPopupMenuWnd::END_PREVIOUS || end == CSkinPopupMenuWnd::END_NEXT) {
            m_nNextOpen = NeighbourEntry(open, end == CSkinPopupMenuWnd::END_NEXT ? 1 : -1);
            m_bNextKeyboard = true;
        }
    }
    m_nNextOpen = -1;
    EndTracking();
}

int CSkinMenuBar::NeighbourEntry(int nFrom, int nStep) const {
    const int count = static_cast<int>(m_entries.size());
    for (int i = 1; i <= count; ++i) {
        const int entry = ((nFrom + i * nStep) % count + count) % count;
        if (m_entries[entry].hSubMenu)
            return entry;
    }
    return -1;
}

void CSkinMenuBar::CloseMenu() {
    if (m_nOpen < 0)
        return;
    m_nNextOpen = -1;
    CSkinMenuTracker::EndActive();
}

void CSkinMenuBar::EndTracking() {
    if (m_nOpen >= 0 && m_nOpen < static_cast<int>(m_entries.size()))
        m_entries[m_nOpen].nState = STATE_NORMAL;
    m_nOpen = -1;
    // The entry under the pointer is hovered again.
    const int entry = m_hWnd ? EntryAt(CursorInWindow(m_hWnd)) : -1;
    m_nHover = -2; // forces the redraw
    SetHover(entry);
    if (entry >= 0)
        StartHoverTimer();
}

void CSkinMenuBar::TrackChildSystemMenu() {
    const HWND child = m_hChild;
    HMENU menu = child ? ::GetSystemMenu(child, FALSE) : nullptr;
    if (!menu)
        return;
    RECT wr = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &wr);
    const RECT &icon = m_rcChild[CHILD_ICON];
    TrackSkinnedPopupMenu(menu, wr.left + icon.left, wr.top + icon.bottom, child, TRUE);
}

// ---- keyboard access

int CSkinMenuBar::EntryForMnemonic(char cKey) const {
    const char key = (cKey >= 'A' && cKey <= 'Z') ? static_cast<char>(cKey - 'A' + 'a') : cKey;
    for (size_t i = 0; key && i < m_entries.size(); ++i)
        if (CSkinMenuItems::Mnemonic(m_entries[i].strText) == key)
            return static_cast<int>(i);
    return -1;
}

BOOL CSkinMenuBar::OnKeyMenu(UINT nChar) {
    if (!m_hWnd || m_nOpen >= 0)
        return FALSE;
    if (nChar == ' ') {
        TrackFrameSystemMenu();
        return TRUE;
    }
    if (nChar == '-' && m_hChild) {
        TrackChildSystemMenu();
        return TRUE;
    }
    if (m_entries.empty())
        return FALSE;
    if (nChar == 0) {
        TrackKeyboard();
        return TRUE;
    }
    // A key that names no entry does nothing, as with the system's menu bar.
    const int entry = EntryForMnemonic(static_cast<char>(nChar));
    if (entry >= 0)
        ActivateEntry(entry, true);
    return TRUE;
}

void CSkinMenuBar::ActivateEntry(int nEntry, bool bKeyboard) {
    if (m_entries[nEntry].hSubMenu) {
        OpenEntry(nEntry, bKeyboard);
        return;
    }
    // An entry without a menu is a command of its own.
    SetHover(-1);
    if (m_entries[nEntry].nID)
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(m_entries[nEntry].nID, 0), 0);
}

void CSkinMenuBar::TrackFrameSystemMenu() {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    RECT wr = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &wr);
    TrackSkinnedPopupMenu(menu, wr.left + m_rc.left, wr.top + m_rc.top, m_hWnd, TRUE);
}

void CSkinMenuBar::TrackKeyboard() {
    // F10 or Alt alone: the first entry is marked and the keys walk the bar until an entry opens or the user leaves.
    const HWND hWnd = m_hWnd;
    StopHoverTimer();
    m_nHover = -2;
    SetHover(0);
    m_bKeyboardMode = true;
    m_nKeyboardOpen = -1;
    MSG msg;
    while (m_bKeyboardMode && ::IsWindow(hWnd) && ::GetActiveWindow() == hWnd) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (OnKeyboardModeMessage(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        // What the message did may have closed the frame, and this bar with it.
        if (!LiveBars().count(this))
            return;
    }
    m_bKeyboardMode = false;
    if (!::IsWindow(hWnd))
        return;
    if (m_nKeyboardOpen >= 0 && m_nKeyboardOpen < static_cast<int>(m_entries.size())) {
        ActivateEntry(m_nKeyboardOpen, true);
        return;
    }
    m_nHover = -2;
    SetHover(EntryAt(CursorInWindow(m_hWnd)));
}

bool CSkinMenuBar::OnKeyboardModeMessage(MSG &msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return OnKeyboardModeKey(msg);
    case WM_CHAR:
    case WM_SYSCHAR: return LeaveKeyboardMode(EntryForMnemonic(static_cast<char>(msg.wParam)), false);
    case WM_KEYUP:
    case WM_SYSKEYUP: return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: LeaveKeyboardMode(-1, true); return false; // the press goes where it was meant to
    }
    return false;
}

bool CSkinMenuBar::OnKeyboardModeKey(MSG &msg) {
    const int count = static_cast<int>(m_entries.size());
    const int hover = m_nHover < 0 ? 0 : m_nHover;
    switch (msg.wParam) {
    case VK_LEFT: SetHover((hover + count - 1) % count); return true;
    case VK_RIGHT: SetHover((hover + 1) % count); return true;
    case VK_RETURN:
    case VK_DOWN:
    case VK_UP: return LeaveKeyboardMode(hover, true);
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10: return LeaveKeyboardMode(-1, true);
    }
    ::TranslateMessage(&msg); // letters come back as characters
    return true;
}

bool CSkinMenuBar::LeaveKeyboardMode(int nOpen, bool bAlways) {
    if (nOpen < 0 && !bAlways)
        return true;
    m_nKeyboardOpen = nOpen;
    m_bKeyboardMode = false;
    return true;
}

void CSkinMenuBar::StartHoverTimer() {
    if (m_bTimer || !m_hWnd)
        return;
    m_bTimer = ::SetTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this), HOVER_TIMER_MS, HoverTimerProc) != 0;
}

void CSkinMenuBar::StopHoverTimer() {
    if (!m_bTimer)
        return;
    ::KillTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this));
    m_bTimer = false;
}

void CALLBACK CSkinMenuBar::HoverTimerProc(HWND, UINT, UINT_PTR nID, DWORD) {
    CSkinMenuBar *bar = reinterpret_cast<CSkinMenuBar *>(nID);
    if (LiveBars().count(bar))
        bar->OnHoverTimer();
}

void CSkinMenuBar::OnHoverTimer() {
    if (::PtInRect(&m_rc, CursorInWindow(m_hWnd)))
        return;
    StopHoverTimer();
    for (int &state : m_nChildState)
        state = 0;
    if (m_nHover >= 0)
        SetHover(-1);
    else
        Redraw();
}
