// Private result codes of the console's text and script functions and of the reader object.
#pragma once

enum : unsigned long {
    RC_NO_MEMORY = 0x800001,          // an allocation failed
    RC_TO_TEXT_FAILED = 0x800002,     // turning bytes into hexadecimal text failed
    RC_TO_BYTES_FAILED = 0x800005,    // turning hexadecimal text into bytes failed
    RC_BAD_ARGUMENT = 0x800006,       // an argument is absent or empty, or an index is out of range
    RC_BAD_COMMAND_LENGTH = 0x800007, // a script line's length does not fit its Lc byte
    RC_NO_COMMAND = 0x800008,         // no such script command, or a line that failed to parse
};
