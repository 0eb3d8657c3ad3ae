#include "framework/Document.h"

#include <cstdio>
#include "framework/Archive.h"
#include "framework/DocTemplate.h"
#include "framework/File.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkIds.h"
#include "framework/MessageBox.h"
#include "framework/View.h"
#include "framework/WinApp.h"

namespace {
std::string Quoted(const std::string &path) {
    return "“" + path + "”";
}

std::string CodeText(DWORD error) {
    char buf[32];
    std::snprintf(buf, sizeof(buf), "（错误码 %lu）", static_cast<unsigned long>(error));
    return buf;
}

bool IsMissingFolder(DWORD error) {
    return error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY || error == ERROR_BAD_PATHNAME ||
           error == ERROR_INVALID_DRIVE || error == ERROR_BAD_NETPATH;
}

bool IsAccessProblem(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_WRITE_PROTECT;
}

std::string FolderOf(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}
} // namespace

CDocument::CDocument() {
    MapCommand(ID_FILE_CLOSE, &CDocument::OnFileClose);
    MapCommand(ID_FILE_SAVE, &CDocument::OnFileSave);
    MapCommand(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs);
}

CDocument::~CDocument() {
    for (CView *v : m_views)
        v->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const std::string &title) {
    m_strTitle = title;
    for (CView *v : m_views) {
        if (CFrameWnd *f = v->GetParentFrame()) {
            f->OnUpdateFrameTitle(TRUE);
            CFrameWnd *top = f->GetTopLevelFrame();
            if (top && top != f)
                top->OnUpdateFrameTitle(TRUE);
        }
    }
}

void CDocument::SetPathName(const std::string &path, BOOL bAddToMRU) {
    char buf[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(path.c_str(), sizeof(buf), buf, nullptr);
    m_strPathName = (n > 0 && n < sizeof(buf)) ? std::string(buf, n) : path;
    size_t slash = m_strPathName.find_last_of("\\/");
    SetTitle(slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1));
    if (bAddToMRU && AfxGetApp())
        AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView *pView) {
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView *pView) {
    for (auto it = m_views.begin(); it != m_views.end(); ++it) {
        if (*it == pView) {
            m_views.erase(it);
            break;
        }
    }
    pView->m_pDocument = nullptr;
    if (m_views.empty() && m_bAutoDelete && !m_bClosing)
        OnCloseDocument();
}

void CDocument::UpdateAllViews(CView *pSender, LPARAM lHint) {
    for (CView *v : m_views) {
        if (v != pSender)
            v->OnUpdate(pSender, lHint);
    }
}

void CDocument::ActivateFirstFrame() {
    if (m_views.empty())
        return;
    if (CFrameWnd *f = m_views.front()->GetParentFrame())
        f->ActivateFrame(SW_SHOW);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const std::string &path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        AfxMessageBox(FormatOpenError(path, file.GetError()), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = this;
    Serialize(ar);
    if (ar.IsFailed()) {
        DWORD err = ar.GetStatus() == CArchive::statusIoError ? ar.GetError() : ERROR_INVALID_DATA;
        DeleteContents();
        AfxMessageBox(FormatOpenError(path, err), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const std::string &path) {
    // The target must be writable before anything is written: a read-only file or a folder is refused here
    // even where the file system would let a rename replace it.
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        AfxMessageBox(FormatSaveError(path, ERROR_ACCESS_DENIED), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        CFile probe;
        if (!probe.Open(path, CFile::modeWrite)) {
            AfxMessageBox(FormatSaveError(path, probe.GetError()), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    char temp[MAX_PATH] = {};
    if (!::GetTempFileNameA(FolderOf(path).c_str(), "qx", 0, temp)) {
        DWORD err = ::GetLastError();
        AfxMessageBox(FormatSaveError(path, err == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : err),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DWORD err = 0;
    {
        CFile file;
        if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite)) {
            err = file.GetError();
        } else {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = this;
            Serialize(ar);
            if (!ar.Close())
                err = ar.GetError() ? ar.GetError() : ERROR_WRITE_FAULT;
        }
    }
    if (err == 0 && !::MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        err = ::GetLastError();
    if (err != 0) {
        ::DeleteFileA(temp);
        AfxMessageBox(FormatSaveError(path, err), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    if (m_bClosing)
        return;
    m_bClosing = true;
    std::vector<CView *> views = m_views;
    for (CView *v : views) {
        CFrameWnd *f = v->GetParentFrame();
        if (f && f->m_hWnd && !f->IsDestroying())
            f->DestroyWindow();
    }
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
    else
        m_bClosing = false;
}

void CDocument::DeleteContents() {}

void CDocument::Serialize(CArchive &) {}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    std::string name = m_strPathName.empty() ? m_strTitle : m_strPathName;
    switch (AfxMessageBox("是否将更改保存到 " + name + "？", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoSave(const std::string &path, BOOL bReplace) {
    std::string target = path;
    if (target.empty()) {
        target = m_strPathName.empty() ? m_strTitle : m_strPathName;
        // An untitled document suggests its title with the template's extension.
        if (m_strPathName.empty() && m_pDocTemplate) {
            std::string ext;
            if (m_pDocTemplate->GetDocString(ext, CMultiDocTemplate::filterExt) && !ext.empty())
                target += ext;
        }
        if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(target, FALSE, m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(target))
        return FALSE;
    if (bReplace)
        SetPathName(target);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    DWORD attributes = m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName.c_str());
    if (m_strPathName.empty() || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)))
        return DoSave(std::string());
    return DoSave(m_strPathName);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(std::string());
}

std::string CDocument::FormatOpenError(const std::string &path, DWORD error) {
    std::string text = "打开文档失败。\n";
    if (error == ERROR_FILE_NOT_FOUND)
        return text + "找不到文件" + Quoted(path) + "。";
    if (IsMissingFolder(error))
        return text + "文件夹不存在：" + Quoted(path) + "。";
    if (IsAccessProblem(error))
        return text + "无法读取文件" + Quoted(path) + "：拒绝访问，或文件正被其他程序使用。";
    if (error == ERROR_INVALID_NAME)
        return text + "文件名无效：" + Quoted(path) + "。";
    if (error == ERROR_INVALID_DATA || error == ERROR_HANDLE_EOF)
        return text + "文件" + Quoted(path) + "不完整或格式不正确。";
    return text + "无法打开文件" + Quoted(path) + CodeText(error) + "。";
}

std::string CDocument::FormatSaveError(const std::string &path, DWORD error) {
    std::string text = "保存文档失败。\n";
    if (IsMissingFolder(error))
        return text + "文件夹不存在：" + Quoted(path) + "。";
    if (IsAccessProblem(error))
        return text + "无法写入文件" + Quoted(path) + "：文件只读、拒绝访问，或正被其他程序使用。";
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        return text + "磁盘空间不足，无法写入" + Quoted(path) + "。";
    if (error == ERROR_INVALID_NAME)
        return text + "文件名无效：" + Quoted(path) + "。";
    return text + "无法写入文件" + Quoted(path) + CodeText(error) + "。";
}
