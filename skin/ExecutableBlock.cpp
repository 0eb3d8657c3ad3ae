#include "skin/ExecutableBlock.h"

namespace {

#ifdef _WIN64
// The farthest start of the block from the code, leaving room for the block itself under the 2 GB of a rel32.
const ULONG_PTR REACH = 0x7FF00000;

BYTE *TryCommit(ULONG_PTR address) {
    return static_cast<BYTE *>(::VirtualAlloc(reinterpret_cast<void *>(address), CExecutableBlock::SIZE,
                                              MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

// Walks the address space from the code outwards, upwards then downwards, and commits the first free granule found.
BYTE *CommitNear(ULONG_PTR code) {
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const ULONG_PTR granule = si.dwAllocationGranularity;
    const ULONG_PTR lowest = reinterpret_cast<ULONG_PTR>(si.lpMinimumApplicationAddress);
    const ULONG_PTR highest = reinterpret_cast<ULONG_PTR>(si.lpMaximumApplicationAddress);
    const ULONG_PTR top = code + REACH < highest && code + REACH > code ? code + REACH : highest;
    const ULONG_PTR bottom = code > lowest + REACH ? code - REACH : lowest;

    MEMORY_BASIC_INFORMATION mbi;
    for (ULONG_PTR at = (code + granule - 1) / granule * granule; at < top;) {
        if (!::VirtualQuery(reinterpret_cast<void *>(at), &mbi, sizeof mbi))
            break;
        const ULONG_PTR end = reinterpret_cast<ULONG_PTR>(mbi.BaseAddress) + mbi.RegionSize;
        if (mbi.State == MEM_FREE) {
            if (end - at >= CExecutableBlock::SIZE)
                if (BYTE *block = TryCommit(at))
                    return block;
            at += granule;
            continue;
        }
        // Skip the rest of the allocated region in one step.
        const ULONG_PTR next = (end + granule - 1) / granule * granule;
        at = next > at ? next : at + granule;
    }
    for (ULONG_PTR at = code / granule * granule; at > bottom + granule;) {
        at -= granule;
        if (!::VirtualQuery(reinterpret_cast<void *>(at), &mbi, sizeof mbi))
            break;
        if (mbi.State == MEM_FREE) {
            if (BYTE *block = TryCommit(at))
                return block;
        } else if (mbi.AllocationBase) {
            // Skip the whole allocation below us in one step.
            const ULONG_PTR base = reinterpret_cast<ULONG_PTR>(mbi.AllocationBase) / granule * granule;
            at = base < at ? base : at;
        }
    }
    return nullptr;
}
#endif

} // namespace

CExecutableBlock &CExecutableBlock::operator=(CExecutableBlock &&other) noexcept {
    if (this != &other) {
        Free();
        m_pBlock = other.Abandon();
    }
    return *this;
}

BOOL CExecutableBlock::AllocateNear(const void *code) {
    Free();
#ifdef _WIN64
    m_pBlock = CommitNear(reinterpret_cast<ULONG_PTR>(code));
#else
    m_pBlock = static_cast<BYTE *>(::VirtualAlloc(nullptr, SIZE, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#endif
    if (!m_pBlock) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

BOOL CExecutableBlock::Seal() {
    DWORD previous = 0;
    if (!m_pBlock || !::VirtualProtect(m_pBlock, SIZE, PAGE_EXECUTE_READ, &previous))
        return FALSE;
    ::FlushInstructionCache(::GetCurrentProcess(), m_pBlock, SIZE);
    return TRUE;
}

void CExecutableBlock::Free() {
    if (m_pBlock)
        ::VirtualFree(m_pBlock, 0, MEM_RELEASE);
    m_pBlock = nullptr;
}

BYTE *CExecutableBlock::Abandon() {
    BYTE *block = m_pBlock;
    m_pBlock = nullptr;
    return block;
}
