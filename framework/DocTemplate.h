// The multiple-document template: makes a document, its child frame and its view from one resource id.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"
#include "platform/Handle.h"

class CDocument;
class CFrameWnd;
class CView;

class CMultiDocTemplate : public CCmdTarget {
public:
    typedef std::function<CDocument *()> DocFactory;
    typedef std::function<CFrameWnd *()> FrameFactory; // must make a CMDIChildWnd
    typedef std::function<CView *()> ViewFactory;

    // nIDResource names the document string (seven fields separated by "\n"), the menu shown while one of these
    // windows is active, its accelerators and its icon.
    CMultiDocTemplate(UINT nIDResource, DocFactory newDoc, FrameFactory newFrame, ViewFactory newView);
    template <class TDoc, class TFrame, class TView> static CMultiDocTemplate *Make(UINT nIDResource) {
        return new CMultiDocTemplate(
            nIDResource, [] { return new TDoc; }, [] { return new TFrame; }, [] { return new TView; });
    }
    ~CMultiDocTemplate() override;

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    // One field of the document string; false (and empty) when the string has no such field.
    bool GetDocString(std::string &text, DocStringIndex index) const;
    // Parses a document string; field k is text between the k-th and (k+1)-th "\n".
    static bool GetDocStringField(const std::string &docString, int index, std::string &text);

    // Loads the document string, the shared menu and the accelerators; called when the app adds the template.
    void LoadTemplate();

    // A new untitled document (path null) or the document of a file, each in a new window; null on failure.
    virtual CDocument *OpenDocumentFile(const char *lpszPathName, BOOL bMakeVisible = TRUE);
    void SetDefaultTitle(CDocument *pDocument);
    CDocument *FindOpenDocument(const std::string &path) const;

    void AddDocument(CDocument *pDoc);
    void RemoveDocument(CDocument *pDoc);
    const std::vector<CDocument *> &GetDocuments() const { return m_docs; }
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);

    UINT m_nIDResource;
    HMENU m_hMenuShared = nullptr; // owned through m_menu
    HACCEL m_hAccelTable = nullptr;
    UINT m_nUntitledCount = 0;

private:
    CFrameWnd *CreateNewFrame(CDocument *pDoc);

    DocFactory m_newDoc;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    std::string m_strDocStrings;
    CMenu m_menu;
    std::vector<CDocument *> m_docs;
};
