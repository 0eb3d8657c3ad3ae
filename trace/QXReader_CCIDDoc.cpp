#include "trace/QXReader_CCIDDoc.h"

#include <new>
#include "framework/Archive.h"
#include "framework/File.h"
#include "text/TextResult.h"
#include "trace/TraceFile.h"
#include "trace/TraceRecord.h"

int CQXReader_CCIDDoc::AppendRecord(int nNumber, const std::string &strText) {
    std::string record;
    if (FormatTraceRecord(nNumber, strText, record) != 0)
        return 0; // out of memory: the row is shown, the record is lost; nothing better can be done here
    try {
        m_arrRecords.push_back(std::move(record));
    } catch (const std::bad_alloc &) {
    }
    return 0;
}

int CQXReader_CCIDDoc::CopyRecords(std::vector<std::string> &arrDest) const {
    try {
        arrDest.insert(arrDest.end(), m_arrRecords.begin(), m_arrRecords.end());
    } catch (const std::bad_alloc &) {
    }
    return 0;
}

BOOL CQXReader_CCIDDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_arrRecords.clear();
    return TRUE;
}

BOOL CQXReader_CCIDDoc::OnOpenDocument(const std::string &path) {
    LoadTraceText(path);
    return CDocument::OnOpenDocument(path);
}

void CQXReader_CCIDDoc::Serialize(CArchive &ar) {
    if (!ar.IsStoring())
        return;
    for (const std::string &record : m_arrRecords) {
        if (!ar.WriteString(record))
            return; // the archive keeps the failure; the framework's save reports it
    }
}

DWORD CQXReader_CCIDDoc::LoadTraceText(const std::string &path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return file.GetError();
    DWORD length = 0;
    if (!file.GetLength(length))
        return file.GetError() ? file.GetError() : static_cast<DWORD>(ERROR_READ_FAULT);
    if (length > kMaxTraceFileBytes)
        return RC_NO_MEMORY;
    std::string text;
    try {
        text.resize(length);
    } catch (const std::bad_alloc &) {
        return RC_NO_MEMORY;
    }
    DWORD got = 0;
    while (got < length) {
        DWORD n = file.Read(&text[got], length - got);
        if (n == 0)
            break;
        got += n;
    }
    // A file that shrank while being read is scanned as far as it went.
    text.resize(got);
    return ParseTraceText(text);
}

DWORD CQXReader_CCIDDoc::ParseTraceText(const std::string &strText) {
    return ::ParseTraceText(strText, m_arrRecords);
}
