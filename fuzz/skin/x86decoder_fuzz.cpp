// Feeds arbitrary bytes to the instruction decoder and the entry planner. The first byte picks the mode and where the
// entry and the trampoline lie; the rest is code. Every decoded instruction must lie within the bytes, and every
// installation that is planned must come back to exactly the original bytes.
#include "skin/EntryPatch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {
// Entry and trampoline addresses: near each other, far apart, across the 32-bit wrap, the 64-bit sign boundary.
const std::uint64_t ENTRIES[] = {0x00401000, 0x7E401000, 0xFFFFFFF0, 0x216A186A0, 0x7FFFFFFFFFF0, 0x180001000};
const std::int64_t OFFSETS[] = {0x10000, -0x10000, 0x7FFF0000, -0x7FFF0000, 0x100000000LL, 32};

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void WalkInstructions(const std::uint8_t *code, std::size_t size, CX86Decoder::Mode mode) {
    for (std::size_t at = 0; at < size;) {
        CX86Decoder::Instruction ins;
        if (CX86Decoder::Decode(code + at, size - at, mode, &ins) != CX86Decoder::DECODED) {
            ++at;
            continue;
        }
        Check(ins.length >= 1 && ins.length <= CX86Decoder::MAX_LENGTH && ins.length <= size - at);
        Check(ins.relSize == 0 || ins.relOffset + ins.relSize <= ins.length);
        Check(ins.dispOffset == 0 || ins.dispOffset + 4 <= ins.length);
        Check(!ins.ripRelative || mode == CX86Decoder::MODE_64);
        at += ins.length;
    }
}

void RoundTrip(const std::uint8_t *code, std::size_t size, CX86Decoder::Mode mode, std::uint64_t entry,
               std::uint64_t trampoline) {
    if (mode == CX86Decoder::MODE_32) {
        entry &= 0xFFFFFFFFu;
        trampoline &= 0xFFFFFFFFu;
    }
    const std::uint64_t target = trampoline + CEntryPatch::TRAMPOLINE_SIZE;
    CEntryPatch::Install plan;
    if (CEntryPatch::PlanInstall(code, size, entry, trampoline, target, mode, &plan) != CEntryPatch::PATCH_OK)
        return;
    Check(plan.covered >= CEntryPatch::MIN_COVERED && plan.covered <= CEntryPatch::MAX_COVERED && plan.covered <= size);
    Check(plan.trampoline[CEntryPatch::TRAMPOLINE_SIZE - 1] == plan.covered);
    std::uint8_t patched[CEntryPatch::TRAMPOLINE_SIZE];
    const std::size_t n = size < sizeof patched ? size : sizeof patched;
    std::memcpy(patched, code, n);
    std::memcpy(patched, plan.patch, plan.covered);
    std::uint8_t restore[CEntryPatch::MAX_COVERED];
    std::size_t covered = 0;
    Check(CEntryPatch::PlanRemove(patched, n, entry, plan.trampoline, trampoline, target, mode, restore, &covered) ==
          CEntryPatch::PATCH_OK);
    Check(covered == plan.covered && std::memcmp(restore, code, covered) == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t selector = data[0];
    const CX86Decoder::Mode mode = selector & 1 ? CX86Decoder::MODE_64 : CX86Decoder::MODE_32;
    const std::uint64_t entry = ENTRIES[(selector >> 1) % (sizeof ENTRIES / sizeof ENTRIES[0])];
    const std::int64_t offset = OFFSETS[(selector >> 4) % (sizeof OFFSETS / sizeof OFFSETS[0])];
    const std::uint8_t *code = data + 1;
    const std::size_t codeSize = size - 1;

    WalkInstructions(code, codeSize, mode);
    RoundTrip(code, codeSize, mode, entry, entry + static_cast<std::uint64_t>(offset));
    std::uint64_t slot = 0;
    CEntryPatch::IndirectJumpSlot(code, codeSize, entry, mode, &slot);
    std::uint64_t destination = 0;
    CEntryPatch::JumpDestination(code, codeSize, entry, mode, &destination);
    CEntryPatch::RelayDestination(code, codeSize, &destination);
    return 0;
}
