// The subclass helper on real windows under Wine: chains of three subclassers (two of ours and comctl32's
// SetWindowSubclass) installed and removed in every order, a raw SetWindowLongPtr subclasser above and below,
// Unicode windows that stay Unicode, state freed on destruction, and exceptions that never leave the procedure.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Subclass.h"

namespace {

const UINT WM_PROBE = WM_APP + 1;
const UINT WM_QUIET_PROBE = WM_APP + 2; // answered 9 by the base, logged by nobody (threads send it at once)
std::vector<std::string> g_log; // who saw WM_PROBE, in order

LRESULT CALLBACK BaseProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIET_PROBE)
        return 9;
    if (message == WM_PROBE) {
        g_log.push_back("base");
        return 7;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
LRESULT CALLBACK BaseProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIET_PROBE)
        return 9;
    if (message == WM_PROBE) {
        g_log.push_back("base");
        return 7;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

const char kClassA[] = "QxSubclassTestA";
const wchar_t kClassW[] = L"QxSubclassTestW";

void RegisterClasses() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSA a = {};
    a.lpfnWndProc = &BaseProcA;
    a.hInstance = ::GetModuleHandleA(nullptr);
    a.lpszClassName = kClassA;
    ::RegisterClassA(&a);
    WNDCLASSW w = {};
    w.lpfnWndProc = &BaseProcW;
    w.hInstance = ::GetModuleHandleW(nullptr);
    w.lpszClassName = kClassW;
    ::RegisterClassW(&w);
    done = true;
}

HWND MakeWindow(bool bUnicode = false) {
    RegisterClasses();
    return bUnicode ? ::CreateWindowExW(0, kClassW, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr)
                    : ::CreateWindowExA(0, kClassA, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
}

// Sends WM_PROBE and returns who saw it, top first.
std::vector<std::string> Probe(HWND hWnd) {
    g_log.clear();
    EXPECT_EQ(::SendMessageA(hWnd, WM_PROBE, 0, 0), 7);
    return g_log;
}

// One of our layers: records WM_PROBE and passes it on.
class CRecorder : public CSubclass {
public:
    explicit CRecorder(std::string name) : m_name(std::move(name)) {}
    int m_nFinal = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PROBE)
            g_log.push_back(m_name);
        return Default(message, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { ++m_nFinal; }

private:
    std::string m_name;
};

// comctl32's subclassing, the other library a window may meet.
LRESULT CALLBACK ComctlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PROBE)
        g_log.push_back("comctl");
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

// A foreign subclasser written by hand with SetWindowLongPtr, as careful as ours: it puts its predecessor back
// only while it is on top, and otherwise passes messages on until it comes on top.
struct CForeign {
    static WNDPROC s_prev;
    static bool s_bRemoved;
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PROBE && !s_bRemoved)
            g_log.push_back("Z");
        WNDPROC prev = s_prev;
        LRESULT r = ::CallWindowProcA(prev, hWnd, message, wParam, lParam);
        if (s_bRemoved && s_prev && ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc)) {
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_prev));
            s_prev = nullptr;
        }
        return r;
    }
    static void Install(HWND hWnd) {
        s_bRemoved = false;
        s_prev = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    static void Remove(HWND hWnd) {
        s_bRemoved = true;
        if (::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc)) {
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_prev));
            s_prev = nullptr;
        }
    }
};
WNDPROC CForeign::s_prev = nullptr;
bool CForeign::s_bRemoved = false;

// Subclasser i of three: 0 and 1 ours, 2 the foreign one (or comctl32's).
struct CThree {
    explicit CThree(bool bComctl) : m_bComctl(bComctl) {}
    CRecorder a{"A"}, b{"B"};
    bool m_bComctl;
    const char *Name(int i) const { return i == 0 ? "A" : i == 1 ? "B" : m_bComctl ? "comctl" : "Z"; }
    void Install(HWND hWnd, int i) {
        if (i == 0)
            ASSERT_TRUE(a.Subclass(hWnd));
        else if (i == 1)
            ASSERT_TRUE(b.Subclass(hWnd));
        else if (m_bComctl)
            ASSERT_TRUE(::SetWindowSubclass(hWnd, &ComctlProc, 1, 0));
        else
            CForeign::Install(hWnd);
    }
    void Remove(HWND hWnd, int i) {
        if (i == 0)
            ASSERT_TRUE(a.Unsubclass());
        else if (i == 1)
            ASSERT_TRUE(b.Unsubclass());
        else if (m_bComctl)
            ASSERT_TRUE(::RemoveWindowSubclass(hWnd, &ComctlProc, 1));
        else
            CForeign::Remove(hWnd);
    }
};

// Installs the three in one order, removes them in another, and checks who sees WM_PROBE after every step.
void RunOrder(bool bComctl, const std::vector<int> &install, const std::vector<int> &removal) {
    HWND hWnd = MakeWindow();
    ASSERT_NE(hWnd, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    CThree three(bComctl);
    std::vector<std::string> expected = {"base"};
    for (int i : install) {
        three.Install(hWnd, i);
        expected.insert(expected.begin(), three.Name(i)); // the latest sees a message first
        ASSERT_EQ(Probe(hWnd), expected);
    }
    for (int i : removal) {
        three.Remove(hWnd, i);
        expected.erase(std::find(expected.begin(), expected.end(), three.Name(i)));
        ASSERT_EQ(Probe(hWnd), expected);
        ASSERT_EQ(Probe(hWnd), expected); // and again, after any leftover layer that came on top left
    }
    // Every leftover took itself out: the window has its own procedure again.
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    ::DestroyWindow(hWnd);
}

std::string Order(const std::vector<int> &v) {
    std::string s;
    for (int i : v)
        s += std::to_string(i);
    return s;
}

TEST(Subclass, ThreeSubclassersInEveryOrderSeeEachMessageOnceInOrder) {
    const long states = CSubclass::GetLiveStateCount();
    std::vector<int> install = {0, 1, 2};
    int combinations = 0;
    do {
        std::vector<int> removal = {0, 1, 2};
        do {
            SCOPED_TRACE("install " + Order(install) + ", remove " + Order(removal));
            RunOrder(false, install, removal);
            EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
            ++combinations;
        } while (std::next_permutation(removal.begin(), removal.end()));
    } while (std::next_permutation(install.begin(), install.end()));
    EXPECT_EQ(combinations, 36);
}

TEST(Subclass, ChainsWithComctl32InEveryOrder) {
    // comctl32 (Wine's, at least) puts its predecessor back when its last subclass goes, on top or not, which
    // would cut off whatever came after it: it is removed in the reverse order of installation here.
    const long states = CSubclass::GetLiveStateCount();
    std::vector<int> install = {0, 1, 2};
    do {
        SCOPED_TRACE("install " + Order(install));
        RunOrder(true, install, std::vector<int>(install.rbegin(), install.rend()));
        EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
    } while (std::next_permutation(install.begin(), install.end()));
}

// A subclasser of the plain kind: SetWindowLongPtr and CallWindowProc, restoring only what it replaced.
struct CRawSubclasser {
    static WNDPROC s_prev;
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PROBE)
            g_log.push_back("raw");
        return ::CallWindowProcA(s_prev, hWnd, message, wParam, lParam);
    }
    static void Install(HWND hWnd) {
        s_prev = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    static void Remove(HWND hWnd) { ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_prev)); }
};
WNDPROC CRawSubclasser::s_prev = nullptr;

TEST(Subclass, LeavingFromUnderARawSubclasserKeepsTheChainAndCleansUpLater) {
    const long states = CSubclass::GetLiveStateCount();
    HWND hWnd = MakeWindow();
    const LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    CRecorder a("A"), b("B");
    ASSERT_TRUE(a.Subclass(hWnd));
    CRawSubclasser::Install(hWnd);
    ASSERT_TRUE(b.Subclass(hWnd));
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"B", "raw", "A", "base"}));
    // A is under the raw subclasser: it stays in the chain, passing messages on unseen.
    ASSERT_TRUE(a.Unsubclass());
    EXPECT_FALSE(a.IsAttached());
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"B", "raw", "base"}));
    ASSERT_TRUE(b.Unsubclass()); // on top: gone at once
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"raw", "base"}));
    CRawSubclasser::Remove(hWnd); // puts A's procedure back on top
    EXPECT_NE(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"base"}));
    // The first message after that found A's leftover layer on top and took it out.
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
    ::DestroyWindow(hWnd);
}

TEST(Subclass, TheSameObjectCanComeBackAndTwoWindowsAreIndependent) {
    HWND one = MakeWindow(), two = MakeWindow();
    CRecorder a("A"), b("B");
    ASSERT_TRUE(a.Subclass(one));
    EXPECT_FALSE(a.Subclass(two)); // one window at a time
    ASSERT_TRUE(b.Subclass(two));
    EXPECT_EQ(Probe(one), (std::vector<std::string>{"A", "base"}));
    EXPECT_EQ(Probe(two), (std::vector<std::string>{"B", "base"}));
    ASSERT_TRUE(a.Unsubclass());
    EXPECT_FALSE(a.Unsubclass());
    ASSERT_TRUE(a.Subclass(two));
    EXPECT_EQ(Probe(two), (std::vector<std::string>{"A", "B", "base"}));
    EXPECT_EQ(Probe(one), (std::vector<std::string>{"base"}));
    EXPECT_FALSE(a.Subclass(nullptr));
    ::DestroyWindow(one);
    ::DestroyWindow(two);
}

// Records the text of WM_SETTEXT as the layer received it.
class CTextRecorder : public CSubclass {
public:
    std::wstring m_wide;
    std::string m_narrow;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT) {
            if (IsUnicode())
                m_wide = reinterpret_cast<const wchar_t *>(lParam);
            else
                m_narrow = reinterpret_cast<const char *>(lParam);
        }
        return Default(message, wParam, lParam);
    }
};

TEST(Subclass, AUnicodeWindowStaysUnicodeAndItsTextIntact) {
    // U+4E2D is in GBK; U+0E01 (Thai) is not: through an ANSI procedure it would become '?'.
    const wchar_t text[] = L"\u4E2D\u0E01";
    BOOL lost = FALSE;
    char narrow[16];
    ::WideCharToMultiByte(936, 0, L"\u0E01", 1, narrow, sizeof(narrow), nullptr, &lost);
    ASSERT_TRUE(lost) << "the second character must not exist in GBK for this test to mean anything";

    HWND hWnd = MakeWindow(true);
    ASSERT_TRUE(::IsWindowUnicode(hWnd));
    CTextRecorder rec, top;
    ASSERT_TRUE(rec.Subclass(hWnd));
    ASSERT_TRUE(::SetWindowSubclass(hWnd, &ComctlProc, 2, 0));
    ASSERT_TRUE(top.Subclass(hWnd));
    EXPECT_TRUE(::IsWindowUnicode(hWnd));
    EXPECT_TRUE(rec.IsUnicode());
    ASSERT_TRUE(::SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
    EXPECT_EQ(top.m_wide, text);
    EXPECT_EQ(rec.m_wide, text);
    wchar_t back[16] = {};
    ::GetWindowTextW(hWnd, back, 16);
    EXPECT_EQ(std::wstring(back), text);
    // Leaving keeps it Unicode too.
    ASSERT_TRUE(top.Unsubclass());
    ASSERT_TRUE(::RemoveWindowSubclass(hWnd, &ComctlProc, 2));
    ASSERT_TRUE(rec.Unsubclass());
    EXPECT_TRUE(::IsWindowUnicode(hWnd));
    ::DestroyWindow(hWnd);
}

TEST(Subclass, AnAnsiWindowStaysAnsiAndGetsItsGbkBytes) {
    HWND hWnd = MakeWindow(false);
    ASSERT_FALSE(::IsWindowUnicode(hWnd));
    CTextRecorder rec;
    ASSERT_TRUE(rec.Subclass(hWnd));
    EXPECT_FALSE(::IsWindowUnicode(hWnd));
    EXPECT_FALSE(rec.IsUnicode());
    const char gbk[] = "\xD6\xD0\xCE\xC4"; // 中文 in GBK
    ::SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gbk));
    EXPECT_EQ(rec.m_narrow, gbk);
    // A Unicode sender's text arrives converted to the window's code page.
    ::SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u4E2D"));
    EXPECT_EQ(rec.m_narrow, "\xD6\xD0");
    ::DestroyWindow(hWnd);
}

TEST(Subclass, DestroyingASubclassedWindowFreesEveryState) {
    const long states = CSubclass::GetLiveStateCount();
    HWND hWnd = MakeWindow();
    CRecorder a("A"), b("B"), c("C");
    ASSERT_TRUE(a.Subclass(hWnd));
    ASSERT_TRUE(b.Subclass(hWnd));
    ASSERT_TRUE(::SetWindowSubclass(hWnd, &ComctlProc, 3, 0));
    ASSERT_TRUE(c.Subclass(hWnd));
    ASSERT_TRUE(b.Unsubclass()); // a pass-through layer under comctl32's
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states + 4); // the window's record and three layers
    ::DestroyWindow(hWnd);
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
    EXPECT_FALSE(a.IsAttached());
    EXPECT_FALSE(c.IsAttached());
    EXPECT_EQ(a.m_nFinal, 1);
    EXPECT_EQ(b.m_nFinal, 0); // had left before
    EXPECT_EQ(c.m_nFinal, 1);
    EXPECT_EQ(::GetPropA(hWnd, "QxPlatformSubclassChain"), nullptr);
}

// An object that deletes itself with its window.
class CSelfDeleting : public CSubclass {
public:
    static int s_deleted;

protected:
    void OnFinalMessage(HWND) override {
        ++s_deleted;
        delete this;
    }
};
int CSelfDeleting::s_deleted = 0;

TEST(Subclass, AnObjectMayDeleteItselfWithItsWindow) {
    const long states = CSubclass::GetLiveStateCount();
    HWND hWnd = MakeWindow();
    ASSERT_TRUE((new CSelfDeleting)->Subclass(hWnd));
    ASSERT_TRUE((new CSelfDeleting)->Subclass(hWnd));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(CSelfDeleting::s_deleted, 2);
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
}

// Throws from its handler, before or after passing the message on.
class CThrower : public CSubclass {
public:
    bool m_bAfterDefault = false;
    int m_nThrown = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PROBE || message == WM_NCDESTROY) {
            g_log.push_back("thrower");
            if (m_bAfterDefault)
                Default(message, wParam, lParam);
            ++m_nThrown;
            throw std::runtime_error("handler failed");
        }
        return Default(message, wParam, lParam);
    }
};

TEST(Subclass, AnExceptionNeverLeavesTheWindowProcedure) {
    const long states = CSubclass::GetLiveStateCount();
    HWND hWnd = MakeWindow();
    CRecorder below("below");
    CThrower thrower;
    CRecorder above("above");
    ASSERT_TRUE(below.Subclass(hWnd));
    ASSERT_TRUE(thrower.Subclass(hWnd));
    ASSERT_TRUE(above.Subclass(hWnd));
    // Thrown before passing on: the message still reaches the rest of the chain, once.
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"above", "thrower", "below", "base"}));
    thrower.m_bAfterDefault = true;
    // Thrown after passing on: nobody sees it twice.
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"above", "thrower", "below", "base"}));
    EXPECT_EQ(thrower.m_nThrown, 2);
    // The window still works, and even a throw on WM_NCDESTROY leaves nothing behind.
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"above", "thrower", "below", "base"}));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(thrower.m_nThrown, 4);
    EXPECT_FALSE(thrower.IsAttached());
    EXPECT_FALSE(below.IsAttached());
    EXPECT_EQ(below.m_nFinal, 1);
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
}

// Leaves its window from inside its own handler.
class CLeaver : public CSubclass {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PROBE) {
            g_log.push_back("leaver");
            Unsubclass();
        }
        return Default(message, wParam, lParam); // still reaches the layer below
    }
};

TEST(Subclass, LeavingFromInsideAHandlerStillPassesTheMessageOn) {
    const long states = CSubclass::GetLiveStateCount();
    HWND hWnd = MakeWindow();
    const LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    CLeaver leaver;
    ASSERT_TRUE(leaver.Subclass(hWnd));
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"leaver", "base"}));
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"base"}));
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CSubclass::GetLiveStateCount(), states);
    ::DestroyWindow(hWnd);
}

TEST(Subclass, AFullChainRefusesMore) {
    HWND hWnd = MakeWindow();
    std::vector<CRecorder *> layers;
    for (int i = 0; i < CSubclass::kMaxLayers; ++i) {
        layers.push_back(new CRecorder("L" + std::to_string(i)));
        ASSERT_TRUE(layers.back()->Subclass(hWnd));
    }
    CRecorder extra("extra");
    EXPECT_FALSE(extra.Subclass(hWnd));
    EXPECT_EQ(Probe(hWnd).size(), static_cast<size_t>(CSubclass::kMaxLayers + 1));
    for (CRecorder *p : layers)
        delete p; // bottom first: each stays as a pass-through until the top one goes
    EXPECT_EQ(Probe(hWnd), (std::vector<std::string>{"base"}));
    ::DestroyWindow(hWnd);
}

} // namespace

namespace {

// Counts the probes it sees and passes them on; touches nothing shared, so that threads can use it at once.
class CCounter : public CSubclass {
public:
    int m_nSeen = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_QUIET_PROBE)
            ++m_nSeen;
        return Default(message, wParam, lParam);
    }
};

} // namespace

// Every thread's windows share the process's table of chains: windows of four threads subclassed, messaged and
// destroyed at the same time each keep their own chain, and every record goes with its window.
TEST(Subclass, WindowsOfSeveralThreadsAreSubclassedAtTheSameTime) {
    RegisterClasses();
    const long states = CSubclass::GetLiveStateCount();
    const int kThreads = 4, kRounds = 150;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&failures] {
            for (int i = 0; i < kRounds; ++i) {
                HWND hWnd = MakeWindow(i % 2 == 1);
                CCounter first, second;
                if (!hWnd || !first.Subclass(hWnd) || !second.Subclass(hWnd)) {
                    ++failures;
                    continue;
                }
                if (::SendMessageA(hWnd, WM_QUIET_PROBE, 0, 0) != 9 || first.m_nSeen != 1 || second.m_nSeen != 1)
                    ++failures;
                if (i % 3 == 0)
                    first.Unsubclass(); // leaves from under the second layer: a pass-through layer stays
                ::DestroyWindow(hWnd);
                if (first.IsAttached() || second.IsAttached())
                    ++failures;
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(states, CSubclass::GetLiveStateCount());
}
