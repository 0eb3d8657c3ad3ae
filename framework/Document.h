// A document: its data, title, path and modified flag, with the standard open, save, save-as and close.
#pragma once

#include <windows.h>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"

class CArchive;
class CFrameWnd;
class CMultiDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const std::string &GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string &title);
    const std::string &GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file's name); the path also goes first in the recent-file list.
    virtual void SetPathName(const std::string &path, BOOL bAddToMRU = TRUE);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CMultiDocTemplate *GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView *pView);
    void RemoveView(CView *pView);
    const std::vector<CView *> &GetViews() const { return m_views; }
    void UpdateAllViews(CView *pSender, LPARAM lHint = 0);
    // Brings the first window of this document forward.
    void ActivateFirstFrame();

    virtual BOOL OnNewDocument();
    // The standard open: the file is opened for reading (others may read, not write) and loaded through
    // Serialize. File errors are reported to the user; FALSE then.
    virtual BOOL OnOpenDocument(const std::string &path);
    // The standard save: the document goes to a new file next to the target through Serialize, which then
    // replaces the target, so a failed save never destroys the previous file. Errors are reported; FALSE then.
    virtual BOOL OnSaveDocument(const std::string &path);
    // Destroys the document's windows and the document itself.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void Serialize(CArchive &ar);

    // Asks to save a modified document; FALSE when the user cancels or the save fails.
    virtual BOOL SaveModified();
    // Saves to path, or asks for a path first when path is empty or bReplace is set without a path.
    virtual BOOL DoSave(const std::string &path, BOOL bReplace = TRUE);
    BOOL DoFileSave();

    // Standard commands (mapped by the document itself).
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    // The messages the standard open and save give for a system error code (a blank first line is never
    // produced: each starts with "打开文档失败。" or "保存文档失败。").
    static std::string FormatOpenError(const std::string &path, DWORD error);
    static std::string FormatSaveError(const std::string &path, DWORD error);

    CMultiDocTemplate *m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE; // deleted when its last view goes

private:
    std::string m_strTitle;
    std::string m_strPathName;
    BOOL m_bModified = FALSE;
    bool m_bClosing = false;
    std::vector<CView *> m_views;
};
