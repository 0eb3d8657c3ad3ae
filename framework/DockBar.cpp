#include "framework/DockBar.h"

#include <algorithm>
#include <climits>
#include "framework/ControlBar.h"
#include "framework/FrameWnd.h"
#include "platform/PaintDC.h"

// The statically linked release variant of the framework's control-bar class name.
const char *const CDockBar::kClassName = "AfxControlBar42s";

bool CDockBar::IsHorizontal() const {
    return (m_dwAlign & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
}

BOOL CDockBar::Create(CFrameWnd *pFrame, UINT nID) {
    const char *cls = RegisterFrameworkClass(kClassName, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!cls)
        return FALSE;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | m_dwAlign;
    return CreateEx(0, cls, "", style, 0, 0, 0, 0, pFrame->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

int CDockBar::Extent(CControlBar *pBar, bool bAlong) const {
    SIZE size = pBar->CalcFixedLayout();
    bool horz = IsHorizontal();
    // Along the row: the bar's length (plus its gripper); across: its thickness.
    int along = horz ? size.cx : size.cy;
    int across = horz ? size.cy : size.cx;
    if (bAlong)
        return along + ((pBar->m_dwStyle & CBRS_GRIPPER) ? kGripper : 0);
    return across;
}

int CDockBar::RowThickness(const std::vector<CControlBar *> &row) const {
    int thickness = 0;
    for (CControlBar *bar : row) {
        if (bar->IsVisible())
            thickness = std::max(thickness, Extent(bar, false));
    }
    return thickness;
}

int CDockBar::CalcThickness() const {
    int total = 0;
    for (const auto &row : m_rows) {
        int t = RowThickness(row);
        if (t > 0)
            total += t + kGap;
    }
    return total > 0 ? total + kGap : 0;
}

void CDockBar::LayoutBars() {
    bool horz = IsHorizontal();
    int across = kGap;
    for (const auto &row : m_rows) {
        int thickness = RowThickness(row);
        if (thickness == 0)
            continue;
        int along = kGap;
        for (CControlBar *bar : row) {
            if (!bar->IsVisible())
                continue;
            if (bar->m_dwStyle & CBRS_GRIPPER)
                along += kGripper;
            SIZE size = bar->CalcFixedLayout();
            int length = horz ? size.cx : size.cy;
            if (horz)
                ::MoveWindow(bar->m_hWnd, along, across, length, thickness, TRUE);
            else
                ::MoveWindow(bar->m_hWnd, across, along, thickness, length, TRUE);
            along += length + kGap;
        }
        across += thickness + kGap;
    }
    Invalidate();
}

void CDockBar::RemoveControlBar(CControlBar *pBar) {
    for (auto row = m_rows.begin(); row != m_rows.end(); ++row) {
        auto it = std::find(row->begin(), row->end(), pBar);
        if (it != row->end()) {
            row->erase(it);
            if (row->empty())
                m_rows.erase(row);
            break;
        }
    }
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
}

void CDockBar::DockControlBar(CControlBar *pBar, const RECT *lpScreenRect) {
    if (pBar->m_pDockBar)
        pBar->m_pDockBar->RemoveControlBar(pBar);
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        ::SetParent(pBar->m_hWnd, m_hWnd);
    pBar->m_pDockBar = this;
    DWORD align = pBar->m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY);
    pBar->m_dwStyle = align | m_dwAlign;
    if (!lpScreenRect) {
        m_rows.push_back({pBar});
        return;
    }
    bool horz = IsHorizontal();
    RECT target = *lpScreenRect;
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&target), 2);
    int mid = horz ? (target.top + target.bottom) / 2 : (target.left + target.right) / 2;
    int start = horz ? target.left : target.top;
    // The row whose bars span the rectangle's middle, judged by where they are now.
    for (size_t r = 0; r < m_rows.size(); ++r) {
        int lo = INT_MAX;
        int hi = INT_MIN;
        for (CControlBar *bar : m_rows[r]) {
            RECT rc;
            ::GetWindowRect(bar->m_hWnd, &rc);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rc), 2);
            lo = std::min(lo, static_cast<int>(horz ? rc.top : rc.left));
            hi = std::max(hi, static_cast<int>(horz ? rc.bottom : rc.right));
        }
        if (lo == INT_MAX)
            continue;
        if (mid < lo) {
            m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(r), {pBar});
            return;
        }
        if (mid < hi) {
            auto &row = m_rows[r];
            auto pos = row.begin();
            for (; pos != row.end(); ++pos) {
                RECT rc;
                ::GetWindowRect((*pos)->m_hWnd, &rc);
                ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rc), 2);
                if ((horz ? rc.left : rc.top) >= start)
                    break;
            }
            row.insert(pos, pBar);
            return;
        }
    }
    m_rows.push_back({pBar});
}

void CDockBar::OnPaint() {
    CPaintDC dc(m_hWnd);
    // Grippers: two raised lines left of (or above) each bar that asks for one.
    for (const auto &row : m_rows) {
        for (CControlBar *bar : row) {
            if (!bar->IsVisible() || !(bar->m_dwStyle & CBRS_GRIPPER))
                continue;
            RECT rc;
            ::GetWindowRect(bar->m_hWnd, &rc);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rc), 2);
            RECT grip = rc;
            if (IsHorizontal()) {
                grip.right = rc.left - 3;
                grip.left = grip.right - 3;
                grip.top += 2;
                grip.bottom -= 2;
            } else {
                grip.bottom = rc.top - 3;
                grip.top = grip.bottom - 3;
                grip.left += 2;
                grip.right -= 2;
            }
            ::DrawEdge(dc.GetSafeHdc(), &grip, BDR_RAISEDINNER, BF_RECT);
        }
    }
}
