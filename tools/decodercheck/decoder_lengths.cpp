// Decodes the first instruction of every 32-byte record of a file and prints what the skin engine's decoder found:
// offset, status, length, flow, [rip + disp32] and indirect. Used by decoder_vs_objdump.py.
#include "skin/X86Decoder.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: decoder_lengths 32|64 file\n");
        return 2;
    }
    const CX86Decoder::Mode mode = argv[1][0] == '6' ? CX86Decoder::MODE_64 : CX86Decoder::MODE_32;
    std::FILE *f = std::fopen(argv[2], "rb");
    if (!f)
        return 2;
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    for (size_t at = 0; at + 32 <= data.size(); at += 32) {
        CX86Decoder::Instruction ins;
        const CX86Decoder::Status status = CX86Decoder::Decode(&data[at], 16, mode, &ins);
        std::printf("%zu %d %zu %d %d %d\n", at, int(status), ins.length, int(ins.flow), int(ins.ripRelative),
                    int(ins.indirect));
    }
    return 0;
}
