#include "skin/X86Decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
typedef CX86Decoder D;

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

// Decodes from a heap copy of exactly the given bytes, so that the sanitizers see any read beyond them.
D::Status DecodeExact(const std::vector<std::uint8_t> &bytes, std::size_t size, D::Mode mode, D::Instruction *out) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size ? size : 1]);
    std::memcpy(copy.get(), bytes.data(), size);
    return D::Decode(size ? copy.get() : nullptr, size, mode, out);
}

struct Known {
    D::Mode mode;
    const char *bytes;
    std::size_t length;
    D::Flow flow;
    std::size_t relOffset; // relative branch operand (size 4 unless the instruction is 2 bytes long)
    std::size_t dispOffset;
    bool rip;
    bool indirect;
    const char *what;
};

const D::Flow NEXT = D::FLOW_NEXT, CALL = D::FLOW_CALL, JUMP = D::FLOW_JUMP, BRANCH = D::FLOW_BRANCH,
              RET = D::FLOW_RETURN;
const D::Mode M32 = D::MODE_32, M64 = D::MODE_64;

// Every form that function entries begin with here (see skin/README.md), the usual prologues and their neighbours.
const Known KNOWN[] = {
    // 32-bit prologues and Wine 8's 32-bit user32 and win32u entries.
    {M32, "8B FF", 2, NEXT, 0, 0, false, false, "mov edi,edi"},
    {M32, "55", 1, NEXT, 0, 0, false, false, "push ebp"},
    {M32, "8B EC", 2, NEXT, 0, 0, false, false, "mov ebp,esp"},
    {M32, "5D", 1, NEXT, 0, 0, false, false, "pop ebp"},
    {M32, "53", 1, NEXT, 0, 0, false, false, "push ebx"},
    {M32, "56", 1, NEXT, 0, 0, false, false, "push esi"},
    {M32, "57", 1, NEXT, 0, 0, false, false, "push edi"},
    {M32, "5F", 1, NEXT, 0, 0, false, false, "pop edi"},
    {M32, "6A 0C", 2, NEXT, 0, 0, false, false, "push imm8"},
    {M32, "68 78 56 34 12", 5, NEXT, 0, 0, false, false, "push imm32"},
    {M32, "83 EC 10", 3, NEXT, 0, 0, false, false, "sub esp,imm8"},
    {M32, "81 EC 00 01 00 00", 6, NEXT, 0, 0, false, false, "sub esp,imm32"},
    {M32, "8B 44 24 04", 4, NEXT, 0, 0, false, false, "mov eax,[esp+4]"},
    {M32, "8B 84 24 00 01 00 00", 7, NEXT, 0, 3, false, false, "mov eax,[esp+256]"},
    {M32, "8B 45 08", 3, NEXT, 0, 0, false, false, "mov eax,[ebp+8]"},
    {M32, "8B 0D 00 10 40 00", 6, NEXT, 0, 2, false, false, "mov ecx,[abs32]"},
    {M32, "64 A1 00 00 00 00", 6, NEXT, 0, 0, false, false, "mov eax,fs:[0]"},
    {M32, "B8 2A 10 00 00", 5, NEXT, 0, 0, false, false, "mov eax,imm32 (win32u stub)"},
    {M32, "BA 40 03 FE 7F", 5, NEXT, 0, 0, false, false, "mov edx,imm32 (win32u stub)"},
    {M32, "FF D2", 2, CALL, 0, 0, false, true, "call edx (win32u stub)"},
    {M32, "C2 10 00", 3, RET, 0, 0, false, false, "ret 16 (win32u stub)"},
    {M32, "FF 25 00 20 40 7E", 6, JUMP, 0, 2, false, true, "jmp [abs32] (user32 stub)"},
    {M32, "FF 15 00 20 40 7E", 6, CALL, 0, 2, false, true, "call [abs32]"},
    {M32, "C3", 1, RET, 0, 0, false, false, "ret"},
    {M32, "E8 00 01 00 00", 5, CALL, 1, 0, false, false, "call rel32"},
    {M32, "E9 FB FF FF FF", 5, JUMP, 1, 0, false, false, "jmp rel32"},
    {M32, "EB FE", 2, JUMP, 1, 0, false, false, "jmp rel8"},
    {M32, "74 05", 2, BRANCH, 1, 0, false, false, "je rel8"},
    {M32, "E3 05", 2, BRANCH, 1, 0, false, false, "jecxz"},
    {M32, "0F 84 00 01 00 00", 6, BRANCH, 2, 0, false, false, "je rel32"},
    {M32, "40", 1, NEXT, 0, 0, false, false, "inc eax (a REX prefix in 64-bit code)"},
    {M32, "8D 4C 24 08", 4, NEXT, 0, 0, false, false, "lea ecx,[esp+8]"},
    {M32, "8D 04 85 00 00 00 00", 7, NEXT, 0, 3, false, false, "lea eax,[eax*4+disp32]"},
    {M32, "66 90", 2, NEXT, 0, 0, false, false, "xchg ax,ax"},
    {M32, "66 81 C0 01 00", 5, NEXT, 0, 0, false, false, "add ax,imm16"},
    {M32, "66 B8 34 12", 4, NEXT, 0, 0, false, false, "mov ax,imm16"},
    {M32, "A1 00 10 40 00", 5, NEXT, 0, 0, false, false, "mov eax,[moffs32]"},
    {M32, "F7 45 08 01 00 00 00", 7, NEXT, 0, 0, false, false, "test dword [ebp+8],imm32"},
    {M32, "F7 D8", 2, NEXT, 0, 0, false, false, "neg eax (no immediate)"},
    {M32, "F6 C1 01", 3, NEXT, 0, 0, false, false, "test cl,imm8"},
    {M32, "C7 45 FC 00 00 00 00", 7, NEXT, 0, 0, false, false, "mov dword [ebp-4],imm32"},
    {M32, "C8 10 00 00", 4, NEXT, 0, 0, false, false, "enter 16,0"},
    {M32, "0F B6 45 08", 4, NEXT, 0, 0, false, false, "movzx eax,byte [ebp+8]"},
    {M32, "0F BA E0 05", 4, NEXT, 0, 0, false, false, "bt eax,5"},
    {M32, "F0 0F C1 01", 4, NEXT, 0, 0, false, false, "lock xadd [ecx],eax"},
    {M32, "66 66 66 66 66 66 66 66 66 66 66 66 66 66 90", 15, NEXT, 0, 0, false, false, "15 bytes, the longest"},
    // 64-bit: Wine 8's user32 and win32u entries, and the instructions that follow them.
    {M64, "48 8D A4 24 00 00 00 00", 8, NEXT, 0, 4, false, false, "lea rsp,[rsp+0] (user32 hot-patch start)"},
    {M64, "FF 25 C6 BB 0A 00", 6, JUMP, 0, 2, true, true, "jmp [rip+disp32] (user32 stub)"},
    {M64, "48 FF 25 C6 BB 0A 00", 7, JUMP, 0, 3, true, true, "rex.w jmp [rip+disp32]"},
    {M64, "4C 8B D1", 3, NEXT, 0, 0, false, false, "mov r10,rcx (win32u stub)"},
    {M64, "B8 FD 10 00 00", 5, NEXT, 0, 0, false, false, "mov eax,imm32 (win32u stub)"},
    {M64, "F6 04 25 08 03 FE 7F 01", 8, NEXT, 0, 3, false, false, "test byte [abs32],1 (no rip)"},
    {M64, "57", 1, NEXT, 0, 0, false, false, "push rdi"},
    {M64, "41 57", 2, NEXT, 0, 0, false, false, "push r15"},
    {M64, "48 83 EC 50", 4, NEXT, 0, 0, false, false, "sub rsp,imm8"},
    {M64, "48 81 EC 00 01 00 00", 7, NEXT, 0, 0, false, false, "sub rsp,imm32"},
    {M64, "48 89 CE", 3, NEXT, 0, 0, false, false, "mov rsi,rcx"},
    {M64, "89 D3", 2, NEXT, 0, 0, false, false, "mov ebx,edx"},
    {M64, "4C 89 C7", 3, NEXT, 0, 0, false, false, "mov rdi,r8"},
    {M64, "44 89 44 24 34", 5, NEXT, 0, 0, false, false, "mov [rsp+0x34],r8d"},
    {M64, "48 89 5C 24 08", 5, NEXT, 0, 0, false, false, "mov [rsp+8],rbx"},
    {M64, "F6 05 96 BC 03 00 01", 7, NEXT, 0, 2, true, false, "test byte [rip+disp32],1"},
    {M64, "48 8B 05 D5 6E 04 00", 7, NEXT, 0, 3, true, false, "mov rax,[rip+disp32]"},
    {M64, "8B 44 24 28", 4, NEXT, 0, 0, false, false, "mov eax,[rsp+0x28]"},
    {M64, "48 B8 88 77 66 55 44 33 22 11", 10, NEXT, 0, 0, false, false, "mov rax,imm64"},
    {M64, "66 48 81 C0 01 00 00 00", 8, NEXT, 0, 0, false, false, "REX.W keeps imm32 despite 66"},
    {M64, "48 A1 00 00 00 00 00 10 00 00", 10, NEXT, 0, 0, false, false, "mov rax,[moffs64]"},
    {M64, "48 63 C8", 3, NEXT, 0, 0, false, false, "movsxd rcx,eax"},
    {M64, "E8 00 01 00 00", 5, CALL, 1, 0, false, false, "call rel32"},
    {M64, "FF 15 00 01 00 00", 6, CALL, 0, 2, true, true, "call [rip+disp32]"},
    {M64, "C3", 1, RET, 0, 0, false, false, "ret"},
    {M64, "F3 0F 1E FA", 4, NEXT, 0, 0, false, false, "endbr64"},
    {M64, "66 0F 1F 44 00 00", 6, NEXT, 0, 0, false, false, "nop word [rax+rax]"},
    {M64, "0F 1F 80 00 00 00 00", 7, NEXT, 0, 3, false, false, "nop dword [rax+disp32]"},
};

struct Refused {
    D::Mode mode;
    const char *bytes;
    const char *what;
};

const Refused REFUSED[] = {
    {M32, "CC", "int3"},
    {M32, "CD 2E", "int n"},
    {M32, "F4", "hlt"},
    {M32, "0F 0B", "ud2"},
    {M32, "0F A2", "cpuid"},
    {M32, "9A 00 00 00 00 08 00", "far call"},
    {M32, "EA 00 00 00 00 08 00", "far jump"},
    {M32, "FF 1D 00 00 00 00", "far call through memory (FF /3)"},
    {M32, "FF 2D 00 00 00 00", "far jump through memory (FF /5)"},
    {M32, "FF F8", "FF /7"},
    {M32, "C6 C8 00", "C6 /1"},
    {M32, "8F C8", "8F /1"},
    {M32, "8D C0", "lea with a register operand"},
    {M32, "D9 45 08", "x87"},
    {M32, "0F 10 00", "SSE"},
    {M32, "C5 F8 77", "VEX (vzeroupper)"},
    {M32, "67 8B 00", "address-size override"},
    {M32, "66 E8 00 00", "call with 16-bit operand size"},
    {M32, "06", "push es"},
    {M32, "63 C0", "arpl"},
    {M32, "66 66 66 66 66 66 66 66 66 66 66 66 66 66 66 90", "16 bytes"},
    {M64, "0F 05", "syscall (win32u, after the copied bytes)"},
    {M64, "48 48 89 C0", "two REX prefixes"},
    {M64, "48 66 89 C0", "REX before a legacy prefix"},
    {M64, "06", "push es (invalid in 64-bit code)"},
    {M64, "62 F1 7C 48 10 00", "EVEX"},
    {M64, "67 8B 00", "address-size override"},
};

::testing::AssertionResult Matches(const Known &k) {
    const std::vector<std::uint8_t> bytes = Hex(k.bytes);
    D::Instruction ins;
    // Trailing bytes must not change anything.
    std::vector<std::uint8_t> padded = bytes;
    padded.insert(padded.end(), 16, 0xC3);
    const D::Status status = DecodeExact(padded, padded.size(), k.mode, &ins);
    if (status != D::DECODED)
        return ::testing::AssertionFailure() << "status " << status;
    const std::size_t relSize = k.relOffset ? (k.length == 2 ? 1 : 4) : 0;
    if (ins.length != k.length || ins.flow != k.flow || ins.relOffset != k.relOffset || ins.relSize != relSize ||
        ins.dispOffset != k.dispOffset || ins.ripRelative != k.rip || ins.indirect != k.indirect)
        return ::testing::AssertionFailure()
               << "length " << ins.length << " flow " << ins.flow << " rel " << ins.relOffset << "/" << ins.relSize
               << " disp " << ins.dispOffset << " rip " << ins.ripRelative << " indirect " << ins.indirect;
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(X86Decoder, KnownFormsHaveTheirLengthFlowAndOperands) {
    for (const Known &k : KNOWN) {
        ASSERT_EQ(k.length, Hex(k.bytes).size()) << k.what;
        EXPECT_TRUE(Matches(k)) << k.what;
    }
}

TEST(X86Decoder, EveryShorterInputIsTruncatedAndNothingBeyondIsRead) {
    for (const Known &k : KNOWN) {
        const std::vector<std::uint8_t> bytes = Hex(k.bytes);
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            D::Instruction ins;
            ins.length = 99;
            EXPECT_EQ(D::TRUNCATED, DecodeExact(bytes, size, k.mode, &ins)) << k.what << ", " << size << " bytes";
            EXPECT_EQ(99u, ins.length) << "a failed decode leaves the result alone: " << k.what;
        }
        D::Instruction ins;
        EXPECT_EQ(D::DECODED, DecodeExact(bytes, bytes.size(), k.mode, &ins)) << k.what;
    }
}

TEST(X86Decoder, UnknownInstructionsAreRefused) {
    for (const Refused &r : REFUSED) {
        std::vector<std::uint8_t> bytes = Hex(r.bytes);
        bytes.insert(bytes.end(), 16, 0x90);
        D::Instruction ins;
        EXPECT_EQ(D::UNKNOWN, DecodeExact(bytes, bytes.size(), r.mode, &ins)) << r.what;
    }
}

TEST(X86Decoder, OneByteMeansDifferentThingsInTheTwoModes) {
    // 40-4F: INC/DEC in 32-bit code, a REX prefix in 64-bit code; 63: ARPL (refused) or MOVSXD; B8 with REX.W.
    const std::vector<std::uint8_t> incThenRet = Hex("48 C3");
    D::Instruction ins;
    ASSERT_EQ(D::DECODED, DecodeExact(incThenRet, 2, M32, &ins));
    EXPECT_EQ(1u, ins.length);
    ASSERT_EQ(D::DECODED, DecodeExact(incThenRet, 2, M64, &ins));
    EXPECT_EQ(2u, ins.length);
    EXPECT_EQ(D::FLOW_RETURN, ins.flow);

    const std::vector<std::uint8_t> movImm = Hex("48 B8 01 02 03 04 05 06 07 08");
    ASSERT_EQ(D::DECODED, DecodeExact(movImm, movImm.size(), M32, &ins));
    EXPECT_EQ(1u, ins.length) << "dec eax";
    ASSERT_EQ(D::DECODED, DecodeExact(movImm, movImm.size(), M64, &ins));
    EXPECT_EQ(10u, ins.length);

    // [disp32] alone is absolute in 32-bit code and relative to the next instruction in 64-bit code.
    const std::vector<std::uint8_t> load = Hex("8B 05 00 00 00 00");
    ASSERT_EQ(D::DECODED, DecodeExact(load, load.size(), M32, &ins));
    EXPECT_FALSE(ins.ripRelative);
    ASSERT_EQ(D::DECODED, DecodeExact(load, load.size(), M64, &ins));
    EXPECT_TRUE(ins.ripRelative);
    EXPECT_EQ(2u, ins.dispOffset);
}
