// The system's open and save file dialogs, with filters written as "name|pattern|...||".
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char *lpszDefExt = nullptr, const char *lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char *lpszFilter = nullptr,
                CWnd *pParentWnd = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise (also when the dialog failed).
    INT_PTR DoModal();
    std::string GetPathName() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;
    // "a|b||" to the system's form: each "|" becomes a zero; the result ends with two zeros.
    static std::string ConvertFilter(const std::string &filter);

    OPENFILENAMEA m_ofn;
    std::string m_strTitle;

private:
    BOOL m_bOpenFileDialog;
    std::string m_strFilter;
    std::string m_strDefExt;
    std::vector<char> m_fileBuffer;
};
