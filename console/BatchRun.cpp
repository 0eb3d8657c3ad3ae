#include "console/BatchRun.h"

#include <commctrl.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include "console/MainFrame.h"
#include "console/TraceLine.h"
#include "framework/File.h"
#include "framework/ListCtrl.h"
#include "framework/Wnd.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"
#include "trace/TraceCompare.h"
#include "trace/TraceFile.h"

namespace {
const char kLogName[] = "QXReader_CCID.log";
// How much of a differing line the summary quotes.
const size_t kQuotedBytes = 64;

// The frame knows that an unattended run is going on for as long as this lives.
class CBatchActive {
public:
    explicit CBatchActive(CMainFrame &frame) : m_frame(frame) {
        m_frame.m_bBatchActive = true;
        m_frame.m_bReaderWarningLogged = false;
    }
    ~CBatchActive() { m_frame.m_bBatchActive = false; }
    CBatchActive(const CBatchActive &) = delete;
    CBatchActive &operator=(const CBatchActive &) = delete;

private:
    CMainFrame &m_frame;
};

std::string Format(const char *format, unsigned long value) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), format, value);
    return buf;
}

std::string Quote(const std::string &text) {
    return "“" + ClipGbkText(text, kQuotedBytes) + "”";
}

std::string Describe(const TraceDifference &diff, int nFirstNumber) {
    const std::string where =
        "第一处不同：第" + std::to_string(static_cast<unsigned long long>(nFirstNumber) + diff.nIndex) + "条，";
    switch (diff.nKind) {
    case TraceDifference::kChanged:
        return where + "参考为" + Quote(diff.strExpected) + "，本次为" + Quote(diff.strActual);
    case TraceDifference::kMissing:
        return where + "本次缺少参考的" + Quote(diff.strExpected);
    case TraceDifference::kExtra:
        return where + "本次多出" + Quote(diff.strActual);
    case TraceDifference::kNone:
        break;
    }
    return "与参考一致";
}

CQXReader_CCIDDoc *ActiveTraceDocument(int &nRowCount) {
    CQXReader_CCIDView *view = dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(FindActiveTraceView()));
    nRowCount = view ? view->m_nRecordCount : 0;
    return view ? view->GetDocument() : nullptr;
}
} // namespace

const char CBatchRun::kSummaryMark[] = "批处理结束（退出码 ";

CBatchRun::CBatchRun(const CBatchCommandLineInfo &options) : m_options(options) {
    m_previousHandler =
        CMessageBox::SetHandler([this](const std::string &text, UINT type) { return OnMessageBox(text, type); });
}

CBatchRun::~CBatchRun() {
    CMessageBox::SetHandler(m_previousHandler);
}

int CBatchRun::OnMessageBox(const std::string &text, UINT type) {
    if (m_pFrame)
        m_pFrame->AddTrace(text.c_str());
    else
        m_arrPendingMessages.push_back(text);
    // The answer that changes nothing.
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    }
    return IDOK;
}

std::string CBatchRun::LogPathFor(const std::string &strSavePath) {
    const size_t slash = strSavePath.find_last_of("\\/");
    return slash == std::string::npos ? std::string(kLogName) : strSavePath.substr(0, slash + 1) + kLogName;
}

void CBatchRun::Note(int nExitCode, const std::string &strReason) {
    if (nExitCode > m_nExitCode)
        m_nExitCode = nExitCode;
    m_arrReasons.push_back(strReason);
}

int CBatchRun::Run(CMainFrame &frame) {
    const auto start = std::chrono::steady_clock::now();
    CBatchActive active(frame);
    m_pFrame = &frame;
    int nFirstNumber = 0;
    CQXReader_CCIDDoc *pDoc = ActiveTraceDocument(nFirstNumber);
    const size_t nFirstRecord = pDoc ? pDoc->m_arrRecords.size() : 0;
    for (const std::string &message : m_arrPendingMessages)
        frame.AddTrace(message.c_str());
    m_arrPendingMessages.clear();

    Execute(frame, pDoc, nFirstRecord, nFirstNumber);
    // The saved trace holds the run's lines only, as a run through the dialogs leaves them; the summary follows.
    if (!m_options.m_strSave.empty() && (!pDoc || !pDoc->OnSaveDocument(m_options.m_strSave)))
        Note(kExitBadSetup, "无法保存 " + m_options.m_strSave);

    Finish(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    frame.AddTrace(m_strSummary.c_str());
    ShowLastRow();
    AppendToLog();
    m_pFrame = nullptr;
    return m_nExitCode;
}

void CBatchRun::Execute(CMainFrame &frame, CQXReader_CCIDDoc *pDoc, size_t nFirstRecord, int nFirstNumber) {
    if (!m_options.m_strError.empty()) {
        Note(kExitBadSetup, "参数错误：" + m_options.m_strError);
        return;
    }
    if (!pDoc) {
        Note(kExitBadSetup, "没有日志窗口");
        return;
    }
    if (!m_options.m_strScript.empty() && m_options.m_strReader.empty()) {
        Note(kExitBadSetup, "参数错误：/script 需要 /reader");
        return;
    }
    // Every file is read before the card is touched.
    std::vector<char> script;
    if (!m_options.m_strScript.empty() && !CMainFrame::ReadScriptFile(m_options.m_strScript, script)) {
        Note(kExitBadSetup, "无法读取脚本文件 " + m_options.m_strScript);
        return;
    }
    std::vector<std::string> reference;
    if (!m_options.m_strExpect.empty() && !ReadReference(reference)) {
        Note(kExitBadSetup, "无法读取参考文件 " + m_options.m_strExpect);
        return;
    }
    if (!m_options.m_strReader.empty() && !frame.ConnectReaderByName(m_options.m_strReader)) {
        Note(kExitBadSetup, "无法连接读卡器 " + m_options.m_strReader);
        return;
    }
    if (!script.empty()) {
        ScriptRunCounts counts;
        DWORD rc = frame.RunScript(script.data(), static_cast<DWORD>(script.size() - 1), &counts);
        m_nCommands = counts.nCommands;
        m_nFailures = counts.nFailures;
        if (rc != 0)
            Note(kExitFailed, "脚本提前停止");
        if (counts.nUnsent != 0)
            Note(kExitFailed, Format("%lu 条命令未能发送", static_cast<unsigned long>(counts.nUnsent)));
    }
    if (!m_options.m_strExpect.empty())
        Compare(*pDoc, nFirstRecord, nFirstNumber, reference);
}

bool CBatchRun::ReadReference(std::vector<std::string> &lines) const {
    CFile file;
    DWORD length = 0;
    if (!file.Open(m_options.m_strExpect, CFile::modeRead | CFile::shareDenyWrite) || !file.GetLength(length) ||
        length > CQXReader_CCIDDoc::kMaxTraceFileBytes)
        return false;
    std::string data;
    std::vector<std::string> records;
    std::vector<std::string> texts;
    try {
        data.resize(length);
        DWORD got = 0;
        while (got < length) {
            DWORD n = file.Read(&data[got], length - got);
            if (n == 0)
                return false;
            got += n;
        }
        if (ParseTraceText(data.data(), data.size(), records) != 0 || TraceLinesOfRecords(records, texts) != 0)
            return false;
        lines.clear();
        for (std::string &text : texts) {
            if (text.compare(0, std::strlen(kSummaryMark), kSummaryMark) != 0)
                lines.push_back(std::move(text));
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

void CBatchRun::Compare(CQXReader_CCIDDoc &doc, size_t nFirstRecord, int nFirstNumber,
                        const std::vector<std::string> &reference) {
    std::vector<std::string> ran;
    if (nFirstRecord > doc.m_arrRecords.size() ||
        TraceLinesOfRecords(
            std::vector<std::string>(doc.m_arrRecords.begin() + static_cast<std::ptrdiff_t>(nFirstRecord),
                                     doc.m_arrRecords.end()),
            ran) != 0) {
        Note(kExitFailed, "无法比较");
        return;
    }
    const TraceDifference diff = CompareTraceLines(ran, reference);
    m_strComparison = Describe(diff, nFirstNumber);
    if (diff.nKind != TraceDifference::kNone)
        Note(kExitFailed, "与参考不同");
}

int CBatchRun::Abandon() {
    std::string reason = "启动失败";
    if (!m_arrPendingMessages.empty())
        reason += "：" + ClipGbkText(m_arrPendingMessages.front(), 2 * kQuotedBytes);
    Note(kExitBadSetup, reason);
    Finish(0.0);
    AppendToLog();
    return m_nExitCode;
}

void CBatchRun::Finish(double seconds) {
    std::string outcome;
    for (const std::string &reason : m_arrReasons)
        outcome += (outcome.empty() ? "" : "，") + reason;
    if (outcome.empty())
        outcome = "通过";
    char counts[160];
    std::snprintf(counts, sizeof(counts), "；发送命令 %lu 条，失败 %lu 条，用时 %.3f 秒",
                  static_cast<unsigned long>(m_nCommands), static_cast<unsigned long>(m_nFailures), seconds);
    m_strSummary = kSummaryMark + std::to_string(m_nExitCode) + "）：" + outcome + counts;
    if (!m_strComparison.empty())
        m_strSummary += "；" + m_strComparison;
}

void CBatchRun::ShowLastRow() {
    // Whoever looks at a console left open after its run sees the outcome first. Posted: the list scrolls only
    // once it draws again, which the view resumes when the thread is back in its message loop.
    CQXReader_CCIDView *view = dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(FindActiveTraceView()));
    if (!view)
        return;
    const int count = view->GetListCtrl().GetItemCount();
    if (count > 0)
        view->PostMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
}

void CBatchRun::AppendToLog() {
    if (m_options.m_strSave.empty())
        return;
    const std::string path = LogPathFor(m_options.m_strSave);
    std::ofstream log(path.c_str(), std::ios::binary | std::ios::app);
    log << m_strSummary << "\r\n";
    log.flush();
    if (!log && m_pFrame)
        m_pFrame->AddTrace(("无法写入 " + path).c_str());
}
