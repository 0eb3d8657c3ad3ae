#include "skin/EntryPatch.h"

#include <cstring>

namespace {

const std::uint8_t JMP_REL32 = 0xE9;
const std::uint8_t FILLER = 0xCC;

std::uint32_t Read32(const std::uint8_t *p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Write32(std::uint8_t *p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t SignExtend32(std::uint32_t v) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(v)));
}

// Addresses of 32-bit code live modulo 2^32.
std::uint64_t Wrap(std::uint64_t address, CX86Decoder::Mode mode) {
    return mode == CX86Decoder::MODE_32 ? address & 0xFFFFFFFFu : address;
}

// The rel32 that leads from `next` (the end of an instruction) to `destination`, if it fits.
bool Displacement(std::uint64_t next, std::uint64_t destination, CX86Decoder::Mode mode, std::uint32_t *rel) {
    const std::uint64_t delta = destination - next;
    if (mode == CX86Decoder::MODE_64) {
        const std::int64_t signedDelta = static_cast<std::int64_t>(delta);
        if (signedDelta < INT32_MIN || signedDelta > INT32_MAX)
            return false;
    }
    *rel = static_cast<std::uint32_t>(delta);
    return true;
}

bool WriteJump(std::uint8_t *at, std::uint64_t address, std::uint64_t destination, CX86Decoder::Mode mode) {
    std::uint32_t rel = 0;
    if (!Displacement(address + CEntryPatch::JUMP_SIZE, destination, mode, &rel))
        return false;
    at[0] = JMP_REL32;
    Write32(at + 1, rel);
    return true;
}

// Re-aims the relative operand of an instruction moved from `from` to `to`, so that it still means the same address.
// Only 32-bit operands move: a moved rel8 could only reach its old destination by accident.
bool Retarget(std::uint8_t *ins, const CX86Decoder::Instruction &d, std::uint64_t from, std::uint64_t to,
              CX86Decoder::Mode mode) {
    std::size_t at = 0;
    if (d.relSize == 4)
        at = d.relOffset;
    else if (d.relSize != 0)
        return false;
    else if (d.ripRelative)
        at = d.dispOffset;
    else
        return true;
    const std::uint64_t destination = Wrap(from + d.length + SignExtend32(Read32(ins + at)), mode);
    std::uint32_t rel = 0;
    if (!Displacement(to + d.length, destination, mode, &rel))
        return false;
    Write32(ins + at, rel);
    return true;
}

bool TransfersControl(CX86Decoder::Flow flow) {
    return flow == CX86Decoder::FLOW_JUMP || flow == CX86Decoder::FLOW_BRANCH || flow == CX86Decoder::FLOW_RETURN;
}

} // namespace

bool CEntryPatch::JumpReaches(std::uint64_t address, std::uint64_t destination, CX86Decoder::Mode mode) {
    std::uint32_t rel = 0;
    return Displacement(address + JUMP_SIZE, destination, mode, &rel);
}

bool CEntryPatch::JumpDestination(const std::uint8_t *code, std::size_t size, std::uint64_t address,
                                  CX86Decoder::Mode mode, std::uint64_t *destination) {
    if (!code || size < JUMP_SIZE || code[0] != JMP_REL32)
        return false;
    *destination = Wrap(address + JUMP_SIZE + SignExtend32(Read32(code + 1)), mode);
    return true;
}

CEntryPatch::Status CEntryPatch::PlanInstall(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                                             std::uint64_t trampolineAddress, std::uint64_t jumpTarget,
                                             CX86Decoder::Mode mode, Install *plan) {
    if (!entry || !plan)
        return PATCH_UNKNOWN_INSTRUCTION;
    std::memset(plan->trampoline, FILLER, sizeof plan->trampoline);
    std::memset(plan->patch, FILLER, sizeof plan->patch);
    plan->covered = 0;

    std::size_t covered = 0;
    while (covered < MIN_COVERED) {
        CX86Decoder::Instruction d;
        if (CX86Decoder::Decode(entry + covered, size - covered, mode, &d) != CX86Decoder::DECODED)
            return PATCH_UNKNOWN_INSTRUCTION;
        if (TransfersControl(d.flow))
            return PATCH_EARLY_TRANSFER;
        // With instructions of at most 15 bytes the cover stops at 19; the bound guards the trampoline's layout.
        if (covered + d.length > MAX_COVERED)
            return PATCH_TOO_LONG;
        std::memcpy(plan->trampoline + covered, entry + covered, d.length);
        if (!Retarget(plan->trampoline + covered, d, entryAddress + covered, trampolineAddress + covered, mode))
            return PATCH_OUT_OF_REACH;
        covered += d.length;
    }
    if (!WriteJump(plan->trampoline + covered, trampolineAddress + covered, Wrap(entryAddress + covered, mode), mode))
        return PATCH_OUT_OF_REACH;
    plan->trampoline[TRAMPOLINE_SIZE - 1] = static_cast<std::uint8_t>(covered);
    if (!WriteJump(plan->patch, entryAddress, jumpTarget, mode))
        return PATCH_OUT_OF_REACH;
    plan->covered = covered;
    return PATCH_OK;
}

CEntryPatch::Status CEntryPatch::PlanRemove(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                                            const std::uint8_t trampoline[TRAMPOLINE_SIZE],
                                            std::uint64_t trampolineAddress, std::uint64_t jumpTarget,
                                            CX86Decoder::Mode mode, std::uint8_t restore[MAX_COVERED],
                                            std::size_t *covered) {
    if (!trampoline || !restore || !covered)
        return PATCH_BAD_TRAMPOLINE;
    const std::size_t length = trampoline[TRAMPOLINE_SIZE - 1];
    if (length < MIN_COVERED || length > MAX_COVERED)
        return PATCH_BAD_TRAMPOLINE;
    std::uint64_t back = 0;
    if (!JumpDestination(trampoline + length, TRAMPOLINE_SIZE - 1 - length, trampolineAddress + length, mode, &back) ||
        back != Wrap(entryAddress + length, mode))
        return PATCH_BAD_TRAMPOLINE;

    std::uint64_t destination = 0;
    if (!JumpDestination(entry, size, entryAddress, mode, &destination))
        return PATCH_NOT_JUMPING;
    if (destination != Wrap(jumpTarget, mode))
        return PATCH_JUMPS_ELSEWHERE;

    // The trampoline's copies have the original lengths; moving them back undoes the re-aiming.
    for (std::size_t at = 0; at < length;) {
        CX86Decoder::Instruction d;
        if (CX86Decoder::Decode(trampoline + at, length - at, mode, &d) != CX86Decoder::DECODED ||
            TransfersControl(d.flow))
            return PATCH_CANNOT_RESTORE;
        std::memcpy(restore + at, trampoline + at, d.length);
        if (!Retarget(restore + at, d, trampolineAddress + at, entryAddress + at, mode))
            return PATCH_CANNOT_RESTORE;
        at += d.length;
    }
    *covered = length;
    return PATCH_OK;
}

bool CEntryPatch::IndirectJumpSlot(const std::uint8_t *entry, std::size_t size, std::uint64_t entryAddress,
                                   CX86Decoder::Mode mode, std::uint64_t *slot) {
    CX86Decoder::Instruction d;
    if (!entry || CX86Decoder::Decode(entry, size, mode, &d) != CX86Decoder::DECODED)
        return false;
    // FF 25 disp32, in 64-bit code also with REX.W (48 FF 25): no other prefix, no register, no index.
    const bool plain = d.length == 6;
    const bool rexW = mode == CX86Decoder::MODE_64 && d.length == 7 && entry[0] == 0x48;
    if (!(plain || rexW) || entry[d.length - 6] != 0xFF || entry[d.length - 5] != 0x25)
        return false;
    const std::uint32_t disp = Read32(entry + d.length - 4);
    *slot = mode == CX86Decoder::MODE_64 ? entryAddress + d.length + SignExtend32(disp) : disp;
    return true;
}

void CEntryPatch::BuildRelay(std::uint64_t destination, std::uint8_t relay[RELAY_SIZE]) {
    relay[0] = 0xFF;
    relay[1] = 0x25;
    Write32(relay + 2, 0);
    Write32(relay + 6, static_cast<std::uint32_t>(destination));
    Write32(relay + 10, static_cast<std::uint32_t>(destination >> 32));
}

bool CEntryPatch::RelayDestination(const std::uint8_t *relay, std::size_t size, std::uint64_t *destination) {
    if (!relay || size < RELAY_SIZE || relay[0] != 0xFF || relay[1] != 0x25 || Read32(relay + 2) != 0)
        return false;
    *destination = Read32(relay + 6) | static_cast<std::uint64_t>(Read32(relay + 10)) << 32;
    return true;
}
