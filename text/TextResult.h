// Private result codes of the text functions (the values of the original program's own codes); the layers above
// that pass them on return them unchanged.
#pragma once

enum : unsigned long {
    RC_NO_MEMORY = 0x800001,    // an allocation failed
    RC_BAD_ARGUMENT = 0x800006, // an argument is absent or empty, or an index is out of range
};
