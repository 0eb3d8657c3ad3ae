#include "skin/EntryPatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
typedef CEntryPatch P;
const CX86Decoder::Mode M32 = CX86Decoder::MODE_32, M64 = CX86Decoder::MODE_64;

std::vector<std::uint8_t> Hex(const char *text) {
    std::vector<std::uint8_t> bytes;
    for (const char *p = text; *p;) {
        char *end = nullptr;
        const unsigned long b = std::strtoul(p, &end, 16);
        if (end == p)
            break;
        bytes.push_back(static_cast<std::uint8_t>(b));
        p = end;
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::uint8_t *p, std::size_t n) {
    return std::vector<std::uint8_t>(p, p + n);
}

// A function entry at an address, with the trampoline's address and where the entry jump should lead.
struct Site {
    CX86Decoder::Mode mode;
    const char *bytes;
    std::uint64_t entry;
    std::uint64_t trampoline;
    std::uint64_t target;
};

P::Status Plan(const Site &s, P::Install *plan) {
    const std::vector<std::uint8_t> code = Hex(s.bytes);
    return P::PlanInstall(code.data(), code.size(), s.entry, s.trampoline, s.target, s.mode, plan);
}

// The entry as it looks once patched: the patch over the covered bytes, the rest untouched.
std::vector<std::uint8_t> Patched(const Site &s, const P::Install &plan) {
    std::vector<std::uint8_t> code = Hex(s.bytes);
    std::memcpy(code.data(), plan.patch, plan.covered);
    return code;
}

P::Status Unplan(const Site &s, const std::vector<std::uint8_t> &entry, const std::uint8_t *trampoline,
                 std::vector<std::uint8_t> *restored) {
    std::uint8_t restore[P::MAX_COVERED];
    std::size_t covered = 0;
    const P::Status status = P::PlanRemove(entry.data(), entry.size(), s.entry, trampoline, s.trampoline, s.target,
                                           s.mode, restore, &covered);
    if (status == P::PATCH_OK)
        *restored = Bytes(restore, covered);
    return status;
}

// Measured entries (skin/README.md) and the usual prologues, with the bytes each interception must cover.
struct Covered {
    Site site;
    std::size_t covered;
    const char *what;
};

const Covered COVERED[] = {
    {{M32, "8B FF 55 8B EC 5D FF 25 00 20 40 7E", 0x7E401000, 0x00A00000, 0x00401000},
     5,
     "Wine 8 user32!SetScrollInfo, 32-bit"},
    {{M32, "B8 2A 10 00 00 BA 40 03 FE 7F FF D2 C2 10 00", 0x7E801000, 0x00A00000, 0x00401000},
     5,
     "Wine 8 win32u!NtUserShowScrollBar, 32-bit"},
    {{M32, "55 8B EC 83 EC 10 56", 0x10001000, 0x00A00000, 0x00401000}, 6, "push ebp; mov ebp,esp; sub esp,imm8"},
    {{M32, "6A 0C 68 78 56 34 12 E8 00 00 00 00", 0x10001000, 0x00A00000, 0x00401000}, 7, "push imm8; push imm32"},
    {{M32, "8B 44 24 04 56 57", 0x10001000, 0x00A00000, 0x00401000}, 5, "mov eax,[esp+4]; push esi"},
    {{M32, "53 56 57 8B 44 24 10", 0x10001000, 0x00A00000, 0x00401000}, 7, "push ebx/esi/edi; mov eax,[esp+16]"},
    {{M32, "81 EC 00 01 00 00 53", 0x10001000, 0x00A00000, 0x00401000}, 6, "sub esp,imm32"},
    {{M64, "48 8D A4 24 00 00 00 00 FF 25 C6 BB 0A 00", 0x2169D81FC, 0x2169C0000, 0x2169C0020},
     8,
     "Wine 8 user32!EnableScrollBar, 64-bit"},
    {{M64, "48 8D A4 24 00 00 00 00 57 56 53 48 83 EC 50", 0x216A186A0, 0x216A00000, 0x216A00020},
     8,
     "Wine 8 user32!GetScrollInfo, 64-bit"},
    {{M64, "4C 8B D1 B8 FD 10 00 00 F6 04 25 08 03 FE 7F 01", 0x2C73AC150, 0x2C73A0000, 0x2C73A0020},
     8,
     "Wine 8 win32u!NtUserShowScrollBar, 64-bit"},
    {{M64, "48 89 5C 24 08 57 48 83 EC 20", 0x180001000, 0x180100000, 0x180100020}, 5, "mov [rsp+8],rbx"},
    {{M64, "40 53 48 83 EC 20", 0x180001000, 0x180100000, 0x180100020}, 6, "rex push rbx; sub rsp,imm8"},
    {{M32, "E8 FB 0F 00 00 C3", 0x00401000, 0x10000000, 0x00402000}, 5, "call rel32, re-aimed"},
    {{M32, "E8 FB 1F 00 00 C3", 0xFFFFF000, 0x00010000, 0x00402000}, 5, "call rel32 across the 4 GB wrap"},
    {{M64, "8B 05 F0 0F 00 00 C3", 0x180001000, 0x170000000, 0x170000020}, 6, "mov eax,[rip+disp32], re-aimed"},
    {{M64, "FF 15 F0 0F 00 00 C3", 0x180001000, 0x190000000, 0x190000020}, 6, "call [rip+disp32], re-aimed"},
    {{M32, "53 B8 2A 00 00 00 5B C3", 0xFFFFFFFC, 0x00A00000, 0x00401000}, 6, "the covered bytes cross the 4 GB wrap"},
};

// The address a copied instruction's relative operand means, computed from its bytes and where they lie.
std::uint64_t Meaning(const std::uint8_t *ins, std::size_t operand, std::size_t length, std::uint64_t address,
                      CX86Decoder::Mode mode) {
    std::int32_t rel;
    std::memcpy(&rel, ins + operand, 4);
    const std::uint64_t value = address + length + static_cast<std::int64_t>(rel);
    return mode == M32 ? value & 0xFFFFFFFFu : value;
}
} // namespace

TEST(EntryPatch, TheWine32BitSetScrollInfoEntryGivesTheseBytes) {
    P::Install plan;
    ASSERT_EQ(P::PATCH_OK, Plan(COVERED[0].site, &plan));
    EXPECT_EQ(Hex("8B FF 55 8B EC E9 FB 0F A0 7D CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC 05"),
              Bytes(plan.trampoline, P::TRAMPOLINE_SIZE));
    ASSERT_EQ(5u, plan.covered);
    EXPECT_EQ(Hex("E9 FB FF FF 81"), Bytes(plan.patch, plan.covered));
}

TEST(EntryPatch, TheWine64BitGetScrollInfoEntryGivesTheseBytes) {
    P::Install plan;
    ASSERT_EQ(P::PATCH_OK, Plan(COVERED[8].site, &plan));
    EXPECT_EQ(Hex("48 8D A4 24 00 00 00 00 E9 9B 86 01 00 CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC CC 08"),
              Bytes(plan.trampoline, P::TRAMPOLINE_SIZE));
    ASSERT_EQ(8u, plan.covered);
    EXPECT_EQ(Hex("E9 7B 79 FE FF CC CC CC"), Bytes(plan.patch, plan.covered)) << "to the relay, then filler";
}

TEST(EntryPatch, EveryEntryIsCoveredByWholeInstructionsAndComesBackExactly) {
    for (const Covered &c : COVERED) {
        const Site &s = c.site;
        const std::vector<std::uint8_t> original = Hex(s.bytes);
        P::Install plan;
        ASSERT_EQ(P::PATCH_OK, Plan(s, &plan)) << c.what;
        ASSERT_EQ(c.covered, plan.covered) << c.what;
        EXPECT_EQ(c.covered, plan.trampoline[P::TRAMPOLINE_SIZE - 1]) << c.what;
        // The entry jumps to the target; the filler follows up to the covered length.
        EXPECT_EQ(0xE9, plan.patch[0]) << c.what;
        EXPECT_EQ(s.target, Meaning(plan.patch, 1, 5, s.entry, s.mode)) << c.what;
        for (std::size_t i = P::JUMP_SIZE; i < plan.covered; ++i)
            EXPECT_EQ(0xCC, plan.patch[i]) << c.what;
        // The trampoline jumps back to the first instruction not copied and is filled after that.
        EXPECT_EQ(0xE9, plan.trampoline[plan.covered]) << c.what;
        EXPECT_EQ(s.mode == M32 ? (s.entry + plan.covered) & 0xFFFFFFFFu : s.entry + plan.covered,
                  Meaning(plan.trampoline + plan.covered, 1, 5, s.trampoline + plan.covered, s.mode))
            << c.what;
        for (std::size_t i = plan.covered + P::JUMP_SIZE; i + 1 < P::TRAMPOLINE_SIZE; ++i)
            EXPECT_EQ(0xCC, plan.trampoline[i]) << c.what;

        std::vector<std::uint8_t> restored;
        ASSERT_EQ(P::PATCH_OK, Unplan(s, Patched(s, plan), plan.trampoline, &restored)) << c.what;
        EXPECT_EQ(Bytes(original.data(), plan.covered), restored) << c.what;
    }
}

TEST(EntryPatch, RelativeOperandsKeepTheirMeaningInTheTrampoline) {
    struct Operand {
        std::size_t site;   // index in COVERED
        std::size_t offset; // of the rel32 or disp32
        std::size_t length;
        const char *bytes; // the re-aimed operand, worked out by hand
    } operands[] = {
        {12, 1, 5, "FB 1F 40 F0"}, {13, 1, 5, "FB 0F FF FF"}, {14, 2, 6, "F0 1F 00 10"}, {15, 2, 6, "F0 1F 00 F0"}};
    for (const Operand &o : operands) {
        const Covered &c = COVERED[o.site];
        const std::vector<std::uint8_t> original = Hex(c.site.bytes);
        P::Install plan;
        ASSERT_EQ(P::PATCH_OK, Plan(c.site, &plan)) << c.what;
        EXPECT_EQ(Hex(o.bytes), Bytes(plan.trampoline + o.offset, 4)) << c.what;
        EXPECT_EQ(Meaning(original.data(), o.offset, o.length, c.site.entry, c.site.mode),
                  Meaning(plan.trampoline, o.offset, o.length, c.site.trampoline, c.site.mode))
            << c.what;
    }
}

TEST(EntryPatch, EntriesThatCannotBeCopiedAreRefused) {
    struct Case {
        Site site;
        P::Status status;
        const char *what;
    } cases[] = {
        {{M32, "C3 90 90 90 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "ret at once"},
        {{M32, "55 C2 08 00 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "ret 8 after one byte"},
        {{M32, "55 8B EC 5D C3 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "returns at byte 4"},
        {{M32, "55 EB 02 90 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "jmp rel8"},
        {{M32, "85 C0 74 02 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "conditional jump"},
        {{M32, "FF 25 00 20 40 7E", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "a jump through a pointer"},
        {{M32, "FF E0 90 90 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "jmp eax"},
        {{M32, "E9 00 10 00 00 CC", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "already intercepted"},
        {{M64, "FF 25 3A 1D 03 00", 0x1000, 0x8000, 0x9000}, P::PATCH_EARLY_TRANSFER, "64-bit import stub"},
        {{M32, "55 0F 0B 90 90 90", 0x1000, 0x8000, 0x9000}, P::PATCH_UNKNOWN_INSTRUCTION, "ud2"},
        {{M32, "CC CC CC CC CC CC", 0x1000, 0x8000, 0x9000}, P::PATCH_UNKNOWN_INSTRUCTION, "int3 filler"},
        {{M32, "8B FF 55", 0x1000, 0x8000, 0x9000}, P::PATCH_UNKNOWN_INSTRUCTION, "the bytes end at 3"},
        {{M32, "8B FF 55 8B", 0x1000, 0x8000, 0x9000}, P::PATCH_UNKNOWN_INSTRUCTION, "the bytes end inside one"},
        {{M32, "", 0x1000, 0x8000, 0x9000}, P::PATCH_UNKNOWN_INSTRUCTION, "no bytes"},
        {{M64, "8B 05 00 00 00 80 C3", 0x180001000, 0x1FFF00000, 0x1FFF00020},
         P::PATCH_OUT_OF_REACH,
         "[rip+disp32] too far from the trampoline"},
        {{M64, "E8 00 00 00 80 C3", 0x180001000, 0x1FFF00000, 0x1FFF00020},
         P::PATCH_OUT_OF_REACH,
         "call rel32 too far from the trampoline"},
        {{M64, "53 B8 2A 00 00 00", 0x180001000, 0x080000000, 0x080000020},
         P::PATCH_OUT_OF_REACH,
         "the trampoline beyond 2 GB"},
        {{M64, "53 B8 2A 00 00 00", 0x180001000, 0x180100000, 0x280100020},
         P::PATCH_OUT_OF_REACH,
         "the entry jump beyond 2 GB"},
    };
    for (const Case &c : cases) {
        P::Install plan;
        EXPECT_EQ(c.status, Plan(c.site, &plan)) << c.what;
    }
}

TEST(EntryPatch, RemovalChecksTheTrampolineAndTheEntryJump) {
    const Site &s = COVERED[2].site; // push ebp; mov ebp,esp; sub esp,10h: 6 bytes covered
    P::Install plan;
    ASSERT_EQ(P::PATCH_OK, Plan(s, &plan));
    const std::vector<std::uint8_t> patched = Patched(s, plan);
    std::vector<std::uint8_t> restored;

    // The recorded length: only what an installation can record is accepted.
    for (std::uint8_t length : {0, 1, 4, 27, 30, 31, 255}) {
        std::uint8_t trampoline[P::TRAMPOLINE_SIZE];
        std::memcpy(trampoline, plan.trampoline, sizeof trampoline);
        trampoline[P::TRAMPOLINE_SIZE - 1] = length;
        EXPECT_EQ(P::PATCH_BAD_TRAMPOLINE, Unplan(s, patched, trampoline, &restored)) << int(length);
    }
    // The trampoline must still jump back behind the covered bytes.
    std::uint8_t trampoline[P::TRAMPOLINE_SIZE];
    std::memcpy(trampoline, plan.trampoline, sizeof trampoline);
    trampoline[plan.covered + 1] ^= 1;
    EXPECT_EQ(P::PATCH_BAD_TRAMPOLINE, Unplan(s, patched, trampoline, &restored));
    trampoline[plan.covered + 1] ^= 1;
    trampoline[plan.covered] = 0xCC;
    EXPECT_EQ(P::PATCH_BAD_TRAMPOLINE, Unplan(s, patched, trampoline, &restored));

    // The entry must still jump, and to the same place.
    std::vector<std::uint8_t> entry = patched;
    entry[0] = 0x55;
    EXPECT_EQ(P::PATCH_NOT_JUMPING, Unplan(s, entry, plan.trampoline, &restored));
    entry = patched;
    entry[1] ^= 0x10;
    EXPECT_EQ(P::PATCH_JUMPS_ELSEWHERE, Unplan(s, entry, plan.trampoline, &restored));
    EXPECT_EQ(P::PATCH_NOT_JUMPING,
              Unplan(s, std::vector<std::uint8_t>(patched.begin(), patched.begin() + 4), plan.trampoline, &restored))
        << "fewer than 5 readable bytes";

    // The copied instructions must be ones that can go back.
    const char *copies[] = {"0F 0B 8B EC 83 EC", "55 8B EC 81 EC 10" /* sub esp,imm32 runs past the 6 bytes */,
                            "55 EB 00 83 EC 10", "C3 8B EC 83 EC 10"};
    for (const char *copy : copies) {
        std::memcpy(trampoline, plan.trampoline, sizeof trampoline);
        std::memcpy(trampoline, Hex(copy).data(), plan.covered);
        EXPECT_EQ(P::PATCH_CANNOT_RESTORE, Unplan(s, patched, trampoline, &restored)) << copy;
    }
    // And the untouched plan still comes back.
    ASSERT_EQ(P::PATCH_OK, Unplan(s, patched, plan.trampoline, &restored));
    EXPECT_EQ(Hex("55 8B EC 83 EC 10"), restored);
}

TEST(EntryPatch, JumpsThroughPointersNameTheirSlot) {
    std::uint64_t slot = 0;
    const std::vector<std::uint8_t> abs32 = Hex("FF 25 00 20 40 7E");
    ASSERT_TRUE(P::IndirectJumpSlot(abs32.data(), abs32.size(), 0x7E401000, M32, &slot));
    EXPECT_EQ(0x7E402000u, slot);
    // Wine 8's 64-bit user32!ShowScrollBar at 0x216A52520.
    const std::vector<std::uint8_t> rip = Hex("FF 25 3A 1D 03 00 90 90");
    ASSERT_TRUE(P::IndirectJumpSlot(rip.data(), rip.size(), 0x216A52520, M64, &slot));
    EXPECT_EQ(0x216A52520u + 6 + 0x31D3A, slot);
    const std::vector<std::uint8_t> rexW = Hex("48 FF 25 F0 FF FF FF");
    ASSERT_TRUE(P::IndirectJumpSlot(rexW.data(), rexW.size(), 0x180001000, M64, &slot));
    EXPECT_EQ(0x180001000u + 7 - 0x10, slot);

    const char *others[] = {
        "FF E0", "FF 24 85 00 10 00 00", "E9 00 00 00 00", "3E FF 25 00 20 40 7E", "FF 15 00 20 40 7E", "FF 25 00 20"};
    for (const char *other : others) {
        const std::vector<std::uint8_t> code = Hex(other);
        EXPECT_FALSE(P::IndirectJumpSlot(code.data(), code.size(), 0x1000, M32, &slot)) << other;
    }
}

TEST(EntryPatch, TheRelayJumpsToItsDestination) {
    std::uint8_t relay[P::RELAY_SIZE];
    P::BuildRelay(0x00007FF612345678u, relay);
    EXPECT_EQ(Hex("FF 25 00 00 00 00 78 56 34 12 F6 7F 00 00"), Bytes(relay, sizeof relay));
    std::uint64_t destination = 0;
    ASSERT_TRUE(P::RelayDestination(relay, sizeof relay, &destination));
    EXPECT_EQ(0x00007FF612345678u, destination);
    EXPECT_FALSE(P::RelayDestination(relay, sizeof relay - 1, &destination));
    relay[2] = 1;
    EXPECT_FALSE(P::RelayDestination(relay, sizeof relay, &destination));
}
