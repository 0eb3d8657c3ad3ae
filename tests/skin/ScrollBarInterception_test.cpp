#include "skin/ScrollBarInterception.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// The interception of the real user32 functions. The expected entries are found here independently of the code under
// test: the export, followed through jumps through pointers.
namespace {
typedef CScrollBarInterception I;
const int FUNCTIONS = I::FUNCTION_COUNT;

const BYTE *FollowPointerJumps(const void *function) {
    const BYTE *code = static_cast<const BYTE *>(function);
    while (code[0] == 0xFF && code[1] == 0x25) {
        INT32 disp;
        std::memcpy(&disp, code + 2, 4);
#ifdef _WIN64
        const BYTE *slot = code + 6 + disp;
#else
        const BYTE *slot = reinterpret_cast<const BYTE *>(static_cast<ULONG_PTR>(static_cast<DWORD>(disp)));
#endif
        std::memcpy(&code, slot, sizeof code);
    }
    return code;
}

const BYTE *EntryOf(int f) {
    return FollowPointerJumps(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("user32.dll"), I::FunctionName(I::Function(f)))));
}

// Through E9 rel32, then a relay (FF 25 00000000 <address>) if there is one.
const void *FinalDestination(const BYTE *code) {
    if (code[0] != 0xE9)
        return code;
    INT32 rel;
    std::memcpy(&rel, code + 1, 4);
    const BYTE *to = code + 5 + rel;
    const BYTE relay[6] = {0xFF, 0x25, 0, 0, 0, 0};
    if (sizeof(void *) == 8 && std::memcmp(to, relay, sizeof relay) == 0) {
        const void *distant;
        std::memcpy(&distant, to + 6, sizeof distant);
        return distant;
    }
    return to;
}

std::vector<BYTE> Read(const BYTE *at, size_t size) {
    return std::vector<BYTE>(at, at + size);
}

// The skinned bars' stand-in: distinctive answers, and per function the calls and the last one's arguments.
struct Calls {
    int count[FUNCTIONS];
    HWND hWnd[FUNCTIONS];
    int bar[FUNCTIONS];
    int value[FUNCTIONS]; // arrows, nPos, pos, min or show, by function; -1 when there is none
};
Calls g_calls;

void Record(I::Function f, HWND hWnd, int bar, int value) {
    ++g_calls.count[f];
    g_calls.hWnd[f] = hWnd, g_calls.bar[f] = bar, g_calls.value[f] = value;
}

BOOL FakeEnable(HWND hWnd, UINT bar, UINT arrows) {
    return Record(I::ENABLE_SCROLL_BAR, hWnd, bar, arrows), 5;
}
BOOL FakeGetInfo(HWND hWnd, int bar, LPSCROLLINFO info) {
    Record(I::GET_SCROLL_INFO, hWnd, bar, -1);
    info->nPos = 777;
    return 6;
}
int FakeGetPos(HWND hWnd, int bar) {
    return Record(I::GET_SCROLL_POS, hWnd, bar, -1), 4242;
}
BOOL FakeGetRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos) {
    Record(I::GET_SCROLL_RANGE, hWnd, bar, -1);
    *minPos = -5, *maxPos = 555;
    return 7;
}
int FakeSetInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL) {
    return Record(I::SET_SCROLL_INFO, hWnd, bar, info ? info->nPos : -2), 8;
}
int FakeSetPos(HWND hWnd, int bar, int pos, BOOL) {
    return Record(I::SET_SCROLL_POS, hWnd, bar, pos), 9;
}
BOOL FakeSetRange(HWND hWnd, int bar, int minPos, int, BOOL) {
    return Record(I::SET_SCROLL_RANGE, hWnd, bar, minPos), 10;
}
BOOL FakeShow(HWND hWnd, int bar, BOOL show) {
    return Record(I::SHOW_SCROLL_BAR, hWnd, bar, show), 11;
}
const ScrollSkinFunctions FAKE_BARS = {FakeEnable,  FakeGetInfo, FakeGetPos,   FakeGetRange,
                                       FakeSetInfo, FakeSetPos,  FakeSetRange, FakeShow};

int TotalCalls() {
    int total = 0;
    for (int n : g_calls.count)
        total += n;
    return total;
}

// Everything a program can read back from one window's bars.
struct BarState {
    SCROLLINFO vert, horz;
    int pos, minPos, maxPos;
    BOOL infoOk, rangeOk;
    LONG style;

    bool operator==(const BarState &o) const {
        return std::memcmp(&vert, &o.vert, sizeof vert) == 0 && std::memcmp(&horz, &o.horz, sizeof horz) == 0 &&
               pos == o.pos && minPos == o.minPos && maxPos == o.maxPos && infoOk == o.infoOk && rangeOk == o.rangeOk &&
               style == o.style;
    }
};

BarState ReadBars(HWND hWnd) {
    BarState s;
    std::memset(&s, 0, sizeof s);
    s.vert.cbSize = s.horz.cbSize = sizeof(SCROLLINFO);
    s.vert.fMask = s.horz.fMask = SIF_ALL;
    s.infoOk = ::GetScrollInfo(hWnd, SB_VERT, &s.vert) && ::GetScrollInfo(hWnd, SB_HORZ, &s.horz);
    s.pos = ::GetScrollPos(hWnd, SB_VERT);
    s.rangeOk = ::GetScrollRange(hWnd, SB_HORZ, &s.minPos, &s.maxPos);
    s.style = ::GetWindowLongA(hWnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
    return s;
}

// The same changes made through whatever ::Set* and friends lead to.
void ChangeBars(HWND hWnd) {
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 200, 20, 37, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &si, FALSE);
    ::SetScrollRange(hWnd, SB_HORZ, 10, 90, FALSE);
    ::SetScrollPos(hWnd, SB_HORZ, 55, FALSE);
    ::EnableScrollBar(hWnd, SB_HORZ, ESB_DISABLE_LEFT);
    ::ShowScrollBar(hWnd, SB_VERT, TRUE);
}

class ScrollBarInterception : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&g_calls, 0, sizeof g_calls);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QxScrollInterceptionTest";
        ::RegisterClassA(&wc);
        m_hWnd = Create();
        ASSERT_NE(nullptr, m_hWnd);
        for (int f = 0; f < FUNCTIONS; ++f)
            m_before[f] = Read(EntryOf(f), 32);
    }
    void TearDown() override {
        I::RemoveAll();
        I::SetSkinnedBars(nullptr);
        for (HWND hWnd : m_windows)
            ::DestroyWindow(hWnd);
    }
    HWND Create() {
        HWND hWnd = ::CreateWindowExA(0, "QxScrollInterceptionTest", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL,
                                      0, 0, 300, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (hWnd)
            m_windows.push_back(hWnd);
        return hWnd;
    }
    void ExpectEntriesAsBefore(const char *when) {
        for (int f = 0; f < FUNCTIONS; ++f)
            EXPECT_EQ(m_before[f], Read(EntryOf(f), 32)) << I::FunctionName(I::Function(f)) << " " << when;
    }

    HWND m_hWnd = nullptr;
    std::vector<HWND> m_windows;
    std::vector<BYTE> m_before[FUNCTIONS];
};
} // namespace

TEST_F(ScrollBarInterception, EveryFunctionStartsWithAJumpToItsReplacementUntilRemoved) {
    ::SetLastError(ERROR_INVALID_FUNCTION);
    ASSERT_EQ(FUNCTIONS, I::InstallAll());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ::GetLastError());
    EXPECT_EQ(FUNCTIONS, I::InstallAll()) << "installing again changes nothing";
    for (int f = 0; f < FUNCTIONS; ++f) {
        const I::Function function = I::Function(f);
        const BYTE *entry = EntryOf(f);
        EXPECT_TRUE(I::IsInstalled(function)) << I::FunctionName(function);
        EXPECT_EQ(entry, I::PatchedEntry(function)) << I::FunctionName(function);
        EXPECT_EQ(0xE9, entry[0]) << I::FunctionName(function);
        EXPECT_EQ(I::Replacement(function), FinalDestination(entry)) << I::FunctionName(function);
    }
    EXPECT_EQ(FUNCTIONS, I::RemoveAll());
    EXPECT_EQ(0, I::InstalledCount());
    EXPECT_EQ(0, I::RemoveAll()) << "nothing left to remove";
    ExpectEntriesAsBefore("after removal");
}

TEST_F(ScrollBarInterception, PlainWindowsGetTheSystemsAnswers) {
    ChangeBars(m_hWnd);
    const BarState system = ReadBars(m_hWnd);
    ASSERT_TRUE(system.infoOk);
    ASSERT_EQ(37, system.vert.nPos);
    ::SetLastError(0);
    const int invalidPos = ::GetScrollPos(nullptr, SB_VERT);
    const DWORD invalidError = ::GetLastError();

    I::SetSkinnedBars(&FAKE_BARS);
    ASSERT_EQ(FUNCTIONS, I::InstallAll());
    EXPECT_TRUE(ReadBars(m_hWnd) == system) << "read through the replacements and trampolines";
    SCROLLINFO direct = {sizeof direct, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(I::SystemGetScrollInfo(m_hWnd, SB_VERT, &direct)) << "straight through the trampoline";
    EXPECT_EQ(0, std::memcmp(&direct, &system.vert, sizeof direct));
    ::SetLastError(0);
    EXPECT_EQ(invalidPos, ::GetScrollPos(nullptr, SB_VERT));
    EXPECT_EQ(invalidError, ::GetLastError()) << "failures keep the system's last error";

    // Changes made while intercepted land in the system's bars: another window changed the same way reads the same.
    HWND other = Create();
    ASSERT_NE(nullptr, other);
    ChangeBars(other);
    const BarState changedIntercepted = ReadBars(other);
    EXPECT_EQ(0, TotalCalls()) << "windows without the property never reach the skinned bars";
    ASSERT_EQ(FUNCTIONS, I::RemoveAll());
    EXPECT_TRUE(ReadBars(other) == changedIntercepted);
    EXPECT_TRUE(ReadBars(other) == system);
}

TEST_F(ScrollBarInterception, WindowsWithThePropertyGetTheRegisteredAnswers) {
    ChangeBars(m_hWnd);
    const BarState system = ReadBars(m_hWnd);
    ASSERT_TRUE(::SetPropA(m_hWnd, I::SKINNED_BARS_PROPERTY, reinterpret_cast<HANDLE>(1)));
    I::SetSkinnedBars(&FAKE_BARS);
    ASSERT_EQ(FUNCTIONS, I::InstallAll());

    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, 13, 0};
    int minPos = 0, maxPos = 0;
    struct Call {
        I::Function function;
        int result, answer, bar, value;
    } calls[] = {
        {I::ENABLE_SCROLL_BAR, ::EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_BOTH), 5, SB_VERT, ESB_DISABLE_BOTH},
        {I::GET_SCROLL_INFO, ::GetScrollInfo(m_hWnd, SB_HORZ, &si), 6, SB_HORZ, -1},
        {I::GET_SCROLL_POS, ::GetScrollPos(m_hWnd, SB_VERT), 4242, SB_VERT, -1},
        {I::GET_SCROLL_RANGE, ::GetScrollRange(m_hWnd, SB_HORZ, &minPos, &maxPos), 7, SB_HORZ, -1},
        {I::SET_SCROLL_INFO, ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE), 8, SB_VERT, 777}, // nPos from GetScrollInfo
        {I::SET_SCROLL_POS, ::SetScrollPos(m_hWnd, SB_HORZ, 66, TRUE), 9, SB_HORZ, 66},
        {I::SET_SCROLL_RANGE, ::SetScrollRange(m_hWnd, SB_VERT, 3, 30, TRUE), 10, SB_VERT, 3},
        {I::SHOW_SCROLL_BAR, ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE), 11, SB_BOTH, FALSE},
    };
    for (const Call &c : calls) {
        const char *name = I::FunctionName(c.function);
        EXPECT_EQ(c.answer, c.result) << name;
        EXPECT_EQ(1, g_calls.count[c.function]) << name;
        EXPECT_EQ(m_hWnd, g_calls.hWnd[c.function]) << name;
        EXPECT_EQ(c.bar, g_calls.bar[c.function]) << name;
        EXPECT_EQ(c.value, g_calls.value[c.function]) << name;
    }
    EXPECT_EQ(-5, minPos);
    EXPECT_EQ(555, maxPos);

    // None of it reached the system's bars.
    SCROLLINFO vert = {sizeof vert, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(I::SystemGetScrollInfo(m_hWnd, SB_VERT, &vert));
    EXPECT_EQ(0, std::memcmp(&vert, &system.vert, sizeof vert));

    // Without registered bars, or without the interception, the property window is the system's again.
    I::SetSkinnedBars(nullptr);
    EXPECT_TRUE(ReadBars(m_hWnd) == system);
    I::SetSkinnedBars(&FAKE_BARS);
    ASSERT_EQ(FUNCTIONS, I::RemoveAll());
    const int before = TotalCalls();
    EXPECT_TRUE(ReadBars(m_hWnd) == system);
    EXPECT_EQ(before, TotalCalls());
}

TEST_F(ScrollBarInterception, AListViewsOwnScrollCallsReachTheSkinnedBars) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    I::SetSkinnedBars(&FAKE_BARS);
    ASSERT_EQ(FUNCTIONS, I::InstallAll());
    int callsFor[2] = {0, 0};
    for (int skinned = 0; skinned < 2; ++skinned) {
        HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 100, m_hWnd,
                                      nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, list);
        if (skinned)
            ::SetPropA(list, I::SKINNED_BARS_PROPERTY, reinterpret_cast<HANDLE>(1));
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 400;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        const int start = TotalCalls();
        for (int i = 0; i < 100; ++i) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char *>("row");
            ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageA(list, LVM_ENSUREVISIBLE, 50, FALSE);
        callsFor[skinned] = TotalCalls() - start;
        for (int f = 0; f < FUNCTIONS && skinned; ++f) {
            if (g_calls.count[f]) {
                EXPECT_EQ(list, g_calls.hWnd[f]) << I::FunctionName(I::Function(f));
            }
        }
        ::DestroyWindow(list);
    }
    EXPECT_EQ(0, callsFor[0]) << "a plain list view stays with the system";
    EXPECT_GT(callsFor[1], 0) << "the list view's own calls land in the skinned bars";
}

TEST_F(ScrollBarInterception, InstallAndRemovalAreRepeatable) {
    ChangeBars(m_hWnd);
    const BarState system = ReadBars(m_hWnd);
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(FUNCTIONS, I::InstallAll()) << "round " << round;
        ASSERT_TRUE(ReadBars(m_hWnd) == system) << "round " << round;
        ASSERT_EQ(FUNCTIONS, I::RemoveAll()) << "round " << round;
        ExpectEntriesAsBefore("after a round");
    }
}
