#include "framework/PrintPreviewWnd.h"

#include "framework/Document.h"
#include "platform/PaintDC.h"
#include "platform/SaveDC.h"
#include "framework/View.h"
#include "framework/WinApp.h"

CPrintPreviewWnd::CPrintPreviewWnd(CView *pView, CDC printerDC, const CPrintInfo &info)
    : m_pView(pView), m_printerDC(std::move(printerDC)), m_info(info) {}

bool CPrintPreviewWnd::Show(CView *pView, CDC printerDC, const CPrintInfo &info) {
    const char *cls = RegisterFrameworkClass("QXPrintPreview", CS_HREDRAW | CS_VREDRAW,
                                             reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    if (!cls || !pView || !printerDC.IsValid())
        return false;
    CPrintPreviewWnd *wnd = new CPrintPreviewWnd(pView, std::move(printerDC), info);
    CWnd *pMain = AfxGetMainWnd();
    wnd->m_hWndOwner = pMain ? pMain->m_hWnd : nullptr;
    std::string title = "打印预览";
    if (CDocument *doc = pView->GetDocument())
        title = doc->GetTitle() + " - " + title;
    RECT rc = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    if (wnd->m_hWndOwner)
        ::GetWindowRect(wnd->m_hWndOwner, &rc);
    else
        rc = RECT{0, 0, 640, 480};
    if (!wnd->CreateEx(0, cls, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rc.left, rc.top,
                       rc.right - rc.left, rc.bottom - rc.top, wnd->m_hWndOwner, nullptr)) {
        delete wnd;
        return false;
    }
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    wnd->m_hWndPrint = ::CreateWindowExA(0, "BUTTON", "打印(&P)...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 4, 4, 90,
                                         24, wnd->m_hWnd, reinterpret_cast<HMENU>(IDC_PREVIEW_PRINT), hInst, nullptr);
    wnd->m_hWndClose = ::CreateWindowExA(0, "BUTTON", "关闭(&C)", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 100, 4, 90, 24,
                                         wnd->m_hWnd, reinterpret_cast<HMENU>(IDC_PREVIEW_CLOSE), hInst, nullptr);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageA(wnd->m_hWndPrint, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageA(wnd->m_hWndClose, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The preview shows a document's state; nothing may close or change it meanwhile.
    if (wnd->m_hWndOwner)
        ::EnableWindow(wnd->m_hWndOwner, FALSE);
    wnd->ShowWindow(SW_SHOW);
    return true;
}

RECT CPrintPreviewWnd::PageRect() const {
    RECT client;
    GetClientRect(&client);
    client.top += kToolHeight;
    int pageW = ::GetDeviceCaps(m_printerDC.Get(), HORZSIZE);
    int pageH = ::GetDeviceCaps(m_printerDC.Get(), VERTSIZE);
    if (pageW <= 0 || pageH <= 0) {
        pageW = 210;
        pageH = 297;
    }
    int availW = client.right - client.left - 40;
    int availH = client.bottom - client.top - 40;
    if (availW < 10 || availH < 10)
        return RECT{0, 0, 0, 0};
    int w = availW;
    int h = static_cast<int>(static_cast<long long>(w) * pageH / pageW);
    if (h > availH) {
        h = availH;
        w = static_cast<int>(static_cast<long long>(h) * pageW / pageH);
    }
    int x = client.left + (client.right - client.left - w) / 2;
    int y = client.top + (client.bottom - client.top - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void CPrintPreviewWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    HDC hdc = dc.GetSafeHdc();
    RECT page = PageRect();
    if (page.right <= page.left)
        return;
    RECT shadow = {page.left + 4, page.top + 4, page.right + 4, page.bottom + 4};
    ::FillRect(hdc, &shadow, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    ::FillRect(hdc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(hdc, &page, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    // The view draws in printer units, scaled onto the page.
    CSaveDC saved(hdc);
    ::IntersectClipRect(hdc, page.left, page.top, page.right, page.bottom);
    ::SetMapMode(hdc, MM_ANISOTROPIC);
    int resX = ::GetDeviceCaps(m_printerDC.Get(), HORZRES);
    int resY = ::GetDeviceCaps(m_printerDC.Get(), VERTRES);
    ::SetWindowExtEx(hdc, resX > 0 ? resX : 1, resY > 0 ? resY : 1, nullptr);
    ::SetViewportExtEx(hdc, page.right - page.left, page.bottom - page.top, nullptr);
    ::SetViewportOrgEx(hdc, page.left, page.top, nullptr);
    CPrintInfo info = m_info;
    info.m_nCurPage = info.m_nFromPage;
    info.m_rectDraw = RECT{0, 0, resX, resY};
    m_pView->OnPrint(hdc, &info);
}

void CPrintPreviewWnd::OnSize(UINT, int, int) {
    Invalidate();
}

void CPrintPreviewWnd::OnDestroy() {
    if (m_hWndOwner) {
        ::EnableWindow(m_hWndOwner, TRUE);
        ::SetActiveWindow(m_hWndOwner);
    }
    CWnd::OnDestroy();
}

void CPrintPreviewWnd::PostNcDestroy() {
    CView *view = m_bPrintAfterClose ? m_pView : nullptr;
    delete this;
    if (view && view->m_hWnd)
        view->OnFilePrint();
}

LRESULT CPrintPreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PREVIEW_PRINT)
            m_bPrintAfterClose = true;
        if (LOWORD(wParam) == IDC_PREVIEW_PRINT || LOWORD(wParam) == IDC_PREVIEW_CLOSE) {
            DestroyWindow();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow();
            return 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
