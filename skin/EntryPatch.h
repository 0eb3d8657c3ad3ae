// Plans the interception of one function entry on bytes: trampoline, entry jump, relay, and the checked way back.
#pragma once

#include "skin/X86Decoder.h"

#include <cstddef>
#include <cstdint>

// Addresses are plain numbers: the plans are built and tested on byte buffers, and only CCodeHook writes them into
// live code. In 32-bit code a relative jump reaches every address (displacements wrap around the address space); in
// 64-bit code it reaches ±2 GB, so a far replacement is reached through a relay placed beside the trampoline.
class CEntryPatch {
public:
    enum : std::size_t {
        JUMP_SIZE = 5, // E9 rel32
        MIN_COVERED = JUMP_SIZE,
        MAX_COVERED = 26,     // covered bytes + the jump back + the length byte fill the trampoline
        TRAMPOLINE_SIZE = 32, // copied instructions, the jump back, 0xCC filler; the covered length in the last byte
        RELAY_SIZE = 14,      // FF 25 00000000 (jmp [rip]) followed by the 64-bit destination
    };

    enum Status {
        PATCH_OK,
        // Installing.
        PATCH_UNKNOWN_INSTRUCTION, // the table does not know an instruction, or the bytes end inside one
        PATCH_EARLY_TRANSFER,      // a return or jump before the jump's 5 bytes are covered
        PATCH_TOO_LONG,            // the covered instructions would exceed MAX_COVERED bytes
        PATCH_OUT_OF_REACH,        // a relative operand, the jump back or the entry jump cannot reach its target
        // Removing.
        PATCH_BAD_TRAMPOLINE,  // the recorded length is out of range, or the trampoline does not jump back to the entry
        PATCH_NOT_JUMPING,     // the entry no longer starts with a relative jump
        PATCH_JUMPS_ELSEWHERE, // the entry jumps somewhere else than the interception put it
        PATCH_CANNOT_RESTORE,  // the trampoline's instructions cannot be carried back to the entry
    };

    struct Install {
        std::uint8_t trampoline[TRAMPOLINE_SIZE];
        std::uint8_t patch[MAX_COVERED]; // the first `covered` bytes go over the entry
        std::size_t covered;
    };

    // Copies whole instructions from the entry until at least JUMP_SIZE bytes are covered, re-aiming relative
    // operands (CALL rel32, [rip + disp32]) for the trampoline's address, and adds the jump back to the first
    // instruction not copied. The patch is a jump from the entry to jumpTarget, then 0xCC up to the covered length.
    static Status PlanInstall(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                              std::uint64_t trampolineAddress, std::uint64_t jumpTarget, CX86Decoder::Mode mode,
                              Install *plan);

    // Checks that the trampoline records a covered length in range and jumps back behind it, and that the entry still
    // jumps to jumpTarget; then rebuilds the original entry bytes from the trampoline's instructions.
    static Status PlanRemove(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                             const std::uint8_t trampoline[TRAMPOLINE_SIZE], std::uint64_t trampolineAddress,
                             std::uint64_t jumpTarget, CX86Decoder::Mode mode, std::uint8_t restore[MAX_COVERED],
                             std::size_t *covered);

    // An entry that is a jump through a pointer (jmp [abs32] in 32-bit code, jmp [rip + disp32] in 64-bit code): the
    // address of the pointer.
    static bool IndirectJumpSlot(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                                 CX86Decoder::Mode mode, std::uint64_t *slot);

    // The destination of a relative jump (E9 rel32) at `address`.
    static bool JumpDestination(const std::uint8_t *code, std::size_t size, std::uint64_t address,
                                CX86Decoder::Mode mode, std::uint64_t *destination);
    // Whether a relative jump at `address` reaches `destination`.
    static bool JumpReaches(std::uint64_t address, std::uint64_t destination, CX86Decoder::Mode mode);

    static void BuildRelay(std::uint64_t destination, std::uint8_t relay[RELAY_SIZE]);
    static bool RelayDestination(const std::uint8_t *relay, std::size_t size, std::uint64_t *destination);
};
