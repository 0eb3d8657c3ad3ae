// Private result codes of the console's script and command functions, beside the text functions' codes that they
// pass on (RC_NO_MEMORY, RC_BAD_ARGUMENT).
#pragma once

#include "text/TextResult.h"

enum : unsigned long {
    RC_TO_TEXT_FAILED = 0x800002,     // turning bytes into hexadecimal text failed
    RC_TO_BYTES_FAILED = 0x800005,    // turning hexadecimal text into bytes failed
    RC_BAD_COMMAND_LENGTH = 0x800007, // a script line's length does not fit its Lc byte
    RC_NO_COMMAND = 0x800008,         // no such script command, or a line that failed to parse
};
