#include "skin/CodeHook.h"

#include "skin/EntryPatch.h"

#include <cstring>

namespace {

const int MAX_INDIRECTIONS = 4;

// The last-error value of each planning status (CEntryPatch::Status order).
const DWORD STATUS_ERRORS[] = {
    ERROR_SUCCESS,        // PATCH_OK
    ERROR_INVALID_DATA,   // PATCH_UNKNOWN_INSTRUCTION
    ERROR_INVALID_DATA,   // PATCH_EARLY_TRANSFER
    ERROR_INVALID_HANDLE, // PATCH_TOO_LONG
    ERROR_INVALID_DATA,   // PATCH_OUT_OF_REACH
    ERROR_INVALID_HANDLE, // PATCH_BAD_TRAMPOLINE
    ERROR_INVALID_BLOCK,  // PATCH_NOT_JUMPING
    ERROR_INVALID_ACCESS, // PATCH_JUMPS_ELSEWHERE
    ERROR_INVALID_DATA,   // PATCH_CANNOT_RESTORE
};
static_assert(sizeof STATUS_ERRORS / sizeof STATUS_ERRORS[0] == CEntryPatch::PATCH_CANNOT_RESTORE + 1,
              "one last-error value per status");

BOOL Fail(CEntryPatch::Status status) {
    ::SetLastError(STATUS_ERRORS[status]);
    return FALSE;
}

std::uint64_t Address(const void *p) {
    return reinterpret_cast<ULONG_PTR>(p);
}

bool IsReadable(const MEMORY_BASIC_INFORMATION &mbi) {
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return mbi.State == MEM_COMMIT && !(mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) && (mbi.Protect & readable);
}

// Copies up to `size` bytes from `at`, stopping where readable memory ends. Returns the number copied.
size_t ReadMemory(const void *at, void *to, size_t size) {
    size_t got = 0;
    while (got < size) {
        const BYTE *p = static_cast<const BYTE *>(at) + got;
        MEMORY_BASIC_INFORMATION mbi;
        if (!::VirtualQuery(p, &mbi, sizeof mbi) || !IsReadable(mbi))
            break;
        const size_t left = static_cast<const BYTE *>(mbi.BaseAddress) + mbi.RegionSize - p;
        const size_t n = left < size - got ? left : size - got;
        std::memcpy(static_cast<BYTE *>(to) + got, p, n);
        got += n;
    }
    return got;
}

// Writes code with the page protection lifted to execute-read-write, then restores it and flushes.
BOOL WriteCode(void *at, const void *bytes, size_t size) {
    DWORD previous = 0;
    if (!::VirtualProtect(at, size, PAGE_EXECUTE_READWRITE, &previous))
        return FALSE;
    std::memcpy(at, bytes, size);
    DWORD ignored = 0;
    ::VirtualProtect(at, size, previous, &ignored);
    ::FlushInstructionCache(::GetCurrentProcess(), at, size);
    return TRUE;
}

} // namespace

CX86Decoder::Mode CCodeHook::NativeMode() {
#ifdef _WIN64
    return CX86Decoder::MODE_64;
#else
    return CX86Decoder::MODE_32;
#endif
}

CCodeHook::~CCodeHook() {
    if (IsInstalled() && !Remove())
        m_block.Abandon();
}

void *CCodeHook::ResolveEntry(void *function) {
    BYTE *at = static_cast<BYTE *>(function);
    for (int i = 0; i < MAX_INDIRECTIONS && at; ++i) {
        BYTE code[CX86Decoder::MAX_LENGTH];
        const size_t size = ReadMemory(at, code, sizeof code);
        std::uint64_t slot = 0;
        BYTE *next = nullptr;
        if (!CEntryPatch::IndirectJumpSlot(code, size, Address(at), NativeMode(), &slot) ||
            ReadMemory(reinterpret_cast<void *>(static_cast<ULONG_PTR>(slot)), &next, sizeof next) != sizeof next ||
            !next)
            break;
        at = next;
    }
    return at;
}

BYTE *CCodeHook::JumpTarget() const {
    // 64-bit code reaches the replacement through the relay behind the trampoline.
    return NativeMode() == CX86Decoder::MODE_64 ? m_block.Get() + CEntryPatch::TRAMPOLINE_SIZE
                                                : static_cast<BYTE *>(m_pReplacement);
}

BOOL CCodeHook::Install(void *function, void *replacement) {
    if (IsInstalled()) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!function || !replacement) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BYTE *entry = static_cast<BYTE *>(ResolveEntry(function));
    BYTE code[CEntryPatch::TRAMPOLINE_SIZE];
    const size_t size = ReadMemory(entry, code, sizeof code);
    if (!m_block.AllocateNear(entry))
        return FALSE;
    m_pReplacement = replacement;
    BYTE *trampoline = m_block.Get();
    CEntryPatch::Install plan;
    const CEntryPatch::Status status = CEntryPatch::PlanInstall(code, size, Address(entry), Address(trampoline),
                                                                Address(JumpTarget()), NativeMode(), &plan);
    if (status != CEntryPatch::PATCH_OK) {
        m_block.Free();
        return Fail(status);
    }
    std::memcpy(trampoline, plan.trampoline, sizeof plan.trampoline);
    if (NativeMode() == CX86Decoder::MODE_64)
        CEntryPatch::BuildRelay(Address(replacement), trampoline + CEntryPatch::TRAMPOLINE_SIZE);
    // The trampoline is in place before the entry leads to it, so a replacement called at once finds it.
    m_pEntry = entry;
    if (!m_block.Seal() || !WriteCode(entry, plan.patch, plan.covered)) {
        const DWORD error = ::GetLastError();
        m_pEntry = nullptr;
        m_block.Free();
        ::SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL CCodeHook::Remove() {
    if (!IsInstalled()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    BYTE code[CEntryPatch::MAX_COVERED];
    const size_t size = ReadMemory(m_pEntry, code, sizeof code);
    BYTE restore[CEntryPatch::MAX_COVERED];
    size_t covered = 0;
    const BYTE *trampoline = m_block.Get();
    const CEntryPatch::Status status =
        CEntryPatch::PlanRemove(code, size, Address(m_pEntry), trampoline, Address(trampoline), Address(JumpTarget()),
                                NativeMode(), restore, &covered);
    if (status != CEntryPatch::PATCH_OK)
        return Fail(status);
    std::uint64_t relayed = 0;
    if (NativeMode() == CX86Decoder::MODE_64 &&
        (!CEntryPatch::RelayDestination(trampoline + CEntryPatch::TRAMPOLINE_SIZE, CEntryPatch::RELAY_SIZE, &relayed) ||
         relayed != Address(m_pReplacement)))
        return Fail(CEntryPatch::PATCH_JUMPS_ELSEWHERE);
    if (size < covered)
        return Fail(CEntryPatch::PATCH_CANNOT_RESTORE);
    if (!WriteCode(m_pEntry, restore, covered))
        return FALSE;
    m_pEntry = nullptr;
    m_pReplacement = nullptr;
    m_block.Free();
    return TRUE;
}
