#include "skin/CodeHook.h"
#include "skin/EntryPatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// What only 64-bit code needs: a relay that reaches a replacement more than 2 GB away, and trampolines placed within
// reach of their entries.
namespace {
int Seven() {
    return 7;
}

const char *const NOT_HERE = "32-bit code: the entry jumps straight to the replacement (a rel32 reaches the whole "
                             "address space), so there is no relay and no reach to check";

// push rbx; mov eax, 42; pop rbx; ret
const BYTE RETURNS_42[] = {0x53, 0xB8, 0x2A, 0x00, 0x00, 0x00, 0x5B, 0xC3};

void Poke(void *at, const void *bytes, size_t size) {
    DWORD previous = 0, ignored = 0;
    ASSERT_TRUE(::VirtualProtect(at, size, PAGE_EXECUTE_READWRITE, &previous));
    std::memcpy(at, bytes, size);
    ::VirtualProtect(at, size, previous, &ignored);
    ::FlushInstructionCache(::GetCurrentProcess(), at, size);
}

LONGLONG Distance(const void *a, const void *b) {
    return static_cast<LONGLONG>(reinterpret_cast<ULONG_PTR>(a)) -
           static_cast<LONGLONG>(reinterpret_cast<ULONG_PTR>(b));
}

// An executable page of its own with the crafted function at its start.
class CCraftedFunction {
public:
    CCraftedFunction()
        : m_pCode(static_cast<BYTE *>(::VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {
        DWORD previous = 0;
        if (m_pCode) {
            std::memcpy(m_pCode, RETURNS_42, sizeof RETURNS_42);
            ::VirtualProtect(m_pCode, 4096, PAGE_EXECUTE_READ, &previous);
        }
    }
    ~CCraftedFunction() {
        if (m_pCode)
            ::VirtualFree(m_pCode, 0, MEM_RELEASE);
    }
    CCraftedFunction(const CCraftedFunction &) = delete;
    CCraftedFunction &operator=(const CCraftedFunction &) = delete;
    BYTE *Get() const { return m_pCode; }

private:
    BYTE *m_pCode;
};
} // namespace

TEST(CodeHookX64, TheEntryJumpsToARelayBesideTheTrampolineThatReachesTheReplacement) {
    if (sizeof(void *) != 8)
        GTEST_SKIP() << NOT_HERE;
    CCraftedFunction function;
    ASSERT_NE(nullptr, function.Get());
    CCodeHook hook;
    ASSERT_TRUE(hook.Install(function.Get(), reinterpret_cast<void *>(&Seven))) << ::GetLastError();
    const BYTE *entry = function.Get();
    const BYTE *trampoline = static_cast<const BYTE *>(hook.GetTrampoline());
    ASSERT_EQ(0xE9, entry[0]);
    INT32 rel;
    std::memcpy(&rel, entry + 1, 4);
    EXPECT_EQ(trampoline + CEntryPatch::TRAMPOLINE_SIZE, entry + 5 + rel);
    const BYTE relayStart[6] = {0xFF, 0x25, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(relayStart, trampoline + CEntryPatch::TRAMPOLINE_SIZE, 6));
    void *relayed = nullptr;
    std::memcpy(&relayed, trampoline + CEntryPatch::TRAMPOLINE_SIZE + 6, sizeof relayed);
    EXPECT_EQ(reinterpret_cast<void *>(&Seven), relayed);
    EXPECT_LT(std::llabs(Distance(trampoline, entry)), 0x7FFFFFFFLL);
    EXPECT_EQ(7, reinterpret_cast<int (*)()>(function.Get())());
    ASSERT_TRUE(hook.Remove());
    EXPECT_EQ(0, std::memcmp(RETURNS_42, function.Get(), sizeof RETURNS_42));
}

TEST(CodeHookX64, ARelayThatLeadsElsewhereBlocksTheRemoval) {
    if (sizeof(void *) != 8)
        GTEST_SKIP() << NOT_HERE;
    CCraftedFunction function;
    CCodeHook hook;
    ASSERT_TRUE(hook.Install(function.Get(), reinterpret_cast<void *>(&Seven)));
    BYTE *address = static_cast<BYTE *>(hook.GetTrampoline()) + CEntryPatch::TRAMPOLINE_SIZE + 6;
    void *saved = nullptr, *elsewhere = function.Get() + 64;
    std::memcpy(&saved, address, sizeof saved);
    Poke(address, &elsewhere, sizeof elsewhere);
    ::SetLastError(0);
    EXPECT_FALSE(hook.Remove());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ACCESS), ::GetLastError());
    EXPECT_TRUE(hook.IsInstalled());
    Poke(address, &saved, sizeof saved);
    ASSERT_TRUE(hook.Remove());
}

TEST(CodeHookX64, TrampolinesOfTheSystemsScrollBarCodeLieWithinReach) {
    if (sizeof(void *) != 8)
        GTEST_SKIP() << NOT_HERE;
    // user32 and win32u lie far from the program and from each other; each trampoline must be near its own entry.
    const char *names[] = {"GetScrollInfo", "ShowScrollBar"};
    for (const char *name : names) {
        void *function = reinterpret_cast<void *>(::GetProcAddress(::LoadLibraryA("user32.dll"), name));
        ASSERT_NE(nullptr, function) << name;
        CCodeHook hook;
        ASSERT_TRUE(hook.Install(function, reinterpret_cast<void *>(&Seven))) << name << ": " << ::GetLastError();
        EXPECT_LT(std::llabs(Distance(hook.GetTrampoline(), hook.GetEntry())), 0x7FFFFFFFLL) << name;
        ASSERT_TRUE(hook.Remove()) << name;
    }
}
