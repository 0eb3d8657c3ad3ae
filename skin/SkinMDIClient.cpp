#include "skin/SkinMDIClient.h"

#include "skin/SkinFrameWnd.h"
#include "skin/SkinRegistry.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"

CSkinMDIClient::CSkinMDIClient(CSkinFrameWnd *pFrame) : m_hFrame(pFrame ? pFrame->GetHwnd() : nullptr) {}

CSkinMDIClient::~CSkinMDIClient() = default;

CSkinFrameWnd *CSkinMDIClient::GetFrame() const {
    return m_hFrame ? dynamic_cast<CSkinFrameWnd *>(CSkinRegistry::Instance().FindWindow(m_hFrame)) : nullptr;
}

BOOL CSkinMDIClient::Attach(HWND hWnd) {
    if (!CSkinWnd::Attach(hWnd))
        return FALSE;
    // Document windows that were open before the frame was skinned take its skin now.
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        AttachDocumentWindow(hChild);
    return TRUE;
}

HWND CSkinMDIClient::GetActiveChild(BOOL *pbMaximized) const {
    BOOL maximized = FALSE;
    HWND hActive = m_hWnd ? reinterpret_cast<HWND>(
                                ::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)))
                          : nullptr;
    if (pbMaximized)
        *pbMaximized = hActive ? maximized : FALSE;
    return hActive;
}

void CSkinMDIClient::AttachDocumentWindow(HWND hChild) {
    CSkinFrameWnd *pFrame = GetFrame();
    if (!pFrame || !hChild || !(::GetWindowLongPtrA(hChild, GWL_EXSTYLE) & WS_EX_MDICHILD))
        return;
    CSkinRegistry &registry = CSkinRegistry::Instance();
    CSkinLock::Guard guard(registry.GetLock());
    if (registry.FindWindow(hChild) || !pFrame->GetSkinObject())
        return;
    std::unique_ptr<CSkinWnd> pChild(new CSkinFrameWnd);
    CSkinWnd *pWnd = pChild.get();
    if (!registry.AddWindow(std::move(pChild), hChild))
        return;
    pWnd->SetSkinObject(pFrame->GetSkinObject());
    if (!pWnd->Attach(hChild))
        registry.RemoveWindow(hChild);
}

LRESULT CSkinMDIClient::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!HasPrevious())
        return CSkinWnd::HandleMessage(message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: return OnEraseBkgnd(wParam, lParam);
    case WM_MDICREATE: return OnMDICreate(wParam, lParam);
    }
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinMDIClient::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
    CSkinFrameWnd *pFrame = GetFrame();
    const SkinFramedRecord *pFramed = pFrame ? pFrame->GetFramed() : nullptr;
    if (!pFramed)
        return CSkinWnd::HandleMessage(WM_ERASEBKGND, wParam, lParam);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    DrawPiece(reinterpret_cast<HDC>(wParam), rc, pFramed->pieces[CNineGrid::CENTRE], pFramed->crBackground, TRUE);
    return 1;
}

LRESULT CSkinMDIClient::OnMDICreate(WPARAM wParam, LPARAM lParam) {
    // A new window comes up restored: a maximised active one is restored first.
    BOOL maximized = FALSE;
    if (HWND hActive = GetActiveChild(&maximized))
        if (maximized)
            ::SendMessageA(hActive, WM_SYSCOMMAND, SC_RESTORE, 0);
    const HWND hClient = m_hWnd;
    const LRESULT result = CSkinWnd::HandleMessage(WM_MDICREATE, wParam, lParam);
    HWND hChild = reinterpret_cast<HWND>(result);
    if (hChild && ::IsWindow(hClient) && CSkinRegistry::Instance().FindWindow(hClient) == this)
        AttachDocumentWindow(hChild);
    return result;
}
