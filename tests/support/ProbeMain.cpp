// qx_probe: a small program that end-to-end tests start in place of a real one. It writes one line about itself
// (process id, image path, command line) to the file named by QX_PROBE_LOG, then shows a window with a list view
// of three rows until it is closed or a minute has passed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const char kClass[] = "QxProbeWindow";
const UINT_PTR kLifeTimer = 1;

void WriteLog() {
    char szLog[MAX_PATH] = {0};
    if (!::GetEnvironmentVariableA("QX_PROBE_LOG", szLog, sizeof(szLog)) || !szLog[0])
        return;
    char szImage[MAX_PATH] = {0};
    ::GetModuleFileNameA(NULL, szImage, sizeof(szImage));
    FILE *pFile = std::fopen(szLog, "ab");
    if (!pFile)
        return;
    std::fprintf(pFile, "pid=%lu\timage=%s\tcmdline=%s\n", ::GetCurrentProcessId(), szImage, ::GetCommandLineA());
    std::fclose(pFile);
}

void FillList(HWND hList) {
    const char *columns[] = {"序号", "内容"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 120;
        col.pszText = const_cast<char *>(columns[c]);
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    const char *rows[][2] = {{"1", "00A4040000"}, {"2", "9000"}, {"3", "连接成功！"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char *>(rows[r][0]);
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char *>(rows[r][1]);
        ::SendMessageA(hList, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_TIMER:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    WriteLog();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, kClass, "QxProbe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 40, 300, 200, NULL, NULL,
                                  hInstance, NULL);
    if (!hWnd)
        return 1;
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 280, 160, hWnd,
                                   reinterpret_cast<HMENU>(100), hInstance, NULL);
    if (hList)
        FillList(hList);
    ::SetTimer(hWnd, kLifeTimer, 60000, NULL);
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
