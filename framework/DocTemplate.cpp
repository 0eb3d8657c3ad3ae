#include "framework/DocTemplate.h"

#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/View.h"
#include "framework/WinApp.h"

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, DocFactory newDoc, FrameFactory newFrame, ViewFactory newView)
    : m_nIDResource(nIDResource), m_newDoc(std::move(newDoc)), m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView)) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open at this point have no windows left; they go with their template.
    std::vector<CDocument *> docs = m_docs;
    for (CDocument *d : docs) {
        d->m_pDocTemplate = nullptr;
        delete d;
    }
}

void CMultiDocTemplate::LoadTemplate() {
    if (m_strDocStrings.empty())
        AfxLoadString(m_nIDResource, m_strDocStrings);
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    if (!m_menu.IsValid()) {
        m_menu.Attach(::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDResource)));
        m_hMenuShared = m_menu.Get();
    }
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDResource));
}

bool CMultiDocTemplate::GetDocStringField(const std::string &docString, int index, std::string &text) {
    text.clear();
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t nl = docString.find('\n', start);
        if (nl == std::string::npos)
            return false;
        start = nl + 1;
    }
    size_t end = docString.find('\n', start);
    text = docString.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

bool CMultiDocTemplate::GetDocString(std::string &text, DocStringIndex index) const {
    return GetDocStringField(m_strDocStrings, static_cast<int>(index), text);
}

void CMultiDocTemplate::AddDocument(CDocument *pDoc) {
    m_docs.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CMultiDocTemplate::RemoveDocument(CDocument *pDoc) {
    for (auto it = m_docs.begin(); it != m_docs.end(); ++it) {
        if (*it == pDoc) {
            m_docs.erase(it);
            break;
        }
    }
}

void CMultiDocTemplate::SetDefaultTitle(CDocument *pDocument) {
    std::string name;
    if (!GetDocString(name, docName) || name.empty())
        name = "无标题";
    pDocument->SetTitle(name + std::to_string(m_nUntitledCount + 1));
}

CDocument *CMultiDocTemplate::FindOpenDocument(const std::string &path) const {
    char buf[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(path.c_str(), sizeof(buf), buf, nullptr);
    std::string full = (n > 0 && n < sizeof(buf)) ? std::string(buf, n) : path;
    for (CDocument *d : m_docs) {
        if (!d->GetPathName().empty() && ::lstrcmpiA(d->GetPathName().c_str(), full.c_str()) == 0)
            return d;
    }
    return nullptr;
}

CFrameWnd *CMultiDocTemplate::CreateNewFrame(CDocument *pDoc) {
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = this;
    context.m_newView = m_newView;
    CFrameWnd *pFrame = m_newFrame ? m_newFrame() : nullptr;
    if (!pFrame)
        return nullptr;
    CWnd *pMain = AfxGetMainWnd();
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, pMain, &context)) {
        delete pFrame;
        return nullptr;
    }
    return pFrame;
}

CDocument *CMultiDocTemplate::OpenDocumentFile(const char *lpszPathName, BOOL bMakeVisible) {
    CDocument *pDoc = m_newDoc ? m_newDoc() : nullptr;
    if (!pDoc) {
        AfxMessageBox("创建空文档失败。", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    AddDocument(pDoc);
    // Until the window stands, the document must not delete itself when a failing frame drops its view.
    pDoc->m_bAutoDelete = FALSE;
    CFrameWnd *pFrame = CreateNewFrame(pDoc);
    if (!pFrame) {
        delete pDoc;
        AfxMessageBox("创建空文档失败。", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    BOOL ok;
    if (!lpszPathName) {
        SetDefaultTitle(pDoc);
        ok = pDoc->OnNewDocument();
        if (ok)
            ++m_nUntitledCount;
    } else {
        HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        ok = pDoc->OnOpenDocument(lpszPathName);
        ::SetCursor(old);
        if (ok)
            pDoc->SetPathName(lpszPathName);
    }
    if (!ok) {
        pFrame->DestroyWindow();
        delete pDoc;
        return nullptr;
    }
    pDoc->m_bAutoDelete = TRUE;
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}

BOOL CMultiDocTemplate::SaveAllModified() {
    std::vector<CDocument *> docs = m_docs;
    for (CDocument *d : docs) {
        if (!d->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CMultiDocTemplate::CloseAllDocuments(BOOL) {
    std::vector<CDocument *> docs = m_docs;
    for (CDocument *d : docs)
        d->OnCloseDocument();
}
