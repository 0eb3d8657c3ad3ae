// One block of memory for trampolines and relays, within jump reach of a code address; freed unless abandoned.
#pragma once

#include <windows.h>

// In 64-bit code the block must lie within ±2 GB of the entry it serves (relative jumps and [rip + disp32] operands
// reach no further); in 32-bit code any address will do. The block is writable until Seal makes it execute-read.
class CExecutableBlock {
public:
    enum : SIZE_T { SIZE = 4096 };

    CExecutableBlock() = default;
    ~CExecutableBlock() { Free(); }
    CExecutableBlock(const CExecutableBlock &) = delete;
    CExecutableBlock &operator=(const CExecutableBlock &) = delete;
    CExecutableBlock(CExecutableBlock &&other) noexcept : m_pBlock(other.Abandon()) {}
    CExecutableBlock &operator=(CExecutableBlock &&other) noexcept;

    // FALSE with ERROR_NOT_ENOUGH_MEMORY when no free place within reach could be committed.
    BOOL AllocateNear(const void *code);
    BOOL Seal();
    BYTE *Get() const { return m_pBlock; }
    void Free();
    // Forgets the block without freeing it: code may still run through it.
    BYTE *Abandon();

private:
    BYTE *m_pBlock = nullptr;
};
