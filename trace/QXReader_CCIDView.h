// The trace list view: numbers each console line, shows it as a row and hands it to the document as a record.
#pragma once

#include <windows.h>
#include <string>
#include "framework/ListView.h"
#include "trace/TraceMessages.h"

class CCmdUI;
class CQXReader_CCIDDoc;

class CQXReader_CCIDView : public CListView {
public:
    CQXReader_CCIDView();

    CQXReader_CCIDDoc *GetDocument() const;

    // A new numbered line at the bottom, also recorded in the document; 0, or -1 when the list refused the text.
    int AppendLine(const std::string &strText);
    // A row at nIndex numbered nIndex (the reload's way); the document is not called. 0 or -1.
    int InsertLine(const std::string &strText, int nIndex);
    // Rebuilds the rows from the document's records; 0, or the first failing result.
    int ReloadFromDocument();
    // Sets the list's extended style from the base style and the two switches.
    void ApplyListStyle();

    LRESULT OnTraceAddLine(WPARAM wParam, LPARAM lParam);
    LRESULT OnTraceClear(WPARAM wParam, LPARAM lParam);

    void OnViewHighlight();
    void OnViewGrid();
    void OnUpdateViewStyle(CCmdUI *pCmdUI);

    void OnInitialUpdate() override;
    // Nothing in the view depends on document update notifications.
    void OnUpdate(CView *pSender, LPARAM lHint) override;
    // The list paints itself; printed pages stay blank.
    void OnDraw(HDC hDC) override;
    BOOL OnPreparePrinting(CPrintInfo *pInfo) override;

    static const int kNumberColumnWidth = 96;

    int m_nRecordCount = 0;
    BOOL m_bHighlight = TRUE;
    BOOL m_bGrid = TRUE;
    DWORD m_dwBaseExStyle = 0;

protected:
    // Lines arrive in bursts (a script run sends thousands without returning to the message loop) and the list
    // control repaints synchronously on every insert, which costs milliseconds per row. Repainting is switched off
    // at the first row of a burst and back on by a posted message, that is, when the loop is idle again.
    void DeferRedraw();
    void ResumeRedraw();
    bool m_bRedrawDeferred = false;

    BOOL PreCreateWindow(CREATESTRUCTA &cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
