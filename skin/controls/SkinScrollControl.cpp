#include "skin/controls/SkinScrollControl.h"

#include "skin/SkinEngine.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/controls/ScrollBarSkinDraw.h"
#include "skin/controls/ScrollSkin.h"

CSkinScrollControl::CSkinScrollControl(CSkinWnd *pOwner) : m_pOwner(pOwner) {}

std::unique_ptr<CSkinWnd> CSkinScrollControl::Create(CSkinWnd *pOwner) {
    return std::unique_ptr<CSkinWnd>(new CSkinScrollControl(pOwner));
}

CSkinObject *CSkinScrollControl::SetSkinObject(CSkinObject *pObject) {
    CSkinObject *pPrevious = CSkinWnd::SetSkinObject(pObject);
    if (!pObject && m_hWnd && HasPrevious()) {
        // A skin without this control's object: the painter goes, also from windows that no owner's walk of its
        // children reaches (the controls of a dialog attached through the owner chain). Skinned bars stay and draw
        // the standard way.
        CSkinRegistry::Instance().RemoveWindow(m_hWnd); // deletes this
        return pPrevious;
    }
    // A new skin brings arrows and thumbs of its own size: the bars follow it.
    if (m_bBarsAttached && m_hWnd && ScrollSkinIsAttached(m_hWnd)) {
        if (const CSkinScrollBarObject *pBars = CScrollBarSkinDraw::FindObject())
            ApplyBarSizes(*pBars);
    }
    return pPrevious;
}

BOOL CSkinScrollControl::Attach(HWND hWnd) {
    if (!CSkinWnd::Attach(hWnd))
        return FALSE;
    // The control has not run its own WM_CREATE yet: its bars are taken over once it has.
    ::PostMessageA(hWnd, WM_ATTACH_BARS, 0, 0);
    return TRUE;
}

void CSkinScrollControl::Detach() {
    HWND hWnd = m_hWnd;
    CSkinWnd::Detach();
    if (hWnd && ScrollSkinIsAttached(hWnd) && ::IsWindowVisible(hWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

LRESULT CSkinScrollControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: return CallPrevious(message, wParam, lParam);
    case WM_ERASEBKGND: return CallPrevious(message, wParam, lParam);
    case WM_ATTACH_BARS: return OnAttachBars(), 0;
    }
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

void CSkinScrollControl::OnAttachBars() {
    if (m_bBarsAttached || !m_hWnd || !UsesSkinnedBars(CSkinEngine::GetPlatformCode()))
        return;
    const CSkinScrollBarObject *pBars = CScrollBarSkinDraw::FindObject();
    if (!pBars)
        return;
    ScrollSkinAttach(m_hWnd); // 0 when the bars stayed from an earlier painter of this window
    m_bBarsAttached = ScrollSkinIsAttached(m_hWnd) != FALSE;
    if (m_bBarsAttached)
        ApplyBarSizes(*pBars);
}

void CSkinScrollControl::ApplyBarSizes(const CSkinScrollBarObject &bars) {
    const SkinScrollBlock &normal = bars.m_blocks[CSkinScrollBarObject::BLOCK_NORMAL];
    const int nArrow = normal.arrow1.rcSource.bottom - normal.arrow1.rcSource.top;
    const int nThumb = normal.thumb.rcSource.right - normal.thumb.rcSource.left;
    ScrollSkinSetStyle(m_hWnd, SB_BOTH, BAR_STYLE);
    ScrollSkinSetArrowSize(m_hWnd, SB_BOTH, nArrow, nArrow);
    if (nThumb > 0)
        ScrollSkinSetMinThumb(m_hWnd, SB_BOTH, nThumb);
}
