#include "skin/CodeHook.h"
#include "skin/EntryPatch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// Crafted functions in pages of the test's own. Their bytes mean the same in 32-bit and 64-bit code (or are built
// for the running one), so the same cases run in both Windows builds.
namespace {
typedef int (*IntFunction)();

int Seven() {
    return 7;
}

// Two pages: the first executable, the second inaccessible, so that an entry can end exactly where memory ends.
class CCodePages {
public:
    CCodePages() {
        m_pBase = static_cast<BYTE *>(::VirtualAlloc(nullptr, 2 * PAGE, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous = 0;
        if (m_pBase) {
            std::memset(m_pBase, 0xCC, PAGE);
            ::VirtualProtect(m_pBase + PAGE, PAGE, PAGE_NOACCESS, &previous);
            ::VirtualProtect(m_pBase, PAGE, PAGE_EXECUTE_READ, &previous);
        }
    }
    ~CCodePages() {
        if (m_pBase)
            ::VirtualFree(m_pBase, 0, MEM_RELEASE);
    }
    CCodePages(const CCodePages &) = delete;
    CCodePages &operator=(const CCodePages &) = delete;

    enum : size_t { PAGE = 4096 };
    BYTE *At(size_t offset) const { return m_pBase + offset; }
    BYTE *End() const { return m_pBase + PAGE; }

private:
    BYTE *m_pBase;
};

// Writes into code the test does not otherwise own the protection of.
void Poke(void *at, const void *bytes, size_t size) {
    DWORD previous = 0, ignored = 0;
    ASSERT_TRUE(::VirtualProtect(at, size, PAGE_EXECUTE_READWRITE, &previous));
    std::memcpy(at, bytes, size);
    ::VirtualProtect(at, size, previous, &ignored);
    ::FlushInstructionCache(::GetCurrentProcess(), at, size);
}

void Poke(void *at, std::initializer_list<BYTE> bytes) {
    const std::vector<BYTE> v(bytes);
    Poke(at, v.data(), v.size());
}

std::vector<BYTE> Read(const void *at, size_t size) {
    return std::vector<BYTE>(static_cast<const BYTE *>(at), static_cast<const BYTE *>(at) + size);
}

// A jump through the pointer at `slot`: FF 25 with an absolute address (32-bit) or one relative to the next
// instruction (64-bit).
void PokeIndirectJump(BYTE *at, void *const *slot) {
    BYTE jump[6] = {0xFF, 0x25};
#ifdef _WIN64
    const INT32 disp = static_cast<INT32>(reinterpret_cast<const BYTE *>(slot) - (at + 6));
#else
    const INT32 disp = static_cast<INT32>(reinterpret_cast<ULONG_PTR>(slot));
#endif
    std::memcpy(jump + 2, &disp, 4);
    Poke(at, jump, sizeof jump);
}

// Where a jump at `code` finally leads: through E9 rel32, then through a relay (FF 25 00000000 <address>).
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

// push ebx/rbx; mov eax, 42; pop; ret
const BYTE RETURNS_42[] = {0x53, 0xB8, 0x2A, 0x00, 0x00, 0x00, 0x5B, 0xC3};

DWORD Protection(const void *at) {
    MEMORY_BASIC_INFORMATION mbi;
    return ::VirtualQuery(at, &mbi, sizeof mbi) ? mbi.Protect : 0;
}
} // namespace

TEST(CodeHook, CraftedFunctionRunsThroughTheReplacementAndItsTrampoline) {
    CCodePages pages;
    BYTE *entry = pages.At(0);
    Poke(entry, RETURNS_42, sizeof RETURNS_42);
    const std::vector<BYTE> before = Read(entry, 16);
    ASSERT_EQ(42, reinterpret_cast<IntFunction>(entry)());

    CCodeHook hook;
    ASSERT_TRUE(hook.Install(entry, reinterpret_cast<void *>(&Seven))) << ::GetLastError();
    EXPECT_EQ(entry, hook.GetEntry());
    EXPECT_EQ(0xE9, entry[0]);
    EXPECT_EQ(reinterpret_cast<void *>(&Seven), FinalDestination(entry));
    EXPECT_EQ(0xCC, entry[5]) << "the rest of the 6 covered bytes is filler";
    EXPECT_EQ(before[6], entry[6]) << "bytes beyond the covered ones stay";
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), Protection(entry)) << "the protection comes back";
    EXPECT_EQ(6, static_cast<const BYTE *>(hook.GetTrampoline())[CEntryPatch::TRAMPOLINE_SIZE - 1]);
    EXPECT_EQ(7, reinterpret_cast<IntFunction>(entry)());
    EXPECT_EQ(42, reinterpret_cast<IntFunction>(hook.GetTrampoline())());

    ::SetLastError(0);
    EXPECT_FALSE(hook.Install(entry, reinterpret_cast<void *>(&Seven))) << "one interception per hook";
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), ::GetLastError());

    ASSERT_TRUE(hook.Remove()) << ::GetLastError();
    EXPECT_FALSE(hook.IsInstalled());
    EXPECT_EQ(nullptr, hook.GetTrampoline());
    EXPECT_EQ(before, Read(entry, 16));
    EXPECT_EQ(42, reinterpret_cast<IntFunction>(entry)());
}

TEST(CodeHook, RelativeOperandsInTheCoveredBytesStillMeanTheirTargets) {
    CCodePages pages;
    // call helper (rel32); ret.   helper: mov eax, 99; ret
    BYTE *entry = pages.At(0), *helper = pages.At(256);
    const INT32 rel = static_cast<INT32>(helper - (entry + 5));
    BYTE call[6] = {0xE8, 0, 0, 0, 0, 0xC3};
    std::memcpy(call + 1, &rel, 4);
    Poke(entry, call, sizeof call);
    Poke(helper, {0xB8, 0x63, 0x00, 0x00, 0x00, 0xC3});

    // mov eax, [data]; ret — the operand is absolute in 32-bit code and relative to the next instruction in 64-bit
    // code.
    BYTE *load = pages.At(512);
    const DWORD value = 0x12345678;
    BYTE *data = pages.At(1024);
    Poke(data, &value, sizeof value);
#ifdef _WIN64
    const INT32 disp = static_cast<INT32>(data - (load + 6));
#else
    const INT32 disp = static_cast<INT32>(reinterpret_cast<ULONG_PTR>(data));
#endif
    BYTE mov[7] = {0x8B, 0x05, 0, 0, 0, 0, 0xC3};
    std::memcpy(mov + 2, &disp, 4);
    Poke(load, mov, sizeof mov);

    CCodeHook callHook, loadHook;
    ASSERT_TRUE(callHook.Install(entry, reinterpret_cast<void *>(&Seven))) << ::GetLastError();
    ASSERT_TRUE(loadHook.Install(load, reinterpret_cast<void *>(&Seven))) << ::GetLastError();
    EXPECT_EQ(99, reinterpret_cast<IntFunction>(callHook.GetTrampoline())());
    EXPECT_EQ(static_cast<int>(value), reinterpret_cast<IntFunction>(loadHook.GetTrampoline())());
    EXPECT_EQ(7, reinterpret_cast<IntFunction>(load)());
    ASSERT_TRUE(callHook.Remove());
    ASSERT_TRUE(loadHook.Remove());
    EXPECT_EQ(std::vector<BYTE>(call, call + sizeof call), Read(entry, sizeof call));
    EXPECT_EQ(std::vector<BYTE>(mov, mov + sizeof mov), Read(load, sizeof mov));
}

TEST(CodeHook, RefusedEntriesStayUntouchedAndSetTheLastError) {
    struct Case {
        std::vector<BYTE> bytes;
        const char *what;
    } cases[] = {
        {{0xC3}, "returns at once"},
        {{0x53, 0xC2, 0x08, 0x00}, "returns after one byte"},
        {{0x53, 0xEB, 0xFE}, "jumps after one byte"},
        {{0x85, 0xC0, 0x74, 0x02, 0x90, 0x90}, "branches after two bytes"},
        {{0xFF, 0xE0}, "jumps through a register"},
        {{0x53, 0x0F, 0x0B}, "an unknown instruction (ud2)"},
        {{0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC}, "int3"},
    };
    CCodePages pages;
    for (const Case &c : cases) {
        BYTE *entry = pages.At(64);
        Poke(entry, c.bytes.data(), c.bytes.size());
        const std::vector<BYTE> before = Read(entry, 32);
        CCodeHook hook;
        ::SetLastError(0);
        EXPECT_FALSE(hook.Install(entry, reinterpret_cast<void *>(&Seven))) << c.what;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), ::GetLastError()) << c.what;
        EXPECT_FALSE(hook.IsInstalled()) << c.what;
        EXPECT_EQ(before, Read(entry, 32)) << c.what;
    }

    // An entry whose instruction runs into inaccessible memory: refused without reading there.
    BYTE *last = pages.End() - 3;
    Poke(last, {0x53, 0xB8, 0x2A}); // push; mov eax, imm32 cut after one immediate byte
    CCodeHook hook;
    ::SetLastError(0);
    EXPECT_FALSE(hook.Install(last, reinterpret_cast<void *>(&Seven)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), ::GetLastError());
    EXPECT_EQ(std::vector<BYTE>({0x53, 0xB8, 0x2A}), Read(last, 3));
}

TEST(CodeHook, JumpsThroughPointersAreFollowedToTheCodeTheyReach) {
    CCodePages pages;
    BYTE *stub = pages.At(0), *target = pages.At(256);
    void **slot = reinterpret_cast<void **>(pages.At(512));
    void *const pointer = target;
    Poke(slot, &pointer, sizeof pointer);
    PokeIndirectJump(stub, slot);
    Poke(target, RETURNS_42, sizeof RETURNS_42);
    const std::vector<BYTE> stubBefore = Read(stub, 16), targetBefore = Read(target, 16);

    CCodeHook hook;
    EXPECT_EQ(target, CCodeHook::ResolveEntry(stub));
    ASSERT_TRUE(hook.Install(stub, reinterpret_cast<void *>(&Seven))) << ::GetLastError();
    EXPECT_EQ(target, hook.GetEntry());
    EXPECT_EQ(stubBefore, Read(stub, 16)) << "the stub still jumps through its pointer";
    EXPECT_EQ(7, reinterpret_cast<IntFunction>(stub)());
    EXPECT_EQ(42, reinterpret_cast<IntFunction>(hook.GetTrampoline())());
    ASSERT_TRUE(hook.Remove());
    EXPECT_EQ(targetBefore, Read(target, 16));

    // A pointer that leads to an entry that is refused: nothing changes anywhere.
    Poke(target, {0xC3});
    ::SetLastError(0);
    EXPECT_FALSE(hook.Install(stub, reinterpret_cast<void *>(&Seven)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), ::GetLastError());
    EXPECT_EQ(stubBefore, Read(stub, 16));

    // A pointer in inaccessible memory cannot be followed, and a jump is no entry to copy.
    PokeIndirectJump(stub, reinterpret_cast<void *const *>(pages.End() + 64));
    ::SetLastError(0);
    EXPECT_FALSE(hook.Install(stub, reinterpret_cast<void *>(&Seven)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), ::GetLastError());

    // A stub that jumps through a pointer to itself: followed a few times, then refused.
    void *const self = stub;
    Poke(slot, &self, sizeof self);
    PokeIndirectJump(stub, slot);
    ::SetLastError(0);
    EXPECT_FALSE(hook.Install(stub, reinterpret_cast<void *>(&Seven)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), ::GetLastError());
}

TEST(CodeHook, RemovalRefusesWhatTheInterceptionDidNotLeave) {
    CCodePages pages;
    BYTE *entry = pages.At(0);
    Poke(entry, RETURNS_42, sizeof RETURNS_42);
    const std::vector<BYTE> original = Read(entry, 16);

    CCodeHook idle;
    ::SetLastError(0);
    EXPECT_FALSE(idle.Remove());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), ::GetLastError()) << "nothing installed";

    CCodeHook hook;
    ASSERT_TRUE(hook.Install(entry, reinterpret_cast<void *>(&Seven)));
    const std::vector<BYTE> patched = Read(entry, 16);
    BYTE *trampoline = static_cast<BYTE *>(hook.GetTrampoline());
    const std::vector<BYTE> intact = Read(trampoline, CEntryPatch::TRAMPOLINE_SIZE);

    struct Damage {
        BYTE *at;
        std::vector<BYTE> bytes;
        DWORD error;
        const char *what;
    } damages[] = {
        {entry, {0x53}, ERROR_INVALID_BLOCK, "the entry no longer jumps"},
        {entry + 1, {static_cast<BYTE>(patched[1] + 1)}, ERROR_INVALID_ACCESS, "the entry jumps elsewhere"},
        {trampoline + CEntryPatch::TRAMPOLINE_SIZE - 1, {27}, ERROR_INVALID_HANDLE, "covered length 27"},
        {trampoline + CEntryPatch::TRAMPOLINE_SIZE - 1, {0}, ERROR_INVALID_HANDLE, "covered length 0"},
        {trampoline + 6, {0xCC}, ERROR_INVALID_HANDLE, "no jump back"},
        {trampoline, {0x0F, 0x0B}, ERROR_INVALID_DATA, "copied instructions that cannot go back"},
    };
    for (const Damage &d : damages) {
        const std::vector<BYTE> saved = Read(d.at, d.bytes.size());
        Poke(d.at, d.bytes.data(), d.bytes.size());
        ::SetLastError(0);
        EXPECT_FALSE(hook.Remove()) << d.what;
        EXPECT_EQ(d.error, ::GetLastError()) << d.what;
        EXPECT_TRUE(hook.IsInstalled()) << d.what;
        Poke(d.at, saved.data(), saved.size());
    }
    EXPECT_EQ(patched, Read(entry, 16));
    EXPECT_EQ(intact, Read(trampoline, CEntryPatch::TRAMPOLINE_SIZE));
    ASSERT_TRUE(hook.Remove()) << ::GetLastError();
    EXPECT_EQ(original, Read(entry, 16));
}

TEST(CodeHook, AHookLeftInstalledIsTakenOutWhenItGoes) {
    CCodePages pages;
    BYTE *entry = pages.At(0);
    Poke(entry, RETURNS_42, sizeof RETURNS_42);
    const std::vector<BYTE> original = Read(entry, 16);
    {
        CCodeHook hook;
        ASSERT_TRUE(hook.Install(entry, reinterpret_cast<void *>(&Seven)));
    }
    EXPECT_EQ(original, Read(entry, 16));
    EXPECT_EQ(42, reinterpret_cast<IntFunction>(entry)());
}
