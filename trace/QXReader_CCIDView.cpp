#include "trace/QXReader_CCIDView.h"

#include <commctrl.h>
#include <cstdio>
#include <vector>
#include "framework/CmdUI.h"
#include "framework/FrameworkIds.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/TraceRecord.h"
#include "trace/TraceViewIds.h"

namespace {
const DWORD kGridLines = LVS_EX_GRIDLINES;           // 0x01
const DWORD kHeaderDragDrop = LVS_EX_HEADERDRAGDROP; // 0x10
const DWORD kFullRowSelect = LVS_EX_FULLROWSELECT;   // 0x20
// Posted to the view itself; handled once the sender of a burst of lines is back in the message loop.
const UINT WM_TRACE_RESUMEREDRAW = WM_USER + 0x100;

std::string FormatRowNumber(int n) {
    char buf[16];
    std::snprintf(buf, sizeof(buf), "%04d", n);
    return buf;
}
} // namespace

CQXReader_CCIDView::CQXReader_CCIDView() {
    MapCommand(ID_VIEW_HIGHLIGHT, &CQXReader_CCIDView::OnViewHighlight);
    MapCommand(ID_VIEW_GRID, &CQXReader_CCIDView::OnViewGrid);
    MapUpdateUI(ID_VIEW_HIGHLIGHT, &CQXReader_CCIDView::OnUpdateViewStyle);
    MapUpdateUI(ID_VIEW_GRID, &CQXReader_CCIDView::OnUpdateViewStyle);
    MapCommand(ID_FILE_PRINT, &CView::OnFilePrint);
    MapCommand(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect);
    MapCommand(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview);
}

CQXReader_CCIDDoc *CQXReader_CCIDView::GetDocument() const {
    return dynamic_cast<CQXReader_CCIDDoc *>(m_pDocument);
}

BOOL CQXReader_CCIDView::PreCreateWindow(CREATESTRUCTA &cs) {
    // Report mode; no sorting (rows stay where they are put) and no label editing.
    cs.style = (cs.style & ~(LVS_TYPEMASK | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_EDITLABELS)) | LVS_REPORT;
    return CListView::PreCreateWindow(cs);
}

LRESULT CQXReader_CCIDView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TRACE_ADDLINE:
        return OnTraceAddLine(wParam, lParam);
    case WM_TRACE_CLEAR:
        return OnTraceClear(wParam, lParam);
    case WM_TRACE_RESUMEREDRAW:
        ResumeRedraw();
        return 0;
    }
    return CListView::WindowProc(message, wParam, lParam);
}

LRESULT CQXReader_CCIDView::OnTraceAddLine(WPARAM wParam, LPARAM lParam) {
    const char *text = reinterpret_cast<const char *>(wParam);
    if (!text)
        return -1;
    // The sender's buffer lives only for this call.
    std::string line(text);
    if (static_cast<int>(lParam) == -1)
        return AppendLine(line);
    return InsertLine(line, static_cast<int>(lParam));
}

LRESULT CQXReader_CCIDView::OnTraceClear(WPARAM, LPARAM) {
    m_nRecordCount = 0;
    GetListCtrl().DeleteAllItems();
    return 0;
}

void CQXReader_CCIDView::DeferRedraw() {
    if (m_bRedrawDeferred || !m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    if (!PostMessage(WM_TRACE_RESUMEREDRAW))
        return; // no way to switch it back on later: keep painting row by row
    m_bRedrawDeferred = true;
    SendMessage(WM_SETREDRAW, FALSE);
}

void CQXReader_CCIDView::ResumeRedraw() {
    if (!m_bRedrawDeferred)
        return;
    m_bRedrawDeferred = false;
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CQXReader_CCIDView::AppendLine(const std::string &strText) {
    DeferRedraw();
    CListCtrl list = GetListCtrl();
    int n = m_nRecordCount;
    list.InsertItem(n, FormatRowNumber(n));
    if (!list.SetItemText(n, 1, strText))
        return -1;
    if (CQXReader_CCIDDoc *doc = GetDocument())
        doc->AppendRecord(n, strText);
    ++m_nRecordCount;
    return 0;
}

int CQXReader_CCIDView::InsertLine(const std::string &strText, int nIndex) {
    // A negative number (a hand-edited file) names no row; the list would take it for "every row".
    if (nIndex < 0)
        return -1;
    DeferRedraw();
    CListCtrl list = GetListCtrl();
    list.InsertItem(nIndex, FormatRowNumber(nIndex));
    // Row nIndex exists only when the insert landed there: a number beyond the last row leaves its row at the end
    // with an empty text, and the reload stops.
    if (!list.SetItemText(nIndex, 1, strText))
        return -1;
    ++m_nRecordCount;
    return 0;
}

int CQXReader_CCIDView::ReloadFromDocument() {
    CQXReader_CCIDDoc *doc = GetDocument();
    if (!doc)
        return 0;
    std::vector<std::string> records;
    doc->CopyRecords(records);
    for (const std::string &record : records) {
        TraceRow row;
        DWORD rc = ExtractTraceRow(record, row);
        if (rc != 0)
            return static_cast<int>(rc);
        int result = InsertLine(row.strText, row.nNumber);
        if (result != 0)
            return result;
    }
    return 0;
}

void CQXReader_CCIDView::ApplyListStyle() {
    DWORD style = m_dwBaseExStyle;
    if (m_bGrid)
        style |= kGridLines;
    if (m_bHighlight)
        style |= kFullRowSelect;
    GetListCtrl().SetExtendedStyle(style);
}

void CQXReader_CCIDView::OnInitialUpdate() {
    CListView::OnInitialUpdate();
    CListCtrl list = GetListCtrl();
    RECT rc = {};
    GetClientRect(&rc);
    int logWidth = (rc.right - rc.left) - kNumberColumnWidth;
    list.InsertColumn(0, "NO.", LVCFMT_CENTER, kNumberColumnWidth);
    list.InsertColumn(1, "log", LVCFMT_LEFT, logWidth > 0 ? logWidth : 0);
    ReloadFromDocument();
    m_dwBaseExStyle = list.GetExtendedStyle();
    list.SetExtendedStyle(m_dwBaseExStyle | kGridLines | kHeaderDragDrop | kFullRowSelect);
}

void CQXReader_CCIDView::OnUpdate(CView *, LPARAM) {}

void CQXReader_CCIDView::OnDraw(HDC) {}

BOOL CQXReader_CCIDView::OnPreparePrinting(CPrintInfo *pInfo) {
    return DoPreparePrinting(pInfo);
}

void CQXReader_CCIDView::OnViewHighlight() {
    m_bHighlight = !m_bHighlight;
    ApplyListStyle();
}

void CQXReader_CCIDView::OnViewGrid() {
    m_bGrid = !m_bGrid;
    ApplyListStyle();
}

void CQXReader_CCIDView::OnUpdateViewStyle(CCmdUI *pCmdUI) {
    pCmdUI->SetCheck(pCmdUI->m_nID == ID_VIEW_HIGHLIGHT ? (m_bHighlight ? 1 : 0) : (m_bGrid ? 1 : 0));
}
