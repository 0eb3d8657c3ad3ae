// Any script file: the whole path from text to commands sent must stay within its buffers and send only
// well-formed commands (5 to 261 bytes, header intact) in file order.
#include "console/ApduScriptRunner.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) {
        return 0;
    }
    size_t sent = 0, posted = 0;
    RunApduScript(
        reinterpret_cast<const char*>(data), static_cast<DWORD>(size),
        [&](const BYTE* cmd, DWORD len, BYTE* out, DWORD* outLen, WORD* status) -> BOOL {
            if (len < 5 || len > 261) {
                std::abort();
            }
            ++sent;
            // Answer with data of a length derived from the command, up to the 510 bytes a card can return.
            DWORD n = (cmd[1] * 7u + len) % 511u;
            std::memset(out, cmd[0], n);
            *outLen = n;
            *status = (cmd[2] & 1) ? 0x9000 : 0x6A82;
            return *status == 0x9000;
        },
        [&](const std::string& line) {
            if (line.size() > 1100) {
                std::abort();
            }
            ++posted;
        });
    // Every command gets at least three lines (heading, command, status).
    if (posted < 3 * sent) {
        std::abort();
    }
    return 0;
}
