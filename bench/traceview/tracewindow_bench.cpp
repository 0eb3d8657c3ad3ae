// How fast a trace window takes console lines and how fast it opens, reloads and saves a large .trace file.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/common/ConsoleBenchWindow.h"
#include "console/MainFrame.h"
#include "console/TraceLine.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkIds.h"
#include "framework/ListCtrl.h"
#include "framework/WinApp.h"
#include "res/console/resource.h"
#include "trace/QXReader_CCIDDoc.h"
#include "trace/QXReader_CCIDView.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

CQXReader_CCIDView *ActiveView() {
    return dynamic_cast<CQXReader_CCIDView *>(CWnd::FromHandlePermanent(FindActiveTraceView()));
}

std::string TempPath(const char *name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}
} // namespace

int main() {
    CConsoleBenchApp app;
    CMainFrame *frame = app.OpenConsoleWindow();
    if (!frame)
        return 1;

    // Console lines: a typical APDU trace line, numbered and recorded one by one.
    const int kLines = 10000;
    const std::string line = "下发的命令为:  00A4040000";
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLines; ++i)
        PostTraceLine(line.c_str(), -1);
    double took = Seconds(start);
    app.PumpWaitingMessages(); // the deferred repaint
    std::printf("%-34s %10.0f lines/s  (%d lines in %.2f s)\n", "WM_TRACE_ADDLINE append", kLines / took, kLines, took);

    // A 100,000-record document of about 6 MB, saved, then opened into a new window.
    const int kRecords = 100000;
    CQXReader_CCIDDoc *doc = dynamic_cast<CQXReader_CCIDDoc *>(ActiveView()->GetDocument());
    doc->m_arrRecords.clear();
    const std::string text = "响应的数据为：6F0E8408A000000333010101A5028801";
    for (int i = 0; i < kRecords; ++i)
        doc->AppendRecord(i, text);
    size_t bytes = 0;
    for (const std::string &r : doc->m_arrRecords)
        bytes += r.size() + 1;
    const std::string path = TempPath("qx_bench.trace");
    start = std::chrono::steady_clock::now();
    BOOL saved = doc->OnSaveDocument(path);
    took = Seconds(start);
    std::printf("%-34s %10.1f MB/s  (%.1f MB in %.3f s)%s\n", "save 100,000 records", bytes / took / 1048576.0,
                bytes / 1048576.0, took, saved ? "" : "  FAILED");

    CQXReader_CCIDDoc scan;
    start = std::chrono::steady_clock::now();
    scan.LoadTraceText(path);
    took = Seconds(start);
    std::printf("%-34s %10.1f MB/s  (%zu records in %.3f s)\n", "read and scan the file", bytes / took / 1048576.0,
                scan.m_arrRecords.size(), took);

    app.CloseAllDocuments(FALSE);
    start = std::chrono::steady_clock::now();
    app.OpenDocumentFile(path);
    took = Seconds(start);
    CQXReader_CCIDView *view = ActiveView();
    int rows = view ? view->GetListCtrl().GetItemCount() : 0;
    std::printf("%-34s %10.0f rows/s  (%d rows in %.2f s, open and reload)\n", "open into a window", rows / took, rows,
                took);
    ::DeleteFileA(path.c_str());
    app.CloseAllDocuments(FALSE);
    frame->DestroyWindow();
    return rows == kRecords ? 0 : 1;
}
