#include "tests/skin/SkinFrameTestSupport.h"

namespace skintest {

namespace {

const char kFrameClass[] = "QXSkinTestFrame";
const char kMDIFrameClass[] = "QXSkinTestMDIFrame";
const char kChildClass[] = "QXSkinTestChild";

LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        Log().commands.push_back(LOWORD(wParam));
    if (message == WM_CLOSE)
        ++Log().closes;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK MDIFrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND client = ::FindWindowExA(hWnd, nullptr, "MDIClient", nullptr);
    if (message == WM_COMMAND)
        Log().commands.push_back(LOWORD(wParam));
    if (message == WM_SIZE && client) {
        ::MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return ::DefFrameProcA(hWnd, client, message, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(hWnd, message, wParam, lParam);
}

void Register(const char *name, WNDPROC proc, UINT style) {
    WNDCLASSA wc = {};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc))
        return;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

// The engine hooks the test's thread once, as a program's start-up does.
class CEngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(SkinEngineInit(::GetModuleHandleA(nullptr), "skin tests", 0, 0), 1); }
    void TearDown() override { SkinEngineExit(); }
};
::testing::Environment *const g_engine = ::testing::AddGlobalTestEnvironment(new CEngineEnvironment);

} // namespace

Received &Log() {
    static Received received;
    return received;
}

CTestFrame::CTestFrame(DWORD style, int width, int height, HMENU menu, int x, int y) {
    Register(kFrameClass, FrameProc, CS_DBLCLKS);
    m_hWnd = ::CreateWindowExA(0, kFrameClass, "Skinned frame", style, x, y, width, height, nullptr, menu,
                               ::GetModuleHandleA(nullptr), nullptr);
}

CTestFrame::~CTestFrame() {
    if (::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

CTestMDIFrame::CTestMDIFrame(int width, int height, HMENU menu) {
    Register(kMDIFrameClass, MDIFrameProc, CS_DBLCLKS);
    Register(kChildClass, ChildProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    m_hWnd = ::CreateWindowExA(0, kMDIFrameClass, "MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 30, 30, width,
                               height, nullptr, menu, ::GetModuleHandleA(nullptr), nullptr);
    CLIENTCREATESTRUCT ccs = {};
    ccs.idFirstChild = 0xFF00;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_hClient = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES, 0, 0, rc.right,
                                  rc.bottom, m_hWnd, nullptr, ::GetModuleHandleA(nullptr), &ccs);
}

CTestMDIFrame::~CTestMDIFrame() {
    if (::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

HWND CTestMDIFrame::NewChild(int width, int height, DWORD style) {
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = kChildClass;
    mcs.szTitle = "Document";
    mcs.hOwner = ::GetModuleHandleA(nullptr);
    mcs.x = mcs.y = CW_USEDEFAULT;
    mcs.cx = width;
    mcs.cy = height;
    mcs.style = style;
    return reinterpret_cast<HWND>(::SendMessageA(m_hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

HMENU MakeMenu(const std::vector<std::string> &entries) {
    HMENU bar = ::CreateMenu();
    UINT id = 100;
    for (const std::string &entry : entries) {
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuA(popup, MF_STRING, id++, "Item");
        ::AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), entry.c_str());
    }
    return bar;
}

} // namespace skintest
