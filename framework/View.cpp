#include "framework/View.h"

#include <commdlg.h>
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "platform/PaintDC.h"
#include "framework/PrintInfo.h"
#include "framework/PrintPreviewWnd.h"
#include "platform/Handle.h"
#include "framework/WinApp.h"

namespace {
const char kNoPrinter[] = "没有安装打印机。\n请先在系统中安装打印机，再打印。";

bool IsNoPrinterError(DWORD err) {
    return err == PDERR_NODEFAULTPRN || err == PDERR_NODEVICES || err == PDERR_PRINTERNOTFOUND;
}

// A device context for the printer that the application's printer settings name.
HDC CreatePrinterDC(HGLOBAL hDevNames, HGLOBAL hDevMode) {
    if (!hDevNames)
        return nullptr;
    const DEVNAMES *names = static_cast<const DEVNAMES *>(::GlobalLock(hDevNames));
    if (!names)
        return nullptr;
    const char *base = reinterpret_cast<const char *>(names);
    const DEVMODEA *mode = hDevMode ? static_cast<const DEVMODEA *>(::GlobalLock(hDevMode)) : nullptr;
    HDC dc = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode)
        ::GlobalUnlock(hDevMode);
    ::GlobalUnlock(hDevNames);
    return dc;
}
} // namespace

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA &cs) {
    if (!cs.lpszClass)
        cs.lpszClass = RegisterFrameworkClass("QXView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return cs.lpszClass != nullptr;
}

BOOL CView::Create(DWORD dwStyle, const RECT &rect, CWnd *pParent, UINT nID, CDocument *pDoc) {
    if (!CreateEx(WS_EX_CLIENTEDGE, nullptr, "", dwStyle, rect, pParent ? pParent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    if (pDoc)
        pDoc->AddView(this);
    return TRUE;
}

void CView::PostNcDestroy() {
    delete this;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0);
}

void CView::OnUpdate(CView *, LPARAM) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CView::OnDraw(HDC) {}

void CView::OnActivateView(BOOL bActivate, CView *, CView *) {
    if (bActivate && m_hWnd)
        ::SetFocus(m_hWnd);
}

void CView::OnPaint() {
    CPaintDC dc(m_hWnd);
    OnDraw(dc.GetSafeHdc());
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe) {
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI, bProbe);
}

BOOL CView::OnPreparePrinting(CPrintInfo *pInfo) {
    return DoPreparePrinting(pInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo *pInfo) {
    CWinApp *app = AfxGetApp();
    if (!app)
        return FALSE;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    // Without any printer the print dialog has nothing to offer (and some systems hang on it): say so instead.
    if (!app->GetPrinterDeviceDefaults(pd)) {
        AfxMessageBox(kNoPrinter, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (pInfo->m_bDirect || pInfo->m_bPreview) {
        m_hPrinterDC = CreatePrinterDC(app->GetDevNames(), app->GetDevMode());
        if (!m_hPrinterDC) {
            AfxMessageBox(FormatPrintError("无法连接打印机", ::GetLastError()), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        return TRUE;
    }
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nMinPage = 1;
    pd.nMaxPage = static_cast<WORD>(pInfo->m_nMaxPage);
    pd.nFromPage = 1;
    pd.nToPage = static_cast<WORD>(pInfo->m_nMaxPage);
    if (!::PrintDlgA(&pd)) {
        DWORD err = ::CommDlgExtendedError();
        if (IsNoPrinterError(err))
            AfxMessageBox(kNoPrinter, MB_OK | MB_ICONEXCLAMATION);
        else if (err != 0)
            AfxMessageBox(FormatPrintError("打印失败", err), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    app->UpdatePrinterSelection(pd);
    m_hPrinterDC = pd.hDC;
    if (pd.Flags & PD_PAGENUMS) {
        pInfo->m_nFromPage = pd.nFromPage;
        pInfo->m_nToPage = pd.nToPage;
    }
    return m_hPrinterDC != nullptr;
}

void CView::OnBeginPrinting(HDC, CPrintInfo *) {}

void CView::OnPrint(HDC hDC, CPrintInfo *) {
    OnDraw(hDC);
}

void CView::OnEndPrinting(HDC, CPrintInfo *) {}

CDC CView::PreparePrinterDC(CPrintInfo &info) {
    // The print dialog leaves the printer's DC in m_hPrinterDC; from here on it is owned by the handle.
    m_hPrinterDC = nullptr;
    const BOOL prepared = OnPreparePrinting(&info);
    CDC dc(m_hPrinterDC);
    m_hPrinterDC = nullptr;
    if (!prepared)
        dc.Close();
    return dc;
}

void CView::PrintJob(BOOL bDirect) {
    CPrintInfo info;
    info.m_bDirect = bDirect;
    CDC dc = PreparePrinterDC(info);
    if (!dc.IsValid())
        return;
    std::string title = m_pDocument ? m_pDocument->GetTitle() : std::string();
    DOCINFOA di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = title.c_str();
    if (::StartDocA(dc.Get(), &di) <= 0) {
        AfxMessageBox(FormatPrintError("打印失败", ::GetLastError()), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    info.m_hDC = dc.Get();
    OnBeginPrinting(dc.Get(), &info);
    bool ok = true;
    for (info.m_nCurPage = info.m_nFromPage; ok && info.m_nCurPage <= info.m_nToPage; ++info.m_nCurPage) {
        if (::StartPage(dc.Get()) <= 0) {
            ok = false;
            break;
        }
        info.m_rectDraw = RECT{0, 0, ::GetDeviceCaps(dc.Get(), HORZRES), ::GetDeviceCaps(dc.Get(), VERTRES)};
        OnPrint(dc.Get(), &info);
        ok = ::EndPage(dc.Get()) > 0;
    }
    OnEndPrinting(dc.Get(), &info);
    if (ok) {
        ::EndDoc(dc.Get());
    } else {
        ::AbortDoc(dc.Get());
        AfxMessageBox(FormatPrintError("打印失败", ::GetLastError()), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CView::OnFilePrint() {
    PrintJob(FALSE);
}

void CView::OnFilePrintDirect() {
    PrintJob(TRUE);
}

void CView::OnFilePrintPreview() {
    CPrintInfo info;
    info.m_bPreview = TRUE;
    CDC dc = PreparePrinterDC(info);
    if (!dc.IsValid())
        return;
    CPrintPreviewWnd::Show(this, std::move(dc), info);
}
