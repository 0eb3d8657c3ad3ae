// The engine's entry points on real windows with the five embedded skins: start and stop, the platform code under
// every Windows version Wine reports, loading skins from resources and re-applying them, the dialog object name, the
// creation hook, frame attachment, and no GDI object left behind by skin switches.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/GdiCounter.h"
#include "platform/Handle.h"
#include "skin/ScrollBarInterception.h"
#include "skin/Skin.h"
#include "skin/SkinDialogWnd.h"
#include "skin/SkinEngine.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinHook.h"
#include "skin/SkinMenuKeys.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "tests/skin/support/SkinTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

CSkinRegistry &Registry() {
    return CSkinRegistry::Instance();
}

HINSTANCE Module() {
    return ::GetModuleHandleA(nullptr);
}

CProbeWnd *AttachProbe(HWND hWnd, CSkinObject *pObject) {
    CProbeWnd *pProbe = new CProbeWnd;
    if (!Registry().AddWindow(std::unique_ptr<CSkinWnd>(pProbe), hWnd))
        return nullptr;
    pProbe->SetSkinObject(pObject);
    pProbe->Attach(hWnd);
    return pProbe;
}

class SkinEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_nWindows = Registry().GetWindowCount();
        ASSERT_EQ(1, SkinEngineInit(Module(), "QXReader_CCID", 0, 0));
    }
    void TearDown() override {
        SkinEngineExit();
        Registry().InstallSkin(std::unique_ptr<CSkin>(new CSkin));
        EXPECT_EQ(m_nWindows, Registry().GetWindowCount());
        EXPECT_EQ(0, CProbeWnd::s_nLive);
    }
    size_t m_nWindows = 0;
};

} // namespace

TEST(SkinPlatformCode, TheVersionTable) {
    const struct {
        bool bWin95;
        DWORD major, minor;
        int code;
    } rows[] = {{true, 3, 95, 0}, {true, 4, 0, 2},  {true, 4, 10, 3},  {true, 4, 90, 4}, {true, 4, 3, 2},
                {true, 5, 0, 2},  {false, 4, 0, 5}, {false, 4, 90, 5}, {false, 5, 0, 6}, {false, 5, 1, 7},
                {false, 5, 2, 1}, {false, 6, 1, 1}, {false, 10, 0, 1}, {false, 3, 51, 1}};
    for (const auto &row : rows) {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        info.dwMajorVersion = row.major;
        info.dwMinorVersion = row.minor;
        const DWORD packed = (row.bWin95 ? 0x80000000u : 0) | (row.minor << 8) | row.major;
        EXPECT_EQ(row.code, CSkinEngine::PlatformCode(packed, &info)) << row.major << "." << row.minor;
    }
    // No version record: the family's catch-all code.
    EXPECT_EQ(2, CSkinEngine::PlatformCode(0x80000004u, nullptr));
    EXPECT_EQ(1, CSkinEngine::PlatformCode(0x00000005u, nullptr));
    for (int code = 0; code <= 7; ++code)
        EXPECT_EQ(code > 3, CSkinEngine::UsesScrollBarInterception(code)) << code;
}

// The probe program runs under each Windows version that the prefix can give one program (its AppDefaults key), and
// reports the version it saw, its platform code and SkinEngineExit's result.
TEST(SkinPlatformCode, EveryVersionWineReportsGivesItsCodeAndExitResult) {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string probe(path);
    probe = probe.substr(0, probe.find_last_of("\\/") + 1) + QX_PLATFORM_PROBE;
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + QX_PLATFORM_PROBE;
    const struct {
        const char *pszVersion;
        const char *pszSeen; // what Wine reports for it
        int code, result;
    } cases[] = {{"win2k", "5.0 NT", 6, 1},
                 {"winxp", "5.1 NT", 7, 1},
                 {"win7", "6.1 NT", 1, 1},
                 {"win2003", "5.2 NT", 1, 1},
                 {"nt40", "4.0 NT", 5, 1},
                 // Without a manifest, later versions report themselves as 6.2.
                 {"win10", "6.2 NT", 1, 1},
                 {"win98", "4.10 95", 3, 3},
                 {"win95", "4.0 95", 2, 2},
                 {"winme", "4.90 95", 4, 0},
                 {"win31", "3.10 95", 0, 0}};
    int nReported = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pszVersion);
        {
            HKEY hKey = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                                       nullptr, &hKey, nullptr));
            CRegKey owned(hKey);
            ASSERT_EQ(ERROR_SUCCESS,
                      ::RegSetValueExA(owned, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(c.pszVersion),
                                       static_cast<DWORD>(std::strlen(c.pszVersion) + 1)));
        }
        SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
        HANDLE hRead = nullptr, hWrite = nullptr;
        ASSERT_TRUE(::CreatePipe(&hRead, &hWrite, &sa, 0));
        CKernelObject read(hRead), write(hWrite);
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = write;
        si.hStdError = write;
        PROCESS_INFORMATION pi = {};
        std::string command = "\"" + probe + "\"";
        ASSERT_TRUE(::CreateProcessA(probe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
            << probe;
        CKernelObject process(pi.hProcess), thread(pi.hThread);
        write.Close();
        std::string output;
        char buffer[128];
        DWORD got = 0;
        while (::ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            output.append(buffer, got);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 60000));
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process, &exitCode);
        if (output.compare(0, std::strlen(c.pszSeen), c.pszSeen) != 0) {
            // This Wine does not give that version to a program of this architecture.
            std::printf("[ INFO     ] %s: Wine reports %s", c.pszVersion, output.c_str());
            continue;
        }
        ++nReported;
        EXPECT_EQ(static_cast<DWORD>(c.code * 10 + c.result), exitCode) << output;
        // The scroll-bar functions are intercepted from start to exit for the NT family's codes 5-7 only: code 1 (later
        // NT versions) gets no skinned scroll bars and so no interception, and the other family none at all.
        int code = -1, result = -1, intercepted = -1, after = -1;
        char family[8] = "";
        ASSERT_EQ(5, std::sscanf(output.c_str(), "%*s %7s %d %d %d %d", family, &code, &result, &intercepted, &after))
            << output;
        EXPECT_EQ(std::strcmp(family, "NT") == 0 && code > 3 ? CScrollBarInterception::FUNCTION_COUNT : 0, intercepted)
            << output;
        EXPECT_EQ(0, after) << output;
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    // The versions the console is run and tested under are always reported.
    EXPECT_GE(nReported, 3);
}

TEST_F(SkinEngineTest, InitRegistersThePopupClassAndHooksAndExitUndoesBoth) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExA(Module(), "SkinWeavePopupMenuWnd", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_SAVEBITS | CS_CLASSDC), wc.style);
    EXPECT_EQ(0x840u, wc.style);
    EXPECT_EQ(::GetStockObject(NULL_BRUSH), wc.hbrBackground);
    EXPECT_EQ(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)), wc.hCursor);
    EXPECT_TRUE(CSkinHook::IsInstalled());
    // A second start fails (the class exists) and leaves the first one's hook in place.
    EXPECT_EQ(0, SkinEngineInit(Module(), "again", 0, 0));
    EXPECT_TRUE(CSkinHook::IsInstalled());

    SkinSetDialogObjectName("Named");
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
    const int expected = CSkinEngine::PlatformCode(::GetVersion(), &info);
#pragma GCC diagnostic pop
    EXPECT_EQ(expected, CSkinEngine::GetPlatformCode());
    EXPECT_EQ(expected > 4 ? CScrollBarInterception::FUNCTION_COUNT : 0,
              CScrollBarInterception::InstalledCount());
    const int result = SkinEngineExit();
    EXPECT_EQ(0, CScrollBarInterception::InstalledCount());
    EXPECT_EQ(expected <= 3 ? expected : (expected == 4 ? 0 : 1), result);
    EXPECT_FALSE(::GetClassInfoExA(Module(), "SkinWeavePopupMenuWnd", &wc));
    EXPECT_FALSE(CSkinHook::IsInstalled());
    EXPECT_STREQ("", CSkinHook::GetDialogObjectName());
    ASSERT_EQ(1, SkinEngineInit(Module(), "QXReader_CCID", 0, 0)); // for TearDown
}

TEST_F(SkinEngineTest, ResourcesLoadByNameInAnyCaseAndAFailureKeepsTheSkin) {
    ASSERT_EQ(1, SkinLoadResource(Module(), "Devior", "SKINWEAVE"));
    CSkin *pDevior = &Registry().GetSkin();
    CSkinObject *pMainFrame = pDevior->FindObject("MainFrame");
    ASSERT_NE(nullptr, pMainFrame);
    HWND hWnd = CreateTestWindow();
    CProbeWnd *pProbe = AttachProbe(hWnd, pMainFrame);

    // Unknown names, another type and bytes that are no skin: 0, and the skin in force stays, untouched.
    for (const char *pszName : {"NOSUCHSKIN", "BROKEN", "TRUNCATED"}) {
        EXPECT_EQ(0, SkinLoadResource(Module(), pszName, "SKINWEAVE")) << pszName;
        EXPECT_EQ(pDevior, &Registry().GetSkin());
        EXPECT_EQ(pMainFrame, pDevior->FindObject("MainFrame"));
        EXPECT_EQ(17u, pDevior->GetObjects().size());
    }
    EXPECT_EQ(0, SkinLoadResource(Module(), "DEVIOR", "RCDATA"));
    EXPECT_EQ(0, SkinLoadResource(Module(), nullptr, "SKINWEAVE"));
    EXPECT_EQ(1u, pProbe->objects.size());

    // The same skin again replaces the skin by an equal one and re-applies it: same name, new object.
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    ASSERT_EQ(2u, pProbe->objects.size());
    EXPECT_NE(pMainFrame, pProbe->GetSkinObject());
    EXPECT_STREQ("MainFrame", pProbe->GetSkinObject()->GetName());
    EXPECT_EQ(Registry().GetSkin().FindObject("MainFrame"), pProbe->GetSkinObject());

    // Each console name finds its resource.
    for (const char *pszName : {"DEVIOR", "futuraIII", "Kromo", "corona", "xpsteel"}) {
        ASSERT_EQ(1, SkinLoadResource(Module(), pszName, "SKINWEAVE")) << pszName;
        EXPECT_EQ(Registry().GetSkin().FindObject("MainFrame"), pProbe->GetSkinObject()) << pszName;
    }
    ::DestroyWindow(hWnd);
}

TEST_F(SkinEngineTest, ReapplyingMatchesByNameThenByKind) {
    std::unique_ptr<CSkin> pOwn = MakeKindSkin({SKIN_KIND_SLIDER});
    CSkinObject *pOdd = AddObject(*pOwn, SKIN_KIND_FRAME, "OddFrame");
    CSkinObject *pPanel = AddObject(*pOwn, SKIN_KIND_TOOLBAR, "OddBar");
    Registry().InstallSkin(std::move(pOwn));
    HWND hFrame = CreateTestWindow(), hBar = CreateTestWindow(), hNone = CreateTestWindow();
    CProbeWnd *pFrame = AttachProbe(hFrame, pOdd);
    CProbeWnd *pBar = AttachProbe(hBar, pPanel);
    CProbeWnd *pNone = AttachProbe(hNone, nullptr);

    // No "OddFrame" in Kromo: the first frame object in name order ("Dialog"); the tool bar likewise ("ToolBar").
    ASSERT_EQ(1, SkinLoadResource(Module(), "KROMO", "SKINWEAVE"));
    EXPECT_STREQ("Dialog", pFrame->GetSkinObject()->GetName());
    EXPECT_STREQ("ToolBar", pBar->GetSkinObject()->GetName());
    EXPECT_EQ(nullptr, pNone->GetSkinObject());
    EXPECT_EQ(2u, pNone->objects.size());
    for (HWND h : {hFrame, hBar, hNone})
        ::DestroyWindow(h);
}

TEST_F(SkinEngineTest, TheDialogObjectNameKeepsAtMost49Characters) {
    const std::string sixty(60, 'd');
    EXPECT_EQ(1, SkinSetDialogObjectName(sixty.c_str()));
    EXPECT_EQ(sixty.substr(0, 49), CSkinHook::GetDialogObjectName());
    EXPECT_EQ(1, SkinSetDialogObjectName("QXReader_CCID"));
    EXPECT_STREQ("QXReader_CCID", CSkinHook::GetDialogObjectName());
    EXPECT_EQ(1, SkinClearDialogObjectName());
    EXPECT_STREQ("", CSkinHook::GetDialogObjectName());
    EXPECT_EQ(1, SkinSetDialogObjectName(nullptr));
    EXPECT_STREQ("", CSkinHook::GetDialogObjectName());
}

TEST_F(SkinEngineTest, AttachFrameRefusesWhatIsNoFrameObject) {
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    HWND hWnd = CreateTestWindow();
    EXPECT_EQ(0, SkinAttachFrame(hWnd, "NoSuchObject"));
    EXPECT_EQ(0, SkinAttachFrame(hWnd, "Button"));    // kind 4
    EXPECT_EQ(0, SkinAttachFrame(hWnd, "PopupMenu")); // kind 17
    EXPECT_EQ(0, SkinAttachFrame(hWnd, "frame.bmp")); // an image record
    EXPECT_EQ(0, SkinAttachFrame(nullptr, "MainFrame"));
    EXPECT_EQ(nullptr, SkinFindWindow(hWnd));
    // Already registered: 0, and the registration stays.
    CProbeWnd *pProbe = AttachProbe(hWnd, nullptr);
    EXPECT_EQ(0, SkinAttachFrame(hWnd, "MainFrame"));
    EXPECT_EQ(pProbe, SkinFindWindow(hWnd));
    ::DestroyWindow(hWnd);
}

TEST_F(SkinEngineTest, TheHookAttachesWindowsOfThisThreadCreatedWhileItIsInstalled) {
    CSkinWnd::CScopedPainter painter(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    HWND hFrame = CreateTestWindow();
    CProbeWnd *pFrame = AttachProbe(hFrame, Registry().GetSkin().FindObject("MainFrame"));
    HWND hPanel = CreateTestWindow(hFrame);

    // Created now, below a registered window (through a plain one): attached.
    HWND hSlider = CreateTestWindow(hPanel, 0, TRACKBAR_CLASSA);
    ASSERT_NE(nullptr, SkinFindWindow(hSlider));
    EXPECT_EQ(1u, pFrame->GetChildMap().count(hSlider));
    EXPECT_EQ(Registry().GetSkin().FindObject("Slider"), SkinFindWindow(hSlider)->GetSkinObject());
    // An owned pop-up's children find the owner chain too.
    HWND hPopup = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 50, 50, hFrame, nullptr, nullptr, nullptr);
    HWND hOwnedSlider = CreateTestWindow(hPopup, 0, TRACKBAR_CLASSA);
    EXPECT_NE(nullptr, SkinFindWindow(hOwnedSlider));

    // Another thread's windows do not pass this thread's hook. (Its window goes when the thread ends; this thread
    // answers the messages its creation sends to the parent meanwhile.)
    bool bCreated = false, bForeignSkinned = true;
    volatile bool bDone = false;
    std::thread foreign([&] {
        HWND h = CreateTestWindow(hPanel, 0, TRACKBAR_CLASSA);
        bCreated = h != nullptr;
        bForeignSkinned = SkinFindWindow(h) != nullptr;
        bDone = true;
    });
    while (!bDone) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    foreign.join();
    EXPECT_TRUE(bCreated);
    EXPECT_FALSE(bForeignSkinned);

    // 500 windows created and destroyed: the map comes back to its size.
    const size_t before = Registry().GetWindowCount();
    for (int i = 0; i < 500; ++i) {
        HWND h = CreateTestWindow(hPanel, 0, TRACKBAR_CLASSA);
        ASSERT_NE(nullptr, SkinFindWindow(h)) << i;
        ::DestroyWindow(h);
    }
    EXPECT_EQ(before, Registry().GetWindowCount());
    const long nLive = CProbeWnd::s_nLive;

    // After SkinEngineExit nothing new is skinned; skinned windows keep their painters.
    SkinEngineExit();
    HWND hLate = CreateTestWindow(hPanel, 0, TRACKBAR_CLASSA);
    EXPECT_EQ(nullptr, SkinFindWindow(hLate));
    EXPECT_NE(nullptr, SkinFindWindow(hSlider));
    EXPECT_EQ(nLive, CProbeWnd::s_nLive);
    ASSERT_EQ(1, SkinEngineInit(Module(), "QXReader_CCID", 0, 0));
    ::DestroyWindow(hPopup);
    ::DestroyWindow(hFrame);
}

// A window class whose procedure notes whether the engine's message hook is in place when its creation messages
// arrive, and that can fail its creation or create a child of its own during WM_CREATE.
struct CCreationProbe {
    static bool s_bWatchedAtNcCreate;
    static LRESULT s_nNcCreateResult, s_nCreateResult;
    static HWND s_hNestedParent, s_hNested;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            s_bWatchedAtNcCreate = CSkinHook::IsWatchingMessages();
            if (!s_nNcCreateResult)
                return FALSE;
        } else if (message == WM_CREATE) {
            if (s_hNestedParent)
                s_hNested = CreateTestWindow(s_hNestedParent, 0, TRACKBAR_CLASSA);
            return s_nCreateResult;
        }
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    static const char *ClassName() {
        static const ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = Module();
            wc.lpszClassName = "SkinCreationProbe";
            return ::RegisterClassA(&wc);
        }();
        return atom ? "SkinCreationProbe" : nullptr;
    }
    static void Reset() {
        s_bWatchedAtNcCreate = false;
        s_nNcCreateResult = TRUE;
        s_nCreateResult = 0;
        s_hNestedParent = s_hNested = nullptr;
    }
    static HWND Create() {
        return ::CreateWindowExA(0, ClassName(), "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, Module(), nullptr);
    }
};
bool CCreationProbe::s_bWatchedAtNcCreate = false;
LRESULT CCreationProbe::s_nNcCreateResult = TRUE;
LRESULT CCreationProbe::s_nCreateResult = 0;
HWND CCreationProbe::s_hNestedParent = nullptr;
HWND CCreationProbe::s_hNested = nullptr;

TEST_F(SkinEngineTest, TheMessageHookIsInPlaceOnlyWhileAWindowIsBeingCreated) {
    ASSERT_NE(nullptr, CCreationProbe::ClassName());
    CSkinWnd::CScopedPainter painter(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    Registry().InstallSkin(MakeKindSkin({SKIN_KIND_FRAME, SKIN_KIND_SLIDER}));
    HWND hFrame = CreateTestWindow();
    ASSERT_NE(nullptr, AttachProbe(hFrame, Registry().GetSkin().FindObject("MainFrame")));
    EXPECT_FALSE(CSkinHook::IsWatchingMessages()) << "no creation is under way";

    // A plain creation: watched from its first message on, and not after it.
    CCreationProbe::Reset();
    HWND hPlain = CCreationProbe::Create();
    ASSERT_NE(nullptr, hPlain);
    EXPECT_TRUE(CCreationProbe::s_bWatchedAtNcCreate);
    EXPECT_FALSE(CSkinHook::IsWatchingMessages());

    // A window created during another's WM_CREATE is attached as any other, and the hook goes after both.
    CCreationProbe::Reset();
    CCreationProbe::s_hNestedParent = hFrame;
    HWND hOuter = CCreationProbe::Create();
    ASSERT_NE(nullptr, hOuter);
    ASSERT_NE(nullptr, CCreationProbe::s_hNested);
    EXPECT_NE(nullptr, SkinFindWindow(CCreationProbe::s_hNested));
    EXPECT_FALSE(CSkinHook::IsWatchingMessages());

    // Creations that fail before or at WM_CREATE leave no hook behind either.
    CCreationProbe::Reset();
    CCreationProbe::s_nNcCreateResult = FALSE;
    EXPECT_EQ(nullptr, CCreationProbe::Create());
    EXPECT_FALSE(CSkinHook::IsWatchingMessages());
    CCreationProbe::Reset();
    CCreationProbe::s_nCreateResult = -1;
    EXPECT_EQ(nullptr, CCreationProbe::Create());
    EXPECT_FALSE(CSkinHook::IsWatchingMessages());

    // And the windows created after those are still attached.
    HWND hSlider = CreateTestWindow(hFrame, 0, TRACKBAR_CLASSA);
    EXPECT_NE(nullptr, SkinFindWindow(hSlider));
    EXPECT_FALSE(CSkinHook::IsWatchingMessages());
    ::DestroyWindow(hOuter);
    ::DestroyWindow(hPlain);
    ::DestroyWindow(hFrame);
}

// A key going down or up through the input queue, as the keyboard makes it (the hooks see nothing else).
void Key(WORD vk, bool bUp) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

// Dispatches this thread's messages until the condition holds (true) or two seconds pass (false).
bool PumpUntil(const std::function<bool()> &condition) {
    return CWaitUntil::Condition(condition, 2000);
}

TEST_F(SkinEngineTest, TheMenuKeysMessageHookIsInPlaceOnlyFromAltOrF10DownToUp) {
    ASSERT_TRUE(CSkinMenuKeys::IsInstalled());
    HWND hEdit = ::CreateWindowExA(0, "Edit", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 120, 120, 200, 40, nullptr,
                                   nullptr, Module(), nullptr);
    ASSERT_NE(nullptr, hEdit);
    ::SetForegroundWindow(hEdit);
    ::SetFocus(hEdit);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == hEdit && ::GetFocus() == hEdit; }));
    EXPECT_FALSE(CSkinMenuKeys::IsWatchingMessages());

    // Typing does not bring it.
    Key('A', false);
    Key('A', true);
    EXPECT_TRUE(PumpUntil([&] { return ::GetWindowTextLengthA(hEdit) == 1; }));
    EXPECT_FALSE(CSkinMenuKeys::IsWatchingMessages());

    // Alt and F10: from the key going down until it comes up.
    for (const WORD vk : {static_cast<WORD>(VK_MENU), static_cast<WORD>(VK_F10)}) {
        Key(vk, false);
        EXPECT_TRUE(PumpUntil([] { return CSkinMenuKeys::IsWatchingMessages(); })) << vk;
        Key(vk, true);
        EXPECT_TRUE(PumpUntil([] { return !CSkinMenuKeys::IsWatchingMessages(); })) << vk;
    }
    // Alt held over a letter keeps it until Alt comes up.
    Key(VK_MENU, false);
    Key('B', false);
    Key('B', true);
    EXPECT_TRUE(PumpUntil([] { return CSkinMenuKeys::IsWatchingMessages(); }));
    Key(VK_MENU, true);
    EXPECT_TRUE(PumpUntil([] { return !CSkinMenuKeys::IsWatchingMessages(); }));
    ::DestroyWindow(hEdit);
}

TEST_F(SkinEngineTest, AttachFrameTakesTheNamedOrFirstFrameObjectOnce) {
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    HWND hMain = CreateTestWindow(), hOther = CreateTestWindow();
    ASSERT_EQ(1, SkinAttachFrame(hMain, "MainFrame"));
    CSkinWnd *pMain = SkinFindWindow(hMain);
    ASSERT_NE(nullptr, pMain);
    EXPECT_STREQ("MainFrame", pMain->GetSkinObject()->GetName());
    EXPECT_TRUE(pMain->HasPrevious());
    // A second attach of the same window: 0, and the first stays.
    EXPECT_EQ(0, SkinAttachFrame(hMain, "Dialog"));
    EXPECT_EQ(pMain, SkinFindWindow(hMain));
    EXPECT_STREQ("MainFrame", pMain->GetSkinObject()->GetName());
    // Without a name: the first frame object in name order, which in the embedded skins is "Dialog".
    ASSERT_EQ(1, SkinAttachFrame(hOther, nullptr));
    EXPECT_STREQ("Dialog", SkinFindWindow(hOther)->GetSkinObject()->GetName());
    ::DestroyWindow(hMain);
    ::DestroyWindow(hOther);
    EXPECT_EQ(nullptr, SkinFindWindow(hMain));
}

namespace {

// A captioned dialog template with one push button, built in memory.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    dword(0);
    t.push_back(1);                       // one control
    t.insert(t.end(), {10, 10, 150, 80}); // x, y, cx, cy
    t.insert(t.end(), {0, 0, 0});         // no menu, default class, no title
    if (t.size() % 2)
        t.push_back(0); // DLGITEMTEMPLATE on a DWORD boundary
    dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    dword(0);
    t.insert(t.end(), {10, 10, 50, 14, 1}); // x, y, cx, cy, id
    t.insert(t.end(), {0xFFFF, 0x0080});    // the button class
    t.push_back(0);                         // no text
    t.push_back(0);                         // no creation data
    return t;
}

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HWND CreateTestDialog(HWND hOwner) {
    std::vector<WORD> t = DialogTemplate();
    return ::CreateDialogIndirectParamA(Module(), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()), hOwner, DialogProc, 0);
}

// DEVIOR with a frame object under the console's dialog object name (a copy of its "Dialog").
std::unique_ptr<CSkin> DeviorWithDialogObject(const char *pszName) {
    HRSRC hFound = ::FindResourceA(Module(), "DEVIOR", "SKINWEAVE");
    CSkinStream stream;
    stream.Create(::LockResource(::LoadResource(Module(), hFound)), ::SizeofResource(Module(), hFound));
    std::unique_ptr<CSkin> pSkin(new CSkin);
    pSkin->Read(stream);
    std::unique_ptr<CSkinFrameObject> pObject(new CSkinFrameObject);
    pObject->SetName(pszName);
    pObject->m_framed = static_cast<CSkinFrameObject *>(pSkin->FindObject("Dialog"))->m_framed;
    pSkin->AddObject(std::move(pObject));
    return pSkin;
}

} // namespace

TEST_F(SkinEngineTest, DialogsAreSkinnedUnderTheDialogObjectNameOrLeaveTheirControlsToTheOwner) {
    CSkinWnd::CScopedPainter buttons(SKIN_KIND_BUTTON, &CProbeWnd::Create);
    Registry().InstallSkin(DeviorWithDialogObject("QXReader_CCID"));
    SkinSetDialogObjectName("QXReader_CCID");
    HWND hFrame = CreateTestWindow();
    ASSERT_EQ(1, SkinAttachFrame(hFrame, "MainFrame"));
    CSkinWnd *pFrame = SkinFindWindow(hFrame);

    // The skin holds the object: the dialog is skinned with it, and its button is its own.
    HWND hDialog = CreateTestDialog(hFrame);
    ASSERT_NE(nullptr, hDialog);
    CSkinDialogWnd *pDialog = dynamic_cast<CSkinDialogWnd *>(SkinFindWindow(hDialog));
    ASSERT_NE(nullptr, pDialog);
    EXPECT_STREQ("QXReader_CCID", pDialog->GetSkinObject()->GetName());
    HWND hButton = ::GetDlgItem(hDialog, 1);
    EXPECT_NE(nullptr, SkinFindWindow(hButton));
    EXPECT_EQ(1u, pDialog->GetChildMap().count(hButton));
    EXPECT_EQ(0u, pFrame->GetChildMap().count(hButton));
    ::DestroyWindow(hDialog);
    EXPECT_EQ(nullptr, SkinFindWindow(hDialog));
    EXPECT_EQ(nullptr, SkinFindWindow(hButton));

    // The embedded skin holds none: the dialog stays unskinned and its controls attach to its owner chain.
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    hDialog = CreateTestDialog(hFrame);
    EXPECT_EQ(nullptr, SkinFindWindow(hDialog));
    hButton = ::GetDlgItem(hDialog, 1);
    EXPECT_NE(nullptr, SkinFindWindow(hButton));
    EXPECT_EQ(1u, pFrame->GetChildMap().count(hButton));
    ::DestroyWindow(hDialog);
    EXPECT_EQ(0u, pFrame->GetChildMap().count(hButton));

    // Without a dialog object name a dialog is a window like any other: not skinned as a dialog either.
    Registry().InstallSkin(DeviorWithDialogObject("QXReader_CCID"));
    SkinClearDialogObjectName();
    hDialog = CreateTestDialog(hFrame);
    EXPECT_EQ(nullptr, SkinFindWindow(hDialog));
    EXPECT_NE(nullptr, SkinFindWindow(::GetDlgItem(hDialog, 1)));
    ::DestroyWindow(hDialog);
    ::DestroyWindow(hFrame);
}

// The images keep what they are drawn from for as long as their skin: a skin switched away, or the engine's exit,
// gives it all back, so that the count returns to where it was before the skin was loaded.
TEST_F(SkinEngineTest, WhatTheImagesAreDrawnFromGoesWithTheSkinAndAtExit) {
    auto pump = [] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    };
    auto paintFrameOnce = [&pump] {
        HWND hFrame = CreateTestWindow();
        ASSERT_EQ(1, SkinAttachFrame(hFrame, "MainFrame"));
        ::ShowWindow(hFrame, SW_SHOWNOACTIVATE);
        ::RedrawWindow(hFrame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump();
        ::DestroyWindow(hFrame);
        pump();
    };
    CGdiCounterSnapshot before;
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    paintFrameOnce();
    // The frame's own objects went with it; the images it was painted from still hold their sections.
    EXPECT_NE("", before.ChangesSince());
    ASSERT_EQ(1, SkinLoadResource(Module(), "corona", "SKINWEAVE"));
    EXPECT_EQ("", before.ChangesSince());

    paintFrameOnce();
    EXPECT_NE("", before.ChangesSince());
    SkinEngineExit();
    EXPECT_EQ("", before.ChangesSince());
    ASSERT_EQ(1, SkinEngineInit(Module(), "QXReader_CCID", 0, 0)); // for TearDown
}

TEST_F(SkinEngineTest, AHundredSkinSwitchesLeaveNoGdiObjectBehind) {
    CSkinWnd::CScopedPainter painter(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    HWND hFrame = CreateTestWindow();
    ::SetWindowTextA(hFrame, "QXReader_CCID");
    CreateTestWindow(hFrame, 0, TRACKBAR_CLASSA);
    ASSERT_EQ(1, SkinAttachFrame(hFrame, "MainFrame"));
    ::ShowWindow(hFrame, SW_SHOWNOACTIVATE);
    auto pump = [] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    };
    const char *const names[] = {"DEVIOR", "futuraIII", "Kromo", "corona", "xpsteel"};
    // The first switch of each skin may create what stays for the process (the system's own objects).
    for (const char *pszName : names) {
        ASSERT_EQ(1, SkinLoadResource(Module(), pszName, "SKINWEAVE"));
        pump();
    }
    CGdiCounterSnapshot gdi;
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(1, SkinLoadResource(Module(), names[i % 5], "SKINWEAVE"));
        ::RedrawWindow(hFrame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump();
    }
    EXPECT_EQ("", gdi.ChangesSince());
    ::DestroyWindow(hFrame);
}
