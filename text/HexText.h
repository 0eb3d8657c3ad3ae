// Hexadecimal text <-> bytes.
#pragma once

#include "platform/WinCompat.h"

// 0-15 for '0'-'9', 'A'-'F', 'a'-'f'; 0xFF for every other byte (including 0x80 and above).
BYTE HexDigitValue(char ch);

// Converts `length` characters of `text` into bytes. Digits count only in adjacent pairs; a CR LF becomes 0D 0A
// (a CR LF right after a converted one is dropped); everything else is skipped. A text ending inside a pair fails.
// Characters at or beyond `length` are never read. `output` may be null (a size query); when given it must have
// room for `length` bytes, the most any text of that length converts to. Returns 1 with *count set, or 0 (failure,
// or `text`/`count` null) with neither *count nor `output` touched.
BOOL HexTextToBytes(const char *text, DWORD length, BYTE *output, DWORD *count);

// Writes two upper-case digits per byte, no separators, no terminating zero. *length carries the capacity of
// `output` in and 2 * count out. Null `output` is a size query. Returns 0 (nothing written) when an argument is
// absent, count is 0 or too large to double in a DWORD, or the capacity is short (then *length is still set).
BOOL BytesToHexText(const BYTE *bytes, DWORD count, char *output, DWORD *length);
