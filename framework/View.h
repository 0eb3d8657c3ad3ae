// A view: the window inside a frame that shows one document, and the route of commands to that document.
#pragma once

#include <windows.h>
#include "platform/Handle.h"
#include "framework/Wnd.h"

class CDocument;
class CPrintInfo;

class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    CDocument *GetDocument() const { return m_pDocument; }
    // Creates the view's window as a child of the frame and adds the view to the document.
    virtual BOOL Create(DWORD dwStyle, const RECT &rect, CWnd *pParent, UINT nID, CDocument *pDoc);

    // Called once, after a new or opened document is ready and before the window is first shown.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView *pSender, LPARAM lHint);
    virtual void OnDraw(HDC hDC);
    virtual void OnActivateView(BOOL bActivate, CView *pActivateView, CView *pDeactiveView);

    // Route: the view's own handlers, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe = FALSE) override;

    // Printing steps; the defaults print OnDraw on each page of m_nMaxPage.
    virtual BOOL OnPreparePrinting(CPrintInfo *pInfo);
    // Shows the print dialog (or takes the default printer for direct printing); FALSE when cancelled or when
    // no printer is installed (the user has been told).
    BOOL DoPreparePrinting(CPrintInfo *pInfo);
    virtual void OnBeginPrinting(HDC hDC, CPrintInfo *pInfo);
    virtual void OnPrint(HDC hDC, CPrintInfo *pInfo);
    virtual void OnEndPrinting(HDC hDC, CPrintInfo *pInfo);

    // Standard print commands; a view maps those it offers.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    CDocument *m_pDocument = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void PostNcDestroy() override;
    // Registers the framework's view class; views of other window classes (list views) override PreCreateWindow.
    BOOL PreCreateWindow(CREATESTRUCTA &cs) override;

private:
    void PrintJob(BOOL bDirect);
    // Runs OnPreparePrinting and takes the printer DC it chose; empty when printing was not prepared.
    CDC PreparePrinterDC(CPrintInfo &info);
    HDC m_hPrinterDC = nullptr;
};
