// One interception of a function entry in live code: a jump to a replacement, and a trampoline to the original.
#pragma once

#include "skin/ExecutableBlock.h"
#include "skin/X86Decoder.h"

#include <windows.h>

// Install follows jumps through pointers at the entry (import stubs) to the code they reach, and patches that.
// Failures keep the system's conventions: FALSE, the function untouched, and a last-error value:
//   ERROR_INVALID_DATA    an instruction the copier does not know, a return or jump within the first 5 bytes, an
//                         operand that cannot be re-aimed from the trampoline; on removal, trampoline instructions
//                         that cannot be carried back;
//   ERROR_INVALID_HANDLE  a covered length out of range (installing: beyond 26 bytes; removing: not 5 to 26), a
//                         trampoline that does not jump back to the entry, or nothing installed;
//   ERROR_INVALID_BLOCK   on removal, the entry no longer starts with the interception's jump;
//   ERROR_INVALID_ACCESS  on removal, the entry (or its relay) jumps somewhere else;
//   otherwise the value left by VirtualProtect or by the allocation (ERROR_NOT_ENOUGH_MEMORY).
// A removal that fails leaves the interception in place and its trampoline allocated.
class CCodeHook {
public:
    CCodeHook() = default;
    // Takes the interception out; if that fails the trampoline is abandoned, since the entry still leads to it.
    ~CCodeHook();
    CCodeHook(const CCodeHook &) = delete;
    CCodeHook &operator=(const CCodeHook &) = delete;

    BOOL Install(void *function, void *replacement);
    BOOL Remove();

    bool IsInstalled() const { return m_pEntry != nullptr; }
    // The original function, callable while installed; nullptr otherwise.
    void *GetTrampoline() const { return IsInstalled() ? m_block.Get() : nullptr; }
    // The patched code: the function itself, or where its jumps through pointers led.
    void *GetEntry() const { return m_pEntry; }

    // Where Install would patch: jumps through readable pointers followed, at most a few deep.
    static void *ResolveEntry(void *function);
    static CX86Decoder::Mode NativeMode();

private:
    BYTE *JumpTarget() const;

    CExecutableBlock m_block; // the trampoline, then (64-bit code) the relay to the replacement
    BYTE *m_pEntry = nullptr;
    void *m_pReplacement = nullptr;
};
