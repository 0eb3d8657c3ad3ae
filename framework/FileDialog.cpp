#include "framework/FileDialog.h"

#include <cstring>
#include "framework/Wnd.h"
#include "framework/WinApp.h"

namespace {
const size_t kFileBufferSize = MAX_PATH * 4;
}

std::string CFileDialog::ConvertFilter(const std::string &filter) {
    std::string result = filter;
    for (char &c : result) {
        if (c == '|')
            c = '\0';
    }
    // Two terminating zeros whatever the caller wrote at the end.
    while (result.size() < 2 || result[result.size() - 1] != '\0' || result[result.size() - 2] != '\0')
        result += '\0';
    return result;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char *lpszDefExt, const char *lpszFileName, DWORD dwFlags,
                         const char *lpszFilter, CWnd *pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_fileBuffer(kFileBufferSize, '\0') {
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (pParentWnd)
        m_ofn.hwndOwner = pParentWnd->m_hWnd;
    else if (AfxGetMainWnd())
        m_ofn.hwndOwner = AfxGetMainWnd()->m_hWnd;
    if (lpszDefExt)
        m_strDefExt = lpszDefExt;
    if (lpszFilter && *lpszFilter)
        m_strFilter = ConvertFilter(lpszFilter);
    if (lpszFileName) {
        size_t n = std::strlen(lpszFileName);
        if (n >= kFileBufferSize)
            n = kFileBufferSize - 1;
        std::memcpy(m_fileBuffer.data(), lpszFileName, n);
    }
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = m_strFilter.empty() ? 0 : 1;
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.lpstrTitle = m_strTitle.empty() ? nullptr : m_strTitle.c_str();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const {
    return std::string(m_fileBuffer.data());
}

std::string CFileDialog::GetFileName() const {
    std::string path = GetPathName();
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CFileDialog::GetFileExt() const {
    std::string name = GetFileName();
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
