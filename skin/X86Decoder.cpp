#include "skin/X86Decoder.h"

namespace {

enum ModeBits : std::uint8_t { IN_32 = 1, IN_64 = 2, IN_BOTH = IN_32 | IN_64 };

// Immediate operand sizes. Z: 16 or 32 bits by operand size (32 also under REX.W); V: 16, 32 or 64 (MOV r, imm);
// ENTER: imm16 then imm8; MOFFS: an absolute address of the mode's width.
enum Imm : std::uint8_t { IMM_NONE, IMM_B, IMM_W, IMM_Z, IMM_V, IMM_ENTER, IMM_MOFFS };

enum Group : std::uint8_t { NO_GROUP, G_8F, G_C6, G_C7, G_F6, G_F7, G_FE, G_FF, G_0FBA, G_0F1F, GROUP_COUNT };

struct OpInfo {
    std::uint8_t modes; // ModeBits; 0: unknown
    bool modrm;         // a ModRM byte (and maybe SIB and displacement) follows the opcode
    bool memoryOnly;    // a register operand (mod 11) is invalid
    std::uint8_t imm;   // Imm
    std::uint8_t flow;  // CX86Decoder::Flow
    std::uint8_t rel;   // size of a relative branch operand
    std::uint8_t group; // Group: the ModRM reg field selects the instruction
};

struct OpTable {
    OpInfo op[256];
};

// One row of a ModRM group: what the reg field selects.
struct GroupRow {
    bool known;
    std::uint8_t imm;
    std::uint8_t flow;
    bool indirect;
};

struct GroupTable {
    GroupRow row[GROUP_COUNT][8];
};

constexpr OpInfo Plain(std::uint8_t imm = IMM_NONE, std::uint8_t modes = IN_BOTH) {
    return OpInfo{modes, false, false, imm, CX86Decoder::FLOW_NEXT, 0, NO_GROUP};
}
constexpr OpInfo WithModRM(std::uint8_t imm = IMM_NONE, std::uint8_t modes = IN_BOTH) {
    return OpInfo{modes, true, false, imm, CX86Decoder::FLOW_NEXT, 0, NO_GROUP};
}
constexpr OpInfo Relative(std::uint8_t flow, std::uint8_t size) {
    return OpInfo{IN_BOTH, false, false, IMM_NONE, flow, size, NO_GROUP};
}
constexpr OpInfo Grouped(std::uint8_t group) {
    return OpInfo{IN_BOTH, true, false, IMM_NONE, CX86Decoder::FLOW_NEXT, 0, group};
}

constexpr void Fill(OpTable &t, int first, int last, OpInfo info) {
    for (int i = first; i <= last; ++i)
        t.op[i] = info;
}

constexpr OpTable BuildOneByte() {
    OpTable t{};
    // ADD, OR, ADC, SBB, AND, SUB, XOR, CMP: r/m forms, then AL, imm8 and eAX, imm.
    for (int base = 0x00; base <= 0x38; base += 8) {
        Fill(t, base, base + 3, WithModRM());
        t.op[base + 4] = Plain(IMM_B);
        t.op[base + 5] = Plain(IMM_Z);
    }
    Fill(t, 0x40, 0x4F, Plain(IMM_NONE, IN_32)); // INC/DEC r32; REX prefixes in 64-bit code
    Fill(t, 0x50, 0x5F, Plain());                // PUSH/POP r
    t.op[0x63] = WithModRM(IMM_NONE, IN_64);     // MOVSXD
    t.op[0x68] = Plain(IMM_Z);                   // PUSH imm
    t.op[0x69] = WithModRM(IMM_Z);               // IMUL r, r/m, imm
    t.op[0x6A] = Plain(IMM_B);                   // PUSH imm8
    t.op[0x6B] = WithModRM(IMM_B);               // IMUL r, r/m, imm8
    Fill(t, 0x70, 0x7F, Relative(CX86Decoder::FLOW_BRANCH, 1));
    t.op[0x80] = WithModRM(IMM_B);
    t.op[0x81] = WithModRM(IMM_Z);
    t.op[0x83] = WithModRM(IMM_B);
    Fill(t, 0x84, 0x8B, WithModRM()); // TEST, XCHG, MOV
    t.op[0x8D] = WithModRM();         // LEA
    t.op[0x8D].memoryOnly = true;
    t.op[0x8F] = Grouped(G_8F);
    Fill(t, 0x90, 0x99, Plain()); // XCHG eAX, r / NOP, CBW, CWD
    Fill(t, 0x9C, 0x9F, Plain()); // PUSHF, POPF, SAHF, LAHF
    Fill(t, 0xA0, 0xA3, Plain(IMM_MOFFS));
    Fill(t, 0xA4, 0xA7, Plain()); // MOVS, CMPS
    t.op[0xA8] = Plain(IMM_B);    // TEST AL, imm8
    t.op[0xA9] = Plain(IMM_Z);    // TEST eAX, imm
    Fill(t, 0xAA, 0xAF, Plain()); // STOS, LODS, SCAS
    Fill(t, 0xB0, 0xB7, Plain(IMM_B));
    Fill(t, 0xB8, 0xBF, Plain(IMM_V));
    t.op[0xC0] = WithModRM(IMM_B); // shifts by imm8
    t.op[0xC1] = WithModRM(IMM_B);
    t.op[0xC2] = Plain(IMM_W);
    t.op[0xC2].flow = CX86Decoder::FLOW_RETURN;
    t.op[0xC3] = Plain();
    t.op[0xC3].flow = CX86Decoder::FLOW_RETURN;
    t.op[0xC6] = Grouped(G_C6);
    t.op[0xC7] = Grouped(G_C7);
    t.op[0xC8] = Plain(IMM_ENTER);
    t.op[0xC9] = Plain();             // LEAVE
    Fill(t, 0xD0, 0xD3, WithModRM()); // shifts by 1 and CL
    Fill(t, 0xE0, 0xE3, Relative(CX86Decoder::FLOW_BRANCH, 1));
    t.op[0xE8] = Relative(CX86Decoder::FLOW_CALL, 4);
    t.op[0xE9] = Relative(CX86Decoder::FLOW_JUMP, 4);
    t.op[0xEB] = Relative(CX86Decoder::FLOW_JUMP, 1);
    t.op[0xF5] = Plain(); // CMC
    t.op[0xF6] = Grouped(G_F6);
    t.op[0xF7] = Grouped(G_F7);
    Fill(t, 0xF8, 0xFD, Plain()); // CLC, STC, CLI, STI, CLD, STD
    t.op[0xFE] = Grouped(G_FE);
    t.op[0xFF] = Grouped(G_FF);
    return t;
}

constexpr OpTable BuildTwoByte() {
    OpTable t{};
    t.op[0x1E] = WithModRM(); // hint NOPs, ENDBR32/64
    t.op[0x1F] = Grouped(G_0F1F);
    Fill(t, 0x40, 0x4F, WithModRM()); // CMOVcc
    Fill(t, 0x80, 0x8F, Relative(CX86Decoder::FLOW_BRANCH, 4));
    Fill(t, 0x90, 0x9F, WithModRM()); // SETcc
    t.op[0xA3] = WithModRM();         // BT
    t.op[0xA4] = WithModRM(IMM_B);    // SHLD imm8
    t.op[0xA5] = WithModRM();         // SHLD CL
    t.op[0xAB] = WithModRM();         // BTS
    t.op[0xAC] = WithModRM(IMM_B);    // SHRD imm8
    t.op[0xAD] = WithModRM();         // SHRD CL
    t.op[0xAF] = WithModRM();         // IMUL r, r/m
    t.op[0xB0] = WithModRM();         // CMPXCHG
    t.op[0xB1] = WithModRM();
    t.op[0xB3] = WithModRM(); // BTR
    t.op[0xB6] = WithModRM(); // MOVZX
    t.op[0xB7] = WithModRM();
    t.op[0xBA] = Grouped(G_0FBA);
    t.op[0xBB] = WithModRM(); // BTC
    t.op[0xBE] = WithModRM(); // MOVSX
    t.op[0xBF] = WithModRM();
    t.op[0xC0] = WithModRM(); // XADD
    t.op[0xC1] = WithModRM();
    Fill(t, 0xC8, 0xCF, Plain()); // BSWAP
    return t;
}

constexpr GroupTable BuildGroups() {
    GroupTable g{};
    constexpr GroupRow plain{true, IMM_NONE, CX86Decoder::FLOW_NEXT, false};
    g.row[G_8F][0] = plain;                                                // POP r/m
    g.row[G_C6][0] = GroupRow{true, IMM_B, CX86Decoder::FLOW_NEXT, false}; // MOV r/m8, imm8
    g.row[G_C7][0] = GroupRow{true, IMM_Z, CX86Decoder::FLOW_NEXT, false}; // MOV r/m, imm
    for (int reg = 0; reg < 8; ++reg) {
        // TEST takes an immediate (/0, /1); NOT, NEG, MUL, IMUL, DIV, IDIV do not.
        g.row[G_F6][reg] = GroupRow{true, reg < 2 ? IMM_B : IMM_NONE, CX86Decoder::FLOW_NEXT, false};
        g.row[G_F7][reg] = GroupRow{true, reg < 2 ? IMM_Z : IMM_NONE, CX86Decoder::FLOW_NEXT, false};
        // BT, BTS, BTR, BTC r/m, imm8
        if (reg >= 4)
            g.row[G_0FBA][reg] = GroupRow{true, IMM_B, CX86Decoder::FLOW_NEXT, false};
    }
    g.row[G_FE][0] = plain; // INC, DEC r/m8
    g.row[G_FE][1] = plain;
    g.row[G_FF][0] = plain; // INC, DEC r/m
    g.row[G_FF][1] = plain;
    g.row[G_FF][2] = GroupRow{true, IMM_NONE, CX86Decoder::FLOW_CALL, true};
    g.row[G_FF][4] = GroupRow{true, IMM_NONE, CX86Decoder::FLOW_JUMP, true};
    g.row[G_FF][6] = plain;   // PUSH r/m
    g.row[G_0F1F][0] = plain; // NOP r/m
    return g;
}

constexpr OpTable kOneByte = BuildOneByte();
constexpr OpTable kTwoByte = BuildTwoByte();
constexpr GroupTable kGroups = BuildGroups();

bool IsLegacyPrefix(std::uint8_t b) {
    switch (b) {
    case 0x26:
    case 0x2E:
    case 0x36:
    case 0x3E:
    case 0x64:
    case 0x65: // segments
    case 0x66:
    case 0x67:
    case 0xF0:
    case 0xF2:
    case 0xF3:
        return true;
    default:
        return false;
    }
}

bool IsRex(std::uint8_t b, CX86Decoder::Mode mode) {
    return mode == CX86Decoder::MODE_64 && (b & 0xF0) == 0x40;
}

std::size_t ImmediateSize(std::uint8_t imm, CX86Decoder::Mode mode, bool operand16, bool rexW) {
    switch (imm) {
    case IMM_B:
        return 1;
    case IMM_W:
        return 2;
    case IMM_Z:
        return rexW ? 4 : operand16 ? 2 : 4;
    case IMM_V:
        return rexW ? 8 : operand16 ? 2 : 4;
    case IMM_ENTER:
        return 3;
    case IMM_MOFFS:
        return mode == CX86Decoder::MODE_64 ? 8 : 4;
    default:
        return 0;
    }
}

} // namespace

CX86Decoder::Status CX86Decoder::Decode(const std::uint8_t *code, std::size_t size, Mode mode, Instruction *out) {
    if (!out || (!code && size))
        return UNKNOWN;
    Instruction ins;
    std::size_t pos = 0;
    bool operand16 = false;
    for (;; ++pos) {
        if (pos >= MAX_LENGTH)
            return UNKNOWN;
        if (pos >= size)
            return TRUNCATED;
        if (!IsLegacyPrefix(code[pos]))
            break;
        if (code[pos] == 0x67) // 16-bit or 32-bit addressing in the other mode's ModRM forms: not needed, refused
            return UNKNOWN;
        if (code[pos] == 0x66)
            operand16 = true;
    }
    bool rexW = false;
    if (IsRex(code[pos], mode)) {
        rexW = (code[pos] & 0x08) != 0;
        if (++pos >= size)
            return TRUNCATED;
        // A REX byte counts only right before the opcode; anything else is an encoding compilers do not emit.
        if (IsLegacyPrefix(code[pos]) || IsRex(code[pos], mode))
            return UNKNOWN;
    }
    const OpInfo *op = &kOneByte.op[code[pos++]];
    if (code[pos - 1] == 0x0F) {
        if (pos >= size)
            return TRUNCATED;
        op = &kTwoByte.op[code[pos++]];
    }
    if (!(op->modes & (mode == MODE_64 ? IN_64 : IN_32)))
        return UNKNOWN;

    std::uint8_t imm = op->imm;
    ins.flow = static_cast<Flow>(op->flow);
    if (op->modrm) {
        if (pos >= size)
            return TRUNCATED;
        const std::uint8_t modrm = code[pos++];
        const unsigned mod = modrm >> 6, reg = (modrm >> 3) & 7, rm = modrm & 7;
        if (op->group != NO_GROUP) {
            const GroupRow &row = kGroups.row[op->group][reg];
            if (!row.known)
                return UNKNOWN;
            imm = row.imm;
            ins.flow = static_cast<Flow>(row.flow);
            ins.indirect = row.indirect;
        }
        if (mod == 3 && op->memoryOnly)
            return UNKNOWN;
        if (mod != 3) {
            std::size_t disp = mod == 1 ? 1 : mod == 2 ? 4 : 0;
            if (rm == 4) {
                if (pos >= size)
                    return TRUNCATED;
                const std::uint8_t sib = code[pos++];
                if (mod == 0 && (sib & 7) == 5) // no base register: [index * scale + disp32]
                    disp = 4;
            } else if (mod == 0 && rm == 5) { // [disp32] in 32-bit code, [rip + disp32] in 64-bit code
                disp = 4;
                ins.ripRelative = mode == MODE_64;
            }
            if (disp == 4)
                ins.dispOffset = pos;
            pos += disp;
        }
    }
    if (op->rel) {
        // A 16-bit operand size would cut the instruction pointer to 16 bits.
        if (operand16)
            return UNKNOWN;
        ins.relOffset = pos;
        ins.relSize = op->rel;
        pos += op->rel;
    }
    pos += ImmediateSize(imm, mode, operand16, rexW);
    if (pos > MAX_LENGTH)
        return UNKNOWN;
    if (pos > size)
        return TRUNCATED;
    ins.length = pos;
    *out = ins;
    return DECODED;
}
