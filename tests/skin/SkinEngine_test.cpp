// The engine's entry points on real windows with the five embedded skins: start and stop, the platform code under
// every Windows version Wine reports, loading skins from resources and re-applying them, the dialog object name, the
// creation hook, frame attachment, and no GDI object left behind by skin switches.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/GdiCounter.h"
#include "platform/Handle.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinHook.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinWnd.h"
#include "tests/skin/support/SkinTestSupport.h"

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
    const int result = SkinEngineExit();
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

TEST_F(SkinEngineTest, AHundredSkinSwitchesLeaveNoGdiObjectBehind) {
    CSkinWnd::CScopedPainter painter(SKIN_KIND_SLIDER, &CProbeWnd::Create);
    ASSERT_EQ(1, SkinLoadResource(Module(), "DEVIOR", "SKINWEAVE"));
    HWND hFrame = CreateTestWindow();
    AttachProbe(hFrame, Registry().GetSkin().FindObject("MainFrame"));
    CreateTestWindow(hFrame, 0, TRACKBAR_CLASSA);
    const char *const names[] = {"DEVIOR", "futuraIII", "Kromo", "corona", "xpsteel"};
    // The first switch of each skin may create what stays for the process (system brushes, fonts of the system).
    for (const char *pszName : names)
        ASSERT_EQ(1, SkinLoadResource(Module(), pszName, "SKINWEAVE"));
    CGdiCounterSnapshot gdi;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(1, SkinLoadResource(Module(), names[i % 5], "SKINWEAVE"));
    EXPECT_EQ("", gdi.ChangesSince());
    ::DestroyWindow(hFrame);
}
