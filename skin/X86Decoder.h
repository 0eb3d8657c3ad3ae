// Length and control flow of one x86 instruction (32-bit or 64-bit code), for copying whole instructions out of
// entries.
#pragma once

#include <cstddef>
#include <cstdint>

// Knows the general-purpose integer instructions that begin compiled functions and system stubs. Everything else
// (x87, SSE and VEX encodings, far transfers, traps, system instructions, address-size overrides) is refused as
// unknown: a wrong length would corrupt the copy, a refusal only leaves a function alone.
class CX86Decoder {
public:
    enum Mode { MODE_32, MODE_64 };
    enum Status { DECODED, TRUNCATED, UNKNOWN };
    enum Flow {
        FLOW_NEXT,   // execution goes on with the next instruction
        FLOW_CALL,   // a call: it comes back to the next instruction
        FLOW_JUMP,   // an unconditional jump
        FLOW_BRANCH, // a conditional jump (Jcc, LOOPcc, JECXZ)
        FLOW_RETURN, // RET, RET imm16
    };
    enum : std::size_t { MAX_LENGTH = 15 };

    struct Instruction {
        std::size_t length = 0;
        Flow flow = FLOW_NEXT;
        // A branch operand relative to the end of the instruction: where it sits and its size (1 or 4); 0 when none.
        std::size_t relOffset = 0;
        std::size_t relSize = 0;
        // Where the memory operand's 32-bit displacement sits; 0 when it has none.
        std::size_t dispOffset = 0;
        // 64-bit code: the memory operand is [rip + disp32], relative to the end of the instruction.
        bool ripRelative = false;
        // A call or jump through a register or a memory operand.
        bool indirect = false;
    };

    // Decodes the instruction at code[0], reading nothing at or beyond code[size]. TRUNCATED: the bytes end inside
    // an instruction that would be known; UNKNOWN: not in the table.
    static Status Decode(const std::uint8_t *code, std::size_t size, Mode mode, Instruction *out);
};
