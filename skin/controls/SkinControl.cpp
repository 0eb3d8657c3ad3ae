#include "skin/controls/SkinControl.h"

#include "platform/ClientDC.h"
#include "platform/ClipRegion.h"
#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "skin/Skin.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/SkinDraw.h"

CSkinControl::CSkinControl(CSkinWnd *pOwner) : m_pOwner(pOwner), m_hOwner(pOwner ? pOwner->GetHwnd() : nullptr) {}

CSkinControl::~CSkinControl() = default;

CSkinObject *CSkinControl::SetSkinObject(CSkinObject *pObject) {
    CSkinObject *pPrevious = m_pSkinObject;
    m_pSkinObject = pObject;
    CSkin &skin = CSkinRegistry::Instance().GetSkin();
    const CSkinInfoObject *pInfo = dynamic_cast<const CSkinInfoObject *>(skin.FindObjectByKind(SKIN_KIND_INFO));
    m_crTransparent = pInfo ? pInfo->GetRegionColor() : 0xFF00FF;
    m_bRegion = pInfo && pInfo->m_dwRegions ? TRUE : FALSE;
    // The region was cut from the previous skin's images.
    m_pRegionRef = nullptr;
    if (!m_hWnd || !HasPrevious())
        return pPrevious;
    if (!pObject) {
        // Windows that the owner's walk of its children never reaches (the controls of an unskinned dialog attached
        // through the owner chain) would otherwise stay subclassed without an object.
        HWND hWnd = m_hWnd;
        if (CSkinWnd *pOwner = GetOwner())
            pOwner->ForgetChild(hWnd);
        CSkinRegistry::Instance().RemoveWindow(hWnd); // deletes this
        return pPrevious;
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    return pPrevious;
}

void CSkinControl::OnFinalDestroy() {
    m_bFinal = true;
    if (CSkinWnd *pOwner = GetOwner())
        pOwner->ForgetChild(m_hWnd);
    CSkinWnd::OnFinalDestroy();
}

void CSkinControl::Detach() {
    HWND hWnd = m_hWnd;
    const bool bAttached = HasPrevious();
    if (bAttached && !m_bFinal && hWnd) {
        if (m_bRegionSet)
            ::SetWindowRgn(hWnd, nullptr, FALSE);
        if (m_dwAddedExStyle) {
            const LONG_PTR exStyle = ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
            ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(m_dwAddedExStyle));
        }
    }
    m_bRegionSet = false;
    m_dwAddedExStyle = 0;
    m_pRegionRef = nullptr;
    CSkinWnd::Detach();
    if (bAttached && !m_bFinal && hWnd && ::IsWindow(hWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

BOOL CSkinControl::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    return SubclassWindow(hWnd);
}

LRESULT CSkinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_pSkinObject)
        return Default(message, wParam, lParam);
    switch (message) {
    case WM_PAINT: return OnPaint();
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: return OnSize(message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

LRESULT CSkinControl::OnSize(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = Default(message, wParam, lParam);
    // The painter lays out the whole client area anew (centred texts, stretched images), while the window system
    // would only repaint what the new size uncovers.
    if (Survives(hWnd))
        ::InvalidateRect(hWnd, nullptr, FALSE);
    return result;
}

LRESULT CSkinControl::OnPaint() {
    PaintBuffered();
    return 0;
}

void CSkinControl::PaintBuffered() {
    CPaintDC dc(m_hWnd);
    if (dc.GetSafeHdc())
        DrawBuffered(dc);
}

void CSkinControl::DrawBuffered(HDC hTarget) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CMemoryDC memory(hTarget, rc);
    if (!memory.IsValid()) {
        Draw(hTarget);
        return;
    }
    Draw(memory);
    // Controls of classes that paint through their parent's clipping (CS_PARENTDC, buttons among them) would cover
    // the parts their window region leaves out: the copy is clipped to that region (as Draw has just set it) by hand.
    CRgn clip = ClientClipRegion(rc);
    CClipRegion scope(hTarget, clip.Get());
    ::BitBlt(hTarget, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memory, rc.left, rc.top, SRCCOPY);
    memory.Cancel();
}

CRgn CSkinControl::ClientClipRegion(const RECT &rcClient) const {
    CRgn region(::CreateRectRgnIndirect(&rcClient));
    if (!region.IsValid() || !m_bRegionSet || !m_rgnWindow.IsValid())
        return region;
    // The window region lies in window coordinates, the clip region in the client area's.
    RECT rcWindow;
    POINT origin = {0, 0};
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::ClientToScreen(m_hWnd, &origin);
    CRgn shape(::CreateRectRgn(0, 0, 0, 0));
    if (!shape.IsValid() || ::CombineRgn(shape, m_rgnWindow, nullptr, RGN_COPY) == ERROR)
        return region;
    ::OffsetRgn(shape, rcWindow.left - origin.x, rcWindow.top - origin.y);
    ::CombineRgn(region, region, shape, RGN_AND);
    return region;
}

CSkinObject *CSkinControl::GetKindSkinObject() {
    return nullptr;
}

void CSkinControl::RedrawNow() {}

CSkinWnd *CSkinControl::GetOwner() const {
    // The owner may have gone with its window, or been replaced under the same handle.
    if (!m_pOwner || CSkinRegistry::Instance().FindWindow(m_hOwner) != m_pOwner)
        return nullptr;
    return m_pOwner;
}

bool CSkinControl::Survives(HWND hWnd) const {
    return hWnd && ::IsWindow(hWnd) && CSkinRegistry::Instance().FindWindow(hWnd) == this;
}

CSkinObject *CSkinControl::FindKindObject(DWORD kind) {
    return CSkinRegistry::Instance().GetSkin().FindObjectByKind(kind);
}

void CSkinControl::InvalidateNow(BOOL bErase) {
    if (!IsAlive())
        return;
    ::InvalidateRect(m_hWnd, nullptr, bErase);
    ::UpdateWindow(m_hWnd);
}

void CSkinControl::RefreshParentArea() {
    HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (!hParent)
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT *>(&rc), 2);
    ::InvalidateRect(hParent, &rc, TRUE);
    ::UpdateWindow(hParent);
}

void CSkinControl::SetNineGridRegion(const SkinImageRef &ref, const RECT &rc) {
    const LONG cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (m_pRegionRef == &ref && m_nRegionWidth == cx && m_nRegionHeight == cy)
        return;
    m_pRegionRef = &ref;
    m_nRegionWidth = cx;
    m_nRegionHeight = cy;
    CRgn region = NineGridRegion(m_hWnd, ref, rc, m_crTransparent);
    if (!region.IsValid())
        return;
    // The same region again would only cost the window system a reshape.
    if (m_bRegionSet && m_rgnWindow.IsValid() && ::EqualRgn(region, m_rgnWindow))
        return;
    CRgn copy(::CreateRectRgn(0, 0, 0, 0));
    if (!copy.IsValid() || ::CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR)
        return;
    // The window system owns the region it is given.
    if (::SetWindowRgn(m_hWnd, region.Get(), FALSE)) {
        region.Detach();
        m_rgnWindow = std::move(copy);
        m_bRegionSet = true;
    }
}

void CSkinControl::AddExStyle(DWORD dwBits) {
    const LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    const DWORD dwMissing = dwBits & ~static_cast<DWORD>(exStyle);
    if (!dwMissing)
        return;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle | static_cast<LONG_PTR>(dwMissing));
    m_dwAddedExStyle |= dwMissing;
}

LRESULT CSkinControl::OnPaintDirect() {
    CPaintDC dc(m_hWnd);
    if (dc.GetSafeHdc())
        Draw(dc);
    return 0;
}

LRESULT CSkinControl::PassOnAndRefresh(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    const LRESULT result = CSkinControl::HandleMessage(message, wParam, lParam);
    if (Survives(hWnd)) {
        RefreshParentArea();
        InvalidateNow(TRUE);
    }
    return result;
}
